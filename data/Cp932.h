#pragma once

// Code page 932 (Microsoft Shift-JIS), the encoding of every text the game stores.
// This is the one place that converts between stored bytes and screen text (UTF-16).
//
// Single bytes: 0x00-0x7F are ASCII (0x5C is U+005C, 0x7E is U+007E), 0xA1-0xDF are the
// half-width katakana U+FF61-U+FF9F; as on Windows, 0x80 is U+0080 and 0xA0, 0xFD, 0xFE, 0xFF are
// U+F8F0-U+F8F3. Double bytes (lead 0x81-0x9F or 0xE0-0xFC, trail
// 0x40-0x7E or 0x80-0xFC) follow Microsoft's table, NEC and IBM extensions included;
// the user-defined area 0xF040-0xF9FC is U+E000-U+E757.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cp932 {

// Decode raw code page 932 bytes to UTF-16. Invalid or cut bytes become U+FFFD (never throws).
// Each byte that does not start a valid character gives one U+FFFD and decoding goes on with
// the next byte, so an ASCII byte after a bad lead byte is kept.
std::u16string decode(std::string_view bytes);
// The same into `out`, which has room for bytes.size() units; returns how many it wrote.
std::size_t decodeInto(std::string_view bytes, char16_t* out);

// The same, or nothing when some byte does not start a valid character (where decode would give
// U+FFFD). A character with several codes decodes from each of them.
std::optional<std::u16string> decodeValid(std::string_view bytes);

// Encode UTF-16 to code page 932. Returns std::nullopt and sets *badChar (if given) to the first
// character (as UTF-16 code units) that code page 932 cannot hold; never substitutes '?'.
// A character with several codes gets the one Windows writes (e.g. U+2252 -> 0x81E0,
// U+2160 -> 0x8754, U+2170 -> 0xFA40). A surrogate pair is one character (never encodable);
// a lone surrogate is reported on its own.
std::optional<std::string> encode(std::u16string_view text, std::u16string* badChar = nullptr);

// True for bytes that start a double-byte character (0x81-0x9F, 0xE0-0xFC).
bool isLeadByte(unsigned char b);

// Text decoded from stored bytes, for editing: what the user leaves as it was goes back to the bytes
// it came from, even where those bytes are no clean text (a replacement character for a double-byte
// character cut off at the end of a field) or where a character has several codes.
class StoredText {
public:
    StoredText() : StoredText(std::string_view()) {}
    explicit StoredText(std::string_view bytes);

    const std::string& bytes() const { return m_bytes; }
    const std::u16string& text() const { return m_text; }

    // The bytes of an edited version of text(). The start and the end that the edit left as they
    // were keep their stored bytes; what lies between is encoded. Nothing, with *badChar (if given)
    // set, when a character there cannot be stored (U+FFFD typed or pasted, for one), or when kept
    // bytes would join the new ones into another character (*badChar is then U+FFFD).
    std::optional<std::string> encode(std::u16string_view edited, std::u16string* badChar = nullptr) const;

    // The number of bytes encode gives for edited; a character that cannot be stored counts as two.
    std::size_t length(std::u16string_view edited) const;

private:
    struct Split {
        std::size_t keptHead;  // bytes kept from the start
        std::size_t keptTail;  // bytes kept from the end
        std::u16string_view middle;
    };
    Split split(std::u16string_view edited) const;

    std::string m_bytes;
    std::u16string m_text;
    std::vector<std::size_t> m_starts;  // where each character of m_text starts in m_bytes, then the end
};

}  // namespace cp932
