#include "data/UnitRecord.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {
constexpr std::size_t kWeaponOffset = 50;
constexpr std::size_t kPatternOffset = 62;

}  // namespace

std::string UnitRecord::nameText() const
{
    const auto* begin = bytes.data();
    const auto* end = std::find(begin, begin + kUnitNameSize, std::uint8_t{0});
    return std::string(begin, end);
}

void UnitRecord::setName(std::string_view cp932Bytes)
{
    const std::size_t n = std::min(cp932Bytes.size(), kUnitNameSize);
    std::fill_n(bytes.begin(), kUnitNameSize, std::uint8_t{0});
    std::memcpy(bytes.data(), cp932Bytes.data(), n);
}

std::uint16_t UnitRecord::weapon(int k) const
{
    return corvane::ReadU16(&bytes[kWeaponOffset + 2 * CheckedIndex(k, kWeaponSlotCount)]);
}

void UnitRecord::setWeapon(int k, std::uint16_t v)
{
    corvane::WriteU16(&bytes[kWeaponOffset + 2 * CheckedIndex(k, kWeaponSlotCount)], v);
}

UnitPattern UnitRecord::pattern(int p) const
{
    UnitPattern result;
    std::memcpy(result.bytes.data(), &bytes[kPatternOffset + kUnitPatternSize * CheckedIndex(p, kUnitPatternCount)], kUnitPatternSize);
    return result;
}

void UnitRecord::setPattern(int p, const UnitPattern& pattern)
{
    std::memcpy(&bytes[kPatternOffset + kUnitPatternSize * CheckedIndex(p, kUnitPatternCount)], pattern.bytes.data(), kUnitPatternSize);
}

std::string UnitListText(int unitNumber, const UnitRecord& record)
{
    // Built by hand: the list makes 1280 of these as the program starts.
    std::string text;
    text.reserve(5 + kUnitNameSize);
    if (unitNumber >= 0 && unitNumber <= 9999) {
        for (int scale : {1000, 100, 10, 1})
            text += char('0' + unitNumber / scale % 10);
        text += ':';
    } else {
        char number[16];
        std::snprintf(number, sizeof number, "%04d:", unitNumber);
        text = number;
    }
    const auto* begin = record.bytes.data();
    text.append(begin, std::find(begin, begin + kUnitNameSize, std::uint8_t{0}));
    return text;
}
