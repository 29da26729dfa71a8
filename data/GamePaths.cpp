#include "data/GamePaths.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

#ifndef _WIN32

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

bool IsDriveLetter(char c)
{
    return LowerAscii(c) >= 'a' && LowerAscii(c) <= 'z';
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

// The name of the entry of folder that matches name: itself when it exists, else the first (in name
// order) that matches without regard to case.
std::optional<std::string> FindEntry(const fs::path& folder, const std::string& name)
{
    std::error_code ec;
    const fs::path dir = folder.empty() ? fs::path(".") : folder;
    if (fs::symlink_status(dir / name, ec).type() != fs::file_type::not_found && !ec)
        return name;
    std::optional<std::string> best;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::string candidate = it->path().filename().string();
        if (EqualsIgnoringCase(candidate, name) && (!best || candidate < *best))
            best = std::move(candidate);
    }
    return best;
}

fs::path ResolveText(std::string_view text)
{
    fs::path result;
    if (text.size() >= 2 && text[1] == ':' && IsDriveLetter(text[0])) {
        result = DriveRoot(text[0]);
        text.remove_prefix(2);
    } else if (!text.empty() && IsSeparator(text[0])) {
        result = "/";
    }
    bool found = true;  // every part so far exists, so the next can be looked up
    while (!text.empty()) {
        const auto end = std::find_if(text.begin(), text.end(), IsSeparator);
        const std::string part(text.begin(), end);
        text.remove_prefix(static_cast<std::size_t>(end - text.begin()));
        if (!text.empty())
            text.remove_prefix(1);
        if (part.empty() || part == ".")
            continue;
        std::optional<std::string> entry;
        if (found && part != "..")
            entry = FindEntry(result, part);
        found = found && (entry || part == "..");
        result /= entry.value_or(part);
    }
    return result;
}

#else

fs::path ResolveText(std::string_view text)
{
    return fs::path(std::string(text));
}

#endif

}  // namespace

fs::path ResolveFolder(std::string_view folderText)
{
    fs::path folder = ResolveText(folderText);
    return folder.empty() ? fs::path(".") : folder;
}

fs::path ResolveFile(std::string_view folderText, std::string_view fileName)
{
    std::string text(folderText);
    text += fileName;
    return ResolveText(text);
}

std::string FolderTextOf(const fs::path& chosenFile)
{
    std::string folder = chosenFile.parent_path().string();
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
