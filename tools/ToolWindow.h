#pragma once
// CToolWindow: what the three modeless tool windows beside the main dialog share. Each is a small
// tool window owned by the main dialog; its close box, Escape and Enter only hide it (Enter first
// takes its boxes back and keeps it open when one is refused). It remembers its top-left corner
// under its own prefix in the settings store: read when it is created (or by its owner before
// that), put to use when it is first shown, saved when it is destroyed with its owner.

#include "app/Placement.h"
#include "framework/Dialog.h"

#include <QPoint>
#include <QString>

#include <optional>

class CToolWindow : public CDialog {
    Q_OBJECT
public:
    // `row` is the window's place in the stack beside the owner (0 at the top), used for the
    // position it takes when nothing is stored yet.
    CToolWindow(const DialogTemplate& dialogTemplate, QWidget* owner, const QString& placementPrefix, int row);

    const QString& placementPrefix() const { return m_prefix; }
    // The corner its owner read for it in the opening sequence, before the window was made; its
    // initialisation then reads none of its own.
    void useStoredCorner(const StoredCorner& corner) { m_cornerFromOwner = corner; }

protected:
    // The widest text value box `controlId` must show whole; the window's boxes are made that wide.
    virtual QString widestValueText(int controlId) const;
    // Widens the controls whose texts need more room than the template gives (again after a
    // caption changed).
    void fitToContents();

    // Reads the stored corner, then runs the framework's initialisation. Derived windows call this
    // first from their OnInitDialog. Fitting the controls and placing the window (beside its owner,
    // or at the stored corner) wait until it is first shown or destroyed: nothing is on the screen
    // before then, and the owner's first paint does not wait for them.
    bool OnInitDialog() override;
    void OnDestroy() override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

public:
    void setVisible(bool visible) override;

private:
    void place();
    void placeBesideOwner();
    bool atDefaultPlace() const;

    QString m_prefix;
    int m_row;
    // Where the window was put when nothing was stored; while it stays there it is placed again
    // when it grows or is shown.
    std::optional<QPoint> m_defaultCorner;
    StoredCorner m_storedCorner;
    std::optional<StoredCorner> m_cornerFromOwner;
    bool m_placed = false;
    ScreenKeeper m_screenKeeper;
};
