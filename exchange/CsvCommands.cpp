#include "exchange/CsvCommands.h"

#include <QFile>

#include <cerrno>

#include "app/SettingsStore.h"
#include "data/DataFileSet.h"
#include "data/FileError.h"
#include "data/FileIo.h"
#include "data/UnitFields.h"
#include "exchange/ExchangeCommands.h"
#include "exchange/core/UnitCsv.h"
#include "framework/FilePath.h"
#include "framework/MessageService.h"
#include "framework/UnitEditorHost.h"
#include "res/Strings.h"

namespace {

// The folders of the last CSV files written and read.
const QString kCsvSaveDir = QStringLiteral("CsvSaveDir");
const QString kCsvLoadDir = QStringLiteral("CsvLoadDir");
constexpr std::size_t kShownErrors = 20;

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }
QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }

// The column names: "生産可能国: " with the names of the game's production types. An existing prokind.dat
// that cannot be read is reported (after `failed`), rather than taken for a missing one.
std::optional<std::vector<UnitField>> Fields(UnitEditorHost& host, const char* failed)
{
    int err = 0;
    std::filesystem::path file;
    const auto names = ReadProductionTypeNames(ToPathText(host.gameFolder()), err, file);
    if (!names) {
        ShowMessage(Text(failed) + u'\n' + Text(FileErrorText(CauseFromErrno(err), corvane::TextFromPath(file))));
        return std::nullopt;
    }
    return MakeUnitFields(*names);
}

std::optional<QString> ChooseCsv(bool save, const char* title, const QString& settingName, const QString& name)
{
    FileDialogRequest request;
    request.save = save;
    request.title = Text(title);
    request.filter = Text(str::kCsvFilter);
    request.initialFolder = ReadSettingText(kInitData, settingName, QString());
    request.initialName = name;
    request.confirmOverwrite = true;
    const std::optional<QString> path = MessageService::instance().chooseFile(request);
    if (path)
        WriteSettingText(kInitData, settingName, FolderPartOf(*path));
    return path;
}

}  // namespace

void ExportUnitCsv(UnitEditorHost& host, const WeaponTable& weapons, const KindTable& kinds)
{
    if (!host.isDataLoaded())
        return;
    const std::optional<QString> path = ChooseCsv(true, str::kCsvExportTitle, kCsvSaveDir, Text(str::kCsvExportName));
    if (!path)
        return;
    const auto fields = Fields(host, str::kExportFailed);
    if (!fields)
        return;
    const std::string csv = WriteUnitCsv(host.unitTable(), weapons, kinds, *fields);
    const auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(csv.data()), csv.size());
    const std::filesystem::path file = ToFsPath(*path);
    ReportExport(corvane::WriteExportFile(file, bytes, GameTableFiles(ToPathText(host.gameFolder()))), file, true);
}

void ImportUnitCsv(UnitEditorHost& host)
{
    if (!host.isDataLoaded())
        return;
    const std::optional<QString> path = ChooseCsv(false, str::kCsvImportTitle, kCsvLoadDir, QString());
    if (!path)
        return;
    const std::filesystem::path file = ToFsPath(*path);
    const corvane::WholeFile read = corvane::ReadWholeFile(file, kLargestUnitCsv);
    if (read.err) {
        ShowMessage(Text(str::kImportFailed) + u'\n'
                    + Text(read.err == EFBIG ? CsvTooLargeText(file.string(), read.size)
                                             : FileErrorText(CauseFromErrno(read.err), file.string())));
        return;
    }
    const auto fields = Fields(host, str::kImportFailed);
    if (!fields)
        return;
    UnitTable& table = host.unitTable();
    const UnitCsvChanges changes = ReadUnitCsv(read.bytes, table, *fields);
    if (!changes.errors.empty()) {
        ShowMessage(Text(str::kCsvHasErrors).arg(changes.errors.size()) + QStringLiteral("\n\n")
                    + Text(CsvErrorReport(changes.errors, kShownErrors)));
        return;
    }
    const int shown = host.currentUnit();
    UnitChanges step;
    for (std::size_t i = 0; i < changes.units.size(); ++i) {
        const int unit = changes.units[i];
        if (table.record(unit).bytes == changes.records[i].bytes)
            continue;
        step.push_back({unit, table.record(unit), changes.records[i]});
        table.record(unit) = changes.records[i];
        host.RefreshUnitListEntry(unit);
    }
    // The whole file is one undo step, named by the units it changed.
    const int changed = static_cast<int>(step.size());
    host.recordUnitChanges(std::move(step), Text(str::kStepCsvImport).arg(changed));
    if (shown >= 0) {
        host.selectUnitInList(shown);
        host.ShowUnit(shown);
    }
    ShowMessage(Text(str::kBulkAllRead).arg(changes.units.size()), MsgIcon::Information);
}
