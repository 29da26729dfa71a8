#include "res/Resources.h"

#include "editor/UnitFormIds.h"

#include <array>

namespace res {

namespace {

constexpr std::uint32_t kText = Style::AutoHScroll | Style::Border | Style::TabStop;
constexpr std::uint32_t kCombo = Style::VScroll | Style::Sort | Style::Notify | Style::TabStop;
constexpr std::uint32_t kLabel = Style::VCenter;
constexpr std::uint32_t kHead = Style::Center | Style::VCenter;
constexpr std::uint32_t kCheck = Style::TabStop;
constexpr std::uint32_t kButton = Style::TabStop;

ControlTemplate label(int x, int y, int width, int height, const char* text, std::uint32_t style = kLabel)
{
    return {-1, ControlKind::Static, x, y, width, height, text, style};
}

ControlTemplate number(int id, int x, int y, int width, int height)
{
    return {id, ControlKind::Edit, x, y, width, height, "", Style::NumberBox};
}

// The weapon-slot lines: the slot list, ten attack values, 力 数 填 射, and the unit's value for the
// slot in each pattern P1..P4. Columns are 12 units wide, 13 apart; the three groups 2 apart.
void addSlotLines(std::vector<ControlTemplate>& controls)
{
    constexpr int kHeadY = 60;
    constexpr int kFirstLineY = 68;
    constexpr int kLineStep = 11;
    constexpr int kListX = 115;
    constexpr int kAttackX = 192;
    constexpr int kValueX = 323;
    constexpr int kPatternX = 376;
    constexpr int kColumn = 13;
    constexpr int kBox = 12;

    constexpr std::array<const char*, 10> kAttackHeads{"高", "中", "低", "車", "兵", "司", "艦", "潜", "ミ", "設"};
    constexpr std::array<const char*, 4> kValueHeads{"力", "数", "填", "射"};
    constexpr std::array<const char*, 4> kPatternHeads{"P1", "P2", "P3", "P4"};
    for (int i = 0; i < 10; ++i)
        controls.push_back(label(kAttackX + kColumn * i, kHeadY, kBox, 8, kAttackHeads[i], kHead));
    for (int i = 0; i < 4; ++i)
        controls.push_back(label(kValueX + kColumn * i, kHeadY, kBox, 8, kValueHeads[i], kHead));
    for (int i = 0; i < 4; ++i)
        controls.push_back(label(kPatternX + kColumn * i, kHeadY, kBox, 8, kPatternHeads[i], kHead));

    constexpr const auto& kAttackFirst = form::kSlotAttackFirst;
    constexpr const auto& kValueIds = form::kSlotValues;
    constexpr const auto& kPatternFirst = form::kSlotPatternFirst;
    for (int k = 0; k < 6; ++k) {
        const int y = kFirstLineY + kLineStep * k;
        controls.push_back({1251 + k, ControlKind::ListBox, kListX, y, 75, 10, "",
                            Style::Notify | Style::Border | Style::TabStop | Style::NoIntegralHeight});
        for (int i = 0; i < 10; ++i)
            controls.push_back(number(kAttackFirst[k] + i, kAttackX + kColumn * i, y, kBox, 10));
        for (int i = 0; i < 4; ++i)
            controls.push_back(number(kValueIds[k][i], kValueX + kColumn * i, y, kBox, 10));
        for (int p = 0; p < 4; ++p)
            controls.push_back(number(kPatternFirst[k] + p, kPatternX + kColumn * p, y, kBox, 10));
    }
}

// The pattern rows beside "搭乗": one row per pattern field, one column per pattern.
void addPatternRows(std::vector<ControlTemplate>& controls)
{
    constexpr int kHeadY = 133;
    constexpr int kFirstRowY = 141;
    constexpr int kRowStep = 10;
    constexpr int kLabelX = 318;
    constexpr int kBoxX = 348;
    constexpr int kColumn = 20;
    constexpr int kBox = 19;

    constexpr std::array<const char*, 4> kHeads{"P1", "P2", "P3", "P4"};
    for (int p = 0; p < 4; ++p)
        controls.push_back(label(kBoxX + kColumn * p, kHeadY, kBox, 8, kHeads[p], kHead));

    struct Row {
        const char* text;
        std::array<int, 4> ids;
    };
    constexpr std::array<Row, 5> kRows{{
        {"速度修正", {1153, 1173, 1174, 1175}},
        {"タンク", {1176, 1177, 1178, 1179}},
        {"ECM", {1180, 1181, 1182, 1183}},
        {"不明", {1184, 1185, 1186, 1187}},
        {"燃料", {1188, 1189, 1190, 1191}},
    }};
    for (int r = 0; r < 5; ++r) {
        const int y = kFirstRowY + kRowStep * r;
        controls.push_back(label(kLabelX, y, kBoxX - kLabelX - 1, 9, kRows[r].text));
        for (int p = 0; p < 4; ++p)
            controls.push_back(number(kRows[r].ids[p], kBoxX + kColumn * p, y, kBox, 9));
    }
}

std::vector<ControlTemplate> mainDialogControls()
{
    std::vector<ControlTemplate> c;

    // 兵器選択: the category combo, the unit list and the clone button.
    c.push_back({-1, ControlKind::GroupBox, 5, 5, 100, 265, "兵器選択", Style::None});
    c.push_back({1272, ControlKind::ComboBox, 10, 15, 90, 150, "", kCombo});
    c.push_back({1000, ControlKind::ListBox, 10, 30, 90, 215, "",
                 Style::Notify | Style::VScroll | Style::Border | Style::TabStop | Style::NoIntegralHeight});
    c.push_back({1248, ControlKind::PushButton, 30, 250, 50, 14, "複製", kButton});

    // 兵器情報: the unit form.
    c.push_back({-1, ControlKind::GroupBox, 110, 5, 320, 265, "兵器情報", Style::None});

    // Top rows: name, kind, altitude, defence type, count, durability, price, the kind's flags.
    c.push_back({1001, ControlKind::Edit, 115, 15, 100, 12, "", kText});
    c.push_back(label(220, 15, 16, 12, "兵種"));
    c.push_back({1003, ControlKind::ComboBox, 238, 15, 142, 150, "", kCombo});
    c.push_back(label(115, 29, 31, 12, "部隊高度"));
    c.push_back({1172, ControlKind::ComboBox, 147, 29, 42, 80, "", kCombo});
    c.push_back(label(195, 29, 37, 12, "防御タイプ"));
    c.push_back({1192, ControlKind::ComboBox, 233, 29, 54, 120, "", kCombo});
    c.push_back({1244, ControlKind::CheckBox, 295, 29, 30, 12, "占領", kCheck});
    c.push_back({1245, ControlKind::CheckBox, 330, 29, 30, 12, "空挺", kCheck});
    c.push_back(label(115, 43, 16, 12, "機数"));
    c.push_back(number(1025, 133, 43, 20, 12));
    c.push_back(label(160, 43, 16, 12, "耐久"));
    c.push_back(number(1026, 178, 43, 20, 12));
    c.push_back(label(205, 43, 16, 12, "価格"));
    c.push_back(number(1197, 223, 43, 50, 12));

    // 補給
    c.push_back({-1, ControlKind::GroupBox, 385, 15, 40, 45, "補給", Style::None});
    c.push_back({1193, ControlKind::CheckBox, 388, 24, 36, 10, "給油機", kCheck});
    c.push_back({1194, ControlKind::CheckBox, 388, 35, 36, 10, "補給車", kCheck});
    c.push_back({1195, ControlKind::CheckBox, 388, 46, 36, 10, "補給艦", kCheck});

    addSlotLines(c);
    addPatternRows(c);

    // 防御力: two columns of five.
    c.push_back({-1, ControlKind::GroupBox, 115, 135, 55, 90, "防御力", Style::None});
    constexpr std::array<const char*, 10> kDefenceLabels{"高", "中", "低", "車", "兵", "司", "艦", "潜", "ミ", "設"};
    for (int i = 0; i < 10; ++i) {
        const int x = i < 5 ? 118 : 143;
        const int y = 147 + 15 * (i % 5);
        c.push_back(label(x, y, 8, 12, kDefenceLabels[i]));
        c.push_back(number(1006 + i, x + 9, y, 15, 12));
    }

    // 索敵能力
    c.push_back({-1, ControlKind::GroupBox, 175, 135, 35, 90, "索敵能力", Style::None});
    constexpr std::array<const char*, 5> kSearchLabels{"航空", "ヘリ", "陸上", "海上", "海中"};
    for (int i = 0; i < 5; ++i) {
        const int y = 147 + 15 * i;
        c.push_back(label(178, y, 15, 12, kSearchLabels[i]));
        c.push_back(number(1029 + i, 194, y, 14, 12));
    }

    // 搭載: capacity and carrier class.
    c.push_back({-1, ControlKind::GroupBox, 215, 135, 50, 45, "搭載", Style::None});
    c.push_back(label(218, 147, 16, 12, "容量"));
    c.push_back(number(1198, 236, 147, 26, 12));
    c.push_back({1037, ControlKind::ComboBox, 218, 162, 45, 120, "", kCombo});

    // 隠蔽能力
    c.push_back({-1, ControlKind::GroupBox, 215, 180, 50, 45, "隠蔽能力", Style::None});
    c.push_back(label(218, 192, 22, 12, "待機時"));
    c.push_back(number(1027, 241, 192, 21, 12));
    c.push_back(label(218, 207, 22, 12, "行動時"));
    c.push_back(number(1028, 241, 207, 21, 12));

    // 搭乗: size as a passenger and the carriers it can board.
    c.push_back({-1, ControlKind::GroupBox, 270, 135, 45, 110, "搭乗", Style::None});
    c.push_back(label(273, 147, 16, 12, "容量"));
    c.push_back(number(1199, 290, 147, 22, 12));
    constexpr std::array<const char*, 8> kBoardLabels{"輸送機", "予備", "空母", "輸送艦", "揚陸艦", "船？", "輸送ヘリ", "ヘリ空母"};
    for (int i = 0; i < 8; ++i)
        c.push_back({1016 + i, ControlKind::CheckBox, 273, 162 + 10 * i, 41, 10, kBoardLabels[i], kCheck});

    // 移動力: both boxes are left out of the tab order.
    c.push_back({-1, ControlKind::GroupBox, 115, 225, 75, 40, "移動力", Style::None});
    c.push_back(label(118, 236, 33, 12, "SET"));
    c.push_back({1250, ControlKind::Edit, 154, 236, 32, 12, "", Style::Right | Style::AutoHScroll | Style::Border});
    c.push_back(label(118, 250, 33, 12, "路上/海上"));
    c.push_back({1210, ControlKind::Edit, 154, 250, 32, 12, "", Style::Right | Style::AutoHScroll | Style::Border});

    // 変形: target unit, time, and the jump to the target.
    c.push_back({-1, ControlKind::GroupBox, 195, 225, 70, 40, "変形", Style::None});
    c.push_back(label(198, 236, 29, 12, "ユニット"));
    c.push_back(number(1202, 228, 236, 22, 12));
    c.push_back({1271, ControlKind::PushButton, 252, 236, 10, 12, ">", kButton});
    c.push_back(label(198, 250, 29, 12, "時間"));
    c.push_back(number(1215, 228, 250, 22, 12));

    // グラフィック: picture number and the picture.
    c.push_back({-1, ControlKind::GroupBox, 320, 190, 105, 75, "グラフィック", Style::None});
    c.push_back(label(377, 200, 12, 10, "№", Style::Right | Style::VCenter));
    c.push_back(number(1212, 390, 200, 30, 10));
    c.push_back({1216, ControlKind::Frame, 325, 215, 95, 45, "", Style::None});

    // Bottom edge.
    c.push_back({1249, ControlKind::PushButton, 265, 276, 50, 14, "適用", kButton});
    c.push_back({1, ControlKind::PushButton, 320, 276, 50, 14, "OK", Style::Default | kButton});
    c.push_back({2, ControlKind::PushButton, 375, 276, 50, 14, "ｷｬﾝｾﾙ", kButton});
    return c;
}

}  // namespace

// Main dialog.
const DialogTemplate kDialog102{
    102, "Corvane", 435, 295, "ＭＳ Ｐゴシック", 9, DialogStyle::MinimizeBox, 133, mainDialogControls(),
};

}  // namespace res
