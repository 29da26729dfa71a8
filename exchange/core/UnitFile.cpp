#include "exchange/core/UnitFile.h"

#include <algorithm>
#include <cerrno>
#include <string>
#include <system_error>

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

std::optional<ExchangeFileWrite> WriteExchangeFile(const fs::path& path, std::span<const std::uint8_t> bytes,
                                                   bool keepOld, int& err)
{
    // A link stays a link: the file it names is the one replaced.
    const std::optional<fs::path> target = corvane::FollowLinks(path, err);
    if (!target)
        return std::nullopt;
    std::error_code ec;
    const auto type = fs::status(*target, ec).type();
    if (type != fs::file_type::not_found && type != fs::file_type::regular) {
        err = type == fs::file_type::directory ? EISDIR : EACCES;
        return std::nullopt;
    }
    // Writing over a read-only file in place would fail, so replacing it must too.
    if (corvane::IsReadOnlyFile(*target)) {
        err = EACCES;
        return std::nullopt;
    }
    ExchangeFileWrite written{*target, {}};
    if (keepOld && type == fs::file_type::regular) {
        // A name no other run is using; not one of the temporary names a write clears away.
        fs::path kept = *target;
        kept += ".corvane-old";
        for (int n = 2; fs::symlink_status(kept, ec).type() != fs::file_type::not_found; ++n) {
            kept = *target;
            kept += ".corvane-old" + std::to_string(n);
        }
        written.kept = kept;
    }
    if (const auto error = corvane::ReplaceFileKeepingBackup(*target, written.kept, bytes)) {
        err = error->err;
        return std::nullopt;
    }
    return written;
}

bool WriteUnitFile(const fs::path& path, int unitNumber, const UnitRecord& record)
{
    int err = 0;
    return WriteExchangeFile(path, UnitFileBytes(unitNumber, record), false, err).has_value();
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
