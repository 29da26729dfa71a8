#include "data/GamePaths.h"

#include "data/FileIo.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <system_error>
#include <vector>

#ifndef _WIN32
#include <dirent.h>
#include <cerrno>
#endif

namespace fs = std::filesystem;

namespace {

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

#ifndef _WIN32

bool IsDriveLetter(char c)
{
    return LowerAscii(c) >= 'a' && LowerAscii(c) <= 'z';
}

bool IsDriveText(std::string_view text)
{
    return text.size() >= 2 && text[1] == ':' && IsDriveLetter(text[0]);
}

// The separators of a text. A text of the game's world (one with a drive letter) takes backslashes as
// Windows does; in a folder of this system a backslash may be part of a name.
std::string_view Separators(std::string_view text)
{
    return IsDriveText(text) ? "\\/" : "/";
}

// Folder text followed by a file name. The file names of the program and of command files separate
// their parts with backslashes, which become this system's separator after a folder of this system.
std::string Joined(std::string_view folderText, std::string_view fileName)
{
    std::string text(folderText);
    const std::size_t start = text.size();
    text += fileName;
    if (!IsDriveText(text))
        std::replace(text.begin() + static_cast<std::ptrdiff_t>(start), text.end(), '\\', '/');
    return text;
}

fs::path WinePrefix()
{
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix)
        return prefix;
    const char* home = std::getenv("HOME");
    return fs::path(home ? home : "") / ".wine";
}

// Where a drive letter of the game's (Windows) world lies on this machine.
fs::path DriveRoot(char letter)
{
    letter = LowerAscii(letter);
    if (letter == 'c')
        return WinePrefix() / "drive_c";
    return WinePrefix() / "dosdevices" / std::string{letter, ':'};
}

std::string LowerCase(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        c = LowerAscii(c);
    return lower;
}

// Where the last part of a text begins: after its last separator, or after a drive letter's colon.
std::size_t LastPartStart(std::string_view text)
{
    const std::size_t separator = text.find_last_of(Separators(text));
    if (separator != std::string_view::npos)
        return separator + 1;
    return IsDriveText(text) ? 2 : 0;
}

bool Exists(const fs::path& entry)
{
    std::error_code ec;
    return fs::symlink_status(entry, ec).type() != fs::file_type::not_found && !ec;
}

#endif

}  // namespace

// The names in a folder as pairs of their ASCII lower-case form and the name itself, in that order:
// the names that differ only in case stand together, in byte order.
struct PathLookup::Listing {
    bool read = false;  // false when the folder could not be listed
    std::vector<std::pair<std::string, std::string>> names;
};

struct PathLookup::Folder {
    fs::path path;
    bool found = true;             // every part exists, so names in it can be looked up
    Listing* listing = nullptr;    // its listing, once one has been read
};

PathLookup::PathLookup() = default;
PathLookup::~PathLookup() = default;

#ifndef _WIN32

PathLookup::Folder& PathLookup::resolveFolder(std::string_view folderText)
{
    if (const auto known = m_folders.find(folderText); known != m_folders.end())
        return *known->second;
    auto folder = std::make_unique<Folder>();
    std::string_view inner = folderText;
    while (!inner.empty() && Separators(folderText).find(inner.back()) != std::string_view::npos)
        inner.remove_suffix(1);
    if (folderText.empty()) {
        // the current folder
    } else if (inner.empty()) {
        folder->path = "/";
    } else if (inner.size() == 2 && inner[1] == ':' && IsDriveLetter(inner[0])) {
        folder->path = DriveRoot(inner[0]);
    } else {
        const std::size_t start = LastPartStart(inner);
        const std::string_view part = inner.substr(start);
        Folder& parent = resolveFolder(inner.substr(0, start));
        folder->path = parent.path;
        folder->found = parent.found;
        if (part == "..") {
            folder->path /= part;
        } else if (!part.empty() && part != ".") {
            const std::optional<std::string> entry = parent.found ? findEntry(parent, part, true) : std::nullopt;
            folder->found = parent.found && entry;
            folder->path /= entry ? std::string_view(*entry) : part;
        }
    }
    return *m_folders.emplace(std::string(folderText), std::move(folder)).first->second;
}

fs::path PathLookup::resolve(std::string_view folderText, std::string_view fileName, bool lookAtLast)
{
    // A plain name after a folder text that ends in a separator needs no joining.
    if (fileName.find_first_of("/\\") == std::string_view::npos && !folderText.empty()
        && Separators(folderText).find(folderText.back()) != std::string_view::npos)
        return resolveIn(resolveFolder(folderText), fileName, lookAtLast);
    const std::string text = Joined(folderText, fileName);
    const std::size_t start = LastPartStart(text);
    return resolveIn(resolveFolder(std::string_view(text).substr(0, start)), std::string_view(text).substr(start),
                     lookAtLast);
}

fs::path PathLookup::resolveIn(Folder& folder, std::string_view name, bool lookAtLast)
{
    if (name.empty() || name == ".")
        return folder.path;
    if (name == ".." || !folder.found)
        return folder.path / name;
    const std::optional<std::string> entry = findEntry(folder, name, lookAtLast);
    return folder.path / (entry ? std::string_view(*entry) : name);
}

std::optional<std::string> PathLookup::findEntry(Folder& folder, std::string_view name, bool probe)
{
    if (!folder.listing) {
        // A listing read for this folder under another spelling of its text answers too.
        if (const auto known = m_listings.find(folder.path.native()); known != m_listings.end())
            folder.listing = known->second.get();
    }
    if (!folder.listing || !folder.listing->read) {
        const fs::path dir = folder.path.empty() ? fs::path(".") : folder.path;
        if (!probe || Exists(dir / name))
            return std::string(name);
        if (!folder.listing)
            folder.listing = &listingOf(folder.path);
        if (!folder.listing->read)
            return std::nullopt;
    }
    const std::string lower = LowerCase(name);
    const auto& names = folder.listing->names;
    auto entry = std::lower_bound(names.begin(), names.end(), lower,
                                  [](const auto& candidate, const std::string& key) { return candidate.first < key; });
    if (entry == names.end() || entry->first != lower)
        return std::nullopt;
    for (auto same = entry; same != names.end() && same->first == lower; ++same)
        if (same->second == name)
            return same->second;
    return entry->second;
}

PathLookup::Listing& PathLookup::listingOf(const fs::path& folder)
{
    auto listing = std::make_unique<Listing>();
    if (DIR* stream = ::opendir(folder.empty() ? "." : folder.c_str())) {
        listing->read = true;
        errno = 0;
        while (const dirent* entry = ::readdir(stream)) {
            const std::string_view name = entry->d_name;
            if (name != "." && name != "..")
                listing->names.emplace_back(LowerCase(name), name);
            errno = 0;
        }
        if (errno != 0)
            listing->read = false;
        ::closedir(stream);
        std::sort(listing->names.begin(), listing->names.end());
    }
    return *m_listings.emplace(folder.native(), std::move(listing)).first->second;
}

fs::path PathLookup::folder(std::string_view folderText)
{
    const fs::path& path = resolveFolder(folderText).path;
    return path.empty() ? fs::path(".") : path;
}

fs::path PathLookup::file(std::string_view folderText, std::string_view fileName)
{
    return resolve(folderText, fileName, true);
}

fs::path PathLookup::fileToOpen(std::string_view folderText, std::string_view fileName)
{
    return resolve(folderText, fileName, false);
}

#else

// Windows finds names whatever their case by itself.
fs::path PathLookup::folder(std::string_view folderText)
{
    return folderText.empty() ? fs::path(".") : corvane::PathFromText(folderText);
}

fs::path PathLookup::file(std::string_view folderText, std::string_view fileName)
{
    return corvane::PathFromText(std::string(folderText) + std::string(fileName));
}

fs::path PathLookup::fileToOpen(std::string_view folderText, std::string_view fileName)
{
    return file(folderText, fileName);
}

#endif

fs::path ResolveFolder(std::string_view folderText)
{
    return PathLookup().folder(folderText);
}

fs::path ResolveFile(std::string_view folderText, std::string_view fileName)
{
    return PathLookup().file(folderText, fileName);
}

std::string FolderTextOf(const fs::path& chosenFile)
{
    std::string folder = corvane::TextFromPath(chosenFile.parent_path());
    if (!folder.empty() && folder.back() != static_cast<char>(fs::path::preferred_separator))
        folder += static_cast<char>(fs::path::preferred_separator);
    return folder;
}

namespace {

bool MatchesOne(std::string_view name, std::string_view pattern)
{
    if (pattern.empty())
        return name.empty();
    if (pattern[0] == '*') {
        for (std::size_t skip = 0; skip <= name.size(); ++skip)
            if (MatchesOne(name.substr(skip), pattern.substr(1)))
                return true;
        return false;
    }
    if (name.empty() || (pattern[0] != '?' && LowerAscii(pattern[0]) != LowerAscii(name[0])))
        return false;
    return MatchesOne(name.substr(1), pattern.substr(1));
}

}  // namespace

bool MatchesFilterPattern(std::string_view fileName, std::string_view pattern)
{
    while (true) {
        const auto semicolon = pattern.find(';');
        std::string_view one = pattern.substr(0, semicolon);
        while (!one.empty() && one.front() == ' ')
            one.remove_prefix(1);
        // "*.*" stands for every file, also one without a dot.
        if (one == "*.*" || MatchesOne(fileName, one))
            return true;
        if (semicolon == std::string_view::npos)
            return false;
        pattern.remove_prefix(semicolon + 1);
    }
}
