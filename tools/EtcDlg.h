#pragma once
// CEtcDlg: the unknown-data tool window. Shows the twelve record fields the editor has no name for
// as raw numbers, data00 to data11, and writes them back when the unit is applied.

#include "tools/ToolWindow.h"

#include <array>
#include <cstdint>

struct UnitRecord;

class CEtcDlg : public CToolWindow {
    Q_OBJECT
public:
    // Its corner is stored under this prefix.
    static constexpr char kPlacementPrefix[] = "EtcDlg";

    explicit CEtcDlg(QWidget* owner = nullptr);

    // Shows the record's twelve fields.
    void ShowUnitData(const UnitRecord& record);
    // Takes the boxes back (a refused box keeps it and every later field of the exchange order at
    // its former value, with the framework's message) and writes all twelve fields into record.
    void CollectUnitData(UnitRecord& record);

protected:
    QString widestValueText(int controlId) const override;
    void DoDataExchange(DataExchange& dx) override;

private:
    std::uint8_t m_data00 = 0, m_data01 = 0, m_data02 = 0;
    std::int16_t m_data03 = 0;
    std::uint8_t m_data04 = 0, m_data05 = 0, m_data06 = 0, m_data07 = 0;
    std::uint8_t m_data08 = 0, m_data09 = 0, m_data10 = 0, m_data11 = 0;
};
