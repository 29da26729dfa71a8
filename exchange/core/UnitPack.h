#pragma once
// A mod pack: the units in which one table differs from another, as one exchange file (.sui) each
// and a command file (.cmd) listing them, which the bulk import reads as it is.
//
// The files are named unit%04d.sui, as the single export proposes; the command file lists them one a
// line, in unit order, relative to its own folder, in code page 932 with CRLF line ends.
#include <filesystem>
#include <span>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/FileIo.h"
#include "data/UnitTable.h"

inline constexpr char kPackCommandFileName[] = "units.cmd";

// The units whose 138 bytes differ, in unit order.
std::vector<int> DifferingUnits(const UnitTable& base, const UnitTable& table);

// "unit0012.sui" for unit 12.
std::string PackUnitFileName(int unitNumber);

// The command file's bytes for these units: one file name a line, CRLF.
std::string PackCommandText(const std::vector<int>& units);

// The names of the pack (its exchange files, then the command file) that are already in the folder.
std::vector<std::string> PackClashes(const std::filesystem::path& folder, const std::vector<int>& units,
                                     const std::filesystem::path& commandFileName);

// What failed: the file that could not be written (or the folder, when it could not be made), as the
// export routine reports it (ReplaceErrorText gives its message).
using PackFailure = corvane::ReplaceError;

// Writes the pack of `units` (records from `table`) into folder, which is made when it is missing (its
// parent must exist): the exchange files in unit order, then the command file; files of the same
// names are replaced. On failure nothing further is written, and what this run wrote is undone: new
// files and a folder it made are removed, replaced files get their former contents back. Every file
// goes through the export routine, which refuses `protectedFiles` (the game's own tables).
std::optional<PackFailure> WritePack(const std::filesystem::path& folder, const UnitTable& table,
                                     const std::vector<int>& units, const std::filesystem::path& commandFileName,
                                     std::span<const std::filesystem::path> protectedFiles = {});
