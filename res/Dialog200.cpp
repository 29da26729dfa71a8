#include "res/Resources.h"

namespace res {

// Find a unit: the text, what it is matched against, next and previous, and the outcome line.
const DialogTemplate kDialog200{
    200, "検索", 215, 88, "ＭＳ Ｐゴシック", 9, DialogStyle::None, 0,
    {
        {-1, ControlKind::Static, 5, 7, 60, 10, "検索する文字列:", Style::None},
        {1001, ControlKind::Edit, 65, 5, 145, 12, "", Style::Border | Style::AutoHScroll | Style::TabStop},
        {-1, ControlKind::GroupBox, 5, 21, 135, 47, "検索対象", Style::None},
        {1002, ControlKind::RadioButton, 12, 33, 60, 10, "兵器名(&M)", Style::TabStop},
        {1003, ControlKind::RadioButton, 75, 33, 60, 10, "番号(&U)", Style::None},
        {1004, ControlKind::RadioButton, 12, 49, 120, 10, "兵装の名前(&W)", Style::None},
        {1005, ControlKind::PushButton, 145, 22, 65, 14, "次を検索(&N)", Style::Default | Style::TabStop},
        {1006, ControlKind::PushButton, 145, 38, 65, 14, "前を検索(&P)", Style::TabStop},
        {2, ControlKind::PushButton, 145, 54, 65, 14, "閉じる", Style::TabStop},
        {1007, ControlKind::Static, 5, 73, 205, 10, "", Style::None},
    },
};

}  // namespace res
