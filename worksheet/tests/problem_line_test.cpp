#include "core/Math.h"
#include "testing/Problems.h"
#include "testing/RecordingSurface.h"
#include "testing/TableRows.h"
#include "worksheet/ProblemLine.h"

#include <gtest/gtest.h>

namespace sumvarl {
namespace {

using testing::RecordingSurface;

using testing::SetRow;

struct LineCase
{
    const char* name;
    Variant variant;
    const char16_t* a;
    const char16_t* op;
    const char16_t* b;
    const char16_t* result;
    std::int16_t kind;
    const char16_t* left;
    const char16_t* item;
};

// Names the row instead of GoogleTest's byte dump, which reads the padding.
void PrintTo(const LineCase& c, std::ostream* os)
{
    *os << c.name;
}

class LineItemTest : public ::testing::TestWithParam<LineCase>
{
};

TEST_P(LineItemTest, JustifiesToSevenCharacters)
{
    const LineCase& c = GetParam();
    Math::ResetState();
    SetRow(1, c.a, c.op, c.b, c.result, c.kind);
    EXPECT_EQ(LeftPart(RowAt(1), c.variant), c.left);
    EXPECT_EQ(LeftPart(RowAt(1), c.variant).size(), 7U);
    EXPECT_EQ(ItemText(RowAt(1), c.variant), c.item);
}

constexpr Variant Screen = Variant::Screen;
constexpr Variant Printer = Variant::Printer;

INSTANTIATE_TEST_SUITE_P(
    Rows, LineItemTest,
    ::testing::Values(
        LineCase{"kind0", Screen, u"12", u"＋", u"5", u"17", 0, u"   12＋5", u"   12＋5＝"},
        LineCase{"kind1", Screen, u"12", u"＋", u"5", u"17", 1, u"  ( )＋5", u"  ( )＋5＝17"},
        LineCase{"kind2", Screen, u"12", u"＋", u"5", u"17", 2, u" 12＋( )", u" 12＋( )＝17"},
        LineCase{"equal_operands", Screen, u"99", u"－", u"99", u"0", 0, u"  99－99",
                 u"  99－99＝"},
        LineCase{"too_long_loses_front", Screen, u"1000", u"＋", u"200", u"1200", 0, u"000＋200",
                 u"000＋200＝"},
        LineCase{"exactly_seven", Screen, u"100", u"＋", u"100", u"200", 0, u"100＋100",
                 u"100＋100＝"},
        LineCase{"eight_loses_one", Screen, u"1000", u"＋", u"100", u"1100", 0, u"000＋100",
                 u"000＋100＝"},
        LineCase{"division", Screen, u"56", u"÷", u"7", u"8", 1, u"  ( )÷7", u"  ( )÷7＝8"},
        LineCase{"empty_row", Screen, u"", u"", u"", u"", 0, u"       ", u"       ＝"},
        LineCase{"printer_kind0", Printer, u"12", u"＋", u"5", u"17", 0, u"   12＋5",
                 u"   12＋5＝"},
        LineCase{"printer_kind1", Printer, u"12", u"＋", u"5", u"17", 1, u" (  )＋5",
                 u" (  )＋5＝17"},
        LineCase{"printer_kind2_exactly_seven", Printer, u"12", u"－", u"5", u"7", 2, u"12－(  )",
                 u"12－(  )＝7"},
        LineCase{"printer_kind1_eight", Printer, u"3", u"＋", u"100", u"103", 1, u"  )＋100",
                 u"  )＋100＝103"},
        LineCase{"screen_kind1_seven", Screen, u"3", u"＋", u"100", u"103", 1, u"( )＋100",
                 u"( )＋100＝103"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TabColumn, FourProblemsToARow)
{
    const std::array<int, 8> screen{0, 24, 48, 72, 0, 24, 48, 72};
    const std::array<int, 8> printer{4, 21, 38, 55, 4, 21, 38, 55};
    for (int i = 1; i <= 8; ++i) {
        EXPECT_EQ(TabColumn(i, Variant::Screen), screen[static_cast<std::size_t>(i - 1)]) << i;
        EXPECT_EQ(TabColumn(i, Variant::Printer), printer[static_cast<std::size_t>(i - 1)]) << i;
    }
}

TEST(PrintProblemLine, ScreenRowEndsAfterTheFourthProblem)
{
    Math::ResetState();
    for (int i = 1; i <= 5; ++i) {
        SetRow(i, u"1", u"＋", u"1", u"2", 0);
    }
    RecordingSurface s;
    for (int i = 1; i <= 5; ++i) {
        PrintProblemLine(s, i, Variant::Screen);
    }
    ASSERT_EQ(s.drawn.size(), 5U);
    const std::array<double, 5> x{0, 2300, 4700, 7100, 0};
    const std::array<double, 5> y{0, 0, 0, 0, 240};
    for (std::size_t k = 0; k < 5; ++k) {
        EXPECT_EQ(s.drawn[k].x, x[k]) << k;
        EXPECT_EQ(s.drawn[k].y, y[k]) << k;
    }
    EXPECT_GT(s.CurrentX(), 0) << "the last row stays open";
}

// On paper two 12-point line ends separate 16-point rows.
TEST(PrintProblemLine, PrinterRowBreakUsesTwoSmallLines)
{
    Math::ResetState();
    for (int i = 1; i <= 6; ++i) {
        SetRow(i, u"1", u"＋", u"1", u"2", 0);
    }
    RecordingSurface s;
    s.SetFontSize(16);
    for (int i = 1; i <= 6; ++i) {
        PrintProblemLine(s, i, Variant::Printer);
    }
    ASSERT_EQ(s.drawn.size(), 6U);
    EXPECT_EQ(s.drawn[0].x, 300);
    EXPECT_EQ(s.drawn[3].x, 5400);
    EXPECT_EQ(s.drawn[4].x, 300);
    EXPECT_EQ(s.drawn[5].x, 2000);
    EXPECT_EQ(s.drawn[4].y, 2 * 240);
    EXPECT_EQ(s.drawn[4].font.size, 16);
    EXPECT_EQ(s.Font().size, 16);
}

} // namespace
} // namespace sumvarl

namespace sumvarl {
namespace {

// A chain keeps its whole text at 10 characters, the blank where its open number stands, and the
// key fills that number in.
TEST(ChainItems, WholeWithTheBlankInPlace)
{
    using testing::Chain;
    const model::Problem middle = Chain(8, Operation::Add, 5, Operation::Subtract, 6, 7, 2);
    EXPECT_EQ(ItemText(RowOf(middle), Variant::Screen), u"   8＋( )－6＝7");
    EXPECT_EQ(ItemText(RowOf(middle), Variant::Printer), u"  8＋(  )－6＝7");
    EXPECT_EQ(AnswerItemText(RowOf(middle), Variant::Screen), u"   8＋(5)－6＝7");
    const model::Problem inBrackets =
        Chain(36, Operation::Divide, 2, Operation::Add, 4, 6, 3, Brackets::LastTwo);
    EXPECT_EQ(ItemText(RowOf(inBrackets), Variant::Screen), u"36÷（2＋( )）＝6");
    EXPECT_EQ(AnswerItemText(RowOf(inBrackets), Variant::Printer), u"36÷（2＋(4)）＝6");
    // Longer than 10: nothing is cut, where a one-operation problem loses its front.
    const model::Problem wide = Chain(1234, Operation::Add, 567, Operation::Subtract, 89, 1712);
    EXPECT_EQ(ItemText(RowOf(wide), Variant::Screen), u"1234＋567－89＝");
}

} // namespace
} // namespace sumvarl
