#pragma once
// The in-memory image of UNITINFO.DAT: a 16-byte head, 1280 unit records and a 99,360-byte tail
// (room for 720 more records). Head and tail are carried unchanged.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "data/UnitRecord.h"

inline constexpr std::size_t kUnitTableHeadSize = 16;
inline constexpr std::size_t kUnitTableTailSize = 99360;
inline constexpr std::size_t kUnitTableSize = 276016;

class UnitTable {
public:
    // Takes the first 276,016 bytes; the caller guarantees at least that many.
    void load(std::span<const std::uint8_t> bytes);
    // All 276,016 bytes, as they go to the file.
    std::span<const std::uint8_t, kUnitTableSize> image() const;
    // The same, for a file to be read straight into.
    std::span<std::uint8_t, kUnitTableSize> imageToFill();

    // Records 0..1279, in place. A number outside that range throws std::out_of_range.
    UnitRecord& record(int unitNumber) { return image_.records.at(Index(unitNumber)); }
    const UnitRecord& record(int unitNumber) const { return image_.records.at(Index(unitNumber)); }

    // File offset of a unit's record.
    static constexpr std::size_t recordOffset(int unitNumber) { return kUnitTableHeadSize + kUnitRecordSize * unitNumber; }

private:
    static std::size_t Index(int unitNumber) { return static_cast<std::size_t>(unitNumber < 0 ? kUnitCount : unitNumber); }

    struct Image {
        std::array<std::uint8_t, kUnitTableHeadSize> head;
        std::array<UnitRecord, kUnitCount> records;
        std::array<std::uint8_t, kUnitTableTailSize> tail;
    };
    static_assert(sizeof(Image) == kUnitTableSize && alignof(Image) == 1);
    static_assert(offsetof(Image, tail) == 176656);

    Image image_{};
};
