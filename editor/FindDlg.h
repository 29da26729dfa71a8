#pragma once
// CFindDlg: the modeless window that finds a unit by name, number or weapon name (template 200).
// "次を検索" and "前を検索" go from the unit on show to the next or previous match, round the table,
// and select and show it as a click in the unit list does; the outcome is told in the window, which
// shows itself for it (without taking the focus) when F3 searched with the window closed. The
// window sits beside the main dialog and remembers where the user puts it.

#include "app/Placement.h"
#include "editor/UnitSearch.h"
#include "framework/Dialog.h"

class UnitEditorHost;
class WeaponTable;

class CFindDlg : public CDialog {
    Q_OBJECT
public:
    static constexpr int kTextId = 1001;
    static constexpr int kByNameId = 1002;
    static constexpr int kByNumberId = 1003;
    static constexpr int kByWeaponId = 1004;
    static constexpr int kNextId = 1005;
    static constexpr int kPreviousId = 1006;
    static constexpr int kOutcomeId = 1007;

    CFindDlg(UnitEditorHost& host, const WeaponTable& weapons, QWidget* owner);

    // Shows the window (created the first time) with its text selected, ready for typing.
    void Open();
    // Goes to the next or previous match; without a text to find the window opens instead.
    void FindNext(bool forward);
    QString outcome() const;

protected:
    bool OnInitDialog() override;
    void OnOK() override;   // Enter: the next match
    void OnDestroy() override;
    void showEvent(QShowEvent* event) override;

private:
    FindTarget target() const;
    // The outcome line; `text` fills %1 of `message`, shortened to fit the line.
    void setOutcome(const QString& message = QString(), const QString& text = QString());

    UnitEditorHost& m_host;
    const WeaponTable& m_weapons;
    SideWindowPlacement m_placement{QStringLiteral("FindDlg")};
};
