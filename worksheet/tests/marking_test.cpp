// Marking a child's answers: every problem shape and open place, the problems with many right
// answers, typed answers read back, the score's rounding, and generated problems checked again by
// the independent answer checker.

#include "core/Math.h"
#include "core/NumberText.h"
#include "core/RandomSource.h"
#include "testing/AnswerCheck.h"
#include "testing/TableRows.h"
#include "worksheet/Marking.h"

#include <gtest/gtest.h>
#include <set>
#include <string>

namespace sumvarl {
namespace {

std::string Text(const Problem& p)
{
    std::string out;
    for (const std::u16string* part : {&p.operand1, &p.op, &p.operand2, &p.result}) {
        for (const char16_t c : *part) {
            out += c < 0x80 ? std::string(1, static_cast<char>(c)) : "?";
        }
        out += ' ';
    }
    return out + "kind " + std::to_string(p.blankKind);
}

struct MarkCase
{
    Problem problem;
    std::set<long long> right; // every answer in -20..120 that is right; the others are wrong
};

TEST(Marking, RightAnswersForEveryShapeAndOpenPlace)
{
    const MarkCase cases[] = {
        {{u"12", u"＋", u"5", u"17", 0}, {17}},
        {{u"12", u"＋", u"5", u"17", 1}, {12}},
        {{u"12", u"＋", u"5", u"17", 2}, {5}},
        {{u"12", u"－", u"5", u"7", 0}, {7}},
        {{u"12", u"－", u"5", u"7", 1}, {12}},
        {{u"12", u"－", u"5", u"7", 2}, {5}},
        {{u"7", u"×", u"8", u"56", 0}, {56}},
        {{u"7", u"×", u"8", u"56", 1}, {7}},
        {{u"7", u"×", u"8", u"56", 2}, {8}},
        {{u"36", u"÷", u"4", u"9", 0}, {9}},
        {{u"36", u"÷", u"4", u"9", 1}, {36}},
        {{u"36", u"÷", u"4", u"9", 2}, {4}},
        // A factor of 0: every factor the times table has makes it true.
        {{u"3", u"×", u"0", u"0", 1}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {{u"0", u"×", u"6", u"0", 2}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {{u"0", u"×", u"0", u"0", 0}, {0}},
        // 0 divided by any divisor 1..9; never by 0.
        {{u"0", u"÷", u"7", u"0", 2}, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {{u"0", u"÷", u"7", u"0", 1}, {0}},
        {{u"0", u"÷", u"7", u"0", 0}, {0}},
        // Negative numbers from a negative number range.
        {{u"-20", u"＋", u"15", u"-5", 2}, {15}},
        {{u"-3", u"－", u"-10", u"7", 1}, {-3}},
        // Longer than the sheet's 7 characters: marked in full.
        {{u"12000", u"＋", u"20", u"12020", 2}, {20}},
        {{u"12000", u"＋", u"100", u"12100", 0}, {}},
        // A stored number outside the times table is still the right one.
        {{u"12", u"×", u"2", u"24", 1}, {12}},
    };
    for (const MarkCase& c : cases) {
        for (long long answer = -20; answer <= 120; ++answer) {
            EXPECT_EQ(IsRightAnswer(c.problem, DecimalText(answer)), c.right.contains(answer))
                << Text(c.problem) << " answered " << answer;
        }
        EXPECT_FALSE(IsRightAnswer(c.problem, u"")) << Text(c.problem) << " empty";
    }
    EXPECT_TRUE(IsRightAnswer({u"12000", u"＋", u"100", u"12100", 0}, u"12100"));
}

// A division with a remainder wants both numbers; one that divides exactly takes "q……0" too.
TEST(Marking, RemainderDivisionsWantTheQuotientAndTheRemainder)
{
    const Problem withRemainder{u"17", u"÷", u"5", u"3……2", 0};
    const Problem exact{u"15", u"÷", u"5", u"3", 0};
    EXPECT_TRUE(HasRemainder(withRemainder));
    EXPECT_FALSE(HasRemainder(exact));
    EXPECT_FALSE(HasRemainder({u"17", u"÷", u"5", u"3……2", 1}));
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

TEST(Marking, ProblemsAreTheTableRowsUpToTheFirstEmptyOne)
{
    Math::ResetState();
    testing::SetRow(1, u"1", u"＋", u"2", u"3", 0);
    testing::SetRow(2, u"-4", u"－", u"1", u"-5", 2);
    testing::SetRow(4, u"5", u"×", u"5", u"25", 1);
    Math::ProblemCount = 4;
    const std::vector<Problem> problems = TableProblems();
    ASSERT_EQ(problems.size(), 2U);
    EXPECT_EQ(problems[1].operand1, u"-4");
    EXPECT_EQ(RightAnswer(problems[1]), u"1");
    EXPECT_TRUE(NegativeAnswersPossible(problems));
    EXPECT_FALSE(NegativeAnswersPossible({problems[0]}));
    Math::ProblemCount = 1;
    EXPECT_EQ(TableProblems().size(), 1U);
}

// Generated problems of every operation and open place, in positive and negative number ranges,
// checked against the checker that works each one out again from the sheet's text. The checker
// takes any number that makes "( )×0＝0" true; the sheet's rules keep a factor to 0..9 and a
// divisor to 1..9.
TEST(Marking, GeneratedProblemsAgreeWithTheAnswerChecker)
{
    Math::ResetState();
    std::uint64_t tick = 0;
    ClockRandom random(20240601, [&tick] { return ++tick; });
    const auto place = [](const Problem& p, std::int16_t k, const std::u16string& filled) {
        const std::u16string& text = k == 1 ? p.operand1 : k == 2 ? p.operand2 : p.result;
        if (p.blankKind != k) {
            return text;
        }
        return k == 0 ? filled : u"(" + filled + u")";
    };
    const auto item = [&](const Problem& p, const std::u16string& filled) {
        return place(p, 1, filled) + p.op + place(p, 2, filled) + u"＝" + place(p, 0, filled);
    };
    int checked = 0;
    for (std::int16_t op = 1; op <= 4; ++op) {
        Math::WeightTotal = 10;
        for (std::size_t k = 0; k < 4; ++k) {
            Math::CumulativeWeight[k] =
                static_cast<std::int16_t>(static_cast<int>(k) + 1 >= op ? 10 : 0);
        }
        for (const std::int16_t range : {std::int16_t{20}, std::int16_t{-30}}) {
            for (int n = 0; n < 40; ++n) {
                Math::GenerateProblem(range, random);
                for (std::int16_t kind = 0; kind <= 2; ++kind) {
                    const Problem p{Math::CurrentOperand1, Math::CurrentOperator,
                                    Math::CurrentOperand2, Math::CurrentResult, kind};
                    ASSERT_EQ(p.op, Math::OperatorTexts[static_cast<std::size_t>(op - 1)]);
                    const std::u16string sheet = item(p, u"  ");
                    for (long long answer = -40; answer <= 100; ++answer) {
                        const bool ruled = (op == 3 && kind != 0 && (answer < 0 || answer > 9)) ||
                                           (op == 4 && kind == 2 && (answer < 1 || answer > 9));
                        const std::u16string key = item(p, DecimalText(answer));
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
