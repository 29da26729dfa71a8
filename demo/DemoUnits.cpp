// The demo unit table, UNITINFO.DAT: a 16-byte head, 1280 unit records of 138 bytes, a 99,360-byte tail.

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "data/UnitRecord.h"
#include "data/UnitTable.h"
#include "demo/DemoGameFolder.h"
#include "demo/DemoPlan.h"
#include "demo/DemoText.h"

namespace corvane::demo {
namespace {

const std::array<const char*, 30> kSyllables = {
    "ア", "イ", "カ", "キ", "ク", "サ", "シ", "ス", "タ", "テ", "ト", "ナ", "ハ", "ヒ", "フ",
    "マ", "ミ", "ヤ", "ラ", "リ", "レ", "ロ", "ガ", "ゲ", "ゼ", "ダ", "デ", "バ", "ベ", "ヴ"};
const std::array<const char*, 24> kShipFirst = {
    "白", "雪", "風", "雲", "月", "嵐", "霧", "波", "潮", "朝", "夕", "山",
    "峰", "星", "光", "松", "竹", "梅", "桜", "蒼", "紅", "翔", "龍", "鳳"};
const std::array<const char*, 15> kShipSecond = {
    "風", "雲", "月", "波", "潮", "霧", "雪", "嵐", "光", "鳳", "龍", "鶴", "鷹", "峰", "山"};
const std::array<const char*, 6> kGoods = {"弾薬", "燃料", "食糧", "医薬", "部品", "資材"};
const std::array<const char*, 5> kMissileCodes = {"AM", "GM", "XM", "RM", "SM"};

// Infantry units take turns among the infantry kinds; every other unit has its category's kind.
std::uint8_t KindOfUnit(int c, int i)
{
    if (kCategoryPlans[static_cast<std::size_t>(c)].family == Family::Infantry)
        return kInfantryKinds[static_cast<std::size_t>(i) % kInfantryKinds.size()];
    return CategoryKind(c);
}

// The name of the i-th unit of category c: a made-up prefix, the name of its kind (for most units the
// category's name),
// and now and then a "改" for an improved model. Always at most 24 bytes.
std::string UnitName(int c, int i)
{
    const CategoryPlan& cat = kCategoryPlans[static_cast<std::size_t>(c)];
    const FamilyPlan& fam = PlanOf(cat.family);
    const std::size_t ci = static_cast<std::size_t>(c);
    const std::size_t ui = static_cast<std::size_t>(i);
    std::string prefix;
    static const std::vector<std::string> kindNames = DemoKindNames();
    std::string body = kindNames.at(KindOfUnit(c, i));
    bool improved = i % 5 == 4;
    switch (fam.nameStyle) {
    case NameStyle::Katakana:
        prefix = std::string(kSyllables[(ui * 7 + ci * 3) % kSyllables.size()])
            + kSyllables[(ui * 11 + ci * 5 + 3) % kSyllables.size()]
            + kSyllables[(ui * 13 + ci + 9) % kSyllables.size()];
        break;
    case NameStyle::TypeNumber:
        prefix = std::to_string(10 + (i * 7 + c * 11) % 90) + "式";
        break;
    case NameStyle::Ordinal:
        prefix = "第" + std::to_string(i + 1);
        improved = false;
        break;
    case NameStyle::ShipClass:
        prefix = std::string(kShipFirst[(ui * 5 + ci * 7) % kShipFirst.size()])
            + kShipSecond[(ui * 3 + ci) % kShipSecond.size()] + "級";
        improved = false;
        break;
    case NameStyle::Goods:
        prefix = kGoods[ui % kGoods.size()];
        improved = false;
        break;
    case NameStyle::Code:
        prefix = std::string(c == 51 ? "KC" : kMissileCodes[ui % kMissileCodes.size()]) + "-" + std::to_string(i + 1);
        improved = false;
        break;
    }
    const std::string bodyBytes = ToCp932(body);
    std::string name = FitCp932(prefix, 24 - bodyBytes.size()) + bodyBytes;
    if (improved && name.size() + 2 <= 24)
        name += ToCp932("改");
    return name;
}

UnitRecord MakeUnit(int unit)
{
    const int c = CategoryOfUnit(unit);
    const CategoryPlan& cat = kCategoryPlans[static_cast<std::size_t>(c)];
    const FamilyPlan& fam = PlanOf(cat.family);
    const int i = unit - CategoryFirstUnit(c);
    auto byte = [](int v) { return static_cast<std::uint8_t>(v); };
    UnitRecord r;

    r.setName(UnitName(c, i));
    r.setKind(KindOfUnit(c, i));
    r.setAltitude(fam.altitude);
    for (int k = 0; k < kDefenceCount; ++k) {
        const int d = fam.defence[static_cast<std::size_t>(k)];
        r.setDefence(k, byte(d == 0 ? 0 : d + (i * 7 + k * 3) % 11));
    }
    r.setBoardFlags(fam.boardFlags | cat.extraBoardFlags);
    r.setDefenceType(cat.defenceType);
    r.setCount(byte(fam.count - (cat.family == Family::Air && i % 3 == 1 ? 2 : 0)));
    r.setDurability(byte(fam.durability + i % 4));
    r.setConcealIdle(fam.concealIdle);
    r.setConcealActive(fam.concealActive);
    for (int k = 0; k < kSearchCount; ++k) {
        const int s = fam.search[static_cast<std::size_t>(k)];
        r.setSearch(k, byte(s + (s != 0 && i % 4 == 3 ? 1 : 0)));
    }
    r.setCarrierClass(cat.carrierClass);
    r.setData00(byte(c % 4));
    r.setSupplyFlags(cat.supplyFlags);

    // Weapons: each slot takes a weapon of its group, varying from unit to unit.
    for (int s = 0; s < kWeaponSlotCount; ++s) {
        WeaponGroup group = cat.weapons[static_cast<std::size_t>(s)];
        if (cat.family == Family::Infantry && s == 1 && i % 3 == 2)
            group = WeaponGroup::None; // not every squad carries anti-tank weapons
        const WeaponGroupRange range = WeaponsOf(group);
        r.setWeapon(s, static_cast<std::uint16_t>(range.count > 0 ? range.first + (i * 3 + s * 5) % range.count : 0));
    }

    // Patterns: P1 is the standard load; aircraft and helicopters also get a long-range
    // load (P2, one drop tank) and a ferry load (P3, two tanks, gun only); P4 stays empty.
    const int loads = cat.family == Family::Air || cat.family == Family::Heli ? 3 : 1;
    for (int p = 0; p < loads; ++p) {
        UnitPattern pattern;
        for (int s = 0; s < kWeaponSlotCount; ++s) {
            int ammo = 0;
            if (r.weapon(s) != 0 && (p < 2 || s == 0))
                ammo = p == 0 ? 2 + (i + s) % 7 : (s == 0 ? 4 : 1);
            pattern.setSlotValue(s, byte(ammo));
        }
        pattern.setSpeedModifier(byte(p));
        pattern.setTank(byte(p));
        pattern.setEcm(cat.ecm);
        pattern.setUnnamed(byte((i + p) % 3));
        pattern.setFuel(static_cast<std::uint16_t>(fam.fuel == 0 ? 0 : fam.fuel + p * 200 + (i % 5) * 10));
        r.setPattern(p, pattern);
    }

    std::uint32_t producers = (1u << (c % 16)) | (1u << ((c + i) % 16));
    if (i % 3 == 0)
        producers |= 1u << (16 + (c + i) % 16);
    r.setProductionFlags(producers);
    r.setPrice(cat.price + cat.price / 10 * static_cast<std::uint32_t>(i % 8));
    r.setCarryCapacity(cat.carryCapacity);
    r.setBoardSize(fam.boardSize);
    r.setData02(byte(i % 3));
    r.setMoveSet(byte(fam.firstMoveSet + i % (fam.lastMoveSet - fam.firstMoveSet + 1)));
    r.setData04(byte(static_cast<int>(cat.family)));
    r.setData05(byte(i % 2));
    r.setGraphicNumber(static_cast<std::uint16_t>(CategoryGraphicNumber(c)));
    r.setData08(fam.altitude == 1 ? 1 : 0);
    r.setData09(byte(c));
    r.setData10(byte(i % 10));
    return r;
}

// The few records that testers look for.
void AddLandmarks(std::vector<UnitRecord>& units)
{
    units[kFullNameUnit].setName(ToCp932("超高速長距離全天候迎撃機"));
    units[kHalfWidthNameUnit].setName(ToCp932("ｼﾃﾞﾝ攻撃機"));
    units[16].setName(ToCp932("ハヤテ戦闘機"));
    units[kFirstAndLastProducerUnit].setProductionFlags(0x80000001u);
    units[kPrice1000Unit].setPrice(1000);

    // A tilt-rotor that switches between aeroplane and helicopter, and a missile with a second stage.
    units[kTransformUnitA].setTransformTarget(kTransformUnitB + 1);
    units[kTransformUnitA].setTransformTime(2);
    units[kTransformUnitB].setTransformTarget(kTransformUnitA + 1);
    units[kTransformUnitB].setTransformTime(2);
    units[kTransformToLastUnit].setTransformTarget(1280);
    units[kTransformToLastUnit].setTransformTime(1);

    UnitRecord& last = units[kFourDigitPictureUnit];
    last.setGraphicNumber(kFourDigitGraphicNumber);
    last.setWeapon(0, 472);
    last.setMoveSet(173);

    for (int unit = kCommandPostFirst; unit <= kCommandPostLast; ++unit)
        units[static_cast<std::size_t>(unit)].setData03(-1);
    for (int unit = kFirstUnusedSlot; unit <= kLastUnusedSlot; ++unit)
        units[static_cast<std::size_t>(unit)] = UnitRecord{};
    units[kEmptyUnit] = UnitRecord{};
}

} // namespace

std::vector<std::uint8_t> MakeDemoUnitInfo()
{
    std::vector<std::uint8_t> image(kUnitTableSize, 0);
    for (std::size_t k = 0; k < kUnitTableHeadSize; ++k)
        image[k] = NonZeroFill(k, 1);
    const std::size_t tailStart = kUnitTableSize - kUnitTableTailSize;
    for (std::size_t k = tailStart; k < image.size(); ++k)
        image[k] = NonZeroFill(k - tailStart, 2);

    std::vector<UnitRecord> units(kUnitCount);
    for (int unit = 1; unit < kUnitCount; ++unit)
        units[static_cast<std::size_t>(unit)] = MakeUnit(unit);
    AddLandmarks(units);
    for (int unit = 0; unit < kUnitCount; ++unit)
        std::memcpy(&image[UnitTable::recordOffset(unit)], units[static_cast<std::size_t>(unit)].bytes.data(),
                    kUnitRecordSize);
    return image;
}

} // namespace corvane::demo
