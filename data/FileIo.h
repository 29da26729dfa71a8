#pragma once
// Reading the data files, replacing a file safely (UNITINFO.DAT, every exported file) and the game
// folder's lock. Used by the data-file set, the exchange files and corvane-cli; tests reach the hooks to
// make the file system fail on purpose.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace corvane {

// The one conversion between a text (UTF-8, as the program holds folder texts and chosen files) and a
// file-system path: wide characters on Windows, the bytes themselves elsewhere.
std::filesystem::path PathFromText(std::string_view text);
std::string TextFromPath(const std::filesystem::path& path);

#ifdef _WIN32
// The errno that a Windows error (GetLastError) stands for, so that both systems report the same causes.
int ErrnoOfWindowsError(unsigned long error);
#endif

struct ReadResult {
    bool opened = false;  // false when the path cannot be opened for reading, or names no regular file
                          // (outside Windows, something else that fills the buffer counts as read)
    int err = 0;          // errno of a read error
    int openErr = 0;      // when not opened: errno of the open (ENOENT: nothing there; EISDIR: a folder)
    std::size_t count = 0;
};

// Reads up to dest.size() bytes from the start of the file into dest.
ReadResult ReadPrefix(const std::filesystem::path& file, std::span<std::uint8_t> dest);

struct WholeFile {
    std::string bytes;
    int err = 0;              // errno; EISDIR for a folder, EACCES for anything else that is no regular file
                              // (a pipe is not waited for), EFBIG for a file larger than the limit
    std::uintmax_t size = 0;  // the file's size when it was opened
};

// The whole of a regular file (links followed) of at most limit bytes; a larger one is refused before
// anything is read.
WholeFile ReadWholeFile(const std::filesystem::path& file, std::uintmax_t limit);

// The file a path names once symbolic links are followed (a relative link counts from its own folder),
// or the path itself when it is no link. A dangling link gives the path it points to, which does not
// exist. Empty, with err set to ELOOP, for a chain of links that does not end.
std::optional<std::filesystem::path> FollowLinks(const std::filesystem::path& path, int& err);

// Whether an existing file lacks its owner's write permission. The bits count, not what the current user
// could do: root may write anything, yet the file says it is not to be changed.
bool IsReadOnlyFile(const std::filesystem::path& file);

// Whether an existing entry is a regular file (links followed) that can be opened for reading and says
// its owner may read it.
bool IsReadableFile(const std::filesystem::path& file);

// Which file an existing path names once links are followed: device and inode, or on Windows the volume
// serial number and file index. Empty when the path names nothing that can be looked at.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t file = 0;
    bool operator==(const FileIdentity&) const = default;
};
std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path);

// Whether two paths name the same existing file, however each is spelled (links, letter case, hard links).
bool IsSameFile(const std::filesystem::path& a, const std::filesystem::path& b);

struct ReplaceError {
    // Create, Write, Backup: nothing changed. Refused: the target may not be written (see WriteExportFile).
    // Sync, Permissions: the new contents are in place (`replaced`), but the folder could not be flushed to
    // disk, or the old file's permissions could not be read and the new file has a new file's.
    enum class Step { Create, Write, Backup, Refused, Sync, Permissions } step;
    int err;                      // errno
    std::filesystem::path path;   // the file concerned
    bool replaced = false;        // the target holds the new contents
    bool backupLeft = false;      // a backup made by this call could not be taken back: it stays
};

// Writes bytes to target (a path that is no link) through a temporary file in target's folder; the
// temporary file takes target's permissions, is flushed to disk and then takes target's place. When
// backup is not empty (it must not exist), target's former contents become backup first (a hard link,
// else a copy), so that the folder never lacks a complete target. On failure target is as before and no
// temporary file remains; the backup made is taken back only while target still is the file it was
// made from (else it may be the only copy of the old contents, and stays: backupLeft). Temporary files
// that an earlier, killed run left in those folders (names of our own pattern, held open by no one) are
// removed first; a live save's or export's temporary file is held open until it is in place.
std::optional<ReplaceError> ReplaceFileKeepingBackup(const std::filesystem::path& target,
                                                     const std::filesystem::path& backup,
                                                     std::span<const std::uint8_t> bytes);

// The one routine for every file we export (.sui, CSV, ...): a link is written through (the file it
// names is replaced, beside it); a read-only file, anything that is not a regular file, and any of
// `protectedFiles` (the game's own tables: the same file however spelled) are refused with Step::Refused
// (err EEXIST for a protected file, EISDIR for a folder, else EACCES) and left alone.
// With keep, a file that was there keeps its former contents under a name of our own beside it
// (keep->kept, empty when there was none) until the caller removes that or renames it back, so that a
// command writing several files can take all of them back; keep->file is the file written, links followed.
struct KeptExport {
    std::filesystem::path file;
    std::filesystem::path kept;
};
std::optional<ReplaceError> WriteExportFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                                            std::span<const std::filesystem::path> protectedFiles = {},
                                            KeptExport* keep = nullptr);

// The lock every writer of a game folder holds while it reads, changes and saves UNITINFO.DAT, so that
// two saves never overlap. It is a lock on the file kFileName in the folder (created when missing, never
// removed): the system takes it back when the holder ends in any way, so a crashed holder never leaves
// the folder locked. Linux: an open-file-description lock (fcntl), which Wine's locks also meet;
// Windows: LockFileEx. Within one process two FolderLocks of one folder exclude each other too.
class FolderLock {
public:
    static constexpr char kFileName[] = ".corvane.lock";

    // Takes the lock of folder, waiting at most waitMs milliseconds (without limit when negative).
    // Empty with err set when the lock file cannot be opened, or EWOULDBLOCK when the wait ran out.
    static std::optional<FolderLock> take(const std::filesystem::path& folder, int waitMs, int& err);

    FolderLock(FolderLock&& other) noexcept;
    FolderLock& operator=(FolderLock&& other) noexcept;
    ~FolderLock();
    const std::filesystem::path& file() const { return file_; }

private:
    FolderLock(std::filesystem::path file, std::intptr_t handle) : file_(std::move(file)), handle_(handle) {}
    std::filesystem::path file_;
    std::intptr_t handle_;
};

// Whether a file name is one of our own temporary files (".corvane-" eight hex digits ".tmp").
bool IsOwnTemporaryName(std::string_view name);

// The file-system calls of writing new files, replaceable by tests.
struct FileWriteHooks {
    int (*createFile)(const std::filesystem::path& file);          // new file only; descriptor or -1 with errno
    long (*writeSome)(int fd, const void* data, std::size_t size);  // bytes written or -1 with errno
    int (*hardLink)(const std::filesystem::path& from, const std::filesystem::path& to);  // 0 or errno
    // Gives file the permissions of like (an existing file) or, when like is empty or missing, of a new file;
    // 0 or errno.
    int (*copyPermissions)(const std::filesystem::path& file, const std::filesystem::path& like);
    // Looks at an existing file's permissions before they are copied: 0, ENOENT when it is missing, or errno.
    int (*statFile)(const std::filesystem::path& file);
    // Flushes a folder's entries to disk after a rename in it: 0 or errno.
    int (*syncFolder)(const std::filesystem::path& folder);
};
extern FileWriteHooks fileWriteHooks;

}  // namespace corvane
