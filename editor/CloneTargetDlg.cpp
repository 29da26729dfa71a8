#include "editor/CloneTargetDlg.h"

#include "data/UnitTable.h"
#include "framework/Controls.h"
#include "res/Resources.h"
#include "framework/FitToContents.h"

#include <QListWidget>

CCloneTargetDlg::CCloneTargetDlg(QWidget* owner) : CDialog(res::kDialog132, owner)
{
    setRoutes({
        {Notify::SelChange, kTargetListId, kTargetListId, [this](int) { OnTargetSelChange(); }, false},
    });
}

bool CCloneTargetDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    FillTargetList();
    FitToContents(*this, {});
    lb::setCurSel(list(kTargetListId), targetPosition);
    return true;
}

void CCloneTargetDlg::FillTargetList()
{
    QListWidget* targets = list(kTargetListId);
    lb::reset(targets);
    if (!m_units)
        return;
    for (int u = 0; u < kUnitCount; ++u)
        lb::insert(targets, u, FromCp932(UnitListText(u, m_units->record(u))), u);
}

void CCloneTargetDlg::OnTargetSelChange() { targetPosition = lb::curSel(list(kTargetListId)); }
