#include "core/Math.h"

#include "core/Lesson.h"
#include "core/NumberText.h"
#include "core/RandomSource.h"

#include <optional>

namespace Math {

std::int16_t ProblemCount = 0;
std::int16_t NumberRange = 0;
std::int16_t WeightTotal = 0;
std::array<std::int16_t, 5> CumulativeWeight{};
std::int16_t FillBlankOn = 0;
std::int16_t FillBlankPercent = 0;
Lesson lesson;

std::u16string CurrentOperand1;
std::u16string CurrentOperator;
std::u16string CurrentOperand2;
std::u16string CurrentResult;
std::u16string CurrentKey;

WorksheetColumns WorksheetTable;

void ResetState()
{
    ProblemCount = 0;
    NumberRange = 0;
    WeightTotal = 0;
    CumulativeWeight = {};
    FillBlankOn = 0;
    FillBlankPercent = 0;
    lesson = Lesson{};
    CurrentOperand1.clear();
    CurrentOperator.clear();
    CurrentOperand2.clear();
    CurrentResult.clear();
    CurrentKey.clear();
    WorksheetTable = WorksheetColumns{};
}

namespace {

using sumvarl::FloorToInt16;
using sumvarl::ToInt16;

// A step that would leave 16 bits is skipped: its target keeps what it had.
void Assign(std::int16_t& target, std::optional<std::int16_t> value)
{
    if (value) {
        target = *value;
    }
}

std::optional<std::int16_t> Checked(int value)
{
    if (value < INT16_MIN || value > INT16_MAX) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(value);
}

struct Operands
{
    std::int16_t first = 0;
    std::int16_t second = 0;
    std::int16_t answer = 0;
    std::int16_t remainder = 0; // divisions with a remainder only
};

// Products with the draws are formed in double precision and only then floored.
Operands MakeOperands(int kind, std::int16_t n, double u1, double u2)
{
    Operands o;
    switch (kind) {
    case 1: { // addition: the sum first, then the first addend below it
        std::int16_t sum = 0;
        std::int16_t first = 0;
        Assign(sum, FloorToInt16(n * u1));
        Assign(first, FloorToInt16(sum * u2));
        o.first = first;
        Assign(o.second, Checked(sum - first));
        o.answer = sum;
        break;
    }
    case 2: { // subtraction: the larger draw first
        std::int16_t x = 0;
        std::int16_t y = 0;
        Assign(x, FloorToInt16(n * u1));
        Assign(y, FloorToInt16(n * u2));
        if (x < y) {
            std::swap(x, y);
        }
        o.first = x;
        o.second = y;
        Assign(o.answer, Checked(x - y));
        break;
    }
    case 3: { // the single-digit times table
        Assign(o.first, FloorToInt16(10 * u1));
        Assign(o.second, FloorToInt16(10 * u2));
        Assign(o.answer, Checked(o.first * o.second));
        break;
    }
    default: { // division that always comes out exactly
        std::int16_t divisorLess1 = 0;
        Assign(o.answer, FloorToInt16(10 * u1));
        Assign(divisorLess1, FloorToInt16(9 * u2));
        o.second = static_cast<std::int16_t>(divisorLess1 + 1);
        Assign(o.first, Checked(o.answer * o.second));
        break;
    }
    }
    return o;
}

// A remainder below the divisor, drawn from 0..8 and refused when too large, so that every
// quotient, divisor and remainder that fit come up equally often.
bool AddRemainder(Operands& o, double u3)
{
    std::int16_t remainder = 0;
    Assign(remainder, FloorToInt16(9 * u3));
    if (remainder >= o.second) {
        return false;
    }
    o.remainder = remainder;
    Assign(o.first, Checked(o.first + remainder));
    return true;
}

bool Fits(int kind, const Operands& o)
{
    switch (kind) {
    case 1:
        return sumvarl::AdditionFits(lesson, o.first, o.second);
    case 2:
        return sumvarl::SubtractionFits(lesson, o.first, o.second);
    case 3:
        return sumvarl::MultiplicationFits(lesson, o.first, o.second);
    default:
        return sumvarl::DivisorFits(lesson, o.second);
    }
}

// Draws the operands until they fit the lesson. At the lesson's defaults every problem fits,
// so the first two draws decide exactly as they always did.
std::optional<Operands> DrawFitting(int kind, std::int16_t n, sumvarl::RandomSource& random)
{
    const bool remainder = kind == 4 && lesson.remainder;
    for (int round = 0; round < MaxDrawRounds; ++round) {
        const double u1 = random.Draw();
        const double u2 = random.Draw();
        Operands o = MakeOperands(kind, n, u1, u2);
        if (remainder && !AddRemainder(o, random.Draw())) {
            continue;
        }
        if (Fits(kind, o)) {
            return o;
        }
    }
    return std::nullopt;
}

std::u16string ResultText(const Operands& o)
{
    std::u16string text = sumvarl::DecimalText(o.answer);
    if (o.remainder != 0) {
        text.append(RemainderSign).append(sumvarl::DecimalText(o.remainder));
    }
    return text;
}

} // namespace

// The last test that holds decides, and 0 means none.
int ChooseOperation(std::int16_t r, const std::array<std::int16_t, 5>& cw)
{
    int kind = 0;
    if (r <= cw[0]) {
        kind = 1;
    }
    if (cw[0] < r && r <= cw[1]) {
        kind = 2;
    }
    if (cw[1] < r && r <= cw[2]) {
        kind = 3;
    }
    if (cw[2] < r && r <= cw[3]) {
        kind = 4;
    }
    // Addition's band has no lower end, so r = 0 would pick an unticked addition. A parent who
    // ticked only multiplication expects no additions: r = 0 goes to the first operation that
    // has a weight. With nothing ticked at all every problem stays an addition.
    if (kind == 1 && r == 0 && cw[0] == 0) {
        for (std::size_t k = 1; k < 4; ++k) {
            if (cw[k] > cw[k - 1]) {
                return static_cast<int>(k) + 1;
            }
        }
    }
    return kind;
}

void GenerateProblem(std::int16_t rangeLimit, sumvarl::RandomSource& random)
{
    CurrentKey.clear();
    CurrentOperand1.clear();
    CurrentOperator.clear();
    CurrentOperand2.clear();
    CurrentResult.clear();

    random.Reseed();
    std::int16_t r = 0;
    Assign(r, ToInt16(WeightTotal * static_cast<double>(random.Draw())));

    const int kind = ChooseOperation(r, CumulativeWeight);
    if (kind == 0) {
        return;
    }

    random.Reseed();
    const std::optional<Operands> drawn = DrawFitting(kind, rangeLimit, random);
    if (!drawn) {
        return; // nothing fitted: no problem, as when no operation is chosen
    }
    const Operands& o = *drawn;

    CurrentOperand1 = sumvarl::DecimalText(o.first);
    CurrentOperator = OperatorTexts[static_cast<std::size_t>(kind - 1)];
    CurrentOperand2 = sumvarl::DecimalText(o.second);
    CurrentResult = ResultText(o);

    CurrentKey.reserve(CurrentOperand1.size() + CurrentOperand2.size() + CurrentResult.size() + 2);
    CurrentKey.append(CurrentOperand1)
        .append(CurrentOperator)
        .append(CurrentOperand2)
        .append(EqualsSign)
        .append(CurrentResult);
}

void GenerateProblem(std::int16_t rangeLimit)
{
    GenerateProblem(rangeLimit, sumvarl::SharedRandom());
}

} // namespace Math
