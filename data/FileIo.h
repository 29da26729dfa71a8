#pragma once
// Reading the data files and replacing UNITINFO.DAT safely. Used by the data-file set; tests reach the
// hooks to make the file system fail on purpose.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>

namespace corvane {

struct ReadResult {
    bool opened = false;  // false when the path is no regular file or cannot be opened for reading
    int err = 0;          // errno of a read error
    std::size_t count = 0;
};

// Reads up to dest.size() bytes from the start of the file into dest.
ReadResult ReadPrefix(const std::filesystem::path& file, std::span<std::uint8_t> dest);

struct ReplaceError {
    enum class Step { Create, Write, Backup } step;
    int err;                      // errno
    std::filesystem::path path;   // the file concerned
};

// Writes bytes to target through a temporary file in target's folder, synced before it replaces target.
// When nothing named backup exists, target's former contents become backup first (a hard link, else a
// copy), so that the folder never lacks a complete target; an empty backup path asks for none. On failure target and backup are as before
// and no temporary file remains.
std::optional<ReplaceError> ReplaceFileKeepingBackup(const std::filesystem::path& target,
                                                     const std::filesystem::path& backup,
                                                     std::span<const std::uint8_t> bytes);

// The file-system calls of writing new files, replaceable by tests.
struct FileWriteHooks {
    int (*createFile)(const std::filesystem::path& file);          // new file only; descriptor or -1 with errno
    long (*writeSome)(int fd, const void* data, std::size_t size);  // bytes written or -1 with errno
    int (*hardLink)(const std::filesystem::path& from, const std::filesystem::path& to);  // 0 or errno
};
extern FileWriteHooks fileWriteHooks;

}  // namespace corvane
