#pragma once
// A complete, made-up game folder: the four data files, prokind.dat and the unit pictures.
// Everything is generated here and is the same, byte for byte, on every run.

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "demo/Bmp.h"

struct GameFolderFiles {
    std::vector<std::uint8_t> unitInfo;        // UNITINFO.DAT, 276,016 bytes
    std::vector<std::uint8_t> weapons;         // WEAPONKD.DAT, 17,008 bytes
    std::vector<std::uint8_t> kinds;           // UNITKIND.DAT, 5,136 bytes
    std::vector<std::uint8_t> moveCosts;       // MVCOSTKD.DAT, 30,640 bytes
    std::vector<std::uint8_t> productionTypes; // prokind.dat, 912 bytes
    std::map<std::string, std::vector<std::uint8_t>> pictures; // file name in Unit/ -> .bmp bytes
};

// The demo game data. Callers may change any bytes (or sizes) before writing a folder.
GameFolderFiles MakeDemoGameFiles();

// Writes UNITINFO.DAT, WEAPONKD.DAT, UNITKIND.DAT, MVCOSTKD.DAT, prokind.dat and Unit/<name> for each
// picture into folder, creating folders as needed and replacing files of the same names. The bytes are
// written as given, whatever their sizes. Throws std::invalid_argument for a picture name that is not a
// plain file name, std::runtime_error (naming the path) when a folder or file cannot be written.
void WriteGameFolder(const std::filesystem::path& folder, const GameFolderFiles& files);

// Landmarks of the demo data that tests can rely on.
namespace corvane::demo {

inline constexpr int kEmptyUnit = 0;              // all 138 bytes zero
inline constexpr int kFullNameUnit = 7;           // 24-byte name, no terminator: "超高速長距離全天候迎撃機"
inline constexpr int kHalfWidthNameUnit = 100;    // name in half-width katakana: "ｼﾃﾞﾝ攻撃機"
inline constexpr int kFirstAndLastProducerUnit = 17; // productionFlags bytes 01 00 00 80
inline constexpr int kPrice1000Unit = 737;        // price 1000: bytes E8 03 00 00
inline constexpr int kTransformUnitA = 220;       // transforms into kTransformUnitB (stored 281) ...
inline constexpr int kTransformUnitB = 280;       // ... and back (stored 221)
inline constexpr int kTransformToLastUnit = 1278; // transforms into unit 1279 (stored 1280)
inline constexpr int kFourDigitPictureUnit = 1279; // graphicNumber 1234: Unit1234.bmp; weapon 472; set 173
inline constexpr int kFirstUnusedSlot = 1256;     // units 1256..1259 are unused: all bytes zero
inline constexpr int kLastUnusedSlot = 1259;
inline constexpr int kCommandPostFirst = 1000;    // units 1000..1008: data03 = -1 (bytes FF FF)
inline constexpr int kCommandPostLast = 1008;

inline constexpr int kFullNameKind = 127;         // 24-byte kind name, no terminator
inline constexpr int kFullNameProductionType = 15; // 24-byte production type name, no terminator

// Graphic number of the pictures of the units in category row c (0..51): 4 * c + 1.
int CategoryGraphicNumber(int categoryRow);

} // namespace corvane::demo
