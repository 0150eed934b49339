#include "core/RandomSource.h"
#include "history/HistoryStore.h"
#include "history/TodaysRound.h"
#include "testing/Problems.h"

#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <set>

namespace sumvarl::history {
namespace {

using testing::Two;

TEST(TodaysRound, DueItemsFirstThenAtMostFourNewFactsEachAmongKnownOnes)
{
    QTemporaryDir dir;
    const QDateTime start(QDate(2026, 12, 1), QTime(18, 0));
    const auto store = Store::Open(dir.filePath(QStringLiteral("h.sqlite3")), start);
    const qint64 child = store->AddChild(QStringLiteral("小明"), 1, start).id;
    // Additions within 10: the lesson of the last round.
    PartSpec lesson;
    lesson.weightTotal = 1;
    lesson.cumulativeWeight = {1, 1, 1, 1};
    lesson.numberRange = 10;
    lesson.problemCount = 20;
    const qint64 round =
        store->StartRound(child, RoundKind::Practice, SheetSpec{{lesson}, 3}, 20, start).id;
    const auto give = [&](const model::Problem& p, bool right, const QDateTime& at) {
        ASSERT_TRUE(store->RecordAnswer(round, child, {p, {}, {}, right, 1000, at}).Ok());
    };
    give(Two(7, Operation::Add, 3, 10), false, start);           // due on the 2nd
    give(Two(6, Operation::Add, 2, 8), false, start.addDays(2)); // due on the 4th
    for (int a = 0; a <= 5; ++a) {
        give(Two(a, Operation::Add, 1, a + 1), true, start); // known
    }

    ClockRandom random(11, [] { return std::uint64_t{0}; });
    const Sheet sheet = MakeTodaysSheet(*store, child, PartSpec{}, QDate(2026, 12, 3), random);
    // One due, four new, and the six the child knows: a short round rather than more new facts.
    ASSERT_EQ(sheet.problems.size(), 11U);
    EXPECT_TRUE(sheet.fellShort);
    EXPECT_EQ(sheet.problems[0], Two(7, Operation::Add, 3, 10));
    EXPECT_EQ(sheet.recipe.parts.at(0).numberRange, 10);

    std::set<std::vector<int>> different;
    std::vector<std::size_t> fresh;
    for (std::size_t i = 0; i < sheet.problems.size(); ++i) {
        const model::Problem& p = sheet.problems[i];
        different.insert({p.operands[0], p.operands[1], static_cast<int>(p.open)});
        EXPECT_EQ(p.operators[0], Operation::Add);
        if (i > 0 && !store->HasSeen(child, p)) {
            fresh.push_back(i);
        }
    }
    EXPECT_EQ(different.size(), 11U);
    EXPECT_EQ(fresh.size(), TodaysNewFacts);
    for (std::size_t n = 0; n < fresh.size(); ++n) {
        EXPECT_LT(fresh[n], 10U);
        if (n > 0) {
            EXPECT_GT(fresh[n], fresh[n - 1] + 1) << "two new facts side by side";
        }
    }
}

} // namespace
} // namespace sumvarl::history
