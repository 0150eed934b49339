// Carrying, borrowing, times tables and remainders: every drawn problem keeps the rules, the
// counts of different problems agree with brute force, and settings that allow no problem are
// refused. The oracles here work from digit sums, not from the columns the code walks.

#include "core/Lesson.h"
#include "core/Math.h"
#include "core/RandomSource.h"
#include "testing/ScriptedRandom.h"

#include <gtest/gtest.h>
#include <set>
#include <string>

namespace {

using Math::CarryRule;
using sumvarl::CountInputs;
using sumvarl::LessonRefusal;

int DigitSum(int v)
{
    int s = 0;
    for (; v > 0; v /= 10) {
        s += v % 10;
    }
    return s;
}

// Every carry turns 10 in one column into 1 in the next, so the digit sums fall short by 9.
bool CarriesByDigitSums(int a, int b)
{
    return DigitSum(a) + DigitSum(b) != DigitSum(a + b);
}

bool Keeps(CarryRule rule, bool happens)
{
    return rule == CarryRule::Any || happens == (rule == CarryRule::Always);
}

std::u16string Text(int v)
{
    const std::string s = std::to_string(v);
    return {s.begin(), s.end()};
}

std::u16string Key(int a, std::u16string_view op, int b, int result, int remainder = 0)
{
    std::u16string key = Text(a) + std::u16string(op) + Text(b) + u"＝" + Text(result);
    if (remainder != 0) {
        key += u"……" + Text(remainder);
    }
    return key;
}

// All keys the generator's operand ranges allow for a positive range, kept when they fit.
std::set<std::u16string> BruteForceKeys(const std::array<bool, 4>& ops, int n,
                                        const Math::Lesson& l)
{
    std::set<std::u16string> keys;
    const auto inTables = [&l](int v) { return l.tableFrom <= v && v <= l.tableTo; };
    for (int s = 0; ops[0] && s < n; ++s) {
        for (int a = 0; a < std::max(s, 1); ++a) {
            if (Keeps(l.carry, CarriesByDigitSums(a, s - a))) {
                keys.insert(Key(a, u"＋", s - a, s));
            }
        }
    }
    for (int x = 0; ops[1] && x < n; ++x) {
        for (int y = 0; y <= x; ++y) {
            if (Keeps(l.borrow, CarriesByDigitSums(y, x - y))) {
                keys.insert(Key(x, u"－", y, x - y));
            }
        }
    }
    for (int x = 0; ops[2] && x <= 9; ++x) {
        for (int y = 0; y <= 9; ++y) {
            if (inTables(x) || inTables(y)) {
                keys.insert(Key(x, u"×", y, x * y));
            }
        }
    }
    for (int d = 1; ops[3] && d <= 9; ++d) {
        for (int q = l.remainder ? 1 : 0; q <= 9 && inTables(d); ++q) {
            for (int r = l.remainder && !l.remainderZero ? 1 : 0; r < (l.remainder ? d : 1); ++r) {
                keys.insert(Key(q * d + r, u"÷", d, q, r));
            }
        }
    }
    return keys;
}

struct LessonCase
{
    const char* name;
    std::array<std::int16_t, 4> weights;
    std::int16_t range;
    Math::Lesson lesson;
};

void PrintTo(const LessonCase& c, std::ostream* os)
{
    *os << c.name;
}

CountInputs Inputs(const LessonCase& c)
{
    CountInputs in;
    int total = 0;
    for (std::size_t k = 0; k < 4; ++k) {
        total += c.weights[k];
        in.cumulativeWeight[k] = static_cast<std::int16_t>(total);
    }
    in.weightTotal = static_cast<std::int16_t>(total);
    in.numberRange = c.range;
    in.lesson = c.lesson;
    return in;
}

void Commit(const CountInputs& in)
{
    Math::ResetState();
    Math::CumulativeWeight = in.cumulativeWeight;
    Math::WeightTotal = in.weightTotal;
    Math::lesson = in.lesson;
}

long long Value(const std::u16string& text)
{
    return std::stoll(std::string(text.begin(), text.end()));
}

// Checks one drawn problem against the rules; returns what is wrong, empty when it keeps them.
std::string Broken(const Math::Lesson& l)
{
    const int a = static_cast<int>(Value(Math::CurrentOperand1));
    const int b = static_cast<int>(Value(Math::CurrentOperand2));
    const std::u16string& result = Math::CurrentResult;
    const auto inTables = [&l](int v) { return l.tableFrom <= v && v <= l.tableTo; };
    const std::u16string& op = Math::CurrentOperator;
    if (op == Math::PlusSign) {
        return Keeps(l.carry, CarriesByDigitSums(a, b)) && Value(result) == a + b ? "" : "addition";
    }
    if (op == Math::MinusSign) {
        return a >= b && Keeps(l.borrow, CarriesByDigitSums(b, a - b)) && Value(result) == a - b
                   ? ""
                   : "subtraction";
    }
    if (op == Math::TimesSign) {
        return (inTables(a) || inTables(b)) && Value(result) == 1LL * a * b ? "" : "multiplication";
    }
    // The key worked out again from dividend and divisor: quotient, then any remainder.
    if (b < 1 || !inTables(b) || (!l.remainder && a % b != 0)) {
        return "divisor or remainder";
    }
    if (l.remainder && (a / b < 1 || (a % b == 0 && !l.remainderZero))) {
        return "a quotient or remainder of 0";
    }
    return Math::CurrentKey == Key(a, u"÷", b, a / b, a % b) ? "" : "division key";
}

class LessonTest : public ::testing::TestWithParam<LessonCase>
{
};

// Every draw keeps the rules, and the different keys drawn are exactly those brute force
// finds: no more (nothing outside the rules) and, drawn long enough, no fewer.
TEST_P(LessonTest, DrawsKeepTheRulesAndReachEveryProblemCounted)
{
    const LessonCase& c = GetParam();
    const CountInputs in = Inputs(c);
    Commit(in);
    const std::array<long long, 4> each = sumvarl::DifferentProblemsByOperation(in);
    const std::array<bool, 4> ops{each[0] > 0, each[1] > 0, each[2] > 0, each[3] > 0};
    const std::set<std::u16string> expected = BruteForceKeys(ops, c.range, c.lesson);
    ASSERT_EQ(sumvarl::DifferentProblems(in), static_cast<long long>(expected.size()));

    sumvarl::ClockRandom random(static_cast<std::uint64_t>(c.range) * 31 + 7,
                                [] { return std::uint64_t{5}; });
    std::set<std::u16string> seen;
    for (int sinceGrowth = 0; sinceGrowth < 40000; ++sinceGrowth) {
        Math::GenerateProblem(c.range, random);
        ASSERT_EQ(Broken(c.lesson), "")
            << std::string(Math::CurrentKey.begin(), Math::CurrentKey.end());
        ASSERT_TRUE(expected.contains(Math::CurrentKey));
        if (seen.insert(Math::CurrentKey).second) {
            sinceGrowth = 0;
        }
    }
    EXPECT_EQ(seen.size(), expected.size());
}

constexpr Math::Lesson Carry(CarryRule carry, CarryRule borrow = CarryRule::Any)
{
    return {carry, borrow, 0, 9, false};
}
constexpr Math::Lesson Tables(std::int16_t from, std::int16_t to, bool remainder = false,
                              bool zero = false)
{
    return {CarryRule::Any, CarryRule::Any, from, to, remainder, zero};
}
constexpr std::array<std::int16_t, 4> Add{1, 0, 0, 0};
constexpr std::array<std::int16_t, 4> Sub{0, 1, 0, 0};
constexpr std::array<std::int16_t, 4> AddSub{10, 10, 0, 0};
constexpr std::array<std::int16_t, 4> Mul{0, 0, 1, 0};
constexpr std::array<std::int16_t, 4> Div{0, 0, 0, 1};
constexpr std::array<std::int16_t, 4> All{25, 25, 25, 25};

INSTANTIATE_TEST_SUITE_P(
    Settings, LessonTest,
    ::testing::Values(
        LessonCase{"add10_any", Add, 10, Carry(CarryRule::Any)},
        LessonCase{"add10_never", Add, 10, Carry(CarryRule::Never)},
        LessonCase{"add20_always", Add, 20, Carry(CarryRule::Always)},
        LessonCase{"add20_never", Add, 20, Carry(CarryRule::Never)},
        LessonCase{"add100_always", Add, 100, Carry(CarryRule::Always)},
        LessonCase{"add100_never", Add, 100, Carry(CarryRule::Never)},
        LessonCase{"sub10_never", Sub, 10, Carry(CarryRule::Any, CarryRule::Never)},
        LessonCase{"sub20_always", Sub, 20, Carry(CarryRule::Any, CarryRule::Always)},
        LessonCase{"sub20_never", Sub, 20, Carry(CarryRule::Any, CarryRule::Never)},
        LessonCase{"sub100_always", Sub, 100, Carry(CarryRule::Any, CarryRule::Always)},
        LessonCase{"sub100_never", Sub, 100, Carry(CarryRule::Any, CarryRule::Never)},
        LessonCase{"addsub20_always_never", AddSub, 20, Carry(CarryRule::Always, CarryRule::Never)},
        LessonCase{"mul_2_5", Mul, 10, Tables(2, 5)}, LessonCase{"mul_0_0", Mul, 10, Tables(0, 0)},
        LessonCase{"div_2_5", Div, 10, Tables(2, 5)},
        LessonCase{"div_remainder", Div, 10, Tables(0, 9, true)},
        LessonCase{"div_2_5_remainder", Div, 10, Tables(2, 5, true)},
        LessonCase{"div_1_3_remainder_or_exact", Div, 10, Tables(1, 3, true, true)},
        LessonCase{
            "all_20_every_rule", All, 20, {CarryRule::Always, CarryRule::Always, 2, 5, true}}),
    [](const auto& info) { return std::string(info.param.name); });

// Counts beyond what sampling can saturate, and which operations come up at all, against brute
// force over the same operand ranges.
TEST(DifferentProblems, MatchBruteForce)
{
    const LessonCase cases[] = {
        {"add100_any", Add, 100, Carry(CarryRule::Any)},
        {"sub100_any", Sub, 100, Carry(CarryRule::Any)},
        {"add_range_1", Add, 1, Carry(CarryRule::Never)},
        {"add_range_11_always", Add, 11, Carry(CarryRule::Always)},
        {"sub_range_11_always", Sub, 11, Carry(CarryRule::Any, CarryRule::Always)},
        {"add1000_always", Add, 1000, Carry(CarryRule::Always)},
        {"sub1000_never", Sub, 1000, Carry(CarryRule::Any, CarryRule::Never)},
        {"all_100_defaults", All, 100, Math::Lesson{}},
        // Only multiplication is ticked: the count leaves the unticked addition out.
        {"unticked_addition", {0, 0, 25, 0}, 10, Tables(3, 3)},
    };
    for (const LessonCase& c : cases) {
        const CountInputs in = Inputs(c);
        const std::array<bool, 4> ops{c.weights[0] > 0, c.weights[1] > 0, c.weights[2] > 0,
                                      c.weights[3] > 0};
        EXPECT_EQ(sumvarl::DifferentProblems(in),
                  static_cast<long long>(BruteForceKeys(ops, c.range, c.lesson).size()))
            << c.name;
    }
    // Known values: 1 + n(n - 1)/2 additions and n(n + 1)/2 subtractions within n.
    EXPECT_EQ(sumvarl::DifferentProblems(Inputs({"", Add, -5, {}})), 1 + 15 + 5);
    EXPECT_EQ(sumvarl::DifferentProblems(Inputs({"", Sub, -5, {}})), 21);
}

TEST(CheckLesson, RefusesWhatAllowsNoProblem)
{
    struct Row
    {
        LessonCase settings;
        LessonRefusal refusal;
    };
    const Row rows[] = {
        {{"carry_within_10", Add, 10, Carry(CarryRule::Always)}, LessonRefusal::NoAddition},
        {{"carry_within_10_unticked", {0, 5, 0, 0}, 10, Carry(CarryRule::Always)},
         LessonRefusal::None},
        {{"borrow_within_10", AddSub, 10, Carry(CarryRule::Any, CarryRule::Always)},
         LessonRefusal::NoSubtraction},
        {{"carry_within_11", Add, 11, Carry(CarryRule::Always)}, LessonRefusal::None},
        {{"divide_by_table_0", All, 10, Tables(0, 0)}, LessonRefusal::NoDivision},
        // No remainder is left by 1; an exact one is, where exact ones are wanted.
        {{"remainder_by_table_1", Div, 10, Tables(0, 1, true)}, LessonRefusal::NoDivision},
        {{"remainder_or_exact_by_1", Div, 10, Tables(1, 1, true, true)}, LessonRefusal::None},
        {{"multiply_table_0", Mul, 10, Tables(0, 0)}, LessonRefusal::None},
        {{"tables_reversed", Mul, 10, Tables(5, 2)}, LessonRefusal::TablesOutOfRange},
        {{"tables_above_9", Mul, 10, Tables(2, 10)}, LessonRefusal::TablesOutOfRange},
        {{"negative_range_rule", Add, -10, Carry(CarryRule::Never)}, LessonRefusal::NegativeRange},
        {{"negative_range_any", Add, -10, {}}, LessonRefusal::None},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(sumvarl::CheckLesson(Inputs(row.settings)), row.refusal) << row.settings.name;
    }
}

// A problem that does not fit is drawn again with fresh draws; one that never fits leaves no
// problem after a bounded number of rounds, and at the defaults nothing is drawn again.
TEST(GenerateProblem, DrawsAgainUntilTheProblemFits)
{
    Commit(Inputs({"", Add, 20, Carry(CarryRule::Always)}));
    // r = 0 picks addition; 0.5, 0.5 give 5＋5＝10 only after 3＋1＝4 (0.2, 0.8) was refused.
    sumvarl::testing::ScriptedRandom again({0.0F, 0.2F, 0.8F, 0.5F, 0.5F});
    Math::GenerateProblem(20, again);
    EXPECT_EQ(Math::CurrentKey, u"5＋5＝10");
    EXPECT_EQ(again.draws, 5);

    Math::lesson = {};
    sumvarl::testing::ScriptedRandom once({0.0F, 0.2F, 0.8F});
    Math::GenerateProblem(20, once);
    EXPECT_EQ(Math::CurrentKey, u"3＋1＝4");
    EXPECT_EQ(once.draws, 3);

    Commit(Inputs({"", Div, 10, Tables(0, 0)}));
    sumvarl::testing::ScriptedRandom never({0.5F});
    Math::GenerateProblem(10, never);
    EXPECT_TRUE(Math::CurrentKey.empty());
    EXPECT_TRUE(Math::CurrentResult.empty());
    EXPECT_EQ(never.draws, 1 + 2 * Math::MaxDrawRounds);
}

} // namespace
