#include "core/RandomSource.h"

#include <gtest/gtest.h>
#include <set>

namespace sumvarl {
namespace {

TEST(UnitInterval, NeverReachesOne)
{
    EXPECT_EQ(UnitInterval(0), 0.0F);
    EXPECT_LT(UnitInterval(~std::uint64_t{0}), 1.0F);
    EXPECT_EQ(UnitInterval(~std::uint64_t{0}), 1.0F - 0x1.0p-24F);
}

TEST(ClockRandom, DrawsLieInTheUnitInterval)
{
    ClockRandom random(5);
    for (int k = 0; k < 100000; ++k) {
        const float u = random.Draw();
        ASSERT_GE(u, 0.0F);
        ASSERT_LT(u, 1.0F);
    }
}

// The program re-seeds many times within one clock tick; a re-seed that replaced the state
// with the clock would repeat the same numbers every time.
TEST(ClockRandom, ReseedsWithinOneTickNeverRepeatAState)
{
    ClockRandom random(123, [] { return std::uint64_t{777}; });
    std::set<std::uint64_t> states{random.State()};
    std::set<float> firstDraws;
    for (int k = 0; k < 10000; ++k) {
        random.Reseed();
        ASSERT_TRUE(states.insert(random.State()).second) << "state repeated at re-seed " << k;
        firstDraws.insert(random.Draw());
        ASSERT_TRUE(states.insert(random.State()).second) << "state repeated at draw " << k;
    }
    EXPECT_GT(firstDraws.size(), 9900U);
}

TEST(ClockRandom, TheClockReadingChangesTheSequence)
{
    std::uint64_t now = 1;
    ClockRandom a(42, [&] { return now; });
    ClockRandom b(42, [] { return std::uint64_t{2}; });
    a.Reseed();
    b.Reseed();
    EXPECT_NE(a.Draw(), b.Draw());
}

TEST(ClockRandom, SameSeedAndClockGiveTheSameDraws)
{
    ClockRandom a(9, [] { return std::uint64_t{5}; });
    ClockRandom b(9, [] { return std::uint64_t{5}; });
    for (int k = 0; k < 100; ++k) {
        a.Reseed();
        b.Reseed();
        ASSERT_EQ(a.Draw(), b.Draw());
    }
}

} // namespace
} // namespace sumvarl
