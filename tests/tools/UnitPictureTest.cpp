// The unit picture: which file is read, where its left half lands in the frame, and bad files.

#include "support/GuiTest.h"

#include "demo/Bmp.h"
#include "editor/UnitPicture.h"
#include "framework/Dialog.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFrame>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>

namespace {

const DialogTemplate kPictureTemplate{
    901, "picture", 120, 60, "ＭＳ Ｐゴシック", 9, DialogStyle::None, 0,
    {{1216, ControlKind::Frame, 5, 5, 95, 45, "", Style::None}},
};

const BmpColor kRed{255, 0, 0};
const BmpColor kGreen{0, 255, 0};
const BmpColor kBlue{0, 0, 255};

void WriteFile(const QString& path, const std::vector<std::uint8_t>& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
}

std::vector<std::uint8_t> Plain(int width, int height, BmpColor color)
{
    return MakeBmp(width, height, [color](int, int) { return color; });
}

// The left half red, the right half green: green must never be drawn.
std::vector<std::uint8_t> Halves(int width, int height)
{
    return MakeBmp(width, height, [width](int x, int) { return x < width / 2 ? kRed : kGreen; });
}

// The main dialog's picture frame, with a client area of exactly 140 by 70 pixels.
class PictureFrame {
public:
    PictureFrame() : dialog(kPictureTemplate)
    {
        frame = qobject_cast<QFrame*>(dialog.control(1216));
        const QMargins edge = frame->contentsMargins();
        frame->setFixedSize(140 + edge.left() + edge.right(), 70 + edge.top() + edge.bottom());
        picture.attach(frame);
    }
    // The client area as it is painted now.
    QImage client() const
    {
        return frame->grab().toImage().copy(frame->contentsRect()).convertToFormat(QImage::Format_RGB32);
    }

    CDialog dialog;
    QFrame* frame = nullptr;
    UnitPicture picture;
};

bool IsBlack(const QImage& image, int x, int y) { return image.pixel(x, y) == qRgb(0, 0, 0); }

int CountColour(const QImage& image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == colour;
    return n;
}

// Four colours, black last: a palette position the picture does not use shows as black too.
const BmpColor kPalette[] = {kBlue, kRed, kGreen, {0, 0, 0}};

// A 37 x 23 picture in the four colours, in stripes and blocks so that every run length and row
// differs; 1-bit pictures use the first two colours.
std::uint8_t PaletteIndex(int x, int y, int bits)
{
    const int index = (x / 5 + y / 3 + (x * y) % 7) % 3;
    return std::uint8_t(bits == 1 ? index % 2 : index);
}

std::vector<std::uint8_t> Picture(int bits, BmpCoding coding)
{
    if (bits == 24)
        return MakeBmp(37, 23, [](int x, int y) { return kPalette[PaletteIndex(x, y, 8)]; });
    return MakeIndexedBmp(37, 23, bits, std::span(kPalette, bits == 1 ? 2 : 4),
                          [bits](int x, int y) { return PaletteIndex(x, y, bits); }, coding);
}

QRgb Rgb(BmpColor c) { return qRgb(c.r, c.g, c.b); }

bool AllBlack(const QImage& image) { return CountColour(image, qRgb(0, 0, 0)) == image.width() * image.height(); }

// A bitmap file header and info header claiming width x height, 24 bits, and no pixels after it.
std::vector<std::uint8_t> HeaderOnly(std::int32_t width, std::int32_t height)
{
    std::vector<std::uint8_t> bytes = Plain(1, 1, kRed);
    bytes.resize(kBmpHeaderSize);
    std::memcpy(&bytes[18], &width, 4);
    std::memcpy(&bytes[22], &height, 4);
    return bytes;
}

}  // namespace

class UnitPictureTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { guitest::init(); }

    void leftHalfIsCentred()
    {
        QTemporaryDir game;
        WriteFile(game.filePath(QStringLiteral("Unit/Unit012.bmp")), Halves(200, 40));
        PictureFrame view;
        view.picture.SetPicturePaths(game.path() + u'/', 12);
        QVERIFY(view.picture.LoadUnitPicture());
        view.picture.DrawUnitPicture();

        const QImage client = view.client();
        QCOMPARE(client.size(), QSize(140, 70));
        // 100 columns, 40 rows: 20 pixels of black left and right, 15 above and below.
        QCOMPARE(CountColour(client, qRgb(255, 0, 0)), 100 * 40);
        QCOMPARE(CountColour(client, qRgb(0, 255, 0)), 0);
        QVERIFY(IsBlack(client, 19, 30));
        QVERIFY(!IsBlack(client, 20, 30));
        QVERIFY(!IsBlack(client, 119, 30));
        QVERIFY(IsBlack(client, 120, 30));
        QVERIFY(IsBlack(client, 60, 14));
        QVERIFY(!IsBlack(client, 60, 15));
        QVERIFY(!IsBlack(client, 60, 54));
        QVERIFY(IsBlack(client, 60, 55));
    }

    void oddSizesTruncate()
    {
        QTemporaryDir game;
        WriteFile(game.filePath(QStringLiteral("Unit/Unit001.bmp")), Halves(201, 41));
        PictureFrame view;
        view.picture.SetPicturePaths(game.path() + u'/', 1);
        QVERIFY(view.picture.LoadUnitPicture());
        const QImage client = view.client();
        // half = 100, so (140 - 100) / 2 = 20; (70 - 41) / 2 = 14.
        QCOMPARE(CountColour(client, qRgb(255, 0, 0)), 100 * 41);
        QVERIFY(IsBlack(client, 19, 20));
        QVERIFY(!IsBlack(client, 20, 14));
        QVERIFY(IsBlack(client, 20, 13));
        QVERIFY(!IsBlack(client, 20, 54));
        QVERIFY(IsBlack(client, 20, 55));
    }

    void largerHalfShowsItsMiddle()
    {
        QTemporaryDir game;
        // Red carries the column (0..255, then again), green the row, blue the column's hundreds.
        WriteFile(game.filePath(QStringLiteral("Unit/Unit002.bmp")), MakeBmp(400, 100, [](int x, int y) {
                      return BmpColor{std::uint8_t(x % 256), std::uint8_t(y), std::uint8_t(x / 100)};
                  }));
        PictureFrame view;
        view.picture.SetPicturePaths(game.path() + u'/', 2);
        QVERIFY(view.picture.LoadUnitPicture());
        const QImage client = view.client();
        // half = 200 > 140: columns 30..169; 100 > 70: rows 15..84.
        QCOMPARE(client.pixel(0, 0), qRgb(30, 15, 0));
        QCOMPARE(client.pixel(139, 69), qRgb(169, 84, 1));
        QCOMPARE(CountColour(client, qRgb(0, 0, 0)), 0);
    }

    void sVariantIsPreferred()
    {
        QTemporaryDir game;
        WriteFile(game.filePath(QStringLiteral("Unit/Unit012s.bmp")), Plain(20, 20, kBlue));
        WriteFile(game.filePath(QStringLiteral("Unit/Unit012.bmp")), Plain(20, 20, kRed));
        WriteFile(game.filePath(QStringLiteral("Unit/Unit013.bmp")), Plain(20, 20, kRed));
        PictureFrame view;
        view.picture.SetPicturePaths(game.path() + u'/', 12);
        QVERIFY(QDir::fromNativeSeparators(view.picture.picturePath()).endsWith(QStringLiteral("Unit/Unit012.bmp")));
        QVERIFY(QDir::fromNativeSeparators(view.picture.altPicturePath()).endsWith(QStringLiteral("Unit/Unit012s.bmp")));
        QVERIFY(view.picture.LoadUnitPicture());
        QCOMPARE(CountColour(view.client(), qRgb(0, 0, 255)), 10 * 20);

        view.picture.SetPicturePaths(game.path() + u'/', 13);
        QVERIFY(view.picture.LoadUnitPicture());
        QCOMPARE(CountColour(view.client(), qRgb(255, 0, 0)), 10 * 20);
    }

    void namesAreFoundWhateverTheirCase()
    {
        QTemporaryDir game;
        WriteFile(game.filePath(QStringLiteral("UNIT/UNIT007S.BMP")), Plain(20, 20, kBlue));
        WriteFile(game.filePath(QStringLiteral("UNIT/unit1234.bmp")), Plain(20, 20, kRed));
        PictureFrame view;
        view.picture.SetPicturePaths(game.path() + u'/', 7);
        QVERIFY(view.picture.LoadUnitPicture());
        QCOMPARE(view.picture.picture().pixel(0, 0), qRgb(0, 0, 255));
        view.picture.SetPicturePaths(game.path() + u'/', 1234);  // four digits when needed
        QVERIFY(view.picture.LoadUnitPicture());
        QCOMPARE(view.picture.picture().pixel(0, 0), qRgb(255, 0, 0));
    }

    void missingPictureLeavesTheFrameBlack()
    {
        QTemporaryDir game;
        WriteFile(game.filePath(QStringLiteral("Unit/Unit005.bmp")), Plain(20, 20, kRed));
        PictureFrame view;
        QVERIFY(AllBlack(view.client()));  // nothing shown yet

        view.picture.SetPicturePaths(game.path() + u'/', 5);
        QVERIFY(view.picture.LoadUnitPicture());
        QVERIFY(!AllBlack(view.client()));

        // The old picture stays held but is no longer drawn.
        view.picture.SetPicturePaths(game.path() + u'/', 6);
        QVERIFY(!view.picture.LoadUnitPicture());
        QVERIFY(view.picture.picturePath().isEmpty());
        QVERIFY(view.picture.altPicturePath().isEmpty());
        QVERIFY(!view.picture.picture().isNull());
        QVERIFY(AllBlack(view.client()));

        // The next unit with a picture draws it again.
        view.picture.SetPicturePaths(game.path() + u'/', 5);
        QVERIFY(view.picture.LoadUnitPicture());
        QCOMPARE(CountColour(view.client(), qRgb(255, 0, 0)), 10 * 20);

        // No Unit folder at all.
        QTemporaryDir empty;
        view.picture.SetPicturePaths(empty.path() + u'/', 5);
        QVERIFY(!view.picture.LoadUnitPicture());
        QVERIFY(AllBlack(view.client()));
    }

    void badBitmapsAreRefusedQuickly_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        auto bytes = [](const std::vector<std::uint8_t>& v) { return QByteArray(reinterpret_cast<const char*>(v.data()), qsizetype(v.size())); };
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not a bitmap") << QByteArray("this is no picture at all, just text");
        QTest::newRow("header only") << QByteArray("BM");
        QTest::newRow("huge, no pixels") << bytes(HeaderOnly(100000, 100000));
        QTest::newRow("wider than allowed") << bytes(HeaderOnly(5000, 10));
        QTest::newRow("taller than allowed, top-down") << bytes(HeaderOnly(10, -5000));
        QTest::newRow("largest side, no pixels") << bytes(HeaderOnly(4096, 4096));
        QTest::newRow("negative width") << bytes(HeaderOnly(-20, 20));
        QTest::newRow("zero height") << bytes(HeaderOnly(20, 0));
    }
    void badBitmapsAreRefusedQuickly()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir game;
        QVERIFY(QDir(game.path()).mkdir(QStringLiteral("Unit")));
        QFile file(game.filePath(QStringLiteral("Unit/Unit020.bmp")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();

        PictureFrame view;
        QElapsedTimer clock;
        clock.start();
        view.picture.SetPicturePaths(game.path() + u'/', 20);
        const bool loaded = view.picture.LoadUnitPicture();
        const QImage client = view.client();
        QVERIFY(clock.elapsed() < 2000);
        QVERIFY(!loaded);
        QVERIFY(AllBlack(client));
    }

    // Every kind of bitmap the game could hold, whole and cut short at several points: whole it shows
    // its pixels; cut anywhere before the end of its pixels it is no picture and the frame stays black.
    void cutShortPicturesAreRefused_data()
    {
        QTest::addColumn<int>("bits");
        QTest::addColumn<bool>("runLength");
        QTest::newRow("1-bit") << 1 << false;
        QTest::newRow("4-bit") << 4 << false;
        QTest::newRow("8-bit") << 8 << false;
        QTest::newRow("24-bit") << 24 << false;
        QTest::newRow("RLE4") << 4 << true;
        QTest::newRow("RLE8") << 8 << true;
    }
    void cutShortPicturesAreRefused()
    {
        QFETCH(int, bits);
        QFETCH(bool, runLength);
        const std::vector<std::uint8_t> whole = Picture(bits, runLength ? BmpCoding::RunLength : BmpCoding::Plain);
        const std::size_t pixelsAt = kBmpHeaderSize + (bits == 24 ? 0 : 4 * (bits == 1 ? 2 : 4));
        QTemporaryDir game;
        const QString file = game.filePath(QStringLiteral("Unit/Unit050.bmp"));

        WriteFile(file, whole);
        PictureFrame view;
        view.picture.SetPicturePaths(game.path() + u'/', 50);
        QVERIFY(view.picture.LoadUnitPicture());
        const QImage shown = view.picture.picture();
        QCOMPARE(shown.size(), QSize(37, 23));
        for (int y = 0; y < 23; ++y)
            for (int x = 0; x < 37; ++x)
                QCOMPARE(shown.pixel(x, y), Rgb(kPalette[PaletteIndex(x, y, bits == 24 ? 8 : bits)]));

        const std::size_t size = whole.size();
        for (const std::size_t cut : {std::size_t(40), pixelsAt - 2, pixelsAt, pixelsAt + 1, pixelsAt + 7,
                                      (pixelsAt + size) / 2, size - 3, size - 2, size - 1}) {
            WriteFile(file, std::vector<std::uint8_t>(whole.begin(), whole.begin() + std::ptrdiff_t(cut)));
            view.picture.SetPicturePaths(game.path() + u'/', 50);
            QVERIFY2(!view.picture.LoadUnitPicture(), qPrintable(QStringLiteral("cut at %1 of %2").arg(cut).arg(size)));
            QVERIFY(AllBlack(view.client()));
            QVERIFY(UnitPicture::ReadBitmap(file).isNull());
        }
    }

    // Run-length streams may skip pixels with a jump or end a line or the picture early: what they
    // skip shows the first colour of the palette. Literal runs of odd length keep their padding.
    void runLengthSkipsShowTheFirstColour()
    {
        const BmpColor palette[] = {kBlue, kRed, kGreen};
        QTemporaryDir game;
        // 6 x 3 RLE8. Bottom row: 2 red, jump 1 right and 1 up; middle row from x 3: 1 green,
        // then end of line; top row: literal red green red (padded), end of bitmap.
        const std::uint8_t rle8[] = {2, 1, 0, 2, 1, 1, 1, 2, 0, 0, 0, 3, 1, 2, 1, 0, 0, 1};
        const QString file8 = game.filePath(QStringLiteral("Unit/Unit060.bmp"));
        WriteFile(file8, MakeBmpFromStoredPixels(6, 3, 8, 1, palette, rle8));
        const QImage eight = UnitPicture::ReadBitmap(file8);
        QCOMPARE(eight.size(), QSize(6, 3));
        const QRgb b = Rgb(kBlue), r = Rgb(kRed), g = Rgb(kGreen);
        const QRgb expected8[3][6] = {{r, g, r, b, b, b}, {b, b, b, g, b, b}, {r, r, b, b, b, b}};
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 6; ++x)
                QCOMPARE(eight.pixel(x, y), expected8[y][x]);

        // 5 x 2 RLE4. Bottom row: literal 0 1 2 (two bytes, padded to a word), run of 2 of "1 2";
        // then end of bitmap: the top row is never written.
        const std::uint8_t rle4[] = {0, 3, 0x01, 0x20, 2, 0x12, 0, 1};
        const QString file4 = game.filePath(QStringLiteral("Unit/Unit061.bmp"));
        WriteFile(file4, MakeBmpFromStoredPixels(5, 2, 4, 2, palette, rle4));
        const QImage four = UnitPicture::ReadBitmap(file4);
        QCOMPARE(four.size(), QSize(5, 2));
        const QRgb expected4[2][5] = {{b, b, b, b, b}, {b, r, g, r, g}};
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 5; ++x)
                QCOMPARE(four.pixel(x, y), expected4[y][x]);

        // Runs that pass the right edge or jumps above the top are cut off; a stream ending in the
        // middle of a jump is cut short.
        const std::uint8_t wide[] = {9, 1, 0, 2, 0, 7, 0, 1};
        WriteFile(file8, MakeBmpFromStoredPixels(6, 3, 8, 1, palette, wide));
        QCOMPARE(UnitPicture::ReadBitmap(file8).pixel(5, 2), r);
        const std::uint8_t cutJump[] = {2, 1, 0, 2, 1};
        WriteFile(file8, MakeBmpFromStoredPixels(6, 3, 8, 1, palette, cutJump));
        QVERIFY(UnitPicture::ReadBitmap(file8).isNull());
    }

    // A palette shorter than the positions the pixels use: those pixels are black.
    void positionsBeyondThePaletteAreBlack()
    {
        QTemporaryDir game;
        const QString file = game.filePath(QStringLiteral("Unit/Unit070.bmp"));
        std::vector<std::uint8_t> bytes = MakeIndexedBmp(8, 2, 8, std::span(kPalette, 2), [](int x, int) {
            return std::uint8_t(x < 4 ? 1 : 200);
        });
        WriteFile(file, bytes);
        PictureFrame view;
        view.picture.SetPicturePaths(game.path() + u'/', 70);
        QVERIFY(view.picture.LoadUnitPicture());
        QCOMPARE(view.picture.picture().pixel(0, 0), Rgb(kRed));
        QCOMPARE(view.picture.picture().pixel(7, 1), qRgb(0, 0, 0));
        QCOMPARE(CountColour(view.client(), Rgb(kRed)), 4 * 2);
    }

    void sizeLimit()
    {
        QTemporaryDir game;
        WriteFile(game.filePath(QStringLiteral("Unit/Unit030.bmp")), Plain(UnitPicture::kMaxSide, 2, kRed));
        WriteFile(game.filePath(QStringLiteral("Unit/Unit031.bmp")), Plain(UnitPicture::kMaxSide + 1, 2, kRed));
        QCOMPARE(UnitPicture::ReadBitmap(game.filePath(QStringLiteral("Unit/Unit030.bmp"))).width(), UnitPicture::kMaxSide);
        QVERIFY(UnitPicture::ReadBitmap(game.filePath(QStringLiteral("Unit/Unit031.bmp"))).isNull());
        // Only bitmaps: a PNG under a .bmp name is not one.
        QImage png(8, 8, QImage::Format_RGB32);
        png.fill(Qt::red);
        QVERIFY(png.save(game.filePath(QStringLiteral("Unit/Unit032.bmp")), "PNG"));
        QVERIFY(UnitPicture::ReadBitmap(game.filePath(QStringLiteral("Unit/Unit032.bmp"))).isNull());
    }

    void drawingRepaintsTheFrame()
    {
        QTemporaryDir game;
        WriteFile(game.filePath(QStringLiteral("Unit/Unit040.bmp")), Plain(20, 20, kRed));
        PictureFrame view;
        view.dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view.dialog));

        struct PaintCounter : QObject {
            int paints = 0;
            bool eventFilter(QObject*, QEvent* event) override
            {
                paints += event->type() == QEvent::Paint;
                return false;
            }
        } counter;
        view.frame->installEventFilter(&counter);
        QTest::qWait(20);
        const int before = counter.paints;
        view.picture.SetPicturePaths(game.path() + u'/', 40);
        QVERIFY(view.picture.LoadUnitPicture());
        view.picture.DrawUnitPicture();
        QTRY_VERIFY(counter.paints > before);
    }
};

QTEST_MAIN(UnitPictureTest)
#include "UnitPictureTest.moc"
