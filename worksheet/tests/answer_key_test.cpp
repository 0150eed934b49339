// The answer key's line items: the sheet's text with every open place filled, checked against
// fixed strings and, for whole built worksheets, by working each problem out again from the
// sheet's own text.

#include "core/Math.h"
#include "core/RandomSource.h"
#include "testing/AnswerCheck.h"
#include "testing/RecordingSurface.h"
#include "testing/SheetSettings.h"
#include "testing/TableRows.h"
#include "worksheet/ProblemLine.h"
#include "worksheet/WorksheetBuilder.h"

#include <gtest/gtest.h>
#include <set>
#include <string>

namespace sumvarl {
namespace {

using testing::RecordingSurface;

using testing::SetRow;

std::string Utf8(std::u16string_view text)
{
    std::string out;
    for (const char16_t c : text) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

// The sheet's item before the 7-character cut, for rows too long to fit; the key is checked
// against the whole problem there.
std::u16string UncutItemText(int i, Variant variant)
{
    const auto& t = Math::WorksheetTable;
    const auto r = static_cast<std::size_t>(i);
    const std::u16string marker(BlankMarker(variant));
    std::u16string text = t.BlankKind[r] == 1 ? marker : t.Operand1Text[r];
    text += t.OperatorText[r];
    text += t.BlankKind[r] == 2 ? marker : t.Operand2Text[r];
    text += Math::EqualsSign;
    if (t.BlankKind[r] != 0) {
        text += t.ResultText[r];
    }
    return text;
}

struct KeyCase
{
    const char* name;
    Variant variant;
    const char16_t* a;
    const char16_t* op;
    const char16_t* b;
    const char16_t* result;
    std::int16_t kind;
    const char16_t* key;
};

void PrintTo(const KeyCase& c, std::ostream* os)
{
    *os << c.name;
}

class AnswerItemTest : public ::testing::TestWithParam<KeyCase>
{
};

TEST_P(AnswerItemTest, FillsTheOpenPlace)
{
    const KeyCase& c = GetParam();
    Math::ResetState();
    SetRow(1, c.a, c.op, c.b, c.result, c.kind);
    const std::u16string key = AnswerItemText(RowAt(1), c.variant);
    EXPECT_EQ(key, c.key) << Utf8(key);
    EXPECT_EQ(answercheck::CheckAnswer(UncutItemText(1, c.variant), key), "") << Utf8(key);
}

constexpr Variant Screen = Variant::Screen;
constexpr Variant Printer = Variant::Printer;

INSTANTIATE_TEST_SUITE_P(
    Rows, AnswerItemTest,
    ::testing::Values(
        KeyCase{"kind0_result_after_equals", Printer, u"12", u"＋", u"5", u"17", 0,
                u"   12＋5＝17"},
        KeyCase{"kind1_operand_in_brackets", Printer, u"12", u"＋", u"5", u"17", 1,
                u" (12)＋5＝17"},
        KeyCase{"kind2_operand_in_brackets", Printer, u"12", u"－", u"5", u"7", 2, u" 12－(5)＝7"},
        KeyCase{"kind2_exactly_seven", Printer, u"56", u"÷", u"8", u"7", 2, u" 56÷(8)＝7"},
        KeyCase{"kind1_two_digits_each", Printer, u"45", u"＋", u"54", u"99", 1, u"(45)＋54＝99"},
        KeyCase{"times_zero", Printer, u"0", u"×", u"7", u"0", 1, u"  (0)×7＝0"},
        KeyCase{"screen_fills_alike", Screen, u"12", u"＋", u"5", u"17", 1, u" (12)＋5＝17"},
        KeyCase{"screen_kind0", Screen, u"9", u"×", u"9", u"81", 0, u"    9×9＝81"},
        // Longer than 7: the sheet cuts its front, the key keeps every digit of the answer.
        KeyCase{"long_kind1_keeps_the_answer", Printer, u"100", u"＋", u"50", u"150", 1,
                u"(100)＋50＝150"},
        KeyCase{"long_kind2_keeps_the_answer", Printer, u"1000", u"－", u"999", u"1", 2,
                u"1000－(999)＝1"},
        KeyCase{"long_kind0_whole_problem", Printer, u"1000", u"＋", u"200", u"1200", 0,
                u"1000＋200＝1200"}),
    [](const auto& info) { return std::string(info.param.name); });

// Up to 7 characters the key is the sheet's item with the blank replaced, the same width.
TEST(AnswerLeftPart, SameWidthAsTheSheetUpToSevenCharacters)
{
    Math::ResetState();
    SetRow(1, u"3", u"＋", u"4", u"7", 1);
    EXPECT_EQ(LeftPart(RowAt(1), Printer), u" (  )＋4");
    EXPECT_EQ(AnswerLeftPart(RowAt(1)), u"  (3)＋4");
    EXPECT_EQ(AnswerLeftPart(RowAt(1)).size(), LeftPart(RowAt(1), Printer).size());
}

TEST(AnswerCheck, CatchesWrongKeys)
{
    using answercheck::CheckAnswer;
    EXPECT_NE(CheckAnswer(u"(  )＋5＝17", u"(11)＋5＝17"), "");
    EXPECT_NE(CheckAnswer(u"12＋5＝", u"12＋5＝18"), "");
    EXPECT_NE(CheckAnswer(u"12＋5＝", u"12＋5＝"), "") << "an unfilled result";
    EXPECT_NE(CheckAnswer(u"12＋(  )＝17", u"12＋(  )＝17"), "") << "an unfilled operand";
    EXPECT_NE(CheckAnswer(u"12＋(  )＝17", u"13＋(4)＝17"), "") << "a changed number";
    EXPECT_NE(CheckAnswer(u"12＋(  )＝17", u"12－(5)＝7"), "") << "another operator";
    EXPECT_EQ(CheckAnswer(u"0×(  )＝0", u"0×(3)＝0"), "") << "any factor of a zero product";
    EXPECT_EQ(CheckAnswer(u"17÷5＝", u"17÷5＝3……2"), "");
    EXPECT_NE(CheckAnswer(u"17÷5＝", u"17÷5＝3……1"), "") << "a wrong remainder";
    EXPECT_NE(CheckAnswer(u"17÷5＝", u"17÷5＝2……7"), "") << "a remainder above the divisor";
    EXPECT_NE(CheckAnswer(u"17÷5＝", u"17÷5＝3"), "") << "the remainder left out";
    EXPECT_NE(CheckAnswer(u"15÷5＝", u"15÷5＝3……0"), "") << "a remainder of 0 is not written";
}

// The printer's item and the screen's item of rows built by the real generator and builder.
struct BuildCase
{
    const char* name;
    std::array<std::int16_t, 4> cumulative;
    std::int16_t range;
    std::int16_t count;
    std::int16_t percent;
    Math::Lesson lesson{};
};

void PrintTo(const BuildCase& c, std::ostream* os)
{
    *os << c.name;
}

class BuiltKeyTest : public ::testing::TestWithParam<BuildCase>
{
};

TEST_P(BuiltKeyTest, EveryBlankFilledByTheRightNumber)
{
    const BuildCase& c = GetParam();
    testing::UseSettings(testing::MakeSettings(c.cumulative, 1, c.percent, c.count, c.range));
    Math::lesson = c.lesson;

    ClockRandom random(20261208, [] { return std::uint64_t{7}; });
    BuildHooks hooks;
    hooks.random = &random;
    ASSERT_FALSE(FillWorksheetTable(hooks).gaveUp);

    std::set<std::int16_t> kinds;
    int cut = 0;
    for (int i = 1; i <= c.count; ++i) {
        const auto r = static_cast<std::size_t>(i);
        kinds.insert(Math::WorksheetTable.BlankKind[r]);
        if (c.lesson.remainder && Math::WorksheetTable.OperatorText[r] == Math::DivideSign) {
            EXPECT_EQ(Math::WorksheetTable.BlankKind[r], 0) << "a remainder division with a blank";
        }
        for (const Variant variant : {Printer, Screen}) {
            std::u16string sheet = ItemText(RowAt(i), variant);
            const std::u16string uncut = UncutItemText(i, variant);
            if (uncut.size() > sheet.size()) {
                ++cut;
                sheet = uncut;
            }
            const std::u16string key = AnswerItemText(RowAt(i), variant);
            EXPECT_EQ(answercheck::CheckAnswer(sheet, key), "")
                << "problem " << i << ": " << Utf8(sheet) << " / " << Utf8(key);
        }
    }
    EXPECT_EQ(kinds, (std::set<std::int16_t>{0, 1, 2})) << "all three forms occur";
    EXPECT_EQ(cut > 0, c.range > 100) << "only numbers of 3 digits and more overflow 7 characters";

    // The key's rows stand where the sheet's do: same columns, same row breaks.
    RecordingSurface sheetPaper;
    RecordingSurface keyPaper;
    for (int i = 1; i <= c.count; ++i) {
        PrintProblemLine(sheetPaper, i, Printer);
        PrintProblemLine(keyPaper, i, Printer, true);
    }
    ASSERT_EQ(keyPaper.drawn.size(), sheetPaper.drawn.size());
    for (std::size_t k = 0; k < keyPaper.drawn.size(); ++k) {
        EXPECT_EQ(keyPaper.drawn[k].x, sheetPaper.drawn[k].x) << k;
        EXPECT_EQ(keyPaper.drawn[k].y, sheetPaper.drawn[k].y) << k;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Worksheets, BuiltKeyTest,
    ::testing::Values(BuildCase{"all_operations", {25, 50, 75, 100}, 100, 200, 60},
                      BuildCase{"addition_and_subtraction_to_20", {50, 100, 100, 100}, 20, 100, 80},
                      BuildCase{"times_and_division", {0, 0, 50, 100}, 100, 80, 90},
                      BuildCase{"range_1000_long_rows", {50, 100, 100, 100}, 1000, 200, 70},
                      BuildCase{"times_and_remainders",
                                {0, 0, 50, 100},
                                100,
                                150,
                                90,
                                {Math::CarryRule::Any, Math::CarryRule::Any, 2, 5, true}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace sumvarl
