#pragma once
// The unit picture of the main dialog: the bitmap the game uses for a unit, from Unit\Unit%03ds.bmp
// (preferred) or Unit\Unit%03d.bmp in the game folder, drawn into the picture frame. Only the left
// half of the bitmap is drawn, centred in the frame when it is smaller and cut to the frame's middle
// when it is larger. The frame is black wherever nothing is drawn.

#include "data/BitmapHeader.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>

class QPainter;
class QWidget;

class UnitPicture : public QObject {
    Q_OBJECT
public:
    // Pictures larger than this on either side are refused unread.
    static constexpr int kMaxSide = kMaxPictureSide;
    // Files larger than the largest such picture (32 bits a pixel) with its headers are refused unread.
    static constexpr qint64 kMaxFileBytes = qint64(kMaxPictureFileBytes);

    explicit UnitPicture(QObject* parent = nullptr);

    // Paints into frame on each of its repaints from now on (the frame of control 1216).
    void attach(QWidget* frame);

    // Builds both picture paths from the game folder text and the unit's graphic number.
    void SetPicturePaths(const QString& gameFolderText, int graphicNumber);
    // Loads the s-variant, else the plain picture. When neither loads, both paths become empty:
    // the picture held so far is kept but no longer drawn. Returns whether one loaded.
    bool LoadUnitPicture();
    // Has the frame painted again.
    void DrawUnitPicture();

    const QString& picturePath() const { return m_picturePath; }
    const QString& altPicturePath() const { return m_altPicturePath; }
    const QImage& picture() const { return m_picture; }

    // Reads a bitmap file as 32-bit pixels; a null image when it is missing, not a bitmap, malformed,
    // too large, or shorter than its headers say its pixels need.
    static QImage ReadBitmap(const QString& path);
    // Fills client black and draws the left half of picture into it as described above.
    static void Paint(QPainter& painter, const QRect& client, const QImage& picture);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_frame;
    QString m_picturePath;     // Unit%03d.bmp
    QString m_altPicturePath;  // Unit%03ds.bmp
    QImage m_picture;
};
