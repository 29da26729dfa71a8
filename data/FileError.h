#pragma once
// File-error messages: the cause of a failed file operation and the text shown for it.
#include <string>
#include <string_view>

enum class FileErrorCause {
    None, Generic, FileNotFound, BadPath, TooManyOpenFiles, AccessDenied, InvalidFile, RemoveCurrentDir,
    DirectoryFull, BadSeek, HardIO, SharingViolation, LockViolation, DiskFull, EndOfFile
};

FileErrorCause CauseFromErrno(int err);

// The message of a cause (UTF-8) with %1 replaced by the path; "無題のﾌｧｲﾙ" stands in for an empty path.
std::string FileErrorText(FileErrorCause cause, std::string_view path);

namespace corvane {
struct ReplaceError;
}

// What a failed (or, for Sync and Permissions, a finished but incomplete) replacement of a file says:
// the file-error message of its cause, naming `shown` (the file as the user gave it) for the target.
std::string ReplaceErrorText(const corvane::ReplaceError& error, std::string_view shown);
