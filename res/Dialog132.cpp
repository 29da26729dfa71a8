#include "res/Resources.h"

namespace res {

// Clone target.
const DialogTemplate kDialog132{
    132, "複製先選択", 114, 245, "ＭＳ Ｐゴシック", 9, DialogStyle::None, 0,
    {
        {1000, ControlKind::ListBox, 5, 5, 105, 215, "",
         Style::Notify | Style::VScroll | Style::Border | Style::TabStop | Style::NoIntegralHeight},
        {1, ControlKind::PushButton, 5, 225, 50, 15, "OK", Style::Default | Style::TabStop},
        {2, ControlKind::PushButton, 60, 225, 50, 15, "ｷｬﾝｾﾙ", Style::TabStop},
    },
};

}  // namespace res
