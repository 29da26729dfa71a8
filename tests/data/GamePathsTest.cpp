#include <gtest/gtest.h>

#include <cstdlib>

#include "DataTestSupport.h"
#include "data/GamePaths.h"

namespace {

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedEnv() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

void Touch(const fs::path& file)
{
    fs::create_directories(file.parent_path());
    WriteBytes(file, {1});
}

}  // namespace

TEST(GamePaths, FindsFilesWhateverTheirCase)
{
    TempFolder game;
    Touch(game.path() / "unitinfo.dat");
    Touch(game.path() / "Weaponkd.Dat");
    Touch(game.path() / "unit" / "UNIT007S.BMP");
    EXPECT_EQ(ResolveFile(game.text(), "UNITINFO.DAT"), game.path() / "unitinfo.dat");
    EXPECT_EQ(ResolveFile(game.text(), "Unitinfo.Dat"), game.path() / "unitinfo.dat");
    EXPECT_EQ(ResolveFile(game.text(), "WEAPONKD.DAT"), game.path() / "Weaponkd.Dat");
    EXPECT_EQ(ResolveFile(game.text(), "Unit\\Unit007s.bmp"), game.path() / "unit" / "UNIT007S.BMP");
    // A missing file keeps the name as given, in the folder that was found.
    EXPECT_EQ(ResolveFile(game.text(), "UNITINFO.ORG"), game.path() / "UNITINFO.ORG");
    EXPECT_EQ(ResolveFile(game.text(), "Unit\\Unit008.bmp"), game.path() / "unit" / "Unit008.bmp");
}

TEST(GamePaths, PrefersTheExactNameAndJoinsFolderAndNameDirectly)
{
    TempFolder game;
    Touch(game.path() / "UNITINFO.DAT");
    Touch(game.path() / "unitinfo.dat");
    EXPECT_EQ(ResolveFile(game.text(), "unitinfo.dat"), game.path() / "unitinfo.dat");
    EXPECT_EQ(ResolveFile(game.text(), "UNITINFO.DAT"), game.path() / "UNITINFO.DAT");
    // A folder text without its final separator runs into the file name.
    EXPECT_EQ(ResolveFile(game.path().string(), "UNITINFO.DAT"), fs::path(game.path().string() + "UNITINFO.DAT"));
}

TEST(GamePaths, BackslashesAndAnEmptyFolder)
{
    TempFolder game;
    Touch(game.path() / "Sub Dir" / "UNITINFO.DAT");
    std::string windowsStyle = game.path().string() + "\\sub dir\\";
    EXPECT_EQ(ResolveFile(windowsStyle, "unitinfo.dat"), game.path() / "Sub Dir" / "UNITINFO.DAT");
    EXPECT_EQ(ResolveFolder(windowsStyle), game.path() / "Sub Dir");
    EXPECT_EQ(ResolveFolder(""), fs::path("."));
    EXPECT_EQ(ResolveFile("", "UNITINFO.DAT"), fs::path("UNITINFO.DAT"));
}

TEST(GamePaths, DriveLettersMapIntoTheWinePrefix)
{
    TempFolder prefix;
    Touch(prefix.path() / "drive_c" / "Program Files" / "SystemSoft Game" / "DS6" / "UnitInfo.dat");
    fs::create_directories(prefix.path() / "dosdevices" / "d:" / "Games");
    ScopedEnv env("WINEPREFIX", prefix.path().c_str());

    const std::string folder = "c:\\Program Files\\SystemSoft Game\\Ds6\\";
    const fs::path ds6 = prefix.path() / "drive_c" / "Program Files" / "SystemSoft Game" / "DS6";
    EXPECT_EQ(ResolveFolder(folder), ds6);
    EXPECT_EQ(ResolveFile(folder, "UNITINFO.DAT"), ds6 / "UnitInfo.dat");
    EXPECT_EQ(ResolveFile("C:\\PROGRAM FILES\\systemsoft game\\ds6\\", "UNITINFO.DAT"), ds6 / "UnitInfo.dat");
    EXPECT_EQ(ResolveFile("d:\\games\\", "X.DAT"), prefix.path() / "dosdevices" / "d:" / "Games" / "X.DAT");
}

TEST(GamePaths, WithoutWinePrefixTheHomeWineFolderCounts)
{
    TempFolder home;
    ScopedEnv noPrefix("WINEPREFIX", nullptr);
    ScopedEnv env("HOME", home.path().c_str());
    EXPECT_EQ(ResolveFile("c:\\Game\\", "A.DAT"), home.path() / ".wine" / "drive_c" / "Game" / "A.DAT");
}

TEST(GamePaths, FolderTextOfAChosenFile)
{
    EXPECT_EQ(FolderTextOf("/games/ds6/UNITINFO.DAT"), "/games/ds6/");
    EXPECT_EQ(FolderTextOf("/UNITINFO.DAT"), "/");
    EXPECT_EQ(FolderTextOf("UNITINFO.DAT"), "");
    const fs::path chosen = "/games/ds6/WEAPONKD.DAT";
    EXPECT_EQ(ResolveFile(FolderTextOf(chosen), "UNITINFO.DAT"), fs::path("/games/ds6/UNITINFO.DAT"));
}

TEST(GamePaths, FilterPatterns)
{
    EXPECT_TRUE(MatchesFilterPattern("UNITINFO.DAT", "*.dat"));
    EXPECT_TRUE(MatchesFilterPattern("unit0016.SUI", "*.sui"));
    EXPECT_FALSE(MatchesFilterPattern("UNITINFO.ORG", "*.dat"));
    EXPECT_FALSE(MatchesFilterPattern("x.data", "*.dat"));
    EXPECT_TRUE(MatchesFilterPattern("README", "*.*"));
    EXPECT_TRUE(MatchesFilterPattern("Unit007s.bmp", "Unit???s.*"));
    EXPECT_TRUE(MatchesFilterPattern("list.cmd", "*.sui; *.cmd"));
    EXPECT_FALSE(MatchesFilterPattern("list.txt", "*.sui;*.cmd"));
}
