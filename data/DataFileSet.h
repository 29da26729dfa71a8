#pragma once
// The game folder and its data files: finding the folder, loading the four images, saving the unit table.
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "data/FileIo.h"
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
// The same, reading UNITINFO.DAT into `scratch` first (whatever it held is lost, whether or not the
// load succeeds). `scratch` may be images.units itself, for a caller that needs nothing of the table
// it held if the load fails.
bool LoadGameImages(const std::string& folderText, GameImages& images, UserPrompts& prompts, UnitTable& scratch);

// Writes the whole table to UNITINFO.DAT. The first save keeps the file that was there as UNITINFO.ORG;
// UNITINFO.ORG, once there, is never touched. On failure both files are as before, with a message.
// A read-only UNITINFO.DAT is never replaced, on the first save or any later one (access denied), and
// an UNITINFO.ORG that is UNITINFO.DAT itself (a link to it) is no backup (access denied).
bool SaveUnitTable(const std::string& folderText, const UnitTable& table, UserPrompts& prompts);

// The game folder's lock (FolderLock) for a folder text. The editor's save waits for it a little; a
// command-line command waits as long as it takes. On failure a message says why.
std::optional<corvane::FolderLock> LockGameFolder(const std::string& folderText, int waitMs, UserPrompts& prompts);

struct SaveRequest {
    const corvane::FolderLock* heldLock = nullptr;  // the folder's lock, taken by the caller; else taken here
    std::span<const std::uint8_t> expected;          // when not empty: what UNITINFO.DAT must still hold
};
struct SaveOutcome {
    bool saved = false;          // the new table is in UNITINFO.DAT (a warning may have been shown)
    bool warned = false;         // saved, but not all went well (shown: not flushed to disk, mode not kept)
    bool changedOnDisk = false;  // not saved, nothing shown: UNITINFO.DAT no longer starts with `expected`
    std::vector<std::uint8_t> found;  // then: what it holds now (its first 276,016 bytes)
};
// SaveUnitTable under the game folder's lock; with `expected`, first checks that no other program has
// changed UNITINFO.DAT (a missing file counts as unchanged: nothing there is lost).
SaveOutcome SaveUnitTable(const std::string& folderText, const UnitTable& table, UserPrompts& prompts,
                          const SaveRequest& request);

// UNITINFO.DAT and UNITINFO.ORG of a game folder: the files an export must never replace.
std::vector<std::filesystem::path> GameTableFiles(const std::string& folderText);
