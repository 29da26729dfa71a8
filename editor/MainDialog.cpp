#include "editor/MainDialog.h"

#include "app/Placement.h"
#include "app/SettingsStore.h"
#include "data/DataFileSet.h"
#include "data/FileIo.h"
#include "data/GamePaths.h"
#include "editor/AboutDlg.h"
#include "editor/CheckDlg.h"
#include "editor/CloneUnit.h"
#include "editor/CompareDlg.h"
#include "editor/FindDlg.h"
#include "editor/UnitFormIds.h"
#include "exchange/CsvCommands.h"
#include "exchange/ExchangeCommands.h"
#include "editor/SystemMenu.h"
#include "exchange/PackCommand.h"
#include "framework/Controls.h"
#include "framework/FilePath.h"
#include "framework/MessageService.h"
#include "res/Resources.h"
#include "res/Strings.h"
#include "tools/WeaponDlg.h"

#include <QAction>
#include <QFontMetricsF>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QUndoStack>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <vector>

namespace {

const QString kGameFolderSetting = QStringLiteral("DS6InstallDir");
const QString kLastUnitSetting = QStringLiteral("LastSelectUnit");
constexpr char kDefaultGameFolder[] = "c:\\Program Files\\SystemSoft Game\\Ds6\\";

bool isUnitNumber(int unitNumber) { return unitNumber >= 0 && unitNumber < kUnitCount; }

// A tool window's menu command: hide it when it shows, show it otherwise; nothing before it exists.
void toggle(CDialog* window)
{
    if (window && window->isCreated())
        window->setVisible(!window->isVisible());
}

}  // namespace

CMainDialog::CMainDialog(QWidget* parent)
    : CDialog(res::kDialog102, parent, &res::kMenu133),
      m_images(std::make_unique<GameImages>())
{
    setUpFormControls();
    m_picture.attach(control(form::kPicture));
    setRoutes({
        Route{Notify::SelChange, form::kUnitList, form::kUnitList, [this](int) { OnUnitListSelChange(); }, true},
        Route{Notify::SelChange, form::kCategory, form::kCategory, [this](int) { OnCategorySelChange(); }, true},
        Route{Notify::Clicked, form::kJumpToTransformTarget, form::kJumpToTransformTarget,
              [this](int) { OnJumpToTransformTarget(); }, true},
        Route{Notify::SelChange, form::kKind, form::kKind, [this](int) { OnKindSelChange(); }, false},
        Route{Notify::Clicked, form::kApply, form::kApply, [this](int) { ApplyUnit(); }, false},
        Route{Notify::Clicked, form::kClone, form::kClone, [this](int) { OnCloneUnit(); }, false},
        Route{Notify::DoubleClick, form::kSlotListFirst, form::kSlotListFirst + form::kSlotCount - 1,
              [this](int id) { OnSlotDoubleClick(id - form::kSlotListFirst); }, false},
        Route{Notify::KillFocus, form::kSlotListFirst, form::kSlotListFirst + form::kSlotCount - 1,
              [this](int id) { OnSlotKillFocus(id - form::kSlotListFirst); }, false},
        Route{Notify::Command, form::kCmdSave, form::kCmdSave, [this](int) { OnSaveUnitTable(); }, true},
        Route{Notify::Command, form::kCmdImport, form::kCmdImport, [this](int) { OnImportUnit(); }, true},
        Route{Notify::Command, form::kCmdExport, form::kCmdExport, [this](int) { OnExportUnit(); }, true},
        Route{Notify::Command, form::kCmdBulkImport, form::kCmdBulkImport, [this](int) { OnBulkImportUnits(); }, true},
        Route{Notify::Command, form::kCmdCsvExport, form::kCmdCsvExport, [this](int) { OnExportUnitCsv(); }, true},
        Route{Notify::Command, form::kCmdCsvImport, form::kCmdCsvImport, [this](int) { OnImportUnitCsv(); }, true},
        Route{Notify::Command, form::kCmdToggleSpeed, form::kCmdToggleSpeed, [this](int) { OnToggleSpeedDlg(); }, false},
        Route{Notify::Command, form::kCmdToggleProduct, form::kCmdToggleProduct, [this](int) { OnToggleProductDlg(); }, false},
        Route{Notify::Command, form::kCmdToggleEtc, form::kCmdToggleEtc, [this](int) { OnToggleEtcDlg(); }, false},
        Route{Notify::Command, form::kCmdExit, form::kCmdExit, [this](int) { OnAppExit(); }, false},
        Route{Notify::Command, form::kCmdAbout, form::kCmdAbout, [this](int) { OnAbout(); }, false},
        Route{Notify::Command, form::kCmdUndo, form::kCmdUndo, [this](int) { OnUndo(); }, true},
        Route{Notify::Command, form::kCmdRedo, form::kCmdRedo, [this](int) { OnRedo(); }, true},
        Route{Notify::Command, form::kCmdFind, form::kCmdFind, [this](int) { OnFind(); }, true},
        Route{Notify::Command, form::kCmdFindNext, form::kCmdFindNext, [this](int) { OnFindNext(true); }, true},
        Route{Notify::Command, form::kCmdFindPrevious, form::kCmdFindPrevious, [this](int) { OnFindNext(false); }, true},
        Route{Notify::Command, form::kCmdCompareBackup, form::kCmdCompareBackup, [this](int) { OnCompareWithBackup(); }, true},
        Route{Notify::Command, form::kCmdCompareFile, form::kCmdCompareFile, [this](int) { OnCompareWithFile(); }, true},
        Route{Notify::Command, form::kCmdPackChanges, form::kCmdPackChanges, [this](int) { OnPackChanges(); }, true},
        Route{Notify::Command, form::kCmdCheckTable, form::kCmdCheckTable, [this](int) { OnCheckTable(); }, true},
    });
    setUpEditMenu();
    // The compare window follows every change of the table.
    connect(&m_history, &UnitHistory::tableChanged, this, [this] {
        if (m_compareDlg)
            m_compareDlg->Refresh();
        if (m_checkDlg && m_checkDlg->isVisible())
            m_checkDlg->Refresh();
    });
}

CMainDialog::~CMainDialog()
{
    // The history's undo stack empties as it dies and says so; by then the windows that follow the
    // table are gone (and an optimised build does not clear the pointers to them).
    m_history.disconnect(this);
    // The name box's validator reads m_name, which dies before the base class hides the window (and
    // the box checks its text once more as it loses the focus).
    if (QLineEdit* name = edit(form::kName))
        name->setValidator(nullptr);
    // The history empties as it dies, telling the dialog, whose fields are gone by then.
    m_history.stack().disconnect(this);
    m_history.disconnect(this);
}

// ---- the images and the unit list ----

// The folder text is kept as the data layer's paths take it.
QString CMainDialog::gameFolder() const { return FromPathText(m_gameFolder); }

UnitTable& CMainDialog::unitTable()
{
    // Whoever takes the table may change it: the saved state is kept apart first.
    if (!m_savedUnits)
        m_savedUnits = std::make_unique<UnitTable>(m_images->units);
    return m_images->units;
}
const WeaponTable& CMainDialog::weaponTable() const { return m_images->weapons; }
const KindTable& CMainDialog::kindTable() const { return m_images->kinds; }
const MoveCostTable& CMainDialog::moveCostTable() const { return m_images->moveCosts; }

int CMainDialog::currentUnit() const
{
    const QListWidget* units = list(form::kUnitList);
    const int position = lb::curSel(units);
    return position < 0 ? -1 : lb::itemData(units, position);
}

void CMainDialog::RefreshUnitListEntry(int unitNumber)
{
    QListWidget* units = list(form::kUnitList);
    Q_ASSERT(isUnitNumber(unitNumber) && unitNumber < lb::count(units));
    const QString text = FromCp932(UnitListText(unitNumber, m_images->units.record(unitNumber)));
    lb::remove(units, unitNumber);
    lb::insert(units, unitNumber, text, unitNumber);
    markUnitEntry(unitNumber);
    widenUnitList(text);
}

const UnitTable& CMainDialog::savedUnits() const { return m_savedUnits ? *m_savedUnits : m_images->units; }

bool CMainDialog::isUnitChanged(int unitNumber) const
{
    return isUnitNumber(unitNumber) && m_savedUnits
           && m_images->units.record(unitNumber).bytes != m_savedUnits->record(unitNumber).bytes;
}

void CMainDialog::markUnitEntry(int unitNumber)
{
    QListWidgetItem* item = list(form::kUnitList)->item(unitNumber);
    if (!item || item->font().bold() == isUnitChanged(unitNumber))
        return;
    QFont font = item->font();
    font.setBold(!font.bold());
    item->setFont(font);
}

void CMainDialog::clearUnitMarks()
{
    QListWidget* units = list(form::kUnitList);
    for (int u = 0; u < lb::count(units); ++u)
        markUnitEntry(u);
}

void CMainDialog::widenUnitList(const QString& entryText)
{
    // Entries share one size, so that a rebuilt entry does not lay out all 1280 again; the cell is
    // as wide as the widest entry, and the list scrolls sideways to it.
    // Room for the entry in bold, as a changed unit shows.
    QListWidget* units = list(form::kUnitList);
    const int margin = 2 * units->fontMetrics().averageCharWidth();
    if (entryWidthBound(entryText) + margin <= units->gridSize().width())
        return;
    const int width = QFontMetrics(entryFont()).horizontalAdvance(entryText) + margin;
    if (width <= units->gridSize().width())
        return;
    units->setGridSize(QSize(width, units->sizeHintForRow(0)));
}

QFont CMainDialog::entryFont() const
{
    // Entries are measured in bold, as a changed unit shows, so that a mark never cuts one off.
    QFont bold = list(form::kUnitList)->font();
    bold.setBold(true);
    return bold;
}

int CMainDialog::entryWidthBound(const QString& entryText)
{
    // No entry is wider than the advances of its characters added up (the text is laid out in one
    // line, without ligatures that widen it). Narrow characters (Latin-1, half-width katakana) are
    // measured, each once. Any other character counts as wide as the font's widest glyph and a pixel
    // that hinting may add: loading the glyph of every kanji met costs more than measuring the few
    // entries that could be the widest.
    if (!m_entryMetrics) {
        m_entryMetrics.emplace(entryFont());
        m_narrowAdvances.fill(-1);
        m_wideAdvance = m_entryMetrics->maxWidth() + 1;
    }
    qreal width = 0;
    for (const QChar c : entryText) {
        const char16_t code = c.unicode();
        const int narrow = code < 0x100 ? code : code >= 0xFF61 && code <= 0xFF9F ? code - 0xFF61 + 0x100 : -1;
        if (narrow < 0) {
            width += m_wideAdvance;
            continue;
        }
        qreal& advance = m_narrowAdvances[std::size_t(narrow)];
        if (advance < 0)
            advance = m_entryMetrics->horizontalAdvance(c);
        width += advance;
    }
    return int(std::ceil(width)) + 1;
}

void CMainDialog::selectUnitInList(int unitNumber) { lb::setCurSel(list(form::kUnitList), unitNumber); }

void CMainDialog::fillUnitList()
{
    QListWidget* units = list(form::kUnitList);
    units->setUpdatesEnabled(false);
    lb::reset(units);
    units->setGridSize(QSize());
    QStringList texts;
    texts.reserve(kUnitCount);
    std::vector<int> numbers(kUnitCount);
    std::vector<std::pair<int, int>> bounds;  // the width bound of each entry, and its unit
    bounds.reserve(kUnitCount);
    for (int u = 0; u < kUnitCount; ++u) {
        texts.push_back(FromCp932(UnitListText(u, m_images->units.record(u))));
        numbers[std::size_t(u)] = u;
        bounds.emplace_back(entryWidthBound(texts.back()), u);
    }
    lb::append(units, texts, numbers);
    // Only entries that could be the widest are measured: from the widest bound down, until no
    // bound reaches the widest width found.
    std::sort(bounds.begin(), bounds.end(), std::greater<>());
    const QFontMetrics metrics(entryFont());
    int widest = 0;
    int widestUnit = 0;
    for (const auto& [bound, u] : bounds) {
        if (bound <= widest)
            break;
        if (const int width = metrics.horizontalAdvance(texts[u]); width > widest) {
            widest = width;
            widestUnit = u;
        }
    }
    widenUnitList(texts[widestUnit]);
    units->setUpdatesEnabled(true);
}

void CMainDialog::fillLists()
{
    QComboBox* categories = combo(form::kCategory);
    cb::reset(categories);
    for (int i = 0; i < int(kCategories.size()) && kCategories[i].firstUnit >= 0; ++i)
        cb::insert(categories, i, QString::fromUtf8(kCategories[i].name), kCategories[i].firstUnit);

    fillUnitList();

    QComboBox* kinds = combo(form::kKind);
    cb::reset(kinds);
    for (int i = 0; i < KindTable::kEntryCount; ++i)
        cb::insert(kinds, i, FromCp932(KindListText(m_images->kinds, i)), i);

    const auto fillFixed = [](QComboBox* box, const auto& items) {
        cb::reset(box);
        for (int i = 0; i < int(items.size()); ++i)
            cb::insert(box, i, QString::fromUtf8(items[i].text), items[i].data);
    };
    fillFixed(combo(form::kAltitude), kAltitudeItems);
    fillFixed(combo(form::kDefenceType), kDefenceTypeItems);
    fillFixed(combo(form::kCarrierClass), kCarrierItems);
}

// ---- opening and closing ----

bool CMainDialog::OnInitDialog()
{
    // The dialog opens where its template puts it: the top-left corner of the work area. The tool
    // windows take their default places beside it.
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().topLeft());
    addAboutEntry();
    setWindowIcon(AppIcon());
    m_dataLoaded = 0;  // the picture's paths are empty until a unit is shown

    m_gameFolder = ToPathText(ReadSettingText(kInitData, kGameFolderSetting, QString::fromUtf8(kDefaultGameFolder)));
    m_dataLoaded = LoadDataFiles() ? 1 : 0;
    // The form's first values: the zeroed fields when nothing loaded, else the unit shown at the
    // end, which puts every field into the form.
    if (!m_dataLoaded)
        return CDialog::OnInitDialog();

    // The tool windows are made and shown right after the main dialog's first paint, so that it
    // comes up first; what they read as they are created is read now, in its place.
    m_toolWindowData = std::make_unique<ToolWindowStartData>();
    m_toolWindowData->speedCorner = ReadStoredCorner(QString::fromLatin1(CSpeedDlg::kPlacementPrefix));
    m_toolWindowData->productCorner = ReadStoredCorner(QString::fromLatin1(CProductDlg::kPlacementPrefix));
    m_toolWindowData->productionTypes = CProductDlg::ReadProductionTypes(gameFolder());
    m_toolWindowData->etcCorner = ReadStoredCorner(QString::fromLatin1(CEtcDlg::kPlacementPrefix));
    m_toolWindowStart = ToolWindowStart::AfterFirstPaint;

    int last = ReadSettingInt(kInitData, kLastUnitSetting, 1);
    if (!isUnitNumber(last))
        last = 1;
    QListWidget* units = list(form::kUnitList);
    lb::setCurSel(units, last);
    ShowUnit(lb::itemData(units, last));
    return true;
}

bool CMainDialog::event(QEvent* event)
{
    const bool handled = CDialog::event(event);
    if (event->type() == QEvent::Paint && m_toolWindowStart == ToolWindowStart::AfterFirstPaint) {
        // Queued, so that the whole window, its controls included, is on the screen first.
        m_toolWindowStart = ToolWindowStart::Posted;
        QMetaObject::invokeMethod(this, &CMainDialog::showToolWindows, Qt::QueuedConnection);
    }
    return handled;
}

void CMainDialog::showToolWindows()
{
    if (m_toolWindowStart != ToolWindowStart::Posted || !isVisible())
        return;
    m_toolWindowStart = ToolWindowStart::Done;
    makeToolWindows();
    const bool wasActive = isActiveWindow();
    for (CDialog* window : std::initializer_list<CDialog*>{m_speedDlg.get(), m_productDlg.get(), m_etcDlg.get()}) {
        window->setAttribute(Qt::WA_ShowWithoutActivating);
        window->show();
        window->setAttribute(Qt::WA_ShowWithoutActivating, false);
    }
    // Where the platform activates what shows regardless, the main dialog takes the focus back.
    if (wasActive)
        activateWindow();
}

void CMainDialog::makeToolWindows()
{
    if (!m_toolWindowData)
        return;
    const std::unique_ptr<ToolWindowStartData> data = std::move(m_toolWindowData);
    m_speedDlg = std::make_unique<CSpeedDlg>(this);
    m_speedDlg->useStoredCorner(data->speedCorner);
    m_speedDlg->setMoveCostTable(&m_images->moveCosts);
    m_speedDlg->Create();
    m_productDlg = std::make_unique<CProductDlg>(this);
    m_productDlg->useStoredCorner(data->productCorner);
    m_productDlg->Create();
    if (data->productionTypes)
        m_productDlg->SetProductionTypes(*data->productionTypes);
    m_etcDlg = std::make_unique<CEtcDlg>(this);
    m_etcDlg->useStoredCorner(data->etcCorner);
    m_etcDlg->Create();
    // They show the unit the form was last given, as the table holds it.
    if (isUnitNumber(m_shownUnit)) {
        const UnitRecord& record = m_images->units.record(m_shownUnit);
        m_speedDlg->ShowUnitSet(record);
        m_productDlg->ShowUnitMask(record);
        m_etcDlg->ShowUnitData(record);
    }
}

bool CMainDialog::LoadDataFiles()
{
    MessageService& prompts = MessageService::instance();
    if (!LocateGameFolder(m_gameFolder, prompts))
        return false;
    // The table is read straight into place: the saved state is the table itself until it changes,
    // and a table that failed to load holds nothing the dialog uses.
    m_savedUnits.reset();
    if (!LoadGameImages(m_gameFolder, *m_images, prompts, m_images->units)) {
        m_images->units = UnitTable();
        return false;
    }
    fillLists();
    return true;
}

void CMainDialog::OnDestroy()
{
    // The tool windows go first and write their own positions. All the values reach the store
    // together, with one sync at the end.
    SettingsBatch batch;
    makeToolWindows();  // windows the dialog never showed still store the corners they would take
    if (m_findDlg)
        m_findDlg->DestroyWindow();
    if (m_compareDlg)
        m_compareDlg->DestroyWindow();
    if (m_checkDlg)
        m_checkDlg->DestroyWindow();
    for (CDialog* window : std::initializer_list<CDialog*>{m_speedDlg.get(), m_productDlg.get(), m_etcDlg.get()})
        if (window)
            window->DestroyWindow();
    WriteSettingText(kInitData, kGameFolderSetting, gameFolder());
    WriteSettingInt(kInitData, kLastUnitSetting, lb::curSel(list(form::kUnitList)));
    SaveMainDialogPlacement(this);
}

// ---- the About entry ----

void CMainDialog::addAboutEntry()
{
    AddAboutEntry(this, QString::fromUtf8(str::kAboutMenu), form::kCmdAbout,
                  [this] { dispatch(Notify::Command, form::kCmdAbout); });
}

bool CMainDialog::nativeEvent(const QByteArray& eventType, void* message, qintptr* result)
{
    if (IsSystemMenuCommand(message, form::kCmdAbout)) {
        dispatch(Notify::Command, form::kCmdAbout);
        *result = 0;
        return true;
    }
    return CDialog::nativeEvent(eventType, message, result);
}

void CMainDialog::OnAbout()
{
    CAboutDlg about(this);
    about.DoModal();
    about.DestroyWindow();
}

// ---- unit list, category and jumps ----

void CMainDialog::OnUnitListSelChange()
{
    QListWidget* units = list(form::kUnitList);
    if (lb::curSel(units) < 0) {
        // Ctrl+click can take the selection away; the list always keeps one entry selected.
        lb::setCurSel(units, units->currentRow());
        return;
    }
    const int unit = currentUnit();
    if (isUnitNumber(unit))
        ShowUnit(unit);
}

void CMainDialog::OnCategorySelChange()
{
    const int first = cb::selectedData(combo(form::kCategory));
    if (!isUnitNumber(first))
        return;
    ShowUnit(first);
    selectUnitInList(first);
}

void CMainDialog::OnJumpToTransformTarget()
{
    const int unit = currentUnit();
    if (!isUnitNumber(unit))
        return;
    const int target = int(m_images->units.record(unit).transformTarget()) - 1;
    if (!isUnitNumber(target))
        return;
    ShowUnit(target);
    selectUnitInList(target);
}

void CMainDialog::OnKindSelChange()
{
    // Everything typed so far goes into the fields first, so that it survives the refresh.
    UpdateData(true);
    const int kind = cb::selectedData(combo(form::kKind));
    m_capture = m_images->kinds.canCapture(kind) ? 1 : 0;
    m_airborne = m_images->kinds.airborne(kind) ? 1 : 0;
    UpdateData(false);
}

// ---- commands ----

void CMainDialog::OnSaveUnitTable()
{
    if (ShowMessage(QString::fromUtf8(str::kSaveQuestion), MsgIcon::Question, MsgButtons::OkCancel) != MsgAnswer::Ok)
        return;
    // The file should still hold what this editor last read or wrote; if another program has written it
    // since, the user decides whether it is overwritten (and is asked again should it change once more).
    const auto saved = savedUnits().image();
    std::vector<std::uint8_t> expected(saved.begin(), saved.end());
    SaveOutcome outcome;
    while (true) {
        SaveRequest request;
        request.expected = expected;
        outcome = SaveUnitTable(m_gameFolder, m_images->units, MessageService::instance(), request);
        if (!outcome.changedOnDisk)
            break;
        const QString table = FromFsPath(ResolveFile(m_gameFolder, kUnitInfoFileName));
        if (ShowMessage(QString::fromUtf8(str::kSaveChangedOnDisk).arg(table), MsgIcon::Question, MsgButtons::YesNo)
            != MsgAnswer::Ok)
            return;
        expected = std::move(outcome.found);
    }
    if (!outcome.saved)
        return;
    m_savedUnits.reset();  // the table as saved is the table itself again
    clearUnitMarks();
}

void CMainDialog::OnAppExit()
{
    // Ends the dialog the way the close box does: nothing is saved and nothing is asked.
    reject();
}

// Runs the weapon picker over the dialog, starting at the slot's weapon; on OK the slot line takes
// the chosen weapon and every field is shown again.
void CMainDialog::OnSlotDoubleClick(int slot)
{
    Q_ASSERT(slot >= 0 && slot < form::kSlotCount);
    // Edits made elsewhere in the form and not yet applied survive the display at the end, whatever
    // the outcome of taking them back.
    UpdateData(true);
    CWeaponDlg picker(this);
    picker.setWeaponTable(&m_images->weapons);
    picker.currentWeapon = lb::itemData(list(form::kSlotListFirst + slot), 0);
    if (picker.DoModal() != QDialog::Accepted)
        return;
    setSlotLine(slot, picker.currentWeapon);
    UpdateData(false);
}

// The slot list lost the focus: its item is shown unselected.
void CMainDialog::OnSlotKillFocus(int slot) { lb::setCurSel(list(form::kSlotListFirst + slot), -1); }

void CMainDialog::OnCloneUnit() { CloneUnit(*this); }
void CMainDialog::OnImportUnit() { ImportUnit(*this); }
void CMainDialog::OnExportUnit() { ExportUnit(*this); }
void CMainDialog::OnBulkImportUnits() { BulkImportUnits(*this); }
void CMainDialog::OnExportUnitCsv() { ExportUnitCsv(*this, weaponTable(), kindTable()); }
void CMainDialog::OnImportUnitCsv() { ImportUnitCsv(*this); }
void CMainDialog::OnToggleSpeedDlg() { toggle(m_speedDlg.get()); }
void CMainDialog::OnToggleProductDlg() { toggle(m_productDlg.get()); }
void CMainDialog::OnToggleEtcDlg() { toggle(m_etcDlg.get()); }

// ---- undo and redo ----

void CMainDialog::recordUnitChanges(UnitChanges changes, const QString& stepText)
{
    m_history.record(std::move(changes), stepText);
}

void CMainDialog::setUpEditMenu()
{
    // Redo answers Ctrl+Shift+Z as well. An edit box with the focus keeps these keys for its own
    // typing (Qt's edit claims them first); the menu then reaches the table's history.
    if (QAction* redo = menuCommand(form::kCmdRedo))
        redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    QUndoStack& stack = m_history.stack();
    connect(&stack, &QUndoStack::indexChanged, this, &CMainDialog::updateEditMenu);
    // The menu tells, as it opens, when undo would first drop edits not yet applied.
    if (QAction* undo = menuCommand(form::kCmdUndo))
        for (QObject* holder : undo->associatedObjects())
            if (auto* menu = qobject_cast<QMenu*>(holder))
                connect(menu, &QMenu::aboutToShow, this, &CMainDialog::updateEditMenu);
    updateEditMenu();
}

void CMainDialog::updateEditMenu()
{
    const auto setItem = [](QAction* action, const char* label, const QString& step, bool enabled) {
        if (!action)
            return;
        const QString keys = action->text().section(u'\t', 1);
        QString text = QString::fromUtf8(label);
        if (!step.isEmpty())
            text += u' ' + step;
        action->setText(text + u'\t' + keys);
        action->setEnabled(enabled);
    };
    const QUndoStack& stack = m_history.stack();
    if (hasPendingEdits())
        setItem(menuCommand(form::kCmdUndo), str::kUndoMenu, QString::fromUtf8(str::kStepPendingEdits), true);
    else
        setItem(menuCommand(form::kCmdUndo), str::kUndoMenu, stack.undoText(), stack.canUndo());
    setItem(menuCommand(form::kCmdRedo), str::kRedoMenu, stack.redoText(), stack.canRedo());
}

void CMainDialog::OnUndo()
{
    // Edits that Apply would write are never thrown away unasked: the first undo drops only them
    // and shows the unit again; the next one undoes the table's step.
    if (hasPendingEdits()) {
        ShowUnit(m_shownUnit);
        updateEditMenu();
        return;
    }
    m_history.undo();
}
void CMainDialog::OnRedo() { m_history.redo(); }

// ---- find ----

void CMainDialog::shareEditKeys(CDialog& window, bool withFindNext)
{
    std::vector<int> commands{form::kCmdUndo, form::kCmdRedo, form::kCmdFind};
    if (withFindNext)
        commands.insert(commands.end(), {form::kCmdFindNext, form::kCmdFindPrevious});
    for (int command : commands)
        if (QAction* action = menuCommand(command))
            window.addAction(action);
}

CFindDlg& CMainDialog::findWindow()
{
    if (!m_findDlg) {
        m_findDlg = std::make_unique<CFindDlg>(*this, m_images->weapons, this);
        shareEditKeys(*m_findDlg, false);  // it has F3 and Shift+F3 of its own
    }
    return *m_findDlg;
}

void CMainDialog::OnFind() { findWindow().Open(); }
void CMainDialog::OnFindNext(bool forward) { findWindow().FindNext(forward); }

// ---- compare ----

std::unique_ptr<UnitTable> CMainDialog::readTableToCompare(const std::filesystem::path& file, const QString& shownPath)
{
    long long size = -1;
    std::unique_ptr<UnitTable> table = CCompareDlg::ReadTable(file, &size);
    if (size < 0)
        ShowMessage(QString::fromUtf8(str::kCompareReadFailed).arg(shownPath));
    else if (!table)
        ShowMessage(QString::fromUtf8(str::kCompareTooShort).arg(shownPath).arg(size));
    return table;
}

void CMainDialog::showComparison(const QString& title, const QString& shownPath, const std::filesystem::path& file,
                                 std::unique_ptr<UnitTable> other)
{
    if (!m_compareDlg) {
        m_compareDlg = std::make_unique<CCompareDlg>(*this, m_images->weapons, m_images->kinds, this);
        shareEditKeys(*m_compareDlg, true);
    }
    m_compareSource = shownPath;
    m_compareDlg->CompareWith(title, shownPath, file, std::move(other));
}

void CMainDialog::OnCompareWithBackup()
{
    const std::filesystem::path backup = ResolveFile(m_gameFolder, kUnitBackupFileName);
    std::error_code error;
    if (!std::filesystem::exists(backup, error)) {
        ShowMessage(QString::fromUtf8(str::kCompareNoBackup), MsgIcon::Information);
        return;
    }
    const QString shown = gameFolder() + QString::fromLatin1(kUnitBackupFileName);
    if (std::unique_ptr<UnitTable> other = readTableToCompare(backup, shown))
        showComparison(QString::fromUtf8(str::kCompareBackupTitle), shown, backup, std::move(other));
}

void CMainDialog::OnCompareWithFile()
{
    FileDialogRequest request;
    request.title = QString::fromUtf8(str::kCompareFileTitle);
    request.filter = QString::fromUtf8(str::kCompareFileFilter);
    request.initialFolder = QString::fromStdU16String(ResolveFolder(m_gameFolder).u16string());
    const std::optional<QString> chosen = MessageService::instance().chooseFile(request);
    if (!chosen)
        return;
    const std::filesystem::path file = ToFsPath(*chosen);
    if (std::unique_ptr<UnitTable> other = readTableToCompare(file, *chosen))
        showComparison(QString::fromUtf8(str::kCompareFileTitle), *chosen, file, std::move(other));
}

// ---- pack and check ----

void CMainDialog::OnPackChanges()
{
    // The backup is the base; the table the compare window shows is offered beside it, and chosen.
    const std::filesystem::path backupFile = ResolveFile(m_gameFolder, kUnitBackupFileName);
    std::error_code error;
    const bool hasBackup = std::filesystem::exists(backupFile, error);
    std::unique_ptr<UnitTable> backup;
    if (hasBackup)
        backup = readTableToCompare(backupFile, gameFolder() + QString::fromLatin1(kUnitBackupFileName));
    std::vector<PackBase> bases;
    int initial = 0;
    if (backup)
        bases.push_back({QString::fromUtf8(str::kPackBackup).arg(QString::fromLatin1(kUnitBackupFileName)), backup.get()});
    if (m_compareDlg && m_compareDlg->isVisible() && m_compareDlg->otherTable()) {
        initial = int(bases.size());
        const QString name = m_compareSource.section(QRegularExpression(QStringLiteral("[/\\\\]")), -1);
        bases.push_back({QString::fromUtf8(str::kPackCompared).arg(name), m_compareDlg->otherTable()});
    }
    if (bases.empty()) {
        if (!hasBackup)
            ShowMessage(QString::fromUtf8(str::kCompareNoBackup), MsgIcon::Information);
        return;
    }
    PackChangedUnits(*this, std::move(bases), initial);
}

void CMainDialog::OnCheckTable()
{
    if (!m_checkDlg)
        m_checkDlg = std::make_unique<CCheckDlg>(*this, this);
    m_checkDlg->Open();
}
