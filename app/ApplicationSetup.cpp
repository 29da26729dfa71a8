#include "app/EditorApp.h"

#include "framework/Dialog.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void UseJapaneseLocale()
{
#ifndef Q_OS_WIN
    // Qt reads the system locale from the environment once; on Windows it is the user's own.
    qputenv("LC_ALL", "ja_JP.UTF-8");
#endif
}

void SetUpApplication(QApplication& application)
{
    QApplication::setOrganizationName(QStringLiteral("Orlane"));
    QApplication::setApplicationName(QStringLiteral("Corvane"));
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    for (const char* catalog : {"qtbase_ja", "qt_ja"}) {
        auto* translator = new QTranslator(&application);
        if (translator->load(QString::fromLatin1(catalog), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QApplication::installTranslator(translator);
        else
            delete translator;
    }
    QApplication::setFont(CDialog::dialogFont("ＭＳ Ｐゴシック", 9));
}
