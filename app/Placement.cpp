#include "app/Placement.h"

#include "app/SettingsStore.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <limits>

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

void RestorePlacement(QWidget* window, const QString& prefix) { MoveToStoredCorner(window, ReadStoredCorner(prefix)); }

StoredCorner ReadStoredCorner(const QString& prefix)
{
    StoredCorner corner;
    corner.top = ReadStoredSettingInt(kInitData, prefix + QStringLiteral("Top"));
    corner.left = ReadStoredSettingInt(kInitData, prefix + QStringLiteral("Left"));
    return corner;
}

void MoveToStoredCorner(QWidget* window, const StoredCorner& corner)
{
    const QRect current = restoredRect(window);
    window->move(corner.left.value_or(current.x()), corner.top.value_or(current.y()));
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

namespace {

// Moves the window's frame onto the screen nearest to its corner, whole where it fits. Returns
// false when nothing moved.
bool moveOntoNearestScreen(QWidget* window)
{
    const QRect frame = window->frameGeometry();
    QScreen* nearest = nullptr;
    qint64 nearestDistance = std::numeric_limits<qint64>::max();
    for (QScreen* screen : QGuiApplication::screens()) {
        const QRect area = screen->geometry();
        const qint64 dx = frame.left() < area.left() ? area.left() - frame.left() : qMax(0, frame.left() - area.right());
        const qint64 dy = frame.top() < area.top() ? area.top() - frame.top() : qMax(0, frame.top() - area.bottom());
        if (dx * dx + dy * dy < nearestDistance) {
            nearestDistance = dx * dx + dy * dy;
            nearest = screen;
        }
    }
    if (!nearest)
        return false;
    const QRect area = nearest->availableGeometry();
    const int left = qMax(area.left(), qMin(frame.left(), area.right() + 1 - frame.width()));
    const int top = qMax(area.top(), qMin(frame.top(), area.bottom() + 1 - frame.height()));
    if (QPoint(left, top) == frame.topLeft())
        return false;
    window->move(window->pos() + QPoint(left, top) - frame.topLeft());
    return true;
}

}  // namespace

void ScreenKeeper::shown(QWidget* window)
{
    if (QGuiApplication::screenAt(window->frameGeometry().topLeft()))
        return;
    if (!m_storedCorner)
        m_storedCorner = window->pos();
    moveOntoNearestScreen(window);
    m_broughtTo = window->pos();
    // The platform may learn the window's frame only once it shows: look again then.
    QTimer::singleShot(0, window, [this, window] {
        moveOntoNearestScreen(window);
        m_broughtTo = window->pos();
    });
}

void ScreenKeeper::beforeSave(QWidget* window)
{
    if (m_storedCorner && window->pos() == m_broughtTo)
        window->move(*m_storedCorner);
}
