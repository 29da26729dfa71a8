#pragma once
// CListBox: the list control of the dialogs. Besides a change of its selection by the user it
// reports, as the platform's list box does, a click, Space or a moving key on the entry that is
// already selected: the selection stays, but the owner hears of it all the same.

#include <QListWidget>

class CListBox : public QListWidget {
    Q_OBJECT
public:
    explicit CListBox(QWidget* parent = nullptr);

signals:
    void selChange();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Runs the list's own handling; reports the selected entry when that did not change the selection.
    template <class Handle>
    void reportUnchanged(Handle handle);

    int m_changes = 0;
};
