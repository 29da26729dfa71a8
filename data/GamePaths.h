#pragma once
// The one path resolver every access to the game's files goes through.
//
// A game folder text is kept as the user's settings hold it: a Windows text such as
// "c:\Program Files\SystemSoft Game\Ds6\", a native folder ending in a separator, or empty (the current
// folder). A file's path is the folder text followed directly by the file name. Texts are UTF-8 (wide
// paths on Windows). Outside Windows, a drive letter maps into the Wine prefix; a backslash separates in
// such a text and in the file name (as the program and command files give it), but not in a native
// folder, where it may be part of a folder's name; and each name is looked up without regard to ASCII
// letter case, as the game's own file system would.
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// The folder a folder text names; "." for an empty text.
std::filesystem::path ResolveFolder(std::string_view folderText);

// The file folderText + fileName (which may hold folder parts, e.g. "Unit\Unit007.bmp"): each part is the
// existing entry whose name matches case-insensitively (an exact match preferred), else the name as given.
std::filesystem::path ResolveFile(std::string_view folderText, std::string_view fileName);

// Looks names up as ResolveFolder and ResolveFile do, remembering what it found for the length of one
// command that reaches many files: each folder text is resolved once, and a folder's listing is read
// at most once, the first time a name in it is not found as given. From then on every name in that
// folder is answered from the listing, without asking the file system.
//
// Which entry a name finds: the entry spelled exactly as given when there is one, else of the entries
// whose names differ from it only in ASCII letter case the first in byte order ("UNIT.SUI" before
// "Unit.sui" before "unit.sui"), else the name as given.
class PathLookup {
public:
    PathLookup();
    ~PathLookup();
    PathLookup(const PathLookup&) = delete;
    PathLookup& operator=(const PathLookup&) = delete;

    std::filesystem::path folder(std::string_view folderText);
    std::filesystem::path file(std::string_view folderText, std::string_view fileName);
    // As file(), for a caller that opens the file at once: the last part is taken as given without a
    // look, unless its folder's listing is at hand. Where that opens nothing, file() finds the entry.
    std::filesystem::path fileToOpen(std::string_view folderText, std::string_view fileName);

private:
    struct Folder;
    struct Listing;
    Folder& resolveFolder(std::string_view folderText);
    std::filesystem::path resolve(std::string_view folderText, std::string_view fileName, bool lookAtLast);
    std::filesystem::path resolveIn(Folder& folder, std::string_view name, bool lookAtLast);
    std::optional<std::string> findEntry(Folder& folder, std::string_view name, bool probe);
    Listing& listingOf(const std::filesystem::path& folder);

    std::map<std::string, std::unique_ptr<Folder>, std::less<>> m_folders;      // by folder text
    std::map<std::filesystem::path::string_type, std::unique_ptr<Listing>> m_listings;  // by resolved folder
};

// The folder text of a chosen file: its folder as a native text ending in the platform separator.
std::string FolderTextOf(const std::filesystem::path& chosenFile);

// Whether a file name matches a file-dialog pattern ("*.dat", "*.*", "a*.sui;b?.cmd"), ignoring case.
bool MatchesFilterPattern(std::string_view fileName, std::string_view pattern);
