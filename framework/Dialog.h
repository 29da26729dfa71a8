#pragma once
// CDialog: a window built from a dialog template, with its controls reachable by id, a routing
// table from notifications and commands to handlers, and field exchange.

#include "framework/DataExchange.h"
#include "framework/DialogTemplate.h"

#include <QDialog>
#include <QHash>

#include <functional>
#include <vector>

class QAbstractButton;
class QComboBox;
class QLineEdit;
class QListWidget;
class QTreeWidget;
class QMenuBar;
class QAction;

// What a control or a menu reports.
enum class Notify {
    Clicked,      // button click
    SelChange,    // the user changed the selection of a list or combo
    DoubleClick,  // double click on a list item
    KillFocus,    // a list lost the keyboard focus
    Return,       // Return or Enter in a list (the key goes no further)
    Command,      // a menu command
};

// One row of a dialog's routing table: the notification `code` of any control id in
// [firstId, lastId] (or the command id) runs `handler` with that id. A guarded row does nothing
// while the dialog's data is not loaded.
struct Route {
    Notify code;
    int firstId;
    int lastId;
    std::function<void(int id)> handler;
    bool guarded = false;
};

class CDialog : public QDialog {
    Q_OBJECT
public:
    explicit CDialog(const DialogTemplate& dialogTemplate, QWidget* parent = nullptr,
                     const MenuTemplate* menu = nullptr);
    ~CDialog() override;

    // Creates the window's contents once: runs OnInitDialog. Modal dialogs are created by DoModal.
    bool Create();
    bool isCreated() const { return m_created; }
    int DoModal();
    // Runs OnDestroy once; the window is hidden. Owners call it for the windows they own.
    void DestroyWindow();

    // Controls by id.
    QWidget* control(int id) const;
    QLineEdit* edit(int id) const;
    QListWidget* list(int id) const;
    QTreeWidget* listView(int id) const;
    QComboBox* combo(int id) const;
    QAbstractButton* button(int id) const;
    QAction* menuCommand(int commandId) const;
    QWidget* clientArea() const { return m_client; }
    const DialogTemplate& dialogTemplate() const { return m_template; }
    // Every control the template made, with the template entry it was made from.
    struct BuiltControl {
        const ControlTemplate* entry;
        QWidget* widget;
    };
    const std::vector<BuiltControl>& builtControls() const { return m_built; }

    // Field exchange in one direction; false when a box was refused (the message was shown).
    bool UpdateData(bool save);

    // Routing.
    const std::vector<Route>& routes() const { return m_routes; }
    void dispatch(Notify code, int id);
    const Route* routeFor(Notify code, int id) const;
    virtual bool isDataLoaded() const { return true; }

    // Dialog units of this dialog's font, in pixels.
    QRect dialogRect(int x, int y, int width, int height) const;
    static QFont dialogFont(const char* face, int points);

    void accept() override;
    void reject() override;

protected:
    void setRoutes(std::vector<Route> routes);
    virtual void DoDataExchange(DataExchange&) {}
    virtual bool OnInitDialog();   // default: display direction of field exchange
    virtual void OnOK();           // default: save direction; closes when it succeeded
    virtual void OnCancel();       // default: closes
    virtual void OnDestroy() {}
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildMenu(const MenuTemplate& menu);
    QWidget* createControl(const ControlTemplate& control);
    void connectRoute(const Route& route);

    const DialogTemplate& m_template;
    QWidget* m_client = nullptr;
    QMenuBar* m_menuBar = nullptr;
    QHash<int, QWidget*> m_controls;
    std::vector<BuiltControl> m_built;
    QHash<int, QAction*> m_commands;
    std::vector<Route> m_routes;
    int m_baseX = 6;
    int m_baseY = 12;
    bool m_created = false;
    bool m_destroyed = false;
};
