#pragma once
// CCheckDlg: the modeless window of the table check (template 203). One row for every value of the
// unit table that the game cannot use: the unit's number and name, the field by its form label, the
// value and why. Return or a double click on a row shows that unit in the main dialog. The rows
// follow every change of the table; the pictures are looked at afresh each time the window is opened.

#include "app/Placement.h"
#include "framework/Dialog.h"

#include <memory>
#include <vector>

#include "data/TableCheck.h"

class UnitEditorHost;

class CCheckDlg : public CDialog {
    Q_OBJECT
public:
    static constexpr int kCountId = 1001;
    static constexpr int kRowsId = 1002;

    CCheckDlg(UnitEditorHost& host, QWidget* owner);
    ~CCheckDlg() override;

    // Checks the table and shows the window beside the main dialog (created the first time).
    void Open();
    // Checks the table again; run after every change of it while the window is open.
    void Refresh();

    const std::vector<TableProblem>& problems() const { return m_problems; }

protected:
    bool OnInitDialog() override;
    void OnDestroy() override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showCurrentUnit();

    UnitEditorHost& m_host;
    std::vector<UnitField> m_fields;
    std::unique_ptr<UnitPictureFiles> m_pictures;
    std::vector<TableProblem> m_problems;
    SideWindowPlacement m_placement{QStringLiteral("CheckDlg")};
};
