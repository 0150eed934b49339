// Sheet codes typed by hand: any text is read without a crash, and a text that reads as a sheet
// is that sheet's one code (encoding what was read gives the same symbols back). And any recipe
// drawn from the input comes back whole from its own code.

#include "FuzzInput.h"
#include "core/SheetCode.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace {

using fuzz::Require;

// Only the symbols, upper case: how a code compares once blanks, dashes, case and full-width
// forms are put aside.
std::u16string Symbols(std::u16string_view text)
{
    std::u16string symbols;
    for (char16_t c : text) {
        if (c >= u'\uFF01' && c <= u'\uFF5E') {
            c = static_cast<char16_t>(c - 0xFEE0);
        }
        if (c >= u'a' && c <= u'z') {
            c = static_cast<char16_t>(c - u'a' + u'A');
        }
        if (sumvarl::SheetCodeSymbols.find(c) != std::u16string_view::npos) {
            symbols.push_back(c);
        }
    }
    return symbols;
}

void CheckTyped(std::u16string_view typed)
{
    const sumvarl::DecodedSheetCode read = sumvarl::DecodeSheetCode(typed);
    Require((read.recipe.has_value() || read.keptSheet.has_value()) ==
                (read.error == sumvarl::SheetCodeError::None),
            "a code is either read or refused with a reason");
    Require(!(read.recipe && read.keptSheet), "a code is a recipe or a kept sheet, not both");
    if (read.recipe) {
        Require(Symbols(sumvarl::EncodeSheetCode(*read.recipe)) == Symbols(typed),
                "a code that reads as a sheet is that sheet's code");
    }
    if (read.keptSheet) {
        Require(Symbols(sumvarl::EncodeKeptSheetCode(*read.keptSheet)) == Symbols(typed),
                "a code that reads as a kept sheet is that sheet's code");
    }
}

std::int16_t Value(fuzz::InputReader& in)
{
    // Mostly the usual small values, sometimes any 16-bit one.
    const std::uint8_t how = in.Byte();
    return how < 0xC0 ? static_cast<std::int16_t>(how % 101) : static_cast<std::int16_t>(in.Word());
}

sumvarl::SheetSpec SpecFrom(fuzz::InputReader& in)
{
    sumvarl::SheetSpec recipe;
    const int parts = in.Byte() % 4;
    for (int k = 0; k < parts; ++k) {
        sumvarl::PartSpec part;
        std::int16_t total = 0;
        for (std::int16_t& weight : part.cumulativeWeight) {
            total = static_cast<std::int16_t>(total + Value(in));
            weight = total;
        }
        part.weightTotal = in.Byte() < 0xF0 ? total : Value(in);
        part.fillBlankOn = static_cast<std::int16_t>(in.Byte() % 3);
        part.fillBlankPercent = Value(in);
        part.numberRange = static_cast<std::int16_t>(Value(in) * 10);
        part.problemCount = Value(in);
        const std::uint8_t rules = in.Byte();
        part.lesson = fuzz::LessonFrom(rules, in.Byte());
        recipe.parts.push_back(part);
    }
    recipe.seed = in.Byte() < 0x80 ? in.Word() : (std::uint64_t{in.Word()} << 48U) | in.Word();
    return recipe;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::InputReader in(std::span(data, size));
    if (in.Byte() % 2 == 0) {
        std::u16string typed;
        for (std::uint8_t b = in.Byte(); b != 0; b = in.Byte()) {
            typed.push_back(b < 0x80 ? static_cast<char16_t>(b) : static_cast<char16_t>(in.Word()));
        }
        CheckTyped(typed);
        return 0;
    }
    const sumvarl::SheetSpec recipe = SpecFrom(in);
    const std::u16string code = sumvarl::EncodeSheetCode(recipe);
    const sumvarl::DecodedSheetCode read = sumvarl::DecodeSheetCode(code);
    Require(read.recipe.has_value() && *read.recipe == recipe,
            "every recipe comes back from its code");
    Require(!sumvarl::FitsShortSheetCode(recipe) || Symbols(code).size() == 16,
            "a usual sheet's code is 16 symbols");
    return 0;
}
