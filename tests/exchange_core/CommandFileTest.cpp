// The command file of the bulk import: its lines, and the files they name.

#include "exchange/core/CommandFile.h"

#include "data/FileIo.h"
#include "data/GamePaths.h"

#include <gtest/gtest.h>

#include "../support/CoreTestSupport.h"

#include <cstdlib>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class TempFolder {
public:
    TempFolder() : path_(MakeTempFolder("corvane-cmd-")) {}
    ~TempFolder()
    {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& path() const { return path_; }
    std::string text() const { return path_.string() + "/"; }

private:
    fs::path path_;
};

// The file a line names, through a lookup of its own.
std::optional<fs::path> LookUp(std::string_view folder, std::string_view line)
{
    PathLookup lookup;
    return CommandLinePath(lookup, folder, line);
}

void WriteText(const fs::path& file, const std::string& text)
{
    std::ofstream out(file, std::ios::binary);
    out << text;
}

using Lines = std::vector<std::string>;

}  // namespace

TEST(CommandLines, LineFeedEndsALineAndTakesACarriageReturnBeforeIt)
{
    EXPECT_EQ(SplitCommandLines(""), Lines{});
    EXPECT_EQ(SplitCommandLines("a.sui"), Lines{"a.sui"});
    EXPECT_EQ(SplitCommandLines("a.sui\n"), Lines{"a.sui"});
    EXPECT_EQ(SplitCommandLines("a.sui\r\nb.sui\r\n"), (Lines{"a.sui", "b.sui"}));
    EXPECT_EQ(SplitCommandLines("a.sui\nb.sui"), (Lines{"a.sui", "b.sui"}));
    EXPECT_EQ(SplitCommandLines("\n"), Lines{""});
    EXPECT_EQ(SplitCommandLines("a\n\nb\n"), (Lines{"a", "", "b"}));
}

TEST(CommandLines, NothingElseIsTrimmed)
{
    EXPECT_EQ(SplitCommandLines(" a.sui \t\r\n"), Lines{" a.sui \t"});
    EXPECT_EQ(SplitCommandLines("a.sui\r"), Lines{"a.sui\r"});
    EXPECT_EQ(SplitCommandLines("a.sui\r\r\n"), Lines{"a.sui\r"});
    EXPECT_EQ(SplitCommandLines("a\rb\n"), Lines{"a\rb"});
}

TEST(CommandFileRead, ReadsLinesOfAnyLengthAndNumber)
{
    TempFolder folder;
    std::string longLine(200000, 'x');
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += "unit" + std::to_string(i) + ".sui\r\n";
    text += longLine;
    WriteText(folder.path() / "all.cmd", text);

    const auto lines = ReadCommandFile(folder.path() / "all.cmd");
    ASSERT_TRUE(lines);
    ASSERT_EQ(lines->size(), 5001u);
    EXPECT_EQ(lines->front(), "unit0.sui");
    EXPECT_EQ(lines->back(), longLine);
}

TEST(CommandFileRead, MissingFileOrFolderCannotBeOpened)
{
    TempFolder folder;
    EXPECT_FALSE(ReadCommandFile(folder.path() / "missing.cmd"));
    EXPECT_FALSE(ReadCommandFile(folder.path()));
    WriteText(folder.path() / "empty.cmd", "");
    const auto empty = ReadCommandFile(folder.path() / "empty.cmd");
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty());
}

TEST(CommandLinePath, NamesAreRelativeToTheCommandFilesFolder)
{
    TempFolder folder;
    fs::create_directories(folder.path() / "cmd" / "sub");
    fs::create_directories(folder.path() / "shared");
    WriteText(folder.path() / "cmd" / "unit0001.sui", "1");
    WriteText(folder.path() / "cmd" / "sub" / "unit0005.sui", "5");
    WriteText(folder.path() / "shared" / "unit0010.sui", "10");
    const std::string base = folder.text() + "cmd/";

    EXPECT_EQ(LookUp(base, "unit0001.sui"), folder.path() / "cmd" / "unit0001.sui");
    const auto sub = LookUp(base, "sub\\unit0005.sui");
    ASSERT_TRUE(sub);
    EXPECT_TRUE(fs::equivalent(*sub, folder.path() / "cmd" / "sub" / "unit0005.sui"));
    const auto parent = LookUp(base, "..\\shared\\unit0010.sui");
    ASSERT_TRUE(parent);
    EXPECT_TRUE(fs::equivalent(*parent, folder.path() / "shared" / "unit0010.sui"));
    const auto slash = LookUp(base, "sub/unit0005.sui");
    ASSERT_TRUE(slash);
    EXPECT_TRUE(fs::equivalent(*slash, folder.path() / "cmd" / "sub" / "unit0005.sui"));
}

TEST(CommandLinePath, NamesWrittenOnWindowsFindFilesWhateverTheirCase)
{
    TempFolder folder;
    fs::create_directories(folder.path() / "Sub");
    WriteText(folder.path() / "Sub" / "unit0005.sui", "5");
    const auto path = LookUp(folder.text(), "SUB\\UNIT0005.SUI");
    ASSERT_TRUE(path);
    EXPECT_TRUE(fs::exists(*path));
    EXPECT_TRUE(fs::equivalent(*path, folder.path() / "Sub" / "unit0005.sui"));
}

TEST(CommandLinePath, DoubleByteCharactersEndingIn5CStayWhole)
{
    TempFolder folder;
    // "表" is 95 5C in code page 932: its second byte is not a separator.
    const fs::path hyou = corvane::PathFromText("表");
    fs::create_directories(folder.path() / hyou);
    WriteText(folder.path() / hyou / corvane::PathFromText("ソ.sui"), "x");
    const auto path = LookUp(folder.text(), "\x95\x5c\\\x83\x5c.sui");
    ASSERT_TRUE(path);
    EXPECT_TRUE(fs::exists(*path));
    EXPECT_EQ(corvane::TextFromPath(path->filename()), "ソ.sui");
}

TEST(CommandLinePath, LinesThatAreNoFileNameGiveNothing)
{
    TempFolder folder;
    EXPECT_FALSE(LookUp(folder.text(), std::string("unit\0.sui", 9)));
    EXPECT_FALSE(LookUp(folder.text(), "\x81"));           // a lead byte without its trail
    EXPECT_FALSE(LookUp(folder.text(), "unit\x81.sui"));   // a lead byte before a '.'
    EXPECT_FALSE(LookUp(folder.text(), "\x85\x40.sui"));   // an unassigned code
}

// Characters with two codes name their file whichever code the line holds, as do the single bytes
// that Windows maps to characters of their own.
TEST(CommandLinePath, EveryCodeOfACharacterNamesItsFile)
{
    TempFolder folder;
    WriteText(folder.path() / corvane::PathFromText("\u2235.sui"), "8");        // 0x81E6, also 0x879A and 0xFA5B
    WriteText(folder.path() / corvane::PathFromText("\u2170.sui"), "9");        // 0xFA40, also 0xEEEF
    WriteText(folder.path() / corvane::PathFromText("\u2160.sui"), "10");       // 0x8754, also 0xFA4A
    WriteText(folder.path() / corvane::PathFromText("u\uF8F3\u0080.sui"), "11");  // the single bytes 0xFF and 0x80
    for (const char* line : {"\x87\x9A.sui", "\xFA\x5B.sui", "\x81\xE6.sui", "\xEE\xEF.sui", "\xFA\x40.sui",
                             "\xFA\x4A.sui", "\x87\x54.sui", "u\xFF\x80.sui"}) {
        const auto path = LookUp(folder.text(), line);
        ASSERT_TRUE(path) << line;
        EXPECT_TRUE(fs::is_regular_file(*path)) << line;
    }
}

TEST(CommandLinePath, BlanksAndEmptyLinesAreKept)
{
    TempFolder folder;
    WriteText(folder.path() / "unit0005.sui", "5");
    const auto blank = LookUp(folder.text(), "unit0005.sui ");
    ASSERT_TRUE(blank);
#ifndef _WIN32
    EXPECT_FALSE(fs::exists(*blank));  // Windows drops blanks at the end of a name
#endif
    const auto empty = LookUp(folder.text(), "");
    ASSERT_TRUE(empty);
    EXPECT_TRUE(fs::is_directory(*empty));
    // A full path of its own is still appended to the folder.
    const auto full = LookUp(folder.text(), (folder.path() / "unit0005.sui").string());
    ASSERT_TRUE(full);
    EXPECT_FALSE(fs::exists(*full));
}
