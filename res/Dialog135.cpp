#include "res/Resources.h"
#include "tools/ToolIds.h"

namespace res {

// Weapon picker.
const DialogTemplate kDialog135{
    135, "武器選択", 229, 95, "ＭＳ Ｐゴシック", 9, DialogStyle::None, 0,
    {
        {tool::kWeaponList, ControlKind::ListBox, 5, 5, 110, 85, "",
         Style::Notify | Style::VScroll | Style::Border | Style::TabStop | Style::NoIntegralHeight},
        {-1, ControlKind::Static, 125, 5, 10, 8, "高", Style::Center},
        {-1, ControlKind::Static, 135, 5, 10, 8, "中", Style::Center},
        {-1, ControlKind::Static, 145, 5, 10, 8, "低", Style::Center},
        {-1, ControlKind::Static, 155, 5, 10, 8, "車", Style::Center},
        {-1, ControlKind::Static, 165, 5, 10, 8, "兵", Style::Center},
        {-1, ControlKind::Static, 175, 5, 10, 8, "司", Style::Center},
        {-1, ControlKind::Static, 185, 5, 10, 8, "艦", Style::Center},
        {-1, ControlKind::Static, 195, 5, 10, 8, "潜", Style::Center},
        {-1, ControlKind::Static, 205, 5, 10, 8, "ミ", Style::Center},
        {-1, ControlKind::Static, 215, 5, 10, 8, "設", Style::Center},
        {tool::kWeaponAttackFirst + 0, ControlKind::Edit, 125, 15, 10, 12, "", Style::NumberBox},
        {tool::kWeaponAttackFirst + 1, ControlKind::Edit, 135, 15, 10, 12, "", Style::NumberBox},
        {tool::kWeaponAttackFirst + 2, ControlKind::Edit, 145, 15, 10, 12, "", Style::NumberBox},
        {tool::kWeaponAttackFirst + 3, ControlKind::Edit, 155, 15, 10, 12, "", Style::NumberBox},
        {tool::kWeaponAttackFirst + 4, ControlKind::Edit, 165, 15, 10, 12, "", Style::NumberBox},
        {tool::kWeaponAttackFirst + 5, ControlKind::Edit, 175, 15, 10, 12, "", Style::NumberBox},
        {tool::kWeaponAttackFirst + 6, ControlKind::Edit, 185, 15, 10, 12, "", Style::NumberBox},
        {tool::kWeaponAttackFirst + 7, ControlKind::Edit, 195, 15, 10, 12, "", Style::NumberBox},
        {tool::kWeaponAttackFirst + 8, ControlKind::Edit, 205, 15, 10, 12, "", Style::NumberBox},
        {tool::kWeaponAttackFirst + 9, ControlKind::Edit, 215, 15, 10, 12, "", Style::NumberBox},
        {-1, ControlKind::Static, 125, 35, 40, 8, "分離ﾕﾆｯﾄ", Style::None},
        {tool::kWeaponSeparation, ControlKind::Edit, 125, 45, 30, 12, "", Style::NumberBox},
        {-1, ControlKind::Static, 185, 35, 10, 8, "力", Style::Center},
        {-1, ControlKind::Static, 195, 35, 10, 8, "数", Style::Center},
        {-1, ControlKind::Static, 205, 35, 10, 8, "填", Style::Center},
        {-1, ControlKind::Static, 215, 35, 10, 8, "射", Style::Center},
        {tool::kWeaponPower + 0, ControlKind::Edit, 185, 45, 10, 12, "", Style::NumberBox},
        {tool::kWeaponPower + 1, ControlKind::Edit, 195, 45, 10, 12, "", Style::NumberBox},
        {tool::kWeaponPower + 2, ControlKind::Edit, 205, 45, 10, 12, "", Style::NumberBox},
        {tool::kWeaponPower + 3, ControlKind::Edit, 215, 45, 10, 12, "", Style::NumberBox},
        {1, ControlKind::PushButton, 120, 75, 50, 15, "OK", Style::Default | Style::TabStop},
        {2, ControlKind::PushButton, 175, 75, 50, 15, "ｷｬﾝｾﾙ", Style::TabStop},
    },
};

}  // namespace res
