#include "exchange/BulkImportDlg.h"

#include "data/GamePaths.h"
#include "exchange/core/CommandFile.h"
#include "exchange/core/UnitFile.h"
#include "framework/Controls.h"
#include "framework/DataExchange.h"
#include "framework/MessageService.h"
#include "res/Resources.h"
#include "res/Strings.h"

#include <QListWidget>

namespace {
constexpr int kListId = 1000;
}  // namespace

CBulkImportDlg::CBulkImportDlg(QWidget* parent) : CDialog(res::kDialog138, parent) {}

void CBulkImportDlg::setCommandFile(const std::filesystem::path& commandFile, const std::string& folderText,
                                    PathLookup& lookup)
{
    m_commandFile = commandFile;
    m_folderText = folderText;
    m_lookup = &lookup;
}

bool CBulkImportDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    QListWidget* units = list(kListId);
    const std::optional<std::vector<std::string>> lines = m_lookup ? ReadCommandFile(m_commandFile) : std::nullopt;
    if (!lines) {
        ShowMessage(QString::fromUtf8(str::kCommandFileOpenFailed));
        return true;
    }
    lb::reset(units);
    int n = 0;
    for (const std::string& line : *lines) {
        // Every file that can be read is listed; whether its head is usable shows in the import.
        UnitFileHeader head;
        UnitRecord record;
        if (!ReadCommandLineFile(*m_lookup, m_folderText, line, head, record))
            continue;
        lb::insert(units, n, FromCp932(UnitListText(head.unitNumber, record)), head.unitNumber);
        ++n;
    }
    return true;
}
