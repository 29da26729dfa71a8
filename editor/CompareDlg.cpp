#include "editor/CompareDlg.h"

#include "data/ReferenceTables.h"
#include "data/UnitTable.h"
#include "framework/DataExchange.h"
#include "framework/UnitEditorHost.h"
#include "res/Resources.h"
#include "res/Strings.h"

#include <QAbstractButton>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QTreeWidget>

#include <algorithm>

namespace {

QString FourDigits(int unitNumber) { return QStringLiteral("%1").arg(unitNumber, 4, 10, QLatin1Char('0')); }

// A fixed combo's item text for a stored value, as the form's combos show it.
template <class Items>
QString ItemText(const Items& items, std::int64_t value)
{
    for (const ListItem& item : items)
        if (item.data == value)
            return QString::fromUtf8(item.text);
    return QString::number(value);
}

}  // namespace

CCompareDlg::CCompareDlg(UnitEditorHost& host, const WeaponTable& weapons, const KindTable& kinds, QWidget* owner)
    : CDialog(res::kDialog201, owner), m_host(host), m_weapons(weapons), m_kinds(kinds)
{
    setRoutes({
        Route{Notify::SelChange, kUnitsId, kUnitsId, [this](int) { OnUnitSelChange(); }},
        Route{Notify::DoubleClick, kUnitsId, kUnitsId, [this](int) { OnUnitDoubleClick(); }},
        Route{Notify::Clicked, kRevertId, kRevertId, [this](int) { OnRevert(); }},
    });
}

CCompareDlg::~CCompareDlg() = default;

bool CCompareDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    // The producing countries carry the names the producing-countries window shows.
    m_fields = MakeUnitFields(ReadProductionTypeNames(QFile::encodeName(m_host.gameFolder()).toStdString()));
    for (int id : {kUnitsId, kFieldsId}) {
        QTreeWidget* view = listView(id);
        view->header()->setStretchLastSection(true);
        view->header()->setSectionsMovable(false);
    }
    // The number column holds "0000:" and the cells' margins; the names share the rest.
    QTreeWidget* units = listView(kUnitsId);
    const int numberWidth = units->fontMetrics().horizontalAdvance(QStringLiteral("0000:"))
                            + 3 * units->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, units) + 12;
    units->setColumnWidth(0, numberWidth);
    const int scrollBar = units->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, units);
    units->setColumnWidth(1, (units->width() - 2 * units->frameWidth() - scrollBar - numberWidth) / 2);
    return true;
}

void CCompareDlg::CompareWith(const QString& title, const QString& source, std::unique_ptr<UnitTable> other)
{
    Create();
    m_other = std::move(other);
    setWindowTitle(title);
    qobject_cast<QLabel*>(control(kSourceId))->setText(QString::fromUtf8(str::kCompareSource).arg(source));
    listView(kUnitsId)->clear();
    Refresh();
    if (QTreeWidgetItem* first = listView(kUnitsId)->topLevelItem(0))
        listView(kUnitsId)->setCurrentItem(first);
    show();
    raise();
    activateWindow();
}

void CCompareDlg::Refresh()
{
    if (!m_other)
        return;
    const UnitTable& ours = m_host.unitTable();
    m_differing.clear();
    for (int u = 0; u < kUnitCount; ++u)
        if (ours.record(u).bytes != m_other->record(u).bytes)
            m_differing.push_back(u);
    fillUnits();
    fillFields();
}

void CCompareDlg::fillUnits()
{
    QTreeWidget* view = listView(kUnitsId);
    const std::vector<int> selected = selectedUnits();
    const QTreeWidgetItem* current = view->currentItem();
    const int currentUnit = current ? current->data(0, Qt::UserRole).toInt() : -1;

    const QSignalBlocker blocker(view);
    view->setUpdatesEnabled(false);
    view->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(qsizetype(m_differing.size()));
    QTreeWidgetItem* newCurrent = nullptr;
    for (int u : m_differing) {
        auto* item = new QTreeWidgetItem(QStringList{FourDigits(u) + u':', FromCp932(m_other->record(u).nameText()),
                                                     FromCp932(m_host.unitTable().record(u).nameText())});
        item->setData(0, Qt::UserRole, u);
        items << item;
        if (u == currentUnit)
            newCurrent = item;
    }
    view->addTopLevelItems(items);
    if (newCurrent)
        view->setCurrentItem(newCurrent, 0, QItemSelectionModel::NoUpdate);
    for (QTreeWidgetItem* item : items)
        if (std::binary_search(selected.begin(), selected.end(), item->data(0, Qt::UserRole).toInt()))
            item->setSelected(true);
    view->setUpdatesEnabled(true);

    qobject_cast<QLabel*>(control(kCountId))
        ->setText(m_differing.empty() ? QString::fromUtf8(str::kCompareNone)
                                      : QString::fromUtf8(str::kCompareCount).arg(m_differing.size()));
    button(kRevertId)->setEnabled(!m_differing.empty());
}

std::vector<int> CCompareDlg::selectedUnits() const
{
    std::vector<int> units;
    for (const QTreeWidgetItem* item : listView(kUnitsId)->selectedItems())
        units.push_back(item->data(0, Qt::UserRole).toInt());
    std::sort(units.begin(), units.end());
    return units;
}

QString CCompareDlg::shownValue(const UnitField& field, const UnitRecord& record) const
{
    if (field.show == FieldShow::Name)
        return QString::fromStdString(FieldText(field, record));
    const std::int64_t value = FieldValue(field, record);
    switch (field.show) {
    case FieldShow::Weapon:
        return FromCp932(WeaponListText(m_weapons, int(value)));
    case FieldShow::Choice:
        // 兵種, 部隊高度, 防御タイプ, 搭載 by their place in the record.
        if (field.offset == 24)
            return value < KindTable::kEntryCount ? FromCp932(KindListText(m_kinds, int(value))) : QString::number(value);
        if (field.offset == 25)
            return ItemText(kAltitudeItems, value);
        if (field.offset == 37)
            return ItemText(kDefenceTypeItems, value);
        if (field.offset == 47)
            return ItemText(kCarrierItems, value);
        return QString::number(value);
    default:
        return QString::number(value);
    }
}

void CCompareDlg::fillFields()
{
    QTreeWidget* view = listView(kFieldsId);
    view->clear();
    const QTreeWidgetItem* current = listView(kUnitsId)->currentItem();
    if (!current || !m_other)
        return;
    const int unit = current->data(0, Qt::UserRole).toInt();
    const UnitRecord& theirs = m_other->record(unit);
    const UnitRecord& ours = m_host.unitTable().record(unit);
    QList<QTreeWidgetItem*> items;
    for (const UnitField& field : m_fields) {
        const QString before = shownValue(field, theirs);
        const QString now = shownValue(field, ours);
        if (before != now)
            items << new QTreeWidgetItem(QStringList{QString::fromStdString(field.label), before, now});
    }
    view->addTopLevelItems(items);
    // A unit has few differing fields: the columns fit them.
    view->resizeColumnToContents(0);
    view->resizeColumnToContents(1);
}

void CCompareDlg::OnUnitSelChange() { fillFields(); }

void CCompareDlg::OnUnitDoubleClick()
{
    const QTreeWidgetItem* current = listView(kUnitsId)->currentItem();
    if (!current || !m_host.isDataLoaded())
        return;
    const int unit = current->data(0, Qt::UserRole).toInt();
    m_host.selectUnitInList(unit);
    m_host.ShowUnit(unit);
}

void CCompareDlg::OnRevert()
{
    if (!m_other || !m_host.isDataLoaded())
        return;
    const std::vector<int> units = selectedUnits();
    if (units.empty())
        return;
    UnitTable& table = m_host.unitTable();
    UnitChanges changes;
    for (int u : units) {
        changes.push_back({u, table.record(u), m_other->record(u)});
        table.record(u) = m_other->record(u);
        m_host.RefreshUnitListEntry(u);
    }
    m_host.selectUnitInList(units.back());
    m_host.ShowUnit(units.back());
    const QString step = units.size() == 1 ? QString::fromUtf8(str::kStepRevert).arg(FourDigits(units.front()))
                                           : QString::fromUtf8(str::kStepRevertCount).arg(units.size());
    m_host.recordUnitChanges(std::move(changes), step);
}
