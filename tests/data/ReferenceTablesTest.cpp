#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "data/ReferenceTables.h"

namespace {

template <class Table>
void Put(Table& table, std::size_t offset, const std::string& bytes)
{
    std::memcpy(&table.image()[offset], bytes.data(), bytes.size());
}

}  // namespace

TEST(WeaponTable, EntriesAndNumbersWithoutOne)
{
    WeaponTable weapons;
    Put(weapons, 16, "AIM-9L");
    weapons.image()[16 + 18] = 40;   // attack against high altitude
    weapons.image()[16 + 31] = 3;    // range
    weapons.image()[16 + 32] = 6;    // separation unit 5
    Put(weapons, 17008 - 36, std::string(16, 'Z') + "\x01");  // weapon 472: last 36 bytes, 16-byte name

    const WeaponEntry first = weapons.entry(1);
    EXPECT_EQ(first.nameText(), "AIM-9L");
    EXPECT_EQ(first.attack(0), 40);
    EXPECT_EQ(first.range(), 3);
    EXPECT_EQ(first.separationUnit(), 6);
    EXPECT_EQ(weapons.entry(472).nameText(), std::string(16, 'Z'));

    for (int w : {0, -5}) {
        const WeaponEntry none = weapons.entry(w);
        EXPECT_EQ(none.nameText(), "nothing");
        for (int i = 18; i < 36; ++i)
            EXPECT_EQ(none.bytes[i], 0);
    }
    const WeaponEntry unknown = weapons.entry(473);
    EXPECT_EQ(unknown.nameText(), "\x95\x73\x96\xbe" "473");
    EXPECT_EQ(unknown.power(), 0);
    EXPECT_EQ(weapons.entry(65535).nameText(), "\x95\x73\x96\xbe" "65535");

    EXPECT_EQ(WeaponListText(weapons, 0), "000:nothing");
    EXPECT_EQ(WeaponListText(weapons, 1), "001:AIM-9L");
    EXPECT_EQ(WeaponListText(weapons, 472), "472:" + std::string(16, 'Z'));
}

TEST(KindTable, NamesFlagsAndListTexts)
{
    KindTable kinds;
    Put(kinds, 16 + 40 * 3, "Tank");
    kinds.image()[16 + 40 * 3 + 26] = 0x01;
    kinds.image()[16 + 40 * 4 + 26] = 0xfe;
    Put(kinds, 5136 - 40, std::string(24, 'K') + "\x7f");  // kind 127: last 40 bytes, full 24-byte name

    EXPECT_EQ(kinds.name(3), "Tank");
    EXPECT_TRUE(kinds.canCapture(3));
    EXPECT_FALSE(kinds.airborne(3));
    EXPECT_FALSE(kinds.canCapture(4));
    EXPECT_TRUE(kinds.airborne(4));
    EXPECT_EQ(kinds.flags(4), 0xfe);

    EXPECT_EQ(KindListText(kinds, 127), "127:" + std::string(24, 'K'));
    EXPECT_EQ(KindListText(kinds, 127).size(), 28u);
    EXPECT_EQ(KindListText(kinds, 0), "000:");  // a name beginning with a zero byte

    for (int k : {128, 255, -1}) {
        EXPECT_EQ(kinds.flags(k), std::nullopt);
        EXPECT_FALSE(kinds.canCapture(k));
        EXPECT_FALSE(kinds.airborne(k));
        EXPECT_EQ(kinds.name(k), "");
    }
}

TEST(MoveCostTable, CostsAndRoadOrSea)
{
    MoveCostTable costs;
    for (int t = 0; t < kTerrainCount; ++t)
        costs.image()[16 + t] = static_cast<std::uint8_t>(t + 1);
    costs.image()[16 + 176 * 1 + 5] = 9;       // set 1: sea 9, no road
    costs.image()[30640 - 176] = 42;            // set 173: last 176 bytes
    costs.image()[30640 - 176 + 21] = 77;       // a byte past the costs

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

TEST(BuiltInLists, Categories)
{
    int shown = 0;
    while (kCategories[shown].firstUnit >= 0)
        ++shown;
    EXPECT_EQ(shown, 52);
    EXPECT_STREQ(kCategories[0].name, "要撃機");
    EXPECT_EQ(kCategories[0].firstUnit, 1);
    EXPECT_STREQ(kCategories[1].name, "戦闘機");
    EXPECT_EQ(kCategories[1].firstUnit, 16);
    EXPECT_STREQ(kCategories[35].name, "フリゲート艦");
    EXPECT_EQ(kCategories[35].firstUnit, 820);
    EXPECT_STREQ(kCategories[51].name, "巡航ミサイル");
    EXPECT_EQ(kCategories[51].firstUnit, 1260);
    EXPECT_STREQ(kCategories[52].name, "end");
    EXPECT_EQ(kCategories[52].firstUnit, -1);
    for (int i = 1; i < 52; ++i)
        EXPECT_LT(kCategories[i - 1].firstUnit, kCategories[i].firstUnit) << i;
}

TEST(BuiltInLists, FixedCombosAndSetList)
{
    EXPECT_STREQ(kAltitudeItems[5].text, "海中");
    EXPECT_EQ(kAltitudeItems[5].data, 5);
    EXPECT_STREQ(kDefenceTypeItems[9].text, "無し");
    EXPECT_EQ(kDefenceTypeItems[9].data, 255);
    EXPECT_STREQ(kDefenceTypeItems[8].text, "ミサイル");
    const int carrierData[] = {0, 1, 2, 4, 8, 16, 32, 64, 128};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(kCarrierItems[i].data, carrierData[i]);
    EXPECT_STREQ(kCarrierItems[6].text, "船？");

    EXPECT_EQ(kSetListCount, 175);
    EXPECT_EQ(SetListText(0), "0");
    EXPECT_EQ(SetListText(173), "173");
    EXPECT_EQ(SetListText(174), "255");
    EXPECT_EQ(SetListData(173), 173);
    EXPECT_EQ(SetListData(174), 255);
}
