#pragma once
// Window positions in the settings store. A tool window or the weapon picker restores only its
// top-left corner (its size always comes from its template) and saves all four edges.

#include <QPoint>
#include <QString>

#include <optional>

class QWidget;

// On creation: move the window to the stored <prefix>Left / <prefix>Top, defaulting to where it is.
void RestorePlacement(QWidget* window, const QString& prefix);
// The same in two steps, for a window that takes its default place only later: the corner is read
// (<prefix>Top, then <prefix>Left) when the window is created, and put to use once it is placed;
// an edge that is not stored stays where the window is then.
struct StoredCorner {
    std::optional<int> top;
    std::optional<int> left;
};
StoredCorner ReadStoredCorner(const QString& prefix);
void MoveToStoredCorner(QWidget* window, const StoredCorner& corner);
// On destruction: write <prefix>Top, Bottom, Left, Right, in this order.
void SavePlacement(QWidget* window, const QString& prefix);
// A window whose stored corner lies on no screen (a monitor that is gone) is brought onto the
// nearest screen, whole where it fits, each time it is shown. Its stored values change only when
// the user moves it: left where it was brought, it saves the corner it was stored with.
class ScreenKeeper {
public:
    // From the window's show event.
    void shown(QWidget* window);
    // Before the window saves its placement.
    void beforeSave(QWidget* window);

private:
    std::optional<QPoint> m_storedCorner;
    QPoint m_broughtTo;
};

// A window of our own beside the main dialog (find, compare and the like), remembered under its
// prefix as the tool windows are. With nothing stored it takes the first place to the right of its
// owner, then below it, that overlaps neither the owner nor another window the owner shows, and
// follows the owner there until the user moves it; a stored corner is used as it is.
class SideWindowPlacement {
public:
    explicit SideWindowPlacement(QString prefix) : m_prefix(std::move(prefix)) {}
    // When the window is created: its default place, then the stored corner.
    void created(QWidget* window);
    // From the window's show event.
    void shown(QWidget* window);
    // When the window is destroyed: writes its four values.
    void destroyed(QWidget* window);

private:
    void placeBesideOwner(QWidget* window);

    QString m_prefix;
    std::optional<QPoint> m_defaultCorner;
    ScreenKeeper m_screenKeeper;
};

// The main dialog writes its edges in the order Left, Right, Top, Bottom and never reads them.
void SaveMainDialogPlacement(QWidget* window);
