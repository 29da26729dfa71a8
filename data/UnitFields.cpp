#include "data/UnitFields.h"

#include <algorithm>
#include <cerrno>
#include <bit>
#include <charconv>
#include <cstring>

#include "data/Cp932.h"
#include "data/FileIo.h"
#include "data/GamePaths.h"
#include "data/Utf8.h"

namespace {

constexpr std::size_t kProkindSize = 912;  // 16-byte head, 32 entries of 4 unused bytes and a 24-byte name

std::uint32_t FullMask(std::size_t width)
{
    return width >= 4 ? 0xFFFFFFFFu : (1u << (8 * width)) - 1;
}

void Add(std::vector<UnitField>& fields, std::string label, std::size_t offset, std::size_t width, FieldShow show)
{
    fields.push_back({std::move(label), offset, width, FullMask(width), show});
}

void AddBit(std::vector<UnitField>& fields, std::string label, std::size_t offset, int bit)
{
    fields.push_back({std::move(label), offset, 1, 1u << bit, FieldShow::Check});
}

std::uint32_t ReadRaw(const UnitField& field, const UnitRecord& record)
{
    std::uint32_t raw = 0;
    for (std::size_t i = 0; i < field.width; ++i)
        raw |= static_cast<std::uint32_t>(record.bytes[field.offset + i]) << (8 * i);
    return raw;
}

void WriteRaw(const UnitField& field, UnitRecord& record, std::uint32_t raw)
{
    for (std::size_t i = 0; i < field.width; ++i)
        record.bytes[field.offset + i] = static_cast<std::uint8_t>(raw >> (8 * i));
}

int Shift(const UnitField& field) { return std::countr_zero(field.mask); }

std::string Hex(unsigned b)
{
    static const char digits[] = "0123456789ABCDEF";
    return std::string{'\\', 'x', digits[(b >> 4) & 15], digits[b & 15]};
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// A character of code page 932 that reads back as the same bytes.
bool CleanCharacter(std::string_view bytes)
{
    const std::u16string text = cp932::decode(bytes);
    // Control and private-use characters (0x80, 0xA0, 0xFD to 0xFF, the user-defined area) are no text
    // that other programs keep: their code page 932 writers save them as "?".
    if (text.size() != 1 || text[0] == 0xFFFD || text[0] < 0x20 || (text[0] >= 0x7F && text[0] <= 0x9F)
        || (text[0] >= 0xE000 && text[0] <= 0xF8FF))
        return false;
    const auto back = cp932::encode(text);
    return back && *back == bytes;
}

}  // namespace

const ProductionTypeNames& DefaultProductionTypeNames()
{
    static const ProductionTypeNames names = [] {
        ProductionTypeNames n;
        const char* first[] = {"アメリカ", "イギリス", "フランス", "ドイツ", "イスラエル", "ロシア", "日本", "中国"};
        for (int k = 0; k < kProductionTypeCount; ++k)
            n[k] = "オリジナル";
        for (int k = 0; k < 8; ++k)
            n[k] = first[k];
        n[13] = "リトルリーグ";
        n[14] = "マイナーリーグ";
        n[15] = "メジャーリーグ";
        return n;
    }();
    return names;
}

ProductionTypeNames ReadProductionTypeNames(std::string_view folderText)
{
    int err = 0;
    std::filesystem::path file;
    return ReadProductionTypeNames(folderText, err, file).value_or(DefaultProductionTypeNames());
}

std::optional<ProductionTypeNames> ReadProductionTypeNames(std::string_view folderText, int& err,
                                                           std::filesystem::path& file)
{
    ProductionTypeNames names = DefaultProductionTypeNames();
    std::array<std::uint8_t, kProkindSize> buffer{};
    file = ResolveFile(folderText, "prokind.dat");
    const corvane::ReadResult read = corvane::ReadPrefix(file, buffer);
    if (!read.opened && (read.openErr == ENOENT || read.openErr == ENOTDIR))
        return names;
    if (!read.opened || read.err != 0) {
        err = read.opened ? read.err : (read.openErr ? read.openErr : EACCES);
        return std::nullopt;
    }
    for (int k = 0; k < kProductionTypeCount; ++k) {
        const std::size_t offset = 16 + 28 * static_cast<std::size_t>(k) + 4;
        if (offset + kUnitNameSize > read.count)
            continue;
        const char* name = reinterpret_cast<const char*>(buffer.data() + offset);
        names[k] = utf8::fromCp932(std::string_view(name, strnlen(name, kUnitNameSize)));
    }
    return names;
}

std::array<std::string, kProductionTypeCount> ProductionTypeLabels(const ProductionTypeNames& names)
{
    // Types whose name is empty or shared are numbered. Numbered labels never equal each other (they end
    // in different numbers) and plain labels differ as their names do, so only a plain label that equals
    // a numbered one can be left: number that type too, until there is none.
    std::array<std::string, kProductionTypeCount> plain, numbered;
    std::array<bool, kProductionTypeCount> isNumbered{};
    for (int k = 0; k < kProductionTypeCount; ++k) {
        plain[k] = "生産可能国: " + names[k];
        numbered[k] = plain[k] + (names[k].empty() ? "(" : " (") + std::to_string(k) + ")";
        isNumbered[k] = names[k].empty() || std::count(names.begin(), names.end(), names[k]) > 1;
    }
    for (bool changed = true; changed;) {
        changed = false;
        for (int k = 0; k < kProductionTypeCount; ++k)
            for (int other = 0; other < kProductionTypeCount && !isNumbered[k]; ++other)
                if (isNumbered[other] && numbered[other] == plain[k])
                    isNumbered[k] = changed = true;
    }
    for (int k = 0; k < kProductionTypeCount; ++k)
        if (isNumbered[k])
            plain[k] = std::move(numbered[k]);
    return plain;
}

std::vector<UnitField> MakeUnitFields(const ProductionTypeNames& names)
{
    static const char* const kDefence[] = {"高", "中", "低", "車", "兵", "司", "艦", "潜", "ミ", "設"};
    static const char* const kBoard[] = {"輸送機", "予備", "空母", "輸送艦", "揚陸艦", "船？", "輸送ヘリ", "ヘリ空母"};
    static const char* const kSearch[] = {"航空", "ヘリ", "陸上", "海上", "海中"};
    static const char* const kSupply[] = {"給油機", "補給車", "補給艦"};

    std::vector<UnitField> f;
    f.reserve(160);
    Add(f, "名前", 0, kUnitNameSize, FieldShow::Name);
    Add(f, "兵種", 24, 1, FieldShow::Choice);
    Add(f, "部隊高度", 25, 1, FieldShow::Choice);
    for (int i = 0; i < kDefenceCount; ++i)
        Add(f, std::string("防御力 ") + kDefence[i], 26 + i, 1, FieldShow::Number);
    for (int i = 0; i < 8; ++i)
        AddBit(f, std::string("搭乗 ") + kBoard[i], 36, i);
    Add(f, "防御タイプ", 37, 1, FieldShow::Choice);
    Add(f, "機数", 38, 1, FieldShow::Number);
    Add(f, "耐久", 39, 1, FieldShow::Number);
    Add(f, "隠蔽能力 待機時", 40, 1, FieldShow::Number);
    Add(f, "隠蔽能力 行動時", 41, 1, FieldShow::Number);
    for (int i = 0; i < kSearchCount; ++i)
        Add(f, std::string("索敵能力 ") + kSearch[i], 42 + i, 1, FieldShow::Number);
    Add(f, "搭載", 47, 1, FieldShow::Choice);
    Add(f, "data00", 48, 1, FieldShow::Number);
    for (int i = 0; i < 3; ++i)
        AddBit(f, std::string("補給 ") + kSupply[i], 49, i);
    f.push_back({"49 bit3-7", 49, 1, 0xF8, FieldShow::Unshown});
    for (int k = 0; k < kWeaponSlotCount; ++k)
        Add(f, "兵装" + std::to_string(k + 1), 50 + 2 * k, 2, FieldShow::Weapon);
    for (int p = 0; p < kUnitPatternCount; ++p) {
        const std::size_t base = 62 + kUnitPatternSize * p;
        const std::string column = " P" + std::to_string(p + 1);
        for (int k = 0; k < kWeaponSlotCount; ++k)
            Add(f, "兵装" + std::to_string(k + 1) + column, base + k, 1, FieldShow::Number);
        Add(f, "速度修正" + column, base + 6, 1, FieldShow::Number);
        Add(f, "タンク" + column, base + 7, 1, FieldShow::Number);
        Add(f, "ECM" + column, base + 8, 1, FieldShow::Number);
        Add(f, "不明" + column, base + 9, 1, FieldShow::Number);
        Add(f, "燃料" + column, base + 10, 2, FieldShow::Number);
    }
    const auto labels = ProductionTypeLabels(names);
    for (int k = 0; k < kProductionTypeCount; ++k)
        AddBit(f, labels[k], kProductionFlagsOffset + k / 8, k % 8);
    Add(f, "価格", 114, 4, FieldShow::Signed);
    Add(f, "搭載 容量", 118, 1, FieldShow::Number);
    Add(f, "data01", 119, 1, FieldShow::Number);
    Add(f, "搭乗 容量", 120, 1, FieldShow::Number);
    Add(f, "data02", 121, 1, FieldShow::Number);
    Add(f, "data03", 122, 2, FieldShow::Signed);
    Add(f, "変形 ユニット", 124, 2, FieldShow::TargetUnit);
    Add(f, "移動力 SET", 126, 1, FieldShow::Number);
    Add(f, "data04", 127, 1, FieldShow::Number);
    Add(f, "data05", 128, 1, FieldShow::Number);
    Add(f, "data06", 129, 1, FieldShow::Number);
    Add(f, "グラフィック №", 130, 2, FieldShow::Number);
    Add(f, "data07", 132, 1, FieldShow::Number);
    Add(f, "data08", 133, 1, FieldShow::Number);
    Add(f, "変形 時間", 134, 1, FieldShow::Number);
    Add(f, "data09", 135, 1, FieldShow::Number);
    Add(f, "data10", 136, 1, FieldShow::Number);
    Add(f, "data11", 137, 1, FieldShow::Number);
    return f;
}

const UnitField* FindUnitField(const std::vector<UnitField>& fields, std::string_view label)
{
    for (const UnitField& field : fields)
        if (field.label == label)
            return &field;
    return nullptr;
}

std::int64_t FieldValue(const UnitField& field, const UnitRecord& record)
{
    const std::uint32_t raw = ReadRaw(field, record);
    const std::int64_t value = (raw & field.mask) >> Shift(field);
    switch (field.show) {
    case FieldShow::Signed: {
        const std::int64_t half = std::int64_t{1} << (8 * field.width - 1);
        return value >= half ? value - 2 * half : value;
    }
    case FieldShow::TargetUnit:
        return value - 1;
    default:
        return value;
    }
}

std::int64_t FieldMin(const UnitField& field)
{
    switch (field.show) {
    case FieldShow::Signed:
        return -(std::int64_t{1} << (8 * field.width - 1));
    case FieldShow::TargetUnit:
        return -1;
    default:
        return 0;
    }
}

std::int64_t FieldMax(const UnitField& field)
{
    const std::int64_t top = field.mask >> Shift(field);
    switch (field.show) {
    case FieldShow::Signed:
        return top / 2;
    case FieldShow::TargetUnit:
        return top - 1;
    default:
        return top;
    }
}

void SetFieldValue(const UnitField& field, UnitRecord& record, std::int64_t value)
{
    if (field.show == FieldShow::TargetUnit)
        value += 1;
    const auto bits = (static_cast<std::uint32_t>(value) << Shift(field)) & field.mask;
    WriteRaw(field, record, (ReadRaw(field, record) & ~field.mask) | bits);
}

std::string FieldText(const UnitField& field, const UnitRecord& record)
{
    if (field.show == FieldShow::Name)
        return NameCellText(record);
    return std::to_string(FieldValue(field, record));
}

bool SetFieldText(const UnitField& field, UnitRecord& record, std::string_view text, std::string& error)
{
    if (field.show == FieldShow::Name) {
        std::array<std::uint8_t, kUnitNameSize> bytes{};
        if (!ParseNameCell(text, bytes, error))
            return false;
        std::copy(bytes.begin(), bytes.end(), record.bytes.begin());
        return true;
    }
    std::string_view t = text;
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t'))
        t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t'))
        t.remove_suffix(1);
    const bool plus = !t.empty() && t.front() == '+';
    if (plus)
        t.remove_prefix(1);
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
    const bool digits = !t.empty() && t.front() != '+' && !(plus && t.front() == '-');
    if (!digits || end != t.data() + t.size() || (ec != std::errc() && ec != std::errc::result_out_of_range)) {
        error = "「" + std::string(text) + "」は整数ではありません";
        return false;
    }
    if (ec == std::errc::result_out_of_range || value < FieldMin(field) || value > FieldMax(field)) {
        error = "「" + std::string(text) + "」は " + std::to_string(FieldMin(field)) + " から "
            + std::to_string(FieldMax(field)) + " までの整数ではありません";
        return false;
    }
    SetFieldValue(field, record, value);
    return true;
}

std::string NameCellText(const UnitRecord& record)
{
    const std::string_view bytes(reinterpret_cast<const char*>(record.bytes.data()), kUnitNameSize);
    const std::size_t n = std::min(bytes.find('\0'), kUnitNameSize);
    std::string out;
    std::size_t i = 0;
    while (i < n) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        const std::size_t len = cp932::isLeadByte(b) && i + 1 < n ? 2 : 1;
        const std::string_view ch = bytes.substr(i, len);
        if (b == '\\') {
            out += "\\\\";
        } else if (CleanCharacter(ch)) {
            out += utf8::fromCp932(ch);
        } else {
            out += Hex(b);  // a bad lead byte alone: the next byte gets its own chance
            i += 1;
            continue;
        }
        i += len;
    }
    const std::size_t last = bytes.find_last_not_of('\0');
    if (last != std::string_view::npos && last > n)
        for (std::size_t j = n; j <= last; ++j)
            out += Hex(static_cast<unsigned char>(bytes[j]));
    return out;
}

bool ParseNameCell(std::string_view text, std::array<std::uint8_t, kUnitNameSize>& bytes, std::string& error)
{
    std::string raw;
    std::size_t i = 0;
    std::string plain;  // UTF-8 text waiting to be encoded
    const auto flush = [&]() {
        if (plain.empty())
            return true;
        const auto wide = utf8::toUtf16(plain);
        std::u16string bad;
        const auto encoded = wide ? cp932::encode(*wide, &bad) : std::nullopt;
        if (!encoded) {
            error = wide ? "「" + utf8::fromUtf16(bad) + "」はシフトJIS (コードページ 932) で表せない文字です"
                         : std::string("UTF-8 として正しくない文字があります");
            return false;
        }
        raw += *encoded;
        plain.clear();
        return true;
    };
    while (i < text.size()) {
        if (text[i] != '\\') {
            plain += text[i++];
            continue;
        }
        if (!flush())
            return false;
        if (i + 1 < text.size() && text[i + 1] == '\\') {
            raw += '\\';
            i += 2;
        } else if (i + 3 < text.size() && text[i + 1] == 'x' && HexDigit(text[i + 2]) >= 0
                   && HexDigit(text[i + 3]) >= 0) {
            raw += static_cast<char>(HexDigit(text[i + 2]) * 16 + HexDigit(text[i + 3]));
            i += 4;
        } else {
            error = "「" + std::string(text.substr(i, std::min<std::size_t>(4, text.size() - i)))
                + "」は正しいエスケープではありません (\\\\ か \\xHH)";
            return false;
        }
    }
    if (!flush())
        return false;
    if (raw.size() > kUnitNameSize) {
        error = "名前が " + std::to_string(raw.size()) + " バイトあります (24 バイトまで)";
        return false;
    }
    bytes.fill(0);
    std::memcpy(bytes.data(), raw.data(), raw.size());
    return true;
}
