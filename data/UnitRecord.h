#pragma once
// One 138-byte unit record of UNITINFO.DAT and its fields. Every byte belongs to exactly one field;
// all numbers are little-endian and unsigned except data03 (signed 16-bit).
#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

#include "data/ByteOrder.h"

inline constexpr int kUnitCount = 1280;  // units the editor knows
inline constexpr std::size_t kUnitRecordSize = 138;
inline constexpr std::size_t kUnitNameSize = 24;
inline constexpr std::size_t kUnitPatternSize = 12;
inline constexpr int kUnitPatternCount = 4;
inline constexpr int kWeaponSlotCount = 6;
inline constexpr int kDefenceCount = 10;
inline constexpr int kSearchCount = 5;

// Index i of a field of n elements. An index outside its field is a programming error.
inline std::size_t CheckedIndex(int i, [[maybe_unused]] int n)
{
    assert(i >= 0 && i < n);
    return static_cast<std::size_t>(i);
}

// One of the four 12-byte pattern blocks ("P1" to "P4"), as a value.
struct UnitPattern {
    std::array<std::uint8_t, kUnitPatternSize> bytes{};

    std::uint8_t slotValue(int k) const { return bytes[CheckedIndex(k, kWeaponSlotCount)]; }
    void setSlotValue(int k, std::uint8_t v) { bytes[CheckedIndex(k, kWeaponSlotCount)] = v; }
    std::uint8_t speedModifier() const { return bytes[6]; }
    void setSpeedModifier(std::uint8_t v) { bytes[6] = v; }
    std::uint8_t tank() const { return bytes[7]; }
    void setTank(std::uint8_t v) { bytes[7] = v; }
    std::uint8_t ecm() const { return bytes[8]; }
    void setEcm(std::uint8_t v) { bytes[8] = v; }
    std::uint8_t unnamed() const { return bytes[9]; }
    void setUnnamed(std::uint8_t v) { bytes[9] = v; }
    std::uint16_t fuel() const { return corvane::ReadU16(&bytes[10]); }
    void setFuel(std::uint16_t v) { corvane::WriteU16(&bytes[10], v); }
};

struct UnitRecord {
    std::array<std::uint8_t, kUnitRecordSize> bytes{};

    // Name: code page 932 bytes up to the first zero, at most 24 (a 24-byte name has no terminator).
    std::string nameText() const;
    // Stores at most 24 bytes and zero-fills the rest of the field.
    void setName(std::string_view cp932Bytes);

    std::uint8_t kind() const { return bytes[24]; }
    void setKind(std::uint8_t v) { bytes[24] = v; }
    std::uint8_t altitude() const { return bytes[25]; }
    void setAltitude(std::uint8_t v) { bytes[25] = v; }
    std::uint8_t defence(int i) const { return indexed(26, kDefenceCount, i); }
    void setDefence(int i, std::uint8_t v) { setIndexed(26, kDefenceCount, i, v); }
    std::uint8_t boardFlags() const { return bytes[36]; }
    void setBoardFlags(std::uint8_t v) { bytes[36] = v; }
    std::uint8_t defenceType() const { return bytes[37]; }
    void setDefenceType(std::uint8_t v) { bytes[37] = v; }
    std::uint8_t count() const { return bytes[38]; }
    void setCount(std::uint8_t v) { bytes[38] = v; }
    std::uint8_t durability() const { return bytes[39]; }
    void setDurability(std::uint8_t v) { bytes[39] = v; }
    std::uint8_t concealIdle() const { return bytes[40]; }
    void setConcealIdle(std::uint8_t v) { bytes[40] = v; }
    std::uint8_t concealActive() const { return bytes[41]; }
    void setConcealActive(std::uint8_t v) { bytes[41] = v; }
    std::uint8_t search(int i) const { return indexed(42, kSearchCount, i); }
    void setSearch(int i, std::uint8_t v) { setIndexed(42, kSearchCount, i, v); }
    std::uint8_t carrierClass() const { return bytes[47]; }
    void setCarrierClass(std::uint8_t v) { bytes[47] = v; }
    std::uint8_t data00() const { return bytes[48]; }
    void setData00(std::uint8_t v) { bytes[48] = v; }
    std::uint8_t supplyFlags() const { return bytes[49]; }
    void setSupplyFlags(std::uint8_t v) { bytes[49] = v; }

    // Weapon number of slot k (0..5); 0 = no weapon.
    std::uint16_t weapon(int k) const;
    void setWeapon(int k, std::uint16_t v);

    // Pattern p (0..3) starts at 62 + 12 * p.
    UnitPattern pattern(int p) const;
    void setPattern(int p, const UnitPattern& pattern);
    std::uint8_t patternSlotValue(int p, int k) const { return pattern(p).slotValue(k); }
    void setPatternSlotValue(int p, int k, std::uint8_t v) { auto q = pattern(p); q.setSlotValue(k, v); setPattern(p, q); }
    std::uint8_t patternSpeedModifier(int p) const { return pattern(p).speedModifier(); }
    void setPatternSpeedModifier(int p, std::uint8_t v) { auto q = pattern(p); q.setSpeedModifier(v); setPattern(p, q); }
    std::uint8_t patternTank(int p) const { return pattern(p).tank(); }
    void setPatternTank(int p, std::uint8_t v) { auto q = pattern(p); q.setTank(v); setPattern(p, q); }
    std::uint8_t patternEcm(int p) const { return pattern(p).ecm(); }
    void setPatternEcm(int p, std::uint8_t v) { auto q = pattern(p); q.setEcm(v); setPattern(p, q); }
    std::uint8_t patternUnnamed(int p) const { return pattern(p).unnamed(); }
    void setPatternUnnamed(int p, std::uint8_t v) { auto q = pattern(p); q.setUnnamed(v); setPattern(p, q); }
    std::uint16_t patternFuel(int p) const { return pattern(p).fuel(); }
    void setPatternFuel(int p, std::uint16_t v) { auto q = pattern(p); q.setFuel(v); setPattern(p, q); }

    std::uint32_t productionFlags() const { return corvane::ReadU32(&bytes[110]); }
    void setProductionFlags(std::uint32_t v) { corvane::WriteU32(&bytes[110], v); }
    std::uint32_t price() const { return corvane::ReadU32(&bytes[114]); }
    void setPrice(std::uint32_t v) { corvane::WriteU32(&bytes[114], v); }
    std::uint8_t carryCapacity() const { return bytes[118]; }
    void setCarryCapacity(std::uint8_t v) { bytes[118] = v; }
    std::uint8_t data01() const { return bytes[119]; }
    void setData01(std::uint8_t v) { bytes[119] = v; }
    std::uint8_t boardSize() const { return bytes[120]; }
    void setBoardSize(std::uint8_t v) { bytes[120] = v; }
    std::uint8_t data02() const { return bytes[121]; }
    void setData02(std::uint8_t v) { bytes[121] = v; }
    std::int16_t data03() const { return static_cast<std::int16_t>(corvane::ReadU16(&bytes[122])); }
    void setData03(std::int16_t v) { corvane::WriteU16(&bytes[122], static_cast<std::uint16_t>(v)); }
    // 0 = no transformation, else target unit number + 1.
    std::uint16_t transformTarget() const { return corvane::ReadU16(&bytes[124]); }
    void setTransformTarget(std::uint16_t v) { corvane::WriteU16(&bytes[124], v); }
    std::uint8_t moveSet() const { return bytes[126]; }
    void setMoveSet(std::uint8_t v) { bytes[126] = v; }
    std::uint8_t data04() const { return bytes[127]; }
    void setData04(std::uint8_t v) { bytes[127] = v; }
    std::uint8_t data05() const { return bytes[128]; }
    void setData05(std::uint8_t v) { bytes[128] = v; }
    std::uint8_t data06() const { return bytes[129]; }
    void setData06(std::uint8_t v) { bytes[129] = v; }
    std::uint16_t graphicNumber() const { return corvane::ReadU16(&bytes[130]); }
    void setGraphicNumber(std::uint16_t v) { corvane::WriteU16(&bytes[130], v); }
    std::uint8_t data07() const { return bytes[132]; }
    void setData07(std::uint8_t v) { bytes[132] = v; }
    std::uint8_t data08() const { return bytes[133]; }
    void setData08(std::uint8_t v) { bytes[133] = v; }
    std::uint8_t transformTime() const { return bytes[134]; }
    void setTransformTime(std::uint8_t v) { bytes[134] = v; }
    std::uint8_t data09() const { return bytes[135]; }
    void setData09(std::uint8_t v) { bytes[135] = v; }
    std::uint8_t data10() const { return bytes[136]; }
    void setData10(std::uint8_t v) { bytes[136] = v; }
    std::uint8_t data11() const { return bytes[137]; }
    void setData11(std::uint8_t v) { bytes[137] = v; }

private:
    // Element i of an array field of n elements.
    std::uint8_t indexed(std::size_t offset, int n, int i) const { return bytes[offset + CheckedIndex(i, n)]; }
    void setIndexed(std::size_t offset, int n, int i, std::uint8_t v) { bytes[offset + CheckedIndex(i, n)] = v; }

};

static_assert(sizeof(UnitRecord) == kUnitRecordSize && alignof(UnitRecord) == 1);
static_assert(std::is_trivially_copyable_v<UnitRecord> && std::is_standard_layout_v<UnitRecord>);

// List text of a unit: "%04d:" with the unit number, then nameText(); raw code page 932 bytes.
std::string UnitListText(int unitNumber, const UnitRecord& record);
