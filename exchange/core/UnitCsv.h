#pragma once
// The whole unit table as CSV, for spreadsheets: one header row, then one row per unit in unit order.
// Columns: "番号" (the unit number), then every field of the catalogue under its label, numbers as the
// form shows them. Beside "兵種" and each "兵装k" a column with the kind's or weapon's name, which
// reading ignores. Written as UTF-8 with a byte-order mark, CRLF line ends, quoted as RFC 4180 does.
//
// The name column is quoted throughout, so that spreadsheets can keep names as text.
//
// Reading takes that, or code page 932 without a mark (what Japanese Excel saves). Only the units whose
// rows are present change, matched by "番号"; columns may come in any order and any may be left out
// (those bytes keep their value), but every column must be known. Every cell is checked first: with any
// error nothing is to be changed, and every error is reported (the first thousand).
#include <cstddef>
#include <cstdint>
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

// The largest file read as a CSV of the table. The widest table there can be (every name escaped,
// every number at its longest, every reference name three bytes a character) writes 1.1 MB, and a
// spreadsheet that quotes every cell adds under half a megabyte: anything far larger is no such file.
inline constexpr std::uintmax_t kLargestUnitCsv = 16u << 20;

// Why a file of `size` bytes is not read: "<path> は 100 MB あり、…".
std::string CsvTooLargeText(std::string_view path, std::uintmax_t size);
