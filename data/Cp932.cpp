#include "data/Cp932.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>

namespace cp932 {
namespace {

#include "data/Cp932Table.inc"

constexpr char16_t kReplacement = 0xFFFD;
constexpr char16_t kHalfWidthFirst = 0xFF61;  // byte 0xA1
constexpr char16_t kUserFirst = 0xE000;       // code 0xF040
constexpr unsigned kUserFirstLead = 0xF0;
constexpr unsigned kUserLastLead = 0xF9;
constexpr unsigned kTrailsPerLead = 188;

// Single bytes outside ASCII and the half-width katakana that Windows maps all the same.
constexpr std::array<std::pair<unsigned char, char16_t>, 5> kOtherSingleBytes{{
    {0x80, 0x0080}, {0xA0, 0xF8F0}, {0xFD, 0xF8F1}, {0xFE, 0xF8F2}, {0xFF, 0xF8F3}}};

// The character of a single byte that is not a lead byte, 0 when there is none.
char16_t decodeSingle(unsigned char b) {
    if (b < 0x80)
        return b;
    if (b >= 0xA1 && b <= 0xDF)
        return static_cast<char16_t>(kHalfWidthFirst + (b - 0xA1));
    for (const auto& [byte, c] : kOtherSingleBytes)
        if (byte == b)
            return c;
    return 0;
}

bool isTrailByte(unsigned b) {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// Position of a trail byte among the 188 valid ones (0x7F skipped).
unsigned trailIndex(unsigned trail) {
    return trail - 0x40 - (trail > 0x7F ? 1 : 0);
}

// The character of a double-byte code, 0 when the code is undefined.
char16_t decodePair(unsigned lead, unsigned trail) {
    if (!isTrailByte(trail))
        return 0;
    if (lead >= kUserFirstLead && lead <= kUserLastLead)
        return static_cast<char16_t>(kUserFirst + (lead - kUserFirstLead) * kTrailsPerLead
                                     + trailIndex(trail));
    const unsigned row = kDoubleByteRow[lead];
    if (row >= kDoubleByteRows)
        return 0;
    return kDoubleByte[row][trail - 0x40];
}

// UTF-16 unit -> code (single byte in the low byte, double byte as lead << 8 | trail);
// 0 where the character cannot be stored. U+0000 is handled before the lookup.
using EncodeTable = std::array<std::uint16_t, 0x10000>;

EncodeTable buildEncodeTable() {
    EncodeTable table{};
    for (unsigned b = 0; b < 0x80; ++b)
        table[b] = static_cast<std::uint16_t>(b);
    for (unsigned b = 0xA1; b <= 0xDF; ++b)
        table[kHalfWidthFirst + (b - 0xA1)] = static_cast<std::uint16_t>(b);
    for (const auto& [b, c] : kOtherSingleBytes)
        table[c] = b;

    // Where a character has several codes Windows writes the lowest one, except that the
    // NEC-selected IBM extensions (lead 0xED/0xEE) are never written: their characters all
    // have an IBM extension code (lead 0xFA-0xFC) as well. So those two rows come last.
    const auto addRow = [&table](unsigned lead) {
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            const char16_t c = decodePair(lead, trail);
            if (c != 0 && table[c] == 0)
                table[c] = static_cast<std::uint16_t>(lead << 8 | trail);
        }
    };
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead)
        if (lead != 0xED && lead != 0xEE)
            addRow(lead);
    addRow(0xED);
    addRow(0xEE);

    for (const auto& [c, code] : kEncodeOnly)
        table[c] = code;
    return table;
}

const EncodeTable& encodeTable() {
    static const EncodeTable table = buildEncodeTable();
    return table;
}

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

bool isLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

namespace {

// Decodes bytes, handing each character to put; each byte that does not start a valid character
// gives U+FFFD, and *valid (if given) becomes false. *starts (if given) receives where each character
// starts, then the end.
template <class Put>
void decodeEach(std::string_view bytes, bool* valid, std::vector<std::size_t>* starts, Put put) {
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    while (i < n) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (starts)
            starts->push_back(i);
        char16_t c = 0;
        std::size_t width = 1;
        if (!isLeadByte(b)) {
            c = decodeSingle(b);
        } else if (i + 1 < n) {
            c = decodePair(b, static_cast<unsigned char>(bytes[i + 1]));
            width = 2;
        }
        if (c == 0 && b != 0) {  // U+0000 only comes from the zero byte
            put(kReplacement);
            if (valid)
                *valid = false;
            ++i;
            continue;
        }
        put(c);
        i += width;
    }
    if (starts)
        starts->push_back(n);
}

std::u16string decodeBytes(std::string_view bytes, bool* valid, std::vector<std::size_t>* starts = nullptr) {
    std::u16string text;
    text.reserve(bytes.size());
    decodeEach(bytes, valid, starts, [&text](char16_t c) { text.push_back(c); });
    return text;
}

}  // namespace

std::u16string decode(std::string_view bytes) {
    return decodeBytes(bytes, nullptr);
}

std::size_t decodeInto(std::string_view bytes, char16_t* out) {
    char16_t* next = out;
    decodeEach(bytes, nullptr, nullptr, [&next](char16_t c) { *next++ = c; });
    return std::size_t(next - out);
}

std::optional<std::u16string> decodeValid(std::string_view bytes) {
    bool valid = true;
    std::u16string text = decodeBytes(bytes, &valid);
    if (!valid)
        return std::nullopt;
    return text;
}

std::optional<std::string> encode(std::u16string_view text, std::u16string* badChar) {
    const EncodeTable& table = encodeTable();
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        const std::uint16_t code = table[c];
        if (code == 0 && c != 0) {
            if (badChar) {
                const bool pair = isHighSurrogate(c) && i + 1 < text.size() && isLowSurrogate(text[i + 1]);
                *badChar = std::u16string(text.substr(i, pair ? 2 : 1));
            }
            return std::nullopt;
        }
        if (code > 0xFF)
            bytes.push_back(static_cast<char>(code >> 8));
        bytes.push_back(static_cast<char>(code & 0xFF));
    }
    return bytes;
}

StoredText::StoredText(std::string_view bytes) : m_bytes(bytes) {
    m_text = decodeBytes(bytes, nullptr, &m_starts);
}

StoredText::Split StoredText::split(std::u16string_view edited) const {
    const std::size_t shorter = std::min(m_text.size(), edited.size());
    std::size_t head = 0;
    while (head < shorter && m_text[head] == edited[head])
        ++head;
    std::size_t tail = 0;
    while (tail < shorter - head && m_text[m_text.size() - 1 - tail] == edited[edited.size() - 1 - tail])
        ++tail;
    // Stored text holds no surrogates, so neither end cuts a pair of the edited text.
    return {m_starts[head], m_bytes.size() - m_starts[m_text.size() - tail],
            edited.substr(head, edited.size() - head - tail)};
}

std::optional<std::string> StoredText::encode(std::u16string_view edited, std::u16string* badChar) const {
    if (edited == m_text)
        return m_bytes;
    const Split parts = split(edited);
    const std::optional<std::string> middle = cp932::encode(parts.middle, badChar);
    if (!middle)
        return std::nullopt;
    const std::string head = m_bytes.substr(0, parts.keptHead);
    const std::string tail = m_bytes.substr(m_bytes.size() - parts.keptTail);
    const std::string bytes = head + *middle + tail;
    if (decode(bytes) != decode(head) + decode(*middle) + decode(tail)) {
        if (badChar)
            *badChar = u"\uFFFD";
        return std::nullopt;
    }
    return bytes;
}

std::size_t StoredText::length(std::u16string_view edited) const {
    const Split parts = split(edited);
    std::size_t n = parts.keptHead + parts.keptTail;
    if (parts.middle.empty())
        return n;  // the stored text itself: the encoding table is not needed (nor built)
    const EncodeTable& table = encodeTable();
    for (std::size_t i = 0; i < parts.middle.size(); ++i) {
        const char16_t c = parts.middle[i];
        if (isHighSurrogate(c) && i + 1 < parts.middle.size() && isLowSurrogate(parts.middle[i + 1]))
            ++i;  // one character, never stored
        const std::uint16_t code = table[c];
        n += (code == 0 && c != 0) || code > 0xFF ? 2 : 1;
    }
    return n;
}

}  // namespace cp932
