#pragma once
// The program's resources: dialog templates, the menu and the application icon.

#include "framework/DialogTemplate.h"

#include <QIcon>

namespace res {
extern const DialogTemplate kDialog100;  // About box
extern const DialogTemplate kDialog102;  // main dialog
extern const DialogTemplate kDialog130;  // producing countries
extern const DialogTemplate kDialog131;  // movement costs
extern const DialogTemplate kDialog132;  // clone target
extern const DialogTemplate kDialog135;  // weapon picker
extern const DialogTemplate kDialog137;  // unknown data
extern const DialogTemplate kDialog138;  // bulk import confirmation
extern const DialogTemplate kDialog139;  // panel of the unit file dialog
extern const DialogTemplate kDialog200;  // find a unit
extern const DialogTemplate kDialog201;  // compare with another unit table
extern const DialogTemplate kDialog202;  // changed units as a pack
extern const DialogTemplate kDialog203;  // table check
extern const MenuTemplate kMenu133;      // main dialog menu
}  // namespace res

// Icon 128, the application icon.
QIcon AppIcon();
