#include "res/Resources.h"

namespace res {

// Changed units as a pack: the base the table is compared with, every differing unit with a check
// box, and the question.
const DialogTemplate kDialog202{
    202, "変更をﾕﾆｯﾄﾃﾞｰﾀとして書き出し", 260, 250, "ＭＳ Ｐゴシック", 9, DialogStyle::None, 0,
    {
        {-1, ControlKind::GroupBox, 5, 3, 250, 37, "比べる相手", Style::None},
        {1001, ControlKind::RadioButton, 12, 14, 238, 10, "ﾊﾞｯｸｱｯﾌﾟ (UNITINFO.ORG)(&B)", Style::TabStop},
        {1002, ControlKind::RadioButton, 12, 26, 238, 10, "比較ｳｨﾝﾄﾞｳの比較先(&C)", Style::None},
        {1003, ControlKind::Static, 5, 45, 250, 10, "", Style::None},
        {1004, ControlKind::ListView, 5, 57, 250, 150, "番号|比べる相手の名前|現在の名前",
         Style::Border | Style::TabStop | Style::Notify},
        {-1, ControlKind::Static, 5, 211, 250, 10, "ﾁｪｯｸした兵器を書き出します。Space でﾁｪｯｸを切り替えます。",
         Style::None},
        {1, ControlKind::PushButton, 145, 228, 55, 15, "書き出し...", Style::Default | Style::TabStop},
        {2, ControlKind::PushButton, 200, 228, 55, 15, "ｷｬﾝｾﾙ", Style::TabStop},
    },
};

}  // namespace res
