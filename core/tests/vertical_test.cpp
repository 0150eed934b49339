// 竖式: every problem drawn fits its kind and lesson, and the working a key shows is arithmetic
// that holds, recomputed column by column and step by step from the working alone.

#include "core/Generator.h"
#include "core/LessonRules.h"
#include "core/Sheet.h"
#include "core/SheetCode.h"
#include "core/Vertical.h"
#include "testing/Utf8.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>
#include <string>

namespace sumvarl {
namespace {

constexpr std::array AllKinds{
    VerticalKind::TwoDigitAddSubtract,  VerticalKind::ThreeDigitAddSubtract,
    VerticalKind::ManyDigitsByOneDigit, VerticalKind::TwoDigitByTwoDigit,
    VerticalKind::DivideByOneDigit,     VerticalKind::DivideByTwoDigit};

PartSpec Part(VerticalKind kind, Lesson lesson = {}, int count = 50)
{
    PartSpec part;
    part.vertical = kind;
    part.lesson = lesson;
    part.problemCount = static_cast<std::int16_t>(count);
    part.fillBlankOn = 1; // left aside: a 竖式 is asked for its result
    part.fillBlankPercent = 100;
    return part;
}

bool Has(const std::vector<int>& columns, int c)
{
    return std::find(columns.begin(), columns.end(), c) != columns.end();
}

// The result written column by column from the digits, the carries and the dots alone.
void ExpectColumnsHold(const ColumnWork& w)
{
    int written = 0;
    int place = 1;
    const int columns = DigitCount(std::max(w.top, w.result));
    for (int c = 0; c < columns; ++c, place *= 10) {
        int digit = 0;
        if (w.op == Operation::Add) {
            const int sum = Digit(w.top, c) + Digit(w.bottom, c) + (Has(w.carries, c) ? 1 : 0);
            EXPECT_EQ(sum >= 10, Has(w.carries, c + 1)) << w.top << "+" << w.bottom << " col " << c;
            digit = sum % 10;
        } else {
            // A dot over this column's digit: it lent 1 to the column on its right.
            const int own = Digit(w.top, c) - (Has(w.borrowDots, c) ? 1 : 0);
            const bool borrows = own < Digit(w.bottom, c);
            EXPECT_EQ(borrows, Has(w.borrowDots, c + 1))
                << w.top << "-" << w.bottom << " col " << c;
            digit = own + (borrows ? 10 : 0) - Digit(w.bottom, c);
        }
        written += digit * place;
    }
    EXPECT_EQ(written, w.result);
}

void ExpectProductHolds(const model::Problem& p)
{
    const MultiplyWork w = WorkProduct(p.operands[0], p.operands[1]);
    int sum = 0;
    int place = 1;
    for (std::size_t k = 0; k < w.partials.size(); ++k, place *= 10) {
        EXPECT_EQ(w.partials[k], w.top * Digit(w.bottom, static_cast<int>(k)));
        sum += w.partials[k] * place;
    }
    EXPECT_EQ(w.partials.empty() ? w.top * w.bottom : sum, w.product);
    EXPECT_NE(w.top % 10, 0);
    EXPECT_NE(w.bottom % 10, 0);
    int result = w.product;
    for (int z = 0; z < w.topZeros + w.bottomZeros; ++z) {
        result *= 10;
    }
    EXPECT_EQ(result, p.result);
}

void ExpectDivisionHolds(const model::Problem& p)
{
    const DivisionWork w = WorkDivision(p.operands[0], p.operands[1]);
    const std::string dividend = std::to_string(p.operands[0]);
    ASSERT_FALSE(w.steps.empty());
    EXPECT_EQ(w.steps.back().position + 1, static_cast<int>(dividend.size()));
    EXPECT_EQ(w.steps.front().number, std::stoi(dividend.substr(0, w.steps.front().position + 1)));
    EXPECT_NE(w.steps.front().digit, 0) << "no 0 is written before the quotient";
    int quotient = 0;
    for (std::size_t k = 0; k < w.steps.size(); ++k) {
        const DivisionStep& s = w.steps[k];
        EXPECT_EQ(s.product, s.digit * p.operands[1]);
        EXPECT_EQ(s.left, s.number - s.product);
        EXPECT_TRUE(0 <= s.left && s.left < p.operands[1]) << s.number << " ÷ " << p.operands[1];
        if (k > 0) {
            const DivisionStep& before = w.steps[k - 1];
            EXPECT_EQ(s.position, before.position + 1);
            EXPECT_EQ(s.number,
                      before.left * 10 + (dividend[static_cast<std::size_t>(s.position)] - '0'));
        }
        quotient = quotient * 10 + s.digit;
    }
    EXPECT_EQ(quotient, p.result);
    EXPECT_EQ(w.steps.back().left, p.remainder);
}

// What a kind promises of its numbers.
void ExpectFitsKind(VerticalKind kind, const Lesson& lesson, const model::Problem& p)
{
    const int a = p.operands[0];
    const int b = p.operands[1];
    const Operation op = p.operators[0];
    EXPECT_EQ(p.open, OpenPlace::Result);
    switch (kind) {
    case VerticalKind::TwoDigitAddSubtract:
    case VerticalKind::ThreeDigitAddSubtract: {
        const int digits = kind == VerticalKind::TwoDigitAddSubtract ? 2 : 3;
        EXPECT_TRUE(DigitCount(a) == digits && DigitCount(b) == digits) << a << ", " << b;
        if (op == Operation::Add) {
            EXPECT_TRUE(AdditionFits(lesson, a, b) && (digits == 3 || a + b < 100));
        } else {
            EXPECT_TRUE(op == Operation::Subtract && a > b && SubtractionFits(lesson, a, b));
        }
        ExpectColumnsHold(WorkColumns(op, a, b));
        EXPECT_EQ(WorkColumns(op, a, b).result, p.result);
        break;
    }
    case VerticalKind::ManyDigitsByOneDigit:
    case VerticalKind::TwoDigitByTwoDigit:
        EXPECT_EQ(op, Operation::Multiply);
        if (kind == VerticalKind::ManyDigitsByOneDigit) {
            EXPECT_TRUE(a >= 10 && b >= 2 && b >= lesson.tableFrom && b <= lesson.tableTo);
        } else {
            EXPECT_TRUE(DigitCount(a) == 2 && DigitCount(b) == 2 && a % 10 != 0);
        }
        ExpectProductHolds(p);
        break;
    case VerticalKind::DivideByOneDigit:
    case VerticalKind::DivideByTwoDigit:
        EXPECT_EQ(op, Operation::Divide);
        EXPECT_EQ(DigitCount(b), kind == VerticalKind::DivideByOneDigit ? 1 : 2);
        EXPECT_LE(a, 999);
        EXPECT_EQ(p.withRemainder, lesson.remainder);
        EXPECT_TRUE(lesson.remainderZero || (p.remainder != 0) == lesson.remainder);
        ExpectDivisionHolds(p);
        break;
    case VerticalKind::None:
        ADD_FAILURE();
    }
}

TEST(VerticalTest, SheetsFitTheirKindAndTheirWorkingHolds)
{
    Lesson carries;
    carries.carry = CarryRule::Always;
    carries.borrow = CarryRule::Always;
    Lesson plain;
    plain.carry = CarryRule::Never;
    plain.borrow = CarryRule::Never;
    plain.tableFrom = 6;
    Lesson remainders;
    remainders.remainder = true;
    Lesson someExact = remainders;
    someExact.remainderZero = true;
    for (const VerticalKind kind : AllKinds) {
        for (const Lesson& lesson : {Lesson{}, carries, plain, remainders, someExact}) {
            for (std::uint64_t seed = 1; seed <= 8; ++seed) {
                const Sheet sheet = MakeSheet({{Part(kind, lesson)}, seed});
                ASSERT_FALSE(sheet.fellShort) << static_cast<int>(kind);
                ASSERT_EQ(sheet.problems.size(), 50U);
                std::set<std::u16string> keys;
                for (const model::Problem& p : sheet.problems) {
                    ExpectFitsKind(kind, lesson, p);
                    EXPECT_TRUE(keys.insert(TextsOf(p).key).second) << "repeated";
                }
            }
        }
    }
}

TEST(VerticalTest, WorkingOfTextbookExamples)
{
    const ColumnWork sum = WorkColumns(Operation::Add, 456, 789);
    EXPECT_EQ(sum.carries, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(WorkColumns(Operation::Subtract, 503, 178).borrowDots, (std::vector<int>{1, 2}));
    const MultiplyWork product = WorkProduct(120, 30);
    EXPECT_TRUE(product.top == 12 && product.bottom == 3 && product.topZeros == 1 &&
                product.bottomZeros == 1 && product.product == 36 && product.result == 3600);
    const DivisionWork inner = WorkDivision(612, 6); // 102: the 1 brought down gives a 0
    ASSERT_EQ(inner.steps.size(), 3U);
    EXPECT_EQ(inner.steps[1].digit, 0);
    EXPECT_EQ(inner.steps[2].number, 12);
    EXPECT_EQ(WorkDivision(156, 3).steps.front().position, 1);
}

TEST(VerticalTest, CountsAreWhatTheDrawsReach)
{
    // Every problem the count allows, and then no more.
    Lesson nines;
    nines.tableFrom = 9;
    const long long count = DifferentVerticalProblems(Part(VerticalKind::DivideByOneDigit, nines));
    EXPECT_EQ(count, 111 - 10 + 1); // 90÷9 .. 999÷9
    EXPECT_FALSE(
        MakeSheet({{Part(VerticalKind::DivideByOneDigit, nines, static_cast<int>(count))}, 3})
            .fellShort);
    EXPECT_TRUE(
        MakeSheet({{Part(VerticalKind::DivideByOneDigit, nines, static_cast<int>(count) + 1)}, 3})
            .fellShort);
    Lesson noTables;
    noTables.tableTo = 1;
    EXPECT_EQ(DifferentVerticalProblems(Part(VerticalKind::ManyDigitsByOneDigit, noTables)), 0);
    EXPECT_TRUE(MakeSheet({{Part(VerticalKind::ManyDigitsByOneDigit, noTables, 1)}, 1}).fellShort);
}

TEST(VerticalTest, SheetCodesHoldTheKind)
{
    for (const VerticalKind kind : AllKinds) {
        PartSpec mixedIn = Part(VerticalKind::None);
        const SheetSpec recipe{{Part(kind), mixedIn}, 77, true};
        const std::u16string code = EncodeSheetCode(recipe);
        const DecodedSheetCode decoded = DecodeSheetCode(code);
        ASSERT_EQ(decoded.error, SheetCodeError::None) << testing::Utf8(code);
        EXPECT_TRUE(*decoded.recipe == recipe) << testing::Utf8(code);
        EXPECT_FALSE(FitsShortSheetCode({{Part(kind)}, 1}));
    }
}

} // namespace
} // namespace sumvarl
