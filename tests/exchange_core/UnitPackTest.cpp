// The mod pack: what it writes, and a folder left exactly as it was whenever a file system call fails.

#include "exchange/core/UnitPack.h"

#include "data/FileIo.h"
#include "data/GamePaths.h"
#include "exchange/core/CommandFile.h"
#include "exchange/core/UnitFile.h"

#include <gtest/gtest.h>

#include "../support/CoreTestSupport.h"

#include <cerrno>
#include <fstream>
#include <iterator>
#include <map>

namespace fs = std::filesystem;

namespace {

std::string ReadText(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::map<std::string, std::string> Listing(const fs::path& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder))
        files[corvane::TextFromPath(entry.path().filename())] = entry.is_directory() ? "<folder>" : ReadText(entry.path());
    return files;
}

// The n-th create or write call of the data layer fails (n counts from 1); 0 fails none.
int g_failAt = 0;
int g_calls = 0;
corvane::FileWriteHooks g_plain;

class PackFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = MakeTempFolder("corvane-pack-");
        g_plain = corvane::fileWriteHooks;
        for (int u : {3, 700, 1279}) {
            auto record = table_.record(u);
            record.setName("pack");
            record.setPrice(unsigned(u));
            changed_.record(u) = record;
        }
    }
    void TearDown() override
    {
        corvane::fileWriteHooks = g_plain;
        std::error_code ec;
        fs::remove_all(folder_, ec);
    }

    fs::path folder_;
    UnitTable table_;
    UnitTable changed_;
};

}  // namespace

TEST_F(PackFolder, WritesOneFilePerUnitAndAListTheBulkImportReads)
{
    const std::vector<int> units = DifferingUnits(table_, changed_);
    ASSERT_EQ(units, (std::vector<int>{3, 700, 1279}));
    EXPECT_TRUE(PackClashes(folder_, units, kPackCommandFileName).empty());
    ASSERT_FALSE(WritePack(folder_ / "mod", changed_, units, kPackCommandFileName));
    EXPECT_EQ(ReadText(folder_ / "mod" / "units.cmd"), "unit0003.sui\r\nunit0700.sui\r\nunit1279.sui\r\n");
    const auto lines = ReadCommandFile(folder_ / "mod" / "units.cmd");
    ASSERT_TRUE(lines);
    PathLookup lookup;
    for (std::size_t i = 0; i < lines->size(); ++i) {
        UnitFileHeader head;
        UnitRecord record;
        ASSERT_TRUE(ReadCommandLineFile(lookup, corvane::TextFromPath(folder_ / "mod") + "/", (*lines)[i], head, record));
        EXPECT_TRUE(IsUsableUnitFile(head));
        EXPECT_EQ(head.unitNumber, units[i]);
        EXPECT_EQ(record.bytes, changed_.record(units[i]).bytes);
    }
    EXPECT_EQ(PackClashes(folder_ / "mod", {3, 4}, kPackCommandFileName),
              (std::vector<std::string>{"unit0003.sui", "units.cmd"}));
}

TEST_F(PackFolder, AFailingCallAnywhereLeavesTheFolderAsItWas)
{
    const std::vector<int> units = DifferingUnits(table_, changed_);
    // One file of the pack is there already (it is replaced), another name belongs to a stranger.

    corvane::fileWriteHooks.createFile = [](const fs::path& file) {
        return ++g_calls == g_failAt ? (errno = EACCES, -1) : g_plain.createFile(file);
    };
    corvane::fileWriteHooks.writeSome = [](int fd, const void* data, std::size_t size) -> long {
        return ++g_calls == g_failAt ? (errno = ENOSPC, -1) : g_plain.writeSome(fd, data, size);
    };
    g_failAt = 0;
    g_calls = 0;
    ASSERT_FALSE(WritePack(folder_ / "count", changed_, units, kPackCommandFileName));
    const int total = g_calls;
    ASSERT_GE(total, 8);
    std::ofstream(folder_ / "unit0700.sui", std::ios::binary) << "old bytes";
    std::ofstream(folder_ / "notes.txt", std::ios::binary) << "mine";
    const auto before = Listing(folder_);
    for (g_failAt = 1; g_failAt <= total; ++g_failAt) {
        g_calls = 0;
        const auto failure = WritePack(folder_, changed_, units, kPackCommandFileName);
        ASSERT_TRUE(failure) << g_failAt;
        EXPECT_TRUE(failure->err == EACCES || failure->err == ENOSPC) << failure->err;
        EXPECT_EQ(Listing(folder_), before) << "call " << g_failAt << " failing, at " << failure->path;
    }
    // A folder the pack made goes again.
    g_failAt = total;
    g_calls = 0;
    EXPECT_TRUE(WritePack(folder_ / "new", changed_, units, kPackCommandFileName));
    EXPECT_FALSE(fs::exists(folder_ / "new"));

    g_failAt = 0;
    ASSERT_FALSE(WritePack(folder_, changed_, units, kPackCommandFileName));
    EXPECT_EQ(ReadText(folder_ / "unit0700.sui").size(), kUnitFileSize);
    EXPECT_EQ(Listing(folder_).size(), before.size() + 3);  // no kept copy of the old file remains
}

#ifndef _WIN32
TEST_F(PackFolder, ReadOnlyFilesAndLinksAreTreatedAsTheSingleExportTreatsThem)
{
    const std::vector<int> units{3, 700};
    fs::create_directory(folder_ / "elsewhere");
    std::ofstream(folder_ / "elsewhere" / "real.sui", std::ios::binary) << "x";
    fs::create_symlink(folder_ / "elsewhere" / "real.sui", folder_ / "unit0003.sui");
    ASSERT_FALSE(WritePack(folder_, changed_, units, kPackCommandFileName));
    EXPECT_TRUE(fs::is_symlink(folder_ / "unit0003.sui"));
    EXPECT_EQ(ReadText(folder_ / "elsewhere" / "real.sui").size(), kUnitFileSize);
    EXPECT_FALSE(fs::exists(folder_ / "elsewhere" / "real.sui.corvane-old"));

    fs::permissions(folder_ / "unit0700.sui", fs::perms::owner_read);
    const auto before = Listing(folder_);
    const auto failure = WritePack(folder_, table_, units, kPackCommandFileName);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->path, folder_ / "unit0700.sui");
    EXPECT_EQ(Listing(folder_), before);
    const auto bytes = UnitFileBytes(3, changed_.record(3));
    EXPECT_EQ(ReadText(folder_ / "elsewhere" / "real.sui"), std::string(bytes.begin(), bytes.end()));

    // A command file named like the game's table (here through a link) is refused, and the pack undone.
    std::ofstream(folder_ / "elsewhere" / "UNITINFO.DAT", std::ios::binary) << "table";
    fs::create_symlink(folder_ / "elsewhere" / "UNITINFO.DAT", folder_ / "mod.cmd");
    fs::permissions(folder_ / "unit0700.sui", fs::perms::owner_all);
    const auto listed = Listing(folder_);
    const fs::path tables[] = {folder_ / "elsewhere" / "UNITINFO.DAT"};
    const auto refused = WritePack(folder_, changed_, units, "mod.cmd", tables);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->step, corvane::ReplaceError::Step::Refused);
    EXPECT_EQ(refused->path, folder_ / "mod.cmd");
    EXPECT_EQ(ReadText(tables[0]), "table");
    EXPECT_EQ(Listing(folder_), listed);
}
#endif
