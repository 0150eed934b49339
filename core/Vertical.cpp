#include "core/Vertical.h"

#include "core/Generator.h"
#include "core/LessonRules.h"
#include "core/RandomSource.h"

#include <algorithm>
#include <string>

namespace sumvarl {

namespace {

// A whole number from low to high, each equally likely.
int Between(RandomSource& random, int low, int high)
{
    const int span = high - low + 1;
    return low + std::min(static_cast<int>(static_cast<double>(random.Draw()) * span), span - 1);
}

bool EndsInZero(int value)
{
    return value != 0 && value % 10 == 0;
}

model::Problem Made(Operation op, int a, int b, int result, int remainder, bool withRemainder)
{
    model::Problem p;
    p.operands = {static_cast<std::int16_t>(a), static_cast<std::int16_t>(b), 0};
    p.operators = {op, Operation::Add};
    p.result = static_cast<std::int16_t>(result);
    p.remainder = static_cast<std::int16_t>(remainder);
    p.withRemainder = withRemainder;
    return p;
}

// Addition or subtraction, in the shares of the part's weights.
Operation AddOrSubtract(const PartSpec& part, RandomSource& random)
{
    const int add = std::max<int>(part.cumulativeWeight[0], 0);
    const int subtract = std::max<int>(part.cumulativeWeight[1] - part.cumulativeWeight[0], 0);
    const double u = random.Draw();
    if (add + subtract == 0) {
        return u < 0.5 ? Operation::Add : Operation::Subtract;
    }
    return u * (add + subtract) < add ? Operation::Add : Operation::Subtract;
}

// Both numbers of `digits` digits; a sum of two-digit numbers stays within 100, as the
// lessons of 100以内 ask, and a difference is above 0.
std::optional<model::Problem> AddSubtract(const PartSpec& part, RandomSource& random, int digits)
{
    const int low = digits == 2 ? 10 : 100;
    const int high = digits == 2 ? 99 : 999;
    const Operation op = AddOrSubtract(part, random);
    for (int round = 0; round < MaxDrawRounds; ++round) {
        const int a = Between(random, low, high);
        const int b = Between(random, low, high);
        if (op == Operation::Add) {
            if ((digits == 2 && a + b > 99) || !AdditionFits(part.lesson, a, b)) {
                continue;
            }
            return Made(op, a, b, a + b, 0, false);
        }
        const int x = std::max(a, b);
        const int y = std::min(a, b);
        if (x != y && SubtractionFits(part.lesson, x, y)) {
            return Made(op, x, y, x - y, 0, false);
        }
    }
    return std::nullopt;
}

// A one-digit factor or divisor from the lesson's times tables, 2 at least: ×1 and ÷1 need no
// columns. None when the tables hold no such number.
std::optional<int> OneDigit(const Lesson& lesson, RandomSource& random)
{
    const int low = std::max<int>(lesson.tableFrom, 2);
    const int high = std::min<int>(lesson.tableTo, 9);
    if (low > high) {
        return std::nullopt;
    }
    return Between(random, low, high);
}

std::optional<model::Problem> Multiply(const PartSpec& part, RandomSource& random, bool twoDigits)
{
    for (int round = 0; round < MaxDrawRounds; ++round) {
        if (twoDigits) {
            // The top factor without a trailing 0: 30×12 is written 12×30.
            const int a = Between(random, 11, 99);
            const int b = Between(random, 11, 99);
            if (!EndsInZero(a)) {
                return Made(Operation::Multiply, a, b, a * b, 0, false);
            }
            continue;
        }
        const int a = Between(random, 11, 999);
        const std::optional<int> b = OneDigit(part.lesson, random);
        if (!b) {
            return std::nullopt;
        }
        return Made(Operation::Multiply, a, *b, a * *b, 0, false);
    }
    return std::nullopt;
}

// Quotients of two digits and more for a one-digit divisor, 2 and more for two digits. Exact
// unless the lesson asks for remainders (1..d−1, or 0..d−1 with remainderZero).
std::optional<model::Problem> Divide(const PartSpec& part, RandomSource& random, bool twoDigits)
{
    const Lesson& lesson = part.lesson;
    const int low = twoDigits ? 100 : 10;
    for (int round = 0; round < MaxDrawRounds; ++round) {
        std::optional<int> divisor = twoDigits ? Between(random, 11, 99) : OneDigit(lesson, random);
        if (!divisor) {
            return std::nullopt;
        }
        const int d = *divisor;
        const int leastQuotient = std::max(twoDigits ? 2 : 10, (low + d - 1) / d);
        const int q = Between(random, leastQuotient, 999 / d);
        const int r = lesson.remainder ? Between(random, 0, d - 1) : 0;
        if (q * d + r > 999 || (lesson.remainder && r == 0 && !lesson.remainderZero)) {
            continue;
        }
        return Made(Operation::Divide, q * d + r, d, q, r, lesson.remainder);
    }
    return std::nullopt;
}

long long CountAddSubtract(const PartSpec& part, int digits)
{
    const int low = digits == 2 ? 10 : 100;
    const int high = digits == 2 ? 99 : 999;
    const bool adds =
        part.cumulativeWeight[0] > 0 || part.cumulativeWeight[1] - part.cumulativeWeight[0] <= 0;
    const bool subtracts =
        part.cumulativeWeight[1] - part.cumulativeWeight[0] > 0 || part.cumulativeWeight[0] <= 0;
    long long count = 0;
    for (int a = low; a <= high; ++a) {
        for (int b = low; b <= high; ++b) {
            if (adds && !(digits == 2 && a + b > 99) && AdditionFits(part.lesson, a, b)) {
                ++count;
            }
            if (subtracts && a > b && SubtractionFits(part.lesson, a, b)) {
                ++count;
            }
        }
    }
    return count;
}

long long CountDivisions(const Lesson& lesson, bool twoDigits)
{
    const int low = twoDigits ? 11 : std::max<int>(lesson.tableFrom, 2);
    const int high = twoDigits ? 99 : std::min<int>(lesson.tableTo, 9);
    long long count = 0;
    for (int d = low; d <= high; ++d) {
        const int leastQuotient =
            std::max(twoDigits ? 2 : 10, ((twoDigits ? 100 : 10) + d - 1) / d);
        for (int q = leastQuotient; q <= 999 / d; ++q) {
            if (!lesson.remainder) {
                ++count;
                continue;
            }
            for (int r = lesson.remainderZero ? 0 : 1; r < d && q * d + r <= 999; ++r) {
                ++count;
            }
        }
    }
    return count;
}

} // namespace

long long DifferentVerticalProblems(const PartSpec& part)
{
    switch (part.vertical) {
    case VerticalKind::None:
        return 0;
    case VerticalKind::TwoDigitAddSubtract:
        return CountAddSubtract(part, 2);
    case VerticalKind::ThreeDigitAddSubtract:
        return CountAddSubtract(part, 3);
    case VerticalKind::ManyDigitsByOneDigit: {
        const long long factors = std::max(0, std::min<int>(part.lesson.tableTo, 9) -
                                                  std::max<int>(part.lesson.tableFrom, 2) + 1);
        return factors * (999 - 11 + 1);
    }
    case VerticalKind::TwoDigitByTwoDigit:
        return (89 - 8) * 89LL; // tops 11..99 without 20, 30, ..., 90
    case VerticalKind::DivideByOneDigit:
        return CountDivisions(part.lesson, false);
    case VerticalKind::DivideByTwoDigit:
        return CountDivisions(part.lesson, true);
    }
    return 0;
}

std::optional<model::Problem> DrawVertical(const PartSpec& part, RandomSource& random)
{
    switch (part.vertical) {
    case VerticalKind::None:
        return std::nullopt;
    case VerticalKind::TwoDigitAddSubtract:
        return AddSubtract(part, random, 2);
    case VerticalKind::ThreeDigitAddSubtract:
        return AddSubtract(part, random, 3);
    case VerticalKind::ManyDigitsByOneDigit:
        return Multiply(part, random, false);
    case VerticalKind::TwoDigitByTwoDigit:
        return Multiply(part, random, true);
    case VerticalKind::DivideByOneDigit:
        return Divide(part, random, false);
    case VerticalKind::DivideByTwoDigit:
        return Divide(part, random, true);
    }
    return std::nullopt;
}

bool IsVerticalSheet(const SheetSpec& recipe)
{
    return !recipe.parts.empty() &&
           std::all_of(recipe.parts.begin(), recipe.parts.end(),
                       [](const PartSpec& part) { return part.vertical != VerticalKind::None; });
}

int Digit(int value, int column)
{
    for (; column > 0; --column) {
        value /= 10;
    }
    return value % 10;
}

int DigitCount(int value)
{
    int count = 1;
    for (; value >= 10; value /= 10) {
        ++count;
    }
    return count;
}

ColumnWork WorkColumns(Operation op, int top, int bottom)
{
    ColumnWork work{op, top, bottom, op == Operation::Add ? top + bottom : top - bottom, {}, {}};
    int carry = 0;
    const int columns = std::max(DigitCount(top), DigitCount(bottom));
    for (int c = 0; c < columns; ++c) {
        if (op == Operation::Add) {
            carry = Digit(top, c) + Digit(bottom, c) + carry >= 10 ? 1 : 0;
            if (carry != 0) {
                work.carries.push_back(c + 1);
            }
        } else {
            carry = Digit(top, c) - carry < Digit(bottom, c) ? 1 : 0;
            if (carry != 0) {
                work.borrowDots.push_back(c + 1);
            }
        }
    }
    return work;
}

MultiplyWork WorkProduct(int top, int bottom)
{
    MultiplyWork work;
    work.top = top;
    work.bottom = bottom;
    for (; EndsInZero(work.top); work.top /= 10) {
        ++work.topZeros;
    }
    for (; EndsInZero(work.bottom); work.bottom /= 10) {
        ++work.bottomZeros;
    }
    if (work.bottom >= 10) {
        for (int rest = work.bottom; rest > 0; rest /= 10) {
            work.partials.push_back(work.top * (rest % 10));
        }
    }
    work.product = work.top * work.bottom;
    work.result = top * bottom;
    return work;
}

DivisionWork WorkDivision(int dividend, int divisor)
{
    DivisionWork work{dividend, divisor, dividend / divisor, dividend % divisor, {}};
    const std::string digits = std::to_string(dividend);
    const auto count = static_cast<int>(digits.size());
    int number = 0;
    for (int position = 0; position < count; ++position) {
        number = number * 10 + (digits[static_cast<std::size_t>(position)] - '0');
        // No 0 is written before the first quotient digit: 156÷3 starts over the 5.
        if (work.steps.empty() && number < divisor && position + 1 < count) {
            continue;
        }
        const int digit = number / divisor;
        work.steps.push_back({position, number, digit, digit * divisor, number - digit * divisor});
        number -= digit * divisor;
    }
    return work;
}

} // namespace sumvarl
