#include "res/Resources.h"

namespace res {

// Producing countries: one box per production type, column j = mask byte j, row r = bit r.
// The ids skip 1248: types 29 to 31 are 1249 to 1251.
const DialogTemplate kDialog130{
    130, "生産可能国", 243, 87, "ＭＳ Ｐゴシック", 9, DialogStyle::ToolWindow, 0,
    {
        {1219, ControlKind::CheckBox, 5, 5, 55, 10, "アメリカ", Style::TabStop},
        {1220, ControlKind::CheckBox, 5, 15, 55, 10, "イギリス", Style::TabStop},
        {1221, ControlKind::CheckBox, 5, 25, 55, 10, "フランス", Style::TabStop},
        {1222, ControlKind::CheckBox, 5, 35, 55, 10, "ドイツ", Style::TabStop},
        {1223, ControlKind::CheckBox, 5, 45, 55, 10, "イスラエル", Style::TabStop},
        {1224, ControlKind::CheckBox, 5, 55, 55, 10, "ロシア", Style::TabStop},
        {1225, ControlKind::CheckBox, 5, 65, 55, 10, "日本", Style::TabStop},
        {1226, ControlKind::CheckBox, 5, 75, 55, 10, "中国", Style::TabStop},
        {1227, ControlKind::CheckBox, 65, 5, 55, 10, "オリジナル", Style::TabStop},
        {1228, ControlKind::CheckBox, 65, 15, 55, 10, "オリジナル", Style::TabStop},
        {1229, ControlKind::CheckBox, 65, 25, 55, 10, "オリジナル", Style::TabStop},
        {1230, ControlKind::CheckBox, 65, 35, 55, 10, "オリジナル", Style::TabStop},
        {1231, ControlKind::CheckBox, 65, 45, 55, 10, "オリジナル", Style::TabStop},
        {1232, ControlKind::CheckBox, 65, 55, 55, 10, "リトルリーグ", Style::TabStop},
        {1233, ControlKind::CheckBox, 65, 65, 55, 10, "マイナーリーグ", Style::TabStop},
        {1234, ControlKind::CheckBox, 65, 75, 55, 10, "メジャーリーグ", Style::TabStop},
        {1235, ControlKind::CheckBox, 125, 5, 55, 10, "オリジナル", Style::TabStop},
        {1236, ControlKind::CheckBox, 125, 15, 55, 10, "オリジナル", Style::TabStop},
        {1237, ControlKind::CheckBox, 125, 25, 55, 10, "オリジナル", Style::TabStop},
        {1238, ControlKind::CheckBox, 125, 35, 55, 10, "オリジナル", Style::TabStop},
        {1239, ControlKind::CheckBox, 125, 45, 55, 10, "オリジナル", Style::TabStop},
        {1240, ControlKind::CheckBox, 125, 55, 55, 10, "オリジナル", Style::TabStop},
        {1241, ControlKind::CheckBox, 125, 65, 55, 10, "オリジナル", Style::TabStop},
        {1242, ControlKind::CheckBox, 125, 75, 55, 10, "オリジナル", Style::TabStop},
        {1243, ControlKind::CheckBox, 185, 5, 55, 10, "オリジナル", Style::TabStop},
        {1244, ControlKind::CheckBox, 185, 15, 55, 10, "オリジナル", Style::TabStop},
        {1245, ControlKind::CheckBox, 185, 25, 55, 10, "オリジナル", Style::TabStop},
        {1246, ControlKind::CheckBox, 185, 35, 55, 10, "オリジナル", Style::TabStop},
        {1247, ControlKind::CheckBox, 185, 45, 55, 10, "オリジナル", Style::TabStop},
        {1249, ControlKind::CheckBox, 185, 55, 55, 10, "オリジナル", Style::TabStop},
        {1250, ControlKind::CheckBox, 185, 65, 55, 10, "オリジナル", Style::TabStop},
        {1251, ControlKind::CheckBox, 185, 75, 55, 10, "オリジナル", Style::TabStop},
    },
};

}  // namespace res
