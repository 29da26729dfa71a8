#include "res/Resources.h"

namespace res {

// Compare with another unit table: the units that differ, the fields of the selected one, revert.
const DialogTemplate kDialog201{
    201, "比較", 420, 240, "ＭＳ Ｐゴシック", 9, DialogStyle::None, 0,
    {
        {1001, ControlKind::Static, 5, 5, 410, 10, "", Style::None},
        {1002, ControlKind::Static, 5, 18, 150, 10, "", Style::None},
        {1003, ControlKind::ListView, 5, 30, 175, 182, "番号|比較先の名前|現在の名前",
         Style::Border | Style::TabStop | Style::Notify | Style::ExtendedSel},
        {-1, ControlKind::Static, 185, 18, 230, 10, "選んだユニットの違い", Style::None},
        {1004, ControlKind::ListView, 185, 30, 230, 182, "項目|比較先|現在", Style::Border | Style::TabStop},
        {1005, ControlKind::PushButton, 5, 220, 60, 15, "元に戻す(&R)", Style::TabStop},
        {2, ControlKind::PushButton, 355, 220, 60, 15, "閉じる", Style::TabStop},
    },
};

}  // namespace res
