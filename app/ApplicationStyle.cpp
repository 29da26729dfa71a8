#include "app/ApplicationStyle.h"

#include <QEvent>
#include <QMenuBar>
#include <QToolButton>

namespace {

// The button Qt's menu bar keeps for the menus it has no room for.
QToolButton* menuBarExtension(QObject* object)
{
    auto* button = qobject_cast<QToolButton*>(object);
    return button && qobject_cast<QMenuBar*>(button->parentWidget())
                   && button->objectName() == QLatin1String("qt_menubar_ext_button")
               ? button
               : nullptr;
}

}  // namespace

ApplicationStyle::ApplicationStyle(QStyle* platformStyle) : QProxyStyle(platformStyle) {}

QIcon ApplicationStyle::standardIcon(StandardPixmap icon, const QStyleOption* option, const QWidget* widget) const
{
    // Asked by a menu bar's extension button as it is made: it gets its icon when first shown.
    if (icon == SP_ToolBarHorizontalExtensionButton && !option && qobject_cast<const QMenuBar*>(widget))
        return QIcon();
    return QProxyStyle::standardIcon(icon, option, widget);
}

void ApplicationStyle::polish(QWidget* widget)
{
    QProxyStyle::polish(widget);
    if (QToolButton* button = menuBarExtension(widget))
        button->installEventFilter(this);
}

void ApplicationStyle::unpolish(QWidget* widget)
{
    if (QToolButton* button = menuBarExtension(widget))
        button->removeEventFilter(this);
    QProxyStyle::unpolish(widget);
}

bool ApplicationStyle::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show) {
        QToolButton* button = menuBarExtension(watched);
        if (button && button->icon().isNull())
            button->setIcon(baseStyle()->standardIcon(SP_ToolBarHorizontalExtensionButton, nullptr, button->parentWidget()));
    }
    return QProxyStyle::eventFilter(watched, event);
}
