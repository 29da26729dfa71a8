#pragma once
// The history of the unit table: one undo step for each command that changed records (Apply,
// clone, the imports, a revert from the compare window). A command changes the table first and
// then records what it did; undoing a step puts back the bytes each record had before, redoing
// puts back the bytes after. Either way the touched list entries are rebuilt and the step's unit
// (the last one changed) is selected and shown.

#include "data/UnitChange.h"

#include <QObject>
#include <QUndoStack>

class UnitEditorHost;

class UnitHistory : public QObject {
    Q_OBJECT
public:
    explicit UnitHistory(UnitEditorHost& host, QObject* parent = nullptr);

    // Adds a step for changes the table already holds, in the order they were made (a unit may
    // appear more than once). Changes that left the bytes as they were are dropped; when none is
    // left no step is added.
    void record(UnitChanges changes, const QString& stepText);

    QUndoStack& stack() { return m_stack; }
    void undo() { m_stack.undo(); }
    void redo() { m_stack.redo(); }

signals:
    // The table changed: a step was recorded, undone or redone.
    void tableChanged();

private:
    UnitEditorHost& m_host;
    QUndoStack m_stack;
};
