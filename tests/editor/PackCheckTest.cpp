// The pack of changed units and the table check on the real main dialog: the menu commands, their
// windows driven with the keyboard, the files written, and the pack read back by the bulk import.

#include "support/GuiTest.h"

#include "editor/MainDialogFixture.h"

#include "data/TableCheck.h"
#include "editor/CheckDlg.h"
#include "editor/CompareDlg.h"
#include "editor/UnitFormIds.h"
#include "exchange/BulkImportDlg.h"
#include "exchange/PackDlg.h"
#include "exchange/core/UnitPack.h"
#include "framework/MessageService.h"
#include "res/Strings.h"

#include <QDirIterator>
#include <QHeaderView>
#include <QTreeWidget>

#include <random>
#include <set>

using namespace fixture;

namespace {

QByteArray Image(const UnitTable& table)
{
    const auto image = table.image();
    return QByteArray(reinterpret_cast<const char*>(image.data()), qsizetype(image.size()));
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// Every file of a folder with its bytes.
QMap<QString, QByteArray> Listing(const QString& folder)
{
    QMap<QString, QByteArray> files;
    for (QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot); it.hasNext();) {
        const QString path = it.next();
        QFile file(path);
        files[QFileInfo(path).fileName()] = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<folder>");
    }
    return files;
}

}  // namespace

class PackCheckTest : public QObject {
    Q_OBJECT
private:
    MessageService& service() { return MessageService::instance(); }
    QTemporaryDir m_out;

    // Runs the pack command; `confirm` acts on the confirmation window and must end it.
    static void pack(CMainDialog& dialog, std::function<void(CPackDlg&)> confirm)
    {
        // A failed check inside confirm returns early: the window is closed all the same.
        onNextModal<CPackDlg>([confirm](CPackDlg& confirmation) {
            confirm(confirmation);
            if (confirmation.isVisible())
                confirmation.reject();
        });
        dialog.dispatch(Notify::Command, form::kCmdPackChanges);
    }

private slots:
    void initTestCase() { guitest::init(); }
    void init() { guitest::resetSettings(); }

    // Table B (random changes) against its backup A: pack all but one unit, unchecked with Space;
    // the bulk import of the pack into a game folder holding A gives B in every packed unit.
    void packOfRandomChangesBulkImportsIntoACopyOfTheBase()
    {
        std::mt19937 random(7);
        GameFolder game;
        const UnitTable a = game.demoTable();
        UnitTable b = a;
        std::set<int> changed;
        while (changed.size() < 25) {
            const int unit = int(random() % kUnitCount);
            changed.insert(unit);
            for (auto& byte : b.record(unit).bytes)
                byte = std::uint8_t(random());
        }
        WriteFile(game.file(QStringLiteral("UNITINFO.ORG")), Image(a));
        WriteFile(game.file(QStringLiteral("UNITINFO.DAT")), Image(b));
        pointSettingsAt(game);
        auto dialog = openDialog();
        QVERIFY(dialog->isDataLoaded());

        const QString list = m_out.filePath(QStringLiteral("mod/units.cmd"));
        QDir(m_out.path()).mkpath(QStringLiteral("mod"));
        service().queueFile(list);
        int unchecked = -1;
        pack(*dialog, [&](CPackDlg& confirmation) {
            QTreeWidget* units = confirmation.listView(CPackDlg::kUnitsId);
            QCOMPARE(units->topLevelItemCount(), int(changed.size()));
            QCOMPARE(confirmation.focusWidget(), units);
            // The second unit: Down, then Space takes its check away.
            QTest::keyClick(units, Qt::Key_Down);
            unchecked = units->currentItem()->data(0, Qt::UserRole).toInt();
            QTest::keyClick(units, Qt::Key_Space);
            QCOMPARE(units->currentItem()->checkState(0), Qt::Unchecked);
            QCOMPARE(confirmation.checkedUnits().size(), changed.size() - 1);
            QTest::keyClick(units, Qt::Key_Return);
        });
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        const auto shown = service().takeShown();
        QCOMPARE(shown.size(), std::size_t(1));
        QCOMPARE(shown[0].icon, MsgIcon::Information);
        QCOMPARE(ReadSettingText(kInitData, QStringLiteral("UnitPackSaveDir"), QString()),
                 m_out.filePath(QStringLiteral("mod")) + u'/');
        changed.erase(unchecked);
        QCOMPARE(Listing(m_out.filePath(QStringLiteral("mod"))).size(), qsizetype(changed.size() + 1));

        // A player's folder holding A: the bulk import of units.cmd gives B in the packed units.
        GameFolder player;
        pointSettingsAt(player);
        auto theirs = openDialog();
        service().queueFile(list);
        onNextModal<CBulkImportDlg>([](CBulkImportDlg& confirmation) { confirmation.accept(); });
        theirs->dispatch(Notify::Command, form::kCmdBulkImport);
        QCOMPARE(service().takeShown().at(0).text, QString::fromUtf8(str::kBulkAllRead).arg(changed.size()));
        for (int u = 0; u < kUnitCount; ++u)
            QVERIFY2(sameBytes(theirs->unitTable().record(u), changed.count(u) ? b.record(u) : a.record(u)),
                     qPrintable(QString::number(u)));
        theirs->DestroyWindow();

        // Again into the same folder: the clash is asked about, and Cancel writes nothing.
        const auto before = Listing(m_out.filePath(QStringLiteral("mod")));
        service().queueFile(list);
        service().queueAnswer(MsgAnswer::Cancel);
        pack(*dialog, [](CPackDlg& confirmation) { confirmation.accept(); });
        const auto asked = service().takeShown();
        QCOMPARE(asked.size(), std::size_t(1));
        QCOMPARE(asked[0].icon, MsgIcon::Question);
        QVERIFY(asked[0].text.contains(QString::fromStdString(PackUnitFileName(*changed.begin()))));
        QVERIFY(asked[0].text.endsWith(QStringLiteral("ほか %1 個").arg(changed.size() + 1 - 10)));
        QCOMPARE(Listing(m_out.filePath(QStringLiteral("mod"))), before);

        // A file that cannot be written: the message names it, and the folder is as it was.
        QFile::remove(list);
        QDir(m_out.path()).mkpath(QStringLiteral("mod/units.cmd"));
        const auto blocked = Listing(m_out.filePath(QStringLiteral("mod")));
        service().queueFile(list);
        service().queueAnswer(MsgAnswer::Ok);
        pack(*dialog, [](CPackDlg& confirmation) { confirmation.accept(); });
        const auto failed = service().takeShown();
        QCOMPARE(failed.size(), std::size_t(2));
        QCOMPARE(failed[1].icon, MsgIcon::Stop);
        QVERIFY2(failed[1].text.contains(QDir::toNativeSeparators(list)), qPrintable(failed[1].text));
        QCOMPARE(Listing(m_out.filePath(QStringLiteral("mod"))), blocked);
        dialog->DestroyWindow();
    }

    // The compare window's table is offered as the base, and chosen at first; Escape writes nothing.
    void theComparedTableIsOfferedAsTheBase()
    {
        GameFolder game;
        pointSettingsAt(game);
        auto dialog = openDialog();
        // No backup and no comparison: said as the compare command says it.
        dialog->dispatch(Notify::Command, form::kCmdPackChanges);
        QCOMPARE(service().takeShown().at(0).text, QString::fromUtf8(str::kCompareNoBackup));

        UnitTable other = game.demoTable();
        other.record(5).setPrice(1);
        other.record(6).setPrice(2);
        WriteFile(m_out.filePath(QStringLiteral("OTHER.DAT")), Image(other));
        service().queueFile(m_out.filePath(QStringLiteral("OTHER.DAT")));
        dialog->dispatch(Notify::Command, form::kCmdCompareFile);
        QVERIFY(dialog->compareDialog()->isVisible());
        service().takeFileRequests();
        WriteFile(game.file(QStringLiteral("UNITINFO.ORG")), Image(game.demoTable()));
        other.record(7).setPrice(3);  // not in the compare window's table
        pack(*dialog, [](CPackDlg& confirmation) {
            QVERIFY(confirmation.button(CPackDlg::kBackupId)->isVisible());
            QVERIFY(confirmation.button(CPackDlg::kComparedId)->isChecked());
            QVERIFY(confirmation.button(CPackDlg::kComparedId)->text().contains(QStringLiteral("OTHER.DAT")));
            QCOMPARE(confirmation.listView(CPackDlg::kUnitsId)->topLevelItemCount(), 2);
            // The backup equals the table: nothing to write, OK is off.
            confirmation.button(CPackDlg::kBackupId)->click();
            QCOMPARE(confirmation.listView(CPackDlg::kUnitsId)->topLevelItemCount(), 0);
            QVERIFY(!confirmation.button(1)->isEnabled());
            QTest::keyClick(&confirmation, Qt::Key_Escape);
        });
        QVERIFY(service().takeFileRequests().empty());
        dialog->DestroyWindow();
    }

    // The check window: beside the main dialog, Return shows a row's unit, and fixing the unit with
    // Apply takes its row away.
    void checkWindowFollowsTheTable()
    {
        GameFolderFiles files = MakeDemoGameFiles();
        UnitTable table;
        table.load(files.unitInfo);
        table.record(123).setGraphicNumber(999);
        table.record(200).setWeapon(2, 501);
        const auto image = table.image();
        files.unitInfo.assign(image.begin(), image.end());
        GameFolder game(files);
        pointSettingsAt(game);
        auto dialog = openDialog();
        dialog->dispatch(Notify::Command, form::kCmdCheckTable);
        CCheckDlg* check = dialog->checkDialog();
        QVERIFY(check && check->isVisible());
        // Beside the main dialog (the offscreen screen has no room to keep clear of the tool windows too).
        QVERIFY(!check->frameGeometry().intersects(dialog->frameGeometry()));
        QTreeWidget* rows = check->listView(CCheckDlg::kRowsId);
        QCOMPARE(rows->topLevelItemCount(), 2);
        QCOMPARE(rows->topLevelItem(0)->text(2), QStringLiteral("グラフィック №"));
        QCOMPARE(rows->topLevelItem(1)->text(2), QStringLiteral("兵装3"));
        QCOMPARE(rows->topLevelItem(1)->text(3), QStringLiteral("501"));

        QCOMPARE(check->focusWidget(), rows);
        QTest::keyClick(rows, Qt::Key_Return);
        QCOMPARE(dialog->currentUnit(), 123);
        QVERIFY(check->isVisible());
        QCOMPARE(dialog->edit(form::kGraphicNumber)->text(), QStringLiteral("999"));

        typeInto(dialog->edit(form::kGraphicNumber), QString::number(table.record(124).graphicNumber()));
        dialog->button(form::kApply)->click();
        QCOMPARE(rows->topLevelItemCount(), 1);
        QCOMPARE(rows->currentItem()->text(0), QStringLiteral("0200"));
        // Undo brings the row back.
        dialog->dispatch(Notify::Command, form::kCmdUndo);
        QCOMPARE(rows->topLevelItemCount(), 2);

        // Double click shows the unit too; Escape closes the window.
        rows->scrollToItem(rows->topLevelItem(1));
        const QRect second = rows->visualItemRect(rows->topLevelItem(1));
        QVERIFY(second.isValid());
        QTest::mouseClick(rows->viewport(), Qt::LeftButton, {}, second.center());
        QCOMPARE(dialog->currentUnit(), 123);  // a click alone shows nothing
        QTest::mouseDClick(rows->viewport(), Qt::LeftButton, {}, second.center());
        QCOMPARE(dialog->currentUnit(), 200);
        QTest::keyClick(rows, Qt::Key_Escape);
        QVERIFY(!check->isVisible());
        dialog->DestroyWindow();
    }

    void renderWindows()
    {
        const QString folder = qEnvironmentVariable("CORVANE_RENDER_DIR");
        if (folder.isEmpty())
            QSKIP("set CORVANE_RENDER_DIR to render the pack and check windows");
        GameFolderFiles files = MakeDemoGameFiles();
        UnitTable table;
        table.load(files.unitInfo);
        for (int u : {16, 17, 100, 737, 1279})
            table.record(u).setPrice(table.record(u).price() + 100);
        GameFolder game(files);
        WriteFile(game.file(QStringLiteral("UNITINFO.ORG")), game.read(QStringLiteral("UNITINFO.DAT")));
        table.record(123).setGraphicNumber(999);
        table.record(200).setWeapon(2, 501);
        table.record(201).setKind(200);
        table.record(202).setName("\x83\x41\x83");
        WriteFile(game.file(QStringLiteral("UNITINFO.DAT")), Image(table));
        pointSettingsAt(game);
        auto dialog = openDialog();
        pack(*dialog, [&](CPackDlg& confirmation) {
            QTest::keyClick(confirmation.listView(CPackDlg::kUnitsId), Qt::Key_Space);
            QVERIFY(guitest::renderToPng(&confirmation, folder + QStringLiteral("/pack-dialog.png")));
            confirmation.reject();
        });
        dialog->dispatch(Notify::Command, form::kCmdCheckTable);
        QVERIFY(guitest::renderToPng(dialog->checkDialog(), folder + QStringLiteral("/check-dialog.png")));
        dialog->DestroyWindow();
    }
};

QTEST_MAIN(PackCheckTest)
#include "PackCheckTest.moc"
