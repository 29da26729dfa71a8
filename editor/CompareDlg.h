#pragma once
// CCompareDlg: the modeless window that compares the unit table with another one (the backup
// UNITINFO.ORG, or any file of a unit table), template 201. It lists every unit whose 138 bytes
// differ, as "%04d:" with the name in both tables, and for the selected unit every differing field
// by the label the form or the tool windows give it, with both values as the form shows them.
// Double-clicking a unit shows it in the main dialog; "元に戻す" copies the other table's records
// of the selected units into ours as one undo step. The lists follow every change of the table.

#include "data/UnitFields.h"
#include "framework/Dialog.h"

#include <memory>
#include <vector>

class KindTable;
class UnitEditorHost;
class UnitTable;
class WeaponTable;

class CCompareDlg : public CDialog {
    Q_OBJECT
public:
    static constexpr int kSourceId = 1001;
    static constexpr int kCountId = 1002;
    static constexpr int kUnitsId = 1003;
    static constexpr int kFieldsId = 1004;
    static constexpr int kRevertId = 1005;

    CCompareDlg(UnitEditorHost& host, const WeaponTable& weapons, const KindTable& kinds, QWidget* owner);
    ~CCompareDlg() override;

    // Compares with `other`, read from `source` (a path as the user knows it), and shows the window.
    void CompareWith(const QString& title, const QString& source, std::unique_ptr<UnitTable> other);
    // Lists the differences again; run after every change of the table.
    void Refresh();

    // The units that differ, in unit order.
    const std::vector<int>& differingUnits() const { return m_differing; }
    // The table compared with, once there is one.
    const UnitTable* otherTable() const { return m_other.get(); }

protected:
    bool OnInitDialog() override;

private:
    void OnUnitSelChange();
    void OnUnitDoubleClick();
    void OnRevert();
    void fillUnits();
    void fillFields();
    std::vector<int> selectedUnits() const;
    QString shownValue(const UnitField& field, const UnitRecord& record) const;

    UnitEditorHost& m_host;
    const WeaponTable& m_weapons;
    const KindTable& m_kinds;
    std::unique_ptr<UnitTable> m_other;
    std::vector<UnitField> m_fields;
    std::vector<int> m_differing;
};
