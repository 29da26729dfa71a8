#pragma once
// The command that writes the changed units as a pack: one .sui file a unit and a .cmd list that the
// bulk import reads, in a folder the user chooses (remembered in UnitPackSaveDir).

#include "exchange/PackDlg.h"

#include <vector>

class UnitEditorHost;

// Compares the host's table with `bases` (the backup, the compare window's table; at least one), lets
// the user confirm the units and choose the list's place, asks before replacing files, and writes.
// `initial` is the base chosen at first.
void PackChangedUnits(UnitEditorHost& host, std::vector<PackBase> bases, int initial);
