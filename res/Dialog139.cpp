#include "res/Resources.h"

namespace res {

// The panel of the unit file dialog: the file dialog's own controls take the rectangle 1119, the name
// of the unit in the file under the cursor shows below it.
const DialogTemplate kDialog139{
    139, "", 235, 96, "ＭＳ Ｐゴシック", 9, DialogStyle::Child, 0,
    {
        {1119, ControlKind::Placeholder, 0, 0, 235, 75, "", Style::Hidden},
        {-1, ControlKind::Static, 6, 75, 35, 15, "兵器名", Style::VCenter},
        {1001, ControlKind::Edit, 66, 75, 153, 12, "", Style::ReadOnly | Style::Border | Style::AutoHScroll | Style::TabStop},
    },
};

}  // namespace res
