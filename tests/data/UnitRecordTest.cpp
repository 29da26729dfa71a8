#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <vector>

#include "data/UnitTable.h"

// Each setter writes its value little-endian at its own offset and nothing else.
TEST(UnitRecord, FieldsSitAtTheirOffsets)
{
    struct Case {
        void (*set)(UnitRecord&);
        std::size_t offset;
        std::vector<std::uint8_t> bytes;
    };
    const Case cases[] = {
        {[](UnitRecord& r) { r.setKind(0x81); }, 24, {0x81}},
        {[](UnitRecord& r) { r.setDefence(9, 9); }, 35, {9}},
        {[](UnitRecord& r) { r.setDefenceType(255); }, 37, {255}},
        {[](UnitRecord& r) { r.setSearch(4, 4); }, 46, {4}},
        {[](UnitRecord& r) { r.setSupplyFlags(7); }, 49, {7}},
        {[](UnitRecord& r) { r.setWeapon(5, 472); }, 60, {0xd8, 0x01}},
        {[](UnitRecord& r) { r.setPatternSlotValue(3, 5, 2); }, 103, {2}},
        {[](UnitRecord& r) { r.setPatternSpeedModifier(1, 3); }, 80, {3}},
        {[](UnitRecord& r) { r.setPatternUnnamed(0, 6); }, 71, {6}},
        {[](UnitRecord& r) { r.setPatternFuel(3, 0xabcd); }, 108, {0xcd, 0xab}},
        {[](UnitRecord& r) { r.setProductionFlags(0x80000001u); }, 110, {0x01, 0, 0, 0x80}},
        {[](UnitRecord& r) { r.setPrice(1000); }, 114, {0xe8, 0x03, 0x00, 0x00}},
        {[](UnitRecord& r) { r.setData03(-1); }, 122, {0xff, 0xff}},
        {[](UnitRecord& r) { r.setTransformTarget(5 + 1); }, 124, {6, 0}},
        {[](UnitRecord& r) { r.setMoveSet(173); }, 126, {173}},
        {[](UnitRecord& r) { r.setGraphicNumber(1234); }, 130, {0xd2, 0x04}},
        {[](UnitRecord& r) { r.setTransformTime(25); }, 134, {25}},
        {[](UnitRecord& r) { r.setData11(28); }, 137, {28}},
    };
    for (const Case& c : cases) {
        UnitRecord r;
        r.bytes.fill(0x5a);
        UnitRecord expected = r;
        std::copy(c.bytes.begin(), c.bytes.end(), expected.bytes.begin() + static_cast<long>(c.offset));
        c.set(r);
        EXPECT_EQ(r.bytes, expected.bytes) << "offset " << c.offset;
    }
}

TEST(UnitRecord, ReadsSignedAndWideValues)
{
    UnitRecord r;
    r.bytes[122] = r.bytes[123] = 0xff;
    EXPECT_EQ(r.data03(), -1);
    r.setPrice(0xfedcba98u);
    EXPECT_EQ(r.price(), 0xfedcba98u);
    r.setPatternFuel(2, 65535);
    EXPECT_EQ(r.pattern(2).fuel(), 65535);
    EXPECT_EQ(r.patternFuel(1), 0);
}

#ifndef NDEBUG
// An index outside its field is a programming error: it stops the program instead of reading 0 or
// writing nowhere.
TEST(UnitRecordDeathTest, IndexOutsideItsFieldStops)
{
    UnitRecord r;
    EXPECT_DEATH(r.setDefence(10, 1), "");
    EXPECT_DEATH(r.setSearch(-1, 1), "");
    EXPECT_DEATH((void)r.weapon(6), "");
    EXPECT_DEATH(r.setPatternTank(4, 1), "");
    EXPECT_DEATH((void)r.pattern(-1), "");
}
#endif

TEST(UnitRecord, NameAndListText)
{
    UnitRecord r;
    r.bytes.fill('x');
    r.bytes[24] = 'K';
    EXPECT_EQ(r.nameText(), std::string(24, 'x'));  // 24 bytes, no terminator, kind byte not included
    EXPECT_EQ(UnitListText(1279, r), "1279:" + std::string(24, 'x'));

    r.setName("F-15J");
    EXPECT_EQ(r.nameText(), "F-15J");
    for (int i = 5; i < 24; ++i)
        EXPECT_EQ(r.bytes[i], 0) << i;
    EXPECT_EQ(r.bytes[24], 'K');
    EXPECT_EQ(UnitListText(7, r), "0007:F-15J");
    EXPECT_EQ(UnitListText(0, UnitRecord{}), "0000:");
    EXPECT_EQ(UnitListText(-1, r), "-001:F-15J");

    r.setName(std::string(30, 'A'));
    EXPECT_EQ(r.nameText(), std::string(24, 'A'));
    EXPECT_EQ(r.bytes[24], 'K');
}

TEST(UnitTable, RecordsLieBetweenHeadAndTail)
{
    std::vector<std::uint8_t> file(kUnitTableSize + 100);
    for (std::size_t i = 0; i < file.size(); ++i)
        file[i] = static_cast<std::uint8_t>(i * 13 + 1);
    auto table = std::make_unique<UnitTable>();
    table->load(file);
    table->record(0).bytes.fill(0);
    table->record(1279).bytes.fill(0);
    for (std::size_t i = 0; i < kUnitTableSize; ++i) {
        const bool inRecord = (i >= 16 && i <= 153) || (i >= 176518 && i <= 176655);
        ASSERT_EQ(table->image()[i], inRecord ? 0 : file[i]) << "byte " << i;
    }
    EXPECT_THROW(table->record(1280), std::out_of_range);
    EXPECT_THROW(table->record(-1), std::out_of_range);
    EXPECT_THROW(table->load(std::vector<std::uint8_t>(kUnitTableSize - 1)), std::invalid_argument);
}
