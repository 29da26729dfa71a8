#include "app/EditorApp.h"

#include "framework/Dialog.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

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
