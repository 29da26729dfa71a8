#include "editor/CheckDlg.h"

#include "data/UnitTable.h"
#include "framework/DataExchange.h"
#include "framework/FilePath.h"
#include "framework/UnitEditorHost.h"
#include "res/Resources.h"
#include "res/Strings.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTreeWidget>


CCheckDlg::CCheckDlg(UnitEditorHost& host, QWidget* owner) : CDialog(res::kDialog203, owner), m_host(host)
{
    setRoutes({
        Route{Notify::DoubleClick, kRowsId, kRowsId, [this](int) { showCurrentUnit(); }},
    });
}

CCheckDlg::~CCheckDlg() = default;

bool CCheckDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    QTreeWidget* rows = listView(kRowsId);
    rows->header()->setStretchLastSection(true);
    rows->header()->setSectionsMovable(false);
    // Return on a row shows its unit; it does not close the window.
    rows->installEventFilter(this);
    m_placement.created(this);
    return true;
}

bool CCheckDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == listView(kRowsId) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            showCurrentUnit();
            return true;
        }
    }
    return CDialog::eventFilter(watched, event);
}

void CCheckDlg::Open()
{
    Create();
    // Picture files may have come or gone since the last look.
    m_fields = MakeUnitFields(ReadProductionTypeNames(ToPathText(m_host.gameFolder())));
    m_pictures = std::make_unique<UnitPictureFiles>(ToPathText(m_host.gameFolder()));
    Refresh();
    show();
    raise();
    activateWindow();
    listView(kRowsId)->setFocus();
}

void CCheckDlg::OnDestroy() { m_placement.destroyed(this); }

void CCheckDlg::showEvent(QShowEvent* event)
{
    m_placement.shown(this);
    CDialog::showEvent(event);
}

void CCheckDlg::Refresh()
{
    if (!isCreated() || !m_pictures || !m_host.isDataLoaded())
        return;
    m_problems = CheckUnitTable(m_host.unitTable(), m_fields, *m_pictures);

    QTreeWidget* view = listView(kRowsId);
    const QTreeWidgetItem* current = view->currentItem();
    const int currentUnit = current ? current->data(0, Qt::UserRole).toInt() : -1;
    const int currentRow = current ? view->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(current)) : 0;
    const QSignalBlocker blocker(view);
    view->setUpdatesEnabled(false);
    view->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(qsizetype(m_problems.size()));
    QTreeWidgetItem* newCurrent = nullptr;
    for (const TableProblem& problem : m_problems) {
        auto* item = new QTreeWidgetItem(QStringList{
            QStringLiteral("%1").arg(problem.unit, 4, 10, QLatin1Char('0')),
            FromCp932(m_host.unitTable().record(problem.unit).nameText()), QString::fromStdString(problem.label),
            QString::fromStdString(problem.value), QString::fromStdString(problem.reason)});
        item->setData(0, Qt::UserRole, problem.unit);
        if (!newCurrent && problem.unit >= currentUnit)
            newCurrent = item;
        items << item;
    }
    view->addTopLevelItems(items);
    // The row that was current stays so, or the next one after a fixed unit's rows went.
    if (!newCurrent && !items.isEmpty())
        newCurrent = items.value(std::min<qsizetype>(currentRow, items.size() - 1));
    if (newCurrent)
        view->setCurrentItem(newCurrent);
    for (int column = 0; column < 4; ++column)
        view->resizeColumnToContents(column);
    view->setUpdatesEnabled(true);
    qobject_cast<QLabel*>(control(kCountId))
        ->setText(m_problems.empty() ? QString::fromUtf8(str::kCheckNone)
                                     : QString::fromUtf8(str::kCheckCount).arg(m_problems.size()));
}

void CCheckDlg::showCurrentUnit()
{
    const QTreeWidgetItem* current = listView(kRowsId)->currentItem();
    if (!current || !m_host.isDataLoaded())
        return;
    const int unit = current->data(0, Qt::UserRole).toInt();
    m_host.selectUnitInList(unit);
    m_host.ShowUnit(unit);
}
