#include "data/UnitTable.h"

#include <cstring>
#include <stdexcept>

void UnitTable::load(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < kUnitTableSize)
        throw std::invalid_argument("unit table image too short");
    std::memcpy(&image_, bytes.data(), kUnitTableSize);
}

std::span<const std::uint8_t, kUnitTableSize> UnitTable::image() const
{
    return std::span<const std::uint8_t, kUnitTableSize>(reinterpret_cast<const std::uint8_t*>(&image_), kUnitTableSize);
}

std::span<std::uint8_t, kUnitTableSize> UnitTable::imageToFill()
{
    return std::span<std::uint8_t, kUnitTableSize>(reinterpret_cast<std::uint8_t*>(&image_), kUnitTableSize);
}
