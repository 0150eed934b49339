#include "testing/RecordingSurface.h"

#include <gtest/gtest.h>

namespace sumvarl {
namespace {

using testing::RecordingSurface;

struct TabCase
{
    const char* name;
    double startX;
    int column;
    double expectedX;
    double expectedY;
};

// Names the row instead of GoogleTest's byte dump, which reads the padding (valgrind reports
// it as uninitialised memory).
void PrintTo(const TabCase& c, std::ostream* os)
{
    *os << c.name;
}

class TabTest : public ::testing::TestWithParam<TabCase>
{
};

TEST_P(TabTest, MovesToTheColumnStart)
{
    const TabCase& c = GetParam();
    RecordingSurface s;
    s.SetFontSize(12);
    s.SetCurrentX(c.startX);
    s.Print({Tab{c.column}, u"x"}, Ending::Open);
    ASSERT_EQ(s.drawn.size(), 1U);
    EXPECT_EQ(s.drawn[0].x, c.expectedX);
    EXPECT_EQ(s.drawn[0].y, c.expectedY);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, TabTest,
    ::testing::Values(TabCase{"zero_is_column_one", 0, 0, 0, 0},
                      TabCase{"negative_is_column_one", 0, -5, 0, 0},
                      TabCase{"column_one", 0, 1, 0, 0}, TabCase{"column_24", 0, 24, 2300, 0},
                      TabCase{"right_of_position", 500, 24, 2300, 0},
                      TabCase{"exactly_at_position", 2300, 24, 2300, 0},
                      // Already past the column: continue on the next line at that column.
                      TabCase{"left_of_position", 2400, 24, 2300, 240},
                      TabCase{"zero_after_text", 50, 0, 0, 240}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PrintSurface, TextItemsFollowEachOther)
{
    RecordingSurface s;
    s.SetCurrentX(1500);
    s.Print({u"题目数：", u"100", u"题"}, Ending::Open);
    s.Print({u"日期"}, Ending::Line);
    ASSERT_EQ(s.drawn.size(), 4U);
    EXPECT_EQ(s.drawn[1].x, 1500 + 4 * 100);
    EXPECT_EQ(s.drawn[2].x, 1500 + 7 * 100);
    EXPECT_EQ(s.drawn[3].x, 1500 + 8 * 100);
    EXPECT_EQ(s.CurrentX(), 0);
    EXPECT_EQ(s.CurrentY(), 240);
}

TEST(PrintSurface, EmptyStatementsLeaveEmptyLines)
{
    RecordingSurface s;
    s.EndLine();
    s.Print({u""}, Ending::Line);
    s.Print({u"a"}, Ending::Line);
    EXPECT_EQ(s.CurrentY(), 3 * 240);
    ASSERT_EQ(s.drawn.size(), 1U);
    EXPECT_EQ(s.drawn[0].y, 2 * 240);
}

// A font change applies to what follows, and a line takes the height of the font in force
// when it is ended, not the one its text was drawn in.
TEST(PrintSurface, FontChangesAffectOnlyWhatFollows)
{
    RecordingSurface s;
    s.SetFontName(u"宋体");
    s.SetFontSize(16);
    s.Print({u"a"}, Ending::Open);
    s.SetFontSize(12);
    s.SetFontBold(true);
    s.Print({u"b"}, Ending::Line);
    ASSERT_EQ(s.drawn.size(), 2U);
    EXPECT_EQ(s.drawn[0].font.size, 16);
    EXPECT_FALSE(s.drawn[0].font.bold);
    EXPECT_EQ(s.drawn[1].font.size, 12);
    EXPECT_TRUE(s.drawn[1].font.bold);
    EXPECT_EQ(s.drawn[1].font.name, u"宋体");
    EXPECT_EQ(s.CurrentY(), 240);
}

TEST(PrintSurface, ClsErasesAndReturnsToTheCorner)
{
    RecordingSurface s;
    s.Print({u"a"}, Ending::Line);
    s.SetCurrentX(700);
    s.Cls();
    EXPECT_EQ(s.clears, 1);
    EXPECT_TRUE(s.drawn.empty());
    EXPECT_EQ(s.CurrentX(), 0);
    EXPECT_EQ(s.CurrentY(), 0);
}

} // namespace
} // namespace sumvarl
