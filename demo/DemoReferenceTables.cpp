// The demo reference tables: WEAPONKD.DAT, UNITKIND.DAT, MVCOSTKD.DAT and prokind.dat.

#include <array>
#include <string>
#include <vector>

#include "data/ReferenceTables.h"
#include "demo/DemoGameFolder.h"
#include "demo/DemoPlan.h"
#include "demo/DemoText.h"

namespace corvane::demo {
namespace {

constexpr std::size_t kHeadSize = kTableHeadSize;
constexpr std::size_t kProductionTypesSize = 912; // 16-byte head, 32 entries of 28 bytes

struct WeaponStyle {
    std::vector<const char*> prefixes; // calibres or model codes; a code gets "-<number>" appended
    bool numbered;
    int numberOffset; // model numbers of a code shared by two groups continue from the first group
    std::vector<const char*> descriptions;
    std::array<std::uint8_t, 10> attack; // high, medium, low, vehicle, infantry, HQ, ship, sub, missile, installation
    std::uint8_t power, shots, reload, range;
};

const std::array<WeaponStyle, kWeaponGroupCount>& WeaponStyles()
{
    static const std::array<WeaponStyle, kWeaponGroupCount> kStyles = {{
        {{"7.7mm", "12.7mm", "20mm", "23mm", "25mm", "27mm", "30mm"}, false, 0, {"機関砲", "機銃", "連装機関砲"},
         {10, 20, 30, 15, 20, 5, 5, 0, 5, 10}, 2, 8, 0, 1},
        {{"AAM"}, true, 0, {"短距離", "中距離", "長距離", "赤外線", "電波"}, {60, 70, 50, 0, 0, 0, 0, 0, 20, 0}, 6, 2, 1, 4},
        {{"250kg", "500kg", "1t"}, false, 0, {"通常爆弾", "誘導爆弾", "集束爆弾", "焼夷弾", "貫通爆弾"},
         {0, 0, 0, 50, 60, 70, 40, 0, 0, 80}, 7, 2, 1, 1},
        {{"ASM"}, true, 0, {"対地誘導弾", "対レーダー", "ロケット弾", "滑空弾"}, {0, 0, 0, 70, 30, 60, 50, 0, 0, 70}, 6, 2, 1, 3},
        {{"ASM"}, true, 40, {"対艦誘導弾"}, {0, 0, 0, 0, 0, 0, 90, 0, 0, 0}, 8, 1, 2, 6},
        {{"T"}, true, 0, {"短魚雷", "爆雷", "対潜爆弾", "対潜誘導弾"}, {0, 0, 0, 0, 0, 0, 20, 80, 0, 0}, 7, 2, 1, 2},
        {{"57mm", "68mm", "70mm"}, false, 0, {"ロケット弾", "ロケット", "ガンポッド"}, {0, 0, 10, 40, 50, 30, 20, 0, 0, 40}, 4, 4, 1, 2},
        {{"76mm", "90mm", "100mm", "105mm", "115mm", "120mm", "125mm"}, false, 0, {"戦車砲", "滑腔砲", "ライフル砲"},
         {0, 0, 10, 80, 40, 30, 20, 0, 0, 50}, 6, 3, 0, 1},
        {{"12.7mm", "14.5mm", "20mm", "25mm", "30mm", "35mm", "40mm"}, false, 0, {"車載機関砲", "重機関銃", "同軸機銃"},
         {0, 5, 25, 30, 50, 10, 10, 0, 10, 20}, 3, 6, 0, 1},
        {{"ATM"}, true, 0, {"対戦車誘導", "対戦車弾", "誘導弾"}, {0, 0, 15, 85, 10, 20, 15, 0, 0, 30}, 7, 2, 1, 2},
        {{"105mm", "122mm", "130mm", "152mm", "155mm", "175mm", "203mm"}, false, 0, {"榴弾砲", "加農砲", "迫撃砲", "野戦砲"},
         {0, 0, 0, 40, 70, 60, 15, 0, 0, 70}, 6, 3, 1, 5},
        {{"107mm", "122mm", "227mm", "240mm", "300mm"}, false, 0, {"多連装砲", "ロケット砲", "噴進砲", "誘導ロケット"},
         {0, 0, 0, 45, 80, 60, 10, 0, 0, 75}, 7, 4, 3, 6},
        {{"20mm", "23mm", "30mm", "35mm", "40mm", "57mm"}, false, 0, {"対空機関砲", "高射砲", "連装対空砲"},
         {20, 40, 60, 10, 15, 0, 0, 0, 30, 0}, 3, 8, 0, 2},
        {{"SAM"}, true, 0, {"短距離", "中距離", "長距離", "携帯式", "艦対空"}, {70, 80, 60, 0, 0, 0, 0, 0, 50, 0}, 7, 2, 1, 5},
        {{"SSM"}, true, 0, {"対艦誘導弾"}, {0, 0, 0, 0, 0, 0, 90, 0, 0, 20}, 8, 2, 2, 8},
        {{""}, false, 0, {"自動小銃", "機関銃", "狙撃銃", "擲弾筒", "無反動砲", "対戦車擲弾", "携帯対空"},
         {0, 0, 5, 5, 40, 10, 0, 0, 0, 5}, 2, 5, 0, 1},
        {{"76mm", "100mm", "127mm", "130mm", "155mm", "203mm"}, false, 0, {"単装砲", "連装砲", "速射砲"},
         {0, 10, 30, 40, 40, 50, 50, 0, 20, 50}, 6, 4, 0, 4},
        {{"SSM"}, true, 20, {"艦対艦", "対艦誘導弾"}, {0, 0, 0, 0, 0, 0, 85, 0, 0, 30}, 8, 2, 2, 7},
        {{""}, false, 0, {"533mm魚雷", "650mm魚雷", "324mm魚雷", "誘導魚雷", "長魚雷", "有線誘導魚雷", "音響魚雷"},
         {0, 0, 0, 0, 0, 0, 90, 70, 0, 0}, 9, 2, 2, 3},
        {{""}, false, 0, {"通常弾頭", "貫通弾頭", "集束弾頭", "高性能炸薬弾頭", "燃料気化弾頭", "巡航ミサイル弾頭", "対艦弾頭",
                       "対地弾頭", "長射程弾頭", "二段式弾頭"},
         {0, 0, 0, 60, 70, 90, 80, 0, 0, 95}, 9, 1, 0, 1},
    }};
    return kStyles;
}

// The name of the j-th weapon of a group, code page 932, at most 16 bytes.
std::string WeaponName(int group, int j)
{
    const WeaponStyle& style = WeaponStyles()[static_cast<std::size_t>(group)];
    const std::size_t uj = static_cast<std::size_t>(j);
    std::string name;
    if (style.numbered) {
        name = std::string(style.prefixes[0]) + "-" + std::to_string(j + 1 + style.numberOffset)
            + style.descriptions[uj % style.descriptions.size()];
    } else {
        // Every calibre with every description, then the same again as improved models.
        const std::size_t np = style.prefixes.size();
        const std::size_t nd = style.descriptions.size();
        name = std::string(style.prefixes[uj % np]) + style.descriptions[(uj / np) % nd];
        const std::size_t round = uj / (np * nd);
        if (round == 1)
            name += "改";
        else if (round >= 2)
            name += "II";
    }
    return FitCp932(name, 16);
}

std::uint8_t Scaled(std::uint8_t value, int j)
{
    if (value == 0)
        return 0;
    const int scaled = value * (80 + (j * 13) % 41) / 100;
    return static_cast<std::uint8_t>(scaled < 1 ? 1 : (scaled > 255 ? 255 : scaled));
}

const std::array<const char*, 11> kExtraKinds = {
    "工兵", "空挺歩兵", "山岳歩兵", "海兵隊", "特殊部隊", "水陸両用車", "戦略爆撃機", "ミサイル艇", "原子力潜水艦",
    "強襲揚陸艦", "民兵"};

// Terrain order: plain, rough, marsh, lake, shallows, sea, woods, forest, hill, highland, mountain, desert,
// sand, road, river, capital, large city, city, town, airfield, port. 0 = impassable.
using Costs = std::array<std::uint8_t, kTerrainCount>;
constexpr Costs kAirCosts = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
constexpr Costs kTrackedCosts = {2, 3, 4, 0, 0, 0, 3, 4, 3, 4, 6, 2, 3, 1, 4, 1, 1, 1, 1, 1, 1};
constexpr Costs kWheeledCosts = {2, 4, 0, 0, 0, 0, 4, 6, 4, 5, 0, 3, 4, 1, 0, 1, 1, 1, 1, 1, 1};
constexpr Costs kInfantryCosts = {1, 2, 3, 0, 0, 0, 2, 3, 2, 3, 4, 2, 2, 1, 3, 1, 1, 1, 1, 1, 1};
constexpr Costs kAmphibiousCosts = {2, 3, 3, 2, 2, 0, 3, 4, 3, 4, 0, 2, 3, 1, 2, 1, 1, 1, 1, 1, 1};
constexpr Costs kShipCosts = {0, 0, 0, 2, 2, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
constexpr Costs kSubmarineCosts = {0, 0, 0, 0, 3, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};

Costs MoveCosts(int s)
{
    if (s == 0)
        return {}; // fixed installations and supplies do not move
    Costs costs{};
    int v = 0; // variant within the family's sets
    if (s <= 20) {
        costs = kAirCosts;
    } else if (s <= 40) {
        costs = kAirCosts;
        v = s - 21;
        if (v % 2 == 1)
            costs[10] = 2; // heavy helicopters labour over mountains
    } else if (s <= 70) {
        costs = kTrackedCosts;
        v = s - 41;
        costs[10] = v % 5 == 4 ? 0 : static_cast<std::uint8_t>(6 + v % 3);
        costs[2] = static_cast<std::uint8_t>(4 + v % 2);
        costs[0] = static_cast<std::uint8_t>(2 + (v % 7 == 6 ? 1 : 0));
    } else if (s <= 100) {
        costs = kWheeledCosts;
        v = s - 71;
        costs[1] = static_cast<std::uint8_t>(3 + v % 3);
        costs[13] = v % 6 == 5 ? 2 : 1;
    } else if (s <= 115) {
        costs = kInfantryCosts;
        v = s - 101;
        costs[10] = static_cast<std::uint8_t>(3 + v % 3); // mountain troops are quicker
    } else if (s <= 130) {
        costs = kAmphibiousCosts;
        v = s - 116;
        costs[5] = v % 4 == 3 ? 4 : 0;
    } else if (s <= 160) {
        costs = kShipCosts;
        v = s - 131;
        costs[5] = static_cast<std::uint8_t>(1 + (v % 6 == 5 ? 1 : 0));
        costs[3] = v % 3 == 0 ? 0 : 2;
        costs[14] = v % 4 == 1 ? 3 : 0; // small craft go up rivers
    } else if (s <= 170) {
        costs = kSubmarineCosts;
        v = s - 161;
        costs[4] = static_cast<std::uint8_t>(3 + v % 2);
    } else {
        costs = kAirCosts;
    }
    return costs;
}

} // namespace

std::vector<std::uint8_t> MakeDemoWeapons()
{
    constexpr std::size_t kEntrySize = WeaponTable::kEntrySize;
    std::vector<std::uint8_t> image(WeaponTable::kImageSize, 0);
    for (std::size_t k = 0; k < kHeadSize; ++k)
        image[k] = NonZeroFill(k, 3);
    for (int g = 0; g < kWeaponGroupCount; ++g) {
        const WeaponStyle& style = WeaponStyles()[static_cast<std::size_t>(g)];
        const WeaponGroupRange range = WeaponsOf(static_cast<WeaponGroup>(g));
        for (int j = 0; j < range.count; ++j) {
            const int w = range.first + j;
            const std::size_t base = kHeadSize + kEntrySize * static_cast<std::size_t>(w - 1);
            PutText(image, base, 16, WeaponName(g, j));
            PutU16(image, base + 16, static_cast<unsigned>(g * 100 + j)); // not read
            for (std::size_t k = 0; k < 10; ++k)
                PutU8(image, base + 18 + k, Scaled(style.attack[k], j));
            PutU8(image, base + 28, style.power + static_cast<unsigned>(j % 3));
            PutU8(image, base + 29, style.shots);
            PutU8(image, base + 30, style.reload);
            PutU8(image, base + 31, style.range + static_cast<unsigned>(j % 4 == 3 ? 1 : 0));
            PutU16(image, base + 32, 0);
            PutU16(image, base + 34, static_cast<unsigned>(50 + j * 5)); // not read
        }
    }
    // Two warheads release a unit when fired: the cruise missile warhead unit 1260, the two-stage
    // warhead unit 1279 (stored as unit number + 1).
    PutU16(image, kHeadSize + kEntrySize * (468 - 1) + 32, 1261);
    PutU16(image, kHeadSize + kEntrySize * (472 - 1) + 32, 1280);
    return image;
}

std::vector<std::string> DemoKindNames()
{
    std::vector<std::string> names(128);
    for (int c = 0; c < kCategoryCount; ++c)
        names[static_cast<std::size_t>(c) + 1] = CategoryName(c);
    for (std::size_t k = 0; k < kExtraKinds.size(); ++k)
        names[53 + k] = kExtraKinds[k];
    names[kFullNameKind] = "汎用予備兵種第百二十七号";
    return names;
}

std::vector<std::uint8_t> MakeDemoKinds()
{
    constexpr std::size_t kEntrySize = KindTable::kEntrySize;
    std::vector<std::uint8_t> image(KindTable::kImageSize, 0);
    for (std::size_t k = 0; k < kHeadSize; ++k)
        image[k] = NonZeroFill(k, 4);
    const std::vector<std::string> names = DemoKindNames();
    for (std::size_t k = 0; k < names.size(); ++k) {
        if (names[k].empty())
            continue; // unnamed kinds stay all zero
        const std::size_t base = kHeadSize + kEntrySize * k;
        PutText(image, base, 24, ToCp932(names[k]));
        PutU16(image, base + 24, static_cast<unsigned>(k * 3)); // not read
        unsigned flags = 0;
        if (k == 33 || (k >= 53 && k <= 57) || k == 63)
            flags |= 1; // takes towns and bases
        if (k == 54 || k == 57)
            flags |= 2; // parachutes in
        PutU8(image, base + 26, flags | (k % 3 == 0 ? 0x10u : 0u)); // bit 4: a flag nothing reads
        for (std::size_t b = 27; b < kEntrySize; ++b)
            PutU8(image, base + b, static_cast<unsigned>((k + b) % 5));
    }
    return image;
}

std::vector<std::uint8_t> MakeDemoMoveCosts()
{
    constexpr std::size_t kEntrySize = MoveCostTable::kSetSize;
    std::vector<std::uint8_t> image(MoveCostTable::kImageSize, 0);
    for (std::size_t k = 0; k < kHeadSize; ++k)
        image[k] = NonZeroFill(k, 5);
    for (int s = 0; s < MoveCostTable::kSetCount; ++s) {
        const std::size_t base = kHeadSize + kEntrySize * static_cast<std::size_t>(s);
        const Costs costs = MoveCosts(s);
        // The bytes after the 21 costs repeat them (further seasons' tables, not read by the editor).
        for (std::size_t b = 0; b < kEntrySize; ++b)
            PutU8(image, base + b, costs[b % costs.size()]);
    }
    return image;
}

std::vector<std::uint8_t> MakeDemoProductionTypes()
{
    static const std::array<const char*, 32> kNames = {
        "アルテア連邦", "ヴェルナ王国", "カスティア共和国", "ドラヴィア帝国", "エルミナ公国", "ノルドラント",
        "セリオン連合", "ハルマ共和国", "オルディア", "ザルカン首長国", "リューネ王国", "タリス連邦",
        "ミレニア", "グラナート", "ベルカ自治州", "北方諸島自由都市連合王国", "南洋連盟", "東部辺境軍",
        "西方同盟", "シルヴァ共和国", "クレスタ", "ファルネ王国", "イスカ連邦", "モルガナ",
        "パルティナ", "ロマーニャ公国", "ユーベル", "傭兵団", "義勇軍", "反乱軍", "国連軍", "試験部隊"};
    std::vector<std::uint8_t> image(kProductionTypesSize, 0);
    for (std::size_t k = 0; k < kHeadSize; ++k)
        image[k] = NonZeroFill(k, 6);
    for (std::size_t k = 0; k < kNames.size(); ++k) {
        const std::size_t base = kHeadSize + 28 * k;
        PutU32(image, base, static_cast<std::uint32_t>(k)); // not used
        PutText(image, base + 4, 24, ToCp932(kNames[k]));
    }
    return image;
}

} // namespace corvane::demo
