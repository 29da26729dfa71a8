#pragma once
// The six weapon-slot lines of the main dialog. Slot list 1251 + k
// holds one item (the weapon's name, item data the weapon number), followed by fourteen boxes with
// the weapon's values. These functions work on the dialog's controls by id, for its handlers.

#include "data/ReferenceTables.h"

#include <array>
#include <functional>

class CDialog;

// The fourteen value boxes of slot line k: ten attack values (高 … 設), then 力 数 填 射.
std::array<int, 14> SlotValueBoxIds(int slot);

struct SlotFieldValue {
    int controlId;
    int value;
};
// The values a slot line shows for a weapon entry, box by box.
std::array<SlotFieldValue, 14> SlotLineValues(int slot, const WeaponEntry& entry);

// The weapon number held by slot k (item data of its only item); 0 when the list is empty.
int SlotWeapon(const CDialog& dialog, int slot);
// Puts a weapon into slot list k: one item, the entry's name ("nothing" for 0), item data the number.
void SetSlotWeapon(CDialog& dialog, int slot, int weaponNumber, const WeaponTable& weapons);
// The slot list lost the focus: its item is shown unselected.
void ClearSlotSelection(CDialog& dialog, int slot);

// Puts a weapon into slot line k the way showing a unit does: the slot list's item and the line's
// fourteen field values (the values the dialog's field exchange shows in those boxes).
using PutSlotWeapon = std::function<void(int weaponNumber)>;

// Double click on slot list k: takes the dialog's boxes back (whatever the outcome), runs the weapon
// picker over the dialog starting at the slot's weapon, and on OK puts the chosen weapon into the
// slot line, then shows all of the dialog's fields. putWeapon does the putting when given; without
// it the slot list is set here and, after the display, the line's boxes are written directly.
// Returns true when OK was chosen.
bool PickWeaponForSlot(CDialog& dialog, int slot, const WeaponTable& weapons, const PutSlotWeapon& putWeapon = {});
