#include "editor/CloneUnit.h"

#include "data/UnitTable.h"
#include "editor/CloneTargetDlg.h"
#include "framework/UnitEditorHost.h"
#include "framework/MessageService.h"
#include "res/Strings.h"

void CloneUnit(UnitEditorHost& host)
{
    const int source = host.currentUnit();
    if (source < 0 || source >= kUnitCount)
        return;  // nothing loaded, nothing selected
    // Takes the form's boxes back; typed values are not part of the copy (the stored record is).
    host.saveFormFields();

    int target = -1;
    {
        CCloneTargetDlg dialog(host.window());
        dialog.setUnitTable(&host.unitTable());
        dialog.targetPosition = source;
        dialog.sourcePosition = source;
        if (dialog.DoModal() != QDialog::Accepted)
            return;
        target = dialog.targetPosition;
    }
    if (target < 0 || target >= kUnitCount) {
        ShowMessage(QString::fromUtf8(str::kCloneBadTarget), MsgIcon::Stop);
        return;
    }
    if (target == source) {
        ShowMessage(QString::fromUtf8(str::kCloneSameUnit), MsgIcon::Stop);
        return;
    }
    if (ShowMessage(QString::fromUtf8(str::kCloneQuestion), MsgIcon::Question, MsgButtons::OkCancel) != MsgAnswer::Ok)
        return;

    // List positions and unit numbers are the same.
    UnitTable& units = host.unitTable();
    const UnitRecord before = units.record(target);
    units.record(target) = units.record(source);
    host.RefreshUnitListEntry(target);
    host.selectUnitInList(target);
    host.ShowUnit(target);
    host.recordUnitChanges({{target, before, units.record(target)}},
                           QString::fromUtf8(str::kStepClone).arg(target, 4, 10, QLatin1Char('0')));
}
