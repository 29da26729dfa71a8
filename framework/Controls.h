#pragma once
// Filling and reading list boxes and combo boxes the way the program does it: items inserted at
// explicit positions, each with an integer item data. Changes made here never count as the user's
// selection change: notifications are only raised by what the user does. Reading or removing an
// item at a position the list does not hold is a programming error.

#include <QString>
#include <QStringList>

#include <span>

class QComboBox;
class QListWidget;

namespace lb {
void reset(QListWidget* list);
void insert(QListWidget* list, int position, const QString& text, int data);
// Adds entries at the end, entry i with texts[i] and data[i]; the same as inserting them one by one.
void append(QListWidget* list, const QStringList& texts, std::span<const int> data);
void remove(QListWidget* list, int position);
int count(const QListWidget* list);
int curSel(const QListWidget* list);          // -1 when nothing is selected
void setCurSel(QListWidget* list, int position); // -1 selects nothing
int itemData(const QListWidget* list, int position);
QString text(const QListWidget* list, int position);
}  // namespace lb

namespace cb {
void reset(QComboBox* combo);
void insert(QComboBox* combo, int position, const QString& text, int data);
int curSel(const QComboBox* combo);           // -1 when nothing is selected
void setCurSel(QComboBox* combo, int position);  // out of range selects nothing
int itemData(const QComboBox* combo, int position);
int selectedData(const QComboBox* combo);     // item data of the selection, -1 without one
}  // namespace cb
