#pragma once
// The unit exchange file (.sui): one unit record with the number of the unit it belongs to, so that
// whoever reads it puts the unit back at the same place in the table.
//
//   offset  0  u16  tag         always 143
//   offset  2  u16  unitNumber  0..1279
//   offset  4  12   reserved    written as zero, ignored when read
//   offset 16  138  the unit record, byte for byte as in the unit table
//
// All numbers little-endian; 154 bytes in all. A longer file is read as its first 154 bytes.
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>

#include "data/UnitRecord.h"

inline constexpr std::uint16_t kUnitFileTag = 143;
inline constexpr std::size_t kUnitFileHeaderSize = 16;
inline constexpr std::size_t kUnitFileSize = kUnitFileHeaderSize + kUnitRecordSize;  // 154

struct UnitFileHeader {
    std::uint16_t tag = 0;
    std::uint16_t unitNumber = 0;
    std::array<std::uint8_t, 12> reserved{};
};

// The 154 bytes of the file for a unit: tag 143, the unit number, twelve zero bytes, the record.
std::array<std::uint8_t, kUnitFileSize> UnitFileBytes(int unitNumber, const UnitRecord& record);

// Writes the file for a unit. An existing file is replaced only once the new one is complete: the
// bytes go to a new file beside it, which then takes its name and permissions (through a link, beside
// the file the link names). A read-only file is not replaced. False when that failed; the old file,
// if any, is then as it was and nothing else is left behind.
bool WriteUnitFile(const std::filesystem::path& path, int unitNumber, const UnitRecord& record);

// Reads the head and the record of a file. False when the path names no file that can be opened (it
// is missing, a folder, not readable); nothing is then filled in. A file that opens but holds fewer
// than 154 bytes (or cannot be read to its end) is read as far as it goes, the rest zero, with its tag
// cleared: every caller then treats it as a file that is not a usable exchange file.
bool ReadUnitFile(const std::filesystem::path& path, UnitFileHeader& head, UnitRecord& record);

// True when the head says tag 143 and a unit number below 1280; the reserved bytes do not matter.
bool IsUsableUnitFile(const UnitFileHeader& head);
