#include "core/Math.h"
#include "core/NumberText.h"
#include "core/RandomSource.h"
#include "testing/ScriptedRandom.h"

#include <cmath>
#include <gtest/gtest.h>
#include <set>
#include <string>

namespace {

using sumvarl::ClockRandom;
using sumvarl::testing::ScriptedRandom;

// Weights of addition, subtraction, multiplication and division, as Start turns them into
// the running totals.
void SetWeights(int add, int sub, int mul, int div)
{
    Math::ResetState();
    Math::CumulativeWeight = {static_cast<std::int16_t>(add), static_cast<std::int16_t>(add + sub),
                              static_cast<std::int16_t>(add + sub + mul),
                              static_cast<std::int16_t>(add + sub + mul + div), 0};
    Math::WeightTotal = Math::CumulativeWeight[3];
}

ClockRandom SeededRandom(std::uint64_t seed)
{
    return ClockRandom(seed, [] { return std::uint64_t{1'000'000}; });
}

long long ValueOf(const std::u16string& text)
{
    return std::stoll(std::string(text.begin(), text.end()));
}

struct BandCase
{
    const char* name;
    std::array<int, 4> weights;
    float u;
    std::u16string_view expectedOperator; // empty: no operation chosen
};

// Names the row instead of GoogleTest's byte dump, which reads the padding (valgrind reports
// it as uninitialised memory).
void PrintTo(const BandCase& c, std::ostream* os)
{
    *os << c.name;
}

class BandTest : public ::testing::TestWithParam<BandCase>
{
};

TEST_P(BandTest, LastMatchingBandDecides)
{
    const BandCase& c = GetParam();
    SetWeights(c.weights[0], c.weights[1], c.weights[2], c.weights[3]);
    ScriptedRandom random({c.u, 0.5F, 0.5F});
    Math::GenerateProblem(10, random);
    EXPECT_EQ(Math::CurrentOperator, c.expectedOperator);
    if (c.expectedOperator.empty()) {
        EXPECT_TRUE(Math::CurrentKey.empty());
        EXPECT_TRUE(Math::CurrentOperand1.empty());
        EXPECT_TRUE(Math::CurrentOperand2.empty());
        EXPECT_TRUE(Math::CurrentResult.empty());
        EXPECT_EQ(random.reseeds, 1);
        EXPECT_EQ(random.draws, 1);
    } else {
        EXPECT_EQ(random.reseeds, 2);
        EXPECT_EQ(random.draws, 3);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Draws, BandTest,
    ::testing::Values(
        BandCase{"r0_addition", {25, 25, 25, 25}, 0.0F, Math::PlusSign},
        BandCase{"r25_addition", {25, 25, 25, 25}, 0.25F, Math::PlusSign},
        BandCase{"r26_subtraction", {25, 25, 25, 25}, 0.26F, Math::MinusSign},
        BandCase{"r50_subtraction", {25, 25, 25, 25}, 0.50F, Math::MinusSign},
        BandCase{"r51_multiplication", {25, 25, 25, 25}, 0.51F, Math::TimesSign},
        BandCase{"r75_multiplication", {25, 25, 25, 25}, 0.75F, Math::TimesSign},
        BandCase{"r76_division", {25, 25, 25, 25}, 0.76F, Math::DivideSign},
        BandCase{"r100_division", {25, 25, 25, 25}, 0.999F, Math::DivideSign},
        // 4 * 0.625 = 2.5 goes to the even 2 (subtraction), not up to 3 (multiplication).
        BandCase{"half_goes_even", {1, 1, 1, 1}, 0.625F, Math::MinusSign},
        BandCase{"only_multiplication", {0, 0, 25, 0}, 0.04F, Math::TimesSign},
        // An unticked addition never comes up: r = 0 goes to the first weighted operation.
        BandCase{"only_multiplication_r0", {0, 0, 25, 0}, 0.0F, Math::TimesSign},
        BandCase{"addition_unticked_r0", {0, 25, 25, 25}, 0.0F, Math::MinusSign},
        BandCase{"addition_ticked_r0", {25, 25, 25, 25}, 0.0F, Math::PlusSign},
        BandCase{"nothing_ticked", {0, 0, 0, 0}, 0.7F, Math::PlusSign},
        BandCase{"negative_weight_r_minus3", {-3, 0, 0, 0}, 0.9F, Math::PlusSign},
        BandCase{"negative_weight_outside_bands", {-3, 0, 0, 0}, 0.3F, u""},
        // Overlapping bands from a negative subtraction weight: division's test holds last.
        BandCase{"overlap_last_wins", {10, -5, 0, 10}, 0.9F, Math::DivideSign}),
    [](const auto& info) { return std::string(info.param.name); });

struct ShapeCase
{
    const char* name;
    std::array<int, 4> weights;
    std::int16_t range;
    float u1;
    float u2;
    std::u16string_view key;
};

// Names the row instead of GoogleTest's byte dump, which reads the padding.
void PrintTo(const ShapeCase& c, std::ostream* os)
{
    *os << c.name;
}

class ShapeTest : public ::testing::TestWithParam<ShapeCase>
{
};

TEST_P(ShapeTest, OperandsFollowTheDraws)
{
    const ShapeCase& c = GetParam();
    SetWeights(c.weights[0], c.weights[1], c.weights[2], c.weights[3]);
    ScriptedRandom random({0.99F, c.u1, c.u2}); // r = 1 selects the one weighted operation
    Math::GenerateProblem(c.range, random);
    EXPECT_EQ(Math::CurrentKey, c.key);
    EXPECT_EQ(Math::CurrentKey, Math::CurrentOperand1 + Math::CurrentOperator +
                                    Math::CurrentOperand2 + std::u16string(Math::EqualsSign) +
                                    Math::CurrentResult);
}

INSTANTIATE_TEST_SUITE_P(
    Draws, ShapeTest,
    ::testing::Values(
        // Addition: the sum 17 first, then the first addend scaled from the sum.
        ShapeCase{"addition", {1, 0, 0, 0}, 100, 0.175F, 0.75F, u"12＋5＝17"},
        ShapeCase{"addition_zero_sum", {1, 0, 0, 0}, 100, 0.001F, 0.9F, u"0＋0＝0"},
        ShapeCase{"subtraction_swaps", {0, 1, 0, 0}, 10, 0.3F, 0.75F, u"7－3＝4"},
        ShapeCase{"subtraction_equal", {0, 1, 0, 0}, 10, 0.75F, 0.75F, u"7－7＝0"},
        ShapeCase{"multiplication", {0, 0, 1, 0}, 10, 0.75F, 0.85F, u"7×8＝56"},
        ShapeCase{"division", {0, 0, 0, 1}, 10, 0.85F, 0.7F, u"56÷7＝8"},
        ShapeCase{"division_by_one", {0, 0, 0, 1}, 10, 0.0F, 0.0F, u"0÷1＝0"},
        ShapeCase{"range_one", {1, 0, 0, 0}, 1, 0.99F, 0.99F, u"0＋0＝0"},
        ShapeCase{"negative_addition", {1, 0, 0, 0}, -10, 0.5F, 0.5F, u"-3＋-2＝-5"},
        ShapeCase{"negative_subtraction", {0, 1, 0, 0}, -10, 0.5F, 0.25F, u"-3－-5＝2"},
        // 0 - (-32768) does not fit 16 bits: the difference is skipped and keeps its 0.
        ShapeCase{"overflow_skipped", {0, 1, 0, 0}, -32768, 0.0F, 0.99999994F, u"0－-32768＝0"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GenerateProblem, InvariantsHoldForPositiveLimits)
{
    SetWeights(25, 25, 25, 25);
    for (const std::int16_t n :
         {std::int16_t{1}, std::int16_t{10}, std::int16_t{100}, std::int16_t{32767}}) {
        ClockRandom random = SeededRandom(static_cast<std::uint64_t>(n));
        for (int k = 0; k < 20000; ++k) {
            Math::GenerateProblem(n, random);
            const long long a = ValueOf(Math::CurrentOperand1);
            const long long b = ValueOf(Math::CurrentOperand2);
            const long long c = ValueOf(Math::CurrentResult);
            ASSERT_GE(a, 0);
            ASSERT_GE(b, 0);
            ASSERT_GE(c, 0);
            const std::u16string& op = Math::CurrentOperator;
            if (op == Math::PlusSign) {
                ASSERT_LE(c, n - 1);
                ASSERT_EQ(a + b, c);
                ASSERT_TRUE(c == 0 || b >= 1) << "second addend 0 with sum " << c;
            } else if (op == Math::MinusSign) {
                ASSERT_LE(a, n - 1);
                ASSERT_GE(a, b);
                ASSERT_EQ(a - b, c);
            } else if (op == Math::TimesSign) {
                ASSERT_LE(a, 9);
                ASSERT_LE(b, 9);
                ASSERT_EQ(a * b, c);
            } else {
                ASSERT_EQ(op, Math::DivideSign);
                ASSERT_GE(b, 1);
                ASSERT_LE(b, 9);
                ASSERT_LE(c, 9);
                ASSERT_EQ(b * c, a);
            }
            std::u16string key = Math::CurrentOperand1;
            key.append(op).append(Math::CurrentOperand2).append(Math::EqualsSign);
            ASSERT_EQ(Math::CurrentKey, key.append(Math::CurrentResult));
        }
    }
}

struct CountCase
{
    const char* name;
    std::array<int, 4> weights;
    std::int16_t range;
    std::u16string_view op; // the operator signs counted
    std::size_t different;
};

// Names the row instead of GoogleTest's byte dump, which reads the padding.
void PrintTo(const CountCase& c, std::ostream* os)
{
    *os << c.name;
}

class DifferentProblemsTest : public ::testing::TestWithParam<CountCase>
{
};

// Sample until the set of keys has stopped growing for a long while; no problem of an
// unweighted operation may turn up meanwhile.
TEST_P(DifferentProblemsTest, ExactNumberOfDifferentKeys)
{
    const CountCase& c = GetParam();
    SetWeights(c.weights[0], c.weights[1], c.weights[2], c.weights[3]);
    ClockRandom random = SeededRandom(99);
    std::set<std::u16string> keys;
    for (int sinceGrowth = 0; sinceGrowth < 20000; ++sinceGrowth) {
        Math::GenerateProblem(c.range, random);
        ASSERT_NE(c.op.find(Math::CurrentOperator), std::u16string_view::npos)
            << "an unweighted operation came up";
        if (keys.insert(Math::CurrentKey).second) {
            sinceGrowth = 0;
        }
        ASSERT_LE(keys.size(), c.different);
    }
    EXPECT_EQ(keys.size(), c.different);
}

INSTANTIATE_TEST_SUITE_P(Operations, DifferentProblemsTest,
                         ::testing::Values(CountCase{"addition_10", {1, 0, 0, 0}, 10, u"＋", 46},
                                           CountCase{"subtraction_10", {0, 9, 0, 0}, 10, u"－", 55},
                                           CountCase{"multiplication", {0, 0, 9, 0}, 10, u"×", 100},
                                           CountCase{"division", {0, 0, 0, 9}, 10, u"÷", 90},
                                           CountCase{"range_zero", {1, 1, 0, 0}, 0, u"＋－", 2}),
                         [](const auto& info) { return std::string(info.param.name); });

// r is rounded, so 0 and WeightTotal have half the chance of the other values: addition
// 25.5 %, subtraction and multiplication 25 %, division 24.5 %.
TEST(GenerateProblem, OperationChancesFollowTheBands)
{
    SetWeights(25, 25, 25, 25);
    ClockRandom random = SeededRandom(2024);
    constexpr int Draws = 1'000'000;
    std::array<int, 4> seen{};
    for (int k = 0; k < Draws; ++k) {
        Math::GenerateProblem(10, random);
        for (std::size_t op = 0; op < 4; ++op) {
            seen[op] += Math::CurrentOperator == Math::OperatorTexts[op] ? 1 : 0;
        }
    }
    const std::array<double, 4> expected{0.255, 0.25, 0.25, 0.245};
    for (std::size_t op = 0; op < 4; ++op) {
        const double p = expected[op];
        const double tolerance = 4.5 * std::sqrt(p * (1 - p) / Draws); // about 0.002
        EXPECT_NEAR(static_cast<double>(seen[op]) / Draws, p, tolerance) << "operation " << op;
    }
}

TEST(GenerateProblem, EveryCallOverwritesAllTexts)
{
    SetWeights(-3, 0, 0, 0);
    ScriptedRandom first({0.9F, 0.5F, 0.5F}); // r = -3: an addition
    Math::GenerateProblem(10, first);
    ASSERT_FALSE(Math::CurrentKey.empty());
    ScriptedRandom second({0.1F}); // r = 0: outside every band
    Math::GenerateProblem(10, second);
    EXPECT_TRUE(Math::CurrentKey.empty());
    EXPECT_TRUE(Math::CurrentOperand1.empty());
    EXPECT_TRUE(Math::CurrentOperator.empty());
    EXPECT_TRUE(Math::CurrentOperand2.empty());
    EXPECT_TRUE(Math::CurrentResult.empty());
}

TEST(ResetState, PutsEverythingBackToStart)
{
    SetWeights(1, 2, 3, 4);
    Math::ProblemCount = 5;
    Math::NumberRange = 7;
    Math::FillBlankOn = 1;
    Math::FillBlankPercent = 20;
    Math::CumulativeWeight[4] = 9;
    Math::CurrentKey = u"x";
    Math::WorksheetTable.ProblemKey[200] = u"y";
    Math::WorksheetTable.BlankKind[3] = 2;
    Math::ResetState();
    EXPECT_EQ(Math::ProblemCount, 0);
    EXPECT_EQ(Math::NumberRange, 0);
    EXPECT_EQ(Math::WeightTotal, 0);
    EXPECT_EQ(Math::CumulativeWeight, (std::array<std::int16_t, 5>{}));
    EXPECT_EQ(Math::FillBlankOn, 0);
    EXPECT_EQ(Math::FillBlankPercent, 0);
    EXPECT_TRUE(Math::CurrentKey.empty());
    EXPECT_TRUE(Math::WorksheetTable.ProblemKey[200].empty());
    EXPECT_EQ(Math::WorksheetTable.BlankKind[3], 0);
}

} // namespace
