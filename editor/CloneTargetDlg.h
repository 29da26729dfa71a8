#pragma once
// CCloneTargetDlg: the modal list of all units from which the user picks the unit to copy onto.

#include "framework/Dialog.h"

class UnitTable;

class CCloneTargetDlg : public CDialog {
    Q_OBJECT
public:
    static constexpr int kTargetListId = 1000;

    explicit CCloneTargetDlg(QWidget* owner = nullptr);

    // The table whose unit names the list shows; given before the dialog runs.
    void setUnitTable(const UnitTable* units) { m_units = units; }

    // Position of the selected entry: set before the dialog runs, read after OK (-1: none selected).
    int targetPosition = -1;
    // Position of the source unit in the main unit list; kept for the caller.
    int sourcePosition = -1;

protected:
    bool OnInitDialog() override;

private:
    void FillTargetList();
    void OnTargetSelChange();

    const UnitTable* m_units = nullptr;
};
