// The main dialog's opening and closing sequences, its routing and guard, the ways it closes,
// the save command and the About box, on demo game folders in temporary directories.

#include "support/GuiTest.h"

#include <filesystem>

#include "MainDialogFixture.h"
#include "app/SettingsStore.h"
#include "editor/AboutDlg.h"
#include "editor/CloneTargetDlg.h"
#include "tools/WeaponDlg.h"
#include "tools/ToolIds.h"
#include "editor/UnitFormIds.h"
#include "framework/Controls.h"
#include "framework/MessageService.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QSettings>

#include <map>

namespace {

MessageService& messages() { return MessageService::instance(); }

const QString kLocatePrompt = QStringLiteral("大戦略をインストールしたフォルダを選択し、\n「UNITINFO.DAT」を指定してください");
const QString kGiveUpWarning = QStringLiteral("インストールフォルダを指定しない場合本ソフトフェアは使用出来ません");

int storedInt(const QString& name) { return ReadSettingInt(kInitData, name, 12345); }
QString storedText(const QString& name) { return ReadSettingText(kInitData, name, QStringLiteral("<missing>")); }

// The user gives up the search for the game folder: Cancel, then OK to the warning.
void queueGiveUp()
{
    messages().queueAnswer(MsgAnswer::Cancel);
    messages().queueAnswer(MsgAnswer::Ok);
}

}  // namespace

class MainDialogTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { guitest::init(); }
    void init() { guitest::resetSettings(); }

    void openingLoadsTheDemoFolderAndFillsEveryList();
    void openingSelectsTheStoredUnit_data();
    void openingSelectsTheStoredUnit();
    void closingWritesFolderUnitAndPlacement();
    void missingFolderPromptsUntilAFileIsChosen();
    void folderWithAJapaneseNameIsFoundAndKept();
    void givingUpLeavesAnEmptyDialogThatDoesNothing();
    void aMissingReferenceFileStopsTheLoad();
    void saveCommandAsksAndWritesTheTable();
    void saveCancelledTouchesNothing();
    void saveAsksBeforeOverwritingAChangedFile();
    void enterActsAsOkWithoutSaving();
    void enterWithABadBoxKeepsTheDialogOpen();
    void escapeCloseBoxAndExitCloseWithoutAsking();
    void enterOnAFocusedButtonPressesThatButton();
    void enterOnThePickersAndCloneDialogsButtons();
    void aboutEntryOpensTheAboutBox();
};

void MainDialogTest::openingLoadsTheDemoFolderAndFillsEveryList()
{
    fixture::GameFolder folder;
    fixture::pointSettingsAt(folder);
    auto dialog = fixture::openDialog();

    QVERIFY(dialog->isDataLoaded());
    QVERIFY(messages().takeShown().empty());
    QCOMPARE(dialog->gameFolder(), folder.folderText());

    QListWidget* units = dialog->list(form::kUnitList);
    QCOMPARE(units->count(), kUnitCount);
    const UnitTable table = folder.demoTable();
    for (int u : {0, 7, 16, 1279}) {
        QCOMPARE(lb::itemData(units, u), u);
        QCOMPARE(lb::text(units, u), FromCp932(UnitListText(u, table.record(u))));
    }
    QCOMPARE(lb::text(units, 16).left(5), QStringLiteral("0016:"));

    QComboBox* categories = dialog->combo(form::kCategory);
    QCOMPARE(categories->count(), 52);
    QCOMPARE(categories->itemText(0), QStringLiteral("要撃機"));
    QCOMPARE(cb::itemData(categories, 0), 1);
    QCOMPARE(categories->itemText(1), QStringLiteral("戦闘機"));
    QCOMPARE(cb::itemData(categories, 1), 16);
    QCOMPARE(categories->itemText(51), QStringLiteral("巡航ミサイル"));
    QCOMPARE(cb::itemData(categories, 51), 1260);
    QCOMPARE(cb::curSel(categories), -1);  // never set by the program

    QComboBox* kinds = dialog->combo(form::kKind);
    QCOMPARE(kinds->count(), 128);
    for (int k : {0, 1, 127}) {
        QCOMPARE(kinds->itemText(k), FromCp932(KindListText(dialog->kindTable(), k)));
        QCOMPARE(cb::itemData(kinds, k), k);
    }
    const auto checkFixed = [&](int id, const auto& items) {
        QComboBox* combo = dialog->combo(id);
        QCOMPARE(combo->count(), int(items.size()));
        for (int i = 0; i < combo->count(); ++i) {
            QCOMPARE(combo->itemText(i), QString::fromUtf8(items[i].text));
            QCOMPARE(cb::itemData(combo, i), items[i].data);
        }
    };
    checkFixed(form::kAltitude, kAltitudeItems);
    checkFixed(form::kDefenceType, kDefenceTypeItems);
    checkFixed(form::kCarrierClass, kCarrierItems);
    QCOMPARE(cb::itemData(dialog->combo(form::kDefenceType), 9), 255);

    // No stored unit: line 1 is selected and unit 1 is shown.
    QCOMPARE(lb::curSel(units), 1);
    QCOMPARE(dialog->currentUnit(), 1);
    QCOMPARE(dialog->edit(form::kName)->text(), FromCp932(table.record(1).nameText()));
}

void MainDialogTest::openingSelectsTheStoredUnit_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("selected");
    QTest::newRow("5") << 5 << 5;
    QTest::newRow("2000") << 2000 << 1;
    QTest::newRow("1280") << 1280 << 1;
    QTest::newRow("-1") << -1 << 1;
    QTest::newRow("0") << 0 << 0;
    QTest::newRow("1279") << 1279 << 1279;
}

void MainDialogTest::openingSelectsTheStoredUnit()
{
    QFETCH(int, stored);
    QFETCH(int, selected);
    fixture::GameFolder folder;
    fixture::pointSettingsAt(folder);
    WriteSettingInt(kInitData, QStringLiteral("LastSelectUnit"), stored);
    auto dialog = fixture::openDialog();
    QCOMPARE(lb::curSel(dialog->list(form::kUnitList)), selected);
    QCOMPARE(dialog->currentUnit(), selected);
    const UnitTable table = folder.demoTable();
    QCOMPARE(dialog->edit(form::kName)->text(), FromCp932(table.record(selected).nameText()));
    QCOMPARE(dialog->edit(form::kGraphicNumber)->text(), QString::number(table.record(selected).graphicNumber()));
}

void MainDialogTest::closingWritesFolderUnitAndPlacement()
{
    fixture::GameFolder folder;
    fixture::pointSettingsAt(folder);
    WriteSettingInt(kInitData, QStringLiteral("LastSelectUnit"), 5);
    auto dialog = fixture::openDialog();
    fixture::clickListRow(dialog->list(form::kUnitList), 42);
    QCOMPARE(dialog->currentUnit(), 42);
    // Each tool window somewhere of its own, so that no two report the same edges.
    std::map<QString, QRect> frames{{QStringLiteral("MainDialog"), dialog->frameGeometry()}};
    int shift = 0;
    for (QWidget* window : dialog->findChildren<CDialog*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!window->isVisible())
            continue;
        window->move(window->pos() + QPoint(11 + shift, 7 + 2 * shift));
        shift += 5;
        frames[window->objectName() == QStringLiteral("131")   ? QStringLiteral("SpeedDlg")
               : window->objectName() == QStringLiteral("130") ? QStringLiteral("ProductDlg")
                                                                : QStringLiteral("EtcDlg")] = window->frameGeometry();
    }
    QCOMPARE(frames.size(), std::size_t(4));
    dialog->reject();
    // Nothing is written while the dialog closes; the window's destruction writes it all.
    QCOMPARE(storedInt(QStringLiteral("LastSelectUnit")), 5);
    QStringList written;
    settingsWriteLog = &written;
    dialog->DestroyWindow();
    settingsWriteLog = nullptr;

    // The tool windows as they are destroyed, each Top, Bottom, Left, Right; then the main dialog's
    // values; every value once and one sync after the last.
    QStringList expected;
    for (const char* prefix : {"SpeedDlg", "ProductDlg", "EtcDlg"})
        for (const char* edge : {"Top", "Bottom", "Left", "Right"})
            expected << QString::fromLatin1(prefix) + QString::fromLatin1(edge);
    expected << QStringLiteral("DS6InstallDir") << QStringLiteral("LastSelectUnit") << QStringLiteral("MainDialogLeft")
             << QStringLiteral("MainDialogRight") << QStringLiteral("MainDialogTop") << QStringLiteral("MainDialogBottom")
             << QStringLiteral("sync");
    QCOMPARE(written, expected);

    QCOMPARE(storedText(QStringLiteral("DS6InstallDir")), folder.folderText());
    QCOMPARE(storedInt(QStringLiteral("LastSelectUnit")), 42);
    for (const auto& [prefix, frame] : frames) {
        QCOMPARE(storedInt(prefix + QStringLiteral("Left")), frame.left());
        QCOMPARE(storedInt(prefix + QStringLiteral("Top")), frame.top());
        QCOMPARE(storedInt(prefix + QStringLiteral("Right")), frame.left() + frame.width());
        QCOMPARE(storedInt(prefix + QStringLiteral("Bottom")), frame.top() + frame.height());
    }
#ifndef Q_OS_WIN  // the registry has no file to read back: every value is set in it at once
    // The sync put them on the disk, not only into this process's copy.
    QFile stored(QSettings().fileName());
    QVERIFY(stored.open(QIODevice::ReadOnly));
    const QByteArray text = stored.readAll();
    QVERIFY(text.contains("LastSelectUnit=42"));
    QVERIFY(text.contains("EtcDlgRight="));
#endif
    QVERIFY(messages().takeShown().empty());
}

void MainDialogTest::missingFolderPromptsUntilAFileIsChosen()
{
    fixture::GameFolder folder;
    QTemporaryDir empty;
    WriteSettingText(kInitData, QStringLiteral("DS6InstallDir"), QDir::toNativeSeparators(empty.path()) + QDir::separator());

    // First prompt: OK, then the file dialog is cancelled; the prompt comes again. Second prompt:
    // Cancel, the warning: Cancel (go on searching). Third prompt: OK, and a file of the game folder.
    messages().queueAnswer(MsgAnswer::Ok);
    messages().queueFile(std::nullopt);
    messages().queueAnswer(MsgAnswer::Cancel);
    messages().queueAnswer(MsgAnswer::Cancel);
    messages().queueAnswer(MsgAnswer::Ok);
    messages().queueFile(QDir::toNativeSeparators(folder.file(QStringLiteral("WEAPONKD.DAT"))));
    auto dialog = fixture::openDialog();

    QVERIFY(dialog->isDataLoaded());
    const auto shown = messages().takeShown();
    QCOMPARE(int(shown.size()), 4);
    for (int i : {0, 1, 3}) {
        QCOMPARE(shown[i].text, kLocatePrompt);
        QCOMPARE(shown[i].icon, MsgIcon::Exclamation);
        QCOMPARE(shown[i].buttons, MsgButtons::OkCancel);
        QCOMPARE(shown[i].caption, guitest::appName());
    }
    QCOMPARE(shown[2].text, kGiveUpWarning);
    QCOMPARE(shown[2].icon, MsgIcon::Stop);
    QCOMPARE(shown[2].buttons, MsgButtons::OkCancel);

    const auto requests = messages().takeFileRequests();
    QCOMPARE(int(requests.size()), 2);
    QCOMPARE(requests[0].title, QStringLiteral("大戦略インストールフォルダの選択"));
    QCOMPARE(requests[0].filter, QStringLiteral("ﾃﾞｰﾀﾌｧｲﾙ (*.dat)|*.dat|全てのﾌｧｲﾙ (*.*)|*.*||"));
    QCOMPARE(requests[0].initialName, QStringLiteral("UNITINFO.DAT"));
    QVERIFY(requests[0].initialFolder.isEmpty());
    QVERIFY(!requests[0].save);

    // The chosen file's folder, as a native path ending in the separator.
    QCOMPARE(dialog->gameFolder(), folder.folderText());
    QVERIFY(dialog->gameFolder().endsWith(QDir::separator()));
    QCOMPARE(dialog->list(form::kUnitList)->count(), kUnitCount);
    dialog->reject();
    dialog->DestroyWindow();
    QCOMPARE(storedText(QStringLiteral("DS6InstallDir")), folder.folderText());
}

void MainDialogTest::folderWithAJapaneseNameIsFoundAndKept()
{
    QTemporaryDir base;
    const QString gameDir = base.filePath(QStringLiteral("大戦略 ﾃﾞｰﾀ"));
    WriteGameFolder(std::filesystem::path(gameDir.toStdU16String()), MakeDemoGameFiles());
    const QString folderText = QDir::toNativeSeparators(gameDir) + QDir::separator();

    // Chosen in the locate dialog, then stored and found again at the next start.
    messages().queueAnswer(MsgAnswer::Ok);
    messages().queueFile(QDir::toNativeSeparators(gameDir + QStringLiteral("/UNITINFO.DAT")));
    {
        auto dialog = fixture::openDialog();
        QVERIFY(dialog->isDataLoaded());
        QCOMPARE(dialog->gameFolder(), folderText);
        dialog->reject();
        dialog->DestroyWindow();
    }
    QCOMPARE(storedText(QStringLiteral("DS6InstallDir")), folderText);
    messages().takeShown();
    auto dialog = fixture::openDialog();
    QVERIFY(dialog->isDataLoaded());
    QVERIFY(messages().takeShown().empty());
}

void MainDialogTest::givingUpLeavesAnEmptyDialogThatDoesNothing()
{
    QTemporaryDir empty;
    WriteSettingText(kInitData, QStringLiteral("DS6InstallDir"), QDir::toNativeSeparators(empty.path()) + QDir::separator());
    WriteSettingInt(kInitData, QStringLiteral("LastSelectUnit"), 9);
    queueGiveUp();
    auto dialog = fixture::openDialog();

    QVERIFY(!dialog->isDataLoaded());
    QCOMPARE(int(messages().takeShown().size()), 2);
    QVERIFY(dialog->gameFolder().isEmpty());
    QCOMPARE(dialog->list(form::kUnitList)->count(), 0);
    for (int id : {form::kCategory, form::kKind, form::kAltitude, form::kDefenceType, form::kCarrierClass})
        QCOMPARE(dialog->combo(id)->count(), 0);
    QCOMPARE(dialog->currentUnit(), -1);

    // The guarded commands do nothing; Apply and clone change nothing and say nothing.
    for (int command : {form::kCmdSave, form::kCmdImport, form::kCmdExport, form::kCmdBulkImport, form::kCmdCsvExport,
                        form::kCmdCsvImport})
        dialog->menuCommand(command)->trigger();
    QTest::mouseClick(dialog->button(form::kApply), Qt::LeftButton);
    QTest::mouseClick(dialog->button(form::kJumpToTransformTarget), Qt::LeftButton);
    QVERIFY(messages().takeShown().empty());
    QVERIFY(messages().takeFileRequests().empty());
    QCOMPARE(dialog->currentUnit(), -1);
    QVERIFY(dialog->isVisible());

    dialog->reject();
    dialog->DestroyWindow();
    QCOMPARE(storedInt(QStringLiteral("LastSelectUnit")), -1);
    QCOMPARE(storedText(QStringLiteral("DS6InstallDir")), QString());
}

void MainDialogTest::aMissingReferenceFileStopsTheLoad()
{
    fixture::GameFolder folder;
    QVERIFY(QFile::remove(folder.file(QStringLiteral("UNITKIND.DAT"))));
    fixture::pointSettingsAt(folder);
    auto dialog = fixture::openDialog();
    QVERIFY(!dialog->isDataLoaded());
    const auto shown = messages().takeShown();
    QCOMPARE(int(shown.size()), 1);
    QCOMPARE(shown[0].text, QStringLiteral("兵種データファイルをオープンできません"));
    QCOMPARE(shown[0].icon, MsgIcon::Stop);
    QCOMPARE(dialog->list(form::kUnitList)->count(), 0);
    QCOMPARE(dialog->gameFolder(), folder.folderText());
}

void MainDialogTest::saveCommandAsksAndWritesTheTable()
{
    fixture::GameFolder folder;
    fixture::pointSettingsAt(folder);
    auto dialog = fixture::openDialog();
    const QByteArray original = folder.read(QStringLiteral("UNITINFO.DAT"));

    dialog->menuCommand(form::kCmdSave)->trigger();
    auto shown = messages().takeShown();
    QCOMPARE(int(shown.size()), 1);
    QCOMPARE(shown[0].text, QStringLiteral("保存してよろしいですか？"));
    QCOMPARE(shown[0].icon, MsgIcon::Question);
    QCOMPARE(shown[0].buttons, MsgButtons::OkCancel);
    // Unchanged: the table goes back byte for byte and the game's own file becomes the backup.
    QCOMPARE(folder.read(QStringLiteral("UNITINFO.DAT")), original);
    QCOMPARE(folder.read(QStringLiteral("UNITINFO.ORG")), original);

    // An applied edit is saved; what is typed but not applied is not.
    fixture::typeInto(dialog->edit(form::kDurability), QStringLiteral("77"));
    QTest::mouseClick(dialog->button(form::kApply), Qt::LeftButton);
    fixture::typeInto(dialog->edit(form::kCount), QStringLiteral("99"));
    dialog->menuCommand(form::kCmdSave)->trigger();
    const QByteArray saved = folder.read(QStringLiteral("UNITINFO.DAT"));
    QCOMPARE(saved.size(), qsizetype(kUnitTableSize));
    const int unit = dialog->currentUnit();
    const qsizetype at = qsizetype(UnitTable::recordOffset(unit));
    QCOMPARE(std::uint8_t(saved[at + 39]), std::uint8_t(77));   // durability
    QCOMPARE(saved[at + 38], original[at + 38]);                // count: typed, not applied
    QCOMPARE(folder.read(QStringLiteral("UNITINFO.ORG")), original);  // the backup is made once
    messages().takeShown();
}

void MainDialogTest::saveCancelledTouchesNothing()
{
    fixture::GameFolder folder;
    fixture::pointSettingsAt(folder);
    auto dialog = fixture::openDialog();
    fixture::typeInto(dialog->edit(form::kDurability), QStringLiteral("77"));
    QTest::mouseClick(dialog->button(form::kApply), Qt::LeftButton);
    const QDateTime modified = QFileInfo(folder.file(QStringLiteral("UNITINFO.DAT"))).lastModified();
    const QByteArray original = folder.read(QStringLiteral("UNITINFO.DAT"));

    messages().queueAnswer(MsgAnswer::Cancel);
    dialog->menuCommand(form::kCmdSave)->trigger();
    QCOMPARE(int(messages().takeShown().size()), 1);
    QCOMPARE(folder.read(QStringLiteral("UNITINFO.DAT")), original);
    QCOMPARE(QFileInfo(folder.file(QStringLiteral("UNITINFO.DAT"))).lastModified(), modified);
    QVERIFY(!QFileInfo::exists(folder.file(QStringLiteral("UNITINFO.ORG"))));
}

void MainDialogTest::saveAsksBeforeOverwritingAChangedFile()
{
    fixture::GameFolder folder;
    fixture::pointSettingsAt(folder);
    auto dialog = fixture::openDialog();
    fixture::typeInto(dialog->edit(form::kDurability), QStringLiteral("77"));
    QTest::mouseClick(dialog->button(form::kApply), Qt::LeftButton);
    // Another program writes the table after it was loaded.
    QByteArray other = folder.read(QStringLiteral("UNITINFO.DAT"));
    other[100] = char(other[100] ^ 0x55);
    {
        QFile file(folder.file(QStringLiteral("UNITINFO.DAT")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(other);
    }
    const QString question = QDir::toNativeSeparators(folder.file(QStringLiteral("UNITINFO.DAT")))
        + QStringLiteral(" は、読み込んだ後か前回保存した後に、ほかのプログラムで変更されています。\n上書きして保存しますか？");

    messages().queueAnswer(MsgAnswer::Ok);      // 保存してよろしいですか？
    messages().queueAnswer(MsgAnswer::Cancel);  // いいえ
    dialog->menuCommand(form::kCmdSave)->trigger();
    auto shown = messages().takeShown();
    QCOMPARE(int(shown.size()), 2);
    QCOMPARE(shown[1].text, question);
    QCOMPARE(shown[1].icon, MsgIcon::Question);
    QCOMPARE(shown[1].buttons, MsgButtons::YesNo);
    QCOMPARE(folder.read(QStringLiteral("UNITINFO.DAT")), other);
    QVERIFY(!QFileInfo::exists(folder.file(QStringLiteral("UNITINFO.ORG"))));

    // はい overwrites it; the next save finds what was saved and asks nothing more.
    messages().queueAnswer(MsgAnswer::Ok);
    messages().queueAnswer(MsgAnswer::Ok);
    dialog->menuCommand(form::kCmdSave)->trigger();
    QCOMPARE(int(messages().takeShown().size()), 2);
    const qsizetype at = qsizetype(UnitTable::recordOffset(dialog->currentUnit()));
    QCOMPARE(std::uint8_t(folder.read(QStringLiteral("UNITINFO.DAT"))[at + 39]), std::uint8_t(77));
    QCOMPARE(folder.read(QStringLiteral("UNITINFO.ORG")), other);
    dialog->menuCommand(form::kCmdSave)->trigger();
    QCOMPARE(int(messages().takeShown().size()), 1);
}

void MainDialogTest::enterActsAsOkWithoutSaving()
{
    fixture::GameFolder folder;
    fixture::pointSettingsAt(folder);
    auto dialog = fixture::openDialog();
    const QByteArray original = folder.read(QStringLiteral("UNITINFO.DAT"));
    QLineEdit* box = dialog->edit(form::kPrice);
    fixture::typeInto(box, QStringLiteral("300"));
    QTest::keyClick(box, Qt::Key_Return);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QVERIFY(messages().takeShown().empty());
    dialog->DestroyWindow();
    QCOMPARE(folder.read(QStringLiteral("UNITINFO.DAT")), original);
    QVERIFY(!QFileInfo::exists(folder.file(QStringLiteral("UNITINFO.ORG"))));
}

void MainDialogTest::enterWithABadBoxKeepsTheDialogOpen()
{
    fixture::GameFolder folder;
    fixture::pointSettingsAt(folder);
    auto dialog = fixture::openDialog();
    fixture::typeInto(dialog->edit(form::kSearchFirst), QStringLiteral("x1"));
    QTest::keyClick(dialog->edit(form::kName), Qt::Key_Return);
    QVERIFY(dialog->isVisible());
    const auto shown = messages().takeShown();
    QCOMPARE(int(shown.size()), 1);
    QCOMPARE(shown[0].text, QStringLiteral("整数を入力してください。"));
    QCOMPARE(shown[0].icon, MsgIcon::Exclamation);
    QCOMPARE(dialog->focusWidget(), dialog->edit(form::kSearchFirst));
    QCOMPARE(dialog->edit(form::kSearchFirst)->selectedText(), QStringLiteral("x1"));
}

void MainDialogTest::escapeCloseBoxAndExitCloseWithoutAsking()
{
    fixture::GameFolder folder;
    fixture::pointSettingsAt(folder);
    const QByteArray original = folder.read(QStringLiteral("UNITINFO.DAT"));
    const std::vector<std::function<void(CMainDialog&)>> ways{
        [](CMainDialog& d) { QTest::keyClick(d.edit(form::kName), Qt::Key_Escape); },
        [](CMainDialog& d) { d.close(); },
        [](CMainDialog& d) { d.menuCommand(form::kCmdExit)->trigger(); },
        [](CMainDialog& d) { QTest::mouseClick(d.button(2), Qt::LeftButton); },
    };
    for (const auto& closeIt : ways) {
        auto dialog = fixture::openDialog();
        // An applied edit and a bad box: closing neither saves, nor asks, nor complains.
        fixture::typeInto(dialog->edit(form::kDurability), QStringLiteral("77"));
        QTest::mouseClick(dialog->button(form::kApply), Qt::LeftButton);
        fixture::typeInto(dialog->edit(form::kCount), QStringLiteral("bad"));
        closeIt(*dialog);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
        QVERIFY(messages().takeShown().empty());
        dialog->DestroyWindow();
        QCOMPARE(folder.read(QStringLiteral("UNITINFO.DAT")), original);
    }
}

// Enter with the focus on a push button presses that button; only elsewhere does it act as OK.
void MainDialogTest::enterOnAFocusedButtonPressesThatButton()
{
    fixture::GameFolder folder;
    fixture::pointSettingsAt(folder);
    auto dialog = fixture::openDialog();
    const auto enterOn = [&](int id) {
        dialog->button(id)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(dialog->button(id), Qt::Key_Return);
    };

    fixture::clickListRow(dialog->list(form::kUnitList), corvane::demo::kTransformUnitA);
    fixture::typeInto(dialog->edit(form::kDurability), QStringLiteral("77"));
    enterOn(form::kApply);
    QVERIFY(dialog->isVisible());
    QCOMPARE(int(dialog->unitTable().record(corvane::demo::kTransformUnitA).durability()), 77);

    enterOn(form::kJumpToTransformTarget);
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->currentUnit(), corvane::demo::kTransformUnitB);

    bool cloneAsked = false;
    fixture::onNextModal<CCloneTargetDlg>([&](CCloneTargetDlg& clone) {
        cloneAsked = true;
        QTest::keyClick(&clone, Qt::Key_Escape);
    });
    enterOn(form::kClone);
    QVERIFY(cloneAsked);
    QVERIFY(dialog->isVisible());

    enterOn(2);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(dialog->result(), int(QDialog::Rejected));

    dialog = fixture::openDialog();
    enterOn(1);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QVERIFY(messages().takeShown().empty());
}

void MainDialogTest::enterOnThePickersAndCloneDialogsButtons()
{
    fixture::GameFolder folder;
    fixture::pointSettingsAt(folder);
    auto dialog = fixture::openDialog();
    const int unit = dialog->currentUnit();
    const auto enterOn = [](CDialog& modal, int id) {
        modal.button(id)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(modal.button(id), Qt::Key_Return);
    };
    QListWidget* slot = dialog->list(form::kSlotListFirst);
    const auto openPicker = [&] {
        const QRect item = slot->visualItemRect(slot->item(0));
        QTest::mouseDClick(slot->viewport(), Qt::LeftButton, {}, item.center());
    };
    const QString slotBefore = lb::text(slot, 0);

    // Picker: another weapon under the cursor, Enter on Cancel keeps the slot; on OK takes it.
    for (int id : {2, 1}) {
        fixture::onNextModal<CWeaponDlg>([&](CWeaponDlg& picker) {
            fixture::clickListRow(picker.list(tool::kWeaponList), 5);
            enterOn(picker, id);
        });
        openPicker();
        QVERIFY(dialog->isVisible());
        QCOMPARE(lb::text(slot, 0), id == 2 ? slotBefore : FromCp932(dialog->weaponTable().entry(5).nameText()));
    }

    // Clone target: Enter on Cancel copies nothing; on OK copies onto the chosen unit.
    const int target = unit + 3;
    for (int id : {2, 1}) {
        fixture::onNextModal<CCloneTargetDlg>([&](CCloneTargetDlg& clone) {
            fixture::clickListRow(clone.list(CCloneTargetDlg::kTargetListId), target);
            enterOn(clone, id);
        });
        QTest::mouseClick(dialog->button(form::kClone), Qt::LeftButton);
        QVERIFY(dialog->isVisible());
        QCOMPARE(fixture::sameBytes(dialog->unitTable().record(target), dialog->unitTable().record(unit)), id == 1);
    }
}

void MainDialogTest::aboutEntryOpensTheAboutBox()
{
    queueGiveUp();
    auto dialog = fixture::openDialog();
    messages().takeShown();
    QString title, line;
    fixture::onNextModal<CAboutDlg>([&](CAboutDlg& about) {
        title = about.windowTitle();
        for (QLabel* label : about.findChildren<QLabel*>())
            if (!label->text().isEmpty())
                line = label->text();
        QTest::mouseClick(about.button(1), Qt::LeftButton);
    });
#ifdef Q_OS_WIN
    dialog->dispatch(Notify::Command, form::kCmdAbout);
#else
    QAction* entry = nullptr;
    for (QAction* action : dialog->findChild<QMenuBar*>()->actions())
        if (action->menu() && action->text() == QStringLiteral("ﾍﾙﾌﾟ(&H)"))
            entry = action->menu()->actions().value(0);
    QVERIFY(entry);
    entry->trigger();
#endif
    QCOMPARE(title, QStringLiteral("Corvaneのﾊﾞｰｼﾞｮﾝ情報"));
    QCOMPARE(line, QStringLiteral("Corvane Version 0.1.0.7"));
    // The About box is not guarded: it opens with nothing loaded too.
    QVERIFY(!dialog->isDataLoaded());
}

QTEST_MAIN(MainDialogTest)
#include "MainDialogTest.moc"
