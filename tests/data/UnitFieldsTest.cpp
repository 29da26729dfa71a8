// The field catalogue: every bit in one field, values as the form shows them, names that survive.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "DataTestSupport.h"
#include "data/Cp932.h"
#include "data/UnitFields.h"

namespace {

const std::vector<UnitField>& Fields()
{
    static const std::vector<UnitField> fields = MakeUnitFields(DefaultProductionTypeNames());
    return fields;
}

UnitRecord RandomRecord(unsigned seed)
{
    std::mt19937 random(seed);
    UnitRecord r;
    for (auto& b : r.bytes)
        b = static_cast<std::uint8_t>(random());
    return r;
}

const UnitField& Field(const char* label)
{
    const UnitField* field = FindUnitField(Fields(), label);
    if (!field)
        throw std::runtime_error(label);
    return *field;
}

std::string Cell(const std::vector<std::uint8_t>& nameBytes)
{
    UnitRecord r;
    std::copy(nameBytes.begin(), nameBytes.end(), r.bytes.begin());
    return NameCellText(r);
}

}  // namespace

TEST(UnitFields, CoverEveryBitOnceWithUniqueLabels)
{
    std::array<std::uint8_t, kUnitRecordSize> covered{};
    std::set<std::string> labels;
    for (const UnitField& f : Fields()) {
        EXPECT_TRUE(labels.insert(f.label).second) << f.label;
        ASSERT_LE(f.offset + f.width, kUnitRecordSize) << f.label;
        const std::uint64_t mask = f.width == kUnitNameSize ? ~0ull : f.mask;
        for (std::size_t i = 0; i < f.width; ++i) {
            const auto bits = static_cast<std::uint8_t>(f.width == kUnitNameSize ? 0xFF : mask >> (8 * i));
            EXPECT_EQ(covered[f.offset + i] & bits, 0) << f.label << " overlaps at byte " << f.offset + i;
            covered[f.offset + i] |= bits;
        }
    }
    for (std::size_t i = 0; i < kUnitRecordSize; ++i)
        EXPECT_EQ(covered[i], 0xFF) << "byte " << i;
    for (const char* label : {"名前", "兵種", "耐久", "価格", "兵装1", "兵装1 P1", "燃料 P4", "data00", "data11",
                              "生産可能国: アメリカ", "生産可能国: オリジナル (31)", "搭乗 ヘリ空母", "49 bit3-7"})
        EXPECT_NE(FindUnitField(Fields(), label), nullptr) << label;
}

// Building a record from nothing but the text of each field gives back every byte.
TEST(UnitFields, TextOfEveryFieldRebuildsTheRecordExactly)
{
    for (unsigned seed = 1; seed <= 200; ++seed) {
        const UnitRecord original = RandomRecord(seed);
        UnitRecord rebuilt;
        rebuilt.bytes.fill(seed & 1 ? 0x00 : 0xFF);
        for (const UnitField& f : Fields()) {
            std::string error;
            ASSERT_TRUE(SetFieldText(f, rebuilt, FieldText(f, original), error)) << f.label << ": " << error;
        }
        ASSERT_EQ(rebuilt.bytes, original.bytes) << "seed " << seed;
    }
}

TEST(UnitFields, ValuesAreShownAsTheFormShowsThem)
{
    UnitRecord r;
    r.setPrice(0xFFFFFFFFu);
    r.setData03(-2);
    r.setTransformTarget(6);
    r.setProductionFlags(0x80000001u);
    r.setSupplyFlags(0xFA);
    r.setWeapon(5, 472);
    EXPECT_EQ(FieldText(Field("価格"), r), "-1");
    EXPECT_EQ(FieldText(Field("data03"), r), "-2");
    EXPECT_EQ(FieldText(Field("変形 ユニット"), r), "5");
    EXPECT_EQ(FieldText(Field("生産可能国: アメリカ"), r), "1");
    EXPECT_EQ(FieldText(Field("生産可能国: イギリス"), r), "0");
    EXPECT_EQ(FieldText(Field("生産可能国: オリジナル (31)"), r), "1");
    EXPECT_EQ(FieldText(Field("補給 給油機"), r), "0");
    EXPECT_EQ(FieldText(Field("補給 補給車"), r), "1");
    EXPECT_EQ(FieldText(Field("49 bit3-7"), r), "31");
    EXPECT_EQ(FieldText(Field("兵装6"), r), "472");
    r.setTransformTarget(0);
    EXPECT_EQ(FieldText(Field("変形 ユニット"), r), "-1");

    // Setting a bit leaves its neighbours alone; a price of 1000 is E8 03 00 00.
    std::string error;
    ASSERT_TRUE(SetFieldText(Field("補給 給油機"), r, "1", error));
    EXPECT_EQ(r.supplyFlags(), 0xFB);
    ASSERT_TRUE(SetFieldText(Field("価格"), r, " 1000 ", error));
    EXPECT_EQ(r.price(), 1000u);
    ASSERT_TRUE(SetFieldText(Field("価格"), r, "-2147483648", error));
    EXPECT_EQ(r.price(), 0x80000000u);
}

TEST(UnitFields, RefusesTextOutsideTheFieldAndLeavesTheRecord)
{
    const UnitRecord before = RandomRecord(7);
    UnitRecord r = before;
    const struct {
        const char* label;
        const char* text;
        const char* error;
    } cases[] = {
        {"耐久", "256", "「256」は 0 から 255 までの整数ではありません"},
        {"耐久", "-1", "「-1」は 0 から 255 までの整数ではありません"},
        {"耐久", "", "「」は整数ではありません"},
        {"耐久", "1.5", "「1.5」は整数ではありません"},
        {"耐久", "0x10", "「0x10」は整数ではありません"},
        {"耐久", "++1", "「++1」は整数ではありません"},
        {"data03", "+-5", "「+-5」は整数ではありません"},
        {"価格", "2147483648", "「2147483648」は -2147483648 から 2147483647 までの整数ではありません"},
        {"価格", "99999999999999999999", "「99999999999999999999」は -2147483648 から 2147483647 までの整数ではありません"},
        {"data03", "32768", "「32768」は -32768 から 32767 までの整数ではありません"},
        {"変形 ユニット", "65535", "「65535」は -1 から 65534 までの整数ではありません"},
        {"生産可能国: 日本", "2", "「2」は 0 から 1 までの整数ではありません"},
        {"名前", "あいうえおかきくけこさしすせそ", "名前が 30 バイトあります (24 バイトまで)"},
        {"名前", "戦車😀", "「😀」はシフトJIS (コードページ 932) で表せない文字です"},
        {"名前", "A\\q", "「\\q」は正しいエスケープではありません (\\\\ か \\xHH)"},
        {"名前", "A\\x4", "「\\x4」は正しいエスケープではありません (\\\\ か \\xHH)"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(SetFieldText(Field(c.label), r, c.text, error)) << c.label << " " << c.text;
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(r.bytes, before.bytes);
    }
}

TEST(UnitFields, NamesThatAreNotCleanTextGetAnEscapedForm)
{
    // Clean text as it is; a backslash doubled.
    EXPECT_EQ(Cell({0x83, 0x5E, 0x83, 0x93, 0x83, 0x4E}), "タンク");
    EXPECT_EQ(Cell({0xBC, 0xC3, 0xDE, 0xDD}), "ｼﾃﾞﾝ");
    EXPECT_EQ(Cell({'A', '\\', 'B'}), "A\\\\B");
    // A double-byte character cut at the end, a stray trail byte, control bytes.
    EXPECT_EQ(Cell({'A', 0x83}), "A\\x83");
    EXPECT_EQ(Cell({0x80, 'B', 0x0A, 0x7F}), "\\x80B\\x0A\\x7F");
    // Bytes that code page 932 gives private-use characters (which other writers cannot keep).
    EXPECT_EQ(Cell({0xA0, 0xFD, 0xFE, 0xFF, 0xF0, 0x40, 0xB1}), "\\xA0\\xFD\\xFE\\xFF\\xF0@ｱ");
    // What earlier versions wrote for them still reads back.
    std::array<std::uint8_t, kUnitNameSize> old{};
    std::string oldError;
    ASSERT_TRUE(ParseNameCell("\uF8F0\uF8F1\uF8F2\uF8F3\uE000", old, oldError)) << oldError;
    EXPECT_EQ(std::vector<std::uint8_t>(old.begin(), old.begin() + 7),
              (std::vector<std::uint8_t>{0xA0, 0xFD, 0xFE, 0xFF, 0xF0, 0x40, 0}));
    // Bytes after the terminator follow a \x00 up to the last one that is not zero.
    EXPECT_EQ(Cell({'A', 0, 0, 'Z', 0}), "A\\x00\\x00\\x5A");
    // 24 bytes without a terminator.
    std::vector<std::uint8_t> full(24, 'x');
    EXPECT_EQ(Cell(full), std::string(24, 'x'));

    std::mt19937 random(3);
    for (int n = 0; n < 2000; ++n) {
        UnitRecord r;
        for (std::size_t i = 0; i < kUnitNameSize; ++i)
            r.bytes[i] = static_cast<std::uint8_t>(n % 3 == 0 && i > 10 ? 0 : random());
        std::array<std::uint8_t, kUnitNameSize> back{};
        std::string error;
        ASSERT_TRUE(ParseNameCell(NameCellText(r), back, error)) << NameCellText(r) << ": " << error;
        ASSERT_TRUE(std::equal(back.begin(), back.end(), r.bytes.begin())) << NameCellText(r);
    }
}

TEST(UnitFields, ProductionTypeNamesComeFromProkindAndStayUnique)
{
    TempFolder folder;
    std::vector<std::uint8_t> prokind(16 + 28 * 3 + 10, 0);  // three whole entries, a fourth cut short
    const auto put = [&](int k, std::string_view name) { std::copy(name.begin(), name.end(), prokind.begin() + 16 + 28 * k + 4); };
    put(0, "\x95\xC4\x8D\x91");  // 米国
    put(1, "X");
    put(2, "X");
    WriteBytes(folder.path() / "PROKIND.DAT", prokind);
    const ProductionTypeNames names = ReadProductionTypeNames(folder.text());
    EXPECT_EQ(names[0], "米国");
    EXPECT_EQ(names[3], "ドイツ");  // not in the file: the window's caption
    EXPECT_EQ(ProductionTypeLabels(names)[0], "生産可能国: 米国");
    EXPECT_EQ(ProductionTypeLabels(names)[2], "生産可能国: X (2)");
    ProductionTypeNames blank = names;
    blank[5] = "";
    EXPECT_EQ(ProductionTypeLabels(blank)[5], "生産可能国: (5)");
    EXPECT_EQ(ReadProductionTypeNames(folder.text() + "missing/"), DefaultProductionTypeNames());

    // Names that equal another type's name with its number added, or an empty name's label.
    const std::vector<std::vector<std::pair<int, std::string>>> collisions = {
        {{0, "X (1)"}, {1, "X"}, {2, "X"}},
        {{4, ""}, {9, "(4)"}},
        {{3, "Y (7)"}, {7, "Y"}, {8, "Y"}, {10, "Y (7) (3)"}, {11, "Y (7)"}},
        {{12, "Z (13)"}, {13, "Z"}, {14, "Z"}, {15, "Z (13) (12)"}, {16, "Z (13) (12) (15)"}, {17, "Z (13)"}},
    };
    for (const auto& set : collisions) {
        ProductionTypeNames crafted = DefaultProductionTypeNames();
        for (const auto& [k, name] : set)
            crafted[k] = name;
        std::set<std::string> unique;
        for (const std::string& label : ProductionTypeLabels(crafted))
            EXPECT_TRUE(unique.insert(label).second) << label;
    }
}
