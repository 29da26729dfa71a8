#include "exchange/UnitFileDialog.h"

#include "exchange/core/UnitFile.h"
#include "framework/DataExchange.h"
#include "framework/Dialog.h"
#include "framework/FilePath.h"
#include "res/Resources.h"
#include "res/Strings.h"

#include <QDir>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSplitter>
#include <QTreeView>

namespace {
constexpr int kStandardControlsId = 1119;
constexpr int kUnitNameId = 1001;
}  // namespace

CUnitFileDialog::CUnitFileDialog(const FileDialogRequest& request, QWidget* parent)
    : QFileDialog(parent), m_request(request)
{
    MessageService::prepareFileDialog(*this, request);

    m_panel = new CDialog(res::kDialog139, this);
    m_panel->Create();
    m_panel->installEventFilter(this);
    // The template keeps the rectangle 1119 for the file dialog's own controls. Here they stand above
    // the panel, so what lies below that rectangle moves up to the panel's top.
    QWidget* client = m_panel->clientArea();
    const int top = m_panel->control(kStandardControlsId)->geometry().bottom() + 1;
    for (QWidget* child : client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child != m_panel->control(kStandardControlsId))
            child->move(child->x(), child->y() - top);
    client->setFixedSize(client->width(), client->height() - top);
    if (auto* grid = qobject_cast<QGridLayout*>(layout()))
        grid->addWidget(m_panel, grid->rowCount(), 0, 1, grid->columnCount(), Qt::AlignLeft);
    else
        layout()->addWidget(m_panel);

    // Room for the places, and columns as wide as what they show once a folder is read.
    resize(sizeHint().expandedTo(QSize(800, 460)));
    if (auto* splitter = findChild<QSplitter*>(QStringLiteral("splitter")))
        splitter->setSizes({170, width() - 170});
    if (auto* model = findChild<QFileSystemModel*>()) {
        connect(model, &QFileSystemModel::directoryLoaded, this, [this] {
            if (auto* details = findChild<QTreeView*>(QStringLiteral("treeView")))
                for (int column = 1; column < details->header()->count(); ++column)
                    details->resizeColumnToContents(column);
        });
    }

    connect(this, &QFileDialog::currentChanged, this, &CUnitFileDialog::OnSelChange);
}

CUnitFileDialog::~CUnitFileDialog() = default;

bool CUnitFileDialog::eventFilter(QObject* watched, QEvent* event)
{
    // Escape and Enter in the panel are the file dialog's: they must not close the panel alone.
    if (watched == m_panel && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            keyPressEvent(key);
            return true;
        }
    }
    return QFileDialog::eventFilter(watched, event);
}

QLineEdit* CUnitFileDialog::unitNameBox() const
{
    return m_panel->edit(kUnitNameId);
}

std::optional<QString> CUnitFileDialog::DoModal()
{
    MessageService& service = MessageService::instance();
    if (service.testMode())
        return service.chooseFile(m_request);
    if (exec() != QDialog::Accepted || selectedFiles().isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(selectedFiles().constFirst());
}

QString CUnitFileDialog::PreviewText(const QString& path)
{
    if (path.isEmpty())
        return {};
    UnitFileHeader head;
    UnitRecord record;
    if (!ReadUnitFile(ToFsPath(path), head, record))
        return {};
    if (!IsUsableUnitFile(head))
        return QString::fromUtf8(str::kNotUnitFile);
    return FromCp932(record.nameText());
}

void CUnitFileDialog::OnSelChange(const QString& currentPath)
{
    // Without a file under the cursor the dialog stands for the name it proposed.
    QString path = currentPath;
    if (path.isEmpty() && !m_request.initialName.isEmpty())
        path = directory().filePath(m_request.initialName);
    unitNameBox()->setText(PreviewText(path));
}
