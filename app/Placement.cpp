#include "app/Placement.h"

#include "app/SettingsStore.h"

#include <QWidget>

// The window's normal (restored) rectangle, frame included, as right/bottom-exclusive edges.
static QRect restoredRect(const QWidget* window)
{
    if (window->isMinimized() || window->isMaximized()) {
        const QRect normal = window->normalGeometry();
        if (normal.isValid())
            return normal;
    }
    return window->frameGeometry();
}

void RestorePlacement(QWidget* window, const QString& prefix)
{
    const QRect current = restoredRect(window);
    const int top = ReadSettingInt(kInitData, prefix + QStringLiteral("Top"), current.y());
    const int left = ReadSettingInt(kInitData, prefix + QStringLiteral("Left"), current.x());
    window->move(left, top);
}

void SavePlacement(QWidget* window, const QString& prefix)
{
    const QRect rect = restoredRect(window);
    SettingsBatch batch;
    WriteSettingInt(kInitData, prefix + QStringLiteral("Top"), rect.y());
    WriteSettingInt(kInitData, prefix + QStringLiteral("Bottom"), rect.y() + rect.height());
    WriteSettingInt(kInitData, prefix + QStringLiteral("Left"), rect.x());
    WriteSettingInt(kInitData, prefix + QStringLiteral("Right"), rect.x() + rect.width());
}

void SaveMainDialogPlacement(QWidget* window)
{
    const QRect rect = restoredRect(window);
    SettingsBatch batch;
    WriteSettingInt(kInitData, QStringLiteral("MainDialogLeft"), rect.x());
    WriteSettingInt(kInitData, QStringLiteral("MainDialogRight"), rect.x() + rect.width());
    WriteSettingInt(kInitData, QStringLiteral("MainDialogTop"), rect.y());
    WriteSettingInt(kInitData, QStringLiteral("MainDialogBottom"), rect.y() + rect.height());
}
