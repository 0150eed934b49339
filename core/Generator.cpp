#include "core/Generator.h"

#include "core/Chains.h"
#include "core/LessonRules.h"
#include "core/NumberText.h"
#include "core/RandomSource.h"
#include "core/Vertical.h"

#include <utility>

namespace sumvarl {

namespace {

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
Operands MakeOperands(Operation operation, std::int16_t n, double u1, double u2)
{
    Operands o;
    switch (operation) {
    case Operation::Add: { // the sum first, then the first addend below it
        std::int16_t sum = 0;
        std::int16_t first = 0;
        Assign(sum, FloorToInt16(n * u1));
        Assign(first, FloorToInt16(sum * u2));
        o.first = first;
        Assign(o.second, Checked(sum - first));
        o.answer = sum;
        break;
    }
    case Operation::Subtract: { // the larger draw first
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
    case Operation::Multiply: { // the single-digit times table
        Assign(o.first, FloorToInt16(10 * u1));
        Assign(o.second, FloorToInt16(10 * u2));
        Assign(o.answer, Checked(o.first * o.second));
        break;
    }
    case Operation::Divide: { // division that always comes out exactly
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

// A remainder below the divisor, drawn from 0..8 and refused when too large (or 0 where exact
// divisions are not wanted), so that every quotient, divisor and remainder that fit come up
// equally often. A quotient of 0 ("3÷7") is refused: it is no division with a remainder.
bool AddRemainder(Operands& o, double u3, bool zeroAllowed)
{
    std::int16_t remainder = 0;
    Assign(remainder, FloorToInt16(9 * u3));
    if (o.answer < 1 || remainder >= o.second || (remainder == 0 && !zeroAllowed)) {
        return false;
    }
    o.remainder = remainder;
    Assign(o.first, Checked(o.first + remainder));
    return true;
}

bool Fits(const Lesson& lesson, Operation operation, const Operands& o)
{
    switch (operation) {
    case Operation::Add:
        return AdditionFits(lesson, o.first, o.second);
    case Operation::Subtract:
        return SubtractionFits(lesson, o.first, o.second);
    case Operation::Multiply:
        return MultiplicationFits(lesson, o.first, o.second);
    case Operation::Divide:
        return DivisorFits(lesson, o.second);
    }
    return false;
}

// Draws the operands until they fit the lesson. At the lesson's defaults every problem fits,
// so the first two draws decide exactly as they always did.
std::optional<Operands> DrawFitting(const PartSpec& part, Operation operation, RandomSource& random)
{
    const bool remainder = operation == Operation::Divide && part.lesson.remainder;
    for (int round = 0; round < MaxDrawRounds; ++round) {
        const double u1 = random.Draw();
        const double u2 = random.Draw();
        Operands o = MakeOperands(operation, part.numberRange, u1, u2);
        if (remainder && !AddRemainder(o, random.Draw(), part.lesson.remainderZero)) {
            continue;
        }
        if (Fits(part.lesson, operation, o)) {
            return o;
        }
    }
    return std::nullopt;
}

} // namespace

// The last test that holds decides, and 0 means none.
int ChooseOperation(std::int16_t r, std::span<const std::int16_t> cw)
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

std::optional<model::Problem> DrawProblem(const PartSpec& part, RandomSource& random)
{
    if (part.vertical != VerticalKind::None) {
        return DrawVertical(part, random);
    }
    if (part.shape != ProblemShape::OneOperation) {
        return DrawChain(part, random);
    }
    random.Reseed();
    std::int16_t r = 0;
    Assign(r, ToInt16(part.weightTotal * static_cast<double>(random.Draw())));

    const int kind = ChooseOperation(r, part.cumulativeWeight);
    if (kind == 0) {
        return std::nullopt;
    }
    const auto operation = static_cast<Operation>(kind - 1);

    random.Reseed();
    const std::optional<Operands> drawn = DrawFitting(part, operation, random);
    if (!drawn) {
        return std::nullopt;
    }
    model::Problem p;
    p.operands = {drawn->first, drawn->second, 0};
    p.operators = {operation, Operation::Add};
    p.result = drawn->answer;
    p.remainder = drawn->remainder;
    p.withRemainder = operation == Operation::Divide && part.lesson.remainder;
    return p;
}

} // namespace sumvarl
