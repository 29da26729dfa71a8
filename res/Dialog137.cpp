#include "res/Resources.h"
#include "tools/ToolIds.h"

namespace res {

// Unknown data: the twelve record fields the editor has no name for.
const DialogTemplate kDialog137{
    137, "不明データ", 95, 87, "ＭＳ Ｐゴシック", 9, DialogStyle::ToolWindow, 0,
    {
        {-1, ControlKind::Static, 5, 0, 20, 10, "data00", Style::Center},
        {tool::kDataFirst + 0, ControlKind::Edit, 5, 10, 20, 12, "", Style::NumberBox},
        {-1, ControlKind::Static, 25, 0, 20, 10, "data01", Style::Center},
        {tool::kDataFirst + 1, ControlKind::Edit, 25, 10, 20, 12, "", Style::NumberBox},
        {-1, ControlKind::Static, 45, 0, 20, 10, "data02", Style::Center},
        {tool::kDataFirst + 2, ControlKind::Edit, 45, 10, 20, 12, "", Style::NumberBox},
        {-1, ControlKind::Static, 70, 0, 20, 10, "data03", Style::Center},
        {tool::kDataFirst + 3, ControlKind::Edit, 70, 10, 20, 12, "", Style::NumberBox},
        {-1, ControlKind::Static, 5, 30, 20, 10, "data04", Style::Center},
        {tool::kDataFirst + 4, ControlKind::Edit, 5, 40, 20, 12, "", Style::NumberBox},
        {-1, ControlKind::Static, 25, 30, 20, 10, "data05", Style::Center},
        {tool::kDataFirst + 5, ControlKind::Edit, 25, 40, 20, 12, "", Style::NumberBox},
        {-1, ControlKind::Static, 45, 30, 20, 10, "data06", Style::Center},
        {tool::kDataFirst + 6, ControlKind::Edit, 45, 40, 20, 12, "", Style::NumberBox},
        {-1, ControlKind::Static, 70, 30, 20, 10, "data07", Style::Center},
        {tool::kDataFirst + 7, ControlKind::Edit, 70, 40, 20, 12, "", Style::NumberBox},
        {-1, ControlKind::Static, 5, 60, 20, 10, "data08", Style::Center},
        {tool::kDataFirst + 8, ControlKind::Edit, 5, 70, 20, 12, "", Style::NumberBox},
        {-1, ControlKind::Static, 30, 60, 20, 10, "data09", Style::Center},
        {tool::kDataFirst + 9, ControlKind::Edit, 30, 70, 20, 12, "", Style::NumberBox},
        {-1, ControlKind::Static, 50, 60, 20, 10, "data10", Style::Center},
        {tool::kDataFirst + 10, ControlKind::Edit, 50, 70, 20, 12, "", Style::NumberBox},
        {-1, ControlKind::Static, 70, 60, 20, 10, "data11", Style::Center},
        {tool::kDataFirst + 11, ControlKind::Edit, 70, 70, 20, 12, "", Style::NumberBox},
    },
};

}  // namespace res
