#pragma once
// The game folder and its data files: finding the folder, loading the four images, saving the unit table.
#include <string>

#include "data/ReferenceTables.h"
#include "data/UnitTable.h"
#include "data/UserPrompts.h"

inline constexpr char kUnitInfoFileName[] = "UNITINFO.DAT";
inline constexpr char kUnitBackupFileName[] = "UNITINFO.ORG";
inline constexpr char kWeaponFileName[] = "WEAPONKD.DAT";
inline constexpr char kKindFileName[] = "UNITKIND.DAT";
inline constexpr char kMoveCostFileName[] = "MVCOSTKD.DAT";

struct GameImages {
    UnitTable units;
    WeaponTable weapons;
    KindTable kinds;
    MoveCostTable moveCosts;
};

// Makes sure UNITINFO.DAT can be read from the game folder, asking the user for the folder until it can
// or the user gives up (then the folder text becomes empty and the result is false).
bool LocateGameFolder(std::string& folderText, UserPrompts& prompts);

// Reads UNITINFO.DAT, WEAPONKD.DAT, UNITKIND.DAT and MVCOSTKD.DAT in this order; stops at the first that
// fails, with its message. Images of files read before keep their new contents; the others are untouched.
// UNITINFO.DAT must hold at least 276,016 bytes (only those are read); a shorter reference table loads
// with the missing bytes as zero.
bool LoadGameImages(const std::string& folderText, GameImages& images, UserPrompts& prompts);

// Writes the whole table to UNITINFO.DAT. The first save keeps the file that was there as UNITINFO.ORG;
// UNITINFO.ORG, once there, is never touched. On failure both files are as before, with a message.
bool SaveUnitTable(const std::string& folderText, const UnitTable& table, UserPrompts& prompts);
