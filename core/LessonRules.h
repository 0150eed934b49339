#pragma once

// What this week's lesson asks of the problems, and whether a drawn problem fits it. At the
// defaults every problem is drawn exactly as without a lesson.

#include <cstdint>

namespace sumvarl {

enum class CarryRule : std::int8_t {
    Any,    // 不限
    Always, // 必须进位 / 必须退位
    Never,  // 不进位 / 不退位
};

struct Lesson
{
    CarryRule carry = CarryRule::Any;  // additions
    CarryRule borrow = CarryRule::Any; // subtractions
    // The times tables of multiplication (one factor within) and division (the divisor within,
    // never 0); 0 to 9 is every single-digit problem.
    std::int16_t tableFrom = 0;
    std::int16_t tableTo = 9;
    // Divisions become q × d + r with q >= 1 and 1 <= r < d, answered "q……r", as the textbooks
    // pose them; remainderZero lets exact ones (r = 0, answered just "q") come up among them.
    bool remainder = false;
    bool remainderZero = false;

    bool operator==(const Lesson&) const = default;
};

// Some decimal column of a + b, with the carry coming into it, reaches 10. For a, b >= 0.
bool Carries(int a, int b);
// In some column the minuend's digit, less the borrow coming into it, is smaller than the
// subtrahend's. For x >= y >= 0.
bool Borrows(int x, int y);

// Whether a problem the generator drew fits the lesson (remainders aside, which are drawn).
bool AdditionFits(const Lesson& lesson, int a, int b);
bool SubtractionFits(const Lesson& lesson, int x, int y);
bool MultiplicationFits(const Lesson& lesson, int x, int y);
bool DivisorFits(const Lesson& lesson, int divisor);

} // namespace sumvarl
