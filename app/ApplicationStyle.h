#pragma once
// The application's style: the platform's own, with one thing put off. A menu bar asks the style for
// its extension button's icon as the bar is made, and the platform style reads that icon from an
// image file whose format Qt finds by loading every image plug-in installed; the button shows only
// when the menu bar is too narrow for its menus, which ours never is as the program starts. Here the
// button gets that same icon the first time it is shown.

#include <QProxyStyle>

class QStyle;

class ApplicationStyle : public QProxyStyle {
    Q_OBJECT
public:
    // Takes over `platformStyle`, the style QApplication made.
    explicit ApplicationStyle(QStyle* platformStyle);

    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option, const QWidget* widget) const override;
    void polish(QWidget* widget) override;
    using QProxyStyle::polish;
    void unpolish(QWidget* widget) override;
    using QProxyStyle::unpolish;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
