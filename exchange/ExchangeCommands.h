#pragma once
// The commands of the unit exchange files, run by the main dialog. Each does nothing while the
// host's data is not loaded.

#include <filesystem>
#include <optional>

namespace corvane {
struct ReplaceError;
}
class UnitEditorHost;

// Writes the unit selected in the unit list to a .sui file the user names (command 32776).
void ExportUnit(UnitEditorHost& host);

// Reads a .sui file into the unit its head names, after asking, and shows that unit (command 32777).
void ImportUnit(UnitEditorHost& host);

// Reads every .sui file a command file lists, after showing them, and reports the counts (command 32778).
void BulkImportUnits(UnitEditorHost& host);

// Tells how an export through the one safe routine went: nothing when it went well; "書き出しに失敗しました"
// (with its cause when withCause, and always for the game's own tables as the target), or that the file
// was written but not all went well.
void ReportExport(const std::optional<corvane::ReplaceError>& error, const std::filesystem::path& file, bool withCause);
