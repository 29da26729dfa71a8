#include "exchange/core/UnitFile.h"

#include <algorithm>

#include "data/ByteOrder.h"
#include "data/FileIo.h"

namespace fs = std::filesystem;

std::array<std::uint8_t, kUnitFileSize> UnitFileBytes(int unitNumber, const UnitRecord& record)
{
    std::array<std::uint8_t, kUnitFileSize> bytes{};
    corvane::WriteU16(&bytes[0], kUnitFileTag);
    corvane::WriteU16(&bytes[2], static_cast<std::uint16_t>(unitNumber));
    std::copy(record.bytes.begin(), record.bytes.end(), bytes.begin() + kUnitFileHeaderSize);
    return bytes;
}

bool WriteUnitFile(const fs::path& path, int unitNumber, const UnitRecord& record)
{
    const auto error = corvane::WriteExportFile(path, UnitFileBytes(unitNumber, record));
    return !error || error->replaced;
}

bool ReadUnitFile(const fs::path& path, UnitFileHeader& head, UnitRecord& record)
{
    std::array<std::uint8_t, kUnitFileSize> bytes{};
    const corvane::ReadResult read = corvane::ReadPrefix(path, bytes);
    if (!read.opened)
        return false;
    const bool complete = read.count == kUnitFileSize && read.err == 0;
    if (!complete)
        std::fill(bytes.begin() + static_cast<std::ptrdiff_t>(std::min(read.count, kUnitFileSize)), bytes.end(), 0);

    head.tag = complete ? corvane::ReadU16(&bytes[0]) : 0;
    head.unitNumber = corvane::ReadU16(&bytes[2]);
    std::copy(bytes.begin() + 4, bytes.begin() + kUnitFileHeaderSize, head.reserved.begin());
    std::copy(bytes.begin() + kUnitFileHeaderSize, bytes.end(), record.bytes.begin());
    return true;
}

bool IsUsableUnitFile(const UnitFileHeader& head)
{
    return head.tag == kUnitFileTag && head.unitNumber < kUnitCount;
}
