#pragma once

#include <string>
#include <string_view>

namespace sumvarl::testing {

// UTF-16 as UTF-8, for golden files and failure messages; the program's texts stay in the BMP.
inline std::string Utf8(std::u16string_view text)
{
    std::string out;
    for (const char16_t c : text) {
        const auto u = static_cast<unsigned>(c);
        if (u < 0x80) {
            out += static_cast<char>(u);
        } else if (u < 0x800) {
            out += static_cast<char>(0xC0 | (u >> 6));
            out += static_cast<char>(0x80 | (u & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (u >> 12));
            out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return out;
}

} // namespace sumvarl::testing
