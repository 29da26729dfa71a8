#include "res/Resources.h"
#include "tools/ToolIds.h"

namespace res {

// Movement costs: the set list and the 21 terrain costs of the set under the cursor.
const DialogTemplate kDialog131{
    131, "移動力", 115, 87, "ＭＳ Ｐゴシック", 9, DialogStyle::ToolWindow, 0,
    {
        {-1, ControlKind::Static, 5, 5, 30, 8, "SET", Style::None},
        {tool::kSetList, ControlKind::ListBox, 5, 15, 30, 65, "",
         Style::Notify | Style::VScroll | Style::Border | Style::TabStop | Style::NoIntegralHeight},
        {-1, ControlKind::Static, 40, 5, 10, 8, "平", Style::Center},
        {-1, ControlKind::Static, 50, 5, 10, 8, "荒", Style::Center},
        {-1, ControlKind::Static, 60, 5, 10, 8, "湿", Style::Center},
        {-1, ControlKind::Static, 70, 5, 10, 8, "湖", Style::Center},
        {-1, ControlKind::Static, 80, 5, 10, 8, "浅", Style::Center},
        {-1, ControlKind::Static, 90, 5, 10, 8, "海", Style::Center},
        {-1, ControlKind::Static, 100, 5, 10, 8, "林", Style::Center},
        {tool::kCostFirst + 0, ControlKind::Edit, 40, 15, 10, 12, "", Style::NumberBox},
        {tool::kCostFirst + 1, ControlKind::Edit, 50, 15, 10, 12, "", Style::NumberBox},
        {tool::kCostFirst + 2, ControlKind::Edit, 60, 15, 10, 12, "", Style::NumberBox},
        {tool::kCostFirst + 3, ControlKind::Edit, 70, 15, 10, 12, "", Style::NumberBox},
        {tool::kCostFirst + 4, ControlKind::Edit, 80, 15, 10, 12, "", Style::NumberBox},
        {tool::kCostFirst + 5, ControlKind::Edit, 90, 15, 10, 12, "", Style::NumberBox},
        {tool::kCostFirst + 6, ControlKind::Edit, 100, 15, 10, 12, "", Style::NumberBox},
        {-1, ControlKind::Static, 40, 30, 10, 8, "森", Style::Center},
        {-1, ControlKind::Static, 50, 30, 10, 8, "丘", Style::Center},
        {-1, ControlKind::Static, 60, 30, 10, 8, "陵", Style::Center},
        {-1, ControlKind::Static, 70, 30, 10, 8, "山", Style::Center},
        {-1, ControlKind::Static, 80, 30, 10, 8, "漠", Style::Center},
        {-1, ControlKind::Static, 90, 30, 10, 8, "砂", Style::Center},
        {-1, ControlKind::Static, 100, 30, 10, 8, "道", Style::Center},
        {tool::kCostFirst + 7, ControlKind::Edit, 40, 40, 10, 12, "", Style::NumberBox},
        {tool::kCostFirst + 8, ControlKind::Edit, 50, 40, 10, 12, "", Style::NumberBox},
        {tool::kCostFirst + 9, ControlKind::Edit, 60, 40, 10, 12, "", Style::NumberBox},
        {tool::kCostFirst + 10, ControlKind::Edit, 70, 40, 10, 12, "", Style::NumberBox},
        {tool::kCostFirst + 11, ControlKind::Edit, 80, 40, 10, 12, "", Style::NumberBox},
        {tool::kCostFirst + 12, ControlKind::Edit, 90, 40, 10, 12, "", Style::NumberBox},
        {tool::kCostFirst + 13, ControlKind::Edit, 100, 40, 10, 12, "", Style::NumberBox},
        {-1, ControlKind::Static, 40, 55, 10, 8, "川", Style::Center},
        {-1, ControlKind::Static, 50, 55, 10, 8, "首", Style::Center},
        {-1, ControlKind::Static, 60, 55, 10, 8, "大", Style::Center},
        {-1, ControlKind::Static, 70, 55, 10, 8, "都", Style::Center},
        {-1, ControlKind::Static, 80, 55, 10, 8, "町", Style::Center},
        {-1, ControlKind::Static, 90, 55, 10, 8, "空", Style::Center},
        {-1, ControlKind::Static, 100, 55, 10, 8, "港", Style::Center},
        {tool::kCostFirst + 14, ControlKind::Edit, 40, 65, 10, 12, "", Style::NumberBox},
        {tool::kCostFirst + 15, ControlKind::Edit, 50, 65, 10, 12, "", Style::NumberBox},
        {tool::kCostFirst + 16, ControlKind::Edit, 60, 65, 10, 12, "", Style::NumberBox},
        {tool::kCostFirst + 17, ControlKind::Edit, 70, 65, 10, 12, "", Style::NumberBox},
        {tool::kCostFirst + 18, ControlKind::Edit, 80, 65, 10, 12, "", Style::NumberBox},
        {tool::kCostFirst + 19, ControlKind::Edit, 90, 65, 10, 12, "", Style::NumberBox},
        {tool::kCostFirst + 20, ControlKind::Edit, 100, 65, 10, 12, "", Style::NumberBox},
    },
};

}  // namespace res
