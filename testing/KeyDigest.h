#pragma once

#include <cstdint>
#include <string_view>

namespace sumvarl::testing {

// FNV-1a over UTF-16 code units, each text closed by a 0 so that "1","23" and "12","3" differ.
// Golden tests fold thousands of problems into one number this way.
class KeyDigest
{
public:
    void Add(std::u16string_view text)
    {
        for (const char16_t c : text) {
            Mix(c);
        }
        Mix(0);
    }
    void Add(std::int64_t value) { Mix(static_cast<std::uint64_t>(value)); }
    std::uint64_t Value() const { return hash_; }

private:
    void Mix(std::uint64_t unit)
    {
        hash_ ^= unit;
        hash_ *= 0x100000001B3ULL;
    }
    std::uint64_t hash_ = 0xCBF29CE484222325ULL;
};

} // namespace sumvarl::testing
