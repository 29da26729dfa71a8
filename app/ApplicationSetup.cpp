#include "app/EditorApp.h"

#include "app/ApplicationStyle.h"

#include "framework/Dialog.h"

#include <QApplication>
#include <QFileInfo>
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
#ifdef Q_OS_WIN
    // The registry key is named after the executable file, whatever it is called.
    QApplication::setApplicationName(QFileInfo(QApplication::applicationFilePath()).completeBaseName());
    // Qt's translations travel with the program: in translations\ beside it, or beside it.
    const QString appDir = QApplication::applicationDirPath();
    const QStringList translationDirs = {appDir + QStringLiteral("/translations"), appDir,
                                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
#else
    QApplication::setApplicationName(QStringLiteral("Corvane"));
    const QStringList translationDirs = {QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
#endif
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    for (const char* catalog : {"qtbase_ja", "qt_ja"}) {
        auto* translator = new QTranslator(&application);
        bool loaded = false;
        for (const QString& dir : translationDirs)
            if ((loaded = translator->load(QString::fromLatin1(catalog), dir)))
                break;
        if (loaded)
            QApplication::installTranslator(translator);
        else
            delete translator;
    }
    QApplication::setFont(CDialog::dialogFont("ＭＳ Ｐゴシック", 9));
    if (!qobject_cast<ApplicationStyle*>(QApplication::style()))
        QApplication::setStyle(new ApplicationStyle(QApplication::style()));
}
