#include "data/FileIo.h"

#include <cerrno>
#include <cstdio>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace corvane {

namespace {

#ifdef _WIN32
int CreateNewFile(const fs::path& file)
{
    return _wopen(file.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
}
long WriteSome(int fd, const void* data, std::size_t size) { return _write(fd, data, static_cast<unsigned>(size)); }
int SyncFile(int fd) { return _commit(fd); }
int CloseFile(int fd) { return _close(fd); }
void CopyMode(int, const fs::path&) {}
void SyncFolder(const fs::path&) {}
std::FILE* OpenForReading(const fs::path& file) { return _wfopen(file.c_str(), L"rb"); }
#else
int CreateNewFile(const fs::path& file)
{
    return ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
}
long WriteSome(int fd, const void* data, std::size_t size) { return ::write(fd, data, size); }
int SyncFile(int fd) { return ::fsync(fd); }
int CloseFile(int fd) { return ::close(fd); }
// A new file gets the permissions of the file it stands for.
void CopyMode(int fd, const fs::path& like)
{
    struct stat st;
    ::fchmod(fd, ::stat(like.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644);
}
void SyncFolder(const fs::path& folder)
{
    if (const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}
std::FILE* OpenForReading(const fs::path& file) { return std::fopen(file.c_str(), "rb"); }
#endif

int ErrnoOf(const std::error_code& ec)
{
    return ec.default_error_condition().value();
}

int HardLink(const fs::path& from, const fs::path& to)
{
    std::error_code ec;
    fs::create_hard_link(from, to, ec);
    return ec ? ErrnoOf(ec) : 0;
}

bool Exists(const fs::path& file)
{
    std::error_code ec;
    const auto type = fs::symlink_status(file, ec).type();
    return !ec && type != fs::file_type::not_found;
}

void RemoveQuietly(const fs::path& file)
{
    std::error_code ec;
    fs::remove(file, ec);
}

// Moves from to to, failing with EEXIST when to exists.
int RenameNoReplace(const fs::path& from, const fs::path& to)
{
#if defined(__linux__) && defined(RENAME_NOREPLACE)
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
#endif
    if (Exists(to))
        return EEXIST;
#ifdef _WIN32
    return _wrename(from.c_str(), to.c_str()) == 0 ? 0 : errno;  // never replaces
#else
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
#endif
}

// A new, empty temporary file beside `beside`; fills path and fd, returns 0 or errno.
int CreateTemporary(const fs::path& beside, fs::path& path, int& fd)
{
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, ".%08x", static_cast<unsigned>(random()));
        path = beside;
        path += std::string(suffix) + ".tmp";
        fd = fileWriteHooks.createFile(path);
        if (fd >= 0)
            return 0;
        if (errno != EEXIST)
            return errno;
    }
    return EEXIST;
}

// Writes all bytes, syncs and closes; returns 0 or the first errno.
int WriteSyncClose(int fd, std::span<const std::uint8_t> bytes)
{
    int err = 0;
    while (!bytes.empty() && err == 0) {
        const long n = fileWriteHooks.writeSome(fd, bytes.data(), bytes.size());
        if (n > 0)
            bytes = bytes.subspan(static_cast<std::size_t>(n));
        else if (n == 0)
            err = ENOSPC;
        else if (errno != EINTR)
            err = errno;
    }
    if (err == 0 && SyncFile(fd) != 0)
        err = errno;
    if (CloseFile(fd) != 0 && err == 0)
        err = errno;
    return err;
}

// Writes bytes to a new temporary file beside target with target's permissions.
std::optional<ReplaceError> WriteTemporary(const fs::path& target, std::span<const std::uint8_t> bytes,
                                           ReplaceError::Step step, fs::path& temp)
{
    int fd = -1;
    if (const int err = CreateTemporary(target, temp, fd))
        return ReplaceError{step == ReplaceError::Step::Write ? ReplaceError::Step::Create : step, err, target};
    CopyMode(fd, target);
    if (const int err = WriteSyncClose(fd, bytes)) {
        RemoveQuietly(temp);
        return ReplaceError{step, err, target};
    }
    return std::nullopt;
}

// Gives backup the contents of source without touching source; backup must not exist.
std::optional<ReplaceError> MakeBackup(const fs::path& source, const fs::path& backup)
{
    if (fileWriteHooks.hardLink(source, backup) == 0)
        return std::nullopt;

    // No hard link here: copy through a temporary file, moved into place without replacing anything.
    std::vector<std::uint8_t> bytes;
    std::FILE* in = OpenForReading(source);
    if (!in)
        return ReplaceError{ReplaceError::Step::Backup, errno, source};
    std::uint8_t chunk[65536];
    while (const std::size_t n = std::fread(chunk, 1, sizeof chunk, in))
        bytes.insert(bytes.end(), chunk, chunk + n);
    const int readErr = std::ferror(in) ? (errno ? errno : EIO) : 0;
    std::fclose(in);
    if (readErr)
        return ReplaceError{ReplaceError::Step::Backup, readErr, source};

    fs::path temp;
    if (auto error = WriteTemporary(backup, bytes, ReplaceError::Step::Backup, temp))
        return error;
    if (const int err = RenameNoReplace(temp, backup)) {
        RemoveQuietly(temp);
        return ReplaceError{ReplaceError::Step::Backup, err, backup};
    }
    return std::nullopt;
}

}  // namespace

FileWriteHooks fileWriteHooks = {CreateNewFile, WriteSome, HardLink};

ReadResult ReadPrefix(const fs::path& file, std::span<std::uint8_t> dest)
{
    ReadResult result;
#ifndef _WIN32
    // Opened first and then asked what it is, so that a file costs one look-up of its path; the
    // non-blocking open keeps a pipe from stalling it.
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return result;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return result;
    }
    result.opened = true;
    while (result.count < dest.size()) {
        const ssize_t n = ::read(fd, dest.data() + result.count, dest.size() - result.count);
        if (n > 0) {
            result.count += static_cast<std::size_t>(n);
        } else if (n == 0) {
            break;
        } else if (errno != EINTR) {
            result.err = errno;
            break;
        }
    }
    ::close(fd);
    return result;
#else
    std::error_code ec;
    if (!fs::is_regular_file(file, ec))
        return result;
    std::FILE* in = OpenForReading(file);
    if (!in)
        return result;
    result.opened = true;
    if (!dest.empty()) {
        errno = 0;
        result.count = std::fread(dest.data(), 1, dest.size(), in);
        if (std::ferror(in))
            result.err = errno ? errno : EIO;
    }
    std::fclose(in);
    return result;
#endif
}

std::optional<ReplaceError> ReplaceFileKeepingBackup(const fs::path& target, const fs::path& backup,
                                                     std::span<const std::uint8_t> bytes)
{
    fs::path temp;
    if (auto error = WriteTemporary(target, bytes, ReplaceError::Step::Write, temp))
        return error;

    bool madeBackup = false;
    if (!backup.empty() && !Exists(backup)) {
        if (auto error = MakeBackup(target, backup)) {
            RemoveQuietly(temp);
            return error;
        }
        madeBackup = true;
    }

    std::error_code ec;
    fs::rename(temp, target, ec);
    if (ec) {
        RemoveQuietly(temp);
        if (madeBackup)
            RemoveQuietly(backup);
        return ReplaceError{ReplaceError::Step::Write, ErrnoOf(ec), target};
    }
    SyncFolder(target.parent_path().empty() ? fs::path(".") : target.parent_path());
    return std::nullopt;
}

}  // namespace corvane
