// The unit table as CSV: exact round trips, spreadsheet edits, and files with errors that change nothing.
#include "exchange/core/UnitCsv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <set>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

#include "data/Cp932.h"
#include "data/Utf8.h"
#include "demo/DemoGameFolder.h"

namespace {

struct Game {
    UnitTable units;
    WeaponTable weapons;
    KindTable kinds;
};

const Game& Demo()
{
    static const Game game = [] {
        const GameFolderFiles files = MakeDemoGameFiles();
        Game g;
        g.units.load(files.unitInfo);
        std::copy(files.weapons.begin(), files.weapons.end(), g.weapons.image().begin());
        std::copy(files.kinds.begin(), files.kinds.end(), g.kinds.image().begin());
        return g;
    }();
    return game;
}

UnitTable RandomTable(unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<std::uint8_t> image(kUnitTableSize);
    for (auto& b : image)
        b = static_cast<std::uint8_t>(random());
    UnitTable t;
    t.load(image);
    return t;
}

const std::vector<UnitField>& Fields()
{
    static const std::vector<UnitField> fields = MakeUnitFields(DefaultProductionTypeNames());
    return fields;
}

std::string Export(const UnitTable& table)
{
    return WriteUnitCsv(table, Demo().weapons, Demo().kinds, Fields());
}

std::vector<std::uint8_t> Image(const UnitTable& table)
{
    const auto image = table.image();
    return {image.begin(), image.end()};
}

// Lines of an exported file (its rows hold no line breaks).
std::vector<std::string> Lines(const std::string& csv)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < csv.size()) {
        const std::size_t end = csv.find("\r\n", start);
        lines.push_back(csv.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::vector<std::string> Cells(const std::string& line)
{
    std::vector<std::string> cells;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = line.find(',', start);
        cells.push_back(line.substr(start, comma - start));
        if (comma == std::string::npos)
            return cells;
        start = comma + 1;
    }
}

std::string Join(const std::vector<std::string>& cells)
{
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i)
        line += (i ? "," : "") + cells[i];
    return line;
}

// A spreadsheet edit: sets the cell of one unit's row under a column of the exported file.
void SetCell(std::vector<std::string>& lines, int unit, const std::string& column, const std::string& value)
{
    const auto header = Cells(lines[0]);
    const auto c = static_cast<std::size_t>(std::find(header.begin(), header.end(), column) - header.begin());
    ASSERT_LT(c, header.size()) << column;
    auto cells = Cells(lines[static_cast<std::size_t>(unit) + 1]);
    ASSERT_EQ(cells.size(), header.size()) << "unit " << unit;
    cells[c] = value;
    lines[static_cast<std::size_t>(unit) + 1] = Join(cells);
}

std::string Text(const std::vector<std::string>& lines)
{
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

std::vector<std::string> Messages(const UnitCsvChanges& changes)
{
    std::vector<std::string> messages;
    for (const auto& e : changes.errors)
        messages.push_back(FormatCsvError(e));
    return messages;
}

// UTF-8 text as another program saves it in code page 932 (glibc's converter; Windows's own on Windows);
// nothing when some character has no code there.
std::optional<std::string> SaveAsCodePage932(const std::string& text)
{
#ifdef _WIN32
    const std::optional<std::u16string> wide = utf8::toUtf16(text);
    const std::wstring w(wide->begin(), wide->end());
    const int size = static_cast<int>(w.size());
    BOOL lost = FALSE;
    std::string out(static_cast<std::size_t>(size) * 2, '\0');
    const int n = ::WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, w.data(), size, out.data(), size * 2, nullptr, &lost);
    if (n <= 0 && size > 0)
        return std::nullopt;
    out.resize(static_cast<std::size_t>(n));
    return lost ? std::nullopt : std::optional(out);
#else
    const iconv_t cd = ::iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    std::string in = text, out(text.size(), '\0');
    char* from = in.data();
    char* to = out.data();
    std::size_t left = in.size(), room = out.size();
    const std::size_t done = ::iconv(cd, &from, &left, &to, &room);
    ::iconv_close(cd);
    if (done == static_cast<std::size_t>(-1))
        return std::nullopt;
    out.resize(out.size() - room);
    return out;
#endif
}

#ifdef __linux__
// The most memory the process has held since the last call, above what it held then (bytes); nothing
// where the kernel cannot reset the mark.
std::optional<long> PeakMemoryGrowth()
{
    static long base = -1;
    const auto peak = [] {
        std::ifstream status("/proc/self/status");
        for (std::string line; std::getline(status, line);)
            if (line.rfind("VmHWM:", 0) == 0)
                return std::stol(line.substr(6)) * 1024;
        return -1L;
    };
    const long now = peak();
    const long growth = base < 0 ? 0 : now - base;
    if (!(std::ofstream("/proc/self/clear_refs") << "5" << std::flush))
        return std::nullopt;
    base = peak();
    return growth;
}
#endif

}  // namespace

TEST(UnitCsv, ExportImportLeavesEveryByteOfAnyTable)
{
    std::vector<UnitTable> tables{Demo().units};
    for (unsigned seed = 1; seed <= 3; ++seed)
        tables.push_back(RandomTable(seed));
    for (const UnitTable& source : tables) {
        const std::string csv = Export(source);
        ASSERT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
        // Into a table whose every record differs, head and tail kept: the records are the source's.
        UnitTable target = RandomTable(99);
        const UnitCsvChanges changes = ReadUnitCsv(csv, target, Fields());
        ASSERT_EQ(Messages(changes), std::vector<std::string>{});
        ASSERT_EQ(ApplyUnitCsv(changes, target), kUnitCount);
        for (int u = 0; u < kUnitCount; ++u)
            ASSERT_EQ(target.record(u).bytes, source.record(u).bytes) << "unit " << u;
        // Into the same table: all 276,016 bytes as they were.
        UnitTable same = source;
        ApplyUnitCsv(ReadUnitCsv(csv, same, Fields()), same);
        ASSERT_EQ(Image(same), Image(source));
    }
}

TEST(UnitCsv, ASpreadsheetEditChangesExactlyThoseBytes)
{
    auto lines = Lines(Export(Demo().units));
    SetCell(lines, 16, "価格", "-2");
    SetCell(lines, 300, "生産可能国: 日本", "1");
    SetCell(lines, 1279, "名前", "\"新型,戦車\"");
    UnitTable table = Demo().units;
    const UnitCsvChanges changes = ReadUnitCsv(Text(lines), table, Fields());
    ASSERT_EQ(Messages(changes), std::vector<std::string>{});
    ApplyUnitCsv(changes, table);

    UnitTable expected = Demo().units;
    expected.record(16).setPrice(0xFFFFFFFEu);
    expected.record(300).setProductionFlags(expected.record(300).productionFlags() | 0x40);
    expected.record(1279).setName(*cp932::encode(u"新型,戦車"));
    EXPECT_EQ(Image(table), Image(expected));
    EXPECT_NE(Image(expected), Image(Demo().units));
}

TEST(UnitCsv, OnlyRowsAndColumnsPresentChangeInAnyOrder)
{
    UnitTable table = Demo().units;
    const std::string csv = "\"耐久\",番号,兵装2 武器名,名前\n 99 ,0012,whatever,ｼﾃﾞﾝ\n\n7,5,,\n";
    const UnitCsvChanges changes = ReadUnitCsv(csv, table, Fields());
    ASSERT_EQ(Messages(changes), std::vector<std::string>{});
    EXPECT_EQ(changes.units, (std::vector<int>{12, 5}));
    ApplyUnitCsv(changes, table);
    UnitTable expected = Demo().units;
    expected.record(12).setDurability(99);
    expected.record(12).setName("\xBC\xC3\xDE\xDD");
    expected.record(5).setDurability(7);
    expected.record(5).setName("");
    EXPECT_EQ(Image(table), Image(expected));
}

TEST(UnitCsv, EveryErrorIsReportedAndNothingChanges)
{
    auto lines = Lines(Export(Demo().units));
    SetCell(lines, 16, "価格", "abc");
    SetCell(lines, 16, "耐久", "256");
    SetCell(lines, 20, "data03", "-40000");
    SetCell(lines, 1000, "名前", "あいうえおかきくけこさしすせそ");
    SetCell(lines, 1001, "変形 ユニット", "1.5");
    const UnitTable before = Demo().units;
    const UnitCsvChanges changes = ReadUnitCsv(Text(lines), before, Fields());
    EXPECT_EQ(Messages(changes), (std::vector<std::string>{
        "行 18 (0016), 列「耐久」: 「256」は 0 から 255 までの整数ではありません",
        "行 18 (0016), 列「価格」: 「abc」は整数ではありません",
        "行 22 (0020), 列「data03」: 「-40000」は -32768 から 32767 までの整数ではありません",
        "行 1002 (1000), 列「名前」: 名前が 30 バイトあります (24 バイトまで)",
        "行 1003 (1001), 列「変形 ユニット」: 「1.5」は整数ではありません",
    }));
    EXPECT_TRUE(changes.units.empty());
    UnitTable table = before;
    EXPECT_EQ(ApplyUnitCsv(changes, table), 0);
    EXPECT_EQ(Image(table), Image(before));

    EXPECT_EQ(CsvErrorReport(changes.errors, 2),
              "行 18 (0016), 列「耐久」: 「256」は 0 から 255 までの整数ではありません\n"
              "行 18 (0016), 列「価格」: 「abc」は整数ではありません\n"
              "ほかに 3 個のエラーがあります");
}

TEST(UnitCsv, BrokenFilesAreRefusedWithTheirRow)
{
    const UnitTable& table = Demo().units;
    const struct {
        std::string csv;
        std::vector<std::string> errors;
    } cases[] = {
        {"", {"行 1: 見出しの行がありません"}},
        {"番号,耐久,色\n", {"行 1, 列「色」: この列は知りません"}},
        {"耐久\n5\n", {"行 1, 列「番号」: この列がありません"}},
        {"番号,耐久,耐久\n", {"行 1, 列「耐久」: 同じ列が二度あります"}},
        {"番号,耐久\n1,2\n\"3,4\n", {"行 3: 引用符 (\") が閉じられていません"}},
        {"番号,耐久\n\"1\"x,2\n", {"行 2: 閉じた引用符 (\") の後に余分な文字があります"}},
        {"番号,耐久\n1,2,3\n", {"行 2: 列が 3 個あります (見出しは 2 個)"}},
        {"番号,耐久\n1280,2\n1,2\n1,3\n", {"行 2, 列「番号」: 「1280」は 0 から 1279 までの番号ではありません",
                                         "行 4 (0001), 列「番号」: この番号は行 3 にもあります"}},
        {"番号,耐久,\n1,2,x\n", {"行 2 (0001): 見出しのない列に値があります"}},
        {"番号,名前\n1,\"" + std::string(100'000, 'a') + "\"\n", {"行 2 (0001), 列「名前」: 値が長すぎます (256 バイトまで)"}},
        {"\xEF\xBB\xBF番号,耐久\n1,\x82\xA0\n", {"行 2: UTF-8 として読めないバイトがあります"}},
        {"\x94\xD4\x8D\x86,\x91\xCF\x8Bv\n1,2\n\x82\n", {"行 3: UTF-8 としてもシフトJIS (コードページ 932) としても読めないバイトがあります"}},
        // Rows end in CR alone, a quoted cell spans lines, a file in UTF-8 without a mark.
        {"\x94\xD4\x8D\x86,\x91\xCF\x8Bv\r1,2\r\x82\r", {"行 3: UTF-8 としてもシフトJIS (コードページ 932) としても読めないバイトがあります"}},
        {"\x94\xD4\x8D\x86,\x96\xBC\x91\x4F\r\n1,\"a\r\nb\"\r\n\x82\r\n", {"行 3: UTF-8 としてもシフトJIS (コードページ 932) としても読めないバイトがあります"}},
        {"番号,耐久\n1,2\n3,\xFF\xFF\n", {"行 3: UTF-8 としてもシフトJIS (コードページ 932) としても読めないバイトがあります"}},
    };
    for (const auto& c : cases) {
        const UnitCsvChanges changes = ReadUnitCsv(c.csv, table, Fields());
        EXPECT_EQ(Messages(changes), c.errors) << c.csv;
        EXPECT_TRUE(changes.units.empty());
    }
}

// What Japanese Excel saves: code page 932, no mark, cells quoted only where needed.
TEST(UnitCsv, ACodePage932FileImportsLikeTheUtf8One)
{
    auto lines = Lines(Export(Demo().units));
    lines[0] = lines[0].substr(3);
    SetCell(lines, 40, "名前", "\"ﾀｲｶﾞｰ \"\"改\"\"\"");
    SetCell(lines, 41, "兵装1", "12");
    const std::string utf8Text = Text(lines);
    const auto wide = utf8::toUtf16(utf8Text);
    ASSERT_TRUE(wide);
    const auto sjis = cp932::encode(*wide);
    ASSERT_TRUE(sjis);

    UnitTable fromUtf8 = RandomTable(5);
    UnitTable fromSjis = fromUtf8;
    ASSERT_EQ(ApplyUnitCsv(ReadUnitCsv("\xEF\xBB\xBF" + utf8Text, fromUtf8, Fields()), fromUtf8), kUnitCount);
    const UnitCsvChanges changes = ReadUnitCsv(*sjis, fromSjis, Fields());
    ASSERT_EQ(Messages(changes), std::vector<std::string>{});
    ApplyUnitCsv(changes, fromSjis);
    EXPECT_EQ(Image(fromSjis), Image(fromUtf8));
    EXPECT_EQ(fromSjis.record(40).nameText(), *cp932::encode(u"ﾀｲｶﾞｰ \"改\""));
    EXPECT_EQ(fromSjis.record(41).weapon(0), 12);
}

// Another program's code page 932 save keeps every name byte, and spreadsheets read names as text.
TEST(UnitCsv, NamesSurviveOtherCodePage932WritersAndStayText)
{
    for (unsigned seed = 11; seed <= 13; ++seed) {
        const UnitTable source = RandomTable(seed);
        const std::optional<std::string> saved = SaveAsCodePage932(Export(source).substr(3));
        ASSERT_TRUE(saved) << "a character that code page 932 lacks, seed " << seed;
        UnitTable target = RandomTable(99);
        const UnitCsvChanges changes = ReadUnitCsv(*saved, target, Fields());
        ASSERT_EQ(Messages(changes), std::vector<std::string>{});
        ApplyUnitCsv(changes, target);
        for (int u = 0; u < kUnitCount; ++u)
            ASSERT_EQ(target.record(u).bytes, source.record(u).bytes) << "seed " << seed << ", unit " << u;
    }

    UnitTable table = Demo().units;
    const char16_t* const names[] = {u"0001", u"1/2", u"=1+1", u"１２３"};
    for (int u = 0; u < 4; ++u)
        table.record(u).setName(*cp932::encode(names[u]));
    const auto lines = Lines(Export(table));
    for (int u = 0; u < kUnitCount; ++u) {
        const std::string& line = lines[static_cast<std::size_t>(u) + 1];
        const std::size_t comma = line.find(',');
        ASSERT_EQ(line.substr(comma, 2), ",\"") << line;
        if (u < 4) {
            EXPECT_EQ(line.substr(comma + 1, line.find(',', comma + 1) - comma - 1), '"' + utf8::fromUtf16(names[u]) + '"');
        }
    }
}

// Production types whose names collide once a number is added to tell them apart.
TEST(UnitCsv, OwnExportReadsBackWhateverTheProductionTypesAreCalled)
{
    ProductionTypeNames names = DefaultProductionTypeNames();
    names[0] = "X (1)";
    names[1] = names[2] = "X";
    names[4] = "";
    names[9] = "(4)";
    const std::vector<UnitField> fields = MakeUnitFields(names);
    const UnitTable source = RandomTable(21);
    UnitTable target = RandomTable(99);
    const UnitCsvChanges changes = ReadUnitCsv(WriteUnitCsv(source, Demo().weapons, Demo().kinds, fields), target, fields);
    ASSERT_EQ(Messages(changes), std::vector<std::string>{});
    ApplyUnitCsv(changes, target);
    for (int u = 0; u < kUnitCount; ++u)
        ASSERT_EQ(target.record(u).bytes, source.record(u).bytes) << "unit " << u;
}

#ifdef __linux__
// Millions of blank columns, stray values, a cell of megabytes and rows for no unit: memory stays
// below the file's own size, and the errors stop at a readable number.
TEST(UnitCsv, AHostileFileCostsLittleMemory)
{
    const std::size_t width = 1'000'000;
    std::string csv = "番号,耐久" + std::string(width, ',') + "\n";
    csv += "1,2" + std::string(width, ',') + "\n" + std::string(width, ',') + "\n";
    std::string stray = "3,4";
    for (std::size_t i = 0; i < width / 2; ++i)
        stray += ",x";
    csv += stray + std::string(width / 2, ',') + "\n";
    csv += "5,\"" + std::string(2 * width, '7') + "\"" + std::string(width, ',') + "\n";
    for (int i = 0; i < 300'000; ++i)
        csv += "9999,1\n";
    if (!PeakMemoryGrowth())
        GTEST_SKIP() << "no /proc/self/clear_refs";
    const UnitCsvChanges changes = ReadUnitCsv(csv, Demo().units, Fields());
    const std::optional<long> growth = PeakMemoryGrowth();
    ASSERT_TRUE(growth);
    EXPECT_LT(*growth, static_cast<long>(csv.size())) << "file of " << csv.size() << " bytes";
    ASSERT_EQ(changes.errors.size(), 1001u);
    EXPECT_EQ(FormatCsvError(changes.errors[0]), "行 4 (0003): 見出しのない列に値があります");
    EXPECT_EQ(FormatCsvError(changes.errors[1]), "行 5 (0005), 列「耐久」: 値が長すぎます (256 バイトまで)");
    EXPECT_EQ(FormatCsvError(changes.errors[2]), "行 6: 列が 2 個あります (見出しは 1000002 個)");
    EXPECT_EQ(FormatCsvError(changes.errors[1000]), "行 1003: 誤りが多すぎるため、ここから先は調べていません");
}
#endif

// The widest table there can be (every name escaped, every number at its longest, reference names of
// three-byte characters) writes far less than the largest file that is read.
TEST(UnitCsv, TheWidestTableIsFarSmallerThanTheLargestFileRead)
{
    UnitTable table;
    WeaponTable weapons;
    KindTable kinds;
    std::fill(weapons.image().begin(), weapons.image().end(), std::uint8_t{0xFF});
    std::fill(kinds.image().begin(), kinds.image().end(), std::uint8_t{0xFF});
    ProductionTypeNames names;
    names.fill(utf8::fromCp932(std::string(kUnitNameSize, '\xFF')));
    const std::vector<UnitField> fields = MakeUnitFields(names);
    for (int u = 0; u < kUnitCount; ++u) {
        UnitRecord& record = table.record(u);
        std::fill(record.bytes.begin(), record.bytes.begin() + kUnitNameSize, std::uint8_t{0xFF});
        for (const UnitField& field : fields) {
            if (field.show == FieldShow::Name)
                continue;
            const bool minLonger = std::to_string(FieldMin(field)).size() > std::to_string(FieldMax(field)).size();
            SetFieldValue(field, record, field.show == FieldShow::Weapon ? 472 : minLonger ? FieldMin(field) : FieldMax(field));
        }
    }
    const std::string csv = WriteUnitCsv(table, weapons, kinds, fields);
    EXPECT_LT(csv.size() * 6, kLargestUnitCsv) << csv.size();
}
