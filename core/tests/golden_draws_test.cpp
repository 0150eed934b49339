// Recorded from the generator as it was before carrying, borrowing, times tables and
// remainders were added: with those at their defaults the same random draws must still give
// the same problems in the same order, and leave the random source in the same state.

#include "core/Math.h"
#include "core/RandomSource.h"
#include "testing/KeyDigest.h"

#include <gtest/gtest.h>

namespace {

struct GoldenCase
{
    const char* name;
    std::array<int, 4> weights;
    std::int16_t range;
    std::uint64_t seed;
    std::uint64_t keys;  // digest of 3000 keys in order
    std::uint64_t state; // the random source's state after them
};

void PrintTo(const GoldenCase& c, std::ostream* os)
{
    *os << c.name;
}

class GoldenDrawsTest : public ::testing::TestWithParam<GoldenCase>
{
};

TEST_P(GoldenDrawsTest, SameDrawsGiveTheSameProblems)
{
    const GoldenCase& c = GetParam();
    Math::ResetState();
    int total = 0;
    for (std::size_t k = 0; k < 4; ++k) {
        total += c.weights[k];
        Math::CumulativeWeight[k] = static_cast<std::int16_t>(total);
    }
    Math::WeightTotal = static_cast<std::int16_t>(total);
    std::uint64_t tick = 0;
    sumvarl::ClockRandom random(c.seed, [&tick] { return tick += 977; });
    sumvarl::testing::KeyDigest digest;
    for (int k = 0; k < 3000; ++k) {
        Math::GenerateProblem(c.range, random);
        digest.Add(Math::CurrentKey);
    }
    EXPECT_EQ(digest.Value(), c.keys) << std::hex << "0x" << digest.Value();
    EXPECT_EQ(random.State(), c.state) << std::hex << "0x" << random.State();
}

INSTANTIATE_TEST_SUITE_P(
    Recorded, GoldenDrawsTest,
    ::testing::Values(
        GoldenCase{
            "all_four_100", {25, 25, 25, 25}, 100, 1, 0xaf7d1ee4488b0387ULL, 0x9f2594ff7d8cbb38ULL},
        GoldenCase{
            "all_four_20", {25, 25, 25, 25}, 20, 2, 0xf237fe2d16899d6ULL, 0x23d64ea905506e01ULL},
        GoldenCase{
            "add_sub_10", {30, 20, 0, 0}, 10, 3, 0xac292571eb343b75ULL, 0x5c95929bfe704e10ULL},
        GoldenCase{"only_multiplication",
                   {0, 0, 25, 0},
                   100,
                   4,
                   0x9b96579027d98da8ULL,
                   0x9898ffc5dd722dc0ULL},
        GoldenCase{
            "mul_div_uneven", {0, 0, 7, 40}, 50, 5, 0xb24b8f683347e14aULL, 0x6e25b198cbf1f0fULL},
        GoldenCase{
            "negative_weight", {-3, 0, 0, 0}, 10, 6, 0xbf5911f04f9ed2bfULL, 0x6a12f65e94584ca4ULL},
        GoldenCase{
            "negative_range", {25, 25, 0, 0}, -15, 7, 0x8d97b21b204cb5e8ULL, 0x6053b8c330abb303ULL},
        GoldenCase{"wide_range",
                   {25, 25, 25, 25},
                   32767,
                   8,
                   0xd48bcb2bf59acffdULL,
                   0x73f9d447d9f8c004ULL}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
