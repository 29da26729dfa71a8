#include "tools/ProductDlg.h"

#include "data/FileIo.h"
#include "data/GamePaths.h"
#include "data/UnitRecord.h"
#include "framework/FilePath.h"
#include "framework/MessageService.h"
#include "res/Resources.h"
#include "res/Strings.h"
#include "tools/ToolIds.h"

#include <QAbstractButton>

#include <cstring>
#include <string>

CProductDlg::CProductDlg(QWidget* owner) : CToolWindow(res::kDialog130, owner, QString::fromLatin1(kPlacementPrefix), 1) {}

void CProductDlg::DoDataExchange(DataExchange& dx)
{
    for (int k = 0; k < kTypeCount; ++k)
        dx.checkField(tool::ProductBox(k), m_checks[k]);
}

std::optional<CProductDlg::TypeFile> CProductDlg::ReadProductionTypes(const QString& folderText)
{
    TypeFile file;
    const corvane::ReadResult read = corvane::ReadPrefix(ResolveFile(ToPathText(folderText), "prokind.dat"), file.bytes);
    if (!read.opened || read.err != 0) {  // missing, or there but not readable: the same message
        ShowMessage(QString::fromUtf8(str::kProkindOpenFailed), MsgIcon::Stop);
        return std::nullopt;
    }
    file.count = read.count;
    return file;
}

void CProductDlg::SetProductionTypes(const TypeFile& file)
{
    for (int k = 0; k < kTypeCount; ++k) {
        const std::size_t offset = kFileHeadSize + kEntrySize * k + kNameOffset;
        if (offset + kNameSize > file.count)
            continue;  // not in the file: the box keeps the template's caption
        const char* name = reinterpret_cast<const char*>(file.bytes.data() + offset);
        const std::size_t length = strnlen(name, kNameSize);
        if (QAbstractButton* box = button(tool::ProductBox(k))) {
            // The name is shown as it is: no mnemonic characters.
            QString caption = FromCp932(std::string_view(name, length));
            box->setText(caption.replace(u'&', QStringLiteral("&&")));
        }
    }
    fitToContents();
}

void CProductDlg::ShowUnitMask(const UnitRecord& record)
{
    const std::uint32_t mask = record.productionFlags();
    for (int k = 0; k < kTypeCount; ++k)
        m_checks[k] = (mask >> k) & 1u;
    UpdateData(false);
}

std::uint32_t CProductDlg::CollectUnitMask()
{
    UpdateData(true);
    std::uint32_t mask = 0;
    for (int k = 0; k < kTypeCount; ++k)
        if (m_checks[k] != 0)
            mask |= 1u << k;
    return mask;
}
