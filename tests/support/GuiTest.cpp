#include "GuiTest.h"

#include "app/EditorApp.h"
#include "framework/MessageService.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
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

}  // namespace guitest
