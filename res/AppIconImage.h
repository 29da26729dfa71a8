#pragma once
// Icon 128 as an image of any size: the source of the application icon and of the desktop's theme
// icons. Needs no running application.

#include <QImage>

QImage DrawAppIcon(int size);
