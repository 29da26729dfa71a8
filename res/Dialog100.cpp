#include "res/Resources.h"

namespace res {

// About box.
const DialogTemplate kDialog100{
    100, "Corvaneのﾊﾞｰｼﾞｮﾝ情報", 235, 55, "ＭＳ Ｐゴシック", 9, DialogStyle::None, 0,
    {
        {-1, ControlKind::Icon, 11, 17, 20, 20, "", Style::None},
        {-1, ControlKind::Static, 40, 18, 130, 10, "Corvane Version 0.1.0.7", Style::None},
        {1, ControlKind::PushButton, 178, 7, 50, 14, "OK", Style::Default | Style::TabStop},
    },
};

}  // namespace res
