// The find window on the real main dialog: Ctrl+F, F3 and Shift+F3, matching by name (width,
// kana and case folded), number and weapon name, going round the table, and the outcome line.

#include "support/GuiTest.h"

#include "MainDialogFixture.h"
#include "data/ReferenceTables.h"
#include "editor/FindDlg.h"
#include "editor/UnitFormIds.h"
#include "framework/Controls.h"
#include "framework/MessageService.h"

#include <QAction>
#include <QLabel>
#include <QRadioButton>

#include <cstring>

namespace {

constexpr int kGammaWeapon = 470;

std::string cp932(const QString& text) { return ToCp932(text).value(); }

// The demo folder with names and a weapon the searches below can rely on.
GameFolderFiles searchableFiles()
{
    GameFolderFiles files = MakeDemoGameFiles();
    UnitTable table;
    table.load(files.unitInfo);
    table.record(50).setName(cp932(QStringLiteral("ゼロゼロ号")));
    table.record(600).setName(cp932(QStringLiteral("ぜろぜろ改")));
    table.record(1200).setName(cp932(QStringLiteral("ＺＥＲＯｚｅｒｏ")));
    for (int u = 0; u < kUnitCount; ++u)
        for (int slot = 0; slot < kWeaponSlotCount; ++slot)
            if (table.record(u).weapon(slot) == kGammaWeapon)
                table.record(u).setWeapon(slot, 1);
    table.record(30).setWeapon(5, kGammaWeapon);
    table.record(900).setWeapon(0, kGammaWeapon);
    std::memcpy(files.unitInfo.data(), table.image().data(), table.image().size());

    const std::string gamma = cp932(QStringLiteral("ガンマ砲"));
    std::uint8_t* name = &files.weapons[kTableHeadSize + WeaponTable::kEntrySize * (kGammaWeapon - 1)];
    std::memset(name, 0, 16);
    std::memcpy(name, gamma.data(), gamma.size());
    return files;
}

}  // namespace

class FindDlgTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<fixture::GameFolder> m_game;
    std::unique_ptr<CMainDialog> m_dialog;

    CFindDlg& find() { return *m_dialog->findDialog(); }
    QListWidget* units() { return m_dialog->list(form::kUnitList); }
    // Opens the window with Ctrl+F from the unit list and types the text to find.
    void openAndType(const QString& text, int byId = CFindDlg::kByNameId)
    {
        units()->setFocus();
        QTest::keyClick(units(), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(m_dialog->findDialog() && find().isVisible());
        QTRY_COMPARE(QApplication::focusWidget(), find().edit(CFindDlg::kTextId));
        find().button(byId)->click();
        fixture::typeInto(find().edit(CFindDlg::kTextId), text);
    }
    // The unit the main dialog selects and shows.
    int shown()
    {
        const int unit = m_dialog->currentUnit();
        if (unit >= 0 && m_dialog->edit(form::kName)->text() != FromCp932(m_dialog->unitTable().record(unit).nameText()))
            return -2;
        return unit;
    }
    void pressNext()
    {
        QTest::keyClick(find().edit(CFindDlg::kTextId), Qt::Key_Return);
    }

private slots:
    void initTestCase()
    {
        guitest::init();
        m_game = std::make_unique<fixture::GameFolder>(searchableFiles());
    }
    void init()
    {
        guitest::resetSettings();
        fixture::pointSettingsAt(*m_game);
        m_dialog = fixture::openDialog();
    }
    void cleanup() { m_dialog.reset(); }

    void nameMatchesFoldWidthKanaAndCaseAndGoRound()
    {
        fixture::clickListRow(units(), 10);
        openAndType(QStringLiteral("ｾﾞﾛｾﾞﾛ"));
        QVERIFY(find().button(CFindDlg::kByNameId)->isChecked());  // the default choice
        pressNext();
        QCOMPARE(shown(), 50);
        QCOMPARE(find().outcome(), QString());
        QTest::mouseClick(find().button(CFindDlg::kNextId), Qt::LeftButton);
        QCOMPARE(shown(), 600);
        QTest::keyClick(find().edit(CFindDlg::kTextId), Qt::Key_F3);
        QCOMPARE(shown(), 50);
        QCOMPARE(find().outcome(), QStringLiteral("最後まで検索したので、先頭から続けました"));
        QTest::mouseClick(find().button(CFindDlg::kPreviousId), Qt::LeftButton);
        QCOMPARE(shown(), 600);
        QCOMPARE(find().outcome(), QStringLiteral("先頭まで検索したので、最後から続けました"));
        QCOMPARE(lb::curSel(units()), 600);

        // Full-width capitals against half-width small letters.
        fixture::typeInto(find().edit(CFindDlg::kTextId), QStringLiteral("zeroZERO"));
        pressNext();
        QCOMPARE(shown(), 1200);
        // The half-width katakana demo name, found by hiragana.
        fixture::typeInto(find().edit(CFindDlg::kTextId), QStringLiteral("しでん"));
        pressNext();
        QCOMPARE(FromCp932(m_dialog->unitTable().record(shown()).nameText()).left(4), QStringLiteral("ｼﾃﾞﾝ"));
    }

    void numberAndWeaponMatches()
    {
        openAndType(QStringLiteral("１２"), CFindDlg::kByNumberId);  // full-width digits
        pressNext();
        QCOMPARE(shown(), 12);
        fixture::typeInto(find().edit(CFindDlg::kTextId), QStringLiteral("0777"));
        pressNext();
        QCOMPARE(shown(), 777);
        fixture::typeInto(find().edit(CFindDlg::kTextId), QStringLiteral("1280"));
        pressNext();
        QCOMPARE(shown(), 777);
        QCOMPARE(find().outcome(), QStringLiteral("「1280」は見つかりません"));

        find().button(CFindDlg::kByWeaponId)->click();
        fixture::typeInto(find().edit(CFindDlg::kTextId), QStringLiteral("がんま"));
        pressNext();
        QCOMPARE(shown(), 900);
        pressNext();
        QCOMPARE(shown(), 30);
        // Main dialog's F3 and Shift+F3 use the same search.
        units()->setFocus();
        QTest::keyClick(units(), Qt::Key_F3);
        QCOMPARE(shown(), 900);
        QTest::keyClick(units(), Qt::Key_F3, Qt::ShiftModifier);
        QCOMPARE(shown(), 30);
    }

    void noMatchIsToldInTheWindowAndMovesNothing()
    {
        fixture::clickListRow(units(), 44);
        openAndType(QStringLiteral("存在しない兵器"));
        pressNext();
        QCOMPARE(shown(), 44);
        QCOMPARE(find().outcome(), QStringLiteral("「存在しない兵器」は見つかりません"));
        QVERIFY(MessageService::instance().takeShown().empty());

        fixture::typeInto(find().edit(CFindDlg::kTextId), QString());
        pressNext();
        QCOMPARE(find().outcome(), QStringLiteral("検索する文字列を入力してください"));
        QCOMPARE(shown(), 44);

        // Escape hides the window; F3 with a text finds without it.
        QTest::keyClick(find().edit(CFindDlg::kTextId), Qt::Key_Escape);
        QVERIFY(!find().isVisible());
        QVERIFY(m_dialog->isVisible());
        find().edit(CFindDlg::kTextId)->setText(QStringLiteral("ぜろぜろ"));
        m_dialog->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), m_dialog.get());
        units()->setFocus();
        QTest::keyClick(units(), Qt::Key_F3);
        QCOMPARE(shown(), 50);
    }

    // F3 with the window closed brings it up, beside the main dialog and without the focus, for
    // what it has to tell; a long text is shortened to fit the line; a number search for the unit
    // on show does not go round; undo reaches the main dialog from the window.
    void outcomeIsSeenAndFitsWithTheWindowClosed()
    {
        openAndType(QStringLiteral("存在しない兵器の名前はとても長いのでこの行には入りきらない"));
        QTest::keyClick(find().edit(CFindDlg::kTextId), Qt::Key_Escape);
        m_dialog->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), m_dialog.get());
        units()->setFocus();
        QTest::keyClick(units(), Qt::Key_F3);
        QVERIFY(find().isVisible());
        QCOMPARE(QApplication::focusWidget(), units());
        QVERIFY(!find().frameGeometry().intersects(m_dialog->frameGeometry()));
        auto* line = qobject_cast<QLabel*>(find().control(CFindDlg::kOutcomeId));
        QVERIFY(line->fontMetrics().horizontalAdvance(line->text()) <= line->width());
        QVERIFY(line->text().endsWith(QStringLiteral("」は見つかりません")));
        QCOMPARE(find().outcome(), QStringLiteral("「存在しない兵器の名前はとても長いのでこの行には入りきらない」は見つかりません"));

        fixture::clickListRow(units(), 12);
        find().button(CFindDlg::kByNumberId)->click();
        fixture::typeInto(find().edit(CFindDlg::kTextId), QStringLiteral("12"));
        pressNext();
        QCOMPARE(shown(), 12);
        QCOMPARE(find().outcome(), QString());

        fixture::typeInto(m_dialog->edit(form::kDurability), QStringLiteral("3"));
        QTest::mouseClick(m_dialog->button(form::kApply), Qt::LeftButton);
        find().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&find()));
        QTest::keyClick(find().button(CFindDlg::kByNumberId), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(int(m_dialog->unitTable().record(12).durability()), int(m_game->demoTable().record(12).durability()));
    }

    void f3BeforeAnySearchOpensTheWindow()
    {
        units()->setFocus();
        QTest::keyClick(units(), Qt::Key_F3);
        QVERIFY(m_dialog->findDialog() && find().isVisible());
        QCOMPARE(find().outcome(), QString());
        QCOMPARE(shown(), 1);
    }

    void renderFindWindow()
    {
        openAndType(QStringLiteral("存在しない兵器の名前はとても長いのでこの行には入りきらない"));
        pressNext();
        const QString out = qEnvironmentVariable("CORVANE_RENDER_DIR");
        if (!out.isEmpty())
            QVERIFY(guitest::renderToPng(&find(), out + QStringLiteral("/find-window.png")));
    }
};

QTEST_MAIN(FindDlgTest)
#include "FindDlgTest.moc"
