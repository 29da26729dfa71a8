#pragma once
// The field catalogue: every bit of the 138-byte unit record in exactly one named field, with the
// label the form and the tool windows give it, its place and width, and the way the form shows it.
// The CSV exchange, the command-line tool and the compare window all name fields through it.
//
// A field is `width` bytes at `offset`, read little-endian; `mask` picks its bits out of that value
// (all of them for a plain number). Check boxes (搭乗, 補給, the 32 producing countries) are fields of
// one bit each. Bits no control shows get a field named by their offset.
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/UnitRecord.h"

enum class FieldShow {
    Name,        // the name box: code page 932 text (written in escaped form where it is not clean text)
    Number,      // a number box: unsigned decimal
    Signed,      // a number box: the bits read as a two's-complement integer (価格, data03)
    Choice,      // a combo (兵種, 部隊高度, 防御タイプ, 搭載): the stored number
    Weapon,      // a weapon slot: the weapon number
    Check,       // a check box: 0 or 1
    TargetUnit,  // 変形 ユニット: the target's unit number, the stored value minus 1 (-1: none)
    Unshown,     // bits no control shows, as an unsigned number
};

struct UnitField {
    std::string label;   // UTF-8, unique within the catalogue
    std::size_t offset;  // first byte in the record
    std::size_t width;   // bytes: 1, 2, 4, or 24 for the name
    std::uint32_t mask;  // bits of the little-endian value that belong to the field
    FieldShow show;
};

inline constexpr int kProductionTypeCount = 32;
inline constexpr std::size_t kProductionFlagsOffset = 110;
using ProductionTypeNames = std::array<std::string, kProductionTypeCount>;  // UTF-8

// The captions the producing-countries window has when prokind.dat cannot be read.
const ProductionTypeNames& DefaultProductionTypeNames();

// The names of prokind.dat in the game folder (code page 932 made UTF-8); the default caption for any
// entry the file does not hold, and for all of them when it cannot be read.
ProductionTypeNames ReadProductionTypeNames(std::string_view folderText);

// The same for a caller that must not take an unreadable prokind.dat for a missing one: the default
// captions stand in only when the file does not exist. Empty, with err (errno) and file (the path
// read) set, when it exists but cannot be opened or read.
std::optional<ProductionTypeNames> ReadProductionTypeNames(std::string_view folderText, int& err,
                                                           std::filesystem::path& file);

// The labels of the production types: "生産可能国: " and the name; a name that is empty or shared with
// another type gets " (k)" added, and so does one whose label would equal such a numbered label, so that
// every label is unique whatever prokind.dat holds.
std::array<std::string, kProductionTypeCount> ProductionTypeLabels(const ProductionTypeNames& names);

// All fields in record order (production types in type order), covering every bit exactly once.
std::vector<UnitField> MakeUnitFields(const ProductionTypeNames& names);

// The field with this label, or nullptr.
const UnitField* FindUnitField(const std::vector<UnitField>& fields, std::string_view label);

// Numbers (every field but the name): the value as shown, and its allowed range.
std::int64_t FieldValue(const UnitField& field, const UnitRecord& record);
std::int64_t FieldMin(const UnitField& field);
std::int64_t FieldMax(const UnitField& field);
// Stores a value within [FieldMin, FieldMax]; the field's bits change, no others.
void SetFieldValue(const UnitField& field, UnitRecord& record, std::int64_t value);

// The field as text (UTF-8): the escaped name, or the value in decimal.
std::string FieldText(const UnitField& field, const UnitRecord& record);
// Takes text in that form back into the record. On bad text the record is untouched and error says
// why (UTF-8, Japanese); blanks around a number are allowed.
bool SetFieldText(const UnitField& field, UnitRecord& record, std::string_view text, std::string& error);

// The name's 24 bytes as text. Clean names (code page 932 text, nothing after the terminator) come out
// as they are, with a backslash doubled; any other byte is written \xHH, and bytes after the
// terminator follow a \x00. Reading it back gives the same 24 bytes.
std::string NameCellText(const UnitRecord& record);
// The 24 name bytes of such a text; false with a message when it does not fit or holds a character
// code page 932 lacks or a bad escape.
bool ParseNameCell(std::string_view text, std::array<std::uint8_t, kUnitNameSize>& bytes, std::string& error);
