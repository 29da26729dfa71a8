#pragma once
// The one path resolver every access to the game's files goes through.
//
// A game folder text is kept as the user's settings hold it: a Windows text such as
// "c:\Program Files\SystemSoft Game\Ds6\", a native folder ending in a separator, or empty (the current
// folder). A file's path is the folder text followed directly by the file name. Outside Windows, a drive
// letter maps into the Wine prefix, backslashes count as separators, and each name is looked up without
// regard to ASCII letter case, as the game's own file system would.
#include <filesystem>
#include <string>
#include <string_view>

// The folder a folder text names; "." for an empty text.
std::filesystem::path ResolveFolder(std::string_view folderText);

// The file folderText + fileName (which may hold folder parts, e.g. "Unit\Unit007.bmp"): each part is the
// existing entry whose name matches case-insensitively (an exact match preferred), else the name as given.
std::filesystem::path ResolveFile(std::string_view folderText, std::string_view fileName);

// The folder text of a chosen file: its folder as a native text ending in the platform separator.
std::string FolderTextOf(const std::filesystem::path& chosenFile);

// Whether a file name matches a file-dialog pattern ("*.dat", "*.*", "a*.sui;b?.cmd"), ignoring case.
bool MatchesFilterPattern(std::string_view fileName, std::string_view pattern);
