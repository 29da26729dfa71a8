#pragma once
// UTF-8 <-> UTF-16 for the Qt-free layers (texts of exchange files and of the command-line tool).
#include <optional>
#include <string>
#include <string_view>

namespace utf8 {

// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
std::string fromUtf16(std::u16string_view text);

// UTF-8 to UTF-16; std::nullopt when the bytes are not well-formed UTF-8 (overlong forms,
// surrogates and values above U+10FFFF included).
std::optional<std::u16string> toUtf16(std::string_view text);

// Code page 932 bytes shown as UTF-8 (bytes that are not code page 932 text become U+FFFD).
std::string fromCp932(std::string_view bytes);

}  // namespace utf8
