// The unit exchange file: its bytes, reading any file safely, and replacing a file without risk.

#include "exchange/core/UnitFile.h"

#include "data/FileIo.h"
#include "data/UnitTable.h"

#include <gtest/gtest.h>

#include "../support/CoreTestSupport.h"

#include <cerrno>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>


namespace fs = std::filesystem;

namespace {

class TempFolder {
public:
    TempFolder() : path_(MakeTempFolder("corvane-sui-")) {}
    ~TempFolder()
    {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

std::vector<std::uint8_t> ReadBytes(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const fs::path& file, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A table whose every record has bytes of its own, and a 24-byte name without terminator in unit 7.
const UnitTable& DemoTable()
{
    static const UnitTable table = [] {
        std::vector<std::uint8_t> image(kUnitTableSize);
        for (std::size_t i = 0; i < image.size(); ++i)
            image[i] = static_cast<std::uint8_t>((i * 7 + i / 138) & 0xff);
        UnitTable t;
        t.load(image);
        for (int u = 0; u < kUnitCount; ++u)
            t.record(u).setName("unit" + std::to_string(u));
        t.record(7).setName("\x92\xb4\x8d\x82\x91\xac\x92\xb7\x8b\x97\x97\xa3\x91\x53\x93\x56\x8c\xf3\x8c\x5d\x8c\x82\x8b\x40");
        return t;
    }();
    return table;
}

std::vector<std::uint8_t> FileFor(std::uint16_t tag, std::uint16_t unit, const UnitRecord& record)
{
    auto bytes = UnitFileBytes(0, record);
    bytes[0] = static_cast<std::uint8_t>(tag);
    bytes[1] = static_cast<std::uint8_t>(tag >> 8);
    bytes[2] = static_cast<std::uint8_t>(unit);
    bytes[3] = static_cast<std::uint8_t>(unit >> 8);
    return {bytes.begin(), bytes.end()};
}

// Restores the file-system calls of the data layer after a test that made them fail.
class FailingWrites {
public:
    FailingWrites() : saved_(corvane::fileWriteHooks) {}
    ~FailingWrites() { corvane::fileWriteHooks = saved_; }

private:
    corvane::FileWriteHooks saved_;
};

}  // namespace

TEST(UnitFileFormat, LastUnitIsWrittenAs154BytesWithItsNumberAndZeroReserve)
{
    TempFolder folder;
    const fs::path file = folder.path() / "unit1279.sui";
    const UnitRecord& record = DemoTable().record(1279);
    ASSERT_TRUE(WriteUnitFile(file, 1279, record));

    const auto bytes = ReadBytes(file);
    ASSERT_EQ(bytes.size(), 154u);
    const std::vector<std::uint8_t> head{0x8F, 0x00, 0xFF, 0x04, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 16), head);
    EXPECT_TRUE(std::equal(record.bytes.begin(), record.bytes.end(), bytes.begin() + 16));
}

TEST(UnitFileFormat, UnitZeroAndUnitTwelveHeads)
{
    const UnitRecord& record = DemoTable().record(12);
    const auto twelve = UnitFileBytes(12, record);
    EXPECT_EQ(twelve[0], 0x8F);
    EXPECT_EQ(twelve[1], 0x00);
    EXPECT_EQ(twelve[2], 0x0C);
    EXPECT_EQ(twelve[3], 0x00);
    const auto zero = UnitFileBytes(0, DemoTable().record(0));
    EXPECT_EQ(zero[2], 0);
    EXPECT_EQ(zero[3], 0);
}

TEST(UnitFileFormat, WrittenFileReadsBackAsTheSameUnit)
{
    TempFolder folder;
    const fs::path file = folder.path() / "unit0007.sui";
    const UnitRecord& record = DemoTable().record(7);
    ASSERT_TRUE(WriteUnitFile(file, 7, record));

    UnitFileHeader head;
    UnitRecord read;
    ASSERT_TRUE(ReadUnitFile(file, head, read));
    EXPECT_TRUE(IsUsableUnitFile(head));
    EXPECT_EQ(head.tag, 143);
    EXPECT_EQ(head.unitNumber, 7);
    EXPECT_EQ(read.bytes, record.bytes);
    EXPECT_EQ(read.nameText().size(), 24u);
}

TEST(UnitFileHead, UsableOnlyWithTag143AndAUnitBelow1280)
{
    TempFolder folder;
    const UnitRecord& record = DemoTable().record(5);
    struct Case {
        std::uint16_t tag, unit;
        bool usable;
    } cases[] = {{143, 0, true}, {143, 1279, true}, {143, 1280, false}, {143, 0xFFFF, false},
                 {0, 5, false},  {142, 5, false},   {0x018F, 5, false}, {0x8F00, 5, false}};
    for (const Case& c : cases) {
        const fs::path file = folder.path() / "case.sui";
        WriteBytes(file, FileFor(c.tag, c.unit, record));
        UnitFileHeader head;
        UnitRecord read;
        ASSERT_TRUE(ReadUnitFile(file, head, read));
        EXPECT_EQ(IsUsableUnitFile(head), c.usable) << "tag " << c.tag << " unit " << c.unit;
        EXPECT_EQ(head.unitNumber, c.unit);
        EXPECT_EQ(read.bytes, record.bytes);
    }
}

TEST(UnitFileHead, ReservedBytesDoNotMatter)
{
    TempFolder folder;
    auto bytes = FileFor(143, 300, DemoTable().record(300));
    for (int i = 4; i < 16; ++i)
        bytes[i] = static_cast<std::uint8_t>(0xA0 + i);
    WriteBytes(folder.path() / "x.sui", bytes);

    UnitFileHeader head;
    UnitRecord read;
    ASSERT_TRUE(ReadUnitFile(folder.path() / "x.sui", head, read));
    EXPECT_TRUE(IsUsableUnitFile(head));
    EXPECT_EQ(head.reserved[0], 0xA4);
    EXPECT_EQ(read.bytes, DemoTable().record(300).bytes);
}

TEST(UnitFileRead, ShortFilesAreNeverUsable)
{
    TempFolder folder;
    const auto good = FileFor(143, 5, DemoTable().record(5));
    for (std::size_t size : {0u, 1u, 2u, 4u, 16u, 153u}) {
        const fs::path file = folder.path() / "short.sui";
        WriteBytes(file, std::vector<std::uint8_t>(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size)));
        UnitFileHeader head;
        UnitRecord read;
        read.bytes.fill(0xEE);
        ASSERT_TRUE(ReadUnitFile(file, head, read)) << size;
        EXPECT_FALSE(IsUsableUnitFile(head)) << size;
        // What was there is kept, the rest is zero.
        if (size == 153) {
            EXPECT_EQ(head.unitNumber, 5);
            EXPECT_TRUE(std::equal(read.bytes.begin(), read.bytes.end() - 1, good.begin() + 16));
            EXPECT_EQ(read.bytes.back(), 0);
        }
        if (size == 0) {
            EXPECT_EQ(read.bytes, UnitRecord{}.bytes);
        }
    }
}

TEST(UnitFileRead, LongerFileIsReadAsItsFirst154Bytes)
{
    TempFolder folder;
    auto bytes = FileFor(143, 42, DemoTable().record(42));
    bytes.resize(400, 0x55);
    WriteBytes(folder.path() / "long.sui", bytes);
    UnitFileHeader head;
    UnitRecord read;
    ASSERT_TRUE(ReadUnitFile(folder.path() / "long.sui", head, read));
    EXPECT_TRUE(IsUsableUnitFile(head));
    EXPECT_EQ(read.bytes, DemoTable().record(42).bytes);
}

TEST(UnitFileRead, MissingFilesAndFoldersCannotBeRead)
{
    TempFolder folder;
    UnitFileHeader head;
    head.tag = 7;
    UnitRecord read;
    EXPECT_FALSE(ReadUnitFile(folder.path() / "missing.sui", head, read));
    EXPECT_FALSE(ReadUnitFile(folder.path(), head, read));
    EXPECT_FALSE(ReadUnitFile("", head, read));
    EXPECT_EQ(head.tag, 7) << "nothing is filled in";
}

#ifndef _WIN32
// A pipe named like an exchange file is no file: it is refused at once, whether nobody writes to it
// or a writer keeps it open without writing, and reading it never waits.
TEST(UnitFileRead, PipesAreRefusedWithoutWaiting)
{
    TempFolder folder;
    const fs::path pipe = folder.path() / "pipe.sui";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    UnitFileHeader head;
    head.tag = 7;
    UnitRecord read;
    EXPECT_FALSE(ReadUnitFile(pipe, head, read));
    const int writer = ::open(pipe.c_str(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(writer, 0);
    EXPECT_FALSE(ReadUnitFile(pipe, head, read));
    EXPECT_FALSE(corvane::ReadPrefix(pipe, {}).opened);
    ::close(writer);
    EXPECT_EQ(head.tag, 7);
    // A file of any length is a file, also an empty one asked only whether it opens.
    WriteBytes(folder.path() / "empty.sui", {});
    EXPECT_TRUE(corvane::ReadPrefix(folder.path() / "empty.sui", {}).opened);
    EXPECT_FALSE(corvane::ReadPrefix(folder.path(), {}).opened);
}
#endif

TEST(UnitFileWrite, ReplacesAnExistingFileCompletelyAndKeepsItsPermissions)
{
    TempFolder folder;
    const fs::path file = folder.path() / "unit0005.sui";
    WriteBytes(file, std::vector<std::uint8_t>(1000, 0x77));
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const fs::perms perms = fs::status(file).permissions();

    ASSERT_TRUE(WriteUnitFile(file, 5, DemoTable().record(5)));
    const auto written = ReadBytes(file);
    const auto expected = UnitFileBytes(5, DemoTable().record(5));
    EXPECT_EQ(written, std::vector<std::uint8_t>(expected.begin(), expected.end()));
    EXPECT_EQ(fs::status(file).permissions(), perms);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
}

TEST(UnitFileWrite, NameWithoutExtensionIsUsedAsGiven)
{
    TempFolder folder;
    ASSERT_TRUE(WriteUnitFile(folder.path() / "myunit", 3, DemoTable().record(3)));
    EXPECT_EQ(fs::file_size(folder.path() / "myunit"), 154u);
}

TEST(UnitFileWrite, FailedWriteLeavesTheOldFileWholeAndNoTemporaryFile)
{
    TempFolder folder;
    const fs::path file = folder.path() / "unit0005.sui";
    const std::vector<std::uint8_t> old(154, 0x42);
    WriteBytes(file, old);
    {
        FailingWrites restore;
        // The disk fills up after a few bytes.
        corvane::fileWriteHooks.writeSome = [](int fd, const void* data, std::size_t size) -> long {
            static bool first = true;
            if (first) {
                first = false;
                return RawWrite(fd, data, size < 10 ? size : 10);
            }
            errno = ENOSPC;
            return -1;
        };
        EXPECT_FALSE(WriteUnitFile(file, 5, DemoTable().record(5)));
    }
    EXPECT_EQ(ReadBytes(file), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
    {
        FailingWrites restore;
        corvane::fileWriteHooks.createFile = [](const fs::path&) {
            errno = EACCES;
            return -1;
        };
        EXPECT_FALSE(WriteUnitFile(file, 5, DemoTable().record(5)));
    }
    EXPECT_EQ(ReadBytes(file), old);
}

TEST(UnitFileWrite, FoldersAndMissingFoldersAreRefused)
{
    TempFolder folder;
    fs::create_directory(folder.path() / "taken.sui");
    EXPECT_FALSE(WriteUnitFile(folder.path() / "taken.sui", 1, DemoTable().record(1)));
    EXPECT_TRUE(fs::is_directory(folder.path() / "taken.sui"));
    EXPECT_FALSE(WriteUnitFile(folder.path() / "no" / "unit.sui", 1, DemoTable().record(1)));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
}

#ifndef _WIN32
TEST(UnitFileWrite, LinkKeepsPointingAtTheReplacedFile)
{
    TempFolder folder;
    fs::create_directory(folder.path() / "real");
    const fs::path real = folder.path() / "real" / "unit.sui";
    WriteBytes(real, std::vector<std::uint8_t>(10, 1));
    fs::create_symlink(real, folder.path() / "link.sui");

    ASSERT_TRUE(WriteUnitFile(folder.path() / "link.sui", 9, DemoTable().record(9)));
    EXPECT_TRUE(fs::is_symlink(folder.path() / "link.sui"));
    EXPECT_EQ(fs::file_size(real), 154u);
}
#endif

TEST(UnitFileWrite, ReadOnlyFileIsLeftAsItWas)
{
    TempFolder folder;
    const fs::path file = folder.path() / "unit0005.sui";
    const std::vector<std::uint8_t> old(154, 0x42);
    WriteBytes(file, old);
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read);
    const fs::perms readOnly = fs::status(file).permissions();
    EXPECT_FALSE(WriteUnitFile(file, 5, DemoTable().record(5)));
    EXPECT_EQ(ReadBytes(file), old);
    EXPECT_EQ(fs::status(file).permissions(), readOnly);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
    fs::permissions(file, fs::perms::owner_all);
}

TEST(UnitFileWrite, PermissionsThatCannotBeSetLeaveTheOldFile)
{
    TempFolder folder;
    const fs::path file = folder.path() / "unit0005.sui";
    const std::vector<std::uint8_t> old(154, 0x42);
    WriteBytes(file, old);
    FailingWrites restore;
    corvane::fileWriteHooks.copyPermissions = [](const fs::path&, const fs::path&) { return EPERM; };
    EXPECT_FALSE(WriteUnitFile(file, 5, DemoTable().record(5)));
    EXPECT_EQ(ReadBytes(file), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
}

TEST(UnitFileWrite, LeftoverTemporaryFilesOfOursAreRemoved)
{
    TempFolder folder;
    WriteBytes(folder.path() / ".corvane-00c0ffee.tmp", {1});
    WriteBytes(folder.path() / ".corvane-notours.tmp", {1});
    ASSERT_TRUE(WriteUnitFile(folder.path() / "unit0001.sui", 1, DemoTable().record(1)));
    EXPECT_FALSE(fs::exists(folder.path() / ".corvane-00c0ffee.tmp"));
    EXPECT_TRUE(fs::exists(folder.path() / ".corvane-notours.tmp"));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 2);
}
