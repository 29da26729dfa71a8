// Writes icon 128 as a Windows icon file (.ico) with one PNG image per size, for the resource script
// of Corvane.exe:
//   corvane_icon_file <output.ico> <size>...
#include "res/AppIconImage.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QList>

#include <cstdio>
#include <cstdlib>

namespace {

void appendLittleEndian(QByteArray& out, unsigned value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(static_cast<char>((value >> (8 * i)) & 0xff));
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc < 3) {
        std::fputs("usage: corvane_icon_file <output.ico> <size>...\n", stderr);
        return 2;
    }
    QList<QByteArray> images;
    QList<int> sizes;
    for (int i = 2; i < argc; ++i) {
        char* end = nullptr;
        const long size = std::strtol(argv[i], &end, 10);
        if (*argv[i] == '\0' || *end != '\0' || size < 16 || size > 256) {
            std::fprintf(stderr, "corvane_icon_file: not an icon size: %s\n", argv[i]);
            return 2;
        }
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!DrawAppIcon(static_cast<int>(size)).save(&buffer, "PNG")) {
            std::fputs("corvane_icon_file: cannot encode the icon\n", stderr);
            return 1;
        }
        images.append(png);
        sizes.append(static_cast<int>(size));
    }
    // ICONDIR, one ICONDIRENTRY per image (a size of 256 is written as 0), then the images.
    QByteArray ico;
    appendLittleEndian(ico, 0, 2);
    appendLittleEndian(ico, 1, 2);
    appendLittleEndian(ico, static_cast<unsigned>(images.size()), 2);
    unsigned offset = 6 + 16 * static_cast<unsigned>(images.size());
    for (qsizetype i = 0; i < images.size(); ++i) {
        const unsigned side = sizes[i] == 256 ? 0 : static_cast<unsigned>(sizes[i]);
        appendLittleEndian(ico, side, 1);
        appendLittleEndian(ico, side, 1);
        appendLittleEndian(ico, 0, 1);   // no palette
        appendLittleEndian(ico, 0, 1);
        appendLittleEndian(ico, 1, 2);   // planes
        appendLittleEndian(ico, 32, 2);  // bits per pixel
        appendLittleEndian(ico, static_cast<unsigned>(images[i].size()), 4);
        appendLittleEndian(ico, offset, 4);
        offset += static_cast<unsigned>(images[i].size());
    }
    for (const QByteArray& image : images)
        ico.append(image);
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::WriteOnly) || file.write(ico) != ico.size() || !file.flush()) {
        std::fprintf(stderr, "corvane_icon_file: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
