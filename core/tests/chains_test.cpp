// Chains against the rules: every chain drawn keeps them, and the count the windows show is the
// number of triples (or, for three steps, quadruples) that keep them, found by trying every one.

#include "core/Chains.h"
#include "core/Lesson.h"
#include "core/RandomSource.h"
#include "core/Sheet.h"
#include "testing/Utf8.h"

#include <gtest/gtest.h>
#include <ostream>
#include <set>

namespace sumvarl {
namespace {

struct ChainCase
{
    ProblemShape shape;
    int range;
    Lesson lesson;
};

// What a failure names; without it GoogleTest prints the bytes, padding included.
void PrintTo(const ChainCase& c, std::ostream* out)
{
    *out << "shape " << static_cast<int>(c.shape) << ", range " << c.range << ", tables "
         << c.lesson.tableFrom << "-" << c.lesson.tableTo
         << (c.lesson.remainder ? ", remainders" : "");
}

std::vector<ChainCase> Cases()
{
    std::vector<ChainCase> cases;
    Lesson tables25;
    tables25.tableFrom = 2;
    tables25.tableTo = 5;
    Lesson remainders;
    remainders.remainder = true;
    for (int s = 1; s < ProblemShapeCount; ++s) {
        const auto shape = static_cast<ProblemShape>(s);
        if (shape == ProblemShape::ThreeSteps) {
            continue; // four numbers: every quadruple of 100 would take too long to try
        }
        for (const int range : {1, 10, 20, 100}) {
            cases.push_back({shape, range, Lesson{}});
        }
        cases.push_back({shape, 30, tables25});
        cases.push_back({shape, 100, remainders});
    }
    // Within 8 and below the chains are drawn from a list of them all.
    for (const int range : {1, 6, 10, 16}) {
        cases.push_back({ProblemShape::ThreeSteps, range, Lesson{}});
    }
    cases.push_back({ProblemShape::ThreeSteps, 14, tables25});
    cases.push_back({ProblemShape::ThreeSteps, 16, remainders});
    return cases;
}

std::string NameOf(const ::testing::TestParamInfo<ChainCase>& info)
{
    return "shape" + std::to_string(static_cast<int>(info.param.shape)) + "_range" +
           std::to_string(info.param.range) + "_" + std::to_string(info.index);
}

class ChainRules : public ::testing::TestWithParam<ChainCase>
{
protected:
    PartSpec Part(int count, int fillPercent = 0) const
    {
        PartSpec part;
        part.shape = GetParam().shape;
        part.numberRange = static_cast<std::int16_t>(GetParam().range);
        part.lesson = GetParam().lesson;
        part.problemCount = static_cast<std::int16_t>(count);
        part.fillBlankOn = fillPercent > 0 ? 1 : 0;
        part.fillBlankPercent = static_cast<std::int16_t>(fillPercent);
        return part;
    }
};

// One step l op r checked straight from the numbers: both within the range, products and
// quotients of the tables, a remainder only in the last step and only when asked for. A step of
// three steps is plain: no 0 in it or as its value, no factor or divisor 1.
int Apply(const ChainCase& c, int l, Operation op, int r, bool last, int& remainder)
{
    const bool inRange = l >= 0 && r >= 0 && l < c.range && r < c.range;
    EXPECT_TRUE(inRange) << l << " " << r;
    const bool plain = c.shape == ProblemShape::ThreeSteps;
    EXPECT_TRUE(!plain || (l >= 1 && r >= 1)) << l << " " << r;
    int value = -1;
    switch (op) {
    case Operation::Add:
        value = l + r;
        break;
    case Operation::Subtract:
        value = l - r;
        break;
    case Operation::Multiply:
        EXPECT_TRUE(l <= 9 && r <= 9 && MultiplicationFits(c.lesson, l, r));
        EXPECT_TRUE(!plain || (l >= 2 && r >= 2)) << l << "×" << r;
        value = l * r;
        break;
    case Operation::Divide:
        EXPECT_TRUE(DivisorFits(c.lesson, r) && l / r <= 9);
        EXPECT_TRUE(!plain || r >= 2) << l << "÷" << r;
        remainder = l % r;
        EXPECT_TRUE(remainder == 0 || (last && c.lesson.remainder));
        value = l / r;
        break;
    }
    EXPECT_TRUE(!plain || value >= 1) << l << " " << r;
    return value;
}

bool Binds(Operation op)
{
    return op == Operation::Multiply || op == Operation::Divide;
}

// The value of a op1 b op2 c, each step checked.
int ApplyThree(const ChainCase& c, std::array<int, 3> n, std::array<Operation, 2> op,
               Brackets brackets, bool last, int& remainder)
{
    const bool lastFirst = brackets == Brackets::LastTwo ||
                           (brackets == Brackets::None && Binds(op[1]) && !Binds(op[0]));
    if (lastFirst) {
        const int v = Apply(c, n[1], op[1], n[2], false, remainder);
        return Apply(c, n[0], op[0], v, last, remainder);
    }
    const int v = Apply(c, n[0], op[0], n[1], false, remainder);
    return Apply(c, v, op[1], n[2], last, remainder);
}

// The rules checked straight from the numbers, apart from WorkOut: every number written and
// every intermediate value within the range, each step as Apply checks it.
void ExpectRulesHold(const model::Problem& p, const ChainCase& c)
{
    const auto& n = p.operands;
    const auto& op = p.operators;
    int remainder = 0;
    int result = 0;
    if (p.operandCount == 3) {
        result = ApplyThree(c, {n[0], n[1], n[2]}, {op[0], op[1]}, p.brackets, true, remainder);
    } else if (p.brackets == Brackets::FirstThreeLastTwo) { // ［a－(b＋c)］×d
        const int v =
            ApplyThree(c, {n[0], n[1], n[2]}, {op[0], op[1]}, Brackets::LastTwo, false, remainder);
        result = Apply(c, v, op[2], n[3], true, remainder);
    } else { // a÷［(b－c)×d］, a÷［b×(c－d)］
        const Brackets pair =
            p.brackets == Brackets::LastThreeFirstTwo ? Brackets::FirstTwo : Brackets::LastTwo;
        const int v = ApplyThree(c, {n[1], n[2], n[3]}, {op[1], op[2]}, pair, false, remainder);
        result = Apply(c, n[0], op[0], v, true, remainder);
    }
    EXPECT_TRUE(result >= 0 && result < c.range);
    EXPECT_EQ(result, p.result);
    EXPECT_EQ(remainder, p.remainder);
}

TEST_P(ChainRules, CountIsEveryTripleThatKeepsTheRules)
{
    const ChainCase& c = GetParam();
    long long tried = 0;
    for (const ChainForm& form : FormsOf(c.shape)) {
        const int fourths = NumbersOf(form) == 4 ? c.range : 1;
        for (int a = 0; a < c.range; ++a) {
            for (int b = 0; b < c.range; ++b) {
                for (int d = 0; d < c.range; ++d) {
                    for (int e = 0; e < fourths; ++e) {
                        tried += WorkOut(form, {a, b, d, e}, c.range, c.lesson) ? 1 : 0;
                    }
                }
            }
        }
    }
    CountInputs in;
    in.shape = c.shape;
    in.numberRange = static_cast<std::int16_t>(c.range);
    in.lesson = c.lesson;
    EXPECT_EQ(DifferentProblems(in), tried);
    EXPECT_EQ(CheckLesson(in), tried == 0 ? LessonRefusal::NoChain : LessonRefusal::None);
}

TEST_P(ChainRules, EverySheetKeepsTheRules)
{
    const ChainCase& c = GetParam();
    CountInputs in;
    in.shape = c.shape;
    in.numberRange = static_cast<std::int16_t>(c.range);
    in.lesson = c.lesson;
    const long long different = DifferentProblems(in);
    const int asked = static_cast<int>(std::min<long long>(different, 200));
    for (std::uint64_t seed = 1; seed <= 40; ++seed) {
        const Sheet sheet = MakeSheet({{Part(asked, seed % 2 == 0 ? 60 : 0)}, seed});
        // A sheet asking for every chain there is still finds them all, the rarest included.
        ASSERT_FALSE(sheet.fellShort) << "seed " << seed;
        ASSERT_EQ(sheet.problems.size(), static_cast<std::size_t>(asked));
        std::set<std::u16string> keys;
        for (const model::Problem& p : sheet.problems) {
            const std::string key = testing::Utf8(TextsOf(p).key);
            ASSERT_TRUE(keys.insert(TextsOf(p).key).second) << "repeated " << key;
            const ChainForm form{p.operators[0], p.operators[1], p.brackets, p.operators[2]};
            bool known = false;
            for (const ChainForm& f : FormsOf(c.shape)) {
                known = known || (f.first == form.first && f.second == form.second &&
                                  f.brackets == form.brackets &&
                                  (NumbersOf(f) == 3 || f.third == form.third));
            }
            ASSERT_TRUE(known) << key;
            ASSERT_EQ(p.operandCount, NumbersOf(form)) << key;
            // Brackets only where they change the order.
            if (p.brackets == Brackets::FirstTwo || p.brackets == Brackets::LastTwo) {
                const ChainForm plain{form.first, form.second, Brackets::None};
                ASSERT_NE(LastTwoFirst(plain), LastTwoFirst(form)) << key;
            }
            if (p.operandCount == 4) {
                // A 中括号 holds a 小括号 and stands where it changes the order: beside × or ÷,
                // and on the left only around a subtraction ([36－(4＋5)]×2, not [3×(4＋5)]÷2).
                const std::u16string k = TextsOf(p).key;
                const std::size_t open = k.find(u'［');
                const std::size_t close = k.find(u'］');
                ASSERT_TRUE(open != std::u16string::npos && close != std::u16string::npos) << key;
                ASSERT_LT(k.find(u'（', open), close) << key;
                const char16_t beside = open == 0 ? k.at(close + 1) : k.at(open - 1);
                ASSERT_TRUE(beside == u'×' || beside == u'÷') << key;
                ASSERT_TRUE(open != 0 || p.operators[0] == Operation::Subtract) << key;
            }
            ExpectRulesHold(p, c);
            ASSERT_FALSE(HasFailure()) << key;
            if (p.open != OpenPlace::Result) {
                ASSERT_EQ(p.operandCount, 3) << key; // three steps: only the result is asked
                ASSERT_TRUE(OneAnswerAtEveryPlace(p)) << key;
                ASSERT_FALSE(p.withRemainder) << key;
            }
        }
    }
    // One more than there are: the sheet stops short, having tried its limit of draws.
    if (different < 200) {
        const Sheet over = MakeSheet({{Part(asked + 1)}, 7});
        EXPECT_TRUE(over.fellShort);
        EXPECT_EQ(over.problems.size(), static_cast<std::size_t>(asked));
    }
}

INSTANTIATE_TEST_SUITE_P(Shapes, ChainRules, ::testing::ValuesIn(Cases()), NameOf);

} // namespace
} // namespace sumvarl
