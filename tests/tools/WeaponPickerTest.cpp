// The weapon picker on its own, and run from the six slot lines of the main dialog (a double click
// on a slot list), on a game folder whose weapon table is made up for the test.

#include "support/GuiTest.h"
#include "tools/ToolTestSupport.h"
#include "tools/ToolIds.h"

#include "editor/MainDialogFixture.h"
#include "editor/UnitFormIds.h"
#include "app/SettingsStore.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/MessageService.h"
#include "res/Strings.h"
#include "tools/WeaponDlg.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

// The main dialog on a demo game folder with the made-up weapon table, seen through its slot lines.
class SlotForm {
public:
    explicit SlotForm(const WeaponTable& weapons) : m_folder(filesWith(weapons))
    {
        fixture::pointSettingsAt(m_folder);
        dialog = fixture::openDialog();
        unit = dialog->currentUnit();
    }

    // Shows the unit with weapon w in slot k.
    void showSlot(int slot, int weapon)
    {
        dialog->unitTable().record(unit).setWeapon(slot, std::uint16_t(weapon));
        dialog->ShowUnit(unit);
    }
    // A double click on slot list k runs the picker.
    void pick(int slot) { dialog->dispatch(Notify::DoubleClick, form::kSlotListFirst + slot); }
    QListWidget* list(int slot) const { return dialog->list(form::kSlotListFirst + slot); }
    QLineEdit* edit(int id) const { return dialog->edit(id); }
    QString box(int id) const { return dialog->edit(id)->text(); }
    QString slotText(int slot) const { return lb::text(list(slot), 0); }
    int slotWeapon(int slot) const { return lb::itemData(list(slot), 0); }
    // The fourteen value boxes of slot line k: ten attack values, then 力 数 填 射.
    static std::vector<int> boxes(int slot)
    {
        std::vector<int> ids;
        for (int i = 0; i < 10; ++i)
            ids.push_back(form::kSlotAttackFirst[slot] + i);
        for (int id : form::kSlotValues[slot])
            ids.push_back(id);
        return ids;
    }

    std::unique_ptr<CMainDialog> dialog;
    int unit = 0;

private:
    static GameFolderFiles filesWith(const WeaponTable& weapons)
    {
        GameFolderFiles files = MakeDemoGameFiles();
        files.weapons.assign(weapons.image().begin(), weapons.image().end());
        return files;
    }

    fixture::GameFolder m_folder;
};

// What the picker showed when it opened.
struct PickerView {
    int selectedRow = -2;
    QString selectedText;
    QStringList boxes;  // 1253..1266, 1269
    QPoint position;
};

PickerView Look(CWeaponDlg& picker)
{
    PickerView view;
    QListWidget* weapons = picker.list(tool::kWeaponList);
    view.selectedRow = lb::curSel(weapons);
    view.selectedText = view.selectedRow >= 0 ? lb::text(weapons, view.selectedRow) : QString();
    for (int id = 1253; id <= 1266; ++id)
        view.boxes << picker.edit(id)->text();
    view.boxes << picker.edit(tool::kWeaponSeparation)->text();
    view.position = picker.frameGeometry().topLeft();
    return view;
}

QStringList Repeat(const QString& text, int n)
{
    QStringList list;
    for (int i = 0; i < n; ++i)
        list << text;
    return list;
}

}  // namespace

class WeaponPickerTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { guitest::init(); }
    void init()
    {
        guitest::resetSettings();
        m_weapons = tooltest::MakeWeapons();
    }

    void emptySlotShowsNothingAndPickerOpensThere()
    {
        SlotForm form(*m_weapons);
        form.showSlot(0, 0);
        QCOMPARE(form.slotText(0), QStringLiteral("nothing"));
        QCOMPARE(form.slotWeapon(0), 0);
        for (int id : SlotForm::boxes(0))
            QCOMPARE(form.box(id), QStringLiteral("0"));

        PickerView view;
        tooltest::OnNextModal<CWeaponDlg>([&](CWeaponDlg& picker) {
            view = Look(picker);
            QTest::mouseClick(picker.button(2), Qt::LeftButton);
        });
        form.pick(0);
        QCOMPARE(view.selectedRow, 0);
        QCOMPARE(view.selectedText, QStringLiteral("000:nothing"));
        QCOMPARE(view.boxes, Repeat(QStringLiteral("0"), 15));
    }

    void pickerListsEveryWeaponWithItsNumber()
    {
        CWeaponDlg picker;
        picker.setWeaponTable(m_weapons.get());
        picker.currentWeapon = 472;
        QListWidget* weapons = picker.list(tool::kWeaponList);
        tooltest::OnNextModal<CWeaponDlg>([&](CWeaponDlg& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); });
        QCOMPARE(picker.DoModal(), int(QDialog::Rejected));
        QCOMPARE(lb::count(weapons), 473);
        QCOMPARE(lb::text(weapons, 7), QStringLiteral("007:兵器7"));
        QCOMPARE(lb::itemData(weapons, 472), 472);
        QCOMPARE(lb::curSel(weapons), 472);
    }

    void choosingAnotherWeaponChangesOnlyThatLine()
    {
        SlotForm form(*m_weapons);
        for (int k = 0; k < 6; ++k)
            form.showSlot(k, 10 + k);
        // Typed and not applied: must survive the pick in another line.
        form.edit(SlotForm::boxes(2)[0])->setText(QStringLiteral("77"));
        form.edit(1078)->setText(QStringLiteral("88"));
        QStringList before;
        for (int k = 0; k < 6; ++k)
            for (int id : SlotForm::boxes(k))
                before << form.box(id);

        PickerView opened, afterClick;
        tooltest::OnNextModal<CWeaponDlg>([&](CWeaponDlg& picker) {
            opened = Look(picker);
            tooltest::ClickRow(picker.list(tool::kWeaponList), 5);
            afterClick = Look(picker);
            QTest::mouseClick(picker.button(1), Qt::LeftButton);
        });
        form.pick(3);

        QCOMPARE(opened.selectedRow, 13);
        QCOMPARE(opened.boxes.first(), QStringLiteral("13"));
        QCOMPARE(afterClick.selectedText, QStringLiteral("005:兵器5"));
        QCOMPARE(afterClick.boxes, (QStringList{"5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "6", "7", "8", "9", "1"}));

        QCOMPARE(form.slotText(3), QStringLiteral("兵器5"));
        QCOMPARE(form.slotWeapon(3), 5);
        QStringList after;
        for (int k = 0; k < 6; ++k)
            for (int id : SlotForm::boxes(k))
                after << form.box(id);
        for (int i = 0; i < after.size(); ++i) {
            if (i / 14 == 3)
                continue;
            QCOMPARE(after[i], before[i]);
        }
        QCOMPARE(after.mid(3 * 14, 14), (QStringList{"5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "6", "7", "8", "9"}));
        QCOMPARE(form.box(SlotForm::boxes(2)[0]), QStringLiteral("77"));
        QCOMPARE(form.box(1078), QStringLiteral("88"));
        for (int k = 0; k < 6; ++k)
            if (k != 3)
                QCOMPARE(form.slotWeapon(k), 10 + k);
    }

    void boxThatIsNoNumberStopsTheTakingBack()
    {
        SlotForm form(*m_weapons);
        for (int k = 0; k < 6; ++k)
            form.showSlot(k, 50 + k);
        form.edit(1057)->setText(QStringLiteral("66"));   // before the bad box: kept
        form.edit(1082)->setText(QStringLiteral("abc"));  // the bad box
        form.edit(1127)->setText(QStringLiteral("77"));   // after it: lost on OK

        // Cancel: the message, and every box keeps what was typed.
        tooltest::OnNextModal<CWeaponDlg>([](CWeaponDlg& picker) { QTest::mouseClick(picker.button(2), Qt::LeftButton); });
        form.pick(3);
        auto shown = MessageService::instance().takeShown();
        QCOMPARE(shown.size(), size_t(1));
        QCOMPARE(shown[0].text, QString::fromUtf8(str::kParseInt));
        QCOMPARE(form.box(1082), QStringLiteral("abc"));
        QCOMPARE(form.box(1127), QStringLiteral("77"));

        // OK: the boxes from the bad one on show their fields again; the picked line its weapon.
        tooltest::OnNextModal<CWeaponDlg>([](CWeaponDlg& picker) {
            tooltest::ClickRow(picker.list(tool::kWeaponList), 5);
            QTest::mouseClick(picker.button(1), Qt::LeftButton);
        });
        form.pick(3);
        QCOMPARE(MessageService::instance().takeShown().size(), size_t(1));
        QCOMPARE(form.box(1057), QStringLiteral("66"));
        QCOMPARE(form.box(1082), QStringLiteral("51"));
        QCOMPARE(form.box(1127), QStringLiteral("54"));
        QCOMPARE(form.box(SlotForm::boxes(3)[0]), QStringLiteral("5"));
        QCOMPARE(form.slotText(3), QStringLiteral("兵器5"));
    }

    void cancelChangesNothing()
    {
        SlotForm form(*m_weapons);
        for (int k = 0; k < 6; ++k)
            form.showSlot(k, 20 + k);
        form.edit(SlotForm::boxes(4)[3])->setText(QStringLiteral("123"));
        tooltest::OnNextModal<CWeaponDlg>([&](CWeaponDlg& picker) {
            tooltest::ClickRow(picker.list(tool::kWeaponList), 2);
            QTest::mouseClick(picker.button(2), Qt::LeftButton);
        });
        form.pick(4);
        QCOMPARE(form.slotWeapon(4), 24);
        QCOMPARE(form.slotText(4), QStringLiteral("兵器24"));
        QCOMPARE(form.box(SlotForm::boxes(4)[3]), QStringLiteral("123"));

        // The close box and Escape cancel the same way.
        tooltest::OnNextModal<CWeaponDlg>([&](CWeaponDlg& picker) {
            tooltest::ClickRow(picker.list(tool::kWeaponList), 2);
            picker.close();
        });
        form.pick(4);
        QCOMPARE(form.slotWeapon(4), 24);
    }

    void okWithoutMovingRefreshesTheLine()
    {
        SlotForm form(*m_weapons);
        form.showSlot(0, 30);
        form.edit(SlotForm::boxes(0)[0])->setText(QStringLiteral("999"));
        tooltest::OnNextModal<CWeaponDlg>([&](CWeaponDlg& picker) { QTest::mouseClick(picker.button(1), Qt::LeftButton); });
        form.pick(0);
        QCOMPARE(form.slotWeapon(0), 30);
        QCOMPARE(form.box(SlotForm::boxes(0)[0]), QStringLiteral("30"));
    }

    void choosingNothingEmptiesTheSlot()
    {
        SlotForm form(*m_weapons);
        form.showSlot(5, 40);
        tooltest::OnNextModal<CWeaponDlg>([&](CWeaponDlg& picker) {
            tooltest::ClickRow(picker.list(tool::kWeaponList), 0);
            QTest::mouseClick(picker.button(1), Qt::LeftButton);
        });
        form.pick(5);
        QCOMPARE(form.slotText(5), QStringLiteral("nothing"));
        QCOMPARE(form.slotWeapon(5), 0);
        for (int id : SlotForm::boxes(5))
            QCOMPARE(form.box(id), QStringLiteral("0"));
    }

    void weaponWithoutTableEntry()
    {
        SlotForm form(*m_weapons);
        form.showSlot(1, 600);
        QCOMPARE(form.slotText(1), QStringLiteral("不明600"));
        for (int id : SlotForm::boxes(1))
            QCOMPARE(form.box(id), QStringLiteral("0"));

        PickerView view;
        tooltest::OnNextModal<CWeaponDlg>([&](CWeaponDlg& picker) {
            view = Look(picker);
            QTest::mouseClick(picker.button(1), Qt::LeftButton);
        });
        form.pick(1);
        QCOMPARE(view.selectedRow, -1);
        QCOMPARE(view.boxes, Repeat(QStringLiteral("0"), 15));
        QCOMPARE(form.slotWeapon(1), 600);
        QCOMPARE(form.slotText(1), QStringLiteral("不明600"));
    }

    void fullLengthNamesShowWhole()
    {
        std::uint8_t* entry = m_weapons->image().data() + kTableHeadSize + WeaponTable::kEntrySize * 6;
        std::memcpy(entry, "ABCDEFGHIJKLMNOP", 16);  // weapon 7, no terminator
        entry[16] = 'X';                             // bytes after the name are not part of it
        SlotForm form(*m_weapons);
        form.showSlot(2, 7);
        QCOMPARE(form.slotText(2), QStringLiteral("ABCDEFGHIJKLMNOP"));

        PickerView view;
        tooltest::OnNextModal<CWeaponDlg>([&](CWeaponDlg& picker) {
            view = Look(picker);
            QTest::mouseClick(picker.button(2), Qt::LeftButton);
        });
        form.pick(2);
        QCOMPARE(view.selectedText, QStringLiteral("007:ABCDEFGHIJKLMNOP"));
    }

    void separationUnitShowsOneLess()
    {
        CWeaponDlg picker;
        picker.setWeaponTable(m_weapons.get());
        picker.currentWeapon = 3;  // separation 0
        QStringList shown;
        tooltest::OnNextModal<CWeaponDlg>([&](CWeaponDlg& dialog) {
            QListWidget* weapons = dialog.list(tool::kWeaponList);
            shown << dialog.edit(tool::kWeaponSeparation)->text();
            for (int row : {4, 5}) {  // separation 1 and 2
                tooltest::ClickRow(weapons, row);
                shown << dialog.edit(tool::kWeaponSeparation)->text();
            }
            QTest::mouseClick(dialog.button(1), Qt::LeftButton);
        });
        QCOMPARE(picker.DoModal(), int(QDialog::Accepted));
        QCOMPARE(shown, (QStringList{"0", "0", "1"}));
        QCOMPARE(picker.currentWeapon, 5);
    }

    void pickerBoxesRefuseNonIntegers()
    {
        CWeaponDlg picker;
        picker.setWeaponTable(m_weapons.get());
        picker.currentWeapon = 9;
        bool stayedOpen = false;
        std::vector<MessageService::Shown> shown;
        tooltest::OnNextModal<CWeaponDlg>([&](CWeaponDlg& dialog) {
            dialog.edit(tool::kWeaponSeparation)->setText(QStringLiteral("40000"));
            QTest::mouseClick(dialog.button(1), Qt::LeftButton);
            stayedOpen = dialog.isVisible();
            shown = MessageService::instance().takeShown();
            QTest::mouseClick(dialog.button(2), Qt::LeftButton);
        });
        QCOMPARE(picker.DoModal(), int(QDialog::Rejected));
        QVERIFY(stayedOpen);
        QCOMPARE(shown.size(), size_t(1));
        QCOMPARE(shown[0].text, QString::fromUtf8(str::kParseInt));
    }

    void positionIsRestoredAndSaved()
    {
        WriteSettingInt(kInitData, QStringLiteral("WeaponDlgLeft"), 150);
        WriteSettingInt(kInitData, QStringLiteral("WeaponDlgTop"), 120);
        WriteSettingInt(kInitData, QStringLiteral("WeaponDlgRight"), 9999);  // never read
        CWeaponDlg picker;
        picker.setWeaponTable(m_weapons.get());
        PickerView view;
        QSize size;
        tooltest::OnNextModal<CWeaponDlg>([&](CWeaponDlg& dialog) {
            view = Look(dialog);
            size = dialog.geometry().size();
            dialog.move(200, 180);  // the user moves it
            QTest::mouseClick(dialog.button(2), Qt::LeftButton);
        });
        picker.DoModal();
        QCOMPARE(view.position, QPoint(150, 120));
        // The template's size (wider only where the font needs it), never the stored edges'.
        QCOMPARE(size.height(), picker.dialogRect(0, 0, 229, 95).height());
        QVERIFY(size.width() >= picker.dialogRect(0, 0, 229, 95).width());
        QCOMPARE(ReadSettingInt(kInitData, QStringLiteral("WeaponDlgLeft"), -1), 200);
        QCOMPARE(ReadSettingInt(kInitData, QStringLiteral("WeaponDlgTop"), -1), 180);
        QCOMPARE(ReadSettingInt(kInitData, QStringLiteral("WeaponDlgRight"), -1), 200 + picker.frameGeometry().width());
        QCOMPARE(ReadSettingInt(kInitData, QStringLiteral("WeaponDlgBottom"), -1), 180 + picker.frameGeometry().height());
    }

    void firstOpeningIsOverTheOwner()
    {
        SlotForm form(*m_weapons);
        QRect pickerRect;
        tooltest::OnNextModal<CWeaponDlg>([&](CWeaponDlg& picker) {
            pickerRect = picker.frameGeometry();
            QTest::mouseClick(picker.button(2), Qt::LeftButton);
        });
        form.pick(0);
        QVERIFY(form.dialog->frameGeometry().contains(pickerRect.center()));
        QVERIFY(ReadSettingInt(kInitData, QStringLiteral("WeaponDlgTop"), -1) >= 0);
    }

private:
    std::unique_ptr<WeaponTable> m_weapons;
};

QTEST_MAIN(WeaponPickerTest)
#include "WeaponPickerTest.moc"
