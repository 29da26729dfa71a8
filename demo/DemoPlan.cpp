#include "demo/DemoPlan.h"

#include <stdexcept>

#include "data/ReferenceTables.h"
#include "demo/DemoGameFolder.h"
#include "demo/DemoText.h"

namespace corvane::demo {

void PutText(std::vector<std::uint8_t>& bytes, std::size_t offset, std::size_t width, const std::string& text)
{
    if (text.size() > width)
        throw std::logic_error("demo text does not fit its field: " + text);
    for (std::size_t i = 0; i < width; ++i)
        bytes.at(offset + i) = i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0;
}

std::string FitCp932(const std::string& utf8, std::size_t maxBytes)
{
    std::string out;
    std::size_t i = 0;
    while (i < utf8.size()) {
        // One UTF-8 character at a time, so a cut never splits a double-byte character.
        std::size_t len = 1;
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead >= 0xF0) len = 4;
        else if (lead >= 0xE0) len = 3;
        else if (lead >= 0xC0) len = 2;
        const std::string bytes = ToCp932(utf8.substr(i, len));
        if (out.size() + bytes.size() > maxBytes)
            break;
        out += bytes;
        i += len;
    }
    return out;
}

WeaponGroupRange WeaponsOf(WeaponGroup group)
{
    // Weapon numbers 1..472, in group order.
    static constexpr std::array<int, kWeaponGroupCount> kCounts = {
        20, 40, 30, 40, 15, 20, 25, 35, 35, 25, 30, 20, 20, 35, 15, 20, 15, 15, 7, 10};
    if (group == WeaponGroup::None)
        return {0, 0};
    int first = 1;
    for (int g = 0; g < static_cast<int>(group); ++g)
        first += kCounts[static_cast<std::size_t>(g)];
    return {first, kCounts[static_cast<std::size_t>(group)]};
}

const FamilyPlan& PlanOf(Family family)
{
    // defence: high, medium, low altitude, vehicle, infantry, headquarters, ship, submarine, missile, installation
    // search: air, helicopter, land, sea, undersea
    static const std::array<FamilyPlan, 11> kPlans = {{
        {1, 1, 20, {60, 55, 50, 20, 10, 0, 30, 0, 40, 25}, 4, 10, 10, 5, {8, 6, 4, 6, 0}, 400, 0x00, 4,
         NameStyle::Katakana, Shape::Aircraft},
        {2, 21, 40, {20, 25, 45, 40, 35, 0, 30, 0, 20, 30}, 4, 12, 20, 10, {4, 5, 5, 5, 1}, 250, 0x84, 3,
         NameStyle::Katakana, Shape::Helicopter},
        {3, 41, 70, {10, 15, 30, 80, 70, 0, 40, 0, 20, 60}, 10, 30, 30, 15, {2, 3, 4, 0, 0}, 120, 0x18, 6,
         NameStyle::TypeNumber, Shape::Tank},
        {3, 71, 100, {5, 10, 20, 40, 35, 0, 25, 0, 10, 35}, 10, 15, 25, 10, {2, 3, 5, 0, 0}, 200, 0x19, 3,
         NameStyle::TypeNumber, Shape::Truck},
        {3, 116, 130, {8, 12, 25, 55, 50, 0, 35, 0, 15, 45}, 10, 20, 25, 10, {2, 3, 4, 3, 0}, 150, 0x18, 4,
         NameStyle::TypeNumber, Shape::Truck},
        {3, 101, 115, {5, 5, 15, 30, 40, 0, 20, 0, 5, 50}, 10, 10, 60, 30, {2, 3, 4, 1, 0}, 0, 0xD9, 1,
         NameStyle::Ordinal, Shape::Soldier},
        {4, 131, 160, {30, 40, 50, 30, 0, 0, 70, 50, 60, 40}, 1, 80, 5, 2, {10, 8, 3, 12, 4}, 1000, 0x00, 0,
         NameStyle::ShipClass, Shape::Ship},
        {5, 161, 170, {0, 0, 0, 0, 0, 0, 40, 70, 10, 0}, 1, 50, 90, 60, {0, 0, 0, 6, 10}, 1500, 0x00, 0,
         NameStyle::ShipClass, Shape::Submarine},
        {3, 0, 0, {20, 25, 35, 60, 60, 80, 30, 0, 40, 90}, 5, 60, 40, 20, {6, 5, 6, 4, 0}, 0, 0x08, 8,
         NameStyle::Ordinal, Shape::Building},
        {3, 0, 0, {0, 0, 10, 20, 20, 0, 10, 0, 0, 30}, 10, 5, 30, 30, {0, 0, 1, 0, 0}, 0, 0x59, 1,
         NameStyle::Goods, Shape::Crate},
        {1, 171, 173, {50, 50, 50, 0, 0, 0, 0, 0, 50, 0}, 1, 1, 50, 50, {0, 0, 0, 0, 0}, 30, 0x00, 1,
         NameStyle::Code, Shape::Missile},
    }};
    return kPlans.at(static_cast<std::size_t>(family));
}

namespace {
using W = WeaponGroup;
constexpr W kNo = W::None;
} // namespace

// In category row order; the units of row c are of kind c + 1. Family, defence type, weapon slots, carrier class, carry capacity,
// supply flags, extra board flags, price, ECM
const std::array<CategoryPlan, kCategoryCount> kCategoryPlans = {{
    /* 要撃機 */ {Family::Air, 0, {W::AirGun, W::AirToAir, W::AirToAir, W::AirToAir, kNo, kNo}, 0, 0, 0, 0, 5200, 1},
    /* 戦闘機 */ {Family::Air, 1, {W::AirGun, W::AirToAir, W::AirToAir, W::Bomb, kNo, kNo}, 0, 0, 0, 0x04, 4800, 1},
    /* 戦闘攻撃機 */ {Family::Air, 1, {W::AirGun, W::AirToAir, W::Bomb, W::AirToGround, W::AirToGround, kNo}, 0, 0, 0, 0x04, 5600, 1},
    /* 攻撃機 */ {Family::Air, 2, {W::AirGun, W::Bomb, W::Bomb, W::AirToGround, W::AirToShip, kNo}, 0, 0, 0, 0, 4200, 1},
    /* 爆撃機 */ {Family::Air, 0, {W::AirGun, W::Bomb, W::Bomb, W::AirToGround, W::AirToShip, kNo}, 0, 0, 0, 0, 9800, 2},
    /* 電子戦機 */ {Family::Air, 1, {W::AirToGround, kNo, kNo, kNo, kNo, kNo}, 0, 0, 0, 0, 7200, 12},
    /* 早期警戒機 */ {Family::Air, 0, {kNo, kNo, kNo, kNo, kNo, kNo}, 0, 0, 0, 0x04, 8400, 6},
    /* 偵察機 */ {Family::Air, 0, {kNo, kNo, kNo, kNo, kNo, kNo}, 0, 0, 0, 0, 3600, 3},
    /* 対潜哨戒機 */ {Family::Air, 2, {W::AntiSubmarine, W::AntiSubmarine, W::AirToShip, kNo, kNo, kNo}, 0, 0, 0, 0, 6400, 2},
    /* 輸送機 */ {Family::Air, 1, {kNo, kNo, kNo, kNo, kNo, kNo}, 1, 8, 0, 0, 3800, 1},
    /* 給油機 */ {Family::Air, 1, {kNo, kNo, kNo, kNo, kNo, kNo}, 0, 0, 1, 0, 4400, 1},
    /* 攻撃ヘリ */ {Family::Heli, 2, {W::AutoCannon, W::HeliRocket, W::AntiTank, W::AirToAir, kNo, kNo}, 0, 0, 0, 0, 3400, 1},
    /* 兵員輸送ヘリ */ {Family::Heli, 2, {W::AutoCannon, kNo, kNo, kNo, kNo, kNo}, 64, 2, 0, 0, 2200, 0},
    /* 大型輸送ヘリ */ {Family::Heli, 2, {kNo, kNo, kNo, kNo, kNo, kNo}, 64, 6, 0, 0, 3000, 0},
    /* 偵察ヘリ */ {Family::Heli, 2, {W::HeliRocket, kNo, kNo, kNo, kNo, kNo}, 0, 0, 0, 0, 1800, 1},
    /* 対潜ヘリ */ {Family::Heli, 2, {W::AntiSubmarine, W::AntiSubmarine, kNo, kNo, kNo, kNo}, 0, 0, 0, 0, 2600, 0},
    /* 早期警戒ヘリ */ {Family::Heli, 2, {kNo, kNo, kNo, kNo, kNo, kNo}, 0, 0, 0, 0, 3200, 4},
    /* 戦車 */ {Family::Tracked, 3, {W::TankGun, W::AutoCannon, W::AutoCannon, kNo, kNo, kNo}, 0, 0, 0, 0, 2500, 0},
    /* 歩兵戦闘車 */ {Family::Tracked, 3, {W::AutoCannon, W::AntiTank, W::AutoCannon, kNo, kNo, kNo}, 0, 0, 0, 0, 1800, 0},
    /* 兵員輸送車 */ {Family::Amphibious, 3, {W::AutoCannon, kNo, kNo, kNo, kNo, kNo}, 0, 0, 0, 0, 1200, 0},
    /* 偵察車 */ {Family::Wheeled, 3, {W::AutoCannon, W::AntiTank, kNo, kNo, kNo, kNo}, 0, 0, 0, 0x40, 1400, 0},
    /* 戦車駆逐車 */ {Family::Tracked, 3, {W::TankGun, W::AntiTank, kNo, kNo, kNo, kNo}, 0, 0, 0, 0, 2100, 0},
    /* 自走砲 */ {Family::Tracked, 3, {W::Artillery, W::AutoCannon, kNo, kNo, kNo, kNo}, 0, 0, 0, 0, 2300, 0},
    /* 自走ロケット砲 */ {Family::Wheeled, 3, {W::RocketArtillery, kNo, kNo, kNo, kNo, kNo}, 0, 0, 0, 0, 2400, 0},
    /* 自走対空砲 */ {Family::Tracked, 3, {W::AntiAirGun, W::AntiAirGun, kNo, kNo, kNo, kNo}, 0, 0, 0, 0, 2000, 0},
    /* 自走対空ミサイル */ {Family::Wheeled, 3, {W::SurfaceToAir, W::AntiAirGun, kNo, kNo, kNo, kNo}, 0, 0, 0, 0, 2800, 0},
    /* 補給車 */ {Family::Wheeled, 3, {kNo, kNo, kNo, kNo, kNo, kNo}, 0, 0, 2, 0, 800, 0},
    /* 砲兵車両 */ {Family::Wheeled, 3, {W::Artillery, kNo, kNo, kNo, kNo, kNo}, 0, 0, 0, 0, 1600, 0},
    /* 対空ミサイル車両 */ {Family::Wheeled, 3, {W::SurfaceToAir, kNo, kNo, kNo, kNo, kNo}, 0, 0, 0, 0, 3000, 0},
    /* 対艦ミサイル車両 */ {Family::Wheeled, 3, {W::SurfaceToShip, kNo, kNo, kNo, kNo, kNo}, 0, 0, 0, 0, 3200, 0},
    /* 対砲レーダー車両 */ {Family::Wheeled, 3, {kNo, kNo, kNo, kNo, kNo, kNo}, 0, 0, 0, 0, 1900, 2},
    /* 対空レーダー車両 */ {Family::Wheeled, 3, {kNo, kNo, kNo, kNo, kNo, kNo}, 0, 0, 0, 0, 2100, 3},
    /* 歩兵 */ {Family::Infantry, 4, {W::SmallArms, W::AntiTank, W::SurfaceToAir, kNo, kNo, kNo}, 0, 0, 0, 0, 1000, 0},
    /* 巡洋艦 */ {Family::Ship, 6, {W::NavalGun, W::ShipToShip, W::SurfaceToAir, W::Torpedo, W::AutoCannon, W::AntiSubmarine}, 0, 0, 0, 0, 42000, 4},
    /* 駆逐艦 */ {Family::Ship, 6, {W::NavalGun, W::ShipToShip, W::SurfaceToAir, W::Torpedo, W::AutoCannon, W::AntiSubmarine}, 0, 0, 0, 0, 26000, 3},
    /* フリゲート艦 */ {Family::Ship, 6, {W::NavalGun, W::ShipToShip, W::Torpedo, W::AutoCannon, kNo, kNo}, 0, 0, 0, 0, 16000, 2},
    /* 高速攻撃艇 */ {Family::Ship, 6, {W::ShipToShip, W::AutoCannon, kNo, kNo, kNo, kNo}, 0, 0, 0, 0, 4200, 1},
    /* 空母 */ {Family::Ship, 6, {W::SurfaceToAir, W::AutoCannon, kNo, kNo, kNo, kNo}, 4, 40, 0, 0, 92000, 3},
    /* ヘリ空母 */ {Family::Ship, 6, {W::SurfaceToAir, W::AutoCannon, kNo, kNo, kNo, kNo}, 128, 16, 0, 0, 48000, 2},
    /* 揚陸艦 */ {Family::Ship, 6, {W::NavalGun, W::AutoCannon, kNo, kNo, kNo, kNo}, 16, 20, 0, 0, 31000, 1},
    /* 輸送艦 */ {Family::Ship, 6, {W::AutoCannon, kNo, kNo, kNo, kNo, kNo}, 8, 30, 0, 0, 12000, 0},
    /* 補給艦 */ {Family::Ship, 6, {W::AutoCannon, kNo, kNo, kNo, kNo, kNo}, 0, 0, 4, 0, 14000, 0},
    /* 潜水艦 */ {Family::Submarine, 7, {W::Torpedo, W::Torpedo, W::ShipToShip, kNo, kNo, kNo}, 0, 0, 0, 0, 36000, 0},
    /* 司令部 */ {Family::Installation, 5, {W::SmallArms, kNo, kNo, kNo, kNo, kNo}, 0, 0, 0, 0, 5000, 2},
    /* 砲兵陣地 */ {Family::Installation, 3, {W::Artillery, kNo, kNo, kNo, kNo, kNo}, 0, 0, 0, 0, 1500, 0},
    /* 対空ミサイル陣地 */ {Family::Installation, 3, {W::SurfaceToAir, kNo, kNo, kNo, kNo, kNo}, 0, 0, 0, 0, 3000, 0},
    /* 対艦ミサイル陣地 */ {Family::Installation, 3, {W::SurfaceToShip, kNo, kNo, kNo, kNo, kNo}, 0, 0, 0, 0, 3500, 0},
    /* 対砲レーダー陣地 */ {Family::Installation, 3, {kNo, kNo, kNo, kNo, kNo, kNo}, 0, 0, 0, 0, 1800, 2},
    /* 対空レーダー陣地 */ {Family::Installation, 3, {kNo, kNo, kNo, kNo, kNo, kNo}, 0, 0, 0, 0, 2000, 3},
    /* 補給物資 */ {Family::Supply, 255, {kNo, kNo, kNo, kNo, kNo, kNo}, 0, 0, 2, 0, 300, 0},
    /* ミサイル */ {Family::Missile, 8, {W::Warhead, kNo, kNo, kNo, kNo, kNo}, 0, 0, 0, 0, 800, 0},
    /* 巡航ミサイル */ {Family::Missile, 8, {W::Warhead, kNo, kNo, kNo, kNo, kNo}, 0, 0, 0, 0, 2500, 0},
}};

const char* CategoryName(int categoryRow)
{
    return kCategories.at(static_cast<std::size_t>(categoryRow)).name;
}

int CategoryFirstUnit(int categoryRow)
{
    return kCategories.at(static_cast<std::size_t>(categoryRow)).firstUnit;
}

int CategoryOfUnit(int unitNumber)
{
    for (int c = kCategoryCount - 1; c >= 0; --c)
        if (unitNumber >= CategoryFirstUnit(c))
            return c;
    throw std::logic_error("unit 0 belongs to no category");
}

bool CategoryHasAltPicture(int categoryRow)
{
    switch (categoryRow) {
    case 1: case 3: case 11: case 17: case 32: case 34: case 42: case 50:
        return true;
    default:
        return false;
    }
}

int CategoryGraphicNumber(int categoryRow)
{
    return 4 * categoryRow + 1;
}

} // namespace corvane::demo
