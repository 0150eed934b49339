#include "core/Chains.h"

#include "core/Generator.h"
#include "core/RandomSource.h"

#include <algorithm>

namespace sumvarl {

namespace {

using enum Operation;

constexpr int LargestFactor = 9;
constexpr int LargestQuotient = 9;

constexpr std::array<ChainForm, 1> AddChainForms{{{Add, Add, Brackets::None}}};
constexpr std::array<ChainForm, 1> SubtractChainForms{{{Subtract, Subtract, Brackets::None}}};
constexpr std::array<ChainForm, 2> AddSubtractForms{
    {{Add, Subtract, Brackets::None}, {Subtract, Add, Brackets::None}}};
constexpr std::array<ChainForm, 2> MultiplyAddForms{
    {{Multiply, Add, Brackets::None}, {Add, Multiply, Brackets::None}}};
constexpr std::array<ChainForm, 2> MultiplySubtractForms{
    {{Multiply, Subtract, Brackets::None}, {Subtract, Multiply, Brackets::None}}};
constexpr std::array<ChainForm, 2> MultiplyDivideForms{
    {{Multiply, Divide, Brackets::None}, {Divide, Multiply, Brackets::None}}};
constexpr std::array<ChainForm, 8> BracketedForms{{{Add, Multiply, Brackets::FirstTwo},
                                                   {Subtract, Multiply, Brackets::FirstTwo},
                                                   {Add, Divide, Brackets::FirstTwo},
                                                   {Subtract, Divide, Brackets::FirstTwo},
                                                   {Multiply, Add, Brackets::LastTwo},
                                                   {Multiply, Subtract, Brackets::LastTwo},
                                                   {Divide, Add, Brackets::LastTwo},
                                                   {Divide, Subtract, Brackets::LastTwo}}};
constexpr std::array<ChainForm, 2> DivideAddSubtractForms{
    {{Add, Divide, Brackets::None}, {Subtract, Divide, Brackets::None}}};

bool Binds(Operation op)
{
    return op == Multiply || op == Divide;
}

// One step l op r with top the largest number allowed.
std::optional<ChainValue> Step(int l, Operation op, int r, bool last, int top, const Lesson& lesson)
{
    if (l < 0 || r < 0 || l > top || r > top) {
        return std::nullopt;
    }
    switch (op) {
    case Add:
        if (l + r > top) {
            return std::nullopt;
        }
        return ChainValue{l + r, 0};
    case Subtract:
        if (l < r) {
            return std::nullopt;
        }
        return ChainValue{l - r, 0};
    case Multiply:
        if (l > LargestFactor || r > LargestFactor || !MultiplicationFits(lesson, l, r) ||
            l * r > top) {
            return std::nullopt;
        }
        return ChainValue{l * r, 0};
    case Divide: {
        if (!DivisorFits(lesson, r) || l / r > LargestQuotient) {
            return std::nullopt;
        }
        const int remainder = l % r;
        if (remainder != 0 && !(last && lesson.remainder)) {
            return std::nullopt;
        }
        return ChainValue{l / r, remainder};
    }
    }
    return std::nullopt;
}

// ---- Counting ----
// A chain is its first step's pair x, y with value v, and the other number z taken with v in the
// last step. So the chains of a form are the sum over v of (pairs making v) × (numbers z).

struct Counting
{
    ChainForm form;
    Operation inner;
    Operation outer;
    bool valueOnRight; // z op v rather than v op z
    int top;
    const Lesson& lesson;
};

// Pairs x op y = v of a first step.
long long PairsMaking(const Counting& c, int v)
{
    switch (c.inner) {
    case Add:
        return v + 1;
    case Subtract:
        return c.top - v + 1;
    case Multiply: {
        long long pairs = 0;
        for (int x = 0; x <= LargestFactor; ++x) {
            for (int y = 0; y <= LargestFactor; ++y) {
                pairs += x * y == v && Step(x, Multiply, y, false, c.top, c.lesson) ? 1 : 0;
            }
        }
        return pairs;
    }
    case Divide: {
        long long pairs = 0;
        for (int d = 1; v <= LargestQuotient && d <= LargestFactor; ++d) {
            pairs += Step(v * d, Divide, d, false, c.top, c.lesson) ? 1 : 0;
        }
        return pairs;
    }
    }
    return 0;
}

// Numbers z that the last step can take with v.
long long OthersWith(const Counting& c, int v)
{
    const auto step = [&](int z) {
        return c.valueOnRight ? Step(z, c.outer, v, true, c.top, c.lesson)
                              : Step(v, c.outer, z, true, c.top, c.lesson);
    };
    switch (c.outer) {
    case Add:
        return c.top - v + 1;
    case Subtract:
        return c.valueOnRight ? c.top - v + 1 : v + 1;
    case Multiply:
    case Divide: {
        // Factors and divisors are single digits; a dividend z is q × v + r with q and r single
        // digits.
        if (c.outer == Divide && c.valueOnRight) {
            long long count = 0;
            for (int q = 0; v <= LargestFactor && q <= LargestQuotient; ++q) {
                for (int r = 0; r < v; ++r) {
                    count += step(q * v + r) ? 1 : 0;
                }
            }
            return count;
        }
        long long count = 0;
        for (int z = 0; z <= LargestFactor; ++z) {
            count += step(z) ? 1 : 0;
        }
        return count;
    }
    }
    return 0;
}

long long CountForm(const ChainForm& form, int top, const Lesson& lesson)
{
    const bool lastFirst = LastTwoFirst(form);
    const Counting c{form,
                     lastFirst ? form.second : form.first,
                     lastFirst ? form.first : form.second,
                     lastFirst,
                     top,
                     lesson};
    long long count = 0;
    for (int v = 0; v <= top; ++v) {
        const long long others = OthersWith(c, v);
        if (others != 0) {
            count += PairsMaking(c, v) * others;
        }
    }
    return count;
}

// ---- Drawing ----

int Uniform(RandomSource& random, int values)
{
    return std::min(static_cast<int>(static_cast<double>(random.Draw()) * values), values - 1);
}

// The largest value the first step may have for the last step to take it.
int InnerCap(Operation outer, bool valueOnRight, int top)
{
    if (outer == Multiply || (outer == Divide && valueOnRight)) {
        return std::min(top, LargestFactor);
    }
    return top;
}

// A candidate x, y, z drawn evenly from a box in which every chain of the form stands once; a
// candidate outside the rules is refused by WorkOut. -1 marks a point of the box that is no chain.
std::array<int, 3> DrawCandidate(const ChainForm& form, int top, const Lesson& lesson,
                                 RandomSource& random)
{
    const bool lastFirst = LastTwoFirst(form);
    const Operation inner = lastFirst ? form.second : form.first;
    const Operation outer = lastFirst ? form.first : form.second;
    const int cap = InnerCap(outer, lastFirst, top);
    const int digits = std::min(top, LargestFactor) + 1;
    int x = 0;
    int y = 0;
    int v = 0;
    switch (inner) {
    case Add: // the sum, then the first addend
        v = Uniform(random, cap + 1);
        x = Uniform(random, cap + 1);
        y = x <= v ? v - x : -1;
        break;
    case Subtract: // the difference, then the subtrahend
        v = Uniform(random, cap + 1);
        y = Uniform(random, top + 1);
        x = v + y;
        break;
    case Multiply:
        x = Uniform(random, digits);
        y = Uniform(random, digits);
        v = x * y;
        break;
    case Divide: // the quotient, then the divisor
        v = Uniform(random, std::min(cap, LargestQuotient) + 1);
        y = 1 + Uniform(random, LargestFactor);
        x = v * y;
        break;
    }
    int z = 0;
    if (outer == Divide && lastFirst) { // z ÷ v: the quotient and the remainder
        const int q = Uniform(random, LargestQuotient + 1);
        const int r = lesson.remainder ? Uniform(random, LargestFactor) : 0;
        z = r < v ? q * v + r : -1;
    } else if (outer == Divide) {
        z = 1 + Uniform(random, LargestFactor);
    } else {
        z = Uniform(random, outer == Multiply ? digits : top + 1);
    }
    if (lastFirst) {
        return {z, x, y};
    }
    return {x, y, z};
}

} // namespace

std::span<const ChainForm> FormsOf(ProblemShape shape)
{
    switch (shape) {
    case ProblemShape::OneOperation:
        return {};
    case ProblemShape::AddChain:
        return AddChainForms;
    case ProblemShape::SubtractChain:
        return SubtractChainForms;
    case ProblemShape::AddSubtract:
        return AddSubtractForms;
    case ProblemShape::MultiplyAdd:
        return MultiplyAddForms;
    case ProblemShape::MultiplySubtract:
        return MultiplySubtractForms;
    case ProblemShape::MultiplyDivide:
        return MultiplyDivideForms;
    case ProblemShape::Bracketed:
        return BracketedForms;
    case ProblemShape::DivideAddSubtract:
        return DivideAddSubtractForms;
    }
    return {};
}

bool LastTwoFirst(const ChainForm& form)
{
    return form.brackets == Brackets::LastTwo ||
           (form.brackets == Brackets::None && Binds(form.second) && !Binds(form.first));
}

std::optional<ChainValue> WorkOut(const ChainForm& form, const std::array<int, 3>& n,
                                  int numberRange, const Lesson& lesson)
{
    const int top = numberRange - 1;
    if (LastTwoFirst(form)) {
        const std::optional<ChainValue> inner = Step(n[1], form.second, n[2], false, top, lesson);
        return inner ? Step(n[0], form.first, inner->result, true, top, lesson) : std::nullopt;
    }
    const std::optional<ChainValue> inner = Step(n[0], form.first, n[1], false, top, lesson);
    return inner ? Step(inner->result, form.second, n[2], true, top, lesson) : std::nullopt;
}

long long DifferentChains(ProblemShape shape, int numberRange, const Lesson& lesson)
{
    long long count = 0;
    for (const ChainForm& form : FormsOf(shape)) {
        count += CountForm(form, numberRange - 1, lesson);
    }
    return count;
}

std::optional<model::Problem> DrawChain(const PartSpec& part, RandomSource& random)
{
    const std::span<const ChainForm> forms = FormsOf(part.shape);
    const int top = part.numberRange - 1;
    if (forms.empty() || top < 0) {
        return std::nullopt;
    }
    random.Reseed();
    const ChainForm& form =
        forms[static_cast<std::size_t>(Uniform(random, static_cast<int>(forms.size())))];
    for (int round = 0; round < MaxDrawRounds; ++round) {
        const std::array<int, 3> n = DrawCandidate(form, top, part.lesson, random);
        const std::optional<ChainValue> value = WorkOut(form, n, part.numberRange, part.lesson);
        if (!value) {
            continue;
        }
        model::Problem p;
        p.operands = {static_cast<std::int16_t>(n[0]), static_cast<std::int16_t>(n[1]),
                      static_cast<std::int16_t>(n[2])};
        p.operators = {form.first, form.second};
        p.operandCount = 3;
        p.brackets = form.brackets;
        p.result = static_cast<std::int16_t>(value->result);
        p.remainder = static_cast<std::int16_t>(value->remainder);
        const Operation last = LastTwoFirst(form) ? form.first : form.second;
        p.withRemainder = last == Divide && part.lesson.remainder;
        return p;
    }
    return std::nullopt;
}

int FirstStepValue(const model::Problem& p)
{
    const bool lastFirst = LastTwoFirst({p.operators[0], p.operators[1], p.brackets});
    const int l = lastFirst ? p.operands[1] : p.operands[0];
    const int r = lastFirst ? p.operands[2] : p.operands[1];
    switch (lastFirst ? p.operators[1] : p.operators[0]) {
    case Add:
        return l + r;
    case Subtract:
        return l - r;
    case Multiply:
        return l * r;
    case Divide:
        return r != 0 ? l / r : 0;
    }
    return 0;
}

bool OneAnswerAtEveryPlace(const model::Problem& p)
{
    const ChainForm form{p.operators[0], p.operators[1], p.brackets};
    const auto& n = p.operands;
    const bool lastFirst = LastTwoFirst(form);
    // The steps as l op r, the first step's value standing in for its pair.
    const int inner = lastFirst ? n[1] : n[0];
    const Operation innerOp = lastFirst ? form.second : form.first;
    const int innerRight = lastFirst ? n[2] : n[1];
    const int innerValue = FirstStepValue(p);
    const Operation outerOp = lastFirst ? form.first : form.second;
    const int outerLeft = lastFirst ? n[0] : innerValue;
    const int outerRight = lastFirst ? innerValue : n[2];
    const auto single = [](Operation op, int l, int r) {
        return (op != Multiply || (l != 0 && r != 0)) && (op != Divide || l != 0);
    };
    return single(innerOp, inner, innerRight) && single(outerOp, outerLeft, outerRight);
}

} // namespace sumvarl
