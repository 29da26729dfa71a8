#include "data/DataFileSet.h"

#include <algorithm>
#include <cerrno>
#include <memory>
#include <optional>
#include <span>
#include <system_error>
#include <vector>

#include "data/FileError.h"
#include "data/FileIo.h"
#include "data/GamePaths.h"

namespace fs = std::filesystem;

namespace {

constexpr char kLocatePrompt[] = "大戦略をインストールしたフォルダを選択し、\n「UNITINFO.DAT」を指定してください";
constexpr char kGiveUpWarning[] = "インストールフォルダを指定しない場合本ソフトフェアは使用出来ません";
constexpr char kLocateTitle[] = "大戦略インストールフォルダの選択";
constexpr char kLocateFilter[] = "ﾃﾞｰﾀﾌｧｲﾙ (*.dat)|*.dat|全てのﾌｧｲﾙ (*.*)|*.*||";
constexpr char kUnitInfoOpenFailed[] = "兵器データファイルをオープンできません";
constexpr char kUnitInfoSizeWrong[] = "兵器データファイルのサイズが正しくありません";
constexpr char kWeaponOpenFailed[] = "武器データファイルをオープンできません";
constexpr char kKindOpenFailed[] = "兵種データファイルをオープンできません";
constexpr char kMoveCostOpenFailed[] = "移動力データファイルをオープンできません";
constexpr char kSaveFailed[] = "保存に失敗しました";
constexpr int kSaveLockWaitMs = 5000;  // a save by another program takes a fraction of a second

bool CanOpenForReading(const fs::path& file)
{
    return corvane::ReadPrefix(file, {}).opened;
}

void ShowError(UserPrompts& prompts, const std::string& text)
{
    prompts.message(text, MsgIcon::Stop, MsgButtons::Ok);
}

void ShowFileError(UserPrompts& prompts, int err, const fs::path& file)
{
    ShowError(prompts, FileErrorText(CauseFromErrno(err), corvane::TextFromPath(file)));
}

// Reads the start of one data file into buffer; wholeImage demands that the file fills it.
bool ReadDataFile(const std::string& folderText, const char* name, const char* openFailed,
                  std::span<std::uint8_t> buffer, bool wholeImage, UserPrompts& prompts)
{
    const fs::path file = ResolveFile(folderText, name);
    const corvane::ReadResult read = corvane::ReadPrefix(file, buffer);
    if (!read.opened) {
        ShowError(prompts, openFailed);
        return false;
    }
    if (read.err != 0) {
        ShowFileError(prompts, read.err, file);
        return false;
    }
    if (wholeImage && read.count < buffer.size()) {
        ShowError(prompts, std::string(kUnitInfoSizeWrong) + "\n" + corvane::TextFromPath(file));
        return false;
    }
    return true;
}

template <class Table>
bool LoadTable(const std::string& folderText, const char* name, const char* openFailed, Table& table,
               UserPrompts& prompts)
{
    std::vector<std::uint8_t> buffer(Table::kImageSize);  // bytes the file lacks stay zero
    if (!ReadDataFile(folderText, name, openFailed, buffer, false, prompts))
        return false;
    std::copy(buffer.begin(), buffer.end(), table.image().begin());
    return true;
}

}  // namespace

bool LocateGameFolder(std::string& folderText, UserPrompts& prompts)
{
    fs::path probe = ResolveFile(folderText, kUnitInfoFileName);
    if (CanOpenForReading(probe))
        return true;
    while (true) {
        if (prompts.message(kLocatePrompt, MsgIcon::Exclamation, MsgButtons::OkCancel) == MsgAnswer::Ok) {
            OpenFileRequest request;
            request.title = kLocateTitle;
            request.filter = kLocateFilter;
            request.initialName = kUnitInfoFileName;
            request.confirmOverwrite = true;
            if (const auto chosen = prompts.chooseFile(request)) {
                probe = corvane::PathFromText(*chosen);
                folderText = FolderTextOf(probe);
            }
        } else if (prompts.message(kGiveUpWarning, MsgIcon::Stop, MsgButtons::OkCancel) == MsgAnswer::Ok) {
            folderText.clear();
            return false;
        }
        // The chosen file itself counts, whatever its name: the folder is what matters.
        if (CanOpenForReading(probe))
            return true;
    }
}

bool LoadGameImages(const std::string& folderText, GameImages& images, UserPrompts& prompts)
{
    const auto scratch = std::make_unique<UnitTable>();
    return LoadGameImages(folderText, images, prompts, *scratch);
}

bool LoadGameImages(const std::string& folderText, GameImages& images, UserPrompts& prompts, UnitTable& scratch)
{
    if (!ReadDataFile(folderText, kUnitInfoFileName, kUnitInfoOpenFailed, scratch.imageToFill(), true, prompts))
        return false;
    if (&scratch != &images.units)
        images.units = scratch;
    return LoadTable(folderText, kWeaponFileName, kWeaponOpenFailed, images.weapons, prompts)
        && LoadTable(folderText, kKindFileName, kKindOpenFailed, images.kinds, prompts)
        && LoadTable(folderText, kMoveCostFileName, kMoveCostOpenFailed, images.moveCosts, prompts);
}

std::optional<corvane::FolderLock> LockGameFolder(const std::string& folderText, int waitMs, UserPrompts& prompts)
{
    const fs::path folder = ResolveFolder(folderText);
    int err = 0;
    auto lock = corvane::FolderLock::take(folder, waitMs, err);
    if (lock)
        return lock;
    const std::string lockFile = corvane::TextFromPath(folder / corvane::FolderLock::kFileName);
    if (err == EWOULDBLOCK)  // another program is saving this folder and has not finished
        ShowError(prompts, FileErrorText(FileErrorCause::LockViolation, lockFile));
    else if (err == EACCES || err == EPERM || err == EROFS)  // no new file can be made in the folder
        ShowError(prompts, kSaveFailed);
    else
        ShowFileError(prompts, err, folder / corvane::FolderLock::kFileName);
    return std::nullopt;
}

std::vector<fs::path> GameTableFiles(const std::string& folderText)
{
    return {ResolveFile(folderText, kUnitInfoFileName), ResolveFile(folderText, kUnitBackupFileName)};
}

bool SaveUnitTable(const std::string& folderText, const UnitTable& table, UserPrompts& prompts)
{
    return SaveUnitTable(folderText, table, prompts, SaveRequest{}).saved;
}

SaveOutcome SaveUnitTable(const std::string& folderText, const UnitTable& table, UserPrompts& prompts,
                          const SaveRequest& request)
{
    SaveOutcome outcome;
    const std::optional<corvane::FolderLock> ownLock =
        request.heldLock ? std::nullopt : LockGameFolder(folderText, kSaveLockWaitMs, prompts);
    if (!request.heldLock && !ownLock)
        return outcome;
    const fs::path tablePath = ResolveFile(folderText, kUnitInfoFileName);
    const fs::path backup = ResolveFile(folderText, kUnitBackupFileName);

    // A link to UNITINFO.DAT stays a link: the file it names is the one replaced.
    int err = 0;
    const std::optional<fs::path> target = corvane::FollowLinks(tablePath, err);
    if (!target) {
        ShowFileError(prompts, err, tablePath);
        return outcome;
    }
    std::error_code ec;
    const auto type = fs::status(*target, ec).type();
    const bool tableExists = type != fs::file_type::not_found;
    // Something other than a file in UNITINFO.DAT's place cannot be replaced by the new file.
    if (tableExists && type != fs::file_type::regular) {
        ShowError(prompts, kSaveFailed);
        return outcome;
    }

    // Another program may have written UNITINFO.DAT since it was read: the caller asks before it is lost.
    if (!request.expected.empty() && tableExists) {
        std::vector<std::uint8_t> now(kUnitTableSize);
        const corvane::ReadResult read = corvane::ReadPrefix(*target, now);
        now.resize(read.opened && read.err == 0 ? read.count : 0);
        if (!std::equal(now.begin(), now.end(), request.expected.begin(), request.expected.end())) {
            outcome.changedOnDisk = true;
            outcome.found = std::move(now);
            return outcome;
        }
    }

    // A backup that exists but is no file to read is no backup: its name is taken. Nor is one that is
    // the table itself (a link to it): the first save would leave no copy of the original.
    const bool backupExists = fs::symlink_status(backup, ec).type() != fs::file_type::not_found;
    if (backupExists && (!corvane::IsReadableFile(backup) || corvane::IsSameFile(backup, *target))) {
        ShowFileError(prompts, EACCES, backup);
        return outcome;
    }
    if (!backupExists && !tableExists) {  // nothing to keep as the backup
        ShowFileError(prompts, ENOENT, tablePath);
        return outcome;
    }
    // A read-only table says it is not to be changed: no save replaces it, the first one included.
    if (tableExists && corvane::IsReadOnlyFile(*target)) {
        ShowFileError(prompts, EACCES, tablePath);
        return outcome;
    }

    auto error = corvane::ReplaceFileKeepingBackup(*target, backupExists ? fs::path() : backup, table.image());
    if (!error) {
        outcome.saved = true;
        return outcome;
    }
    const std::string shown = corvane::TextFromPath(tablePath);
    if (error->replaced) {
        outcome.saved = outcome.warned = true;
        prompts.message(ReplaceErrorText(*error, shown), MsgIcon::Exclamation, MsgButtons::Ok);
        return outcome;
    }
    if (error->path == *target)
        error->path = tablePath;
    std::string text = error->step == corvane::ReplaceError::Step::Create ? std::string(kSaveFailed)
                                                                           : ReplaceErrorText(*error, shown);
    if (error->backupLeft)
        text += "\n" + corvane::TextFromPath(backup) + " は残してあります。";
    ShowError(prompts, text);
    return outcome;
}
