#pragma once
// Reading the data files and replacing a file safely (UNITINFO.DAT, an exported .sui). Used by the
// data-file set and the exchange files; tests reach the hooks to make the file system fail on purpose.
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
    std::size_t count = 0;
};

// Reads up to dest.size() bytes from the start of the file into dest.
ReadResult ReadPrefix(const std::filesystem::path& file, std::span<std::uint8_t> dest);

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

struct ReplaceError {
    enum class Step { Create, Write, Backup } step;
    int err;                      // errno
    std::filesystem::path path;   // the file concerned
};

// Writes bytes to target (a path that is no link) through a temporary file in target's folder; the
// temporary file takes target's permissions, is flushed to disk and then takes target's place. When
// backup is not empty (it must not exist), target's former contents become backup first (a hard link,
// else a copy), so that the folder never lacks a complete target. On failure target and backup are as
// before and no temporary file remains. Temporary files that an earlier, killed run left in those folders
// (names of our own pattern only) are removed first.
std::optional<ReplaceError> ReplaceFileKeepingBackup(const std::filesystem::path& target,
                                                     const std::filesystem::path& backup,
                                                     std::span<const std::uint8_t> bytes);

// Whether a file name is one of our own temporary files (".corvane-" eight hex digits ".tmp").
bool IsOwnTemporaryName(std::string_view name);

// The file-system calls of writing new files, replaceable by tests.
struct FileWriteHooks {
    int (*createFile)(const std::filesystem::path& file);          // new file only; descriptor or -1 with errno
    long (*writeSome)(int fd, const void* data, std::size_t size);  // bytes written or -1 with errno
    int (*hardLink)(const std::filesystem::path& from, const std::filesystem::path& to);  // 0 or errno
    // Gives file the permissions of like (an existing file) or of a new file; 0 or errno.
    int (*copyPermissions)(const std::filesystem::path& file, const std::filesystem::path& like);
};
extern FileWriteHooks fileWriteHooks;

}  // namespace corvane
