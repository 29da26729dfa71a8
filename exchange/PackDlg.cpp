#include "exchange/PackDlg.h"

#include "data/UnitTable.h"
#include "exchange/core/UnitPack.h"
#include "framework/DataExchange.h"
#include "res/Resources.h"
#include "res/Strings.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QTreeWidget>

CPackDlg::CPackDlg(const UnitTable& table, std::vector<PackBase> bases, int initial, QWidget* parent)
    : CDialog(res::kDialog202, parent), m_table(table), m_bases(std::move(bases)), m_base(initial)
{
}

bool CPackDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    // With one base there is nothing to choose: its button shows which it is.
    for (int i = 0; i < 2; ++i) {
        QAbstractButton* radio = button(kBackupId + i);
        const bool offered = i < int(m_bases.size());
        radio->setVisible(offered);
        if (offered)
            radio->setText(m_bases[std::size_t(i)].label);
    }
    button(kBackupId + m_base)->setChecked(true);
    // However a button comes to be checked (click, mnemonic, arrow keys), its table becomes the base.
    for (int i = 0; i < int(m_bases.size()); ++i)
        connect(button(kBackupId + i), &QAbstractButton::toggled, this, [this, i](bool on) {
            if (on && i != m_base) {
                m_base = i;
                fillUnits();
            }
        });
    QTreeWidget* units = listView(kUnitsId);
    units->header()->setStretchLastSection(true);
    units->header()->setSectionsMovable(false);
    const int numberWidth = units->fontMetrics().horizontalAdvance(QStringLiteral("0000:"))
                            + 3 * units->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, units)
                            + units->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, units) + 16;
    units->setColumnWidth(0, numberWidth);
    const int scrollBar = units->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, units);
    units->setColumnWidth(1, (units->width() - 2 * units->frameWidth() - scrollBar - numberWidth) / 2);
    connect(units, &QTreeWidget::itemChanged, this, &CPackDlg::updateCount);
    fillUnits();
    return true;
}

void CPackDlg::showEvent(QShowEvent* event)
{
    CDialog::showEvent(event);
    // The list has the keyboard: arrows move, Space checks, Return writes.
    listView(kUnitsId)->setFocus();
}

void CPackDlg::fillUnits()
{
    QTreeWidget* view = listView(kUnitsId);
    const QSignalBlocker blocker(view);
    view->clear();
    const UnitTable& base = *m_bases[std::size_t(m_base)].table;
    QList<QTreeWidgetItem*> items;
    for (int u : DifferingUnits(base, m_table)) {
        auto* item = new QTreeWidgetItem(QStringList{QStringLiteral("%1:").arg(u, 4, 10, QLatin1Char('0')),
                                                     FromCp932(base.record(u).nameText()),
                                                     FromCp932(m_table.record(u).nameText())});
        item->setData(0, Qt::UserRole, u);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Checked);
        items << item;
    }
    view->addTopLevelItems(items);
    if (!items.isEmpty())
        view->setCurrentItem(items.front());
    updateCount();
}

void CPackDlg::updateCount()
{
    const QTreeWidget* view = listView(kUnitsId);
    const auto checked = checkedUnits().size();
    auto* count = qobject_cast<QLabel*>(control(kCountId));
    count->setText(view->topLevelItemCount() == 0 ? QString::fromUtf8(str::kPackNone)
                                                  : QString::fromUtf8(str::kPackCount).arg(view->topLevelItemCount()).arg(checked));
    button(1)->setEnabled(checked > 0);
}

std::vector<int> CPackDlg::checkedUnits() const
{
    std::vector<int> units;
    const QTreeWidget* view = listView(kUnitsId);
    for (int i = 0; i < view->topLevelItemCount(); ++i)
        if (view->topLevelItem(i)->checkState(0) == Qt::Checked)
            units.push_back(view->topLevelItem(i)->data(0, Qt::UserRole).toInt());
    return units;
}
