#pragma once
// The clone command of the main dialog: copies the current unit's stored record over a unit the
// user picks, after checks and a confirmation, and moves to the copy.

class UnitEditorHost;

void CloneUnit(UnitEditorHost& host);
