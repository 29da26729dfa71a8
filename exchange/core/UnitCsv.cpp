#include "exchange/core/UnitCsv.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <map>
#include <optional>
#include <set>

#include "data/Cp932.h"
#include "data/Utf8.h"

namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";

// A cell in quotes, quotes in it doubled. Spreadsheets told to take quoted cells as text keep such a
// cell as it is ("0001", "1/2", "=1+1").
void AppendQuoted(std::string& out, std::string_view cell)
{
    out += '"';
    for (char c : cell) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

void AppendCell(std::string& out, std::string_view cell)
{
    if (cell.find_first_of(",\"\r\n") == std::string_view::npos)
        out += cell;
    else
        AppendQuoted(out, cell);
}

int WeaponSlotOf(const UnitField& field) { return static_cast<int>(field.offset - 50) / 2 + 1; }

// What a column of the header stands for.
struct Column {
    enum class Kind { Number, Field, Ignored } kind = Kind::Ignored;
    const UnitField* field = nullptr;
};

// Cuts RFC 4180 records out of a file's bytes one at a time; a line may end in CRLF, LF or CR. Only the
// ASCII bytes , " CR LF give structure, and none of them occurs inside a character of UTF-8 or of code
// page 932, so the raw bytes of either are cut alike. Nothing is kept but the cell at hand.
class CsvSplitter {
public:
    explicit CsvSplitter(std::string_view bytes) : bytes_(bytes) {}

    bool atEnd() const { return i_ >= bytes_.size(); }
    int row() const { return row_; }  // of the record next() reads
    std::size_t offset() const { return i_; }

    // Hands each cell of the next record (quotes undone) to onCell(index, cell) and counts them; false,
    // with error set, on a broken quote.
    template <class OnCell>
    bool next(OnCell&& onCell, std::size_t& count, UnitCsvError& error)
    {
        const std::size_t size = bytes_.size();
        count = 0;
        while (true) {
            std::string_view cell;
            if (i_ < size && bytes_[i_] == '"') {
                quoted_.clear();
                ++i_;
                while (true) {
                    const std::size_t quote = bytes_.find('"', i_);
                    if (quote == std::string_view::npos) {
                        error = {row_, -1, "", "引用符 (\") が閉じられていません"};
                        return false;
                    }
                    quoted_.append(bytes_.substr(i_, quote - i_));
                    i_ = quote + 1;
                    if (i_ < size && bytes_[i_] == '"') {
                        quoted_ += '"';
                        ++i_;
                        continue;
                    }
                    break;
                }
                if (i_ < size && bytes_[i_] != ',' && bytes_[i_] != '\r' && bytes_[i_] != '\n') {
                    error = {row_, -1, "", "閉じた引用符 (\") の後に余分な文字があります"};
                    return false;
                }
                cell = quoted_;
            } else {
                const std::size_t stop = std::min(bytes_.find_first_of(",\r\n", i_), size);
                cell = bytes_.substr(i_, stop - i_);
                i_ = stop;
            }
            onCell(count++, cell);
            if (i_ < size && bytes_[i_] == ',') {
                ++i_;
                continue;
            }
            break;
        }
        if (i_ < size && bytes_[i_] == '\r')
            ++i_;
        if (i_ < size && bytes_[i_] == '\n')
            ++i_;
        ++row_;
        return true;
    }

private:
    std::string_view bytes_;
    std::size_t i_ = 0;
    int row_ = 1;
    std::string quoted_;
};

// The row of the record that holds the byte at offset.
int RowAt(std::string_view bytes, std::size_t offset)
{
    CsvSplitter splitter(bytes);
    std::size_t count = 0;
    UnitCsvError ignored;
    while (!splitter.atEnd()) {
        const int row = splitter.row();
        if (!splitter.next([](std::size_t, std::string_view) {}, count, ignored) || splitter.offset() > offset)
            return row;
    }
    return splitter.row();
}

// Where the first byte lies that starts no well-formed UTF-8 character (overlong forms, surrogates and
// values above U+10FFFF included), or npos.
std::size_t FirstBadUtf8(std::string_view bytes)
{
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        std::size_t length = 0;
        unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
        if (b < 0x80) {
            ++i;
            continue;
        }
        if (b >= 0xC2 && b <= 0xDF) {
            length = 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            length = 3;
            low = b == 0xE0 ? 0xA0 : 0x80;
            high = b == 0xED ? 0x9F : 0xBF;
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4;
            low = b == 0xF0 ? 0x90 : 0x80;
            high = b == 0xF4 ? 0x8F : 0xBF;
        } else {
            return i;
        }
        if (i + length > bytes.size())
            return i;
        for (std::size_t k = 1; k < length; ++k) {
            const auto c = static_cast<unsigned char>(bytes[i + k]);
            if (c < (k == 1 ? low : 0x80) || c > (k == 1 ? high : 0xBF))
                return i;
        }
        i += length;
    }
    return std::string_view::npos;
}

// Where the first byte lies that starts no code page 932 character, or npos.
std::size_t FirstBadCp932(std::string_view bytes)
{
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (!cp932::isLeadByte(static_cast<unsigned char>(bytes[i]))) {
            ++i;  // every single byte is a character
            continue;
        }
        if (i + 1 >= bytes.size() || cp932::decode(bytes.substr(i, 2)).find(u'\uFFFD') != std::u16string::npos)
            return i;
        i += 2;
    }
    return std::string_view::npos;
}

enum class Encoding { Utf8, Cp932 };

// No cell that reads as a value is longer (an escaped name takes 96 bytes); longer ones are not decoded.
constexpr std::size_t kLongestCell = 256;

// UTF-8 after a byte-order mark, UTF-8 when the bytes are well-formed as such, else code page 932. When
// neither reads them, error names the row where the reading that gets further stops.
bool ChooseEncoding(std::string_view bytes, bool marked, Encoding& encoding, UnitCsvError& error)
{
    const std::size_t badUtf8 = FirstBadUtf8(bytes);
    encoding = Encoding::Utf8;
    if (badUtf8 == std::string_view::npos)
        return true;
    if (marked) {
        error = {RowAt(bytes, badUtf8), -1, "", "UTF-8 として読めないバイトがあります"};
        return false;
    }
    const std::size_t badCp932 = FirstBadCp932(bytes);
    encoding = Encoding::Cp932;
    if (badCp932 == std::string_view::npos)
        return true;
    error = {RowAt(bytes, std::max(badUtf8, badCp932)), -1, "",
             "UTF-8 としてもシフトJIS (コードページ 932) としても読めないバイトがあります"};
    return false;
}

// Errors up to a number a person reads; past it one more says that checking stopped.
class ErrorList {
public:
    explicit ErrorList(std::vector<UnitCsvError>& errors) : errors_(errors) {}
    bool full() const { return errors_.size() > kMostErrors; }
    bool empty() const { return errors_.empty(); }
    void add(UnitCsvError error)
    {
        if (full())
            return;
        errors_.push_back(std::move(error));
        if (errors_.size() == kMostErrors)
            errors_.push_back({errors_.back().row, -1, "", "誤りが多すぎるため、ここから先は調べていません"});
    }

private:
    static constexpr std::size_t kMostErrors = 1000;
    std::vector<UnitCsvError>& errors_;
};

std::optional<int> ParseUnitNumber(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    int value = -1;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value < 0 || value >= kUnitCount)
        return std::nullopt;
    return value;
}

}  // namespace

std::string CsvWeaponNameColumn(int slot)
{
    return "兵装" + std::to_string(slot) + " 武器名";
}

std::string WriteUnitCsv(const UnitTable& table, const WeaponTable& weapons, const KindTable& kinds,
                         const std::vector<UnitField>& fields)
{
    std::string out = kBom;
    out.reserve(1280 * 700);
    out += kCsvUnitNumberColumn;
    for (const UnitField& field : fields) {
        out += ',';
        AppendCell(out, field.label);
        if (field.show == FieldShow::Choice && field.offset == 24)
            (out += ',') += kCsvKindNameColumn;
        else if (field.show == FieldShow::Weapon)
            (out += ',') += CsvWeaponNameColumn(WeaponSlotOf(field));
    }
    out += "\r\n";
    for (int u = 0; u < kUnitCount; ++u) {
        const UnitRecord& record = table.record(u);
        out += std::to_string(u);
        for (const UnitField& field : fields) {
            out += ',';
            if (field.show == FieldShow::Name)
                AppendQuoted(out, FieldText(field, record));
            else
                AppendCell(out, FieldText(field, record));
            if (field.show == FieldShow::Choice && field.offset == 24) {
                out += ',';
                AppendCell(out, utf8::fromCp932(kinds.name(record.kind())));
            } else if (field.show == FieldShow::Weapon) {
                out += ',';
                AppendCell(out, utf8::fromCp932(weapons.entry(static_cast<int>(FieldValue(field, record))).nameText()));
            }
        }
        out += "\r\n";
    }
    return out;
}

std::string FormatCsvError(const UnitCsvError& error)
{
    std::string text = "行 " + std::to_string(error.row);
    if (error.unit >= 0) {
        char number[16];
        std::snprintf(number, sizeof number, " (%04d)", error.unit);
        text += number;
    }
    if (!error.column.empty())
        text += ", 列「" + error.column + "」";
    return text + ": " + error.message;
}

std::string CsvErrorReport(const std::vector<UnitCsvError>& errors, std::size_t limit)
{
    std::string text;
    for (std::size_t i = 0; i < errors.size() && i < limit; ++i)
        (text += i ? "\n" : "") += FormatCsvError(errors[i]);
    if (errors.size() > limit)
        text += "\nほかに " + std::to_string(errors.size() - limit) + " 個のエラーがあります";
    return text;
}

UnitCsvChanges ReadUnitCsv(std::string_view fileBytes, const UnitTable& table, const std::vector<UnitField>& fields)
{
    // The file is read once, a record at a time, keeping only the cells of labelled columns: memory
    // stays near the file's own size whatever it holds.
    UnitCsvChanges changes;
    ErrorList errors(changes.errors);
    UnitCsvError error;
    const bool marked = fileBytes.substr(0, 3) == kBom;
    if (marked)
        fileBytes.remove_prefix(3);
    Encoding encoding;
    if (!ChooseEncoding(fileBytes, marked, encoding, error)) {
        errors.add(error);
        return changes;
    }
    const auto text = [encoding](std::string_view cell) {
        return encoding == Encoding::Utf8 ? std::string(cell) : utf8::fromUtf16(cp932::decode(cell));
    };
    CsvSplitter splitter(fileBytes);
    if (splitter.atEnd()) {
        errors.add({1, -1, "", "見出しの行がありません"});
        return changes;
    }

    // The header: every column known, none twice. Blank columns are not kept.
    std::map<std::string, const UnitField*, std::less<>> byLabel;
    for (const UnitField& field : fields)
        byLabel.emplace(field.label, &field);
    struct Labelled {
        std::size_t index;
        Column column;
    };
    std::vector<Labelled> columns;
    std::set<std::string, std::less<>> seen;
    std::size_t headerCount = 0;
    std::optional<std::size_t> numberColumn;  // in columns
    const bool headerRead = splitter.next([&](std::size_t c, std::string_view cell) {
        if (cell.empty() || errors.full())
            return;
        std::string label = cell.size() > kLongestCell ? text(cell.substr(0, kLongestCell)) + "…" : text(cell);
        if (!seen.insert(label).second) {
            errors.add({1, -1, label, "同じ列が二度あります"});
        } else if (label == kCsvUnitNumberColumn) {
            numberColumn = columns.size();
            columns.push_back({c, {Column::Kind::Number}});
        } else if (const auto it = byLabel.find(label); it != byLabel.end()) {
            columns.push_back({c, {Column::Kind::Field, it->second}});
        } else {
            bool ignored = label == kCsvKindNameColumn;
            for (int k = 1; k <= kWeaponSlotCount; ++k)
                ignored = ignored || label == CsvWeaponNameColumn(k);
            if (ignored)
                columns.push_back({c, {Column::Kind::Ignored}});
            else
                errors.add({1, -1, label, "この列は知りません"});
        }
    }, headerCount, error);
    if (!headerRead)
        errors.add(error);
    if (headerRead && !numberColumn)
        errors.add({1, -1, kCsvUnitNumberColumn, "この列がありません"});
    if (!errors.empty())
        return changes;

    std::map<int, int> rowOfUnit;
    std::vector<std::string> cells(columns.size());  // of the row at hand, by labelled column
    while (!splitter.atEnd() && !errors.full()) {
        const int row = splitter.row();
        std::size_t count = 0, next = 0;
        bool empty = true, blankHasValue = false;
        for (std::string& cell : cells)
            cell.clear();
        const bool read = splitter.next([&](std::size_t c, std::string_view cell) {
            empty = empty && cell.empty();
            while (next < columns.size() && columns[next].index < c)
                ++next;
            if (next < columns.size() && columns[next].index == c)
                cells[next].assign(cell.substr(0, kLongestCell + 1));  // longer is too long, however long
            else
                blankHasValue = blankHasValue || !cell.empty();
        }, count, error);
        if (!read) {
            errors.add(error);
            break;
        }
        if (empty)
            continue;
        if (count != headerCount) {
            errors.add({row, -1, "", "列が " + std::to_string(count) + " 個あります (見出しは " + std::to_string(headerCount) + " 個)"});
            continue;
        }
        const auto tooLong = [&](std::size_t k, std::string_view column, int unit) {
            if (cells[k].size() <= kLongestCell)
                return false;
            errors.add({row, unit, std::string(column), "値が長すぎます (" + std::to_string(kLongestCell) + " バイトまで)"});
            return true;
        };
        if (tooLong(*numberColumn, kCsvUnitNumberColumn, -1))
            continue;
        const std::string numberText = text(cells[*numberColumn]);
        const std::optional<int> unit = ParseUnitNumber(numberText);
        if (!unit) {
            errors.add({row, -1, kCsvUnitNumberColumn, "「" + numberText + "」は 0 から 1279 までの番号ではありません"});
        } else if (const auto [it, fresh] = rowOfUnit.emplace(*unit, row); !fresh) {
            errors.add({row, *unit, kCsvUnitNumberColumn, "この番号は行 " + std::to_string(it->second) + " にもあります"});
        }
        UnitRecord updated = unit ? table.record(*unit) : UnitRecord{};
        for (std::size_t k = 0; k < columns.size(); ++k) {
            const Column& column = columns[k].column;
            std::string message;
            if (column.kind != Column::Kind::Field || tooLong(k, column.field->label, unit.value_or(-1)))
                continue;
            if (!SetFieldText(*column.field, updated, text(cells[k]), message))
                errors.add({row, unit.value_or(-1), column.field->label, message});
        }
        if (blankHasValue)
            errors.add({row, unit.value_or(-1), "", "見出しのない列に値があります"});
        if (unit && errors.empty()) {
            changes.units.push_back(*unit);
            changes.records.push_back(updated);
        }
    }
    if (!errors.empty()) {
        changes.units.clear();
        changes.records.clear();
    }
    return changes;
}

int ApplyUnitCsv(const UnitCsvChanges& changes, UnitTable& table)
{
    if (!changes.errors.empty())
        return 0;
    for (std::size_t i = 0; i < changes.units.size(); ++i)
        table.record(changes.units[i]) = changes.records[i];
    return static_cast<int>(changes.units.size());
}

std::string CsvTooLargeText(std::string_view path, std::uintmax_t size)
{
    const auto megabytes = [](std::uintmax_t bytes) { return std::to_string((bytes >> 20) + ((bytes & 0xFFFFF) != 0)); };
    return std::string(path) + " は " + megabytes(size) + " MB あり、兵器の CSV としては大きすぎます ("
        + megabytes(kLargestUnitCsv) + " MB まで)";
}
