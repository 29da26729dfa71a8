#pragma once
// The command file (.cmd) of the bulk import: code page 932 text, one exchange file name per line,
// each relative to the folder that holds the command file. Nothing else is in it: no comments, no
// options, no unit numbers.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/core/UnitFile.h"

class PathLookup;

// The lines of text. A line ends at a line feed; a carriage return right before it goes with it.
// Nothing else is removed, blanks at either end included. A last line without a line end counts;
// a line end at the very end adds no empty line.
std::vector<std::string> SplitCommandLines(std::string_view text);

// The lines of a command file as raw code page 932 bytes; nothing when it cannot be opened or read.
std::optional<std::vector<std::string>> ReadCommandFile(const std::filesystem::path& commandFile);

// The file a line names: folderText (the command file's folder, ending in a separator) followed
// directly by the line. A backslash separates folders, as does '/'; "..\" climbs; each name is
// looked up through `lookup`, the one of this command, without regard to ASCII letter case. Nothing
// when the line cannot be a file name (bytes that are not code page 932 text, a zero byte). An empty
// line names the folder itself.
std::optional<std::filesystem::path> CommandLinePath(PathLookup& lookup, std::string_view folderText,
                                                     std::string_view line);

// Reads the exchange file a line names (ReadUnitFile, false as there). The name is opened as given
// first; only when that finds nothing is it looked up as CommandLinePath does.
bool ReadCommandLineFile(PathLookup& lookup, std::string_view folderText, std::string_view line,
                         UnitFileHeader& head, UnitRecord& record);
