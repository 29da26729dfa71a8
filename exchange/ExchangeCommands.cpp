#include "exchange/ExchangeCommands.h"

#include <cerrno>

#include "app/SettingsStore.h"
#include "data/DataFileSet.h"
#include "data/FileError.h"
#include "data/FileIo.h"
#include "data/GamePaths.h"
#include "data/UnitTable.h"
#include "exchange/BulkImportDlg.h"
#include "exchange/UnitFileDialog.h"
#include "exchange/core/CommandFile.h"
#include "exchange/core/UnitFile.h"
#include "framework/FilePath.h"
#include "framework/MessageService.h"
#include "framework/UnitEditorHost.h"
#include "res/Strings.h"

namespace {

// The folders of the last files chosen in each dialog.
const QString kSaveDir = QStringLiteral("UnitInfoSaveDir");
const QString kLoadDir = QStringLiteral("UnitInfoLoadDir");
const QString kBulkLoadDir = QStringLiteral("UnitInfoLoadDir2");

QString Text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

QString FourDigits(int unitNumber)
{
    return QStringLiteral("%1").arg(unitNumber, 4, 10, QLatin1Char('0'));
}

FileDialogRequest UnitFileRequest(bool save, const QString& title, const QString& folder, const QString& name)
{
    FileDialogRequest request;
    request.save = save;
    request.title = title;
    request.filter = Text(str::kUnitFileFilter);
    request.initialFolder = folder;
    request.initialName = name;
    request.confirmOverwrite = true;  // asks before replacing; an Open dialog never replaces
    return request;
}

// Copies a record into the table at its unit and rebuilds that unit's list entry; the change is
// added to `changes` for the undo step.
void PutUnit(UnitEditorHost& host, int unitNumber, const UnitRecord& record, UnitChanges& changes)
{
    UnitRecord& stored = host.unitTable().record(unitNumber);
    changes.push_back({unitNumber, stored, record});
    stored = record;
    host.RefreshUnitListEntry(unitNumber);
}

// Reads a file chosen in a file dialog. A name typed in another letter case than the file's finds
// the file the way a line of a command file does.
bool ReadChosenUnitFile(const std::filesystem::path& chosen, UnitFileHeader& head, UnitRecord& record)
{
    if (ReadUnitFile(chosen, head, record))
        return true;
    PathLookup lookup;
    const std::filesystem::path found = lookup.file(FolderTextOf(chosen), chosen.filename().string());
    return found != chosen && ReadUnitFile(found, head, record);
}

}  // namespace

void ExportUnit(UnitEditorHost& host)
{
    if (!host.isDataLoaded())
        return;
    const int unitNumber = host.currentUnit();
    if (unitNumber < 0 || unitNumber >= kUnitCount)
        return;
    const QString folder = ReadSettingText(kInitData, kSaveDir, QString());
    const QString name = Text(str::kExportName).arg(FourDigits(unitNumber));

    CUnitFileDialog dialog(UnitFileRequest(true, Text(str::kExportTitle), folder, name), host.window());
    const std::optional<QString> path = dialog.DoModal();
    if (!path)
        return;
    WriteSettingText(kInitData, kSaveDir, FolderPartOf(*path));

    const std::filesystem::path file = ToFsPath(*path);
    ReportExport(corvane::WriteExportFile(file, UnitFileBytes(unitNumber, host.unitTable().record(unitNumber)),
                                          GameTableFiles(ToPathText(host.gameFolder()))),
                 file, false);
}

void ReportExport(const std::optional<corvane::ReplaceError>& error, const std::filesystem::path& file, bool withCause)
{
    if (!error)
        return;
    const std::string shown = corvane::TextFromPath(file);
    if (error->replaced)  // written, but not all went well
        ShowMessage(QString::fromStdString(ReplaceErrorText(*error, shown)), MsgIcon::Exclamation);
    else if (withCause || (error->step == corvane::ReplaceError::Step::Refused && error->err == EEXIST))
        ShowMessage(Text(str::kExportFailed) + u'\n' + QString::fromStdString(ReplaceErrorText(*error, shown)));
    else
        ShowMessage(Text(str::kExportFailed));
}

void ImportUnit(UnitEditorHost& host)
{
    if (!host.isDataLoaded())
        return;
    const QString folder = ReadSettingText(kInitData, kLoadDir, QString());

    CUnitFileDialog dialog(UnitFileRequest(false, Text(str::kImportTitle), folder, QString()), host.window());
    const std::optional<QString> path = dialog.DoModal();
    if (!path)
        return;
    WriteSettingText(kInitData, kLoadDir, FolderPartOf(*path));

    UnitFileHeader head;
    UnitRecord record;
    if (!ReadChosenUnitFile(ToFsPath(*path), head, record)) {
        ShowMessage(Text(str::kImportFailed));
        return;
    }
    if (!IsUsableUnitFile(head)) {
        ShowMessage(Text(str::kImportUnusable));
        return;
    }
    // The file decides where the unit goes; the unit shown before plays no part.
    const int unitNumber = head.unitNumber;
    if (ShowMessage(Text(str::kImportQuestion).arg(FourDigits(unitNumber)), MsgIcon::Question, MsgButtons::OkCancel)
        != MsgAnswer::Ok)
        return;
    UnitChanges changes;
    PutUnit(host, unitNumber, record, changes);
    host.selectUnitInList(unitNumber);
    host.ShowUnit(unitNumber);
    host.recordUnitChanges(std::move(changes), Text(str::kStepImport).arg(FourDigits(unitNumber)));
}

void BulkImportUnits(UnitEditorHost& host)
{
    if (!host.isDataLoaded())
        return;
    CBulkImportDlg confirmation(host.window());
    FileDialogRequest request;
    request.title = Text(str::kBulkTitle);
    request.filter = Text(str::kCommandFileFilter);
    request.initialFolder = ReadSettingText(kInitData, kBulkLoadDir, QString());
    request.confirmOverwrite = true;
    const std::optional<QString> chosen = MessageService::instance().chooseFile(request);
    if (!chosen)
        return;
    WriteSettingText(kInitData, kBulkLoadDir, FolderPartOf(*chosen));

    // One lookup serves the whole command: the folder is resolved once and read at most once,
    // for the list and the import alike.
    const std::filesystem::path commandFile = ToFsPath(*chosen);
    const std::string folder = FolderTextOf(commandFile);
    PathLookup lookup;
    confirmation.setCommandFile(commandFile, folder, lookup);
    if (confirmation.DoModal() != QDialog::Accepted)
        return;

    const std::optional<std::vector<std::string>> lines = ReadCommandFile(commandFile);
    if (!lines) {
        ShowMessage(Text(str::kCommandFileOpenFailed));
        return;
    }
    int imported = 0;
    int failed = 0;
    int lastUnit = -1;
    UnitChanges changes;
    for (const std::string& line : *lines) {
        UnitFileHeader head;
        UnitRecord record;
        if (!ReadCommandLineFile(lookup, folder, line, head, record) || !IsUsableUnitFile(head)) {
            ++failed;
            continue;
        }
        PutUnit(host, head.unitNumber, record, changes);
        lastUnit = head.unitNumber;
        ++imported;
    }
    if (lastUnit >= 0) {
        host.selectUnitInList(lastUnit);
        host.ShowUnit(lastUnit);
    }
    // The whole run is one step; the report below comes after it.
    host.recordUnitChanges(std::move(changes), Text(str::kStepBulkImport).arg(imported));
    if (failed == 0)
        ShowMessage(Text(str::kBulkAllRead).arg(imported), MsgIcon::Information);
    else
        ShowMessage(Text(str::kBulkSomeFailed).arg(imported).arg(failed), MsgIcon::Exclamation);
}
