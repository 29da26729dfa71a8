// The main dialog's keys, pressed on the real widgets: the File menu's mnemonics, undo and redo
// keys in the edit boxes of the form and the tool windows, and undo with edits not yet applied.
// Also run on the X11 platform (under Xvfb), whose key scheme gives Ctrl+Y no meaning in an edit.

#include "support/GuiTest.h"

#include "MainDialogFixture.h"
#include "editor/UnitFormIds.h"
#include "framework/MessageService.h"
#include "res/Resources.h"
#include "tools/EtcDlg.h"
#include "tools/ToolIds.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {

MessageService& messages() { return MessageService::instance(); }

// The mnemonic letter of a menu text ("終了(&E)" gives 'E'), or 0.
QChar mnemonic(const QString& text)
{
    const qsizetype amp = text.indexOf(u'&');
    return amp >= 0 && amp + 1 < text.size() ? text[amp + 1].toUpper() : QChar();
}

CEtcDlg* etcWindow(CMainDialog& dialog) { return dialog.findChild<CEtcDlg*>(QString(), Qt::FindDirectChildrenOnly); }

}  // namespace

class EditorKeysTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<fixture::GameFolder> m_game;

    std::unique_ptr<CMainDialog> open()
    {
        fixture::pointSettingsAt(*m_game);
        return fixture::openDialog();
    }
    // Applies a durability for unit u: one step in the history.
    static void applyDurability(CMainDialog& dialog, int unit, int durability)
    {
        fixture::clickListRow(dialog.list(form::kUnitList), unit);
        fixture::typeInto(dialog.edit(form::kDurability), QString::number(durability));
        QTest::mouseClick(dialog.button(form::kApply), Qt::LeftButton);
    }
    static void keyOnList(CMainDialog& dialog, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
    {
        dialog.list(form::kUnitList)->setFocus();
        QTest::keyClick(dialog.list(form::kUnitList), key, modifiers);
    }

private slots:
    void initTestCase()
    {
        guitest::init();
        m_game = std::make_unique<fixture::GameFolder>();
    }
    void init() { guitest::resetSettings(); }

    // Each menu's letters are its own, and an item added beside the original ones takes none of
    // theirs; Alt+F then O exports.
    void everyMenuLetterIsUniqueAndTheOriginalLettersKeepTheirItems()
    {
        const QStringList original{"上書き保存(&S)", "兵器ﾃﾞｰﾀの読み込み(&I)", "兵器ﾃﾞｰﾀの書き出し(&O)", "終了(&E)",
                                   "移動力(&S)", "生産可能国(&P)", "不明ﾃﾞｰﾀ(&E)"};
        for (const MenuPopupTemplate& popup : res::kMenu133.popups) {
            QString letters, originalLetters;
            for (const MenuItemTemplate& item : popup.items)
                if (item.text && original.contains(QString::fromUtf8(item.text)))
                    originalLetters += mnemonic(QString::fromUtf8(item.text));
            for (const MenuItemTemplate& item : popup.items) {
                const QString text = QString::fromUtf8(item.text ? item.text : "");
                const QChar letter = mnemonic(text);
                if (letter.isNull())
                    continue;
                QVERIFY2(!letters.contains(letter), qPrintable(text));
                QVERIFY2(original.contains(text) || !originalLetters.contains(letter), qPrintable(text));
                letters += letter;
            }
        }

        auto dialog = open();
        messages().takeFileRequests();
        QTest::keyClick(dialog.get(), Qt::Key_F, Qt::AltModifier);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QTest::keyClick(menu, Qt::Key_O);  // no file chosen: the export ends there
        const auto requests = messages().takeFileRequests();
        QCOMPARE(requests.size(), size_t(1));
        QVERIFY(requests[0].save);
    }

    // Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z act on an edit box's typing, in the form and in a tool
    // window, and leave the table's history and the other pending edits alone.
    void undoAndRedoKeysInAnEditBoxActOnItsTyping()
    {
        auto dialog = open();
        applyDurability(*dialog, 12, 201);
        const UnitTable applied = dialog->unitTable();
        fixture::typeInto(dialog->edit(form::kCount), QStringLiteral("9"));  // pending, elsewhere
        for (QLineEdit* box : {dialog->edit(form::kPrice), etcWindow(*dialog)->edit(tool::kDataFirst + 3)}) {
            box->window()->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(box->window()));
            const QString shown = box->text();
            box->setFocus();
            box->end(false);
            QTest::keyClicks(box, QStringLiteral("77"));
            QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(box->text(), shown);
            QTest::keyClick(box, Qt::Key_Y, Qt::ControlModifier);
            QCOMPARE(box->text(), shown + QStringLiteral("77"));
            QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
            QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
            QCOMPARE(box->text(), shown + QStringLiteral("77"));
            QVERIFY(std::ranges::equal(dialog->unitTable().image(), applied.image()));
            QCOMPARE(dialog->edit(form::kCount)->text(), QStringLiteral("9"));
            QVERIFY(dialog->history().stack().canUndo() && !dialog->history().stack().canRedo());
        }
    }

    // The first undo drops edits not yet applied, in the form or a tool window, and shows the
    // unit again; the next undoes the table's step. A form that Apply would not change is no edit.
    void undoFirstDropsEditsNotYetApplied()
    {
        auto dialog = open();
        const UnitTable original = dialog->unitTable();
        applyDurability(*dialog, 12, 201);
        const UnitTable applied = dialog->unitTable();
        QLineEdit* data03 = etcWindow(*dialog)->edit(tool::kDataFirst + 3);
        for (QLineEdit* box : {dialog->edit(form::kPrice), data03}) {
            fixture::typeInto(box, QStringLiteral("12345"));
            dialog->activateWindow();
            keyOnList(*dialog, Qt::Key_Z);
            QVERIFY(std::ranges::equal(dialog->unitTable().image(), applied.image()));
            QCOMPARE(box->text(), box == data03 ? QString::number(applied.record(12).data03())
                                                : QString::number(applied.record(12).price()));
        }
        // Typing that Apply would refuse counts too; the undo says nothing about it.
        fixture::typeInto(dialog->edit(form::kCount), QStringLiteral("x"));
        dialog->findChild<QMenuBar*>()->actions()[1]->menu()->popup({});
        QCOMPARE(dialog->menuCommand(form::kCmdUndo)->text(), QStringLiteral("元に戻す(&U) 適用していない変更\tCtrl+Z"));
        QApplication::activePopupWidget()->close();
        keyOnList(*dialog, Qt::Key_Z);
        QVERIFY(messages().takeShown().empty());
        QCOMPARE(dialog->edit(form::kCount)->text(), QString::number(applied.record(12).count()));
        QVERIFY(std::ranges::equal(dialog->unitTable().image(), applied.image()));
        // Retyped as shown: nothing Apply would write.
        fixture::typeInto(dialog->edit(form::kPrice), QString::number(applied.record(12).price()));
        keyOnList(*dialog, Qt::Key_Z);
        QVERIFY(std::ranges::equal(dialog->unitTable().image(), original.image()));
    }
};

QTEST_MAIN(EditorKeysTest)
#include "EditorKeysTest.moc"
