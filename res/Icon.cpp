#include "res/Resources.h"
#include "res/AppIconImage.h"

#include <QPainter>
#include <QPixmap>

// Icon 128: a sand-coloured tank silhouette on a dark green field with a red rising sun.
QImage DrawAppIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = size / 32.0;
    painter.scale(s, s);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x2f, 0x4f, 0x2f));
    painter.drawRoundedRect(QRectF(1, 1, 30, 30), 4, 4);
    painter.setBrush(QColor(0xd0, 0x30, 0x30));
    painter.drawEllipse(QPointF(22, 9), 5, 5);
    painter.setBrush(QColor(0xd8, 0xc0, 0x80));
    painter.drawRoundedRect(QRectF(4, 19, 24, 7), 3, 3);   // tracks
    painter.drawRect(QRectF(9, 14, 12, 6));                 // turret
    painter.drawRect(QRectF(20, 15.5, 9, 2));               // gun
    painter.setBrush(QColor(0x40, 0x38, 0x28));
    for (int wheel = 0; wheel < 5; ++wheel)
        painter.drawEllipse(QPointF(7.5 + wheel * 4.25, 22.5), 1.4, 1.4);
    painter.end();
    return image;
}

QIcon AppIcon()
{
    static const QIcon icon = [] {
        QIcon result;
        for (int size : {16, 32, 48})
            result.addPixmap(QPixmap::fromImage(DrawAppIcon(size)));
        return result;
    }();
    return icon;
}
