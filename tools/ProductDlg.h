#pragma once
// CProductDlg: the producing-countries tool window. One check box per production type, captioned
// from the game's prokind.dat; shows the production mask of the current unit and hands the boxes
// back as the new mask when the unit is applied.

#include "tools/ToolWindow.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

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

    // Its corner is stored under this prefix.
    static constexpr char kPlacementPrefix[] = "ProductDlg";

    explicit CProductDlg(QWidget* owner = nullptr);

    // The head of prokind.dat as read: the bytes and how many the file had.
    struct TypeFile {
        std::array<std::uint8_t, kReadSize> bytes{};
        std::size_t count = 0;
    };
    // Reads prokind.dat from the game folder; a file that cannot be opened or read gives a message
    // and nothing.
    static std::optional<TypeFile> ReadProductionTypes(const QString& folderText);

    // Captions the boxes with the 32 type names of the file; types it is too short for keep the
    // template's captions.
    void SetProductionTypes(const TypeFile& file);

    // Ticks the boxes of the record's production mask.
    void ShowUnitMask(const UnitRecord& record);
    // Takes the boxes back and yields the mask they show, all 32 bits from the boxes.
    std::uint32_t CollectUnitMask();

protected:
    void DoDataExchange(DataExchange& dx) override;

private:
    std::array<int, kTypeCount> m_checks{};
};
