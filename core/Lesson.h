#pragma once

// How many different problems the settings and a lesson allow, and which combinations allow
// none. Which single problem fits a lesson is core/LessonRules.h.

#include "core/LessonRules.h"
#include "core/SheetSpec.h"
#include "core/StartSettings.h"

#include <array>
#include <cstdint>

namespace sumvarl {

// The settings the count depends on: those Start reads, before they are committed.
struct CountInputs
{
    std::int16_t weightTotal = 0;
    std::array<std::int16_t, 5> cumulativeWeight{};
    std::int16_t numberRange = 0;
    Lesson lesson;
    ProblemShape shape = ProblemShape::OneOperation;
};

// The settings Start read, with a lesson and the problems' shape.
CountInputs CountInputsFor(const Settings& settings, const Lesson& lesson,
                           ProblemShape shape = ProblemShape::OneOperation);

// How many different problems (different keys) the generator can make of each operation,
// index OperationKind - 1; 0 for an operation whose band no draw reaches. For one-operation
// problems; DifferentProblems counts chains too.
std::array<long long, 4> DifferentProblemsByOperation(const CountInputs& in);
long long DifferentProblems(const CountInputs& in);

// What makes Start refuse a lesson, for callers that word it.
enum class LessonRefusal {
    None,
    TablesOutOfRange, // the times tables outside 0..9 or from above to
    NegativeRange,    // a carry or borrow rule with a range below 0
    NoAddition,       // additions come up, but none within the range fits the carry rule
    NoSubtraction,    // likewise subtractions and the borrow rule
    NoMultiplication, // cannot happen with valid tables; kept so every operation has its word
    NoDivision,       // the tables 0 to 0 leave no divisor
    NoChain,          // no chain of the shape fits the range and the tables
};
LessonRefusal CheckLesson(const CountInputs& in);

} // namespace sumvarl
