#include "tools/WeaponSlots.h"

#include "editor/UnitFormIds.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "tools/WeaponDlg.h"

#include <QLineEdit>
#include <QListWidget>

namespace {

using form::kSlotCount;
constexpr int kFirstSlotList = form::kSlotListFirst;
constexpr const auto& kFirstAttackBox = form::kSlotAttackFirst;
constexpr const auto& kValueBoxes = form::kSlotValues;

bool validSlot(int slot) { return slot >= 0 && slot < kSlotCount; }

}  // namespace

std::array<int, 14> SlotValueBoxIds(int slot)
{
    std::array<int, 14> ids{};
    if (!validSlot(slot))
        return ids;
    for (int i = 0; i < 10; ++i)
        ids[i] = kFirstAttackBox[slot] + i;
    for (int i = 0; i < 4; ++i)
        ids[10 + i] = kValueBoxes[slot][i];
    return ids;
}

std::array<SlotFieldValue, 14> SlotLineValues(int slot, const WeaponEntry& entry)
{
    const std::array<int, 14> ids = SlotValueBoxIds(slot);
    std::array<SlotFieldValue, 14> values{};
    for (int i = 0; i < 10; ++i)
        values[i] = {ids[i], entry.attack(i)};
    values[10] = {ids[10], entry.power()};
    values[11] = {ids[11], entry.shots()};
    values[12] = {ids[12], entry.reload()};
    values[13] = {ids[13], entry.range()};
    return values;
}

int SlotWeapon(const CDialog& dialog, int slot)
{
    const QListWidget* slotList = validSlot(slot) ? dialog.list(kFirstSlotList + slot) : nullptr;
    return slotList && lb::count(slotList) > 0 ? lb::itemData(slotList, 0) : 0;
}

void SetSlotWeapon(CDialog& dialog, int slot, int weaponNumber, const WeaponTable& weapons)
{
    QListWidget* slotList = validSlot(slot) ? dialog.list(kFirstSlotList + slot) : nullptr;
    if (!slotList)
        return;
    lb::reset(slotList);
    lb::insert(slotList, 0, FromCp932(weapons.entry(weaponNumber).nameText()), weaponNumber);
}

void ClearSlotSelection(CDialog& dialog, int slot)
{
    if (QListWidget* slotList = validSlot(slot) ? dialog.list(kFirstSlotList + slot) : nullptr)
        lb::setCurSel(slotList, -1);
}

bool PickWeaponForSlot(CDialog& dialog, int slot, const WeaponTable& weapons, const PutSlotWeapon& putWeapon)
{
    if (!validSlot(slot))
        return false;
    CWeaponDlg picker(&dialog);
    // Edits made elsewhere in the form and not yet applied survive the display at the end.
    dialog.UpdateData(true);
    picker.setWeaponTable(&weapons);
    picker.currentWeapon = SlotWeapon(dialog, slot);
    if (picker.DoModal() != QDialog::Accepted)
        return false;

    const int chosen = picker.currentWeapon;
    if (putWeapon) {
        putWeapon(chosen);
        dialog.UpdateData(false);
        return true;
    }
    SetSlotWeapon(dialog, slot, chosen, weapons);
    dialog.UpdateData(false);
    for (const SlotFieldValue& field : SlotLineValues(slot, weapons.entry(chosen)))
        if (QLineEdit* box = dialog.edit(field.controlId))
            box->setText(QString::number(field.value));
    return true;
}
