#include "editor/UnitPicture.h"

#include "data/GamePaths.h"

#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QImageReader>
#include <QPainter>

#include <string>

namespace {

QString ResolvedPicture(const QString& gameFolderText, const QString& fileName)
{
    const std::string folder = QFile::encodeName(gameFolderText).toStdString();
    const std::string name = QFile::encodeName(QStringLiteral("Unit\\") + fileName).toStdString();
    return QFile::decodeName(QByteArray::fromStdString(ResolveFile(folder, name).string()));
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
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return {};
    QImageReader reader(&file, "bmp");
    reader.setAutoDetectImageFormat(false);
    reader.setDecideFormatFromContent(false);
    // The header's size is checked before anything is decoded.
    const QSize size = reader.size();
    if (!size.isValid() || size.width() <= 0 || size.height() <= 0 || size.width() > kMaxSide
        || size.height() > kMaxSide)
        return {};
    QImage image;
    if (!reader.read(&image) || image.size() != size)
        return {};
    return image;
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
