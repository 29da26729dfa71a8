#pragma once
// CProductDlg: the producing-countries tool window. One check box per production type, captioned
// from the game's prokind.dat; shows the production mask of the current unit and hands the boxes
// back as the new mask when the unit is applied.

#include "tools/ToolWindow.h"

#include <array>
#include <cstddef>
#include <cstdint>

struct UnitRecord;

class CProductDlg : public CToolWindow {
    Q_OBJECT
public:
    static constexpr int kTypeCount = 32;
    static constexpr std::size_t kFileHeadSize = 16;
    static constexpr std::size_t kEntrySize = 28;
    static constexpr std::size_t kNameOffset = 4;   // in an entry
    static constexpr std::size_t kNameSize = 24;
    static constexpr std::size_t kReadSize = kFileHeadSize + kTypeCount * kEntrySize;  // 912

    explicit CProductDlg(QWidget* owner = nullptr);

    // The game folder text; prokind.dat is looked up in it.
    void setGameFolder(const QString& folderText) { m_gameFolder = folderText; }
    // Captions the boxes with the 32 type names of prokind.dat. A file that cannot be opened gives
    // a message and leaves the template's captions; types the file is too short for keep theirs.
    void LoadProductionTypes();

    // Ticks the boxes of the record's production mask.
    void ShowUnitMask(const UnitRecord& record);
    // Takes the boxes back and yields the mask they show, all 32 bits from the boxes.
    std::uint32_t CollectUnitMask();

protected:
    void DoDataExchange(DataExchange& dx) override;

private:
    QString m_gameFolder;
    std::array<std::uint8_t, kReadSize> m_buffer{};
    std::array<int, kTypeCount> m_checks{};
};
