#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "data/ReferenceTables.h"

namespace {
const std::string kUnknown = "\x95\x73\x96\xbe";  // 不明 in code page 932
}

TEST(WeaponTable, EntriesAndNumbersWithoutOne)
{
    WeaponTable weapons;
    auto image = weapons.image();
    std::memcpy(&image[16], "AIM-9L", 6);
    image[16 + 18] = 40;  // attack against high altitude
    image[16 + 31] = 3;   // range
    image[16 + 32] = 6;   // separation unit 5
    std::memset(&image[17008 - 36], 'Z', 17);  // weapon 472 is the last entry; its name fills 16 bytes

    const WeaponEntry first = weapons.entry(1);
    EXPECT_EQ(first.nameText(), "AIM-9L");
    EXPECT_EQ(first.attack(0), 40);
    EXPECT_EQ(first.range(), 3);
    EXPECT_EQ(first.separationUnit(), 6);
    EXPECT_EQ(WeaponListText(weapons, 472), "472:" + std::string(16, 'Z'));
    EXPECT_EQ(weapons.entry(472).bytes[16], 'Z');

    EXPECT_EQ(WeaponListText(weapons, 0), "000:nothing");
    const WeaponEntry none = weapons.entry(-5);
    EXPECT_EQ(none.nameText(), "nothing");
    EXPECT_EQ(std::string(none.bytes.begin() + 7, none.bytes.end()), std::string(29, '\0'));
    const WeaponEntry unknown = weapons.entry(473);
    EXPECT_EQ(unknown.nameText(), kUnknown + "473");
    EXPECT_EQ(std::string(unknown.bytes.begin() + 16, unknown.bytes.end()), std::string(20, '\0'));
    EXPECT_EQ(weapons.entry(65535).nameText(), kUnknown + "65535");
}

TEST(KindTable, NamesFlagsAndListTexts)
{
    KindTable kinds;
    auto image = kinds.image();
    std::memcpy(&image[16 + 40 * 3], "Tank", 4);
    image[16 + 40 * 3 + 26] = 0x01;
    image[16 + 40 * 4 + 26] = 0xfe;
    std::memset(&image[5136 - 40], 'K', 25);  // kind 127 is the last entry; its name fills 24 bytes

    EXPECT_EQ(kinds.name(3), "Tank");
    EXPECT_TRUE(kinds.canCapture(3));
    EXPECT_FALSE(kinds.airborne(3));
    EXPECT_FALSE(kinds.canCapture(4));
    EXPECT_TRUE(kinds.airborne(4));
    EXPECT_EQ(KindListText(kinds, 127), "127:" + std::string(24, 'K'));  // 28 bytes
    EXPECT_EQ(KindListText(kinds, 0), "000:");
    for (int k : {128, 255, -1}) {
        EXPECT_EQ(kinds.flags(k), std::nullopt);
        EXPECT_FALSE(kinds.canCapture(k) || kinds.airborne(k));
        EXPECT_EQ(kinds.name(k), "");
    }
}

TEST(MoveCostTable, CostsAndRoadOrSea)
{
    MoveCostTable costs;
    auto image = costs.image();
    for (int t = 0; t < kTerrainCount; ++t)
        image[16 + t] = static_cast<std::uint8_t>(t + 1);
    image[16 + 176 + 5] = 9;   // set 1: sea 9, no road
    image[30640 - 176] = 42;   // set 173 is the last entry
    image[30640 - 176 + 21] = 77;

    EXPECT_EQ(costs.costs(0)[20], 21);
    EXPECT_EQ(costs.roadOrSeaCost(0), 14);
    EXPECT_EQ(costs.roadOrSeaCost(1), 9);
    EXPECT_EQ(costs.costs(173)[0], 42);
    EXPECT_EQ(costs.costs(173)[20], 0);
    for (int s : {174, 255, -1}) {
        EXPECT_EQ(costs.costs(s), (std::array<std::uint8_t, kTerrainCount>{}));
        EXPECT_EQ(costs.roadOrSeaCost(s), 0);
    }
}

TEST(BuiltInLists, CategoriesCombosAndSets)
{
    int shown = 0;
    while (kCategories[shown].firstUnit >= 0)
        ++shown;
    EXPECT_EQ(shown, 52);
    EXPECT_STREQ(kCategories[0].name, "要撃機");
    EXPECT_STREQ(kCategories[1].name, "戦闘機");
    EXPECT_EQ(kCategories[1].firstUnit, 16);
    EXPECT_STREQ(kCategories[51].name, "巡航ミサイル");
    EXPECT_EQ(kCategories[51].firstUnit, 1260);
    EXPECT_STREQ(kCategories[52].name, "end");
    for (int i = 1; i < 52; ++i)
        EXPECT_LT(kCategories[i - 1].firstUnit, kCategories[i].firstUnit) << i;

    EXPECT_STREQ(kAltitudeItems[5].text, "海中");
    EXPECT_STREQ(kDefenceTypeItems[9].text, "無し");
    EXPECT_EQ(kDefenceTypeItems[9].data, 255);
    for (int i = 1; i < 9; ++i)
        EXPECT_EQ(kCarrierItems[i].data, 1 << (i - 1));
    EXPECT_STREQ(kCarrierItems[6].text, "船？");

    EXPECT_EQ(SetListText(0), "0");
    EXPECT_EQ(SetListText(173), "173");
    EXPECT_EQ(SetListText(kSetListCount - 1), "255");
    EXPECT_EQ(SetListData(174), 255);
}
