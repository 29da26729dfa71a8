// The program's own start: the font configuration loads on a thread of its own while the
// application object is made, and the fonts come out as they do when Qt loads it.

#include "support/GuiTest.h"

#include "app/EditorApp.h"
#include "app/FontConfigLoader.h"
#include "framework/Dialog.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QTest>

class StartupFontsTest : public QObject {
    Q_OBJECT
private slots:
    void fontsAreThoseOfAnOrdinaryStart()
    {
        QVERIFY(QFontDatabase::families().contains(QFontInfo(QApplication::font()).family()));
        QCOMPARE(QApplication::font().pointSize(), 9);
#ifndef Q_OS_WIN
        // Where the dialog font is missing, IPA P Gothic stands in, and IPA Gothic for the numbers.
        QCOMPARE(QFontInfo(QApplication::font()).family(), QFontInfo(QFont(QStringLiteral("IPAPGothic"))).family());
        QVERIFY(QFontDatabase::hasFamily(QStringLiteral("IPAGothic")));
#endif
    }

    void waitingAgainReturnsAtOnce()
    {
        FontConfigLoader loader;
        loader.wait();
        loader.wait();
    }
};

int main(int argc, char** argv)
{
    UseJapaneseLocale();
    FontConfigLoader fonts;
    QApplication application(argc, argv);
    fonts.wait();
    guitest::init();
    StartupFontsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "StartupFontsTest.moc"
