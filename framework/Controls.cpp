#include "framework/Controls.h"

#include <QComboBox>
#include <QListWidget>
#include <QSignalBlocker>

namespace lb {

void reset(QListWidget* list)
{
    const QSignalBlocker blocker(list);
    list->clear();
}

void insert(QListWidget* list, int position, const QString& text, int data)
{
    const QSignalBlocker blocker(list);
    auto* item = new QListWidgetItem(text);
    item->setData(Qt::UserRole, data);
    list->insertItem(position, item);
}

void append(QListWidget* list, const QStringList& texts, std::span<const int> data)
{
    Q_ASSERT(texts.size() == qsizetype(data.size()));
    const QSignalBlocker blocker(list);
    const int first = list->count();
    list->addItems(texts);
    // The view is told of the new rows once, above; it reads their data when it lays them out and
    // draws them, later, so each entry's data goes in without a change notice of its own.
    const QSignalBlocker quietModel(list->model());
    for (int i = 0; i < int(data.size()); ++i)
        list->item(first + i)->setData(Qt::UserRole, data[i]);
}

void remove(QListWidget* list, int position)
{
    Q_ASSERT(position >= 0 && position < list->count());
    const QSignalBlocker blocker(list);
    delete list->takeItem(position);
}

int count(const QListWidget* list) { return list->count(); }

int curSel(const QListWidget* list)
{
    const QListWidgetItem* item = list->currentItem();
    return item && item->isSelected() ? list->row(item) : -1;
}

void setCurSel(QListWidget* list, int position)
{
    const QSignalBlocker blocker(list);
    if (position < 0 || position >= list->count()) {
        list->clearSelection();
        list->setCurrentRow(-1);
        return;
    }
    list->setCurrentRow(position, QItemSelectionModel::ClearAndSelect);
    list->scrollToItem(list->item(position));
}

int itemData(const QListWidget* list, int position)
{
    Q_ASSERT(position >= 0 && position < list->count());
    return list->item(position)->data(Qt::UserRole).toInt();
}

QString text(const QListWidget* list, int position)
{
    Q_ASSERT(position >= 0 && position < list->count());
    return list->item(position)->text();
}

}  // namespace lb

namespace cb {

void reset(QComboBox* combo)
{
    const QSignalBlocker blocker(combo);
    combo->clear();
}

void insert(QComboBox* combo, int position, const QString& text, int data)
{
    const QSignalBlocker blocker(combo);
    combo->insertItem(position, text, data);
    // A combo gets a selection only when the program or the user picks one.
    if (combo->count() == 1)
        combo->setCurrentIndex(-1);
}

int curSel(const QComboBox* combo) { return combo->currentIndex(); }

void setCurSel(QComboBox* combo, int position)
{
    const QSignalBlocker blocker(combo);
    combo->setCurrentIndex(position >= 0 && position < combo->count() ? position : -1);
}

int itemData(const QComboBox* combo, int position)
{
    // -1 is the position of no selection; any other position must hold an item.
    Q_ASSERT(position >= -1 && position < combo->count());
    return position >= 0 ? combo->itemData(position).toInt() : -1;
}

int selectedData(const QComboBox* combo) { return itemData(combo, combo->currentIndex()); }

}  // namespace cb
