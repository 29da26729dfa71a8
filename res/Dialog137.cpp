#include "res/Resources.h"

namespace res {

// Unknown data: the twelve record fields the editor has no name for.
const DialogTemplate kDialog137{
    137, "不明データ", 95, 87, "ＭＳ Ｐゴシック", 9, DialogStyle::ToolWindow, 0,
    {
        {-1, ControlKind::Static, 5, 0, 20, 10, "data00", Style::Center},
        {1264, ControlKind::Edit, 5, 10, 20, 12, "", Style::NumberBox},
        {-1, ControlKind::Static, 25, 0, 20, 10, "data01", Style::Center},
        {1265, ControlKind::Edit, 25, 10, 20, 12, "", Style::NumberBox},
        {-1, ControlKind::Static, 45, 0, 20, 10, "data02", Style::Center},
        {1266, ControlKind::Edit, 45, 10, 20, 12, "", Style::NumberBox},
        {-1, ControlKind::Static, 70, 0, 20, 10, "data03", Style::Center},
        {1267, ControlKind::Edit, 70, 10, 20, 12, "", Style::NumberBox},
        {-1, ControlKind::Static, 5, 30, 20, 10, "data04", Style::Center},
        {1268, ControlKind::Edit, 5, 40, 20, 12, "", Style::NumberBox},
        {-1, ControlKind::Static, 25, 30, 20, 10, "data05", Style::Center},
        {1269, ControlKind::Edit, 25, 40, 20, 12, "", Style::NumberBox},
        {-1, ControlKind::Static, 45, 30, 20, 10, "data06", Style::Center},
        {1270, ControlKind::Edit, 45, 40, 20, 12, "", Style::NumberBox},
        {-1, ControlKind::Static, 70, 30, 20, 10, "data07", Style::Center},
        {1271, ControlKind::Edit, 70, 40, 20, 12, "", Style::NumberBox},
        {-1, ControlKind::Static, 5, 60, 20, 10, "data08", Style::Center},
        {1272, ControlKind::Edit, 5, 70, 20, 12, "", Style::NumberBox},
        {-1, ControlKind::Static, 30, 60, 20, 10, "data09", Style::Center},
        {1273, ControlKind::Edit, 30, 70, 20, 12, "", Style::NumberBox},
        {-1, ControlKind::Static, 50, 60, 20, 10, "data10", Style::Center},
        {1274, ControlKind::Edit, 50, 70, 20, 12, "", Style::NumberBox},
        {-1, ControlKind::Static, 70, 60, 20, 10, "data11", Style::Center},
        {1275, ControlKind::Edit, 70, 70, 20, 12, "", Style::NumberBox},
    },
};

}  // namespace res
