#pragma once
// CPackDlg (template 202): before the changed units are written as a pack, the units in which the
// table differs from the base, each with a check box (all checked at first), and, when the compare
// window holds another table, the choice between it and the backup as the base.

#include "framework/Dialog.h"

#include <QString>

#include <vector>

class UnitTable;

// A table the current one can be compared with: its name on the radio button and its records.
struct PackBase {
    QString label;
    const UnitTable* table;
};

class CPackDlg : public CDialog {
    Q_OBJECT
public:
    static constexpr int kBackupId = 1001;
    static constexpr int kComparedId = 1002;
    static constexpr int kCountId = 1003;
    static constexpr int kUnitsId = 1004;

    // bases: one or two (the backup first); `initial` is the one chosen at first.
    CPackDlg(const UnitTable& table, std::vector<PackBase> bases, int initial, QWidget* parent);

    // After OK: the base chosen and the checked units, in unit order.
    int chosenBase() const { return m_base; }
    std::vector<int> checkedUnits() const;

protected:
    bool OnInitDialog() override;
    void showEvent(QShowEvent* event) override;

private:
    void fillUnits();
    void updateCount();

    const UnitTable& m_table;
    std::vector<PackBase> m_bases;
    int m_base;
};
