#include "editor/CompareDlg.h"

#include "data/FileIo.h"
#include "data/ReferenceTables.h"
#include "data/UnitTable.h"
#include "framework/DataExchange.h"
#include "framework/FilePath.h"
#include "framework/UnitEditorHost.h"
#include "res/Resources.h"
#include "res/Strings.h"

#include <QAbstractButton>
#include <QEvent>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QStyle>
#include <QTreeWidget>

#include <algorithm>

namespace {

QString FourDigits(int unitNumber) { return QStringLiteral("%1").arg(unitNumber, 4, 10, QLatin1Char('0')); }

// A fixed combo's item text for a stored value, as the form's combos show it.
template <class Items>
QString ItemText(const Items& items, std::int64_t value)
{
    for (const ListItem& item : items)
        if (item.data == value)
            return QString::fromUtf8(item.text);
    return QString::number(value);
}

}  // namespace

CCompareDlg::CCompareDlg(UnitEditorHost& host, const WeaponTable& weapons, const KindTable& kinds, QWidget* owner)
    : CDialog(res::kDialog201, owner), m_host(host), m_weapons(weapons), m_kinds(kinds)
{
    setRoutes({
        Route{Notify::SelChange, kUnitsId, kUnitsId, [this](int) { OnUnitSelChange(); }},
        Route{Notify::DoubleClick, kUnitsId, kUnitsId, [this](int) { OnUnitDoubleClick(); }},
        Route{Notify::Return, kUnitsId, kUnitsId, [this](int) { OnUnitDoubleClick(); }},
        Route{Notify::Clicked, kRevertId, kRevertId, [this](int) { OnRevert(); }},
    });
    m_rereadTimer.setSingleShot(true);
    m_rereadTimer.setInterval(100);
    connect(&m_rereadTimer, &QTimer::timeout, this, &CCompareDlg::rereadFile);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, &m_rereadTimer, qOverload<>(&QTimer::start));
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_rereadTimer, qOverload<>(&QTimer::start));
}

CCompareDlg::~CCompareDlg() = default;

std::unique_ptr<UnitTable> CCompareDlg::ReadTable(const std::filesystem::path& file, long long* size)
{
    // One byte more than a table tells a longer file from one of exactly the right size.
    std::vector<std::uint8_t> bytes(kUnitTableSize + 1);
    const corvane::ReadResult read = corvane::ReadPrefix(file, bytes);
    if (size)
        *size = !read.opened || read.err != 0 ? -1 : static_cast<long long>(read.count);
    if (!read.opened || read.err != 0 || read.count < kUnitTableSize)
        return nullptr;
    auto table = std::make_unique<UnitTable>();
    table->load(std::span<const std::uint8_t>(bytes.data(), kUnitTableSize));
    return table;
}

bool CCompareDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    // The producing countries carry the names the producing-countries window shows.
    m_fields = MakeUnitFields(ReadProductionTypeNames(QFile::encodeName(m_host.gameFolder()).toStdString()));
    for (int id : {kUnitsId, kFieldsId}) {
        QTreeWidget* view = listView(id);
        view->header()->setStretchLastSection(true);
        view->header()->setSectionsMovable(false);
    }
    // Every column as wide as its widest text and the cell's margins: the number "0000:", the
    // labels, and the values a field can show (weapon and kind names, the combos' items, numbers).
    QTreeWidget* units = listView(kUnitsId);
    const QFontMetrics metrics = units->fontMetrics();
    m_cellMargin = 3 * units->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, units) + 12;
    const auto widest = [&](int width, const QString& text) {
        return std::max(width, metrics.horizontalAdvance(text) + m_cellMargin);
    };
    m_numberWidth = widest(0, QStringLiteral("0000:"));
    for (const UnitField& field : m_fields)
        m_labelWidth = widest(m_labelWidth, QString::fromStdString(field.label));
    m_valueWidth = widest(0, QStringLiteral("-2147483648"));
    for (int w = 0; w < WeaponTable::kEntryCount; ++w)
        m_valueWidth = widest(m_valueWidth, FromCp932(WeaponListText(m_weapons, w)));
    for (int k = 0; k < KindTable::kEntryCount; ++k)
        m_valueWidth = widest(m_valueWidth, FromCp932(KindListText(m_kinds, k)));
    const auto itemTexts = [&](const auto& items) {
        for (const ListItem& item : items)
            m_valueWidth = widest(m_valueWidth, QString::fromUtf8(item.text));
    };
    itemTexts(kAltitudeItems);
    itemTexts(kDefenceTypeItems);
    itemTexts(kCarrierItems);
    for (int column = 0; column < 3; ++column)
        m_valueWidth = widest(m_valueWidth, listView(kFieldsId)->headerItem()->text(column));
    fitColumns(0);
    m_placement.created(this);
    return true;
}

void CCompareDlg::fitColumns(int nameWidth)
{
    QTreeWidget* units = listView(kUnitsId);
    QTreeWidget* fields = listView(kFieldsId);
    const int oldNameWidth = m_nameWidth;
    m_nameWidth = std::max(m_nameWidth, nameWidth);
    if (m_nameWidth == oldNameWidth && oldNameWidth > 0)
        return;
    const int scrollBar = units->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, units);
    const auto templateRect = [this](const ControlTemplate& c) { return dialogRect(c.x, c.y, c.width, c.height); };
    const auto grow = [&](int id, int needed) {
        for (const BuiltControl& built : builtControls())
            if (built.entry->id == id)
                return std::max(0, needed - templateRect(*built.entry).width());
        return 0;
    };
    const int value = std::max(m_valueWidth, m_nameWidth);
    const int unitsGrow = grow(kUnitsId, 2 * units->frameWidth() + m_numberWidth + 2 * m_nameWidth + scrollBar);
    const int fieldsGrow = grow(kFieldsId, 2 * fields->frameWidth() + m_labelWidth + 2 * value + scrollBar);
    // The lists widen; what stands right of the unit list moves right, the close button to the end.
    const int fieldsLeft = templateRect(*std::find_if(builtControls().begin(), builtControls().end(), [](const BuiltControl& b) {
                                            return b.entry->id == kFieldsId;
                                        })->entry).left();
    for (const BuiltControl& built : builtControls()) {
        QRect rect = templateRect(*built.entry);
        if (built.entry->id == kUnitsId)
            rect.setWidth(rect.width() + unitsGrow);
        else if (built.entry->id == kFieldsId)
            rect.adjust(unitsGrow, 0, unitsGrow + fieldsGrow, 0);
        else if (built.entry->id == kSourceId)
            rect.setWidth(rect.width() + unitsGrow + fieldsGrow);
        else if (built.entry->id == kCloseId)
            rect.translate(unitsGrow + fieldsGrow, 0);
        else if (rect.left() >= fieldsLeft)
            rect.translate(unitsGrow, 0);
        built.widget->setGeometry(rect);
    }
    const QRect client = dialogRect(0, 0, dialogTemplate().width, dialogTemplate().height);
    clientArea()->setFixedSize(client.width() + unitsGrow + fieldsGrow, client.height());
    adjustSize();
    units->setColumnWidth(0, m_numberWidth);
    units->setColumnWidth(1, m_nameWidth);
    fields->setColumnWidth(0, m_labelWidth);
    fields->setColumnWidth(1, value);
}

void CCompareDlg::OnDestroy() { m_placement.destroyed(this); }

void CCompareDlg::showEvent(QShowEvent* event)
{
    m_placement.shown(this);
    CDialog::showEvent(event);
}

void CCompareDlg::changeEvent(QEvent* event)
{
    // Where the platform tells no file changes, coming back to the window reads the file again.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_other)
        rereadFile();
    CDialog::changeEvent(event);
}

void CCompareDlg::CompareWith(const QString& title, const QString& source, const std::filesystem::path& file,
                              std::unique_ptr<UnitTable> other)
{
    Create();
    m_other = std::move(other);
    m_file = file;
    watchFile();
    setWindowTitle(title);
    listView(kUnitsId)->clear();
    Refresh();
    // A long path is shortened in its middle (the window is as wide as the lists need by now); the
    // whole path is the line's tooltip.
    auto* sourceLine = qobject_cast<QLabel*>(control(kSourceId));
    const QString prefix = QString::fromUtf8(str::kCompareSource).arg(QString());
    const int room = sourceLine->width() - sourceLine->fontMetrics().horizontalAdvance(prefix);
    sourceLine->setText(prefix + sourceLine->fontMetrics().elidedText(source, Qt::ElideMiddle, room));
    sourceLine->setToolTip(QString::fromUtf8(str::kCompareSource).arg(source));
    if (QTreeWidgetItem* first = listView(kUnitsId)->topLevelItem(0))
        listView(kUnitsId)->setCurrentItem(first);
    show();
    raise();
    activateWindow();
}

void CCompareDlg::watchFile()
{
    if (!m_watcher.files().isEmpty())
        m_watcher.removePaths(m_watcher.files());
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    // The folder too: a save replaces the file by renaming another onto it.
    const QString file = FromFsPath(m_file);
    m_watcher.addPath(file);
    m_watcher.addPath(FromFsPath(m_file.parent_path().empty() ? std::filesystem::path(".") : m_file.parent_path()));
}

void CCompareDlg::rereadFile()
{
    if (!m_other)
        return;
    // A replaced file is watched anew; one being replaced just now is read on the next report.
    if (!m_watcher.files().contains(FromFsPath(m_file)))
        m_watcher.addPath(FromFsPath(m_file));
    std::unique_ptr<UnitTable> table = ReadTable(m_file);
    if (!table || std::ranges::equal(table->image(), m_other->image()))
        return;
    m_other = std::move(table);
    Refresh();
}

void CCompareDlg::Refresh()
{
    if (!m_other)
        return;
    const UnitTable& ours = m_host.unitTable();
    m_differing.clear();
    for (int u = 0; u < kUnitCount; ++u)
        if (ours.record(u).bytes != m_other->record(u).bytes)
            m_differing.push_back(u);
    fillUnits();
    fillFields();
}

void CCompareDlg::fillUnits()
{
    QTreeWidget* view = listView(kUnitsId);
    std::vector<int> selected = selectedUnits();
    const QTreeWidgetItem* current = view->currentItem();
    const int currentUnit = current ? current->data(0, Qt::UserRole).toInt() : -1;
    const int scrolled = view->verticalScrollBar()->value();

    const QSignalBlocker blocker(view);
    view->setUpdatesEnabled(false);
    view->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(qsizetype(m_differing.size()));
    QTreeWidgetItem* newCurrent = nullptr;
    for (int u : m_differing) {
        auto* item = new QTreeWidgetItem(QStringList{FourDigits(u) + u':', FromCp932(m_other->record(u).nameText()),
                                                     FromCp932(m_host.unitTable().record(u).nameText())});
        item->setData(0, Qt::UserRole, u);
        items << item;
        // The current entry stays; when its unit no longer differs (a revert), the entry that takes
        // its place does, selected, as in a list that an entry leaves.
        if (!newCurrent && currentUnit >= 0 && u >= currentUnit)
            newCurrent = item;
    }
    if (!newCurrent && currentUnit >= 0 && !items.isEmpty())
        newCurrent = items.back();
    const int newCurrentUnit = newCurrent ? newCurrent->data(0, Qt::UserRole).toInt() : -1;
    if (newCurrent && newCurrentUnit != currentUnit
        && std::none_of(items.cbegin(), items.cend(), [&](const QTreeWidgetItem* item) {
               return std::binary_search(selected.begin(), selected.end(), item->data(0, Qt::UserRole).toInt());
           }))
        selected = {newCurrentUnit};
    view->addTopLevelItems(items);
    const QFontMetrics metrics = view->fontMetrics();
    int nameWidth = 0;
    for (const QTreeWidgetItem* item : items)
        nameWidth = std::max({nameWidth, metrics.horizontalAdvance(item->text(1)), metrics.horizontalAdvance(item->text(2))});
    fitColumns(nameWidth + m_cellMargin);
    if (newCurrent)
        view->setCurrentItem(newCurrent, 0, QItemSelectionModel::NoUpdate);
    for (QTreeWidgetItem* item : items)
        if (std::binary_search(selected.begin(), selected.end(), item->data(0, Qt::UserRole).toInt()))
            item->setSelected(true);
    view->verticalScrollBar()->setValue(scrolled);
    view->setUpdatesEnabled(true);

    qobject_cast<QLabel*>(control(kCountId))
        ->setText(m_differing.empty() ? QString::fromUtf8(str::kCompareNone)
                                      : QString::fromUtf8(str::kCompareCount).arg(m_differing.size()));
    button(kRevertId)->setEnabled(!m_differing.empty());
}

std::vector<int> CCompareDlg::selectedUnits() const
{
    std::vector<int> units;
    for (const QTreeWidgetItem* item : listView(kUnitsId)->selectedItems())
        units.push_back(item->data(0, Qt::UserRole).toInt());
    std::sort(units.begin(), units.end());
    return units;
}

QString CCompareDlg::shownValue(const UnitField& field, const UnitRecord& record) const
{
    if (field.show == FieldShow::Name)
        return QString::fromStdString(FieldText(field, record));
    const std::int64_t value = FieldValue(field, record);
    switch (field.show) {
    case FieldShow::Weapon:
        return FromCp932(WeaponListText(m_weapons, int(value)));
    case FieldShow::Choice:
        // 兵種, 部隊高度, 防御タイプ, 搭載 by their place in the record.
        if (field.offset == 24)
            return value < KindTable::kEntryCount ? FromCp932(KindListText(m_kinds, int(value))) : QString::number(value);
        if (field.offset == 25)
            return ItemText(kAltitudeItems, value);
        if (field.offset == 37)
            return ItemText(kDefenceTypeItems, value);
        if (field.offset == 47)
            return ItemText(kCarrierItems, value);
        return QString::number(value);
    default:
        return QString::number(value);
    }
}

void CCompareDlg::fillFields()
{
    QTreeWidget* view = listView(kFieldsId);
    view->clear();
    const QTreeWidgetItem* current = listView(kUnitsId)->currentItem();
    if (!current || !m_other)
        return;
    const int unit = current->data(0, Qt::UserRole).toInt();
    const UnitRecord& theirs = m_other->record(unit);
    const UnitRecord& ours = m_host.unitTable().record(unit);
    QList<QTreeWidgetItem*> items;
    for (const UnitField& field : m_fields) {
        const QString before = shownValue(field, theirs);
        const QString now = shownValue(field, ours);
        if (before != now)
            items << new QTreeWidgetItem(QStringList{QString::fromStdString(field.label), before, now});
    }
    view->addTopLevelItems(items);
}

void CCompareDlg::OnUnitSelChange() { fillFields(); }

void CCompareDlg::OnUnitDoubleClick()
{
    const QTreeWidgetItem* current = listView(kUnitsId)->currentItem();
    if (!current || !m_host.isDataLoaded())
        return;
    const int unit = current->data(0, Qt::UserRole).toInt();
    m_host.selectUnitInList(unit);
    m_host.ShowUnit(unit);
}

void CCompareDlg::OnRevert()
{
    if (!m_other || !m_host.isDataLoaded())
        return;
    const std::vector<int> units = selectedUnits();
    if (units.empty())
        return;
    UnitTable& table = m_host.unitTable();
    UnitChanges changes;
    for (int u : units) {
        changes.push_back({u, table.record(u), m_other->record(u)});
        table.record(u) = m_other->record(u);
        m_host.RefreshUnitListEntry(u);
    }
    m_host.selectUnitInList(units.back());
    m_host.ShowUnit(units.back());
    const QString step = units.size() == 1 ? QString::fromUtf8(str::kStepRevert).arg(FourDigits(units.front()))
                                           : QString::fromUtf8(str::kStepRevertCount).arg(units.size());
    m_host.recordUnitChanges(std::move(changes), step);
}
