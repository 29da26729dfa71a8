#include "editor/UnitHistory.h"

#include "data/UnitTable.h"
#include "framework/UnitEditorHost.h"

#include <QUndoCommand>

#include <algorithm>

namespace {

class UnitStep : public QUndoCommand {
public:
    UnitStep(UnitEditorHost& host, UnitChanges changes, const QString& text)
        : QUndoCommand(text), m_host(host), m_changes(std::move(changes))
    {
    }

    void undo() override
    {
        UnitTable& table = m_host.unitTable();
        for (auto change = m_changes.rbegin(); change != m_changes.rend(); ++change)
            table.record(change->unitNumber) = change->before;
        showChanged();
    }

    void redo() override
    {
        // The command that recorded the step has changed the table already.
        if (m_recorded) {
            m_recorded = false;
            return;
        }
        UnitTable& table = m_host.unitTable();
        for (const UnitChange& change : m_changes)
            table.record(change.unitNumber) = change.after;
        showChanged();
    }

private:
    void showChanged()
    {
        std::vector<bool> rebuilt(kUnitCount, false);
        for (const UnitChange& change : m_changes) {
            if (rebuilt[change.unitNumber])
                continue;
            rebuilt[change.unitNumber] = true;
            m_host.RefreshUnitListEntry(change.unitNumber);
        }
        const int unit = m_changes.back().unitNumber;
        m_host.selectUnitInList(unit);
        m_host.ShowUnit(unit);
    }

    UnitEditorHost& m_host;
    UnitChanges m_changes;
    bool m_recorded = true;
};

}  // namespace

UnitHistory::UnitHistory(UnitEditorHost& host, QObject* parent) : QObject(parent), m_host(host)
{
    connect(&m_stack, &QUndoStack::indexChanged, this, &UnitHistory::tableChanged);
}

void UnitHistory::record(UnitChanges changes, const QString& stepText)
{
    std::erase_if(changes, [](const UnitChange& change) {
        return change.unitNumber < 0 || change.unitNumber >= kUnitCount || change.before.bytes == change.after.bytes;
    });
    if (changes.empty())
        return;
    m_stack.push(new UnitStep(m_host, std::move(changes), stepText));
}
