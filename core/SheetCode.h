#pragma once

// The sheet code (卷号) printed on a worksheet: the whole SheetSpec as text, so that the same
// sheet can be made again from what is printed. A usual one-part sheet takes 16 symbols, shown
// as four groups of four: "7K3M-Q9XA-...". Other settings take a longer code.
//
// Symbols: 2-9 and A-Z without I, L and O, 31 in all. The last symbol is a check: the sum of
// symbol values times weights 1, 2, ..., 30, 1, 2, ... is 0 mod 31. As 31 is prime and every
// weight differs from its neighbours', every single changed symbol and every swap of two
// different neighbours is caught.
//
// The first symbol tells the format: 0..23 (2..S) a short code, 24 (T) a long code, 25 (U) a
// sheet kept in a child's history (its problems came from the history, not from a recipe, so
// the code is the sheet's number there), 26..30 (V..Z) reserved for later versions, which are
// refused as unknown.

#include "core/SheetSpec.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sumvarl {

inline constexpr std::u16string_view SheetCodeSymbols = u"23456789ABCDEFGHJKMNPQRSTUVWXYZ";
inline constexpr std::size_t ShortSheetCodeLength = 16; // symbols, without the dashes
inline constexpr int ShortSheetCodeSeedBits = 23;
inline constexpr std::size_t MaxSheetCodeParts = 255;
inline constexpr std::size_t KeptSheetCodeLength = 8;            // "U234-567X"
inline constexpr std::uint32_t KeptSheetNumberLimit = 887503681; // 31^6

enum class SheetCodeError : std::int8_t {
    None,
    Mistyped,       // a character that is no symbol of the code
    WrongLength,    // too short or too long for its format
    CheckFailed,    // a symbol mistyped or two swapped
    UnknownVersion, // a code of a later version of the program
    Malformed,      // the check holds, yet the symbols make no sheet
};

struct DecodedSheetCode
{
    std::optional<SheetSpec> recipe;
    SheetCodeError error = SheetCodeError::None;
    std::optional<std::uint32_t> keptSheet; // the number of a kept sheet's code
};

// Whether the recipe takes a short code: one part of the one-operation shape, the default lesson,
// each weight 0..100 and the total their sum, blanks off (percentage 0) or on with 0..100,
// range 0..1000, count 0..200, seed below 2^ShortSheetCodeSeedBits.
bool FitsShortSheetCode(const SheetSpec& recipe);

// The code in groups of four symbols joined by "-". Empty for a recipe of more than
// MaxSheetCodeParts parts.
std::u16string EncodeSheetCode(const SheetSpec& recipe);

// The code of the kept sheet of that number, below KeptSheetNumberLimit; empty beyond.
std::u16string EncodeKeptSheetCode(std::uint32_t number);

// Reads a code, ignoring case, blanks and dashes; full-width letters and digits read as ASCII.
DecodedSheetCode DecodeSheetCode(std::u16string_view text);

} // namespace sumvarl
