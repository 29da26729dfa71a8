#pragma once
// Control ids of the unit form in the main dialog (template 102), grouped the way the form shows them.

#include <array>

namespace form {

inline constexpr int kUnitList = 1000;
inline constexpr int kName = 1001;
inline constexpr int kKind = 1003;
inline constexpr int kAltitude = 1172;
inline constexpr int kDefenceType = 1192;
inline constexpr int kCarrierClass = 1037;
inline constexpr int kCategory = 1272;

inline constexpr int kDefenceFirst = 1006;     // 1006..1015: 高 中 低 車 兵 司 艦 潜 ミ 設
inline constexpr int kBoardFirst = 1016;       // 1016..1023: boardFlags bits 0..7
inline constexpr int kCount = 1025;
inline constexpr int kDurability = 1026;
inline constexpr int kConcealIdle = 1027;
inline constexpr int kConcealActive = 1028;
inline constexpr int kSearchFirst = 1029;      // 1029..1033: 航空 ヘリ 陸上 海上 海中
inline constexpr int kSupplyFirst = 1193;      // 1193..1195: supplyFlags bits 0..2
inline constexpr int kPrice = 1197;
inline constexpr int kCarryCapacity = 1198;
inline constexpr int kBoardSize = 1199;
inline constexpr int kTransformTarget = 1202;
inline constexpr int kRoadSeaCost = 1210;
inline constexpr int kGraphicNumber = 1212;
inline constexpr int kTransformTime = 1215;
inline constexpr int kPicture = 1216;
inline constexpr int kCapture = 1244;
inline constexpr int kAirborne = 1245;
inline constexpr int kClone = 1248;
inline constexpr int kApply = 1249;
inline constexpr int kMoveSet = 1250;
inline constexpr int kJumpToTransformTarget = 1271;

// Weapon-slot lines k = 0..5.
inline constexpr int kSlotCount = 6;
inline constexpr int kSlotListFirst = 1251;    // slot list of line k: 1251 + k
inline constexpr std::array<int, kSlotCount> kSlotAttackFirst{1068, 1082, 1099, 1113, 1127, 1141};  // ten in a row
inline constexpr std::array<std::array<int, 4>, kSlotCount> kSlotValues{{   // 力 数 填 射
    {1057, 1058, 1059, 1060},
    {1061, 1092, 1093, 1094},
    {1109, 1110, 1111, 1112},
    {1123, 1124, 1125, 1126},
    {1137, 1138, 1139, 1140},
    {1151, 1152, 1154, 1155},
}};
inline constexpr std::array<int, kSlotCount> kSlotPatternFirst{1078, 1095, 1156, 1160, 1164, 1168};  // P1..P4 in a row

// Pattern rows, columns P1..P4.
inline constexpr std::array<int, 4> kSpeedModifier{1153, 1173, 1174, 1175};
inline constexpr std::array<int, 4> kTank{1176, 1177, 1178, 1179};
inline constexpr std::array<int, 4> kEcm{1180, 1181, 1182, 1183};
inline constexpr std::array<int, 4> kUnnamed{1184, 1185, 1186, 1187};
inline constexpr std::array<int, 4> kFuel{1188, 1189, 1190, 1191};

// Menu commands.
inline constexpr int kCmdToggleSpeed = 32771;
inline constexpr int kCmdToggleProduct = 32772;
inline constexpr int kCmdSave = 32775;
inline constexpr int kCmdExport = 32776;
inline constexpr int kCmdImport = 32777;
inline constexpr int kCmdBulkImport = 32778;
inline constexpr int kCmdToggleEtc = 32779;
inline constexpr int kCmdCsvExport = 32820;
inline constexpr int kCmdCsvImport = 32821;
inline constexpr int kCmdExit = 57665;
// Commands beyond the original menu.
inline constexpr int kCmdUndo = 32800;
inline constexpr int kCmdRedo = 32801;
inline constexpr int kCmdFind = 32802;
inline constexpr int kCmdFindNext = 32803;
inline constexpr int kCmdFindPrevious = 32804;
inline constexpr int kCmdCompareBackup = 32805;
inline constexpr int kCmdCompareFile = 32806;
inline constexpr int kCmdPackChanges = 32830;
inline constexpr int kCmdCheckTable = 32831;
inline constexpr int kCmdAbout = 16;   // the About entry of the system menu (or of the Help menu)

}  // namespace form
