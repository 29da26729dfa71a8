#include "res/Resources.h"

namespace res {

namespace {

constexpr std::uint32_t kCostBox = Style::Right | Style::Border | Style::TabStop | Style::AutoHScroll;

}  // namespace

// Movement costs: the set list and the 21 terrain costs of the set under the cursor.
const DialogTemplate kDialog131{
    131, "移動力", 115, 87, "ＭＳ Ｐゴシック", 9, DialogStyle::ToolWindow, 0,
    {
        {-1, ControlKind::Static, 5, 5, 30, 8, "SET", Style::None},
        {1243, ControlKind::ListBox, 5, 15, 30, 65, "",
         Style::Notify | Style::VScroll | Style::Border | Style::TabStop | Style::NoIntegralHeight},
        {-1, ControlKind::Static, 40, 5, 10, 8, "平", Style::Center},
        {-1, ControlKind::Static, 50, 5, 10, 8, "荒", Style::Center},
        {-1, ControlKind::Static, 60, 5, 10, 8, "湿", Style::Center},
        {-1, ControlKind::Static, 70, 5, 10, 8, "湖", Style::Center},
        {-1, ControlKind::Static, 80, 5, 10, 8, "浅", Style::Center},
        {-1, ControlKind::Static, 90, 5, 10, 8, "海", Style::Center},
        {-1, ControlKind::Static, 100, 5, 10, 8, "林", Style::Center},
        {1222, ControlKind::Edit, 40, 15, 10, 12, "", kCostBox},
        {1223, ControlKind::Edit, 50, 15, 10, 12, "", kCostBox},
        {1224, ControlKind::Edit, 60, 15, 10, 12, "", kCostBox},
        {1225, ControlKind::Edit, 70, 15, 10, 12, "", kCostBox},
        {1226, ControlKind::Edit, 80, 15, 10, 12, "", kCostBox},
        {1227, ControlKind::Edit, 90, 15, 10, 12, "", kCostBox},
        {1228, ControlKind::Edit, 100, 15, 10, 12, "", kCostBox},
        {-1, ControlKind::Static, 40, 30, 10, 8, "森", Style::Center},
        {-1, ControlKind::Static, 50, 30, 10, 8, "丘", Style::Center},
        {-1, ControlKind::Static, 60, 30, 10, 8, "陵", Style::Center},
        {-1, ControlKind::Static, 70, 30, 10, 8, "山", Style::Center},
        {-1, ControlKind::Static, 80, 30, 10, 8, "漠", Style::Center},
        {-1, ControlKind::Static, 90, 30, 10, 8, "砂", Style::Center},
        {-1, ControlKind::Static, 100, 30, 10, 8, "道", Style::Center},
        {1229, ControlKind::Edit, 40, 40, 10, 12, "", kCostBox},
        {1230, ControlKind::Edit, 50, 40, 10, 12, "", kCostBox},
        {1231, ControlKind::Edit, 60, 40, 10, 12, "", kCostBox},
        {1232, ControlKind::Edit, 70, 40, 10, 12, "", kCostBox},
        {1233, ControlKind::Edit, 80, 40, 10, 12, "", kCostBox},
        {1234, ControlKind::Edit, 90, 40, 10, 12, "", kCostBox},
        {1235, ControlKind::Edit, 100, 40, 10, 12, "", kCostBox},
        {-1, ControlKind::Static, 40, 55, 10, 8, "川", Style::Center},
        {-1, ControlKind::Static, 50, 55, 10, 8, "首", Style::Center},
        {-1, ControlKind::Static, 60, 55, 10, 8, "大", Style::Center},
        {-1, ControlKind::Static, 70, 55, 10, 8, "都", Style::Center},
        {-1, ControlKind::Static, 80, 55, 10, 8, "町", Style::Center},
        {-1, ControlKind::Static, 90, 55, 10, 8, "空", Style::Center},
        {-1, ControlKind::Static, 100, 55, 10, 8, "港", Style::Center},
        {1236, ControlKind::Edit, 40, 65, 10, 12, "", kCostBox},
        {1237, ControlKind::Edit, 50, 65, 10, 12, "", kCostBox},
        {1238, ControlKind::Edit, 60, 65, 10, 12, "", kCostBox},
        {1239, ControlKind::Edit, 70, 65, 10, 12, "", kCostBox},
        {1240, ControlKind::Edit, 80, 65, 10, 12, "", kCostBox},
        {1241, ControlKind::Edit, 90, 65, 10, 12, "", kCostBox},
        {1242, ControlKind::Edit, 100, 65, 10, 12, "", kCostBox},
    },
};

}  // namespace res
