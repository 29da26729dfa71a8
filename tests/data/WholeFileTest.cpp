// Reading a whole file within a limit: what is no regular file or is too large is refused unread.
#include <gtest/gtest.h>

#include <cerrno>

#include "DataTestSupport.h"
#include "data/FileIo.h"

TEST(WholeFile, ReadsWithinTheLimitAndRefusesTheRestUnread)
{
    TempFolder folder;
    const std::vector<std::uint8_t> bytes{'a', 0, 'b', '\r', '\n'};
    WriteBytes(folder.path() / "five", bytes);
    corvane::WholeFile read = corvane::ReadWholeFile(folder.path() / "five", 5);
    EXPECT_EQ(read.err, 0);
    EXPECT_EQ(read.bytes, std::string("a\0b\r\n", 5));

    read = corvane::ReadWholeFile(folder.path() / "five", 4);
    EXPECT_EQ(read.err, EFBIG);
    EXPECT_EQ(read.size, 5u);
    EXPECT_EQ(read.bytes, "");
    EXPECT_EQ(corvane::ReadWholeFile(folder.path(), 100).err, EISDIR);
    EXPECT_EQ(corvane::ReadWholeFile(folder.path() / "missing", 100).err, ENOENT);
}
