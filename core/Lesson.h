#pragma once

// The rules of a lesson (carrying, borrowing, times tables, remainders): which problems fit
// them, how many different problems the settings allow, and which combinations allow none.

#include "core/Math.h"
#include "core/StartSettings.h"

#include <array>
#include <cstdint>

namespace sumvarl {

// Some decimal column of a + b, with the carry coming into it, reaches 10. For a, b >= 0.
bool Carries(int a, int b);
// In some column the minuend's digit, less the borrow coming into it, is smaller than the
// subtrahend's. For x >= y >= 0.
bool Borrows(int x, int y);

// Whether a problem the generator drew fits the lesson (remainders aside, which are drawn).
bool AdditionFits(const Math::Lesson& lesson, int a, int b);
bool SubtractionFits(const Math::Lesson& lesson, int x, int y);
bool MultiplicationFits(const Math::Lesson& lesson, int x, int y);
bool DivisorFits(const Math::Lesson& lesson, int divisor);

// The settings the count depends on: those Start reads, before they are committed.
struct CountInputs
{
    std::int16_t weightTotal = 0;
    std::array<std::int16_t, 5> cumulativeWeight{};
    std::int16_t numberRange = 0;
    Math::Lesson lesson;
};

// The settings Start read, with a lesson.
CountInputs CountInputsFor(const Settings& settings, const Math::Lesson& lesson);

// How many different problems (different keys) the generator can make of each operation,
// index OperationKind - 1; 0 for an operation whose band no draw reaches.
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
};
LessonRefusal CheckLesson(const CountInputs& in);

} // namespace sumvarl
