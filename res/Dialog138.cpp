#include "res/Resources.h"

namespace res {

// Bulk import: the units a command file is about to read, and the question.
const DialogTemplate kDialog138{
    138, "兵器データの一括読み込み", 114, 219, "ＭＳ Ｐゴシック", 9, DialogStyle::None, 0,
    {
        {1, ControlKind::PushButton, 5, 200, 50, 15, "OK", Style::Default | Style::TabStop},
        {2, ControlKind::PushButton, 60, 200, 50, 15, "ｷｬﾝｾﾙ", Style::TabStop},
        {1000, ControlKind::ListBox, 5, 5, 105, 175, "",
         Style::VScroll | Style::Border | Style::TabStop | Style::Notify | Style::Sort | Style::NoIntegralHeight},
        {-1, ControlKind::Static, 5, 185, 105, 10, "読み込んでよろしいですか？", Style::Center},
    },
};

}  // namespace res
