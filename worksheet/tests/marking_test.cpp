// Marking a child's answers: every problem shape and open place, the problems with many right
// answers, typed answers read back, the score's rounding, and generated problems checked again by
// the independent answer checker.

#include "core/Generator.h"
#include "core/NumberText.h"
#include "core/RandomSource.h"
#include "core/Sheet.h"
#include "testing/AnswerCheck.h"
#include "testing/Problems.h"
#include "worksheet/Marking.h"
#include "worksheet/StepByStep.h"
#include "worksheet/TableRow.h"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace sumvarl {
namespace {

using Problem = model::Problem;
using testing::Chain;
using testing::Four;
using testing::Two;

std::string Text(const Problem& p)
{
    std::string out;
    for (const char16_t c : TextsOf(p).key) {
        out += c < 0x80 ? std::string(1, static_cast<char>(c)) : "?";
    }
    return out + " open " + std::to_string(static_cast<int>(p.open));
}

struct MarkCase
{
    Problem problem;
    std::set<long long> right; // every answer in -20..120 that is right; the others are wrong
};

TEST(Marking, RightAnswersForEveryShapeAndOpenPlace)
{
    const MarkCase cases[] = {
        {Two(12, Operation::Add, 5, 17, 0), {17}},
        {Two(12, Operation::Add, 5, 17, 1), {12}},
        {Two(12, Operation::Add, 5, 17, 2), {5}},
        {Two(12, Operation::Subtract, 5, 7, 0), {7}},
        {Two(12, Operation::Subtract, 5, 7, 1), {12}},
        {Two(12, Operation::Subtract, 5, 7, 2), {5}},
        {Two(7, Operation::Multiply, 8, 56, 0), {56}},
        {Two(7, Operation::Multiply, 8, 56, 1), {7}},
        {Two(7, Operation::Multiply, 8, 56, 2), {8}},
        {Two(36, Operation::Divide, 4, 9, 0), {9}},
        {Two(36, Operation::Divide, 4, 9, 1), {36}},
        {Two(36, Operation::Divide, 4, 9, 2), {4}},
        // A factor of 0: every factor the times table has makes it true.
        {Two(3, Operation::Multiply, 0, 0, 1), {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {Two(0, Operation::Multiply, 6, 0, 2), {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {Two(0, Operation::Multiply, 0, 0, 0), {0}},
        // 0 divided by any divisor 1..9; never by 0.
        {Two(0, Operation::Divide, 7, 0, 2), {1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {Two(0, Operation::Divide, 7, 0, 1), {0}},
        {Two(0, Operation::Divide, 7, 0, 0), {0}},
        // Negative numbers from a negative number range.
        {Two(-20, Operation::Add, 15, -5, 2), {15}},
        {Two(-3, Operation::Subtract, -10, 7, 1), {-3}},
        // Longer than the sheet's 7 characters: marked in full.
        {Two(12000, Operation::Add, 20, 12020, 2), {20}},
        {Two(12000, Operation::Add, 100, 12100, 0), {}},
        // A stored number outside the times table is still the right one.
        {Two(12, Operation::Multiply, 2, 24, 1), {12}},
    };
    for (const MarkCase& c : cases) {
        for (long long answer = -20; answer <= 120; ++answer) {
            EXPECT_EQ(IsRightAnswer(c.problem, DecimalText(answer)), c.right.contains(answer))
                << Text(c.problem) << " answered " << answer;
        }
        EXPECT_FALSE(IsRightAnswer(c.problem, u"")) << Text(c.problem) << " empty";
    }
    EXPECT_TRUE(IsRightAnswer(Two(12000, Operation::Add, 100, 12100, 0), u"12100"));
}

// A division with a remainder wants both numbers; one that divides exactly takes "q……0" too.
TEST(Marking, RemainderDivisionsWantTheQuotientAndTheRemainder)
{
    const Problem withRemainder = Two(17, Operation::Divide, 5, 3, 0, 2, true);
    const Problem exact = Two(15, Operation::Divide, 5, 3, 0);
    EXPECT_TRUE(HasRemainder(withRemainder));
    EXPECT_FALSE(HasRemainder(exact));
    EXPECT_FALSE(HasRemainder(Two(17, Operation::Divide, 5, 3, 1, 2, true)));
    const struct
    {
        const Problem& problem;
        std::u16string quotient;
        std::u16string remainder;
        bool right;
    } cases[] = {
        {withRemainder, u"3", u"2", true},  {withRemainder, u"３", u"２", true},
        {withRemainder, u"3", u"", false},  {withRemainder, u"", u"2", false},
        {withRemainder, u"2", u"7", false}, {withRemainder, u"3", u"1", false},
        {withRemainder, u"4", u"2", false}, {exact, u"3", u"", true},
        {exact, u"3", u"0", true},          {exact, u"3", u"1", false},
        {exact, u"2", u"5", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsRightAnswer(c.problem, JoinRemainder(c.quotient, c.remainder)), c.right)
            << Text(c.problem) << " answered " << c.quotient.size() << "+" << c.remainder.size();
    }
    EXPECT_EQ(JoinRemainder(u"3", u"2"), RightAnswer(withRemainder));
}

// Chains as the sheet draws them, a number of each left open: that number is the one right
// answer, as the key writes it, and the row shows the blank where it stands. A remainder in the
// last step is answered like a division's.
TEST(Marking, ChainsHaveOneRightAnswerWhereverTheBlankIs)
{
    int open = 0;
    for (int s = 1; s < ProblemShapeCount; ++s) {
        PartSpec part;
        part.shape = static_cast<ProblemShape>(s);
        part.numberRange = 30;
        part.problemCount = 60;
        part.fillBlankOn = 1;
        part.fillBlankPercent = 100;
        for (const Problem& p : MakeSheet({{part}, static_cast<std::uint64_t>(s)}).problems) {
            const std::u16string right = RightAnswer(p);
            ASSERT_TRUE(IsRightAnswer(p, right)) << Text(p);
            if (p.open == OpenPlace::Result) {
                continue;
            }
            ++open;
            for (long long answer = -20; answer <= 120; ++answer) {
                ASSERT_EQ(IsRightAnswer(p, DecimalText(answer)), DecimalText(answer) == right)
                    << Text(p) << " answered " << answer;
            }
            const TableRow row = RowOf(p);
            ASSERT_EQ(OpenNumberIn(row.operand1 + row.operand2), right) << Text(p);
        }
    }
    EXPECT_GT(open, 300);

    // (17＋3)÷6＝3……2
    Problem remainder =
        Chain(17, Operation::Add, 3, Operation::Divide, 6, 3, 0, Brackets::FirstTwo);
    remainder.remainder = 2;
    remainder.withRemainder = true;
    EXPECT_TRUE(IsRightAnswer(remainder, u"3……2"));
    EXPECT_FALSE(IsRightAnswer(remainder, u"3"));
    EXPECT_FALSE(IsRightAnswer(remainder, u"3……1"));
    EXPECT_EQ(RightAnswer(remainder), u"3……2");
}

// Three steps: the texts with 中括号, the 脱式 lines (the 中括号 kept until its inside is one
// step), and the result as the only right answer.
TEST(Marking, ThreeStepsAreWrittenWorkedAndMarkedByTheirResult)
{
    using enum Operation;
    struct Case
    {
        Problem problem;
        std::u16string key;
        std::vector<std::u16string> steps;
    };
    const Case cases[] = {
        {Four(72, Divide, 5, Subtract, 2, Multiply, 3, Brackets::LastThreeFirstTwo, 8),
         u"72÷［（5－2）×3］＝8",
         {u"72÷［3×3］", u"72÷9", u"8"}},
        {Four(36, Subtract, 4, Add, 5, Multiply, 2, Brackets::FirstThreeLastTwo, 54),
         u"［36－（4＋5）］×2＝54",
         {u"［36－9］×2", u"27×2", u"54"}},
        {Four(56, Divide, 4, Multiply, 9, Subtract, 7, Brackets::LastThreeLastTwo, 7),
         u"56÷［4×（9－7）］＝7",
         {u"56÷［4×2］", u"56÷8", u"7"}},
    };
    for (const Case& c : cases) {
        const Problem& p = c.problem;
        EXPECT_EQ(TextsOf(p).key, c.key) << Text(p);
        EXPECT_EQ(WorkingSteps(p), c.steps) << Text(p);
        for (long long answer = -20; answer <= 120; ++answer) {
            EXPECT_EQ(IsRightAnswer(p, DecimalText(answer)), answer == p.result)
                << Text(p) << " answered " << answer;
        }
    }
    // A remainder in the last step: 60÷［(5＋2)×1］＝8……4.
    Problem rest = Four(60, Divide, 5, Add, 2, Multiply, 1, Brackets::LastThreeFirstTwo, 8);
    rest.remainder = 4;
    rest.withRemainder = true;
    EXPECT_TRUE(IsRightAnswer(rest, u"8……4"));
    EXPECT_FALSE(IsRightAnswer(rest, u"8"));
    EXPECT_EQ(WorkingSteps(rest).back(), u"8……4");
}

TEST(Marking, TypedAnswersReadAsWholeNumbers)
{
    const struct
    {
        std::u16string typed;
        std::optional<long long> value;
    } cases[] = {
        {u"17", 17},   {u"１７", 17}, {u"0", 0},    {u"007", 7},     {u"-5", -5},
        {u"－５", -5}, {u"−5", -5},   {u"", {}},    {u"-", {}},      {u"1 7", {}},
        {u"+3", {}},   {u"1７a", {}}, {u"--3", {}}, {u"３．０", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadAnswer(c.typed), c.value) << c.typed.size() << " characters";
    }
}

TEST(Marking, ScoreIsAPercentageRoundedHalfToEven)
{
    const struct
    {
        int right;
        int problems;
        int score;
    } cases[] = {
        {1, 3, 33}, {2, 3, 67},   {0, 0, 0},     {1, 8, 12},      {3, 8, 38},
        {0, 20, 0}, {17, 20, 85}, {20, 20, 100}, {199, 200, 100}, {1, 200, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Score(c.right, c.problems), c.score) << c.right << " of " << c.problems;
    }
}

TEST(Marking, NegativeAnswersWhereTheSheetHasNegativeNumbers)
{
    const Problem plain = Two(1, Operation::Add, 2, 3);
    const Problem negative = Two(-4, Operation::Subtract, 1, -5, 2);
    EXPECT_EQ(RightAnswer(negative), u"1");
    EXPECT_TRUE(NegativeAnswersPossible({plain, negative}));
    EXPECT_FALSE(NegativeAnswersPossible({plain}));
}

// Generated problems of every operation and open place, in positive and negative number ranges,
// checked against the checker that works each one out again from the sheet's text. The checker
// takes any number that makes "( )×0＝0" true; the sheet's rules keep a factor to 0..9 and a
// divisor to 1..9.
TEST(Marking, GeneratedProblemsAgreeWithTheAnswerChecker)
{
    std::uint64_t tick = 0;
    ClockRandom random(20240601, [&tick] { return ++tick; });
    const auto place = [](const TableRow& p, std::int16_t k, const std::u16string& filled) {
        const std::u16string& text = k == 1 ? p.operand1 : k == 2 ? p.operand2 : p.result;
        if (p.blankKind != k) {
            return text;
        }
        return k == 0 ? filled : u"(" + filled + u")";
    };
    const auto item = [&](const TableRow& p, const std::u16string& filled) {
        return place(p, 1, filled) + p.op + place(p, 2, filled) + u"＝" + place(p, 0, filled);
    };
    int checked = 0;
    for (std::int16_t op = 1; op <= 4; ++op) {
        PartSpec part;
        part.weightTotal = 10;
        for (std::size_t k = 0; k < 4; ++k) {
            part.cumulativeWeight[k] =
                static_cast<std::int16_t>(static_cast<int>(k) + 1 >= op ? 10 : 0);
        }
        for (const std::int16_t range : {std::int16_t{20}, std::int16_t{-30}}) {
            part.numberRange = range;
            for (int n = 0; n < 40; ++n) {
                Problem p = *DrawProblem(part, random);
                for (std::int16_t kind = 0; kind <= 2; ++kind) {
                    p.open = static_cast<OpenPlace>(kind);
                    ASSERT_EQ(static_cast<int>(p.operators[0]), op - 1);
                    const std::u16string sheet = item(RowOf(p), u"  ");
                    for (long long answer = -40; answer <= 100; ++answer) {
                        const bool ruled = (op == 3 && kind != 0 && (answer < 0 || answer > 9)) ||
                                           (op == 4 && kind == 2 && (answer < 1 || answer > 9));
                        const std::u16string key = item(RowOf(p), DecimalText(answer));
                        const bool checker = answercheck::CheckAnswer(sheet, key).empty();
                        EXPECT_EQ(IsRightAnswer(p, DecimalText(answer)), checker && !ruled)
                            << Text(p) << " answered " << answer;
                        ++checked;
                    }
                }
            }
        }
    }
    EXPECT_GT(checked, 100000);
}

} // namespace
} // namespace sumvarl
