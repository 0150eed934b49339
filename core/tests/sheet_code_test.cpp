#include "core/SheetCode.h"
#include "testing/RandomSpecs.h"
#include "testing/Utf8.h"

#include <gtest/gtest.h>

namespace sumvarl {
namespace {

using testing::RandomSpecs;
using testing::Utf8;

PartSpec UsualPart()
{
    PartSpec p;
    p.cumulativeWeight = {25, 50, 75, 100};
    p.weightTotal = 100;
    p.fillBlankOn = 1;
    p.fillBlankPercent = 30;
    p.numberRange = 100;
    p.problemCount = 100;
    return p;
}

std::u16string Symbols(std::u16string_view code)
{
    std::u16string symbols(code);
    std::erase(symbols, u'-');
    return symbols;
}

// The check symbol by the rule the code's readers are told: weights 1, 2, ..., 30, 1, ...
std::u16string WithCheck(std::u16string symbols)
{
    int sum = 0;
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        sum += static_cast<int>((i % 30 + 1) * SheetCodeSymbols.find(symbols[i]));
    }
    const int weight = static_cast<int>(symbols.size() % 30 + 1);
    int c = 0;
    while ((sum + weight * c) % 31 != 0) {
        ++c;
    }
    return symbols + SheetCodeSymbols[static_cast<std::size_t>(c)];
}

SheetCodeError ErrorOf(std::u16string_view code)
{
    return DecodeSheetCode(code).error;
}

TEST(SheetCodeTest, ReadsBackEverySpec)
{
    RandomSpecs random(20240601);
    for (int n = 0; n < 100'000; ++n) {
        const bool usual = n % 2 == 0;
        const SheetSpec recipe = usual ? random.Usual(ShortSheetCodeSeedBits) : random.Extreme(3);
        const std::u16string code = EncodeSheetCode(recipe);
        const DecodedSheetCode decoded = DecodeSheetCode(code);
        ASSERT_EQ(decoded.error, SheetCodeError::None) << Utf8(code);
        ASSERT_TRUE(decoded.recipe == recipe) << Utf8(code);
        if (usual) {
            ASSERT_TRUE(FitsShortSheetCode(recipe));
            ASSERT_EQ(code.size(), 19U) << Utf8(code);
        }
    }
}

TEST(SheetCodeTest, ShortCodesHoldTheUsualLimits)
{
    PartSpec top = UsualPart();
    top.cumulativeWeight = {100, 200, 300, 400};
    top.weightTotal = 400;
    top.fillBlankPercent = 100;
    top.numberRange = 1000;
    top.problemCount = 200;
    const std::uint64_t lastSeed = (std::uint64_t{1} << ShortSheetCodeSeedBits) - 1;
    const std::u16string code = EncodeSheetCode({{top}, lastSeed});
    EXPECT_EQ(code.size(), 19U);
    EXPECT_TRUE(DecodeSheetCode(code).recipe == (SheetSpec{{top}, lastSeed}));
    EXPECT_EQ(EncodeSheetCode({{PartSpec{}}, 0}).size(), 19U);

    // One step past any limit takes a long code.
    EXPECT_FALSE(FitsShortSheetCode({{top}, lastSeed + 1}));
    PartSpec off = UsualPart();
    off.fillBlankOn = 0; // a percentage kept while blanks are off
    EXPECT_FALSE(FitsShortSheetCode({{off}, 0}));
    PartSpec lesson = UsualPart();
    lesson.lesson.remainder = true;
    EXPECT_FALSE(FitsShortSheetCode({{lesson}, 0}));
    EXPECT_FALSE(FitsShortSheetCode({{UsualPart(), UsualPart()}, 0}));
    EXPECT_FALSE(FitsShortSheetCode({{}, 0}));
    EXPECT_EQ(EncodeSheetCode({std::vector<PartSpec>(MaxSheetCodeParts + 1), 0}), u"");
}

// A later version that changes either format fails here.
TEST(SheetCodeTest, KnownCodes)
{
    EXPECT_EQ(Utf8(EncodeSheetCode({{UsualPart()}, 123456})), "2CTR-HPV6-YSAF-V7X7");
    PartSpec chain = UsualPart();
    chain.lesson = Lesson{CarryRule::Always, CarryRule::Never, 2, 5, true};
    chain.numberRange = -15;
    EXPECT_EQ(Utf8(EncodeSheetCode({{UsualPart(), chain}, 0xFEDCBA9876543210ULL})),
              "T4HM-GXX8-V7WC-UQUK-V83M-5M9D-GJA4-MYK8-GXHT-QJA5-AZZM-Q72Z");
    // Exact divisions among the remainders: a setting added later, so the code above, written
    // without it, still reads as it did.
    chain.lesson.remainderZero = true;
    const std::u16string withZero = EncodeSheetCode({{UsualPart(), chain}, 0xFEDCBA9876543210ULL});
    EXPECT_NE(Utf8(withZero), "T4HM-GXX8-V7WC-UQUK-V83M-5M9D-GJA4-MYK8-GXHT-QJA5-AZZM-Q72Z");
    EXPECT_TRUE(DecodeSheetCode(withZero).recipe->parts[1].lesson.remainderZero);
    EXPECT_FALSE(DecodeSheetCode(withZero).recipe->parts[0].lesson.remainderZero);
}

TEST(SheetCodeTest, EveryTypoIsRefused)
{
    RandomSpecs random(7);
    for (int n = 0; n < 200; ++n) {
        const SheetSpec recipe =
            n % 2 == 0 ? random.Usual(ShortSheetCodeSeedBits) : random.Extreme(2);
        const std::u16string code = Symbols(EncodeSheetCode(recipe));
        for (std::size_t i = 0; i < code.size(); ++i) {
            for (const char16_t c : SheetCodeSymbols) {
                if (c != code[i]) {
                    std::u16string typo = code;
                    typo[i] = c;
                    ASSERT_NE(ErrorOf(typo), SheetCodeError::None) << Utf8(typo);
                }
            }
            if (i + 1 < code.size() && code[i] != code[i + 1]) {
                std::u16string swapped = code;
                std::swap(swapped[i], swapped[i + 1]);
                ASSERT_NE(ErrorOf(swapped), SheetCodeError::None) << Utf8(swapped);
            }
        }
    }
}

TEST(SheetCodeTest, ReadsAsTypedAndNamesWhatIsWrong)
{
    const SheetSpec recipe{{UsualPart()}, 99};
    const std::u16string code = EncodeSheetCode(recipe);
    std::u16string loose;
    for (const char16_t c : Symbols(code)) {
        // lower case, full-width and blanks as a Chinese input method may leave them
        loose += c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a')
                                        : static_cast<char16_t>(c + 0xFEE0);
        loose += u' ';
    }
    EXPECT_TRUE(DecodeSheetCode(loose).recipe == recipe) << Utf8(loose);

    EXPECT_EQ(ErrorOf(u"O" + code.substr(1)), SheetCodeError::Mistyped);
    EXPECT_EQ(ErrorOf(code.substr(1)), SheetCodeError::WrongLength);
    EXPECT_EQ(ErrorOf(u""), SheetCodeError::WrongLength);
    // The check holds, yet the first symbol names a later format.
    EXPECT_EQ(ErrorOf(WithCheck(u"V2345678")), SheetCodeError::UnknownVersion);
    // Past the last short recipe; one part of shape 10, the first unknown (10 * 2^72 + 1); a long
    // code padded with a zero.
    EXPECT_EQ(ErrorOf(WithCheck(u"SZZZZZZZZZZZZZZ")), SheetCodeError::Malformed);
    EXPECT_EQ(ErrorOf(WithCheck(u"T42E275YU5JDWH25C")), SheetCodeError::Malformed);
    static_assert(ProblemShapeCount == 10);
    const std::u16string longCode = Symbols(EncodeSheetCode({{UsualPart()}, 1ULL << 40}));
    EXPECT_EQ(ErrorOf(longCode), SheetCodeError::None);
    EXPECT_EQ(ErrorOf(WithCheck(u"T2" + longCode.substr(1, longCode.size() - 2))),
              SheetCodeError::Malformed);
}

TEST(SheetCodeTest, KeptSheetsReadBackTheirNumberAndCatchTypos)
{
    for (const std::uint32_t number : {0U, 1U, 31U, 123456U, KeptSheetNumberLimit - 1}) {
        const std::u16string code = EncodeKeptSheetCode(number);
        ASSERT_EQ(code.size(), KeptSheetCodeLength + 1) << number; // with its dash
        const DecodedSheetCode read = DecodeSheetCode(code);
        EXPECT_EQ(read.keptSheet, number) << Utf8(code);
        EXPECT_FALSE(read.recipe.has_value());
        const std::u16string symbols = Symbols(code);
        for (std::size_t i = 0; i + 1 < symbols.size(); ++i) {
            std::u16string typo = symbols;
            typo[i] = typo[i] == u'9' ? u'8' : u'9';
            EXPECT_NE(ErrorOf(typo), SheetCodeError::None) << Utf8(typo);
            std::u16string swapped = symbols;
            std::swap(swapped[i], swapped[i + 1]);
            EXPECT_TRUE(swapped == symbols || ErrorOf(swapped) != SheetCodeError::None)
                << Utf8(swapped);
        }
    }
    EXPECT_TRUE(EncodeKeptSheetCode(KeptSheetNumberLimit).empty());
    EXPECT_EQ(ErrorOf(WithCheck(u"U23456")), SheetCodeError::WrongLength);
}

} // namespace
} // namespace sumvarl
