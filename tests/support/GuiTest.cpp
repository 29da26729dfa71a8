#include "GuiTest.h"

#include "app/EditorApp.h"
#include "framework/MessageService.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QListView>
#include <QPixmap>
#include <QSettings>
#include <QTemporaryDir>
#include <QWidget>

namespace guitest {

static QTemporaryDir& settingsFolder()
{
    static QTemporaryDir folder;
    return folder;
}

QString appName()
{
#ifdef Q_OS_WIN
    return QFileInfo(QApplication::applicationFilePath()).completeBaseName();
#else
    return QStringLiteral("Corvane");
#endif
}

void init()
{
    SetUpApplication(*qApp);
    const QString path = settingsFolder().path();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, path);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, path);
    MessageService::instance().setTestMode(true);
    resetSettings();
}

void resetSettings()
{
    QSettings settings;
    settings.clear();
    settings.sync();
    MessageService::instance().resetTestState();
}

bool renderToPng(QWidget* window, const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    return window->grab().save(path, "PNG");
}

QStringList shownFileNames(const QFileDialog& dialog)
{
    const auto* view = dialog.findChild<QListView*>(QStringLiteral("listView"));
    QStringList names;
    if (!view || !view->model())
        return names;
    const QModelIndex root = view->rootIndex();
    for (int row = 0; row < view->model()->rowCount(root); ++row)
        names << view->model()->index(row, 0, root).data().toString();
    names.sort();
    return names;
}

}  // namespace guitest
