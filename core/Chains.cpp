#include "core/Chains.h"

#include "core/Generator.h"
#include "core/RandomSource.h"

#include <algorithm>
#include <vector>

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

// A 中括号 changes the order only beside × or ÷: a×［(b±c)÷d］, a÷［b×(c±d)］, ［a－(b±c)］×d.
// Inside it stands a pair of 带小括号, or a－(b±c).
constexpr std::array<ChainForm, 20> ThreeStepForms{{
    {Multiply, Add, Brackets::LastThreeFirstTwo, Multiply},
    {Multiply, Subtract, Brackets::LastThreeFirstTwo, Multiply},
    {Multiply, Add, Brackets::LastThreeFirstTwo, Divide},
    {Multiply, Subtract, Brackets::LastThreeFirstTwo, Divide},
    {Divide, Add, Brackets::LastThreeFirstTwo, Multiply},
    {Divide, Subtract, Brackets::LastThreeFirstTwo, Multiply},
    {Divide, Add, Brackets::LastThreeFirstTwo, Divide},
    {Divide, Subtract, Brackets::LastThreeFirstTwo, Divide},
    {Multiply, Multiply, Brackets::LastThreeLastTwo, Add},
    {Multiply, Multiply, Brackets::LastThreeLastTwo, Subtract},
    {Multiply, Divide, Brackets::LastThreeLastTwo, Add},
    {Multiply, Divide, Brackets::LastThreeLastTwo, Subtract},
    {Divide, Multiply, Brackets::LastThreeLastTwo, Add},
    {Divide, Multiply, Brackets::LastThreeLastTwo, Subtract},
    {Divide, Divide, Brackets::LastThreeLastTwo, Add},
    {Divide, Divide, Brackets::LastThreeLastTwo, Subtract},
    {Subtract, Add, Brackets::FirstThreeLastTwo, Multiply},
    {Subtract, Subtract, Brackets::FirstThreeLastTwo, Multiply},
    {Subtract, Add, Brackets::FirstThreeLastTwo, Divide},
    {Subtract, Subtract, Brackets::FirstThreeLastTwo, Divide},
}};

bool Binds(Operation op)
{
    return op == Multiply || op == Divide;
}

// One step l op r with top the largest number allowed. A plain step, as three steps take
// them, has no 0 in it or as its value and no 1 as a factor or divisor: 2×［(5－5)×1］ would
// be three steps of nothing.
std::optional<ChainValue> Step(int l, Operation op, int r, bool last, int top, const Lesson& lesson,
                               bool plain = false)
{
    const int least = plain ? 1 : 0;
    if (l < least || r < least || l > top || r > top) {
        return std::nullopt;
    }
    if (plain && ((op == Multiply && (l < 2 || r < 2)) || (op == Divide && r < 2) ||
                  (op == Subtract && l == r) || (op == Divide && l < r))) {
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

// A chain of three numbers; its last step may leave a remainder only where it ends the problem.
std::optional<ChainValue> WorkOutThree(const ChainForm& form, int a, int b, int c, int top,
                                       const Lesson& lesson, bool endsChain, bool plain = false)
{
    if (LastTwoFirst(form)) {
        const std::optional<ChainValue> inner = Step(b, form.second, c, false, top, lesson, plain);
        return inner ? Step(a, form.first, inner->result, endsChain, top, lesson, plain)
                     : std::nullopt;
    }
    const std::optional<ChainValue> inner = Step(a, form.first, b, false, top, lesson, plain);
    return inner ? Step(inner->result, form.second, c, endsChain, top, lesson, plain)
                 : std::nullopt;
}

// A chain of four numbers is one step between a number and the chain of three in the 中括号.
struct FourSplit
{
    ChainForm inner;
    std::size_t innerStart; // the inner chain's first number
    Operation outer;
    bool chainOnRight; // a÷［…］ rather than ［…］×d
};

FourSplit SplitOf(const ChainForm& f)
{
    switch (f.brackets) {
    case Brackets::LastThreeFirstTwo:
        return {{f.second, f.third, Brackets::FirstTwo}, 1, f.first, true};
    case Brackets::LastThreeLastTwo:
        return {{f.second, f.third, Brackets::LastTwo}, 1, f.first, true};
    case Brackets::FirstThreeLastTwo:
    case Brackets::None:
    case Brackets::FirstTwo:
    case Brackets::LastTwo:
        break;
    }
    return {{f.first, f.second, Brackets::LastTwo}, 0, f.third, false};
}

std::optional<ChainValue> WorkOutFour(const ChainForm& form, const std::array<int, 4>& n, int top,
                                      const Lesson& lesson)
{
    const FourSplit s = SplitOf(form);
    const std::size_t i = s.innerStart;
    const std::optional<ChainValue> inner =
        WorkOutThree(s.inner, n.at(i), n.at(i + 1), n.at(i + 2), top, lesson, false, true);
    if (!inner) {
        return std::nullopt;
    }
    return s.chainOnRight ? Step(n[0], s.outer, inner->result, true, top, lesson, true)
                          : Step(inner->result, s.outer, n[3], true, top, lesson, true);
}

// The largest value the chain in the 中括号 may have for the step outside it to take it: a
// factor, a divisor, or a dividend with a quotient and a remainder of single digits.
int InnerValueCap(const FourSplit& s, int top)
{
    if (s.outer == Multiply || (s.outer == Divide && s.chainOnRight)) {
        return std::min(top, LargestFactor);
    }
    if (s.outer == Divide) {
        return std::min(top, LargestQuotient * LargestFactor + LargestFactor - 1);
    }
    return top;
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
    bool plain = false; // the steps of three-step chains
};

// Pairs x op y = v of a first step.
long long PairsMaking(const Counting& c, int v)
{
    switch (c.inner) {
    case Add: // x from 0 to v, or 1 to v - 1
        return c.plain ? std::max(0, v - 1) : v + 1;
    case Subtract: // y from 0 to top - v, or 1 to top - v where v is 1 or more
        return c.plain ? (v >= 1 ? std::max(0, c.top - v) : 0) : c.top - v + 1;
    case Multiply: {
        long long pairs = 0;
        for (int x = 0; x <= LargestFactor; ++x) {
            for (int y = 0; y <= LargestFactor; ++y) {
                pairs +=
                    x * y == v && Step(x, Multiply, y, false, c.top, c.lesson, c.plain) ? 1 : 0;
            }
        }
        return pairs;
    }
    case Divide: {
        long long pairs = 0;
        for (int d = 1; v <= LargestQuotient && d <= LargestFactor; ++d) {
            pairs += Step(v * d, Divide, d, false, c.top, c.lesson, c.plain) ? 1 : 0;
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
        return c.valueOnRight ? Step(z, c.outer, v, true, c.top, c.lesson, c.plain)
                              : Step(v, c.outer, z, true, c.top, c.lesson, c.plain);
    };
    const bool none = c.plain && v < 1;
    switch (c.outer) {
    case Add:
        return none ? 0 : c.plain ? std::max(0, c.top - v) : c.top - v + 1;
    case Subtract:
        if (none) {
            return 0;
        }
        if (c.plain) {
            return std::max(0, c.valueOnRight ? c.top - v : v - 1);
        }
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

// The largest value the first step may have for the last step to take it.
int InnerCap(Operation outer, bool valueOnRight, int top)
{
    if (outer == Multiply || (outer == Divide && valueOnRight)) {
        return std::min(top, LargestFactor);
    }
    return top;
}

// How many chains of three numbers (whose last step is not the problem's last) have each value
// 0..cap: each first-step value u with its pairs, then the numbers z the second step takes with
// it. A sum or difference takes a run of values, added at its ends and summed once at the end;
// a product or quotient takes single digits, so u itself stays a digit.
std::vector<long long> InnerValues(const ChainForm& form, int top, const Lesson& lesson, int cap)
{
    const bool lastFirst = LastTwoFirst(form);
    const Counting c{form,
                     lastFirst ? form.second : form.first,
                     lastFirst ? form.first : form.second,
                     lastFirst,
                     top,
                     lesson,
                     true};
    const auto size = static_cast<std::size_t>(cap) + 2;
    std::vector<long long> values(size, 0);
    std::vector<long long> runs(size, 0); // runs[v] - runs[v + 1] chains more from v on
    const auto run = [&](int from, int to, long long pairs) {
        if (from <= to) {
            runs.at(static_cast<std::size_t>(from)) += pairs;
            runs.at(static_cast<std::size_t>(to) + 1) -= pairs;
        }
    };
    const auto take = [&](int u, int z, long long pairs) {
        const std::optional<ChainValue> v = c.valueOnRight
                                                ? Step(z, c.outer, u, false, top, lesson, true)
                                                : Step(u, c.outer, z, false, top, lesson, true);
        // Read through value_or: a test of the flag and the value in one jump would read the
        // value of an empty optional (valgrind sees it, though the result cannot change).
        const int value = v.value_or(ChainValue{-1, 0}).result;
        if (value >= 0 && value <= cap) {
            values.at(static_cast<std::size_t>(value)) += pairs;
        }
    };
    // A dividend u ÷ z has a single-digit divisor, so it is at most cap × 9.
    const int last = c.outer == Divide && !c.valueOnRight ? std::min(top, cap * LargestFactor)
                                                          : InnerCap(c.outer, c.valueOnRight, top);
    for (int u = 0; u <= last; ++u) {
        const long long pairs = PairsMaking(c, u);
        if (pairs == 0) {
            continue;
        }
        switch (c.outer) {
        case Add: // u + z, z from 1, up to top
            run(u + 1, std::min(cap, top), pairs);
            break;
        case Subtract: // u − z from u − 1 down to 1, or z − u from 1 up to top − u
            run(1, std::min(cap, c.valueOnRight ? top - u : u - 1), pairs);
            break;
        case Divide:
            if (c.valueOnRight) {
                for (int q = 0; q <= LargestQuotient; ++q) {
                    take(u, q * u, pairs);
                }
                break;
            }
            [[fallthrough]];
        case Multiply:
            for (int z = 0; z <= std::min(top, LargestFactor); ++z) {
                take(u, z, pairs);
            }
            break;
        }
    }
    long long running = 0;
    for (std::size_t v = 0; v + 1 < size; ++v) {
        running += runs[v];
        values[v] += running;
    }
    values.pop_back();
    return values;
}

long long CountFourForm(const ChainForm& form, int top, const Lesson& lesson)
{
    const FourSplit s = SplitOf(form);
    const int cap = InnerValueCap(s, top);
    if (cap < 0) {
        return 0;
    }
    const std::vector<long long> values = InnerValues(s.inner, top, lesson, cap);
    const Counting outer{form, Add, s.outer, s.chainOnRight, top, lesson, true};
    long long count = 0;
    for (int v = 0; v <= cap; ++v) {
        const long long chains = values.at(static_cast<std::size_t>(v));
        if (chains != 0) {
            count += chains * OthersWith(outer, v);
        }
    }
    return count;
}

// ---- Drawing ----

int Uniform(RandomSource& random, int values)
{
    return std::min(static_cast<int>(static_cast<double>(random.Draw()) * values), values - 1);
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

// The chain in the 中括号 drawn as a chain of its own (without a remainder), then the number
// outside from a box of the same size for every value of it.
std::array<int, 4> DrawFourCandidate(const ChainForm& form, int top, const Lesson& lesson,
                                     RandomSource& random)
{
    const FourSplit s = SplitOf(form);
    Lesson exact = lesson;
    exact.remainder = false;
    const std::array<int, 3> inner = DrawCandidate(s.inner, top, exact, random);
    int w = 0;
    if (s.outer == Divide && s.chainOnRight) { // w ÷ v: the quotient and the remainder
        const int q = Uniform(random, LargestQuotient + 1);
        const int r = lesson.remainder ? Uniform(random, LargestFactor) : 0;
        const std::optional<ChainValue> v =
            WorkOutThree(s.inner, inner[0], inner[1], inner[2], top, exact, false, true);
        w = v && r < v->result ? q * v->result + r : -1;
    } else if (s.outer == Divide) {
        w = 1 + Uniform(random, LargestFactor);
    } else {
        w = Uniform(random, s.outer == Multiply ? std::min(top, LargestFactor) + 1 : top + 1);
    }
    if (s.chainOnRight) {
        return {w, inner[0], inner[1], inner[2]};
    }
    return {inner[0], inner[1], inner[2], w};
}

// Within a small range the three-step chains are few (72 within 6) and the boxes they are drawn
// from mostly empty: they are listed once, by trying every quadruple, and drawn from the list.
constexpr int ListedRangeLimit = 8;

struct ListedChain
{
    std::size_t form;
    std::array<int, 4> numbers;
};

const std::vector<ListedChain>& ListedChains(std::span<const ChainForm> forms, int numberRange,
                                             const Lesson& lesson)
{
    struct Listed
    {
        int numberRange;
        Lesson lesson;
        std::vector<ListedChain> chains;
    };
    thread_local std::vector<Listed> lists;
    for (const Listed& l : lists) {
        if (l.numberRange == numberRange && l.lesson == lesson) {
            return l.chains;
        }
    }
    Listed made{numberRange, lesson, {}};
    for (std::size_t f = 0; f < forms.size(); ++f) {
        std::array<int, 4> n{};
        for (n[0] = 0; n[0] < numberRange; ++n[0]) {
            for (n[1] = 0; n[1] < numberRange; ++n[1]) {
                for (n[2] = 0; n[2] < numberRange; ++n[2]) {
                    for (n[3] = 0; n[3] < numberRange; ++n[3]) {
                        if (WorkOutFour(forms[f], n, numberRange - 1, lesson)) {
                            made.chains.push_back({f, n});
                        }
                    }
                }
            }
        }
    }
    return lists.emplace_back(std::move(made)).chains;
}

int Apply(int l, Operation op, int r)
{
    switch (op) {
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
    case ProblemShape::ThreeSteps:
        return ThreeStepForms;
    }
    return {};
}

int NumbersOf(const ChainForm& form)
{
    switch (form.brackets) {
    case Brackets::LastThreeFirstTwo:
    case Brackets::LastThreeLastTwo:
    case Brackets::FirstThreeLastTwo:
        return 4;
    case Brackets::None:
    case Brackets::FirstTwo:
    case Brackets::LastTwo:
        break;
    }
    return 3;
}

bool LastTwoFirst(const ChainForm& form)
{
    return form.brackets == Brackets::LastTwo ||
           (form.brackets == Brackets::None && Binds(form.second) && !Binds(form.first));
}

std::optional<ChainValue> WorkOut(const ChainForm& form, const std::array<int, 4>& n,
                                  int numberRange, const Lesson& lesson)
{
    const int top = numberRange - 1;
    if (NumbersOf(form) == 4) {
        return WorkOutFour(form, n, top, lesson);
    }
    return WorkOutThree(form, n[0], n[1], n[2], top, lesson, true);
}

long long DifferentChains(ProblemShape shape, int numberRange, const Lesson& lesson)
{
    long long count = 0;
    for (const ChainForm& form : FormsOf(shape)) {
        count += NumbersOf(form) == 4 ? CountFourForm(form, numberRange - 1, lesson)
                                      : CountForm(form, numberRange - 1, lesson);
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
    const auto drawForm = [&]() -> const ChainForm& {
        return forms[static_cast<std::size_t>(Uniform(random, static_cast<int>(forms.size())))];
    };
    const ChainForm* form = &drawForm();
    const bool four = NumbersOf(*form) == 4;
    const std::vector<ListedChain>* listed =
        four && part.numberRange <= ListedRangeLimit
            ? &ListedChains(forms, part.numberRange, part.lesson)
            : nullptr;
    if (listed != nullptr && listed->empty()) {
        return std::nullopt;
    }
    for (int round = 0; round < MaxDrawRounds; ++round) {
        std::array<int, 4> n{};
        if (listed != nullptr) {
            const ListedChain& chain = (*listed)[static_cast<std::size_t>(
                Uniform(random, static_cast<int>(listed->size())))];
            form = &forms[chain.form];
            n = chain.numbers;
        } else if (four) {
            // Of twenty forms a small range leaves many without a chain: each round draws its
            // form, so that such a form costs one round rather than all of them. A form then
            // comes up as often as its box holds chains.
            form = round == 0 ? form : &drawForm();
            n = DrawFourCandidate(*form, top, part.lesson, random);
        } else {
            const std::array<int, 3> three = DrawCandidate(*form, top, part.lesson, random);
            std::copy(three.begin(), three.end(), n.begin());
        }
        const ChainForm& f = *form;
        const std::optional<ChainValue> value = WorkOut(f, n, part.numberRange, part.lesson);
        if (!value) {
            continue;
        }
        model::Problem p;
        for (std::size_t k = 0; k < n.size(); ++k) {
            p.operands.at(k) = static_cast<std::int16_t>(n.at(k));
        }
        p.operators = {f.first, f.second, four ? f.third : Add};
        p.operandCount = four ? 4 : 3;
        p.brackets = f.brackets;
        p.result = static_cast<std::int16_t>(value->result);
        p.remainder = static_cast<std::int16_t>(value->remainder);
        const Operation last = four ? SplitOf(f).outer : LastTwoFirst(f) ? f.first : f.second;
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

model::Problem AfterFirstStep(const model::Problem& p)
{
    model::Problem q = p;
    q.operandCount = 3;
    q.open = OpenPlace::Result;
    const auto& n = p.operands;
    const auto& op = p.operators;
    switch (p.brackets) {
    case Brackets::LastThreeFirstTwo: // a op1 ［(b op2 c) op3 d］ → a op1 (u op3 d)
        q.operands = {n[0], static_cast<std::int16_t>(Apply(n[1], op[1], n[2])), n[3], 0};
        q.operators = {op[0], op[2], Add};
        q.brackets = Brackets::LastTwo;
        break;
    case Brackets::LastThreeLastTwo: // a op1 ［b op2 (c op3 d)］ → a op1 (b op2 u)
        q.operands = {n[0], n[1], static_cast<std::int16_t>(Apply(n[2], op[2], n[3])), 0};
        q.operators = {op[0], op[1], Add};
        q.brackets = Brackets::LastTwo;
        break;
    case Brackets::FirstThreeLastTwo: // ［a op1 (b op2 c)］ op3 d → (a op1 u) op3 d
        q.operands = {n[0], static_cast<std::int16_t>(Apply(n[1], op[1], n[2])), n[3], 0};
        q.operators = {op[0], op[2], Add};
        q.brackets = Brackets::FirstTwo;
        break;
    case Brackets::None:
    case Brackets::FirstTwo:
    case Brackets::LastTwo:
        return p;
    }
    return q;
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
