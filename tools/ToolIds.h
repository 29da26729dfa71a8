#pragma once
// Control ids of the weapon picker (template 135) and the three tool windows (templates 130, 131
// and 137), for the templates and the windows alike.

namespace tool {

// Weapon picker.
inline constexpr int kWeaponList = 1252;
inline constexpr int kWeaponAttackFirst = 1253;   // 1253..1262: 高 中 低 車 兵 司 艦 潜 ミ 設
inline constexpr int kWeaponPower = 1263;         // 力; then 数 1264, 填 1265, 射 1266
inline constexpr int kWeaponSeparation = 1269;    // 分離ﾕﾆｯﾄ

// Movement costs.
inline constexpr int kSetList = 1243;
inline constexpr int kCostFirst = 1222;           // 1222..1242, terrains in table order

// Producing countries: the check box of production type k (0..31) is 1219 + k up to 1247, then
// 1249, 1250, 1251 (1248 is skipped).
constexpr int ProductBox(int type) { return type <= 28 ? 1219 + type : 1249 + (type - 29); }

// Unknown data: data00..data11 are 1264..1275.
inline constexpr int kDataFirst = 1264;

}  // namespace tool
