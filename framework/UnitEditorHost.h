#pragma once
// What the unit commands (clone, export, the imports) need from the main dialog: the table, the
// current unit, the unit list and the form. CMainDialog implements it; tests may fake it.

#include "data/UnitChange.h"

#include <QString>

class QWidget;
class UnitTable;

class UnitEditorHost {
public:
    virtual ~UnitEditorHost() = default;
    virtual UnitTable& unitTable() = 0;
    virtual bool isDataLoaded() const = 0;
    // The unit of the selected unit-list entry, or -1 when none is selected.
    virtual int currentUnit() const = 0;
    // Rebuilds list entry u from the table (list text and item data), without selecting it.
    virtual void RefreshUnitListEntry(int unitNumber) = 0;
    // Selects list entry u (not a user selection change: nothing else happens).
    virtual void selectUnitInList(int unitNumber) = 0;
    // Puts unit u into the form, the tool windows and the picture, discarding pending edits.
    virtual void ShowUnit(int unitNumber) = 0;
    // The save direction of the form's field exchange (a refused box shows its message).
    virtual bool saveFormFields() = 0;
    // Records one undo step for a command that has just changed these units' records in the table
    // (before bytes -> after bytes, in the order it changed them); `stepText` names the change in
    // the Edit menu ("0012の適用"). A command that changed no byte adds no step.
    virtual void recordUnitChanges(UnitChanges changes, const QString& stepText) = 0;
    // The game folder text and the window that owns modal dialogs.
    virtual QString gameFolder() const = 0;
    virtual QWidget* window() = 0;
};
