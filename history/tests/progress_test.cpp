#include "history/Progress.h"
#include "testing/Problems.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace sumvarl::history {
namespace {

using testing::Two;

TEST(Progress, GridDaysWeekAndExportReadWhatWasAnswered)
{
    QTemporaryDir dir;
    const QDate monday(2026, 11, 30);
    const QDateTime at(monday, QTime(18, 0));
    const auto store = Store::Open(dir.filePath(QStringLiteral("h.sqlite3")), at);
    const qint64 child = store->AddChild(QStringLiteral("小明"), 1, at).id;
    const qint64 round =
        store->StartRound(child, RoundKind::Practice, SheetSpec{{PartSpec{}}, 1}, 9, at).id;
    const auto give = [&](const model::Problem& p, bool right, std::optional<int> ms,
                          const QDateTime& when) {
        ASSERT_TRUE(
            store->RecordAnswer(round, child, {p, {}, QStringLiteral("5"), right, ms, when}).Ok());
    };
    const model::Problem twoAndFive = Two(2, Operation::Add, 5, 7);
    for (int d : {0, 1, 3}) { // Monday, Tuesday, Thursday: fluent; Wednesday has no answers
        give(twoAndFive, true, 1000, at.addDays(d));
    }
    give(Two(7, Operation::Add, 5, 12, 2), true, 1000, at); // ( )＋5: the same cell, weaker
    give(Two(3, Operation::Add, 4, 7), false, 2000, at);
    give(Two(13, Operation::Subtract, 4, 9), true, 3000, at);
    give(Two(35, Operation::Divide, 5, 7), true, std::nullopt, at);     // from paper
    give(Two(23, Operation::Add, 45, 68), false, 1000, at.addDays(-7)); // the week before

    const FactGrids grids = GridsOf(*store, child);
    const auto& add = grids.grids[0].cells;
    EXPECT_EQ(add[2][5], CellState::Fluent);
    EXPECT_EQ(add[7][5], CellState::Practising);
    EXPECT_EQ(add[3][4], CellState::InBook);
    EXPECT_EQ(add[4][3], CellState::Unseen);
    EXPECT_EQ(grids.grids[1].cells[9][4], CellState::Practising);
    EXPECT_EQ(grids.grids[3].cells[7][5], CellState::Practising);
    EXPECT_EQ(grids.outside[0].seen, 1);
    EXPECT_EQ(grids.outside[0].inBook, 1);

    const std::vector<DayProgress> days = ProgressByDay(*store, child, monday, monday.addDays(6));
    ASSERT_EQ(days.size(), 3U);
    EXPECT_EQ(days[2].day, monday.addDays(3));
    EXPECT_EQ(days[0].all.answers, 5);
    EXPECT_EQ(days[0].all.right, 4);
    // Four timed answers of 7 s in all, three of them right: 3 × 60 / 7 a minute.
    EXPECT_NEAR(*days[0].all.RightPerMinute(), 180.0 / 7.0, 1e-9);
    EXPECT_EQ(days[0].byOperation[3].answers, 1);
    EXPECT_FALSE(days[0].byOperation[3].RightPerMinute());

    const WeekSummary week = WeekOf(*store, child, monday);
    EXPECT_EQ(week.week.answers, 7);
    EXPECT_EQ(week.weekBefore.answers, 1);
    EXPECT_EQ(week.becameFluent, std::vector{twoAndFive});
    ASSERT_EQ(week.weakest.size(), 2U);
    EXPECT_EQ(week.weakest[0].operands[0], 3); // in the book comes first

    std::vector<KeptAnswer> kept;
    ForEachAnswer(*store, child, [&](const KeptAnswer& a) { kept.push_back(a); });
    ASSERT_EQ(kept.size(), 8U);
    EXPECT_EQ(kept.front().fact, Two(23, Operation::Add, 45, 68));
    EXPECT_TRUE(std::any_of(kept.begin(), kept.end(), [](const KeptAnswer& a) {
        return !a.ms && a.fact.operators[0] == Operation::Divide;
    }));
}

} // namespace
} // namespace sumvarl::history
