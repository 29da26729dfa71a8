#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "demo/DemoGameFolder.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class WriteGameFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        static std::atomic<int> counter{0};
        root_ = fs::temp_directory_path()
            / ("corvane-demo-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    void TearDown() override { fs::remove_all(root_); }

    fs::path root_;
};

TEST_F(WriteGameFolderTest, WritesEveryFileWithItsBytes)
{
    const GameFolderFiles files = MakeDemoGameFiles();
    const fs::path folder = root_ / "new" / "Game Folder";
    WriteGameFolder(folder, files);

    EXPECT_EQ(ReadAll(folder / "UNITINFO.DAT"), files.unitInfo);
    EXPECT_EQ(ReadAll(folder / "WEAPONKD.DAT"), files.weapons);
    EXPECT_EQ(ReadAll(folder / "UNITKIND.DAT"), files.kinds);
    EXPECT_EQ(ReadAll(folder / "MVCOSTKD.DAT"), files.moveCosts);
    EXPECT_EQ(ReadAll(folder / "prokind.dat"), files.productionTypes);
    std::size_t pictures = 0;
    for (const auto& entry : fs::directory_iterator(folder / "Unit")) {
        ++pictures;
        const std::string name = entry.path().filename().string();
        ASSERT_TRUE(files.pictures.count(name)) << name;
        EXPECT_EQ(ReadAll(entry.path()), files.pictures.at(name)) << name;
    }
    EXPECT_EQ(pictures, files.pictures.size());
}

TEST_F(WriteGameFolderTest, WritesChangedBytesAndSizesAsGivenOverAnEarlierFolder)
{
    GameFolderFiles files = MakeDemoGameFiles();
    WriteGameFolder(root_, files);

    files.unitInfo.resize(1000);          // a short unit table, for load-error tests
    files.weapons[16] = 0x41;
    files.productionTypes.clear();
    files.pictures = {{"Unit777.bmp", MakeBmp(4, 2, [](int, int) { return BmpColor{9, 9, 9}; })}};
    WriteGameFolder(root_, files);

    EXPECT_EQ(fs::file_size(root_ / "UNITINFO.DAT"), 1000u);
    EXPECT_EQ(ReadAll(root_ / "WEAPONKD.DAT"), files.weapons);
    EXPECT_EQ(fs::file_size(root_ / "prokind.dat"), 0u);
    EXPECT_EQ(ReadAll(root_ / "Unit" / "Unit777.bmp"), files.pictures.at("Unit777.bmp"));
    EXPECT_TRUE(fs::exists(root_ / "Unit" / "Unit001.bmp")); // earlier pictures are left in place
}

TEST_F(WriteGameFolderTest, RefusesPictureNamesOutsideTheUnitFolderBeforeWritingAnything)
{
    GameFolderFiles files = MakeDemoGameFiles();
    for (const char* bad : {"../escape.bmp", "sub/x.bmp", "..", "", "a\\b.bmp"}) {
        files.pictures = {{bad, {1, 2, 3}}};
        EXPECT_THROW(WriteGameFolder(root_ / "g", files), std::invalid_argument) << bad;
    }
    EXPECT_FALSE(fs::exists(root_ / "g"));
    EXPECT_FALSE(fs::exists(root_ / "escape.bmp"));
}

TEST_F(WriteGameFolderTest, ReportsAFileInTheWayAsAnError)
{
    const GameFolderFiles files = MakeDemoGameFiles();
    std::ofstream(root_ / "occupied") << "x";
    try {
        WriteGameFolder(root_ / "occupied", files);
        FAIL() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("occupied"), std::string::npos) << error.what();
    }

    fs::create_directories(root_ / "g" / "UNITINFO.DAT"); // a folder where a file should go
    EXPECT_THROW(WriteGameFolder(root_ / "g", files), std::runtime_error);
}

} // namespace
