// Writes icon 128 as the PNG files of the desktop's icon theme, one per size:
//   corvane_theme_icons <output-folder> <icon-name> <size>...
// makes <output-folder>/<size>x<size>/apps/<icon-name>.png, the layout of the hicolor theme.
#include "res/AppIconImage.h"

#include <QDir>
#include <QImage>
#include <QString>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    if (argc < 4) {
        std::fputs("usage: corvane_theme_icons <output-folder> <icon-name> <size>...\n", stderr);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (int i = 3; i < argc; ++i) {
        char* end = nullptr;
        const long size = std::strtol(argv[i], &end, 10);
        if (*argv[i] == '\0' || *end != '\0' || size < 16 || size > 1024) {
            std::fprintf(stderr, "corvane_theme_icons: not an icon size: %s\n", argv[i]);
            return 2;
        }
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
        const QString path = QStringLiteral("%1/%2.png").arg(dir, name);
        if (!QDir().mkpath(dir) || !DrawAppIcon(static_cast<int>(size)).save(path, "PNG")) {
            std::fprintf(stderr, "corvane_theme_icons: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
