#pragma once
// The plan behind the demo data: unit families, the 52 unit categories and the weapon groups.
// Shared by the generators of the unit table, the reference tables and the pictures.

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace corvane::demo {

// Little-endian stores into a byte image.
inline void PutU8(std::vector<std::uint8_t>& bytes, std::size_t offset, unsigned value)
{
    bytes.at(offset) = static_cast<std::uint8_t>(value & 0xFF);
}
inline void PutU16(std::vector<std::uint8_t>& bytes, std::size_t offset, unsigned value)
{
    PutU8(bytes, offset, value);
    PutU8(bytes, offset + 1, value >> 8);
}
inline void PutU32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value)
{
    PutU16(bytes, offset, value & 0xFFFF);
    PutU16(bytes, offset + 2, value >> 16);
}
// Copies text into a fixed-width field of the image; the text must fit.
void PutText(std::vector<std::uint8_t>& bytes, std::size_t offset, std::size_t width, const std::string& text);

// A deterministic filler that is never zero, for heads, tails and bytes that nothing reads.
inline std::uint8_t NonZeroFill(std::size_t i, unsigned seed)
{
    return static_cast<std::uint8_t>(1 + (i * 89 + (i / 138) * 7 + seed * 31) % 255);
}

// The code page 932 text of utf8, cut at a character boundary to at most maxBytes.
std::string FitCp932(const std::string& utf8, std::size_t maxBytes);

enum class WeaponGroup {
    AirGun, AirToAir, Bomb, AirToGround, AirToShip, AntiSubmarine, HeliRocket, TankGun, AutoCannon,
    AntiTank, Artillery, RocketArtillery, AntiAirGun, SurfaceToAir, SurfaceToShip, SmallArms, NavalGun,
    ShipToShip, Torpedo, Warhead,
    None // an empty weapon slot
};
inline constexpr int kWeaponGroupCount = static_cast<int>(WeaponGroup::None);

struct WeaponGroupRange {
    int first; // first weapon number of the group
    int count;
};
WeaponGroupRange WeaponsOf(WeaponGroup group);

enum class Family { Air, Heli, Tracked, Wheeled, Amphibious, Infantry, Ship, Submarine, Installation, Supply, Missile };

enum class NameStyle { Katakana, TypeNumber, Ordinal, ShipClass, Goods, Code };

enum class Shape { Aircraft, Helicopter, Tank, Truck, Soldier, Ship, Carrier, Submarine, Building, Crate, Missile };

struct FamilyPlan {
    std::uint8_t altitude;
    int firstMoveSet, lastMoveSet;
    std::array<std::uint8_t, 10> defence;
    std::uint8_t count, durability, concealIdle, concealActive;
    std::array<std::uint8_t, 5> search;
    std::uint16_t fuel;
    std::uint8_t boardFlags, boardSize;
    NameStyle nameStyle;
    Shape shape;
};
const FamilyPlan& PlanOf(Family family);

// How the units of one category row of the editor's category list are made.
struct CategoryPlan {
    Family family;
    std::uint8_t defenceType;
    std::array<WeaponGroup, 6> weapons;
    std::uint8_t carrierClass, carryCapacity, supplyFlags, extraBoardFlags;
    std::uint32_t price;
    std::uint8_t ecm;
};
inline constexpr int kCategoryCount = 52;
extern const std::array<CategoryPlan, kCategoryCount> kCategoryPlans;

// Name (UTF-8; also the name of the unit kind the category uses) and first unit of category row c.
const char* CategoryName(int categoryRow);
int CategoryFirstUnit(int categoryRow);
// Kind of the units of category row c: the kinds 1 to 52 carry the category names.
inline std::uint8_t CategoryKind(int categoryRow) { return static_cast<std::uint8_t>(categoryRow + 1); }
// The category row that unit u (1..1279) belongs to.
int CategoryOfUnit(int unitNumber);

// Kinds used by infantry units besides the category's own, in the order units take them.
inline constexpr std::array<std::uint8_t, 6> kInfantryKinds = {33, 53, 54, 55, 56, 57};

// Pictures: which categories have none, and which also have the "s" variant.
bool CategoryHasAltPicture(int categoryRow);
inline constexpr int kFourDigitGraphicNumber = 1234;

// The generators.
std::vector<std::uint8_t> MakeDemoUnitInfo();
std::vector<std::uint8_t> MakeDemoWeapons();
std::vector<std::uint8_t> MakeDemoKinds();
std::vector<std::uint8_t> MakeDemoMoveCosts();
std::vector<std::uint8_t> MakeDemoProductionTypes();
std::vector<std::string> DemoKindNames(); // UTF-8, 128 entries, empty for unnamed kinds
std::map<std::string, std::vector<std::uint8_t>> MakeDemoPictures();

} // namespace corvane::demo
