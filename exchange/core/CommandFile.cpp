#include "exchange/core/CommandFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <system_error>

#include "data/Cp932.h"
#include "data/FileIo.h"
#include "data/GamePaths.h"

namespace fs = std::filesystem;

std::vector<std::string> SplitCommandLines(std::string_view text)
{
    std::vector<std::string> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (end != std::string_view::npos && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.emplace_back(line);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return lines;
}

std::optional<std::vector<std::string>> ReadCommandFile(const fs::path& commandFile)
{
    std::error_code ec;
    if (!fs::is_regular_file(commandFile, ec))
        return std::nullopt;
#ifdef _WIN32
    std::FILE* in = _wfopen(commandFile.c_str(), L"rb");
#else
    std::FILE* in = std::fopen(commandFile.c_str(), "rb");
#endif
    if (!in)
        return std::nullopt;
    std::string text;
    char chunk[65536];
    while (const std::size_t n = std::fread(chunk, 1, sizeof chunk, in))
        text.append(chunk, n);
    const bool failed = std::ferror(in) != 0;
    std::fclose(in);
    if (failed)
        return std::nullopt;
    return SplitCommandLines(text);
}

namespace {

std::optional<fs::path> LinePath(PathLookup& lookup, std::string_view folderText, std::string_view line, bool toOpen)
{
    if (line.find('\0') != std::string_view::npos)
        return std::nullopt;
#ifndef _WIN32
    // A line of ASCII characters is its own name in any file-name encoding.
    if (std::all_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return toOpen ? lookup.fileToOpen(folderText, line) : lookup.file(folderText, line);
#endif
    // Decoding before the separators are looked at keeps a trail byte 0x5C (as in "表") inside its
    // character. A character with several codes is text whichever code it has.
    const std::optional<std::u16string> decoded = cp932::decodeValid(line);
    if (!decoded)
        return std::nullopt;
    const std::u16string& text = *decoded;
#ifdef _WIN32
    (void)lookup;
    (void)toOpen;
    fs::path path = corvane::PathFromText(folderText);
    path += fs::path(text);
    return path;
#else
    const std::string name = fs::path(text).string();
    return toOpen ? lookup.fileToOpen(folderText, name) : lookup.file(folderText, name);
#endif
}

}  // namespace

std::optional<fs::path> CommandLinePath(PathLookup& lookup, std::string_view folderText, std::string_view line)
{
    return LinePath(lookup, folderText, line, false);
}

bool ReadCommandLineFile(PathLookup& lookup, std::string_view folderText, std::string_view line,
                         UnitFileHeader& head, UnitRecord& record)
{
    const std::optional<fs::path> given = LinePath(lookup, folderText, line, true);
    if (!given)
        return false;
    if (ReadUnitFile(*given, head, record))
        return true;
    const std::optional<fs::path> found = LinePath(lookup, folderText, line, false);
    return found && *found != *given && ReadUnitFile(*found, head, record);
}
