#pragma once

// Conversions between user text, real numbers and 16-bit integers.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sumvarl {

// Reads a number the forgiving way the settings boxes have always read it:
//   "1 5" -> 15, "12abc" -> 12, "abc" -> 0, "-2.5" -> -2.5, "1e3" -> 1000, "1,000" -> 1,
//   "&H1F" -> 31, "&O17" -> 15.
// The full-width digits, "＋", "－", "．", "Ｅ" and "ｅ" of a Chinese input method read as their
// ASCII forms: "２０" -> 20, "－１２．５" -> -12.5; "＆Ｈ" is no prefix. Blanks, tabs and line
// feeds are ignored anywhere. The result is always finite: a value too large for a double reads
// as the largest finite double of its sign.
double ReadNumber(std::u16string_view text);

// The text with those full-width forms replaced by their ASCII ones, everything else kept:
// "２０" -> "20", "２－５" -> "2-5", "第２张" -> "第2张".
std::u16string FoldFullWidth(std::u16string_view text);

// Round half to even into 16 bits: 2.5 -> 2, 3.5 -> 4, -2.5 -> -2. Empty when the rounded
// value (or a NaN or infinity) does not fit -32768..32767.
std::optional<std::int16_t> ToInt16(double value);

// floor(value) into 16 bits, empty when it does not fit.
std::optional<std::int16_t> FloorToInt16(double value);

// Plain decimal digits with a leading "-" for negatives: 0 -> "0", -12 -> "-12".
std::u16string DecimalText(long long value);

} // namespace sumvarl
