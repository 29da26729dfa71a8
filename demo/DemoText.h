#pragma once
// Code page 932 bytes for the demo's own texts, written in the sources as UTF-8.

#include <string>
#include <string_view>

namespace corvane::demo {

// The code page 932 bytes of a UTF-8 text. Throws std::logic_error for broken UTF-8 or a character
// that code page 932 cannot hold, so a bad demo name fails at once instead of producing odd bytes.
std::string ToCp932(std::string_view utf8);

} // namespace corvane::demo
