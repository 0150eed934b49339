#pragma once

// The kinds of problems worked in columns on paper (竖式). Values are stored in sheet codes:
// append only.

#include <array>
#include <cstdint>

namespace sumvarl {

enum class VerticalKind : std::int8_t {
    None,                  // one-line problems
    TwoDigitAddSubtract,   // 两位数加减 46＋38, 72－35 (within 100)
    ThreeDigitAddSubtract, // 三位数加减 456＋789, 503－178
    ManyDigitsByOneDigit,  // 多位数乘一位数 124×3, 120×3
    TwoDigitByTwoDigit,    // 两位数乘两位数 23×12, 34×20
    DivideByOneDigit,      // 除数是一位数的除法 156÷3, 157÷3＝52……1
    DivideByTwoDigit,      // 除数是两位数的除法 432÷36
};
inline constexpr int VerticalKindCount = 7;

inline constexpr std::array<int, 3> VerticalPerPageChoices{4, 6, 8};

// How a 竖式 sheet is set out on paper; it does not change the problems, so no sheet code holds it.
struct VerticalPaper
{
    bool grid = false;     // one square for each digit
    bool checkBox = false; // a box headed 验算 under each problem
    int perPage = 6;       // 4, 6 or 8

    bool operator==(const VerticalPaper&) const = default;
};

} // namespace sumvarl
