#include "editor/UnitPicture.h"

#include "data/BitmapHeader.h"
#include "data/GamePaths.h"
#include "framework/FilePath.h"

#include <QBuffer>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>

namespace {

// Decodes an RLE8 or RLE4 stream into an image that was filled with palette position 0 first, so
// the pixels a stream skips (with a jump or an early end of line or of bitmap) are that colour.
// A stream that ends before its end-of-bitmap code, or inside a code, is no picture.
QImage DecodeRunLength(const QByteArray& bytes, const BitmapLayout& layout)
{
    QList<QRgb> colours(256, qRgb(0, 0, 0));
    for (int i = 0; i < layout.paletteSize; ++i) {
        const qsizetype at = qsizetype(layout.paletteAt) + qsizetype(i) * layout.paletteEntryBytes;
        colours[i] = qRgb(quint8(bytes[at + 2]), quint8(bytes[at + 1]), quint8(bytes[at]));
    }
    QImage image(layout.width, layout.height, QImage::Format_Indexed8);
    if (image.isNull())
        return {};
    image.setColorTable(colours);
    image.fill(0);

    const bool fourBits = layout.bitsPerPixel == 4;
    qsizetype at = qsizetype(layout.pixelsAt);
    const qsizetype end = bytes.size();
    int x = 0;
    int y = 0;  // rows from the bottom
    const auto put = [&](quint8 index) {
        if (x < layout.width && y < layout.height)
            image.scanLine(layout.height - 1 - y)[x] = index;
        ++x;
    };
    while (y < layout.height) {
        if (end - at < 2)
            return {};
        const quint8 count = quint8(bytes[at]);
        const quint8 value = quint8(bytes[at + 1]);
        at += 2;
        if (count > 0) {  // a run of one value (RLE4: two alternating positions)
            for (int i = 0; i < count; ++i)
                put(fourBits ? quint8(i % 2 == 0 ? value >> 4 : value & 0x0F) : value);
            continue;
        }
        if (value == 0) {  // end of line
            x = 0;
            ++y;
        } else if (value == 1) {  // end of bitmap
            return image;
        } else if (value == 2) {  // jump right and up
            if (end - at < 2)
                return {};
            x += quint8(bytes[at]);
            y += quint8(bytes[at + 1]);
            at += 2;
        } else {  // `value` positions as they are, padded to a whole 16-bit word
            const qsizetype stored = fourBits ? (value + 1) / 2 : value;
            const qsizetype padded = (stored + 1) / 2 * 2;
            if (end - at < padded)
                return {};
            for (int i = 0; i < value; ++i) {
                const quint8 b = quint8(bytes[at + (fourBits ? i / 2 : i)]);
                put(fourBits ? quint8(i % 2 == 0 ? b >> 4 : b & 0x0F) : b);
            }
            at += padded;
        }
    }
    // The last row was ended: the picture is complete without the end-of-bitmap code.
    return image;
}

QString ResolvedPicture(const QString& gameFolderText, const QString& fileName)
{
    return FromFsPath(ResolveFile(ToPathText(gameFolderText), ToPathText(QStringLiteral("Unit\\") + fileName)));
}

}  // namespace

UnitPicture::UnitPicture(QObject* parent) : QObject(parent) {}

void UnitPicture::attach(QWidget* frame)
{
    if (m_frame)
        m_frame->removeEventFilter(this);
    m_frame = frame;
    if (m_frame)
        m_frame->installEventFilter(this);
}

void UnitPicture::SetPicturePaths(const QString& gameFolderText, int graphicNumber)
{
    m_picturePath = ResolvedPicture(gameFolderText, QString::asprintf("Unit%03d.bmp", graphicNumber));
    m_altPicturePath = ResolvedPicture(gameFolderText, QString::asprintf("Unit%03ds.bmp", graphicNumber));
}

bool UnitPicture::LoadUnitPicture()
{
    for (const QString* path : {&m_altPicturePath, &m_picturePath}) {
        if (path->isEmpty())
            continue;
        QImage loaded = ReadBitmap(*path);
        if (!loaded.isNull()) {
            m_picture = std::move(loaded);
            return true;
        }
    }
    m_picturePath.clear();
    m_altPicturePath.clear();
    return false;
}

void UnitPicture::DrawUnitPicture()
{
    if (m_frame)
        m_frame->update();
}

QImage UnitPicture::ReadBitmap(const QString& path)
{
    // A missing file or a folder is simply no picture.
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly) || file.size() > kMaxFileBytes)
        return {};
    const QByteArray bytes = file.readAll();
    if (bytes.size() != file.size())
        return {};

    // The headers are checked before anything is decoded: sides within the limit, a pixel format the
    // decoder knows, and every byte uncompressed pixels need present in the file.
    const auto head = std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
    const std::optional<BitmapLayout> layout = ReadBitmapLayout(head, head.size());
    if (!layout || !IsShowableBitmap(*layout, head.size()))
        return {};
    QImage image;
    if (layout->runLength) {
        image = DecodeRunLength(bytes, *layout);
    } else {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, "bmp");
        reader.setAutoDetectImageFormat(false);
        reader.setDecideFormatFromContent(false);
        if (!reader.read(&image))
            return {};
    }
    if (image.size() != QSize(layout->width, layout->height))
        return {};
    // Painting reads plain 32-bit pixels: a palette position beyond the colours the file gives
    // shows black instead of reading past the colour table.
    return image.convertToFormat(QImage::Format_RGB32);
}

void UnitPicture::Paint(QPainter& painter, const QRect& client, const QImage& picture)
{
    painter.fillRect(client, Qt::black);
    if (picture.isNull())
        return;
    const int cw = client.width();
    const int ch = client.height();
    const int half = picture.width() / 2;
    const int height = picture.height();

    int width = half, sourceX = 0, targetX = (cw - half) / 2;
    if (half > cw) {
        width = cw;
        sourceX = (half - cw) / 2;
        targetX = 0;
    }
    int copyHeight = height, sourceY = 0, targetY = (ch - height) / 2;
    if (height > ch) {
        copyHeight = ch;
        sourceY = (height - ch) / 2;
        targetY = 0;
    }
    if (width <= 0 || copyHeight <= 0)
        return;
    painter.save();
    painter.setClipRect(client);
    painter.drawImage(QPoint(client.left() + targetX, client.top() + targetY), picture,
                      QRect(sourceX, sourceY, width, copyHeight));
    painter.restore();
}

bool UnitPicture::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_frame || event->type() != QEvent::Paint)
        return QObject::eventFilter(watched, event);
    // The frame paints itself first (its sunken edge and black background), then the picture goes
    // into its client area.
    static_cast<QObject*>(m_frame.data())->event(event);
    QPainter painter(m_frame.data());
    const auto* frame = qobject_cast<QFrame*>(m_frame.data());
    const QRect client = frame ? frame->contentsRect() : m_frame->rect();
    Paint(painter, client, m_picturePath.isEmpty() ? QImage() : m_picture);
    return true;
}
