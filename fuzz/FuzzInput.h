#pragma once

// What the fuzz targets share: the rule check that ends a run, reading the input byte by byte,
// draws taken from the input and a lesson drawn from two bytes. Header-only so that each target
// stays one file in both the libFuzzer build and the replay build.

#include "core/Math.h"
#include "core/RandomSource.h"

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

// A trap rather than abort(): libFuzzer keeps the input either way, and the message names the
// rule that broke.
[[noreturn]] inline void Fail(const char* rule)
{
    std::fprintf(stderr, "fuzz rule broken: %s\n", rule);
    std::fflush(stderr);
    __builtin_trap();
}

inline void Require(bool holds, const char* rule)
{
    if (!holds) {
        Fail(rule);
    }
}

class InputReader
{
public:
    explicit InputReader(std::span<const std::uint8_t> data) : data_(data) {}

    // 0 once the input has run out, so that a short input means the defaults.
    std::uint8_t Byte()
    {
        if (pos_ >= data_.size()) {
            return 0;
        }
        return data_[pos_++];
    }

    std::uint16_t Word() { return static_cast<std::uint16_t>(Byte() | (Byte() << 8U)); }

    // One byte: below 0x80 it picks an entry of the table, otherwise its low 5 bits give the
    // length of a literal text that follows (bytes widened to UTF-16).
    std::u16string Text(std::span<const std::string_view> table)
    {
        const std::uint8_t selector = Byte();
        if (selector < 0x80) {
            const std::string_view entry = table[selector % table.size()];
            return {entry.begin(), entry.end()};
        }
        std::u16string text;
        for (int n = selector & 0x1F; n > 0 && pos_ < data_.size(); --n) {
            text.push_back(static_cast<char16_t>(data_[pos_++]));
        }
        return text;
    }

    std::span<const std::uint8_t> Rest() const { return data_.subspan(pos_); }

private:
    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
};

// Draws come from the input on the same 2^-24 grid as ClockRandom, so that the fuzzer can put a
// draw at 0 or just below 1. When the input runs out, a ClockRandom on a frozen clock takes
// over, which keeps every input reproducible. Every operation is logged for the checks.
class InputRandom final : public sumvarl::RandomSource
{
public:
    struct Event
    {
        bool reseed;
        float u;
    };

    InputRandom(std::span<const std::uint8_t> script, std::uint64_t seed)
        : script_(script), fallback_(seed, [] { return std::uint64_t{1'000'000}; })
    {}

    void Reseed() override
    {
        log.push_back({true, 0.0F});
        if (pos_ >= script_.size()) {
            fallback_.Reseed();
        }
    }

    float Draw() override
    {
        float u = 0.0F;
        if (pos_ + 3 <= script_.size()) {
            const std::uint32_t bits = script_[pos_] | (script_[pos_ + 1] << 8U) |
                                       (static_cast<std::uint32_t>(script_[pos_ + 2]) << 16U);
            pos_ += 3;
            u = static_cast<float>(bits) * 0x1.0p-24F;
        } else {
            pos_ = script_.size();
            u = fallback_.Draw();
        }
        Require(u >= 0.0F && u < 1.0F, "draws lie in [0, 1)");
        log.push_back({false, u});
        return u;
    }

    std::vector<Event> log;

private:
    std::span<const std::uint8_t> script_;
    std::size_t pos_ = 0;
    sumvarl::ClockRandom fallback_;
};

// Two zero bytes give the default lesson. rules: bits 0-1 the carry rule, bits 2-3 the borrow
// rule (3 counts as "any"), bit 4 remainders. tables: the low nibble is the first table (12..15
// stand for -4..-1), the high nibble h makes the last one 9 - h, so tables outside 0..9 and
// "from above to" come up as well.
inline Math::Lesson LessonFrom(std::uint8_t rules, std::uint8_t tables)
{
    const auto rule = [](unsigned bits) { return static_cast<Math::CarryRule>(bits % 3U); };
    const int low = tables & 0x0F;
    const int high = tables >> 4U;
    Math::Lesson lesson;
    lesson.carry = rule(rules & 3U);
    lesson.borrow = rule(rules >> 2U & 3U);
    lesson.remainder = (rules & 0x10U) != 0;
    lesson.remainderZero = (rules & 0x20U) != 0;
    lesson.tableFrom = static_cast<std::int16_t>(low < 12 ? low : low - 16);
    lesson.tableTo = static_cast<std::int16_t>(9 - high);
    return lesson;
}

} // namespace fuzz
