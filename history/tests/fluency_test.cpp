#include "history/Fluency.h"

#include <gtest/gtest.h>

namespace sumvarl::history {
namespace {

constexpr int Limit = 3000;

FactState After(FactState s, bool right, std::optional<int> ms, int day)
{
    return Advance(s, {right, ms, day, Limit});
}

TEST(Fluency, ThreeQuickRightDaysMakeAFactFluentOnlyOnDifferentDays)
{
    FactState s;
    s = After(s, true, 1500, 100);
    s = After(s, true, 1500, 100); // the same day again proves nothing more
    s = After(s, true, 200, 101);  // typed before reading
    s = After(s, true, 4000, 102); // slow: into the book, fluency starts over
    EXPECT_TRUE(s.inBook);
    EXPECT_EQ(s.goodDays, 0);
    for (int day : {103, 104, 105}) {
        EXPECT_FALSE(s.Fluent());
        s = After(s, true, 1000, day);
    }
    EXPECT_TRUE(s.Fluent());
    EXPECT_FALSE(s.inBook);
    EXPECT_FALSE(s.due.has_value());
    EXPECT_EQ(s.answers, 7);
    EXPECT_EQ(s.wrong, 0);
}

TEST(Fluency, TheBookLadderClimbsOnDueAnswersAndAWrongAnswerStartsItAgain)
{
    FactState s = After({}, false, 2000, 10);
    EXPECT_EQ(s.due, 11);
    s = After(s, true, 5000, 10); // right but slow and not yet due: stays at the foot
    EXPECT_EQ(s.due, 11);
    // Right but slow each time it is due: it climbs 1, 3, 7, 14, 30 and stays in the book.
    int day = 11;
    for (int next : {3, 7, 14, 30, 30}) {
        s = After(s, true, 5000, day);
        ASSERT_EQ(s.due, day + next);
        day += next;
    }
    EXPECT_TRUE(s.inBook);
    s = After(s, false, 1000, day);
    EXPECT_EQ(s.step, 0);
    EXPECT_EQ(s.due, day + 1);
    EXPECT_EQ(s.wrong, 2);
    // A paper answer (no time) climbs but is no evidence of speed.
    s = After(s, true, std::nullopt, day + 1);
    EXPECT_EQ(s.goodDays, 0);
    EXPECT_EQ(s.due, day + 4);
}

} // namespace
} // namespace sumvarl::history
