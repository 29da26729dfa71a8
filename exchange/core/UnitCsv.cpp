#include "exchange/core/UnitCsv.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <map>
#include <system_error>

#include "data/Cp932.h"
#include "data/Utf8.h"

namespace fs = std::filesystem;

namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";
constexpr std::uintmax_t kLargestCsv = 64u << 20;  // far beyond any table; keeps a wrong file from filling memory

void AppendCell(std::string& out, std::string_view cell)
{
    if (cell.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += cell;
        return;
    }
    out += '"';
    for (char c : cell) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

int WeaponSlotOf(const UnitField& field) { return static_cast<int>(field.offset - 50) / 2 + 1; }

// What a column of the header stands for.
struct Column {
    enum class Kind { Number, Field, Ignored, Blank } kind = Kind::Ignored;
    const UnitField* field = nullptr;
};

struct CsvRecord {
    int row;
    std::vector<std::string> cells;
};

// RFC 4180 records; a line may end in CRLF, LF or CR. False with a message on a broken quote.
bool SplitCsv(std::string_view text, std::vector<CsvRecord>& records, UnitCsvError& error)
{
    std::size_t i = 0;
    int row = 1;
    while (i < text.size()) {
        CsvRecord record{row, {}};
        std::string cell;
        while (true) {
            if (i < text.size() && text[i] == '"') {
                ++i;
                while (true) {
                    if (i >= text.size()) {
                        error = {row, -1, "", "引用符 (\") が閉じられていません"};
                        return false;
                    }
                    if (text[i] == '"') {
                        if (i + 1 < text.size() && text[i + 1] == '"') {
                            cell += '"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    cell += text[i++];
                }
                if (i < text.size() && text[i] != ',' && text[i] != '\r' && text[i] != '\n') {
                    error = {row, -1, "", "閉じた引用符 (\") の後に余分な文字があります"};
                    return false;
                }
            } else {
                const std::size_t end = text.find_first_of(",\r\n", i);
                const std::size_t stop = end == std::string_view::npos ? text.size() : end;
                cell.append(text.substr(i, stop - i));
                i = stop;
            }
            record.cells.push_back(std::move(cell));
            cell.clear();
            if (i < text.size() && text[i] == ',') {
                ++i;
                continue;
            }
            break;
        }
        if (i < text.size() && text[i] == '\r')
            ++i;
        if (i < text.size() && text[i] == '\n')
            ++i;
        records.push_back(std::move(record));
        ++row;
    }
    return true;
}

// The text as UTF-8: UTF-8 after a byte-order mark, UTF-8 when it is valid as such, else code page 932.
bool DecodeCsv(std::string_view bytes, std::string& text, UnitCsvError& error)
{
    const bool marked = bytes.substr(0, 3) == kBom;
    if (marked)
        bytes.remove_prefix(3);
    if (utf8::toUtf16(bytes)) {
        text.assign(bytes);
        return true;
    }
    const auto badLine = [&](auto isBad) {
        int row = 1;
        std::size_t start = 0;
        while (start <= bytes.size()) {
            const std::size_t end = std::min(bytes.find('\n', start), bytes.size());
            if (isBad(bytes.substr(start, end - start)))
                return row;
            start = end + 1;
            ++row;
        }
        return row;
    };
    if (marked) {
        error = {badLine([](std::string_view line) { return !utf8::toUtf16(line); }), -1, "",
                 "UTF-8 として読めないバイトがあります"};
        return false;
    }
    const std::u16string wide = cp932::decode(bytes);
    if (wide.find(u'\uFFFD') != std::u16string::npos) {
        error = {badLine([](std::string_view line) { return cp932::decode(line).find(u'\uFFFD') != std::u16string::npos; }),
                 -1, "", "UTF-8 としてもシフトJIS (コードページ 932) としても読めないバイトがあります"};
        return false;
    }
    text = utf8::fromUtf16(wide);
    return true;
}

bool AllEmpty(const std::vector<std::string>& cells)
{
    for (const std::string& cell : cells)
        if (!cell.empty())
            return false;
    return true;
}

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
    UnitCsvChanges changes;
    std::string text;
    std::vector<CsvRecord> records;
    UnitCsvError error;
    if (!DecodeCsv(fileBytes, text, error) || !SplitCsv(text, records, error)) {
        changes.errors.push_back(error);
        return changes;
    }
    if (records.empty()) {
        changes.errors.push_back({1, -1, "", "見出しの行がありません"});
        return changes;
    }

    // The header: every column known, none twice.
    std::map<std::string, const UnitField*, std::less<>> byLabel;
    for (const UnitField& field : fields)
        byLabel.emplace(field.label, &field);
    const std::vector<std::string>& header = records.front().cells;
    std::vector<Column> columns(header.size());
    std::map<std::string_view, int> seen;
    int numberColumn = -1;
    for (std::size_t c = 0; c < header.size(); ++c) {
        const std::string& label = header[c];
        if (!label.empty() && ++seen[label] == 2)
            changes.errors.push_back({1, -1, label, "同じ列が二度あります"});
        if (label == kCsvUnitNumberColumn) {
            columns[c].kind = Column::Kind::Number;
            numberColumn = static_cast<int>(c);
        } else if (const auto it = byLabel.find(label); it != byLabel.end()) {
            columns[c] = {Column::Kind::Field, it->second};
        } else if (label.empty()) {
            columns[c].kind = Column::Kind::Blank;
        } else {
            bool ignored = label == kCsvKindNameColumn;
            for (int k = 1; k <= kWeaponSlotCount; ++k)
                ignored = ignored || label == CsvWeaponNameColumn(k);
            if (!ignored)
                changes.errors.push_back({1, -1, label, "この列は知りません"});
        }
    }
    if (numberColumn < 0)
        changes.errors.push_back({1, -1, kCsvUnitNumberColumn, "この列がありません"});
    if (!changes.errors.empty())
        return changes;

    std::map<int, int> rowOfUnit;
    for (std::size_t r = 1; r < records.size(); ++r) {
        const CsvRecord& record = records[r];
        if (AllEmpty(record.cells))
            continue;
        if (record.cells.size() != header.size()) {
            changes.errors.push_back({record.row, -1, "", "列が " + std::to_string(record.cells.size())
                                                              + " 個あります (見出しは " + std::to_string(header.size()) + " 個)"});
            continue;
        }
        const std::string& numberText = record.cells[static_cast<std::size_t>(numberColumn)];
        const std::optional<int> unit = ParseUnitNumber(numberText);
        if (!unit) {
            changes.errors.push_back({record.row, -1, kCsvUnitNumberColumn,
                                      "「" + numberText + "」は 0 から 1279 までの番号ではありません"});
        } else if (const auto [it, fresh] = rowOfUnit.emplace(*unit, record.row); !fresh) {
            changes.errors.push_back({record.row, *unit, kCsvUnitNumberColumn,
                                      "この番号は行 " + std::to_string(it->second) + " にもあります"});
        }
        UnitRecord updated = unit ? table.record(*unit) : UnitRecord{};
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const Column& column = columns[c];
            if (column.kind == Column::Kind::Field) {
                std::string message;
                if (!SetFieldText(*column.field, updated, record.cells[c], message))
                    changes.errors.push_back({record.row, unit.value_or(-1), column.field->label, message});
            } else if (column.kind == Column::Kind::Blank && !record.cells[c].empty()) {
                changes.errors.push_back({record.row, unit.value_or(-1), "", "見出しのない列に値があります"});
            }
        }
        if (unit) {
            changes.units.push_back(*unit);
            changes.records.push_back(updated);
        }
    }
    if (!changes.errors.empty()) {
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

std::optional<std::string> ReadWholeFile(const fs::path& file, int& err)
{
    std::error_code ec;
    if (fs::is_directory(file, ec)) {
        err = EISDIR;
        return std::nullopt;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        err = errno ? errno : ENOENT;
        return std::nullopt;
    }
    const auto size = fs::file_size(file, ec);
    if (!ec && size > kLargestCsv) {
        err = EFBIG;
        return std::nullopt;
    }
    std::string bytes;
    if (!ec)
        bytes.reserve(static_cast<std::size_t>(size));
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
        if (bytes.size() > kLargestCsv) {
            err = EFBIG;
            return std::nullopt;
        }
    }
    if (in.bad()) {
        err = EIO;
        return std::nullopt;
    }
    return bytes;
}
