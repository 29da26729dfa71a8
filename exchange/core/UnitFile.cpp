#include "exchange/core/UnitFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <random>
#include <span>
#include <system_error>

#include "data/ByteOrder.h"
#include "data/FileIo.h"

#ifdef _WIN32
#include <io.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
int SyncAndClose(int fd)
{
    const int synced = _commit(fd);
    return _close(fd) == 0 && synced == 0 ? 0 : -1;
}
void TakeMode(int, const fs::path&) {}
#else
int SyncAndClose(int fd)
{
    const int synced = ::fsync(fd);
    return ::close(fd) == 0 && synced == 0 ? 0 : -1;
}
// The new file gets the permissions of the file it replaces, or those of any new file.
void TakeMode(int fd, const fs::path& target)
{
    struct stat st;
    if (::stat(target.c_str(), &st) == 0) {
        ::fchmod(fd, st.st_mode & 07777);
        return;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
}
#endif

// A new, empty file with a name of its own in folder; -1 when none could be made.
int CreateTemporary(const fs::path& folder, fs::path& temp)
{
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, ".sui-%08x.tmp", static_cast<unsigned>(random()));
        temp = folder / name;
        const int fd = corvane::fileWriteHooks.createFile(temp);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool WriteAll(int fd, std::span<const std::uint8_t> bytes)
{
    while (!bytes.empty()) {
        const long n = corvane::fileWriteHooks.writeSome(fd, bytes.data(), bytes.size());
        if (n > 0)
            bytes = bytes.subspan(static_cast<std::size_t>(n));
        else if (n == 0 || errno != EINTR)
            return false;
    }
    return true;
}

}  // namespace

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
    std::error_code ec;
    fs::path target = path;
    if (fs::is_symlink(target, ec)) {
        // Replace the file the link points to and keep the link.
        target = fs::weakly_canonical(target, ec);
        if (ec)
            return false;
    }
    if (fs::is_directory(target, ec))
        return false;
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();

    fs::path temp;
    const int fd = CreateTemporary(folder, temp);
    if (fd < 0)
        return false;
    TakeMode(fd, target);
    const auto bytes = UnitFileBytes(unitNumber, record);
    const bool written = WriteAll(fd, bytes);
    if (SyncAndClose(fd) != 0 || !written) {
        fs::remove(temp, ec);
        return false;
    }
    fs::rename(temp, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return false;
    }
    return true;
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
