#pragma once
// CCompareDlg: the modeless window that compares the unit table with another one (the backup
// UNITINFO.ORG, or any file of a unit table), template 201. It lists every unit whose 138 bytes
// differ, as "%04d:" with the name in both tables, and for the selected unit every differing field
// by the label the form or the tool windows give it, with both values as the form shows them.
// Double-clicking a unit, or Return on it, shows it in the main dialog; "元に戻す" (a click, Space on
// it or its mnemonic, never Return elsewhere) copies the other table's records of the selected
// units into ours as one undo step. The lists follow every change of the table, and of the file
// compared with. The window sits beside the main dialog and remembers where the user puts it.

#include "app/Placement.h"
#include "data/UnitFields.h"
#include "framework/Dialog.h"

#include <QFileSystemWatcher>
#include <QTimer>

#include <filesystem>
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
    static constexpr int kCloseId = 2;

    CCompareDlg(UnitEditorHost& host, const WeaponTable& weapons, const KindTable& kinds, QWidget* owner);
    ~CCompareDlg() override;

    // Reads a unit table of 276,016 bytes or more; nothing when the file cannot be read (`size` is
    // then -1) or is shorter (`size` tells its size).
    static std::unique_ptr<UnitTable> ReadTable(const std::filesystem::path& file, long long* size = nullptr);

    // Compares with `other`, read from `file` (`source` is its path as the user knows it), and shows
    // the window. When the file changes on disk it is read again.
    void CompareWith(const QString& title, const QString& source, const std::filesystem::path& file,
                     std::unique_ptr<UnitTable> other);
    // Lists the differences again; run after every change of the table.
    void Refresh();

    // The units that differ, in unit order.
    const std::vector<int>& differingUnits() const { return m_differing; }
    // The table compared with, once there is one.
    const UnitTable* otherTable() const { return m_other.get(); }

protected:
    bool OnInitDialog() override;
    void OnDestroy() override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Reads the compared file again; the lists follow when it changed.
    void rereadFile();
    void watchFile();
    void OnUnitSelChange();
    void OnUnitDoubleClick();
    void OnRevert();
    // Widens the lists, and the window with them, so that the names of the listed units (`nameWidth`
    // pixels at the most) and every field's label and values show whole. Never narrows.
    void fitColumns(int nameWidth);
    void fillUnits();
    void fillFields();
    std::vector<int> selectedUnits() const;
    QString shownValue(const UnitField& field, const UnitRecord& record) const;

    UnitEditorHost& m_host;
    const WeaponTable& m_weapons;
    const KindTable& m_kinds;
    std::unique_ptr<UnitTable> m_other;
    std::filesystem::path m_file;
    QFileSystemWatcher m_watcher;
    QTimer m_rereadTimer;   // a file replaced by rename is reported more than once
    SideWindowPlacement m_placement{QStringLiteral("CompareDlg")};
    std::vector<UnitField> m_fields;
    std::vector<int> m_differing;
    int m_cellMargin = 0;    // pixels a cell adds to its text
    int m_numberWidth = 0;   // column widths in pixels
    int m_nameWidth = 0;
    int m_labelWidth = 0;
    int m_valueWidth = 0;    // of any value but a name
};
