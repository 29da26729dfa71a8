#include "demo/DemoText.h"

#include <optional>
#include <stdexcept>

#include "data/Cp932.h"

namespace corvane::demo {
namespace {

std::u16string Utf16(std::string_view utf8)
{
    std::u16string out;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        std::size_t len = 0;
        char32_t c = 0;
        if (lead < 0x80) { len = 1; c = lead; }
        else if ((lead & 0xE0) == 0xC0) { len = 2; c = lead & 0x1F; }
        else if ((lead & 0xF0) == 0xE0) { len = 3; c = lead & 0x0F; }
        else throw std::logic_error("demo text is not UTF-8 of the basic plane");
        if (i + len > utf8.size())
            throw std::logic_error("demo text ends inside a UTF-8 character");
        for (std::size_t k = 1; k < len; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            if ((next & 0xC0) != 0x80)
                throw std::logic_error("demo text is not UTF-8");
            c = (c << 6) | (next & 0x3F);
        }
        out.push_back(static_cast<char16_t>(c));
        i += len;
    }
    return out;
}

} // namespace

std::string ToCp932(std::string_view utf8)
{
    std::optional<std::string> bytes = cp932::encode(Utf16(utf8));
    if (!bytes)
        throw std::logic_error("demo text has a character code page 932 cannot hold: " + std::string(utf8));
    return *bytes;
}

} // namespace corvane::demo
