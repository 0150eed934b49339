// The printed worksheet's statements, recorded on a surface with round metrics so that every
// position can be checked to the twip.

#include "core/Math.h"
#include "core/NumberText.h"
#include "print/PrinterJob.h"
#include "testing/PrintTestSupport.h"
#include "testing/RecordingSurface.h"
#include "worksheet/ProblemLine.h"

#include <gtest/gtest.h>

namespace {

using printtest::Row;
using sumvarl::testing::RecordingSurface;

constexpr std::u16string_view DateLine = u"日期：__年__月__日  用时：_______  得分：_______";

// Heights in the recording surface: two empty 24-point lines, the title, one empty 12-point
// line, the count line, one empty 12-point line.
const double TitleTop = 2 * RecordingSurface::Line(24);
const double CountTop = 3 * RecordingSurface::Line(24) + RecordingSurface::Line(12);
const double RowsTop = CountTop + 2 * RecordingSurface::Line(12);
const double RowPitch = 2 * RecordingSurface::Line(12);
const int Columns[] = {4, 21, 38, 55};

// Problem i's left edge: its column of the 16-point font.
double ColumnX(int i)
{
    return (Columns[(i - 1) % 4] - 1) * RecordingSurface::ScaledColumn(16);
}

double RowY(int i)
{
    const int row = (i - 1) / 4; // whole rows of four above problem i
    return RowsTop + row * RowPitch;
}

RecordingSurface Printed()
{
    RecordingSurface surface(RecordingSurface::Columns::Scaled);
    sumvarl::PrintWorksheetDocument(surface);
    return surface;
}

TEST(PrintedHeading, HasTheTitleCountAndDateLinesInOrderAtTheirPositions)
{
    printtest::SetCountingWorksheet(10);
    RecordingSurface surface(RecordingSurface::Columns::Scaled);
    // Whatever the surface had before, the heading sets its own font.
    surface.SetFontName(u"Arial");
    surface.SetFontSize(8);
    surface.SetFontBold(true);
    surface.SetFontUnderline(true);
    sumvarl::PrintWorksheetDocument(surface);

    ASSERT_GE(surface.drawn.size(), 5u);
    const sumvarl::FontSpec title{u"宋体", 24, false, false};
    const sumvarl::FontSpec small{u"宋体", 12, false, false};
    const double c12 = RecordingSurface::ScaledColumn(12);
    struct Expected
    {
        std::u16string_view text;
        double x;
        double y;
        sumvarl::FontSpec font;
    };
    const Expected heading[] = {
        {sumvarl::PrintTitle, 2500, TitleTop, title}, {u"题目数：", 3500, CountTop, small},
        {u"10", 3500 + 4 * c12, CountTop, small},     {u"题     ", 3500 + 6 * c12, CountTop, small},
        {DateLine, 3500 + 12 * c12, CountTop, small},
    };
    for (std::size_t k = 0; k < std::size(heading); ++k) {
        SCOPED_TRACE(k);
        const auto& d = surface.drawn[k];
        EXPECT_EQ(d.text, heading[k].text);
        EXPECT_DOUBLE_EQ(d.x, heading[k].x);
        EXPECT_DOUBLE_EQ(d.y, heading[k].y);
        EXPECT_EQ(d.font, heading[k].font);
    }
    EXPECT_EQ(surface.drawn[5].font, (sumvarl::FontSpec{u"宋体", 16, false, false}));
    EXPECT_DOUBLE_EQ(surface.drawn[5].y, RowsTop);
    EXPECT_EQ(surface.clears, 0);
}

class PrintedRows : public testing::TestWithParam<int>
{
};

TEST_P(PrintedRows, StandFourToARowAtTheWideColumnsWithNoLineEndAfterTheLast)
{
    const int count = GetParam();
    printtest::SetCountingWorksheet(count);
    const RecordingSurface surface = Printed();

    const std::size_t headingTexts = 5;
    ASSERT_EQ(surface.drawn.size(), headingTexts + static_cast<std::size_t>(count));
    for (int i = 1; i <= count; ++i) {
        SCOPED_TRACE(i);
        const auto& d = surface.drawn[headingTexts + static_cast<std::size_t>(i - 1)];
        EXPECT_EQ(d.text, sumvarl::ItemText(sumvarl::RowAt(i), sumvarl::Variant::Printer));
        EXPECT_DOUBLE_EQ(d.x, ColumnX(i));
        EXPECT_DOUBLE_EQ(d.y, RowY(i));
        EXPECT_EQ(d.font, (sumvarl::FontSpec{u"宋体", 16, false, false}));
    }
    // A full last row is followed by its row break; a partial one is left open.
    const int fullRows = count / 4;
    EXPECT_DOUBLE_EQ(surface.CurrentY(), RowsTop + fullRows * RowPitch);
    if (count % 4 == 0) {
        EXPECT_DOUBLE_EQ(surface.CurrentX(), 0.0);
    } else {
        const auto& last = surface.drawn.back();
        EXPECT_DOUBLE_EQ(surface.CurrentX(),
                         last.x + RecordingSurface::ScaledColumn(16) * double(last.text.size()));
    }
    EXPECT_EQ(surface.Font().size, 16);
}

INSTANTIATE_TEST_SUITE_P(Counts, PrintedRows, testing::Values(0, 1, 3, 4, 5, 8, 10, 13, 100, 200),
                         [](const testing::TestParamInfo<int>& info) {
                             return "Count" + std::to_string(info.param);
                         });

TEST(PrintedRows, TenProblemsMakeRowsOfFourFourAndTwo)
{
    printtest::SetCountingWorksheet(10);
    const RecordingSurface surface = Printed();
    std::vector<int> perRow(3, 0);
    for (std::size_t k = 5; k < surface.drawn.size(); ++k) {
        const double row = (surface.drawn[k].y - RowsTop) / RowPitch;
        ASSERT_GE(row, 0);
        ASSERT_LT(row, 3);
        ++perRow[static_cast<std::size_t>(row)];
    }
    EXPECT_EQ(perRow, (std::vector<int>{4, 4, 2}));
    // Problem 5 opens the second row at column 4, 6 is at 21, 8 at 55.
    EXPECT_DOUBLE_EQ(surface.drawn[5 + 4].x, 3 * RecordingSurface::ScaledColumn(16));
    EXPECT_DOUBLE_EQ(surface.drawn[5 + 5].x, 20 * RecordingSurface::ScaledColumn(16));
    EXPECT_DOUBLE_EQ(surface.drawn[5 + 7].x, 54 * RecordingSurface::ScaledColumn(16));
}

TEST(PrintedRows, FillInProblemsShowTheWideMarkerAndTheirResult)
{
    const std::u16string plus(Math::PlusSign), minus(Math::MinusSign);
    const std::u16string times(Math::TimesSign), divide(Math::DivideSign);
    printtest::SetWorksheet({{u"12", plus, u"5", u"17", 1},
                             {u"12", minus, u"5", u"7", 2},
                             {u"3", times, u"4", u"12", 0},
                             {u"8", divide, u"2", u"4", 1},
                             {u"1", plus, u"100", u"101", 1},
                             {u"99", minus, u"99", u"0", 2}},
                            6);
    const RecordingSurface surface = Printed();
    ASSERT_EQ(surface.drawn.size(), 11u);
    const std::u16string_view expected[] = {
        u" (  )＋5＝17", u"12－(  )＝7",   u"    3×4＝",
        u" (  )÷2＝4",   u"  )＋100＝101", u"99－(  )＝0",
    };
    for (std::size_t k = 0; k < std::size(expected); ++k) {
        EXPECT_EQ(surface.drawn[5 + k].text, expected[k]) << "problem " << k + 1;
    }
}

TEST(PrintedRows, RowsTheLastBuildLeftEmptyPrintFromTheirEmptyTexts)
{
    printtest::SetCountingWorksheet(3);
    Math::ProblemCount = 6;
    const RecordingSurface surface = Printed();
    ASSERT_EQ(surface.drawn.size(), 11u);
    for (std::size_t k = 8; k < 11; ++k) {
        EXPECT_EQ(surface.drawn[k].text, u"       ＝");
        EXPECT_DOUBLE_EQ(surface.drawn[k].x, ColumnX(int(k) - 4));
    }
}

TEST(PrintedWorksheet, HasNoSummaryLineAndChangesNothing)
{
    printtest::SetWorksheet({{u"7", std::u16string(Math::PlusSign), u"8", u"15", 1},
                             {u"9", std::u16string(Math::DivideSign), u"3", u"3", 0}},
                            2);
    const printtest::TableCopy before = printtest::CopyTable();
    const RecordingSurface surface = Printed();
    EXPECT_TRUE(printtest::SameTable(before, printtest::CopyTable()));
    ASSERT_EQ(surface.drawn.size(), 7u);
    for (const auto& d : surface.drawn) {
        EXPECT_EQ(d.text.find(u"其中"), std::u16string::npos);
        EXPECT_EQ(d.text.find(u"加法"), std::u16string::npos);
    }
    EXPECT_EQ(surface.clears, 0);
}

// The heading shows the count as it stands, the rows stop at the table's ends.
TEST(PrintedWorksheet, ACountOutsideTheTableIsHeldToItsRows)
{
    printtest::SetCountingWorksheet(200);
    Math::ProblemCount = 250;
    RecordingSurface surface = Printed();
    EXPECT_EQ(surface.drawn.size(), 5u + 200u);
    EXPECT_EQ(surface.drawn[2].text, u"250");

    const struct
    {
        std::int16_t count;
        std::u16string_view shown;
    } negative[] = {{0, u"0"}, {-3, u"-3"}, {-32768, u"-32768"}};
    for (const auto& n : negative) {
        Math::ProblemCount = n.count;
        surface = Printed();
        EXPECT_EQ(surface.drawn.size(), 5u) << n.count;
        EXPECT_EQ(surface.drawn[2].text, n.shown);
    }
}

} // namespace
