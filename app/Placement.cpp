#include "app/Placement.h"

#include "app/SettingsStore.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
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

void SideWindowPlacement::created(QWidget* window)
{
    placeBesideOwner(window);
    RestorePlacement(window, m_prefix);
}

void SideWindowPlacement::shown(QWidget* window)
{
    // Placed again while it sits where it was put: the owner may have moved, and the platform now
    // knows the window's frame.
    if (m_defaultCorner && window->pos() == *m_defaultCorner)
        placeBesideOwner(window);
    m_screenKeeper.shown(window);
}

void SideWindowPlacement::destroyed(QWidget* window)
{
    m_screenKeeper.beforeSave(window);
    SavePlacement(window, m_prefix);
}

void SideWindowPlacement::placeBesideOwner(QWidget* window)
{
    QWidget* owner = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    if (!owner)
        return;
    constexpr int kGap = 8;
    window->adjustSize();
    const QRect ownerRect = owner->frameGeometry();
    const int titleBar = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
    const QSize outer = window->frameGeometry().size().expandedTo(window->size() + QSize(0, titleBar));
    // The windows to keep clear of: the owner and the other windows it shows (the tool windows).
    QList<QRect> taken{ownerRect};
    for (QWidget* other : owner->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (other != window && other->isWindow() && other->isVisible())
            taken << other->frameGeometry();
    const QRect available = owner->screen() ? owner->screen()->availableGeometry() : QRect(ownerRect.topLeft(), outer * 4);
    // From a start, step right past whatever the window would cover, until it lies clear.
    const auto clearPlace = [&](QPoint corner) -> std::optional<QPoint> {
        for (bool moved = true; moved;) {
            moved = false;
            for (const QRect& other : taken) {
                if (QRect(corner, outer).intersects(other)) {
                    corner.setX(other.right() + 1 + kGap);
                    moved = true;
                }
            }
        }
        if (!available.contains(QRect(corner, outer)))
            return std::nullopt;
        return corner;
    };
    std::optional<QPoint> corner = clearPlace(QPoint(ownerRect.right() + 1 + kGap, ownerRect.top()));
    if (!corner)
        corner = clearPlace(QPoint(ownerRect.left(), ownerRect.bottom() + 1 + kGap));
    if (!corner) {
        // No clear place on the screen: to the right of the owner, kept on the screen.
        corner = QPoint(ownerRect.right() + 1 + kGap, ownerRect.top());
        corner->setX(qMax(available.left(), qMin(corner->x(), available.right() + 1 - outer.width())));
        corner->setY(qMax(available.top(), qMin(corner->y(), available.bottom() + 1 - outer.height())));
    }
    window->move(*corner);
    m_defaultCorner = window->pos();
}
