#include "tools/EtcDlg.h"

#include "data/UnitRecord.h"
#include "res/Resources.h"
#include "tools/ToolIds.h"

CEtcDlg::CEtcDlg(QWidget* owner) : CToolWindow(res::kDialog137, owner, QString::fromLatin1(kPlacementPrefix), 2) {}

QString CEtcDlg::widestValueText(int controlId) const
{
    return controlId == tool::kDataFirst + 3 ? QStringLiteral("-32768") : CToolWindow::widestValueText(controlId);
}

// The order of exchange decides which fields keep their values when a box is refused.
void CEtcDlg::DoDataExchange(DataExchange& dx)
{
    dx.byteField(tool::kDataFirst + 1, m_data01);
    dx.byteField(tool::kDataFirst + 0, m_data00);
    dx.byteField(tool::kDataFirst + 2, m_data02);
    dx.byteField(tool::kDataFirst + 4, m_data04);
    dx.byteField(tool::kDataFirst + 5, m_data05);
    dx.byteField(tool::kDataFirst + 6, m_data06);
    dx.byteField(tool::kDataFirst + 7, m_data07);
    dx.byteField(tool::kDataFirst + 8, m_data08);
    dx.byteField(tool::kDataFirst + 9, m_data09);
    dx.byteField(tool::kDataFirst + 10, m_data10);
    dx.byteField(tool::kDataFirst + 11, m_data11);
    dx.shortField(tool::kDataFirst + 3, m_data03);
}

void CEtcDlg::ShowUnitData(const UnitRecord& record)
{
    m_data00 = record.data00();
    m_data01 = record.data01();
    m_data02 = record.data02();
    m_data03 = record.data03();
    m_data04 = record.data04();
    m_data05 = record.data05();
    m_data06 = record.data06();
    m_data07 = record.data07();
    m_data08 = record.data08();
    m_data09 = record.data09();
    m_data10 = record.data10();
    m_data11 = record.data11();
    UpdateData(false);
}

void CEtcDlg::CollectUnitData(UnitRecord& record)
{
    UpdateData(true);
    record.setData00(m_data00);
    record.setData01(m_data01);
    record.setData02(m_data02);
    record.setData03(m_data03);
    record.setData04(m_data04);
    record.setData05(m_data05);
    record.setData06(m_data06);
    record.setData07(m_data07);
    record.setData08(m_data08);
    record.setData09(m_data09);
    record.setData10(m_data10);
    record.setData11(m_data11);
}
