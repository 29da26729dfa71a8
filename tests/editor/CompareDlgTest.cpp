// The compare window on the real main dialog: the backup or another file read and refused, the
// differing units and fields with both values, double-click, revert as one undo step, and a table
// that differs everywhere.

#include "support/GuiTest.h"
#include "support/TestFiles.h"

#include "MainDialogFixture.h"
#include "editor/CompareDlg.h"
#include "editor/FindDlg.h"
#include "editor/UnitFormIds.h"
#include "framework/Controls.h"
#include "framework/FilePath.h"
#include "framework/MessageService.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>

#include <cstdio>
#include <filesystem>
#include <random>

namespace {

MessageService& messages() { return MessageService::instance(); }

QByteArray bytesOf(const UnitTable& table)
{
    return QByteArray(reinterpret_cast<const char*>(table.image().data()), qsizetype(table.image().size()));
}

// The demo table with three units changed at known fields: what the backup holds below.
UnitTable backupTable(const UnitTable& demo)
{
    UnitTable backup = demo;
    backup.record(3).setDurability(std::uint8_t(demo.record(3).durability() + 1));
    backup.record(500).setWeapon(0, 12);
    backup.record(500).setProductionFlags(demo.record(500).productionFlags() ^ 1u);
    backup.record(1001).setData03(5);  // the demo holds -1 here
    return backup;
}

QStringList rowTexts(QTreeWidget* view)
{
    QStringList rows;
    for (int i = 0; i < view->topLevelItemCount(); ++i) {
        QStringList cells;
        for (int c = 0; c < view->columnCount(); ++c)
            cells << view->topLevelItem(i)->text(c);
        rows << cells.join(u'|');
    }
    return rows;
}

QString label(CDialog& dialog, int id) { return qobject_cast<QLabel*>(dialog.control(id))->text(); }

}  // namespace

class CompareDlgTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_files;

    static void selectUnitRow(CCompareDlg& compare, int row)
    {
        QTreeWidget* units = compare.listView(CCompareDlg::kUnitsId);
        units->setFocus();
        units->setCurrentItem(units->topLevelItem(row));
    }

private slots:
    void initTestCase() { guitest::init(); }
    void init() { guitest::resetSettings(); }

    void backupDifferencesAreListedWithBothValuesAndReverted()
    {
        fixture::GameFolder game;
        const UnitTable demo = game.demoTable();
        const UnitTable backup = backupTable(demo);
        WriteAll(game.file(QStringLiteral("UNITINFO.ORG")), bytesOf(backup));
        fixture::pointSettingsAt(game);
        auto dialog = fixture::openDialog();

        dialog->menuCommand(form::kCmdCompareBackup)->trigger();
        CCompareDlg* compare = dialog->compareDialog();
        QVERIFY(compare && compare->isVisible());
        QCOMPARE(compare->windowTitle(), QStringLiteral("ﾊﾞｯｸｱｯﾌﾟと比較"));
        QCOMPARE(label(*compare, CCompareDlg::kSourceId), QStringLiteral("比較先: ") + game.folderText() + "UNITINFO.ORG");
        QCOMPARE(label(*compare, CCompareDlg::kCountId), QStringLiteral("違いのあるユニット: 3"));
        const auto name = [&](int u) { return FromCp932(demo.record(u).nameText()); };
        QTreeWidget* units = compare->listView(CCompareDlg::kUnitsId);
        QCOMPARE(rowTexts(units), (QStringList{"0003:|" + name(3) + u'|' + name(3), "0500:|" + name(500) + u'|' + name(500),
                                               "1001:|" + name(1001) + u'|' + name(1001)}));

        QTreeWidget* fields = compare->listView(CCompareDlg::kFieldsId);
        QCOMPARE(rowTexts(fields), QStringList{QStringLiteral("耐久|%1|%2")
                                                   .arg(backup.record(3).durability())
                                                   .arg(demo.record(3).durability())});
        selectUnitRow(*compare, 1);
        const QStringList unit500 = rowTexts(fields);
        QCOMPARE(unit500.size(), 2);
        QCOMPARE(unit500[0], QStringLiteral("兵装1|") + FromCp932(WeaponListText(dialog->weaponTable(), 12)) + u'|'
                                 + FromCp932(WeaponListText(dialog->weaponTable(), demo.record(500).weapon(0))));
        QCOMPARE(unit500[1], QStringLiteral("生産可能国: アルテア連邦|%1|%2")
                                 .arg(backup.record(500).productionFlags() & 1u)
                                 .arg(demo.record(500).productionFlags() & 1u));
        selectUnitRow(*compare, 2);
        QCOMPARE(rowTexts(fields), QStringList{QStringLiteral("data03|5|-1")});

        // Double-click shows the unit in the main dialog.
        const QRect row = units->visualItemRect(units->topLevelItem(1));
        QTest::mouseClick(units->viewport(), Qt::LeftButton, {}, row.center());
        QTest::mouseDClick(units->viewport(), Qt::LeftButton, {}, row.center());
        QCOMPARE(dialog->currentUnit(), 500);
        QCOMPARE(dialog->edit(form::kName)->text(), name(500));

        // Revert two units: they equal the backup's, one step undoes both, the list follows.
        units->clearSelection();
        units->topLevelItem(0)->setSelected(true);
        units->topLevelItem(2)->setSelected(true);
        QTest::mouseClick(compare->button(CCompareDlg::kRevertId), Qt::LeftButton);
        QVERIFY(fixture::sameBytes(dialog->unitTable().record(3), backup.record(3)));
        QVERIFY(fixture::sameBytes(dialog->unitTable().record(1001), backup.record(1001)));
        QVERIFY(fixture::sameBytes(dialog->unitTable().record(500), demo.record(500)));
        QCOMPARE(compare->differingUnits(), std::vector<int>{500});
        QCOMPARE(label(*compare, CCompareDlg::kCountId), QStringLiteral("違いのあるユニット: 1"));
        QCOMPARE(dialog->currentUnit(), 1001);
        QVERIFY(dialog->isUnitChanged(3) && dialog->isUnitChanged(1001));
        QCOMPARE(dialog->menuCommand(form::kCmdUndo)->text(), QStringLiteral("元に戻す(&U) 2個を比較先に戻す\tCtrl+Z"));

        dialog->menuCommand(form::kCmdUndo)->trigger();
        QVERIFY(std::ranges::equal(dialog->unitTable().image(), demo.image()));
        QCOMPARE(compare->differingUnits(), (std::vector<int>{3, 500, 1001}));
        // An Apply elsewhere shows up at once.
        fixture::clickListRow(dialog->list(form::kUnitList), 40);
        fixture::typeInto(dialog->edit(form::kDurability), QString::number(demo.record(40).durability() ^ 1));
        QTest::mouseClick(dialog->button(form::kApply), Qt::LeftButton);
        QCOMPARE(compare->differingUnits(), (std::vector<int>{3, 40, 500, 1001}));

        const QString out = qEnvironmentVariable("CORVANE_RENDER_DIR");
        if (!out.isEmpty()) {
            selectUnitRow(*compare, 2);
            QVERIFY(guitest::renderToPng(compare, out + QStringLiteral("/compare-window.png")));
        }
    }

    // Return on a unit shows it and reverts nothing, even after the focus was on "元に戻す"; the
    // button answers Alt+R and Space. A revert keeps the list's place; undo, redo and find reach the
    // main dialog; the file is read again when it changes; the window remembers where it was put.
    void keysPlaceAndAFileThatChanges()
    {
        fixture::GameFolder game;
        const UnitTable demo = game.demoTable();
        UnitTable other = demo;
        for (int u = 100; u < 160; ++u)
            other.record(u).setDurability(std::uint8_t(demo.record(u).durability() + 1));
        const QString file = m_files.filePath(QStringLiteral("other.dat"));
        WriteAll(file, bytesOf(other));
        fixture::pointSettingsAt(game);
        auto dialog = fixture::openDialog();
        messages().queueFile(file);
        dialog->menuCommand(form::kCmdCompareFile)->trigger();
        CCompareDlg* compare = dialog->compareDialog();
        QVERIFY(!compare->frameGeometry().intersects(dialog->frameGeometry()));
        compare->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), compare);

        QTreeWidget* units = compare->listView(CCompareDlg::kUnitsId);
        auto* revert = qobject_cast<QPushButton*>(compare->button(CCompareDlg::kRevertId));
        revert->setFocus();
        units->setFocus();
        units->setCurrentItem(units->topLevelItem(30));
        QTest::keyClick(units, Qt::Key_Return);
        QTest::keyClick(units, Qt::Key_Down);
        QTest::keyClick(units, Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(std::ranges::equal(dialog->unitTable().image(), demo.image()));
        QCOMPARE(dialog->currentUnit(), 131);
        QVERIFY(!revert->isDefault());

        const int scrolled = units->verticalScrollBar()->value();
        QVERIFY(scrolled > 0);
        QTest::keyClick(units, Qt::Key_R, Qt::AltModifier);  // the button's click comes a moment later
        QTRY_VERIFY(fixture::sameBytes(dialog->unitTable().record(131), other.record(131)));
        QCOMPARE(units->verticalScrollBar()->value(), scrolled);
        QCOMPARE(units->currentItem()->text(0), QStringLiteral("0132:"));
        QCOMPARE(units->selectedItems(), QList<QTreeWidgetItem*>{units->currentItem()});
        revert->setFocus();
        QTest::keyClick(revert, Qt::Key_Space);
        QVERIFY(fixture::sameBytes(dialog->unitTable().record(132), other.record(132)));

        QTest::keyClick(units, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(fixture::sameBytes(dialog->unitTable().record(132), demo.record(132)));
        QTest::keyClick(units, Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(fixture::sameBytes(dialog->unitTable().record(132), other.record(132)));
        QTest::keyClick(units, Qt::Key_F, Qt::ControlModifier);
        QVERIFY(dialog->findDialog() && dialog->findDialog()->isVisible());

        // Replaced on disk, as a save replaces a table: read again.
        other.record(5).setDurability(std::uint8_t(demo.record(5).durability() + 1));
        WriteAll(file + QStringLiteral(".new"), bytesOf(other));
        std::error_code renamed;
        std::filesystem::rename(ToFsPath(file + QStringLiteral(".new")), ToFsPath(file), renamed);  // replaces, on Windows too
        QVERIFY(!renamed);
        QTRY_COMPARE(compare->differingUnits().front(), 5);

        compare->move(compare->pos() + QPoint(13, 17));
        const QPoint put = compare->pos();
        dialog->DestroyWindow();
        dialog.reset();
        dialog = fixture::openDialog();
        messages().queueFile(file);
        dialog->menuCommand(form::kCmdCompareFile)->trigger();
        QCOMPARE(dialog->compareDialog()->pos(), put);
    }

    void missingBackupAndUnusableFilesAreRefusedWithAMessage()
    {
        fixture::GameFolder game;
        fixture::pointSettingsAt(game);
        auto dialog = fixture::openDialog();
        messages().takeShown();

        dialog->menuCommand(form::kCmdCompareBackup)->trigger();
        auto shown = messages().takeShown();
        QCOMPARE(shown.size(), size_t(1));
        QCOMPARE(shown[0].text, QStringLiteral("ゲームフォルダにﾊﾞｯｸｱｯﾌﾟ (UNITINFO.ORG) がありません。\n"
                                               "ﾊﾞｯｸｱｯﾌﾟは最初の上書き保存のときに作られます。"));
        QCOMPARE(shown[0].icon, MsgIcon::Information);
        QVERIFY(!dialog->compareDialog());

        const QString shortFile = m_files.filePath(QStringLiteral("short.dat"));
        WriteAll(shortFile, QByteArray(276015, '\0'));
        messages().queueFile(shortFile);
        dialog->menuCommand(form::kCmdCompareFile)->trigger();
        QCOMPARE(messages().takeFileRequests().at(0).title, QStringLiteral("他のﾌｧｲﾙと比較"));
        shown = messages().takeShown();
        QCOMPARE(shown.size(), size_t(1));
        QCOMPARE(shown[0].text, shortFile + QStringLiteral(" はユニットデータではありません。\n"
                                                           "276,016 バイト以上必要ですが、276015 バイトしかありません。"));
        QCOMPARE(shown[0].icon, MsgIcon::Stop);

        messages().queueFile(m_files.path());  // a folder
        dialog->menuCommand(form::kCmdCompareFile)->trigger();
        shown = messages().takeShown();
        QCOMPARE(shown.size(), size_t(1));
        QCOMPARE(shown[0].text, m_files.path() + QStringLiteral(" を読み込めませんでした"));
        QVERIFY(!dialog->compareDialog());

        // A longer file compares its first 276,016 bytes; identical: nothing differs.
        const QString longFile = m_files.filePath(QStringLiteral("long.dat"));
        WriteAll(longFile, bytesOf(dialog->unitTable()) + QByteArray(100, 'x'));
        messages().queueFile(longFile);
        dialog->menuCommand(form::kCmdCompareFile)->trigger();
        QVERIFY(messages().takeShown().empty());
        QVERIFY(dialog->compareDialog()->differingUnits().empty());
        QCOMPARE(label(*dialog->compareDialog(), CCompareDlg::kCountId), QStringLiteral("違いのあるユニットはありません"));
        QVERIFY(!dialog->compareDialog()->button(CCompareDlg::kRevertId)->isEnabled());
    }

    void aTableDifferingEverywhereIsListedAndRevertedWhole()
    {
        fixture::GameFolder game;
        fixture::pointSettingsAt(game);
        auto dialog = fixture::openDialog();
        const UnitTable ours = dialog->unitTable();
        UnitTable other = ours;
        std::mt19937 random(9);
        for (int u = 0; u < kUnitCount; ++u)
            for (std::uint8_t& byte : other.record(u).bytes)
                byte = std::uint8_t(random());
        const QString file = m_files.filePath(QStringLiteral("random.dat"));
        WriteAll(file, bytesOf(other));
        messages().queueFile(file);
        dialog->menuCommand(form::kCmdCompareFile)->trigger();
        CCompareDlg* compare = dialog->compareDialog();
        QCOMPARE(int(compare->differingUnits().size()), kUnitCount);
        QCOMPARE(compare->listView(CCompareDlg::kUnitsId)->topLevelItemCount(), kUnitCount);
        for (int row : {0, 777, 1279}) {
            selectUnitRow(*compare, row);
            QVERIFY(compare->listView(CCompareDlg::kFieldsId)->topLevelItemCount() > 0);
        }
        compare->listView(CCompareDlg::kUnitsId)->selectAll();
        QTest::mouseClick(compare->button(CCompareDlg::kRevertId), Qt::LeftButton);
        QVERIFY(std::ranges::equal(dialog->unitTable().image(), other.image()));
        QVERIFY(compare->differingUnits().empty());
        QCOMPARE(dialog->currentUnit(), 1279);
        dialog->menuCommand(form::kCmdUndo)->trigger();
        QVERIFY(std::ranges::equal(dialog->unitTable().image(), ours.image()));
        QCOMPARE(int(compare->differingUnits().size()), kUnitCount);
    }
};

QTEST_MAIN(CompareDlgTest)
#include "CompareDlgTest.moc"
