#include "data/TableCheck.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

#include "data/BitmapHeader.h"
#include "data/Cp932.h"
#include "data/GamePaths.h"
#include "data/ReferenceTables.h"

namespace {

constexpr std::size_t kNameOffset = 0;
constexpr std::size_t kKindOffset = 24;
constexpr std::size_t kAltitudeOffset = 25;
constexpr std::size_t kDefenceTypeOffset = 37;
constexpr std::size_t kCarrierOffset = 47;
constexpr std::size_t kWeaponsOffset = 50;
constexpr std::size_t kTransformOffset = 124;
constexpr std::size_t kMoveSetOffset = 126;
constexpr std::size_t kGraphicOffset = 130;
constexpr int kNoMoveSet = 255;

std::string PictureName(const char* format, int graphicNumber)
{
    char name[32];
    std::snprintf(name, sizeof name, format, graphicNumber);
    return name;
}

template <class Items>
bool Listed(const Items& items, int value)
{
    return std::any_of(items.begin(), items.end(), [value](const ListItem& item) { return item.data == value; });
}

class Checker {
public:
    Checker(const std::vector<UnitField>& fields, UnitPictureFiles& pictures, std::vector<TableProblem>& out)
        : m_fields(fields), m_pictures(pictures), m_out(out)
    {
    }

    void check(int unit, const UnitRecord& record)
    {
        m_unit = unit;
        m_record = &record;
        if (!cp932::decodeValid(record.nameText()))
            add(kNameOffset, "シフトJIS (コードページ 932) の文字として読めないバイトがあります");
        if (record.kind() >= KindTable::kEntryCount)
            add(kKindOffset, "兵種は 0 から 127 までです");
        if (!Listed(kAltitudeItems, record.altitude()))
            add(kAltitudeOffset, "部隊高度は 0 から 5 までです");
        if (!Listed(kDefenceTypeItems, record.defenceType()))
            add(kDefenceTypeOffset, "防御タイプは 0 から 8 までか、255 (無し) です");
        if (!Listed(kCarrierItems, record.carrierClass()))
            add(kCarrierOffset, "搭載は 0 (無し) か、1、2、4 … 128 のどれか一つです");
        for (int k = 0; k < kWeaponSlotCount; ++k)
            if (record.weapon(k) > WeaponTable::kEntryCount)
                add(kWeaponsOffset + 2 * std::size_t(k), "武器番号は 472 までです");
        if (record.transformTarget() > kUnitCount)
            add(kTransformOffset, "変形先のユニット番号は 1279 までです");
        if (record.moveSet() >= MoveCostTable::kSetCount && record.moveSet() != kNoMoveSet)
            add(kMoveSetOffset, "移動力のセットは 0 から 173 までか、255 (無し) です");
        const int graphic = record.graphicNumber();
        switch (m_pictures.state(graphic)) {
        case UnitPictureFiles::State::Showable:
            break;
        case UnitPictureFiles::State::Missing:
            add(kGraphicOffset, "Unit\\" + PictureName("Unit%03d.bmp", graphic) + " も Unit\\"
                                    + PictureName("Unit%03ds.bmp", graphic) + " もありません");
            break;
        case UnitPictureFiles::State::Unreadable:
            add(kGraphicOffset, "Unit\\" + PictureName("Unit%03d.bmp", graphic) + " (" + PictureName("Unit%03ds.bmp", graphic)
                                    + ") は表示できる画像ではありません");
            break;
        }
    }

private:
    void add(std::size_t offset, std::string reason)
    {
        const auto field = std::find_if(m_fields.begin(), m_fields.end(), [offset](const UnitField& f) {
            return f.offset == offset && f.show != FieldShow::Check && f.show != FieldShow::Unshown;
        });
        if (field == m_fields.end())
            return;
        m_out.push_back({m_unit, field->label, FieldText(*field, *m_record), std::move(reason)});
    }

    const std::vector<UnitField>& m_fields;
    UnitPictureFiles& m_pictures;
    std::vector<TableProblem>& m_out;
    int m_unit = 0;
    const UnitRecord* m_record = nullptr;
};

}  // namespace

UnitPictureFiles::UnitPictureFiles(std::string folderText)
    : m_folderText(std::move(folderText)), m_lookup(std::make_unique<PathLookup>())
{
}

UnitPictureFiles::~UnitPictureFiles() = default;

UnitPictureFiles::State UnitPictureFiles::state(int graphicNumber)
{
    if (const auto known = m_known.find(graphicNumber); known != m_known.end())
        return known->second;
    State state = State::Missing;
    // The s-variant first, as the picture loads.
    for (const char* format : {"Unit\\Unit%03ds.bmp", "Unit\\Unit%03d.bmp"}) {
        const std::string name = PictureName(format, graphicNumber);
        const std::filesystem::path given = m_lookup->fileToOpen(m_folderText, name);
        if (HasShowableBitmapHeader(given)) {
            state = State::Showable;
            break;
        }
        const std::filesystem::path found = m_lookup->file(m_folderText, name);
        if (found != given && HasShowableBitmapHeader(found)) {
            state = State::Showable;
            break;
        }
        std::error_code ec;
        if (std::filesystem::exists(found, ec))
            state = State::Unreadable;
    }
    m_known.emplace(graphicNumber, state);
    return state;
}

std::vector<TableProblem> CheckUnitTable(const UnitTable& table, const std::vector<UnitField>& fields,
                                         UnitPictureFiles& pictures)
{
    std::vector<TableProblem> problems;
    Checker checker(fields, pictures, problems);
    for (int u = 0; u < kUnitCount; ++u) {
        const UnitRecord& record = table.record(u);
        if (std::all_of(record.bytes.begin(), record.bytes.end(), [](std::uint8_t b) { return b == 0; }))
            continue;
        checker.check(u, record);
    }
    return problems;
}

std::string TableProblemLine(const TableProblem& problem)
{
    char number[8];
    std::snprintf(number, sizeof number, "%04d", problem.unit);
    return std::string(number) + " " + problem.label + ": " + problem.value + ": " + problem.reason;
}
