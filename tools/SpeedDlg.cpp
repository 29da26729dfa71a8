#include "tools/SpeedDlg.h"

#include "data/UnitRecord.h"
#include "framework/Controls.h"
#include "res/Resources.h"
#include "tools/ToolIds.h"

#include <QListWidget>

CSpeedDlg::CSpeedDlg(QWidget* owner) : CToolWindow(res::kDialog131, owner, QString::fromLatin1(kPlacementPrefix), 0)
{
    setRoutes({
        {Notify::SelChange, tool::kSetList, tool::kSetList, [this](int) { OnSetSelChange(); }, false},
    });
}

bool CSpeedDlg::OnInitDialog()
{
    CToolWindow::OnInitDialog();
    FillSetList();
    return true;
}

void CSpeedDlg::DoDataExchange(DataExchange& dx)
{
    for (int i = 0; i < kTerrainCount; ++i)
        dx.intField(tool::kCostFirst + i, m_costs[i]);
}

void CSpeedDlg::FillSetList()
{
    QListWidget* sets = list(tool::kSetList);
    lb::reset(sets);
    for (int index = 0; index < kSetListCount; ++index)
        lb::insert(sets, index, QString::fromStdString(SetListText(index)), SetListData(index));
}

void CSpeedDlg::ShowSetCosts()
{
    const std::array<std::uint8_t, kTerrainCount> costs =
        m_moveCosts ? m_moveCosts->costs(currentSet) : std::array<std::uint8_t, kTerrainCount>{};
    for (int i = 0; i < kTerrainCount; ++i)
        m_costs[i] = costs[i];
    UpdateData(false);
}

void CSpeedDlg::ShowUnitSet(const UnitRecord& record)
{
    currentSet = record.moveSet();
    ShowSetCosts();
    lb::setCurSel(list(tool::kSetList), qMin(currentSet, MoveCostTable::kSetCount));
}

std::uint8_t CSpeedDlg::CollectUnitSet()
{
    UpdateData(true);
    return static_cast<std::uint8_t>(currentSet & 0xff);
}

void CSpeedDlg::OnSetSelChange()
{
    QListWidget* sets = list(tool::kSetList);
    const int selected = lb::curSel(sets);
    if (selected < 0)
        return;
    currentSet = lb::itemData(sets, selected);
    ShowSetCosts();
}
