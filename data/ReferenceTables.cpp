#include "data/ReferenceTables.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// Bytes of a fixed-width name field up to the first zero.
std::string FieldText(const std::uint8_t* field, std::size_t width)
{
    const auto* end = std::find(field, field + width, std::uint8_t{0});
    return std::string(field, end);
}

std::string Numbered(const char* format, int number, const std::string& text)
{
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, format, number);
    return buffer + text;
}

void PutText(WeaponEntry& entry, const std::string& text)
{
    std::memcpy(entry.bytes.data(), text.data(), std::min<std::size_t>(text.size(), 16));
}

}  // namespace

std::string WeaponEntry::nameText() const
{
    return FieldText(bytes.data(), 16);
}

WeaponEntry WeaponTable::entry(int w) const
{
    WeaponEntry result;
    if (w <= 0)
        PutText(result, "nothing");
    else if (w <= kEntryCount)
        std::memcpy(result.bytes.data(), &image_[kTableHeadSize + kEntrySize * (w - 1)], kEntrySize);
    else
        PutText(result, "\x95\x73\x96\xbe" + std::to_string(w));  // 不明 in code page 932
    return result;
}

std::string KindTable::name(int k) const
{
    if (k < 0 || k >= kEntryCount)
        return {};
    return FieldText(&image_[kTableHeadSize + kEntrySize * k], kNameSize);
}

std::optional<std::uint8_t> KindTable::flags(int k) const
{
    if (k < 0 || k >= kEntryCount)
        return std::nullopt;
    return image_[kTableHeadSize + kEntrySize * k + 26];
}

std::array<std::uint8_t, kTerrainCount> MoveCostTable::costs(int s) const
{
    std::array<std::uint8_t, kTerrainCount> result{};
    if (s >= 0 && s < kSetCount)
        std::memcpy(result.data(), &image_[kTableHeadSize + kSetSize * s], kTerrainCount);
    return result;
}

int MoveCostTable::roadOrSeaCost(int s) const
{
    const auto c = costs(s);
    return c[kTerrainRoad] != 0 ? c[kTerrainRoad] : c[kTerrainSea];
}

const std::array<Category, 53> kCategories = {{
    {"要撃機", 1},          {"戦闘機", 16},           {"戦闘攻撃機", 49},       {"攻撃機", 80},
    {"爆撃機", 104},        {"電子戦機", 125},        {"早期警戒機", 146},      {"偵察機", 163},
    {"対潜哨戒機", 192},    {"輸送機", 212},          {"給油機", 234},          {"攻撃ヘリ", 255},
    {"兵員輸送ヘリ", 273},  {"大型輸送ヘリ", 295},    {"偵察ヘリ", 308},        {"対潜ヘリ", 329},
    {"早期警戒ヘリ", 364},  {"戦車", 398},            {"歩兵戦闘車", 445},      {"兵員輸送車", 474},
    {"偵察車", 504},        {"戦車駆逐車", 539},      {"自走砲", 568},          {"自走ロケット砲", 600},
    {"自走対空砲", 618},    {"自走対空ミサイル", 638}, {"補給車", 667},          {"砲兵車両", 673},
    {"対空ミサイル車両", 680}, {"対艦ミサイル車両", 699}, {"対砲レーダー車両", 710}, {"対空レーダー車両", 732},
    {"歩兵", 737},          {"巡洋艦", 771},          {"駆逐艦", 784},          {"フリゲート艦", 820},
    {"高速攻撃艇", 856},    {"空母", 880},            {"ヘリ空母", 895},        {"揚陸艦", 903},
    {"輸送艦", 940},        {"補給艦", 945},          {"潜水艦", 950},          {"司令部", 1000},
    {"砲兵陣地", 1009},     {"対空ミサイル陣地", 1016}, {"対艦ミサイル陣地", 1035}, {"対砲レーダー陣地", 1046},
    {"対空レーダー陣地", 1069}, {"補給物資", 1078},    {"ミサイル", 1104},       {"巡航ミサイル", 1260},
    {"end", -1},
}};

const std::array<ListItem, 6> kAltitudeItems = {{
    {"無し", 0}, {"航空", 1}, {"ヘリ", 2}, {"陸上", 3}, {"海上", 4}, {"海中", 5},
}};

const std::array<ListItem, 10> kDefenceTypeItems = {{
    {"高高度", 0}, {"中高度", 1}, {"低高度", 2}, {"車両", 3}, {"歩兵", 4},
    {"司令部", 5}, {"海上", 6}, {"海中", 7}, {"ミサイル", 8}, {"無し", 255},
}};

const std::array<ListItem, 9> kCarrierItems = {{
    {"無し", 0}, {"輸送機", 1}, {"予備", 2}, {"空母", 4}, {"輸送艦", 8},
    {"揚陸艦", 16}, {"船？", 32}, {"輸送ヘリ", 64}, {"ヘリ空母", 128},
}};

std::string KindListText(const KindTable& kinds, int i)
{
    return Numbered("%03d:", i, kinds.name(i));
}

std::string WeaponListText(const WeaponTable& weapons, int w)
{
    return Numbered("%03d:", w, weapons.entry(w).nameText());
}

int SetListData(int index)
{
    return index >= 0 && index < MoveCostTable::kSetCount ? index : 255;
}

std::string SetListText(int index)
{
    return std::to_string(SetListData(index));
}
