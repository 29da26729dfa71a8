#pragma once
// CSpeedDlg: the movement-cost tool window. Lists every movement set, shows the 21 terrain costs of
// the set under the cursor and holds the set the current unit receives when it is applied.

#include "data/ReferenceTables.h"
#include "tools/ToolWindow.h"

#include <array>
#include <cstdint>

struct UnitRecord;

class CSpeedDlg : public CToolWindow {
    Q_OBJECT
public:
    // Its corner is stored under this prefix.
    static constexpr char kPlacementPrefix[] = "SpeedDlg";

    explicit CSpeedDlg(QWidget* owner = nullptr);

    // The movement-cost table the window reads; given before Create().
    void setMoveCostTable(const MoveCostTable* moveCosts) { m_moveCosts = moveCosts; }

    // Shows the record's set: its costs, and the list entry of the set (the entry "255" for a set
    // without a table row). Not a selection change by the user.
    void ShowUnitSet(const UnitRecord& record);
    // Takes the boxes back (their outcome is not used) and yields the set to store: the one last
    // picked in the list, else the one last shown, cut to 8 bits.
    std::uint8_t CollectUnitSet();

    // The set the window shows; what the unit receives on apply.
    int currentSet = 0;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;

private:
    void FillSetList();
    void ShowSetCosts();
    void OnSetSelChange();

    const MoveCostTable* m_moveCosts = nullptr;
    std::array<int, kTerrainCount> m_costs{};
};
