#include <gtest/gtest.h>

#include "DataTestSupport.h"
#include "data/GamePaths.h"

#ifndef _WIN32
namespace {

// Sets an environment variable (nullptr: removes it) for one test.
struct ScopedEnv {
    const char* name;
    std::optional<std::string> old;
    ScopedEnv(const char* n, const char* value) : name(n)
    {
        if (const char* o = std::getenv(n))
            old = o;
        value ? ::setenv(n, value, 1) : ::unsetenv(n);
    }
    ~ScopedEnv() { old ? ::setenv(name, old->c_str(), 1) : ::unsetenv(name); }
};

}  // namespace

TEST(GamePaths, FindsNamesWhateverTheirCase)
{
    TempFolder game;
    for (const char* name : {"unitinfo.dat", "Weaponkd.Dat", "unit/UNIT007S.BMP", "Sub Dir/x", "BOTH.DAT", "both.dat"})
        WriteBytes(game.path() / name, {1});
    const fs::path g = game.path();
    EXPECT_EQ(ResolveFile(game.text(), "UNITINFO.DAT"), g / "unitinfo.dat");
    EXPECT_EQ(ResolveFile(game.text(), "Unitinfo.Dat"), g / "unitinfo.dat");
    EXPECT_EQ(ResolveFile(game.text(), "WEAPONKD.DAT"), g / "Weaponkd.Dat");
    EXPECT_EQ(ResolveFile(game.text(), "Unit\\Unit007s.bmp"), g / "unit" / "UNIT007S.BMP");
    EXPECT_EQ(ResolveFile(game.text(), "both.dat"), g / "both.dat");  // an exact match comes first
    EXPECT_EQ(ResolveFile(game.text(), "BOTH.DAT"), g / "BOTH.DAT");
    // A missing name stays as given, under the parts that were found.
    EXPECT_EQ(ResolveFile(game.text(), "UNITINFO.ORG"), g / "UNITINFO.ORG");
    EXPECT_EQ(ResolveFile(game.text(), "Unit\\Unit008.bmp"), g / "unit" / "Unit008.bmp");
    // A folder text without its final separator runs into the file name.
    EXPECT_EQ(ResolveFile(g.string(), "UNITINFO.DAT"), fs::path(g.string() + "UNITINFO.DAT"));
    EXPECT_EQ(ResolveFolder(""), fs::path("."));
    EXPECT_EQ(ResolveFile("", "UNITINFO.DAT"), fs::path("UNITINFO.DAT"));
}

TEST(GamePaths, OneLookupReadsAFoldersListingOnceAndAnswersFromIt)
{
    TempFolder game;
    WriteBytes(game.path() / "sub" / "UNIT.SUI", {1});
    WriteBytes(game.path() / "sub" / "Unit.sui", {1});
    const fs::path sub = game.path() / "sub";
    PathLookup lookup;
    // A name to be opened at once is taken as given while its folder has not been listed.
    EXPECT_EQ(lookup.fileToOpen(game.text(), "SUB\\unit.sui"), sub / "unit.sui");
    // Not found as given: the listing is read, and the first of the two spellings in byte order wins.
    EXPECT_EQ(lookup.file(game.text(), "SUB\\unit.sui"), sub / "UNIT.SUI");
    EXPECT_EQ(lookup.file(game.text(), "Sub\\Unit.sui"), sub / "Unit.sui");
    // From now on the listing answers, also for names to be opened; a file made later is not in it.
    WriteBytes(sub / "unit.sui", {1});
    EXPECT_EQ(lookup.fileToOpen(game.text(), "sub\\unit.sui"), sub / "UNIT.SUI");
    EXPECT_EQ(lookup.folder(game.text() + "SUB/"), sub);
    // The next command sees it.
    EXPECT_EQ(PathLookup().file(game.text(), "sub\\unit.sui"), sub / "unit.sui");
}

TEST(GamePaths, BackslashSeparatesInWindowsTextsAndFileNamesOnly)
{
    TempFolder game;
    WriteBytes(game.path() / "a\\b" / "UNITINFO.DAT", {1});  // a folder named "a\b"
    WriteBytes(game.path() / "a" / "b" / "Unit" / "Unit001.bmp", {2});
    EXPECT_EQ(ResolveFile(game.text() + "a\\b/", "UNITINFO.DAT"), game.path() / "a\\b" / "UNITINFO.DAT");
    EXPECT_EQ(ResolveFile(game.text() + "a/b/", "unit\\UNIT001.BMP"), game.path() / "a" / "b" / "Unit" / "Unit001.bmp");
    EXPECT_EQ(ResolveFolder(game.text() + "a\\b"), game.path() / "a\\b");
}

TEST(GamePaths, DriveLettersMapIntoTheWinePrefix)
{
    TempFolder prefix;
    const fs::path ds6 = prefix.path() / "drive_c" / "Program Files" / "SystemSoft Game" / "DS6";
    WriteBytes(ds6 / "UnitInfo.dat", {1});
    fs::create_directories(prefix.path() / "dosdevices" / "d:" / "Games");
    {
        ScopedEnv env("WINEPREFIX", prefix.path().c_str());
        EXPECT_EQ(ResolveFolder("c:\\Program Files\\SystemSoft Game\\Ds6\\"), ds6);
        EXPECT_EQ(ResolveFile("C:\\PROGRAM FILES\\systemsoft game\\ds6\\", "UNITINFO.DAT"), ds6 / "UnitInfo.dat");
        EXPECT_EQ(ResolveFolder("C:\\program files\\SYSTEMSOFT GAME\\ds6"), ds6);
        EXPECT_EQ(ResolveFile("d:\\games\\", "X.DAT"), prefix.path() / "dosdevices" / "d:" / "Games" / "X.DAT");
    }
    ScopedEnv noPrefix("WINEPREFIX", nullptr);
    ScopedEnv home("HOME", prefix.path().c_str());
    EXPECT_EQ(ResolveFile("c:\\Game\\", "A.DAT"), prefix.path() / ".wine" / "drive_c" / "Game" / "A.DAT");
}

TEST(GamePaths, FolderTextOfAChosenFile)
{
    EXPECT_EQ(FolderTextOf("/games/ds6/WEAPONKD.DAT"), "/games/ds6/");
    EXPECT_EQ(FolderTextOf("/UNITINFO.DAT"), "/");
    EXPECT_EQ(FolderTextOf("UNITINFO.DAT"), "");
}

#else
TEST(GamePaths, WideNamesOnWindows)
{
    const std::string folder = "C:\\\xe3\x82\xb2\xe3\x83\xbc\xe3\x83\xa0\\DS6\\";  // C:\ゲーム\DS6\ in UTF-8
    EXPECT_EQ(ResolveFile(folder, "UNITINFO.DAT"), fs::path(L"C:\\\u30b2\u30fc\u30e0\\DS6\\UNITINFO.DAT"));
    EXPECT_EQ(FolderTextOf(fs::path(L"C:\\\u30b2\u30fc\u30e0\\DS6\\WEAPONKD.DAT")), folder);
}
#endif

TEST(GamePaths, FilterPatterns)
{
    EXPECT_TRUE(MatchesFilterPattern("UNITINFO.DAT", "*.dat"));
    EXPECT_FALSE(MatchesFilterPattern("UNITINFO.ORG", "*.dat"));
    EXPECT_FALSE(MatchesFilterPattern("x.data", "*.dat"));
    EXPECT_TRUE(MatchesFilterPattern("README", "*.*"));
    EXPECT_TRUE(MatchesFilterPattern("Unit007s.bmp", "UNIT???S.*"));
    EXPECT_TRUE(MatchesFilterPattern("list.cmd", "*.sui; *.cmd"));
    EXPECT_FALSE(MatchesFilterPattern("list.txt", "*.sui;*.cmd"));
}
