#pragma once
// The game's read-only reference tables (weapons, unit kinds, movement costs) as fixed images, and the
// lists the editor builds in: categories, altitude, defence type, carrier class, and the list texts.
// Every lookup reads only inside its image; numbers without an entry give the defined results below.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

inline constexpr std::size_t kTableHeadSize = 16;

// A 36-byte entry of WEAPONKD.DAT.
struct WeaponEntry {
    std::array<std::uint8_t, 36> bytes{};

    std::string nameText() const;  // bytes 0..15 up to the first zero
    std::uint8_t attack(int i) const { return i >= 0 && i < 10 ? bytes[18 + i] : 0; }  // 高 中 低 車 兵 司 艦 潜 ミ 設
    std::uint8_t power() const { return bytes[28]; }   // 力
    std::uint8_t shots() const { return bytes[29]; }   // 数
    std::uint8_t reload() const { return bytes[30]; }  // 填
    std::uint8_t range() const { return bytes[31]; }   // 射
    std::uint16_t separationUnit() const { return static_cast<std::uint16_t>(bytes[32] | (bytes[33] << 8)); }  // 0 or unit + 1
};

class WeaponTable {
public:
    static constexpr int kEntryCount = 472;  // weapon numbers 1..472
    static constexpr std::size_t kEntrySize = 36;
    static constexpr std::size_t kImageSize = 17008;
    static_assert(kImageSize == kTableHeadSize + kEntryCount * kEntrySize);

    std::span<std::uint8_t, kImageSize> image() { return image_; }
    std::span<const std::uint8_t, kImageSize> image() const { return image_; }

    // w <= 0: "nothing" with all values 0; 1..472: a copy of entry w; above 472: "不明" followed by the
    // number (code page 932) with all values 0.
    WeaponEntry entry(int w) const;

private:
    std::array<std::uint8_t, kImageSize> image_{};
};

class KindTable {
public:
    static constexpr int kEntryCount = 128;
    static constexpr std::size_t kEntrySize = 40;
    static constexpr std::size_t kNameSize = 24;
    static constexpr std::size_t kImageSize = 5136;
    static_assert(kImageSize == kTableHeadSize + kEntryCount * kEntrySize);

    std::span<std::uint8_t, kImageSize> image() { return image_; }
    std::span<const std::uint8_t, kImageSize> image() const { return image_; }

    std::string name(int k) const;                    // the 24-byte field up to the first zero; "" without an entry
    std::optional<std::uint8_t> flags(int k) const;   // byte 26; nullopt for k < 0 or k >= 128
    bool canCapture(int k) const { return flags(k).value_or(0) & 0x01; }  // 占領
    bool airborne(int k) const { return flags(k).value_or(0) & 0x02; }    // 空挺

private:
    std::array<std::uint8_t, kImageSize> image_{};
};

inline constexpr int kTerrainCount = 21;  // 平 荒 湿 湖 浅 海 林 森 丘 陵 山 漠 砂 道 川 首 大 都 町 空 港
inline constexpr int kTerrainSea = 5;
inline constexpr int kTerrainRoad = 13;

class MoveCostTable {
public:
    static constexpr int kSetCount = 174;
    static constexpr std::size_t kSetSize = 176;
    static constexpr std::size_t kImageSize = 30640;
    static_assert(kImageSize == kTableHeadSize + kSetCount * kSetSize);

    std::span<std::uint8_t, kImageSize> image() { return image_; }
    std::span<const std::uint8_t, kImageSize> image() const { return image_; }

    std::array<std::uint8_t, kTerrainCount> costs(int s) const;  // all zero for s < 0 or s >= 174
    int roadOrSeaCost(int s) const;  // the road cost, or the sea cost when that is 0; 0 without an entry

private:
    std::array<std::uint8_t, kImageSize> image_{};
};

// Category combo rows; the end row ("end", -1) stops the list and is never shown.
struct Category {
    const char* name;  // UTF-8
    int firstUnit;
};
extern const std::array<Category, 53> kCategories;

struct ListItem {
    const char* text;  // UTF-8
    int data;
};
extern const std::array<ListItem, 6> kAltitudeItems;
extern const std::array<ListItem, 10> kDefenceTypeItems;
extern const std::array<ListItem, 9> kCarrierItems;

// "%03d:" and the kind's name; raw code page 932 bytes.
std::string KindListText(const KindTable& kinds, int i);
// "%03d:" and the weapon's name ("000:nothing" for 0); raw code page 932 bytes.
std::string WeaponListText(const WeaponTable& weapons, int w);

// The movement-set list: 175 items, sets 0..173 and then 255 for no set.
inline constexpr int kSetListCount = 175;
int SetListData(int index);           // index for 0..173, 255 otherwise
std::string SetListText(int index);   // the item data in decimal
