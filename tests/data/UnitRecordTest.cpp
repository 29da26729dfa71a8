#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <vector>

#include "data/UnitTable.h"

namespace {

std::vector<std::uint8_t> Bytes(const UnitRecord& r, std::size_t offset, std::size_t n)
{
    return std::vector<std::uint8_t>(r.bytes.begin() + offset, r.bytes.begin() + offset + n);
}

// Indexes of the bytes that differ between two records.
std::vector<std::size_t> Changed(const UnitRecord& a, const UnitRecord& b)
{
    std::vector<std::size_t> at;
    for (std::size_t i = 0; i < kUnitRecordSize; ++i)
        if (a.bytes[i] != b.bytes[i])
            at.push_back(i);
    return at;
}

}  // namespace

TEST(UnitRecord, EachFieldSitsAtItsOffsetWithItsWidth)
{
    struct Case {
        void (*set)(UnitRecord&);
        std::size_t offset;
        std::vector<std::uint8_t> expected;
    };
    const Case cases[] = {
        {[](UnitRecord& r) { r.setKind(0x81); }, 24, {0x81}},
        {[](UnitRecord& r) { r.setAltitude(5); }, 25, {5}},
        {[](UnitRecord& r) { r.setDefence(9, 0x99); }, 35, {0x99}},
        {[](UnitRecord& r) { r.setBoardFlags(0x80); }, 36, {0x80}},
        {[](UnitRecord& r) { r.setDefenceType(255); }, 37, {255}},
        {[](UnitRecord& r) { r.setCount(10); }, 38, {10}},
        {[](UnitRecord& r) { r.setDurability(11); }, 39, {11}},
        {[](UnitRecord& r) { r.setConcealIdle(12); }, 40, {12}},
        {[](UnitRecord& r) { r.setConcealActive(13); }, 41, {13}},
        {[](UnitRecord& r) { r.setSearch(4, 14); }, 46, {14}},
        {[](UnitRecord& r) { r.setCarrierClass(128); }, 47, {128}},
        {[](UnitRecord& r) { r.setData00(15); }, 48, {15}},
        {[](UnitRecord& r) { r.setSupplyFlags(7); }, 49, {7}},
        {[](UnitRecord& r) { r.setWeapon(0, 472); }, 50, {0xd8, 0x01}},
        {[](UnitRecord& r) { r.setWeapon(5, 0x1234); }, 60, {0x34, 0x12}},
        {[](UnitRecord& r) { r.setPatternSlotValue(0, 0, 1); }, 62, {1}},
        {[](UnitRecord& r) { r.setPatternSlotValue(3, 5, 2); }, 103, {2}},
        {[](UnitRecord& r) { r.setPatternSpeedModifier(1, 3); }, 80, {3}},
        {[](UnitRecord& r) { r.setPatternTank(2, 4); }, 93, {4}},
        {[](UnitRecord& r) { r.setPatternEcm(3, 5); }, 106, {5}},
        {[](UnitRecord& r) { r.setPatternUnnamed(0, 6); }, 71, {6}},
        {[](UnitRecord& r) { r.setPatternFuel(3, 0xabcd); }, 108, {0xcd, 0xab}},
        {[](UnitRecord& r) { r.setProductionFlags(0x80000001u); }, 110, {0x01, 0, 0, 0x80}},
        {[](UnitRecord& r) { r.setPrice(1000); }, 114, {0xe8, 0x03, 0x00, 0x00}},
        {[](UnitRecord& r) { r.setCarryCapacity(16); }, 118, {16}},
        {[](UnitRecord& r) { r.setData01(17); }, 119, {17}},
        {[](UnitRecord& r) { r.setBoardSize(18); }, 120, {18}},
        {[](UnitRecord& r) { r.setData02(19); }, 121, {19}},
        {[](UnitRecord& r) { r.setData03(-1); }, 122, {0xff, 0xff}},
        {[](UnitRecord& r) { r.setTransformTarget(6); }, 124, {6, 0}},
        {[](UnitRecord& r) { r.setMoveSet(173); }, 126, {173}},
        {[](UnitRecord& r) { r.setData04(20); }, 127, {20}},
        {[](UnitRecord& r) { r.setData05(21); }, 128, {21}},
        {[](UnitRecord& r) { r.setData06(22); }, 129, {22}},
        {[](UnitRecord& r) { r.setGraphicNumber(1234); }, 130, {0xd2, 0x04}},
        {[](UnitRecord& r) { r.setData07(23); }, 132, {23}},
        {[](UnitRecord& r) { r.setData08(24); }, 133, {24}},
        {[](UnitRecord& r) { r.setTransformTime(25); }, 134, {25}},
        {[](UnitRecord& r) { r.setData09(26); }, 135, {26}},
        {[](UnitRecord& r) { r.setData10(27); }, 136, {27}},
        {[](UnitRecord& r) { r.setData11(28); }, 137, {28}},
    };
    for (const Case& c : cases) {
        UnitRecord before;
        before.bytes.fill(0x5a);
        UnitRecord r = before;
        c.set(r);
        std::vector<std::size_t> expectedAt(c.expected.size());
        for (std::size_t i = 0; i < expectedAt.size(); ++i)
            expectedAt[i] = c.offset + i;
        EXPECT_EQ(Changed(before, r), expectedAt) << "offset " << c.offset;
        EXPECT_EQ(Bytes(r, c.offset, c.expected.size()), c.expected) << "offset " << c.offset;
    }
}

TEST(UnitRecord, ReadsBackSignedAndWideValues)
{
    UnitRecord r;
    r.bytes[122] = 0xff;
    r.bytes[123] = 0xff;
    EXPECT_EQ(r.data03(), -1);
    r.setData03(-32768);
    EXPECT_EQ(r.data03(), -32768);
    r.setPrice(0xfedcba98u);
    EXPECT_EQ(r.price(), 0xfedcba98u);
    r.setTransformTarget(1280);
    EXPECT_EQ(r.transformTarget(), 1280);
    r.setPatternFuel(2, 65535);
    EXPECT_EQ(r.pattern(2).fuel(), 65535);
    EXPECT_EQ(r.patternFuel(1), 0);
}

TEST(UnitRecord, IndexesOutsideAFieldReadZeroAndWriteNothing)
{
    UnitRecord r;
    r.bytes.fill(0x11);
    const UnitRecord before = r;
    r.setDefence(10, 1);
    r.setDefence(-1, 1);
    r.setSearch(5, 1);
    r.setWeapon(6, 1);
    r.setPatternTank(4, 1);
    r.setPatternSlotValue(0, 6, 1);
    EXPECT_TRUE(Changed(before, r).empty());
    EXPECT_EQ(r.defence(10), 0);
    EXPECT_EQ(r.weapon(-1), 0);
    EXPECT_EQ(r.patternFuel(4), 0);
}

TEST(UnitRecord, NameRules)
{
    UnitRecord r;
    r.bytes.fill('x');
    // A 24-byte name has no terminator and reads whole, without the kind byte after it.
    r.bytes[24] = 'K';
    EXPECT_EQ(r.nameText(), std::string(24, 'x'));

    r.setName("F-15J");
    EXPECT_EQ(r.nameText(), "F-15J");
    EXPECT_TRUE(std::all_of(r.bytes.begin() + 5, r.bytes.begin() + 24, [](std::uint8_t b) { return b == 0; }));
    EXPECT_EQ(r.bytes[24], 'K');

    r.setName(std::string(30, 'A'));
    EXPECT_EQ(r.nameText(), std::string(24, 'A'));
    EXPECT_EQ(r.bytes[24], 'K');

    r.setName("\x82\xa0\x82\xa2");  // code page 932 bytes are kept as they are
    EXPECT_EQ(r.nameText(), "\x82\xa0\x82\xa2");
}

TEST(UnitRecord, ListText)
{
    UnitRecord r;
    r.setName("T-72");
    EXPECT_EQ(UnitListText(7, r), "0007:T-72");
    r.setName(std::string(24, 'N'));
    EXPECT_EQ(UnitListText(1279, r), "1279:" + std::string(24, 'N'));
    EXPECT_EQ(UnitListText(1279, r).size(), 29u);
    r.setName("");
    EXPECT_EQ(UnitListText(0, r), "0000:");
}

TEST(UnitTable, LoadsRecordsAndKeepsHeadAndTail)
{
    std::vector<std::uint8_t> file(kUnitTableSize + 100);
    for (std::size_t i = 0; i < file.size(); ++i)
        file[i] = static_cast<std::uint8_t>(i * 13 + 1);
    auto table = std::make_unique<UnitTable>();
    table->load(file);
    EXPECT_TRUE(std::equal(table->image().begin(), table->image().end(), file.begin()));
    EXPECT_EQ(table->record(0).bytes[0], file[16]);
    EXPECT_EQ(table->record(1279).bytes[137], file[176655]);
    EXPECT_EQ(UnitTable::recordOffset(1279), 176518u);

    // Writing a record changes only its own 138 bytes of the image.
    const auto before = std::vector<std::uint8_t>(table->image().begin(), table->image().end());
    table->record(1279).bytes.fill(0);
    table->record(0).bytes.fill(0);
    const auto after = table->image();
    for (std::size_t i = 0; i < kUnitTableSize; ++i) {
        const bool inRecord = (i >= 16 && i <= 153) || (i >= 176518 && i <= 176655);
        if (!inRecord) {
            ASSERT_EQ(after[i], before[i]) << "byte " << i;
        }
    }
}

TEST(UnitTable, RefusesNumbersOutsideTheTable)
{
    auto table = std::make_unique<UnitTable>();
    EXPECT_THROW(table->record(1280), std::out_of_range);
    EXPECT_THROW(table->record(-1), std::out_of_range);
    const std::vector<std::uint8_t> shortImage(kUnitTableSize - 1);
    EXPECT_THROW(table->load(shortImage), std::invalid_argument);
}
