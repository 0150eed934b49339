#include "core/Lesson.h"

#include "core/Chains.h"
#include "core/Generator.h"

#include <algorithm>
#include <cstdlib>

namespace sumvarl {

namespace {

// Pairs of digits that add up to the digits of s without a carry: (d + 1) per digit d.
long long PairsWithoutCarry(int s)
{
    long long pairs = 1;
    for (; s > 0; s /= 10) {
        pairs *= s % 10 + 1;
    }
    return pairs;
}

// Additions s = a + b: s from 0 to n - 1 and a below s, so b >= 1 except in 0＋0. A negative
// range draws sums from n to 0 and first addends from s to 0 (|s| + 1 each); carrying is only
// defined for numbers of 0 and more, so of those only 0＋0 has no carry.
long long Additions(int n, CarryRule rule)
{
    if (n <= 0) {
        const long long m = -n;
        if (rule == CarryRule::Any) {
            return 1 + m * (m + 1) / 2 + m;
        }
        return rule == CarryRule::Never ? 1 : 0;
    }
    long long count = rule == CarryRule::Always ? 0 : 1; // 0＋0
    for (int s = 1; s < n; ++s) {
        const long long plain = PairsWithoutCarry(s) - 1; // without s＋0
        switch (rule) {
        case CarryRule::Any:
            count += s;
            break;
        case CarryRule::Always:
            count += s - plain;
            break;
        case CarryRule::Never:
            count += plain;
            break;
        }
    }
    return count;
}

// Subtractions x - y with x >= y drawn from n values; x - y borrows exactly when y + (x - y)
// carries, so the pairs are counted as additions with sum x.
long long Subtractions(int n, CarryRule rule)
{
    if (n <= 0) {
        const long long m = 1 - static_cast<long long>(n);
        if (rule == CarryRule::Any) {
            return m * (m + 1) / 2;
        }
        return rule == CarryRule::Never ? 1 : 0; // 0－0
    }
    long long count = 0;
    for (int x = 0; x < n; ++x) {
        const long long plain = PairsWithoutCarry(x);
        switch (rule) {
        case CarryRule::Any:
            count += x + 1;
            break;
        case CarryRule::Always:
            count += x + 1 - plain;
            break;
        case CarryRule::Never:
            count += plain;
            break;
        }
    }
    return count;
}

long long Multiplications(const Lesson& lesson)
{
    const long long outside = 10 - (lesson.tableTo - lesson.tableFrom + 1);
    return 100 - outside * outside;
}

// Quotients 0..9 for each divisor; with remainders, quotients 1..9 and for divisor d the
// remainders 1..d - 1, or 0..d - 1 where exact ones are wanted too.
long long Divisions(const Lesson& lesson)
{
    long long count = 0;
    for (int d = std::max<int>(lesson.tableFrom, 1); d <= lesson.tableTo; ++d) {
        if (!lesson.remainder) {
            count += 10;
        } else {
            count += 9LL * (lesson.remainderZero ? d : d - 1);
        }
    }
    return count;
}

bool TablesValid(const Lesson& lesson)
{
    return 0 <= lesson.tableFrom && lesson.tableFrom <= lesson.tableTo && lesson.tableTo <= 9;
}

// The operations some band draw r can select: r runs from 0 to WeightTotal, either way.
std::array<bool, 4> OperationsThatComeUp(const CountInputs& in)
{
    std::array<bool, 4> up{};
    const int low = std::min<int>(0, in.weightTotal);
    const int high = std::max<int>(0, in.weightTotal);
    for (int r = low; r <= high; ++r) {
        const int kind = ChooseOperation(static_cast<std::int16_t>(r), in.cumulativeWeight);
        if (kind != 0) {
            up[static_cast<std::size_t>(kind - 1)] = true;
        }
    }
    return up;
}

} // namespace

CountInputs CountInputsFor(const Settings& settings, const Lesson& lesson, ProblemShape shape)
{
    CountInputs in;
    in.shape = shape;
    in.weightTotal = settings.WeightTotal;
    for (std::size_t k = 0; k < settings.CumulativeWeight.size(); ++k) {
        in.cumulativeWeight[k] = settings.CumulativeWeight[k];
    }
    in.numberRange = settings.NumberRange;
    in.lesson = lesson;
    return in;
}

std::array<long long, 4> DifferentProblemsByOperation(const CountInputs& in)
{
    const std::array<bool, 4> up = OperationsThatComeUp(in);
    const bool tables = TablesValid(in.lesson);
    return {up[0] ? Additions(in.numberRange, in.lesson.carry) : 0,
            up[1] ? Subtractions(in.numberRange, in.lesson.borrow) : 0,
            up[2] && tables ? Multiplications(in.lesson) : 0,
            up[3] && tables ? Divisions(in.lesson) : 0};
}

long long DifferentProblems(const CountInputs& in)
{
    if (in.shape != ProblemShape::OneOperation) {
        return TablesValid(in.lesson) ? DifferentChains(in.shape, in.numberRange, in.lesson) : 0;
    }
    const std::array<long long, 4> each = DifferentProblemsByOperation(in);
    return each[0] + each[1] + each[2] + each[3];
}

LessonRefusal CheckLesson(const CountInputs& in)
{
    if (!TablesValid(in.lesson)) {
        return LessonRefusal::TablesOutOfRange;
    }
    if (in.shape != ProblemShape::OneOperation) {
        return DifferentProblems(in) == 0 ? LessonRefusal::NoChain : LessonRefusal::None;
    }
    const std::array<bool, 4> up = OperationsThatComeUp(in);
    // Below 0 the rules would leave 0＋0 or 0－0 among thousands of draws that cannot fit.
    if (in.numberRange < 0 && ((up[0] && in.lesson.carry != CarryRule::Any) ||
                               (up[1] && in.lesson.borrow != CarryRule::Any))) {
        return LessonRefusal::NegativeRange;
    }
    const std::array<long long, 4> each = DifferentProblemsByOperation(in);
    constexpr std::array<LessonRefusal, 4> NoProblem{
        LessonRefusal::NoAddition, LessonRefusal::NoSubtraction, LessonRefusal::NoMultiplication,
        LessonRefusal::NoDivision};
    for (std::size_t k = 0; k < 4; ++k) {
        if (up[k] && each[k] == 0) {
            return NoProblem[k];
        }
    }
    return LessonRefusal::None;
}

} // namespace sumvarl
