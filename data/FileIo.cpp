#include "data/FileIo.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <random>
#include <thread>
#include <string>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <sys/file.h>
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

// A new file, open for writing and shared for deletion only: it can be moved into place while it is open,
// and no one else can open it to write it.
int CreateNewFile(const fs::path& file)
{
    const HANDLE handle = ::CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                        CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        errno = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? EEXIST : ErrnoOfWindowsError(error);
        return -1;
    }
    const int fd = ::_open_osfhandle(reinterpret_cast<std::intptr_t>(handle), _O_WRONLY | _O_BINARY);
    if (fd < 0) {
        ::CloseHandle(handle);
        ::DeleteFileW(file.c_str());
        errno = EMFILE;
    }
    return fd;
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

int StatFile(const fs::path& file)
{
    return ::GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES ? 0 : LastErrno();
}

// The read-only attribute is the one permission a Windows file has.
int CopyPermissions(const fs::path& file, const fs::path& like)
{
    if (like.empty())
        return 0;
    const DWORD old = ::GetFileAttributesW(like.c_str());
    const bool readOnly = old != INVALID_FILE_ATTRIBUTES && (old & FILE_ATTRIBUTE_READONLY);
    if (!readOnly)
        return 0;
    const DWORD now = ::GetFileAttributesW(file.c_str());
    if (now == INVALID_FILE_ATTRIBUTES || !::SetFileAttributesW(file.c_str(), now | FILE_ATTRIBUTE_READONLY))
        return LastErrno();
    return 0;
}

// Removes a temporary file of our own (which may have taken a read-only attribute).
void RemoveQuietly(const fs::path& file)
{
    const DWORD attributes = ::GetFileAttributesW(file.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        ::SetFileAttributesW(file.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    ::DeleteFileW(file.c_str());
}

// Removes a file that is no temporary of ours; 0 or errno. A read-only file stays.
int RemoveFile(const fs::path& file)
{
    return ::DeleteFileW(file.c_str()) ? 0 : LastErrno();
}

// A temporary file is live while its writer holds it open: only a file no one has open can be opened
// without sharing, and it is then removed as that handle closes.
void RemoveIfUnowned(const fs::path& file)
{
    const HANDLE handle = ::CreateFileW(file.c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle != INVALID_HANDLE_VALUE)
        ::CloseHandle(handle);
}

// Whether another program holds file open in a way that keeps it from being replaced (0 or errno), asked
// before a backup is made that could not be taken back while it does.
int CanBeReplaced(const fs::path& file)
{
    const HANDLE handle = ::CreateFileW(file.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return ::GetLastError() == ERROR_FILE_NOT_FOUND ? 0 : LastErrno();
    ::CloseHandle(handle);
    return 0;
}

// Moves from to to, failing when to exists.
int RenameNoReplace(const fs::path& from, const fs::path& to)
{
    return ::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) ? 0 : LastErrno();
}

// Puts from in to's place. A read-only file refuses to be replaced: its attribute is never lifted.
int RenameReplacing(const fs::path& from, const fs::path& to)
{
    return ::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ? 0 : LastErrno();
}

int SyncFolder(const fs::path&) { return 0; }  // MOVEFILE_WRITE_THROUGH has done it

std::optional<FileIdentity> IdentityOfFile(const fs::path& path)
{
    const HANDLE handle = ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info;
    const bool known = ::GetFileInformationByHandle(handle, &info);
    ::CloseHandle(handle);
    if (!known)
        return std::nullopt;
    return FileIdentity{info.dwVolumeSerialNumber, (std::uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

// The folder lock: an exclusive lock of the lock file's first byte.
std::intptr_t OpenLockFile(const fs::path& file, int& err)
{
    const HANDLE handle = ::CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                        FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        err = LastErrno();
        return -1;
    }
    return reinterpret_cast<std::intptr_t>(handle);
}
// 0, EWOULDBLOCK when another holds it (and wait is false), or errno.
int LockFirstByte(std::intptr_t lockHandle, bool wait)
{
    OVERLAPPED at{};
    const DWORD flags = LOCKFILE_EXCLUSIVE_LOCK | (wait ? 0 : LOCKFILE_FAIL_IMMEDIATELY);
    if (::LockFileEx(reinterpret_cast<HANDLE>(lockHandle), flags, 0, 1, 0, &at))
        return 0;
    const DWORD error = ::GetLastError();
    return error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING ? EWOULDBLOCK : ErrnoOfWindowsError(error);
}
void CloseLockFile(std::intptr_t lockHandle) { ::CloseHandle(reinterpret_cast<HANDLE>(lockHandle)); }

// A new temporary file is live from the moment it exists: its handle shares no writing.
int ClaimTemporary(int, const fs::path&) { return 0; }
#else
int CreateNewFile(const fs::path& file)
{
    return ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
}

int StatFile(const fs::path& file)
{
    struct stat st;
    return ::stat(file.c_str(), &st) == 0 ? 0 : errno;
}
long WriteSome(int fd, const void* data, std::size_t size) { return ::write(fd, data, size); }
int SyncFile(int fd) { return ::fsync(fd); }
int CloseFile(int fd) { return ::close(fd); }
std::FILE* OpenForReading(const fs::path& file) { return std::fopen(file.c_str(), "rb"); }

// The permissions of like, or those a new file gets when like is empty or does not exist.
int CopyPermissions(const fs::path& file, const fs::path& like)
{
    struct stat st;
    mode_t mode;
    if (!like.empty() && ::stat(like.c_str(), &st) == 0) {
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

int RemoveFile(const fs::path& file)
{
    return ::unlink(file.c_str()) == 0 ? 0 : errno;
}

bool SameEntry(int fd, const fs::path& path)
{
    struct stat opened, named;
    return ::fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 && opened.st_dev == named.st_dev
        && opened.st_ino == named.st_ino;
}

// A temporary file is live while its writer holds a lock on it (flock, taken right after creating it,
// kept until the file is in place). One that can be locked, and is still the file of that name, is a
// leftover: it is removed while the lock is held, so that a writer that created it a moment ago and
// had not locked it yet fails to, and takes another name.
void RemoveIfUnowned(const fs::path& file)
{
    const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_SH | LOCK_NB) == 0 && SameEntry(fd, file))
        ::unlink(file.c_str());
    ::close(fd);
}

// Locks a new temporary file for its writer and checks that it still is the file of its name; 0 or errno
// (EAGAIN: a cleaner took it first, try another name).
int ClaimTemporary(int fd, const fs::path& file)
{
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK)
        return EAGAIN;  // (a file system without locks leaves the file unlocked: no worse than before)
    return SameEntry(fd, file) ? 0 : EAGAIN;
}

int CanBeReplaced(const fs::path&) { return 0; }

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

int RenameReplacing(const fs::path& from, const fs::path& to)
{
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

int SyncFolder(const fs::path& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    int err = 0;
    if (::fsync(fd) != 0 && errno != EINVAL)  // a file system that cannot sync folders has nothing to sync
        err = errno;
    ::close(fd);
    return err;
}

std::optional<FileIdentity> IdentityOfFile(const fs::path& path)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

// The folder lock: a write lock of the lock file's first byte, owned by the open file description (so
// that it excludes other locks of the same process too, and meets the POSIX locks Wine takes for
// LockFileEx); flock where the system has no such locks.
std::intptr_t OpenLockFile(const fs::path& file, int& err)
{
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        err = errno == ELOOP ? EACCES : errno;
        return -1;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        err = EACCES;
        return -1;
    }
    return fd;
}
int LockFirstByte(std::intptr_t lockHandle, bool wait)
{
    const int fd = static_cast<int>(lockHandle);
#ifdef F_OFD_SETLK
    struct flock range{};
    range.l_type = F_WRLCK;
    range.l_whence = SEEK_SET;
    range.l_start = 0;
    range.l_len = 1;
    while (true) {
        if (::fcntl(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &range) == 0)
            return 0;
        if (errno == EACCES || errno == EAGAIN)
            return EWOULDBLOCK;
        if (errno == EINVAL)  // a kernel without such locks: flock instead
            break;
        if (errno != EINTR)
            return errno == ENOLCK || errno == EOPNOTSUPP || errno == ENOSYS ? 0 : errno;  // a file system without locks
    }
#endif
    while (::flock(fd, LOCK_EX | (wait ? 0 : LOCK_NB)) != 0) {
        if (errno == EWOULDBLOCK)
            return EWOULDBLOCK;
        if (errno != EINTR)
            return errno == ENOLCK || errno == EOPNOTSUPP || errno == ENOSYS ? 0 : errno;
    }
    return 0;
}
void CloseLockFile(std::intptr_t lockHandle) { ::close(static_cast<int>(lockHandle)); }
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

// Removes temporary files of ours that a killed save or export left in folder; a live one stays.
void RemoveLeftoverTemporaries(const fs::path& folder)
{
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (IsOwnTemporaryName(TextFromPath(it->path().filename())) && it->symlink_status(typeError).type() == fs::file_type::regular)
            RemoveIfUnowned(it->path());
    }
}

// A temporary file of ours, open (and so live) from its creation until it has taken its place or is removed.
class Temporary {
public:
    Temporary() = default;
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;
    ~Temporary() { discard(); }

    // A new, empty temporary file in folder; 0 or errno.
    int create(const fs::path& folder)
    {
        std::random_device random;
        for (int attempt = 0; attempt < 100; ++attempt) {
            char name[32];
            std::snprintf(name, sizeof name, ".corvane-%08x.tmp", static_cast<unsigned>(random()));
            path_ = folder / name;
            fd_ = fileWriteHooks.createFile(path_);
            if (fd_ < 0) {
                if (errno != EEXIST)
                    return errno;
                continue;
            }
            const int err = ClaimTemporary(fd_, path_);
            if (err == 0)
                return 0;
            CloseFile(fd_);  // a cleaner took it for a leftover and removes it
            fd_ = -1;
            if (err != EAGAIN)
                return err;
        }
        return EEXIST;
    }
    int fd() const { return fd_; }
    const fs::path& path() const { return path_; }
    // Once in place, the file is no longer ours to remove.
    void release()
    {
        if (fd_ >= 0)
            CloseFile(fd_);
        fd_ = -1;
    }
    void discard()
    {
        if (fd_ < 0)
            return;
#ifdef _WIN32
        release();
        RemoveQuietly(path_);
#else
        RemoveQuietly(path_);
        release();
#endif
    }

private:
    fs::path path_;
    int fd_ = -1;
};

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

// A complete temporary file in folder with like's permissions, flushed to disk and still open: fill
// writes its contents (0 or errno). On failure nothing remains and the error names `concerned` at `step`.
// When like's permissions cannot be read, the file gets a new file's and *permissionsErr says why.
template <class Fill>
std::optional<ReplaceError> WriteTemporary(const fs::path& folder, const fs::path& like, ReplaceError::Step step,
                                           const fs::path& concerned, Temporary& temp, Fill fill,
                                           int* permissionsErr = nullptr)
{
    if (const int err = temp.create(folder))
        return ReplaceError{step == ReplaceError::Step::Write ? ReplaceError::Step::Create : step, err, concerned};
    int err = fill(temp.fd());
    if (err == 0 && SyncFile(temp.fd()) != 0)
        err = errno;
    if (err == 0) {
        const int statErr = fileWriteHooks.statFile(like);
        if (statErr != 0 && statErr != ENOENT && permissionsErr)
            *permissionsErr = statErr;
        err = fileWriteHooks.copyPermissions(temp.path(), statErr == 0 ? like : fs::path());
    }
    if (err != 0) {
        temp.discard();
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
    Temporary temp;
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
    if (const int err = RenameNoReplace(temp.path(), backup))
        return ReplaceError{ReplaceError::Step::Backup, err, backup};  // temp goes as it is discarded
    temp.release();
    return std::nullopt;
}

}  // namespace

FileWriteHooks fileWriteHooks = {CreateNewFile, WriteSome, HardLink, CopyPermissions, StatFile, SyncFolder};

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
    if (fd < 0) {
        result.openErr = errno;
        return result;
    }
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
    struct stat st{};
    const bool filled = !dest.empty() && result.count == dest.size();
    result.opened = filled || (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode));
    if (!result.opened)
        result = ReadResult{false, 0, S_ISDIR(st.st_mode) ? EISDIR : EINVAL, 0};
    ::close(fd);
    return result;
#else
    std::error_code ec;
    const fs::file_status status = fs::status(file, ec);
    if (!fs::is_regular_file(status)) {
        result.openErr = status.type() == fs::file_type::not_found ? ENOENT
            : status.type() == fs::file_type::directory             ? EISDIR
            : ec                                                    ? ErrnoOf(ec)
                                                                    : EINVAL;
        return result;
    }
    std::FILE* in = OpenForReading(file);
    if (!in) {
        result.openErr = errno ? errno : EACCES;
        return result;
    }
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

WholeFile ReadWholeFile(const fs::path& file, std::uintmax_t limit)
{
    WholeFile result;
    std::vector<char> chunk(kCopyChunk);
    const auto take = [&](std::size_t n) {
        result.bytes.append(chunk.data(), n);
        if (result.bytes.size() > limit) {  // grown since it was opened
            result.err = EFBIG;
            result.bytes.clear();
        }
        return result.err == 0;
    };
#ifndef _WIN32
    // Non-blocking, so that opening a pipe without a writer does not wait; it is refused below.
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        result.err = errno;
        return result;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0)
        result.err = errno;
    else if (S_ISDIR(st.st_mode))
        result.err = EISDIR;
    else if (!S_ISREG(st.st_mode))
        result.err = EACCES;
    else if ((result.size = static_cast<std::uintmax_t>(st.st_size)) > limit)
        result.err = EFBIG;
    if (result.err == 0)
        result.bytes.reserve(static_cast<std::size_t>(result.size));
    while (result.err == 0) {
        const ssize_t n = ::read(fd, chunk.data(), chunk.size());
        if (n > 0)
            take(static_cast<std::size_t>(n));
        else if (n == 0)
            break;
        else if (errno != EINTR)
            result.err = errno;
    }
    ::close(fd);
#else
    std::error_code ec;
    const fs::file_status status = fs::status(file, ec);
    if (status.type() == fs::file_type::not_found)
        result.err = ENOENT;
    else if (ec)
        result.err = ErrnoOf(ec);
    else if (fs::is_directory(status))
        result.err = EISDIR;
    else if (!fs::is_regular_file(status))
        result.err = EACCES;
    else if ((result.size = fs::file_size(file, ec)) > limit && !ec)
        result.err = EFBIG;
    std::FILE* in = result.err == 0 ? OpenForReading(file) : nullptr;
    if (result.err == 0 && !in)
        result.err = errno ? errno : EACCES;
    if (in) {
        result.bytes.reserve(ec ? 0 : static_cast<std::size_t>(result.size));
        while (const std::size_t n = std::fread(chunk.data(), 1, chunk.size(), in))
            if (!take(n))
                break;
        if (result.err == 0 && std::ferror(in))
            result.err = errno ? errno : EIO;
        std::fclose(in);
    }
#endif
    if (result.err != 0)
        result.bytes.clear();
    return result;
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

std::optional<FileIdentity> IdentityOf(const fs::path& path)
{
    return IdentityOfFile(path);
}

bool IsSameFile(const fs::path& a, const fs::path& b)
{
    const auto first = IdentityOfFile(a);
    return first && first == IdentityOfFile(b);
}

std::optional<ReplaceError> ReplaceFileKeepingBackup(const fs::path& target, const fs::path& backup,
                                                     std::span<const std::uint8_t> bytes)
{
    const fs::path folder = FolderOf(target);
    RemoveLeftoverTemporaries(folder);
    if (!backup.empty() && FolderOf(backup) != folder)
        RemoveLeftoverTemporaries(FolderOf(backup));

    int permissionsErr = 0;
    Temporary temp;
    if (auto error = WriteTemporary(folder, target, ReplaceError::Step::Write, target, temp,
                                    [&](int fd) { return WriteAll(fd, bytes); }, &permissionsErr))
        return error;

    std::optional<FileIdentity> original;
    if (!backup.empty()) {
        if (const int err = CanBeReplaced(target))
            return ReplaceError{ReplaceError::Step::Write, err, target};
        original = IdentityOfFile(target);
        if (auto error = MakeBackup(target, backup))
            return error;
    }

    if (const int err = RenameReplacing(temp.path(), target)) {
        temp.discard();
        ReplaceError error{ReplaceError::Step::Write, err, target};
        // The backup goes only while target still holds what it was made from: were target another file
        // by now, the backup could be the one copy left of the old contents.
        if (!backup.empty()) {
            const bool unchanged = original && IdentityOfFile(target) == original;
            error.backupLeft = !unchanged || RemoveFile(backup) != 0;
        }
        return error;
    }
    temp.release();
    if (const int err = fileWriteHooks.syncFolder(folder))
        return ReplaceError{ReplaceError::Step::Sync, err, folder, true};
    if (permissionsErr)
        return ReplaceError{ReplaceError::Step::Permissions, permissionsErr, target, true};
    return std::nullopt;
}

std::optional<ReplaceError> WriteExportFile(const fs::path& path, std::span<const std::uint8_t> bytes,
                                            std::span<const fs::path> protectedFiles, KeptExport* keep)
{
    // A link stays a link: the file it names is the one replaced.
    int err = 0;
    const std::optional<fs::path> target = FollowLinks(path, err);
    if (!target)
        return ReplaceError{ReplaceError::Step::Refused, err, path};
    std::error_code ec;
    const auto type = fs::status(*target, ec).type();
    if (type != fs::file_type::not_found && type != fs::file_type::regular)
        return ReplaceError{ReplaceError::Step::Refused, type == fs::file_type::directory ? EISDIR : EACCES, path};
    // Writing over a read-only file in place would fail, so replacing it must too.
    if (IsReadOnlyFile(*target))
        return ReplaceError{ReplaceError::Step::Refused, EACCES, path};
    for (const fs::path& kept : protectedFiles)
        if (IsSameFile(*target, kept))
            return ReplaceError{ReplaceError::Step::Refused, EEXIST, path};
    fs::path kept;
    if (keep && type == fs::file_type::regular) {
        // A name no other run is using, and none of the temporary names a write clears away.
        kept = *target;
        kept += ".corvane-old";
        for (int n = 2; fs::symlink_status(kept, ec).type() != fs::file_type::not_found; ++n) {
            kept = *target;
            kept += ".corvane-old" + std::to_string(n);
        }
    }
    auto error = ReplaceFileKeepingBackup(*target, kept, bytes);
    if (keep && (!error || error->replaced))
        *keep = KeptExport{*target, kept};
    return error;
}

FolderLock::FolderLock(FolderLock&& other) noexcept : file_(std::move(other.file_)), handle_(other.handle_)
{
    other.handle_ = -1;
}

FolderLock& FolderLock::operator=(FolderLock&& other) noexcept
{
    if (this != &other) {
        if (handle_ != -1)
            CloseLockFile(handle_);
        file_ = std::move(other.file_);
        handle_ = other.handle_;
        other.handle_ = -1;
    }
    return *this;
}

FolderLock::~FolderLock()
{
    if (handle_ != -1)
        CloseLockFile(handle_);  // closing the lock file gives the lock back
}

std::optional<FolderLock> FolderLock::take(const fs::path& folder, int waitMs, int& err)
{
    fs::path file = folder / kFileName;
    const std::intptr_t handle = OpenLockFile(file, err);
    if (handle == -1)
        return std::nullopt;
    FolderLock lock(std::move(file), handle);
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    while ((err = LockFirstByte(handle, waitMs < 0)) == EWOULDBLOCK && waitMs >= 0
           && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (err != 0)
        return std::nullopt;
    return lock;
}

}  // namespace corvane
