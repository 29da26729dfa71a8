#include "res/Resources.h"

namespace res {

// The table check: every value the game cannot use, one row each.
const DialogTemplate kDialog203{
    203, "ﾃﾞｰﾀの検査", 380, 220, "ＭＳ Ｐゴシック", 9, DialogStyle::None, 0,
    {
        {1001, ControlKind::Static, 5, 5, 370, 10, "", Style::None},
        {1002, ControlKind::ListView, 5, 18, 370, 175, "番号|名前|項目|値|理由", Style::Border | Style::TabStop | Style::Notify},
        {-1, ControlKind::Static, 5, 201, 250, 10, "Enter かﾀﾞﾌﾞﾙｸﾘｯｸで、その兵器を表示します。", Style::None},
        {2, ControlKind::PushButton, 315, 199, 60, 15, "閉じる", Style::TabStop},
    },
};

}  // namespace res
