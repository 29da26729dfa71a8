#include "data/Cp932.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <memory>
#include <random>
#include <string>
#include <utility>

namespace {

std::string bytesOf(unsigned code) {
    if (code <= 0xFF)
        return std::string(1, static_cast<char>(code));
    return {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
}

std::string encodeOk(std::u16string_view text) {
    std::u16string bad;
    const auto bytes = cp932::encode(text, &bad);
    EXPECT_TRUE(bytes.has_value()) << "first unencodable unit U+" << std::hex
                                   << (bad.empty() ? 0 : static_cast<unsigned>(bad[0]));
    return bytes.value_or(std::string());
}

// Returns the reported character; fails the test when the text was encodable.
std::u16string encodeBad(std::u16string_view text) {
    std::u16string bad = u"untouched";
    EXPECT_FALSE(cp932::encode(text, &bad).has_value());
    return bad;
}

}  // namespace

TEST(Cp932, KnownCodesConvertBothWays) {
    const std::pair<unsigned, char16_t> known[] = {
        {0x5C, u'\u005C'},   {0x7E, u'\u007E'},   {0xA1, u'\uFF61'},   {0xB1, u'\uFF71'},
        {0xDF, u'\uFF9F'},   {0x8140, u'\u3000'}, {0x815F, u'\uFF3C'}, {0x8160, u'\uFF5E'},
        {0x8161, u'\u2225'}, {0x817C, u'\uFF0D'}, {0x8191, u'\uFFE0'}, {0x81CA, u'\uFFE2'},
        {0x8740, u'\u2460'}, {0x8754, u'\u2160'}, {0x81E0, u'\u2252'}, {0x889F, u'\u4E9C'},
        {0xFA40, u'\u2170'}, {0xFA5C, u'\u7E8A'}, {0xFC4B, u'\u9ED1'},
        {0xF040, u'\uE000'}, {0xF07E, u'\uE03E'}, {0xF080, u'\uE03F'}, {0xF9FC, u'\uE757'},
    };
    for (const auto& [code, c] : known) {
        SCOPED_TRACE(testing::Message() << "code 0x" << std::hex << code);
        EXPECT_EQ(cp932::decode(bytesOf(code)), std::u16string(1, c));
        EXPECT_EQ(encodeOk(std::u16string(1, c)), bytesOf(code));
    }
}

TEST(Cp932, SingleBytes) {
    for (unsigned b = 0; b < 0x80; ++b) {
        EXPECT_EQ(cp932::decode(bytesOf(b)), std::u16string(1, static_cast<char16_t>(b)));
        EXPECT_EQ(encodeOk(std::u16string(1, static_cast<char16_t>(b))), bytesOf(b));
    }
    for (unsigned b = 0xA1; b <= 0xDF; ++b)
        EXPECT_EQ(cp932::decode(bytesOf(b)), std::u16string(1, static_cast<char16_t>(0xFF61 + b - 0xA1)));
    // Not lead bytes: Windows maps them to U+0080 and four private-use characters, and back.
    const std::pair<unsigned, char16_t> others[] = {
        {0x80, u'\u0080'}, {0xA0, u'\uF8F0'}, {0xFD, u'\uF8F1'}, {0xFE, u'\uF8F2'}, {0xFF, u'\uF8F3'}};
    for (const auto& [b, c] : others) {
        EXPECT_EQ(cp932::decode(bytesOf(b)), std::u16string(1, c)) << std::hex << b;
        EXPECT_EQ(encodeOk(std::u16string(1, c)), bytesOf(b)) << std::hex << b;
    }
    EXPECT_EQ(cp932::decode("\x88\x9F\x80\xFF"), u"\u4E9C\u0080\uF8F3");
    EXPECT_EQ(cp932::decode(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
}

TEST(Cp932, LeadBytes) {
    for (unsigned b = 0; b <= 0xFF; ++b) {
        const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        EXPECT_EQ(cp932::isLeadByte(static_cast<unsigned char>(b)), lead) << std::hex << b;
    }
}

// A character with several codes is written with the code Windows uses: the JIS code before
// NEC row 13, NEC row 13 before the IBM extensions, the IBM extensions before the
// NEC-selected copies of them (lead 0xED/0xEE).
TEST(Cp932, DuplicateCodesEncodeToTheWindowsChoice) {
    const std::pair<unsigned, unsigned> readAndWritten[] = {
        {0x8790, 0x81E0}, {0x879A, 0x81E6}, {0xFA5B, 0x81E6}, {0xEEF9, 0x81CA},
        {0xFA54, 0x81CA}, {0xFA4A, 0x8754}, {0xEEEF, 0xFA40}, {0xED40, 0xFA5C},
        {0xEEFC, 0xFA57}, {0xEEEC, 0xFC4B},
    };
    for (const auto& [read, written] : readAndWritten) {
        SCOPED_TRACE(testing::Message() << "code 0x" << std::hex << read);
        const std::u16string text = cp932::decode(bytesOf(read));
        ASSERT_EQ(text.size(), 1u);
        EXPECT_NE(text[0], u'\uFFFD');
        EXPECT_EQ(text, cp932::decode(bytesOf(written)));
        EXPECT_EQ(encodeOk(text), bytesOf(written));
    }
}

TEST(Cp932, EveryDoubleByteCodeRoundTrips) {
    int defined = 0;
    int rewritten = 0;
    for (unsigned lead = 0x80; lead <= 0xFF; ++lead) {
        if (!cp932::isLeadByte(static_cast<unsigned char>(lead)))
            continue;
        for (unsigned trail = 0x00; trail <= 0xFF; ++trail) {
            const unsigned code = lead << 8 | trail;
            const std::u16string text = cp932::decode(bytesOf(code));
            if (text.size() != 1 || text[0] == u'\uFFFD') {
                // Undefined: the lead byte is replaced and the next byte read on its own.
                ASSERT_EQ(text.substr(0, 1), u"\uFFFD") << std::hex << code;
                ASSERT_EQ(text.size(), 2u) << std::hex << code;
                continue;
            }
            ++defined;
            const std::string again = encodeOk(text);
            if (again == bytesOf(code))
                continue;
            ++rewritten;
            SCOPED_TRACE(testing::Message() << "code 0x" << std::hex << code);
            ASSERT_EQ(again.size(), 2u);
            EXPECT_EQ(cp932::decode(again), text);
            const unsigned againLead = static_cast<unsigned char>(again[0]);
            EXPECT_TRUE(againLead != 0xED && againLead != 0xEE);
            if (lead != 0xED && lead != 0xEE) {
                const unsigned againCode = againLead << 8 | static_cast<unsigned char>(again[1]);
                EXPECT_LT(againCode, code);
            }
        }
    }
    EXPECT_EQ(defined, 9604);   // Microsoft's table (7724) and the user-defined area (1880)
    EXPECT_EQ(rewritten, 398);  // codes whose character is written with another code
}

TEST(Cp932, EveryEncodableCharacterDecodesBack) {
    int encodable = 0;
    for (unsigned u = 0; u <= 0xFFFF; ++u) {
        const std::u16string text(1, static_cast<char16_t>(u));
        const auto bytes = cp932::encode(text);
        if (!bytes)
            continue;
        ++encodable;
        const std::u16string back = cp932::decode(*bytes);
        // Six characters have no code of their own and are stored as their JIS twins.
        const std::pair<char16_t, char16_t> twins[] = {
            {u'\u00A2', u'\uFFE0'}, {u'\u00A3', u'\uFFE1'}, {u'\u00AC', u'\uFFE2'},
            {u'\u2016', u'\u2225'}, {u'\u2212', u'\uFF0D'}, {u'\u301C', u'\uFF5E'},
        };
        char16_t expected = static_cast<char16_t>(u);
        for (const auto& [c, twin] : twins)
            if (c == u)
                expected = twin;
        EXPECT_EQ(back, std::u16string(1, expected)) << std::hex << u;
    }
    EXPECT_EQ(encodable, 9408);
}

TEST(Cp932, BrokenInputBecomesReplacementCharacters) {
    // A lead byte cut off by the end of the input.
    EXPECT_EQ(cp932::decode("\x82"), u"\uFFFD");
    EXPECT_EQ(cp932::decode("AB\x88"), u"AB\uFFFD");
    // A trail byte outside 0x40-0x7E / 0x80-0xFC: the byte after the lead is kept.
    EXPECT_EQ(cp932::decode("\x81\x20X"), u"\uFFFD X");
    EXPECT_EQ(cp932::decode("\x81\x7F"), u"\uFFFD\x7F");
    EXPECT_EQ(cp932::decode("\x81\xFD"), u"\uFFFD\uF8F1");
    EXPECT_EQ(cp932::decode(std::string("\x81\0", 2)), std::u16string(u"\uFFFD\0", 2));
    EXPECT_EQ(cp932::decode("\x81\xB1"), u"\uFFFD\uFF71");
    // A well-formed but undefined code.
    EXPECT_EQ(cp932::decode("\x85\x40"), u"\uFFFD@");
    EXPECT_EQ(cp932::decode("\xEF\x40"), u"\uFFFD@");
    EXPECT_EQ(cp932::decode("\xFC\x4C"), u"\uFFFD\x4C");
    EXPECT_EQ(cp932::decode("\x85\x81\x40"), u"\uFFFD\u3000");
    // Good text around bad bytes survives.
    EXPECT_EQ(cp932::decode("\x88\x9F\x85\x88\x9F"), u"\u4E9C\uFFFD\u4E9C");
}

// Valid text is every byte string that decodes without a replacement character; the zero byte and
// characters with several codes included.
TEST(Cp932, ValidTextDecodesEveryCode) {
    EXPECT_EQ(cp932::decodeValid("\x87\x9A\xEE\xEF\xFA\x4A"), cp932::decode("\x87\x9A\xEE\xEF\xFA\x4A"));
    EXPECT_EQ(cp932::decodeValid(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
    EXPECT_EQ(cp932::decodeValid("\x80\xA0\xFD"), std::u16string(u"\u0080\uF8F0\uF8F1"));
    EXPECT_EQ(cp932::decodeValid(""), std::u16string());
    for (const char* bad : {"\x82", "AB\x88", "\x81\x7F", "\x85\x40", "ok\xFC\x4C"})
        EXPECT_FALSE(cp932::decodeValid(bad).has_value()) << bad;
}

// An edited stored text keeps the bytes of what the edit left in place, replacement characters and
// characters with several codes included, and counts them at their own length.
TEST(Cp932StoredText, WhatWasNotEditedKeepsItsBytes) {
    const std::string bytes = "\xEE\xEF" "AB" "\x81\x7F" "CD\x83";  // U+2170, A, B, bad, DEL, C, D, cut
    const cp932::StoredText stored(bytes);
    EXPECT_EQ(stored.text(), u"\u2170AB\uFFFD\x7F" u"CD\uFFFD");
    EXPECT_EQ(stored.encode(stored.text()), bytes);
    EXPECT_EQ(stored.length(stored.text()), bytes.size());

    const std::u16string edited = u"\u2170A\u6226\uFFFD\x7F" u"CD\uFFFD";  // B became 戦
    EXPECT_EQ(stored.encode(edited), std::string("\xEE\xEF" "A\x90\xED" "\x81\x7F" "CD\x83"));
    EXPECT_EQ(stored.length(edited), bytes.size() + 1);
    EXPECT_EQ(stored.length(u"\u2170AB\uFFFD\x7F" u"CD"), bytes.size() - 1);

    // A replacement character the user put in is refused, and counts as two bytes.
    std::u16string bad;
    EXPECT_FALSE(stored.encode(u"\uFFFD" + stored.text(), &bad));
    EXPECT_EQ(bad, u"\uFFFD");
    EXPECT_EQ(stored.length(u"\uFFFD" + stored.text()), bytes.size() + 2);
    EXPECT_FALSE(stored.encode(u"x\U0001F600", &bad));
    EXPECT_EQ(bad, u"\U0001F600");

    // Kept bytes that would join new ones into another character are refused.
    EXPECT_FALSE(stored.encode(stored.text() + u"X", &bad));
    EXPECT_EQ(bad, u"\uFFFD");
    EXPECT_EQ(cp932::StoredText("\x83").encode(u"X\uFFFD"), std::string("X\x83"));
}

TEST(Cp932, DecodeNeverReadsPastTheEnd) {
    // The byte after the view would complete the character; it must not be looked at.
    const std::string backing = "\x88\x9F";
    EXPECT_EQ(cp932::decode(std::string_view(backing.data(), 1)), u"\uFFFD");
    // Exactly sized heap buffer so the address sanitizer sees any overrun.
    auto one = std::make_unique<char[]>(1);
    one[0] = '\x88';
    EXPECT_EQ(cp932::decode(std::string_view(one.get(), 1)), u"\uFFFD");
}

// Into a buffer of exactly one unit per byte (on the heap, for the address sanitizer): the same
// units as decode, for any bytes.
TEST(Cp932, DecodeIntoABufferGivesWhatDecodeGives) {
    std::mt19937 random(932);
    for (int round = 0; round < 2000; ++round) {
        std::string bytes(std::size_t(random() % 40), '\0');
        for (char& b : bytes)
            b = char(round % 2 ? random() % 256 : 0x80 + random() % 128);
        auto buffer = std::make_unique<char16_t[]>(bytes.size());
        const std::size_t count = cp932::decodeInto(bytes, buffer.get());
        ASSERT_EQ(std::u16string(buffer.get(), count), cp932::decode(bytes)) << round;
    }
}

TEST(Cp932, UnencodableCharactersAreReportedNotReplaced) {
    EXPECT_EQ(encodeBad(u"\u00E9"), u"\u00E9");
    EXPECT_EQ(encodeBad(u"\u00A5"), u"\u00A5");  // yen sign: 0x5C is the backslash
    EXPECT_EQ(encodeBad(u"\uFFFD"), u"\uFFFD");
    EXPECT_EQ(encodeBad(u"\uE758"), u"\uE758");  // just past the user-defined area
    EXPECT_EQ(encodeBad(u"\u0081"), u"\u0081");
    // The first bad character is the one reported.
    EXPECT_EQ(encodeBad(u"ab\u00E9c\u00E8"), u"\u00E9");
    // A surrogate pair is one character; lone surrogates are reported alone.
    EXPECT_EQ(encodeBad(u"\u6226\U0001F600x"), u"\U0001F600");
    EXPECT_EQ(encodeBad(u"a\xD83D"), u"\xD83D");
    EXPECT_EQ(encodeBad(u"\xDE00\xD83D"), u"\xDE00");
    EXPECT_EQ(encodeBad(u"\xD83Dz"), u"\xD83D");
    // The report is optional.
    EXPECT_FALSE(cp932::encode(u"\u00E9").has_value());
}

TEST(Cp932, EmptyInput) {
    EXPECT_EQ(cp932::decode(""), u"");
    const auto bytes = cp932::encode(u"");
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(*bytes, "");
}

TEST(Cp932, FullLengthKanjiName) {
    const std::u16string name = u"零式艦上戦闘機五二型丙改";
    ASSERT_EQ(name.size(), 12u);
    const std::string bytes = encodeOk(name);
    EXPECT_EQ(bytes, "\x97\xEB\x8E\xAE\x8A\xCD\x8F\xE3\x90\xED\x93\xAC\x8B\x40\x8C\xDC\x93\xF1\x8C\x5E\x95\xB8\x89\xFC");
    EXPECT_EQ(bytes.size(), 24u);
    EXPECT_EQ(cp932::decode(bytes), name);
}

TEST(Cp932, MixedText) {
    const std::u16string text = u"Type\u30FB97 ｶﾝｺｳ\\~ 艦攻";
    const std::string bytes = encodeOk(text);
    EXPECT_EQ(bytes, "Type\x81\x45" "97 \xB6\xDD\xBA\xB3\\~ \x8A\xCD\x8D\x55");
    EXPECT_EQ(cp932::decode(bytes), text);
}
