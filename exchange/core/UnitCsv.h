#pragma once
// The whole unit table as CSV, for spreadsheets: one header row, then one row per unit in unit order.
// Columns: "番号" (the unit number), then every field of the catalogue under its label, numbers as the
// form shows them. Beside "兵種" and each "兵装k" a column with the kind's or weapon's name, which
// reading ignores. Written as UTF-8 with a byte-order mark, CRLF line ends, quoted as RFC 4180 does.
//
// Reading takes that, or code page 932 without a mark (what Japanese Excel saves). Only the units whose
// rows are present change, matched by "番号"; columns may come in any order and any may be left out
// (those bytes keep their value), but every column must be known. Every cell is checked first: with any
// error nothing is to be changed, and every error is reported.
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/ReferenceTables.h"
#include "data/UnitFields.h"
#include "data/UnitTable.h"

inline constexpr char kCsvUnitNumberColumn[] = "番号";
inline constexpr char kCsvKindNameColumn[] = "兵種名";

// "兵装k 武器名", k = 1..6.
std::string CsvWeaponNameColumn(int slot);

// The CSV file of the whole table.
std::string WriteUnitCsv(const UnitTable& table, const WeaponTable& weapons, const KindTable& kinds,
                         const std::vector<UnitField>& fields);

struct UnitCsvError {
    int row = 0;          // 1 = header row
    int unit = -1;        // the row's unit number once known, else -1
    std::string column;   // the column's label, empty for the row as a whole
    std::string message;  // UTF-8
};

// "行 12 (0010), 列「価格」: …"; without unit or column the parts are left out.
std::string FormatCsvError(const UnitCsvError& error);
// The first `limit` errors, one per line, and a last line counting the rest.
std::string CsvErrorReport(const std::vector<UnitCsvError>& errors, std::size_t limit);

struct UnitCsvChanges {
    std::vector<int> units;            // in row order
    std::vector<UnitRecord> records;   // the new record of each
    std::vector<UnitCsvError> errors;  // empty when the file can be applied
};

// Checks a CSV file's bytes against the table, changing nothing.
UnitCsvChanges ReadUnitCsv(std::string_view fileBytes, const UnitTable& table, const std::vector<UnitField>& fields);

// Puts checked changes into the table; returns the number of units read.
int ApplyUnitCsv(const UnitCsvChanges& changes, UnitTable& table);

// The bytes of a whole file; std::nullopt when it cannot be opened or read (err says why: errno).
std::optional<std::string> ReadWholeFile(const std::filesystem::path& file, int& err);
