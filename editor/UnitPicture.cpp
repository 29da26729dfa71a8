#include "editor/UnitPicture.h"

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

quint32 U16(const QByteArray& b, qsizetype at)
{
    return quint32(quint8(b[at])) | quint32(quint8(b[at + 1])) << 8;
}

quint32 U32(const QByteArray& b, qsizetype at)
{
    return U16(b, at) | U16(b, at + 2) << 16;
}

// What the headers of a bitmap file say about its pixels.
struct BitmapLayout {
    int width = 0;
    int height = 0;              // rows, whatever their order
    int bitsPerPixel = 0;
    bool runLength = false;      // RLE8 (8 bits) or RLE4 (4 bits)
    qsizetype paletteAt = 0;     // colour table: 4 bytes a colour (3 with the oldest header)
    int paletteSize = 0;
    int paletteEntryBytes = 4;
    qsizetype pixelsAt = 0;      // where the stored rows or the run-length stream begin
    qsizetype rowBytes = 0;      // bytes of one stored row, uncompressed
};

constexpr quint32 kCoreHeader = 12;  // the oldest info header: 16-bit sides, 3-byte colours
constexpr quint32 kInfoHeader = 40;
constexpr quint32 kRle8 = 1;
constexpr quint32 kRle4 = 2;

std::optional<BitmapLayout> ReadBitmapLayout(const QByteArray& bytes)
{
    constexpr qsizetype kFileHeader = 14;
    if (bytes.size() < kFileHeader + 4 || bytes[0] != 'B' || bytes[1] != 'M')
        return std::nullopt;
    const quint32 pixelOffset = U32(bytes, 10);
    const quint32 infoSize = U32(bytes, 14);
    if ((infoSize != kCoreHeader && infoSize < kInfoHeader) || infoSize > 1024
        || bytes.size() < kFileHeader + qsizetype(infoSize))
        return std::nullopt;

    BitmapLayout layout;
    quint32 compression = 0;
    quint32 coloursUsed = 0;
    if (infoSize == kCoreHeader) {
        layout.width = qint16(U16(bytes, 18));
        layout.height = qint16(U16(bytes, 20));
        layout.bitsPerPixel = int(U16(bytes, 24));
        layout.paletteEntryBytes = 3;
    } else {
        layout.width = qint32(U32(bytes, 18));
        layout.height = qint32(U32(bytes, 22));
        layout.bitsPerPixel = int(U16(bytes, 28));
        compression = U32(bytes, 30);
        coloursUsed = U32(bytes, 46);
    }
    layout.runLength = (compression == kRle8 && layout.bitsPerPixel == 8)
        || (compression == kRle4 && layout.bitsPerPixel == 4);
    // Run-length pictures are stored bottom-up only.
    if (layout.runLength && layout.height < 0)
        return std::nullopt;
    layout.height = layout.height == std::numeric_limits<int>::min() ? 0 : std::abs(layout.height);
    if (layout.bitsPerPixel <= 0 || layout.bitsPerPixel > 32 || coloursUsed > 256)
        return std::nullopt;
    if (layout.bitsPerPixel <= 8)
        layout.paletteSize = coloursUsed != 0 ? int(coloursUsed) : 1 << layout.bitsPerPixel;
    layout.paletteAt = kFileHeader + qsizetype(infoSize);
    const qsizetype paletteEnd = layout.paletteAt + qsizetype(layout.paletteSize) * layout.paletteEntryBytes;
    // A decoder starts at the offset the file header gives, or right after the colours when that
    // offset points into the headers.
    layout.pixelsAt = std::max<qsizetype>(paletteEnd, pixelOffset);
    if (layout.pixelsAt > bytes.size())
        return std::nullopt;
    layout.rowBytes = (qsizetype(std::max(layout.width, 0)) * layout.bitsPerPixel + 31) / 32 * 4;
    return layout;
}

// Decodes an RLE8 or RLE4 stream into an image that was filled with palette position 0 first, so
// the pixels a stream skips (with a jump or an early end of line or of bitmap) are that colour.
// A stream that ends before its end-of-bitmap code, or inside a code, is no picture.
QImage DecodeRunLength(const QByteArray& bytes, const BitmapLayout& layout)
{
    QList<QRgb> colours(256, qRgb(0, 0, 0));
    for (int i = 0; i < layout.paletteSize; ++i) {
        const qsizetype at = layout.paletteAt + qsizetype(i) * layout.paletteEntryBytes;
        colours[i] = qRgb(quint8(bytes[at + 2]), quint8(bytes[at + 1]), quint8(bytes[at]));
    }
    QImage image(layout.width, layout.height, QImage::Format_Indexed8);
    if (image.isNull())
        return {};
    image.setColorTable(colours);
    image.fill(0);

    const bool fourBits = layout.bitsPerPixel == 4;
    qsizetype at = layout.pixelsAt;
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

    // The headers are checked before anything is decoded: sides within the limit, and every byte the
    // pixels need present in the file.
    const std::optional<BitmapLayout> layout = ReadBitmapLayout(bytes);
    if (!layout || layout->width <= 0 || layout->height <= 0 || layout->width > kMaxSide
        || layout->height > kMaxSide)
        return {};
    QImage image;
    if (layout->runLength) {
        image = DecodeRunLength(bytes, *layout);
    } else {
        if (bytes.size() - layout->pixelsAt < qint64(layout->rowBytes) * layout->height)
            return {};
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
