#include "exchange/PackCommand.h"

#include "app/SettingsStore.h"
#include "data/DataFileSet.h"
#include "data/FileError.h"
#include "data/FileIo.h"
#include "data/UnitTable.h"
#include "exchange/core/UnitPack.h"
#include "framework/FilePath.h"
#include "framework/MessageService.h"
#include "framework/UnitEditorHost.h"
#include "res/Strings.h"

#include <QDir>

namespace {

const QString kPackDir = QStringLiteral("UnitPackSaveDir");
constexpr int kClashesShown = 10;

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

}  // namespace

void PackChangedUnits(UnitEditorHost& host, std::vector<PackBase> bases, int initial)
{
    if (!host.isDataLoaded() || bases.empty())
        return;
    const UnitTable& table = host.unitTable();
    // Nothing to choose and nothing different: said as the compare window says it.
    if (bases.size() == 1 && DifferingUnits(*bases.front().table, table).empty()) {
        ShowMessage(Text(str::kPackNone), MsgIcon::Information);
        return;
    }
    CPackDlg confirmation(table, std::move(bases), initial, host.window());
    if (confirmation.DoModal() != QDialog::Accepted)
        return;
    const std::vector<int> units = confirmation.checkedUnits();
    if (units.empty())
        return;

    FileDialogRequest request;
    request.save = true;
    request.title = Text(str::kPackTitle);
    request.filter = Text(str::kCommandFileFilter);
    request.initialFolder = ReadSettingText(kInitData, kPackDir, QString());
    request.initialName = QString::fromLatin1(kPackCommandFileName);
    const std::optional<QString> chosen = MessageService::instance().chooseFile(request);
    if (!chosen)
        return;
    WriteSettingText(kInitData, kPackDir, FolderPartOf(*chosen));

    // Messages name the files as Windows users write them.
    const std::filesystem::path commandFile = ToFsPath(QDir::toNativeSeparators(*chosen));
    const std::filesystem::path folder = commandFile.parent_path();
    const std::vector<std::string> clashes = PackClashes(folder, units, commandFile.filename());
    if (!clashes.empty()) {
        QStringList names;
        for (std::size_t i = 0; i < clashes.size() && i < std::size_t(kClashesShown); ++i)
            names << QString::fromStdString(clashes[i]);
        if (clashes.size() > std::size_t(kClashesShown))
            names << Text(str::kPackClashMore).arg(clashes.size() - std::size_t(kClashesShown));
        if (ShowMessage(Text(str::kPackClashQuestion).arg(names.join(u'\n')), MsgIcon::Question, MsgButtons::OkCancel)
            != MsgAnswer::Ok)
            return;
    }
    if (const auto failure = WritePack(folder, table, units, commandFile.filename(),
                                       GameTableFiles(ToPathText(host.gameFolder())))) {
        const std::string why = ReplaceErrorText(*failure, corvane::TextFromPath(failure->path));
        ShowMessage(Text(str::kPackFailed).arg(QString::fromStdString(why)));
        return;
    }
    ShowMessage(Text(str::kPackDone).arg(units.size()).arg(*chosen), MsgIcon::Information);
}
