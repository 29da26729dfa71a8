#pragma once
// The CSV commands of the File menu, run by the main dialog. Each does nothing while the host's data
// is not loaded.

class KindTable;
class UnitEditorHost;
class WeaponTable;

// Writes the whole unit table to a CSV file the user names (command 32820).
void ExportUnitCsv(UnitEditorHost& host, const WeaponTable& weapons, const KindTable& kinds);

// Reads a CSV file into the units whose rows it holds, once every cell has been checked, and reports
// how many were read; a file with errors changes nothing and lists them (command 32821).
void ImportUnitCsv(UnitEditorHost& host);
