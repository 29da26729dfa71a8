#include "data/FileIo.h"

#include <cerrno>
#include <cstdio>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace corvane {

namespace {

constexpr std::size_t kCopyChunk = 65536;

#ifdef _WIN32
}  // namespace

int ErrnoOfWindowsError(unsigned long error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return ENOENT;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY: return ENOTDIR;
    case ERROR_TOO_MANY_OPEN_FILES: return EMFILE;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
    case ERROR_CANNOT_MAKE: return EACCES;
    case ERROR_INVALID_HANDLE: return EBADF;
    case ERROR_SHARING_VIOLATION: return EBUSY;
    case ERROR_LOCK_VIOLATION: return EDEADLK;
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_DISK_FULL: return ENOSPC;
    case ERROR_NEGATIVE_SEEK:
    case ERROR_SEEK: return ESPIPE;
    default: return EIO;
    }
}

namespace {

int LastErrno() { return ErrnoOfWindowsError(::GetLastError()); }

int CreateNewFile(const fs::path& file)
{
    return ::_wopen(file.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
}
// Written through the Windows API, so that its error (a full disk) reaches the message as it is.
long WriteSome(int fd, const void* data, std::size_t size)
{
    const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
    DWORD written = 0;
    const DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
    if (handle != INVALID_HANDLE_VALUE && ::WriteFile(handle, data, chunk, &written, nullptr))
        return static_cast<long>(written);
    errno = LastErrno();
    return -1;
}
int SyncFile(int fd)
{
    const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
    if (handle != INVALID_HANDLE_VALUE && ::FlushFileBuffers(handle))
        return 0;
    errno = LastErrno();
    return -1;
}
int CloseFile(int fd) { return ::_close(fd); }
std::FILE* OpenForReading(const fs::path& file) { return ::_wfopen(file.c_str(), L"rb"); }

// The read-only attribute is the one permission a Windows file has.
int CopyPermissions(const fs::path& file, const fs::path& like)
{
    const DWORD old = ::GetFileAttributesW(like.c_str());
    const bool readOnly = old != INVALID_FILE_ATTRIBUTES && (old & FILE_ATTRIBUTE_READONLY);
    if (!readOnly)
        return 0;
    const DWORD now = ::GetFileAttributesW(file.c_str());
    if (now == INVALID_FILE_ATTRIBUTES || !::SetFileAttributesW(file.c_str(), now | FILE_ATTRIBUTE_READONLY))
        return LastErrno();
    return 0;
}

void RemoveQuietly(const fs::path& file)
{
    const DWORD attributes = ::GetFileAttributesW(file.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        ::SetFileAttributesW(file.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    ::DeleteFileW(file.c_str());
}

// Moves from to to, failing when to exists.
int RenameNoReplace(const fs::path& from, const fs::path& to)
{
    return ::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) ? 0 : LastErrno();
}

// Puts from in to's place. A read-only file refuses to be replaced on Windows, although the folder
// allows it: its attribute is lifted for the move and given back to whatever still holds the old file
// (the backup, when that is a hard link to it).
int RenameReplacing(const fs::path& from, const fs::path& to, const fs::path& backup)
{
    const DWORD old = ::GetFileAttributesW(to.c_str());
    const bool readOnly = old != INVALID_FILE_ATTRIBUTES && (old & FILE_ATTRIBUTE_READONLY);
    if (readOnly)
        ::SetFileAttributesW(to.c_str(), old & ~FILE_ATTRIBUTE_READONLY);
    if (::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        if (readOnly && !backup.empty()) {
            const DWORD kept = ::GetFileAttributesW(backup.c_str());
            if (kept != INVALID_FILE_ATTRIBUTES)
                ::SetFileAttributesW(backup.c_str(), kept | FILE_ATTRIBUTE_READONLY);
        }
        return 0;
    }
    const int err = LastErrno();
    if (readOnly)
        ::SetFileAttributesW(to.c_str(), old);
    return err;
}

void SyncFolder(const fs::path&) {}  // MOVEFILE_WRITE_THROUGH has done it
#else
int CreateNewFile(const fs::path& file)
{
    return ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
}
long WriteSome(int fd, const void* data, std::size_t size) { return ::write(fd, data, size); }
int SyncFile(int fd) { return ::fsync(fd); }
int CloseFile(int fd) { return ::close(fd); }
std::FILE* OpenForReading(const fs::path& file) { return std::fopen(file.c_str(), "rb"); }

// The permissions of like, or those a new file gets when like does not exist.
int CopyPermissions(const fs::path& file, const fs::path& like)
{
    struct stat st;
    mode_t mode;
    if (::stat(like.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    return ::chmod(file.c_str(), mode) == 0 ? 0 : errno;
}

void RemoveQuietly(const fs::path& file)
{
    std::error_code ec;
    fs::remove(file, ec);
}

bool Exists(const fs::path& file)
{
    std::error_code ec;
    const auto type = fs::symlink_status(file, ec).type();
    return !ec && type != fs::file_type::not_found;
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
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

int RenameReplacing(const fs::path& from, const fs::path& to, const fs::path&)
{
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

void SyncFolder(const fs::path& folder)
{
    if (const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}
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

fs::path FolderOf(const fs::path& file)
{
    return file.parent_path().empty() ? fs::path(".") : file.parent_path();
}

// Removes temporary files of ours that a killed save or export left in folder.
void RemoveLeftoverTemporaries(const fs::path& folder)
{
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (IsOwnTemporaryName(TextFromPath(it->path().filename())) && it->symlink_status(typeError).type() == fs::file_type::regular)
            RemoveQuietly(it->path());
    }
}

// A new, empty temporary file in folder; fills path and fd, returns 0 or errno.
int CreateTemporary(const fs::path& folder, fs::path& path, int& fd)
{
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, ".corvane-%08x.tmp", static_cast<unsigned>(random()));
        path = folder / name;
        fd = fileWriteHooks.createFile(path);
        if (fd >= 0)
            return 0;
        if (errno != EEXIST)
            return errno;
    }
    return EEXIST;
}

// Writes all bytes; returns 0 or errno.
int WriteAll(int fd, std::span<const std::uint8_t> bytes)
{
    while (!bytes.empty()) {
        const long n = fileWriteHooks.writeSome(fd, bytes.data(), bytes.size());
        if (n > 0)
            bytes = bytes.subspan(static_cast<std::size_t>(n));
        else if (n == 0)
            return ENOSPC;
        else if (errno != EINTR)
            return errno;
    }
    return 0;
}

// Syncs and closes; returns err, or else the first errno of these.
int SyncClose(int fd, int err)
{
    if (err == 0 && SyncFile(fd) != 0)
        err = errno;
    if (CloseFile(fd) != 0 && err == 0)
        err = errno;
    return err;
}

// A complete temporary file in folder with like's permissions: fill writes its contents (0 or errno).
// On failure nothing remains and the error names `concerned` at `step`.
template <class Fill>
std::optional<ReplaceError> WriteTemporary(const fs::path& folder, const fs::path& like, ReplaceError::Step step,
                                           const fs::path& concerned, fs::path& temp, Fill fill)
{
    int fd = -1;
    if (const int err = CreateTemporary(folder, temp, fd))
        return ReplaceError{step == ReplaceError::Step::Write ? ReplaceError::Step::Create : step, err, concerned};
    int err = SyncClose(fd, fill(fd));
    if (err == 0)
        err = fileWriteHooks.copyPermissions(temp, like);
    if (err != 0) {
        RemoveQuietly(temp);
        return ReplaceError{step, err, concerned};
    }
    return std::nullopt;
}

// Gives backup the contents of source without touching source; backup must not exist.
std::optional<ReplaceError> MakeBackup(const fs::path& source, const fs::path& backup)
{
    if (fileWriteHooks.hardLink(source, backup) == 0)
        return std::nullopt;

    // No hard link here: copy chunk by chunk through a temporary file, moved into place without
    // replacing anything.
    std::FILE* in = OpenForReading(source);
    if (!in)
        return ReplaceError{ReplaceError::Step::Backup, errno, source};
    int readErr = 0;
    fs::path temp;
    auto error = WriteTemporary(FolderOf(backup), source, ReplaceError::Step::Backup, backup, temp, [&](int fd) {
        std::vector<std::uint8_t> chunk(kCopyChunk);
        while (const std::size_t n = std::fread(chunk.data(), 1, chunk.size(), in)) {
            if (const int err = WriteAll(fd, std::span(chunk).first(n)))
                return err;
        }
        if (std::ferror(in))
            readErr = errno ? errno : EIO;
        return readErr;
    });
    std::fclose(in);
    if (error) {
        if (readErr)
            error->path = source;
        return error;
    }
    if (const int err = RenameNoReplace(temp, backup)) {
        RemoveQuietly(temp);
        return ReplaceError{ReplaceError::Step::Backup, err, backup};
    }
    return std::nullopt;
}

}  // namespace

FileWriteHooks fileWriteHooks = {CreateNewFile, WriteSome, HardLink, CopyPermissions};

fs::path PathFromText(std::string_view text)
{
#ifdef _WIN32
    return fs::path(std::u8string(text.begin(), text.end()));
#else
    return fs::path(std::string(text));
#endif
}

std::string TextFromPath(const fs::path& path)
{
#ifdef _WIN32
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
#else
    return path.string();
#endif
}

bool IsOwnTemporaryName(std::string_view name)
{
    constexpr std::string_view head = ".corvane-", tail = ".tmp";
    if (name.size() != head.size() + 8 + tail.size() || !name.starts_with(head) || !name.ends_with(tail))
        return false;
    for (const char c : name.substr(head.size(), 8))
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    return true;
}

ReadResult ReadPrefix(const fs::path& file, std::span<std::uint8_t> dest)
{
    ReadResult result;
#ifndef _WIN32
    // Opened and read at once, so that a file that fills the buffer costs one look-up of its path and
    // no question about what it is; the non-blocking open keeps a pipe from stalling it. Only a read
    // that falls short (a short file, a folder, an empty pipe) asks whether this is a regular file.
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return result;
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
    struct stat st;
    const bool filled = !dest.empty() && result.count == dest.size();
    result.opened = filled || (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode));
    if (!result.opened)
        result = ReadResult{};
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

std::optional<fs::path> FollowLinks(const fs::path& path, int& err)
{
    fs::path file = path;
    for (int links = 0; links < 40; ++links) {
        std::error_code ec;
        if (!fs::is_symlink(file, ec))
            return file;
        const fs::path to = fs::read_symlink(file, ec);
        if (ec) {
            err = ErrnoOf(ec);
            return std::nullopt;
        }
        file = to.is_absolute() ? to : FolderOf(file) / to;
    }
    err = ELOOP;
    return std::nullopt;
}

bool IsReadOnlyFile(const fs::path& file)
{
    std::error_code ec;
    const fs::file_status status = fs::status(file, ec);
    return !ec && fs::exists(status) && (status.permissions() & fs::perms::owner_write) == fs::perms::none;
}

bool IsReadableFile(const fs::path& file)
{
    std::error_code ec;
    const fs::file_status status = fs::status(file, ec);
    return !ec && fs::is_regular_file(status) && (status.permissions() & fs::perms::owner_read) != fs::perms::none
        && ReadPrefix(file, {}).opened;
}

std::optional<ReplaceError> ReplaceFileKeepingBackup(const fs::path& target, const fs::path& backup,
                                                     std::span<const std::uint8_t> bytes)
{
    const fs::path folder = FolderOf(target);
    RemoveLeftoverTemporaries(folder);
    if (!backup.empty() && FolderOf(backup) != folder)
        RemoveLeftoverTemporaries(FolderOf(backup));

    fs::path temp;
    if (auto error = WriteTemporary(folder, target, ReplaceError::Step::Write, target, temp,
                                    [&](int fd) { return WriteAll(fd, bytes); }))
        return error;

    if (!backup.empty()) {
        if (auto error = MakeBackup(target, backup)) {
            RemoveQuietly(temp);
            return error;
        }
    }

    if (const int err = RenameReplacing(temp, target, backup)) {
        RemoveQuietly(temp);
        if (!backup.empty())
            RemoveQuietly(backup);
        return ReplaceError{ReplaceError::Step::Write, err, target};
    }
    SyncFolder(folder);
    return std::nullopt;
}

}  // namespace corvane
