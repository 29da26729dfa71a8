#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <memory>
#include <regex>
#include <set>
#include <string>

#include "data/Cp932.h"
#include "data/ReferenceTables.h"
#include "data/UnitTable.h"
#include "demo/DemoGameFolder.h"

namespace {

using namespace corvane::demo;

const GameFolderFiles& Demo()
{
    static const GameFolderFiles files = MakeDemoGameFiles();
    return files;
}

const UnitTable& Units()
{
    static const std::unique_ptr<UnitTable> table = [] {
        auto t = std::make_unique<UnitTable>();
        t->load(Demo().unitInfo);
        return t;
    }();
    return *table;
}

template <typename Table>
std::unique_ptr<Table> Load(const std::vector<std::uint8_t>& bytes)
{
    auto table = std::make_unique<Table>();
    std::copy(bytes.begin(), bytes.end(), table->image().begin());
    return table;
}

std::u16string U16(const char* utf8)
{
    // UTF-16 of a UTF-8 literal of the basic plane.
    std::u16string out;
    const std::string s = utf8;
    for (std::size_t i = 0; i < s.size();) {
        const auto lead = static_cast<unsigned char>(s[i]);
        const std::size_t len = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : 3;
        char32_t c = len == 1 ? lead : len == 2 ? (lead & 0x1F) : (lead & 0x0F);
        for (std::size_t k = 1; k < len; ++k)
            c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        out.push_back(static_cast<char16_t>(c));
        i += len;
    }
    return out;
}

// Valid code page 932: decodes without replacement characters and encodes back to the same bytes.
::testing::AssertionResult IsCp932(const std::string& bytes)
{
    const std::u16string text = cp932::decode(bytes);
    if (text.find(u'\uFFFD') != std::u16string::npos)
        return ::testing::AssertionFailure() << "undecodable bytes";
    if (cp932::encode(text) != bytes)
        return ::testing::AssertionFailure() << "does not encode back to the same bytes";
    return ::testing::AssertionSuccess();
}

bool AllNonZero(const std::vector<std::uint8_t>& bytes, std::size_t from, std::size_t to)
{
    return std::all_of(bytes.begin() + static_cast<std::ptrdiff_t>(from), bytes.begin() + static_cast<std::ptrdiff_t>(to),
                       [](std::uint8_t b) { return b != 0; });
}

bool IsUnusedSlot(int u) { return u == kEmptyUnit || (u >= kFirstUnusedSlot && u <= kLastUnusedSlot); }

TEST(DemoGameFiles, FilesHaveTheGameSizes)
{
    EXPECT_EQ(Demo().unitInfo.size(), 276016u);
    EXPECT_EQ(Demo().weapons.size(), 17008u);
    EXPECT_EQ(Demo().kinds.size(), 5136u);
    EXPECT_EQ(Demo().moveCosts.size(), 30640u);
    EXPECT_EQ(Demo().productionTypes.size(), 912u);
}

TEST(DemoGameFiles, EveryCallGivesTheSameBytes)
{
    const GameFolderFiles again = MakeDemoGameFiles();
    EXPECT_EQ(again.unitInfo, Demo().unitInfo);
    EXPECT_EQ(again.weapons, Demo().weapons);
    EXPECT_EQ(again.kinds, Demo().kinds);
    EXPECT_EQ(again.moveCosts, Demo().moveCosts);
    EXPECT_EQ(again.productionTypes, Demo().productionTypes);
    EXPECT_EQ(again.pictures, Demo().pictures);
}

TEST(DemoGameFiles, HeadsAndTailCarryNonZeroPatterns)
{
    EXPECT_TRUE(AllNonZero(Demo().unitInfo, 0, 16));
    EXPECT_TRUE(AllNonZero(Demo().unitInfo, 176656, 276016));
    EXPECT_TRUE(AllNonZero(Demo().weapons, 0, 16));
    EXPECT_TRUE(AllNonZero(Demo().kinds, 0, 16));
    EXPECT_TRUE(AllNonZero(Demo().moveCosts, 0, 16));
    EXPECT_TRUE(AllNonZero(Demo().productionTypes, 0, 16));
    // The tail is not a copy of the head pattern repeated from the same start.
    EXPECT_FALSE(std::equal(Demo().unitInfo.begin(), Demo().unitInfo.begin() + 16, Demo().unitInfo.begin() + 176656));
}

TEST(DemoUnits, NamesAreValidCodePage932)
{
    for (int u = 0; u < kUnitCount; ++u) {
        const std::string name = Units().record(u).nameText();
        if (IsUnusedSlot(u)) {
            EXPECT_TRUE(name.empty()) << "unit " << u;
            continue;
        }
        EXPECT_FALSE(name.empty()) << "unit " << u;
        EXPECT_TRUE(IsCp932(name)) << "unit " << u;
        EXPECT_LE(UnitListText(u, Units().record(u)).size(), 29u);
    }
}

TEST(DemoUnits, FirstUnitOfEachCategoryIsNamedForIt)
{
    int rows = 0;
    for (const Category& category : kCategories) {
        if (category.firstUnit < 0)
            break;
        ++rows;
        const std::u16string name = cp932::decode(Units().record(category.firstUnit).nameText());
        EXPECT_NE(name.find(U16(category.name)), std::u16string::npos)
            << "unit " << category.firstUnit << " is not named for " << category.name;
    }
    EXPECT_EQ(rows, 52);
    EXPECT_EQ(cp932::decode(Units().record(16).nameText()), U16("ハヤテ戦闘機"));
}

TEST(DemoUnits, ReferencesStayInsideTheTables)
{
    const auto kinds = Load<KindTable>(Demo().kinds);
    for (int u = 0; u < kUnitCount; ++u) {
        const UnitRecord& r = Units().record(u);
        for (int s = 0; s < 6; ++s)
            EXPECT_LE(r.weapon(s), 472) << "unit " << u << " slot " << s;
        EXPECT_LE(r.kind(), 127) << "unit " << u;
        EXPECT_LE(r.moveSet(), 173) << "unit " << u;
        EXPECT_LE(r.transformTarget(), 1280) << "unit " << u;
        EXPECT_LE(r.altitude(), 5) << "unit " << u;
        EXPECT_TRUE(r.defenceType() <= 8 || r.defenceType() == 255) << "unit " << u;
        EXPECT_LE(std::popcount(r.carrierClass()), 1) << "unit " << u;
        EXPECT_EQ(r.supplyFlags() & 0xF8, 0) << "unit " << u;
        if (!IsUnusedSlot(u)) {
            EXPECT_FALSE(kinds->name(r.kind()).empty()) << "unit " << u << " has an unnamed kind";
        }
    }
}

TEST(DemoUnits, ValuesFitTheUnitsCategory)
{
    const auto moves = Load<MoveCostTable>(Demo().moveCosts);
    const auto weapons = Load<WeaponTable>(Demo().weapons);
    for (int u = 1; u < kUnitCount; ++u) {
        if (IsUnusedSlot(u))
            continue;
        const UnitRecord& r = Units().record(u);
        const auto costs = moves->costs(r.moveSet());
        switch (r.altitude()) {
        case 1: // aircraft and missiles fly everywhere at cost 1
            EXPECT_TRUE(std::all_of(costs.begin(), costs.end(), [](int c) { return c == 1; })) << "unit " << u;
            break;
        case 4:
        case 5: // ships stay on water: no road, so the sea cost is what the road/sea box shows
            EXPECT_EQ(costs[kTerrainRoad], 0) << "unit " << u;
            EXPECT_GT(costs[kTerrainSea], 0) << "unit " << u;
            EXPECT_EQ(moves->roadOrSeaCost(r.moveSet()), costs[kTerrainSea]);
            EXPECT_EQ(costs[0], 0) << "unit " << u;
            break;
        case 3: // land units use roads unless they are fixed (set 0)
            if (r.moveSet() != 0) {
                EXPECT_GT(costs[kTerrainRoad], 0) << "unit " << u;
            }
            break;
        default:
            break;
        }
        for (int s = 0; s < 6; ++s) {
            // Every carried weapon has ammunition in P1; empty slots have none.
            EXPECT_EQ(r.weapon(s) == 0, r.patternSlotValue(0, s) == 0) << "unit " << u << " slot " << s;
            if (r.weapon(s) != 0) {
                EXPECT_FALSE(weapons->entry(r.weapon(s)).nameText().empty());
            }
        }
        EXPECT_GT(r.price(), 0u) << "unit " << u;
        EXPECT_GT(r.durability(), 0) << "unit " << u;
        EXPECT_EQ(r.carryCapacity() != 0, r.carrierClass() != 0) << "unit " << u;
    }
    // Carriers and suppliers by category.
    EXPECT_EQ(Units().record(212).carrierClass(), 1);   // transport aircraft
    EXPECT_EQ(Units().record(880).carrierClass(), 4);   // aircraft carrier
    EXPECT_EQ(Units().record(895).carrierClass(), 128); // helicopter carrier
    EXPECT_EQ(Units().record(234).supplyFlags(), 1);    // tanker
    EXPECT_EQ(Units().record(667).supplyFlags(), 2);    // supply truck
    EXPECT_EQ(Units().record(945).supplyFlags(), 4);    // supply ship
}

TEST(DemoUnits, LandmarkRecords)
{
    const UnitRecord& empty = Units().record(kEmptyUnit);
    EXPECT_TRUE(std::all_of(empty.bytes.begin(), empty.bytes.end(), [](std::uint8_t b) { return b == 0; }));
    for (int u = kFirstUnusedSlot; u <= kLastUnusedSlot; ++u)
        EXPECT_EQ(Units().record(u).bytes, empty.bytes);

    const UnitRecord& fullName = Units().record(kFullNameUnit);
    EXPECT_EQ(fullName.nameText().size(), 24u);
    EXPECT_NE(fullName.bytes[23], 0);
    EXPECT_EQ(cp932::decode(fullName.nameText()), U16("超高速長距離全天候迎撃機"));
    EXPECT_EQ(UnitListText(kFullNameUnit, fullName).size(), 29u);

    EXPECT_EQ(cp932::decode(Units().record(kHalfWidthNameUnit).nameText()), U16("ｼﾃﾞﾝ攻撃機"));
    EXPECT_EQ(Units().record(kHalfWidthNameUnit).nameText().size(), 10u); // 4 single bytes + 3 kanji

    const auto& producers = Units().record(kFirstAndLastProducerUnit).bytes;
    EXPECT_EQ((std::array<int, 4>{producers[110], producers[111], producers[112], producers[113]}),
              (std::array<int, 4>{0x01, 0x00, 0x00, 0x80}));
    const auto& price = Units().record(kPrice1000Unit).bytes;
    EXPECT_EQ((std::array<int, 4>{price[114], price[115], price[116], price[117]}),
              (std::array<int, 4>{0xE8, 0x03, 0x00, 0x00}));

    EXPECT_EQ(Units().record(kTransformUnitA).transformTarget(), kTransformUnitB + 1);
    EXPECT_EQ(Units().record(kTransformUnitB).transformTarget(), kTransformUnitA + 1);
    EXPECT_EQ(Units().record(kTransformToLastUnit).transformTarget(), 1280);
    int transforming = 0;
    for (int u = 0; u < kUnitCount; ++u)
        transforming += Units().record(u).transformTarget() != 0;
    EXPECT_EQ(transforming, 3);

    const UnitRecord& last = Units().record(kFourDigitPictureUnit);
    EXPECT_EQ(last.graphicNumber(), 1234);
    EXPECT_TRUE(Demo().pictures.count("Unit1234.bmp"));
    EXPECT_EQ(last.weapon(0), 472);
    EXPECT_EQ(last.moveSet(), 173);

    for (int u = kCommandPostFirst; u <= kCommandPostLast; ++u)
        EXPECT_EQ(Units().record(u).data03(), -1) << "unit " << u;
    EXPECT_EQ(Units().record(kCommandPostLast + 1).data03(), 0);
}

TEST(DemoWeapons, NamesAndValues)
{
    const auto weapons = Load<WeaponTable>(Demo().weapons);
    int fullNames = 0;
    int separating = 0;
    std::set<std::string> names;
    for (int w = 1; w <= 472; ++w) {
        const WeaponEntry e = weapons->entry(w);
        const std::string name = e.nameText();
        EXPECT_FALSE(name.empty()) << "weapon " << w;
        EXPECT_LE(name.size(), 16u) << "weapon " << w;
        EXPECT_TRUE(IsCp932(name)) << "weapon " << w;
        fullNames += name.size() == 16;
        names.insert(name);
        int attack = 0;
        for (int i = 0; i < 10; ++i)
            attack += e.attack(i);
        EXPECT_GT(attack, 0) << "weapon " << w;
        EXPECT_GT(e.power(), 0) << "weapon " << w;
        EXPECT_GT(e.shots(), 0) << "weapon " << w;
        EXPECT_GT(e.range(), 0) << "weapon " << w;
        EXPECT_LE(e.separationUnit(), 1280) << "weapon " << w;
        separating += e.separationUnit() != 0;
    }
    EXPECT_GE(fullNames, 3);
    EXPECT_LE(separating, 10);
    EXPECT_GE(names.size(), 460u); // a few improved models share a cut name
    EXPECT_EQ(weapons->entry(472).separationUnit(), 1280);
}

TEST(DemoKinds, NamesAndFlags)
{
    const auto kinds = Load<KindTable>(Demo().kinds);
    EXPECT_TRUE(kinds->name(0).empty());
    EXPECT_EQ(kinds->name(kFullNameKind).size(), 24u);
    EXPECT_EQ(KindListText(*kinds, kFullNameKind).size(), 28u);
    int named = 0;
    for (int k = 0; k < 128; ++k) {
        if (kinds->name(k).empty())
            continue;
        ++named;
        EXPECT_TRUE(IsCp932(kinds->name(k))) << "kind " << k;
    }
    EXPECT_GE(named, 60);
    const int infantry = Units().record(737).kind();
    EXPECT_EQ(cp932::decode(kinds->name(infantry)), U16("歩兵"));
    EXPECT_TRUE(kinds->canCapture(infantry));
    EXPECT_FALSE(kinds->airborne(infantry));
    const int tank = Units().record(398).kind();
    EXPECT_FALSE(kinds->canCapture(tank));
    int airborne = 0;
    for (int u = 737; u < 771; ++u)
        airborne += kinds->airborne(Units().record(u).kind());
    EXPECT_GT(airborne, 0);
}

TEST(DemoMoveCosts, SetsLookLikeTerrainCosts)
{
    const auto moves = Load<MoveCostTable>(Demo().moveCosts);
    const auto none = moves->costs(0);
    EXPECT_TRUE(std::all_of(none.begin(), none.end(), [](int c) { return c == 0; }));
    int seaShown = 0;
    for (int s = 1; s < 174; ++s) {
        const auto c = moves->costs(s);
        EXPECT_TRUE(std::any_of(c.begin(), c.end(), [](int v) { return v != 0; })) << "set " << s;
        EXPECT_TRUE(std::all_of(c.begin(), c.end(), [](int v) { return v <= 10; })) << "set " << s;
        seaShown += c[kTerrainRoad] == 0 && c[kTerrainSea] != 0;
    }
    EXPECT_GT(seaShown, 10);
    // Tracked vehicles: dearer in the mountains than on the plain, never at sea.
    const int tankSet = Units().record(398).moveSet();
    const auto tank = moves->costs(tankSet);
    EXPECT_GT(tank[10], tank[0]);
    EXPECT_EQ(tank[kTerrainSea], 0);
}

TEST(DemoProductionTypes, ThirtyTwoNamedTypes)
{
    const auto& p = Demo().productionTypes;
    for (int k = 0; k < 32; ++k) {
        const auto field = p.begin() + 16 + 28 * k + 4;
        const std::string name(field, std::find(field, field + 24, std::uint8_t{0}));
        EXPECT_FALSE(name.empty()) << "type " << k;
        EXPECT_TRUE(IsCp932(name)) << "type " << k;
        EXPECT_EQ(name.size() == 24, k == kFullNameProductionType) << "type " << k;
    }
}

TEST(DemoPictures, FilesAreTwoFrameBitmapsNamedByGraphicNumber)
{
    const auto& pictures = Demo().pictures;
    EXPECT_GE(pictures.size(), 40u);
    EXPECT_LE(pictures.size(), 64u);
    std::size_t total = 0;
    const std::regex pattern("Unit[0-9]{3,}s?\\.bmp");
    for (const auto& [name, b] : pictures) {
        EXPECT_TRUE(std::regex_match(name, pattern)) << name;
        ASSERT_GE(b.size(), 54u) << name;
        auto u32 = [&b](std::size_t at) {
            return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
        };
        EXPECT_EQ(b[0], 'B');
        EXPECT_EQ(b[1], 'M');
        EXPECT_EQ(u32(2), b.size()) << name;
        EXPECT_EQ(u32(10), 54u) << name;
        EXPECT_EQ(u32(14), 40u) << name;
        const std::uint32_t width = u32(18);
        const std::uint32_t height = u32(22);
        EXPECT_GE(width, 2 * height - 2) << name << ": two frames side by side";
        EXPECT_EQ(b[26] | (b[27] << 8), 1) << name;
        EXPECT_EQ(b[28] | (b[29] << 8), 24) << name;
        EXPECT_EQ(u32(30), 0u) << name;
        EXPECT_EQ(u32(34), (width * 3 + 3) / 4 * 4 * height) << name;
        EXPECT_EQ(b.size(), 54u + u32(34)) << name;
        total += b.size();
    }
    EXPECT_LT(total, 500u * 1024u);
}

TEST(DemoPictures, EveryGraphicNumberHasAPictureAndSomeAnSVariant)
{
    const auto& pictures = Demo().pictures;
    auto name = [](int n, const char* suffix) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "Unit%03d%s.bmp", n, suffix);
        return std::string(buffer);
    };
    std::set<int> used, withPicture, withVariant;
    for (int u = 0; u < kUnitCount; ++u)
        if (!IsUnusedSlot(u))
            used.insert(Units().record(u).graphicNumber());
    for (int n : used) {
        if (pictures.count(name(n, "")))
            withPicture.insert(n);
        if (pictures.count(name(n, "s"))) {
            withVariant.insert(n);
            EXPECT_TRUE(pictures.count(name(n, ""))) << n;
            EXPECT_NE(pictures.at(name(n, "s")), pictures.at(name(n, ""))) << n;
        }
    }
    EXPECT_GE(withVariant.size(), 5u);
    EXPECT_EQ(withPicture, used);
    // Every picture file belongs to a graphic number some unit uses.
    for (const auto& [file, bytes] : pictures) {
        const int n = std::stoi(file.substr(4));
        EXPECT_TRUE(used.count(n)) << file;
    }
}

} // namespace
