#include "res/Resources.h"
#include "tools/ToolIds.h"

namespace res {

// Producing countries: one box per production type, column j = mask byte j, row r = bit r.
// The ids skip 1248: types 29 to 31 are 1249 to 1251.
const DialogTemplate kDialog130{
    130, "生産可能国", 243, 87, "ＭＳ Ｐゴシック", 9, DialogStyle::ToolWindow, 0,
    {
        {tool::ProductBox(0), ControlKind::CheckBox, 5, 5, 55, 10, "アメリカ", Style::TabStop},
        {tool::ProductBox(1), ControlKind::CheckBox, 5, 15, 55, 10, "イギリス", Style::TabStop},
        {tool::ProductBox(2), ControlKind::CheckBox, 5, 25, 55, 10, "フランス", Style::TabStop},
        {tool::ProductBox(3), ControlKind::CheckBox, 5, 35, 55, 10, "ドイツ", Style::TabStop},
        {tool::ProductBox(4), ControlKind::CheckBox, 5, 45, 55, 10, "イスラエル", Style::TabStop},
        {tool::ProductBox(5), ControlKind::CheckBox, 5, 55, 55, 10, "ロシア", Style::TabStop},
        {tool::ProductBox(6), ControlKind::CheckBox, 5, 65, 55, 10, "日本", Style::TabStop},
        {tool::ProductBox(7), ControlKind::CheckBox, 5, 75, 55, 10, "中国", Style::TabStop},
        {tool::ProductBox(8), ControlKind::CheckBox, 65, 5, 55, 10, "オリジナル", Style::TabStop},
        {tool::ProductBox(9), ControlKind::CheckBox, 65, 15, 55, 10, "オリジナル", Style::TabStop},
        {tool::ProductBox(10), ControlKind::CheckBox, 65, 25, 55, 10, "オリジナル", Style::TabStop},
        {tool::ProductBox(11), ControlKind::CheckBox, 65, 35, 55, 10, "オリジナル", Style::TabStop},
        {tool::ProductBox(12), ControlKind::CheckBox, 65, 45, 55, 10, "オリジナル", Style::TabStop},
        {tool::ProductBox(13), ControlKind::CheckBox, 65, 55, 55, 10, "リトルリーグ", Style::TabStop},
        {tool::ProductBox(14), ControlKind::CheckBox, 65, 65, 55, 10, "マイナーリーグ", Style::TabStop},
        {tool::ProductBox(15), ControlKind::CheckBox, 65, 75, 55, 10, "メジャーリーグ", Style::TabStop},
        {tool::ProductBox(16), ControlKind::CheckBox, 125, 5, 55, 10, "オリジナル", Style::TabStop},
        {tool::ProductBox(17), ControlKind::CheckBox, 125, 15, 55, 10, "オリジナル", Style::TabStop},
        {tool::ProductBox(18), ControlKind::CheckBox, 125, 25, 55, 10, "オリジナル", Style::TabStop},
        {tool::ProductBox(19), ControlKind::CheckBox, 125, 35, 55, 10, "オリジナル", Style::TabStop},
        {tool::ProductBox(20), ControlKind::CheckBox, 125, 45, 55, 10, "オリジナル", Style::TabStop},
        {tool::ProductBox(21), ControlKind::CheckBox, 125, 55, 55, 10, "オリジナル", Style::TabStop},
        {tool::ProductBox(22), ControlKind::CheckBox, 125, 65, 55, 10, "オリジナル", Style::TabStop},
        {tool::ProductBox(23), ControlKind::CheckBox, 125, 75, 55, 10, "オリジナル", Style::TabStop},
        {tool::ProductBox(24), ControlKind::CheckBox, 185, 5, 55, 10, "オリジナル", Style::TabStop},
        {tool::ProductBox(25), ControlKind::CheckBox, 185, 15, 55, 10, "オリジナル", Style::TabStop},
        {tool::ProductBox(26), ControlKind::CheckBox, 185, 25, 55, 10, "オリジナル", Style::TabStop},
        {tool::ProductBox(27), ControlKind::CheckBox, 185, 35, 55, 10, "オリジナル", Style::TabStop},
        {tool::ProductBox(28), ControlKind::CheckBox, 185, 45, 55, 10, "オリジナル", Style::TabStop},
        {tool::ProductBox(29), ControlKind::CheckBox, 185, 55, 55, 10, "オリジナル", Style::TabStop},
        {tool::ProductBox(30), ControlKind::CheckBox, 185, 65, 55, 10, "オリジナル", Style::TabStop},
        {tool::ProductBox(31), ControlKind::CheckBox, 185, 75, 55, 10, "オリジナル", Style::TabStop},
    },
};

}  // namespace res
