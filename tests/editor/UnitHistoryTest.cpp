// Undo and redo of the unit table on the real main dialog: every command that changes records is
// one step, undone and redone byte-exact with its list entries, selection, form and tool windows;
// the Edit menu's texts and keys; and the bold marks of changed units.

#include "support/GuiTest.h"
#include "support/TestFiles.h"

#include "MainDialogFixture.h"
#include "editor/CloneTargetDlg.h"
#include "editor/UnitFormIds.h"
#include "exchange/BulkImportDlg.h"
#include "exchange/core/UnitFile.h"
#include "framework/Controls.h"
#include "framework/MessageService.h"
#include "tools/EtcDlg.h"
#include "tools/ToolIds.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {

MessageService& messages() { return MessageService::instance(); }

QListWidget* unitList(CMainDialog& dialog) { return dialog.list(form::kUnitList); }
QAction* undoItem(CMainDialog& dialog) { return dialog.menuCommand(form::kCmdUndo); }
QAction* redoItem(CMainDialog& dialog) { return dialog.menuCommand(form::kCmdRedo); }

bool sameTable(const UnitTable& a, const UnitTable& b) { return std::ranges::equal(a.image(), b.image()); }

bool isBold(CMainDialog& dialog, int unit) { return unitList(dialog)->item(unit)->font().bold(); }

QList<int> boldUnits(CMainDialog& dialog)
{
    QList<int> bold;
    for (int u = 0; u < kUnitCount; ++u)
        if (isBold(dialog, u))
            bold << u;
    return bold;
}

// The list entry, the selection, the form and the unknown-data window all show unit u as stored.
void checkShows(CMainDialog& dialog, int unit)
{
    const UnitRecord& record = dialog.unitTable().record(unit);
    QCOMPARE(lb::curSel(unitList(dialog)), unit);
    QCOMPARE(lb::text(unitList(dialog), unit), FromCp932(UnitListText(unit, record)));
    QCOMPARE(dialog.edit(form::kName)->text(), FromCp932(record.nameText()));
    QCOMPARE(dialog.edit(form::kDurability)->text(), QString::number(record.durability()));
    auto* etc = dialog.findChild<CEtcDlg*>(QString(), Qt::FindDirectChildrenOnly);
    QCOMPARE(etc->edit(tool::kDataFirst)->text(), QString::number(record.data00()));
}

QByteArray unitFile(int unit, const UnitRecord& record)
{
    const auto bytes = UnitFileBytes(unit, record);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

UnitRecord renamed(const UnitRecord& like, const QString& name, int price)
{
    UnitRecord record = like;
    record.setName(ToCp932(name).value());
    record.setPrice(std::uint32_t(price));
    return record;
}

}  // namespace

class UnitHistoryTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<fixture::GameFolder> m_game;
    QTemporaryDir m_files;

    std::unique_ptr<CMainDialog> open()
    {
        fixture::pointSettingsAt(*m_game);
        return fixture::openDialog();
    }
    // Types a durability and an unknown-data value for unit u and clicks "適用".
    static void applyEdits(CMainDialog& dialog, int unit, const QString& durability, const QString& data00)
    {
        fixture::clickListRow(unitList(dialog), unit);
        fixture::typeInto(dialog.edit(form::kDurability), durability);
        auto* etc = dialog.findChild<CEtcDlg*>(QString(), Qt::FindDirectChildrenOnly);
        fixture::typeInto(etc->edit(tool::kDataFirst), data00);
        QTest::mouseClick(dialog.button(form::kApply), Qt::LeftButton);
    }
    // Ctrl+Z / Ctrl+Y with the keyboard focus in the unit list.
    static void keyOnList(CMainDialog& dialog, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
    {
        unitList(dialog)->setFocus();
        QTest::keyClick(unitList(dialog), key, modifiers);
    }

private slots:
    void initTestCase()
    {
        guitest::init();
        m_game = std::make_unique<fixture::GameFolder>();
    }
    void init() { guitest::resetSettings(); }

    void editMenuSitsBetweenFileAndViewAndStartsDisabled()
    {
        auto dialog = open();
        const QList<QAction*> menus = dialog->findChild<QMenuBar*>()->actions();
        QCOMPARE(menus[0]->text(), QStringLiteral("ﾌｧｲﾙ(&F)"));
        QCOMPARE(menus[1]->text(), QStringLiteral("編集(&E)"));
        QCOMPARE(menus[2]->text(), QStringLiteral("表示(&V)"));
        QCOMPARE(undoItem(*dialog)->text(), QStringLiteral("元に戻す(&U)\tCtrl+Z"));
        QCOMPARE(redoItem(*dialog)->text(), QStringLiteral("やり直し(&R)\tCtrl+Y"));
        QVERIFY(!undoItem(*dialog)->isEnabled() && !redoItem(*dialog)->isEnabled());
        QCOMPARE(undoItem(*dialog)->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
        QCOMPARE(redoItem(*dialog)->shortcuts(),
                 (QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))}));

        // An Apply that changes no byte adds no step and marks nothing.
        fixture::clickListRow(unitList(*dialog), 12);
        QTest::mouseClick(dialog->button(form::kApply), Qt::LeftButton);
        QVERIFY(!undoItem(*dialog)->isEnabled());
        QVERIFY(boldUnits(*dialog).isEmpty());
    }

    void applyIsUndoneAndRedoneByteExactWithMarks()
    {
        auto dialog = open();
        const UnitTable original = dialog->unitTable();
        applyEdits(*dialog, 12, QStringLiteral("201"), QStringLiteral("77"));
        const UnitTable applied = dialog->unitTable();
        QCOMPARE(int(applied.record(12).durability()), 201);
        QCOMPARE(int(applied.record(12).data00()), 77);
        QCOMPARE(undoItem(*dialog)->text(), QStringLiteral("元に戻す(&U) 0012の適用\tCtrl+Z"));
        QCOMPARE(boldUnits(*dialog), QList<int>{12});
        QCOMPARE(lb::text(unitList(*dialog), 12), FromCp932(UnitListText(12, applied.record(12))));  // text as before

        // Undo from another unit: the table goes back, unit 12 is selected and shown everywhere.
        fixture::clickListRow(unitList(*dialog), 40);
        keyOnList(*dialog, Qt::Key_Z);
        QVERIFY(sameTable(dialog->unitTable(), original));
        checkShows(*dialog, 12);
        QVERIFY(boldUnits(*dialog).isEmpty());
        QVERIFY(!undoItem(*dialog)->isEnabled());
        QCOMPARE(redoItem(*dialog)->text(), QStringLiteral("やり直し(&R) 0012の適用\tCtrl+Y"));

        // Redo by both keys of redo, undo again by the menu item.
        keyOnList(*dialog, Qt::Key_Y);
        QVERIFY(sameTable(dialog->unitTable(), applied));
        checkShows(*dialog, 12);
        QCOMPARE(boldUnits(*dialog), QList<int>{12});
        undoItem(*dialog)->trigger();
        QVERIFY(sameTable(dialog->unitTable(), original));
        keyOnList(*dialog, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(sameTable(dialog->unitTable(), applied));

        // A new step after an undo drops what could be redone.
        undoItem(*dialog)->trigger();
        applyEdits(*dialog, 13, QStringLiteral("5"), QStringLiteral("6"));
        QVERIFY(!redoItem(*dialog)->isEnabled());
        QCOMPARE(boldUnits(*dialog), QList<int>{13});
    }

    void typingInAnEditBoxIsUndoneThereAndTheTableIsLeftAlone()
    {
        auto dialog = open();
        applyEdits(*dialog, 12, QStringLiteral("201"), QStringLiteral("77"));
        const UnitTable applied = dialog->unitTable();

        QLineEdit* price = dialog->edit(form::kPrice);
        const QString shown = price->text();
        price->setFocus();
        price->end(false);
        QTest::keyClicks(price, QStringLiteral("99"));
        QCOMPARE(price->text(), shown + QStringLiteral("99"));
        QTest::keyClick(price, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(price->text(), shown);
        QTest::keyClick(price, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(price->text(), shown + QStringLiteral("99"));
        QTest::keyClick(price, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(price, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(price->text(), shown + QStringLiteral("99"));
        QVERIFY(sameTable(dialog->unitTable(), applied));
        QVERIFY(undoItem(*dialog)->isEnabled());

        // The menu still reaches the table's history, once the typing not applied is dropped.
        undoItem(*dialog)->trigger();
        QCOMPARE(price->text(), shown);
        QVERIFY(sameTable(dialog->unitTable(), applied));
        undoItem(*dialog)->trigger();
        QCOMPARE(int(dialog->unitTable().record(12).durability()), int(m_game->demoTable().record(12).durability()));
    }

    void cloneIsOneStep()
    {
        auto dialog = open();
        const UnitTable original = dialog->unitTable();
        fixture::clickListRow(unitList(*dialog), 10);
        fixture::onNextModal<CCloneTargetDlg>([](CCloneTargetDlg& target) {
            lb::setCurSel(target.list(1000), 20);
            target.targetPosition = 20;
            target.button(1)->click();
        });
        messages().queueAnswer(MsgAnswer::Ok);
        QTest::mouseClick(dialog->button(form::kClone), Qt::LeftButton);
        const UnitTable cloned = dialog->unitTable();
        QVERIFY(fixture::sameBytes(cloned.record(20), original.record(10)));
        QCOMPARE(undoItem(*dialog)->text(), QStringLiteral("元に戻す(&U) 0020への複製\tCtrl+Z"));
        QCOMPARE(boldUnits(*dialog), QList<int>{20});

        undoItem(*dialog)->trigger();
        QVERIFY(sameTable(dialog->unitTable(), original));
        checkShows(*dialog, 20);
        redoItem(*dialog)->trigger();
        QVERIFY(sameTable(dialog->unitTable(), cloned));
        checkShows(*dialog, 20);
        QCOMPARE(lb::text(unitList(*dialog), 20).left(5), QStringLiteral("0020:"));
    }

    void importAndBulkImportAreOneStepEach()
    {
        auto dialog = open();
        const UnitTable original = dialog->unitTable();
        const UnitRecord seven = renamed(original.record(7), QStringLiteral("七番機"), 7000);
        WriteAll(m_files.filePath(QStringLiteral("seven.sui")), unitFile(7, seven));
        fixture::clickListRow(unitList(*dialog), 300);
        messages().queueFile(m_files.filePath(QStringLiteral("seven.sui")));
        messages().queueAnswer(MsgAnswer::Ok);
        dialog->menuCommand(form::kCmdImport)->trigger();
        QVERIFY(fixture::sameBytes(dialog->unitTable().record(7), seven));
        QCOMPARE(undoItem(*dialog)->text(), QStringLiteral("元に戻す(&U) 0007の読み込み\tCtrl+Z"));
        const UnitTable imported = dialog->unitTable();

        // Three units, the second of them twice: one step that puts back all three.
        const UnitRecord a = renamed(original.record(5), QStringLiteral("甲"), 1);
        const UnitRecord b1 = renamed(original.record(600), QStringLiteral("乙一"), 2);
        const UnitRecord b2 = renamed(original.record(600), QStringLiteral("乙二"), 3);
        const UnitRecord c = renamed(original.record(7), QStringLiteral("丙"), 4);
        WriteAll(m_files.filePath(QStringLiteral("a.sui")), unitFile(5, a));
        WriteAll(m_files.filePath(QStringLiteral("b1.sui")), unitFile(600, b1));
        WriteAll(m_files.filePath(QStringLiteral("b2.sui")), unitFile(600, b2));
        WriteAll(m_files.filePath(QStringLiteral("c.sui")), unitFile(7, c));
        WriteAll(m_files.filePath(QStringLiteral("three.cmd")), "a.sui\nb1.sui\nc.sui\nb2.sui\n");
        fixture::onNextModal<CBulkImportDlg>([](CBulkImportDlg& confirmation) { confirmation.button(1)->click(); });
        messages().queueFile(m_files.filePath(QStringLiteral("three.cmd")));
        dialog->menuCommand(form::kCmdBulkImport)->trigger();
        QCOMPARE(messages().takeShown().back().text, QStringLiteral("4個の兵器を読み込みました"));
        const UnitTable bulk = dialog->unitTable();
        QVERIFY(fixture::sameBytes(bulk.record(600), b2));
        QCOMPARE(undoItem(*dialog)->text(), QStringLiteral("元に戻す(&U) 4個の一括読み込み\tCtrl+Z"));
        QCOMPARE(boldUnits(*dialog), (QList<int>{5, 7, 600}));

        undoItem(*dialog)->trigger();
        QVERIFY(sameTable(dialog->unitTable(), imported));
        checkShows(*dialog, 600);
        for (int u : {5, 7, 600})
            QCOMPARE(lb::text(unitList(*dialog), u), FromCp932(UnitListText(u, imported.record(u))));
        QCOMPARE(boldUnits(*dialog), QList<int>{7});
        undoItem(*dialog)->trigger();
        QVERIFY(sameTable(dialog->unitTable(), original));
        checkShows(*dialog, 7);
        QVERIFY(boldUnits(*dialog).isEmpty());

        redoItem(*dialog)->trigger();
        redoItem(*dialog)->trigger();
        QVERIFY(sameTable(dialog->unitTable(), bulk));
        checkShows(*dialog, 600);
        QCOMPARE(lb::text(unitList(*dialog), 600), QStringLiteral("0600:乙二"));
    }

    void undoWorksAcrossASaveAndSavingAgainWritesTheUndoneTable()
    {
        fixture::GameFolder game;
        fixture::pointSettingsAt(game);
        auto dialog = fixture::openDialog();
        const UnitTable original = dialog->unitTable();
        applyEdits(*dialog, 12, QStringLiteral("201"), QStringLiteral("77"));
        applyEdits(*dialog, 13, QStringLiteral("202"), QStringLiteral("78"));
        QCOMPARE(boldUnits(*dialog), (QList<int>{12, 13}));

        messages().queueAnswer(MsgAnswer::Ok);
        dialog->menuCommand(form::kCmdSave)->trigger();
        QVERIFY(boldUnits(*dialog).isEmpty());
        const UnitTable saved = dialog->unitTable();

        // Undo after the save: unit 13 differs from the saved table now.
        undoItem(*dialog)->trigger();
        QCOMPARE(boldUnits(*dialog), QList<int>{13});
        QVERIFY(fixture::sameBytes(dialog->unitTable().record(13), original.record(13)));
        messages().queueAnswer(MsgAnswer::Ok);
        dialog->menuCommand(form::kCmdSave)->trigger();
        QVERIFY(boldUnits(*dialog).isEmpty());
        const QByteArray written = game.read(QStringLiteral("UNITINFO.DAT"));
        QVERIFY(std::ranges::equal(dialog->unitTable().image(), QByteArrayView(written), [](std::uint8_t a, char b) {
            return a == std::uint8_t(b);
        }));
        // Redo brings back unit 13 as applied, which differs from the file now: marked.
        redoItem(*dialog)->trigger();
        QVERIFY(sameTable(dialog->unitTable(), saved));
        QCOMPARE(boldUnits(*dialog), QList<int>{13});
    }
};

QTEST_MAIN(UnitHistoryTest)
#include "UnitHistoryTest.moc"
