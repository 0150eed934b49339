#include "core/LessonRules.h"

namespace sumvarl {

namespace {

bool Follows(CarryRule rule, bool happens)
{
    return rule == CarryRule::Any || (rule == CarryRule::Always) == happens;
}

bool InTables(const Lesson& lesson, int factor)
{
    return lesson.tableFrom <= factor && factor <= lesson.tableTo;
}

} // namespace

bool Carries(int a, int b)
{
    // Until the first column carries no carry comes in, so that column alone decides.
    for (; a > 0 || b > 0; a /= 10, b /= 10) {
        if (a % 10 + b % 10 >= 10) {
            return true;
        }
    }
    return false;
}

bool Borrows(int x, int y)
{
    for (; y > 0; x /= 10, y /= 10) {
        if (x % 10 < y % 10) {
            return true;
        }
    }
    return false;
}

bool AdditionFits(const Lesson& lesson, int a, int b)
{
    if (lesson.carry == CarryRule::Any) {
        return true;
    }
    return a >= 0 && b >= 0 && Follows(lesson.carry, Carries(a, b));
}

bool SubtractionFits(const Lesson& lesson, int x, int y)
{
    if (lesson.borrow == CarryRule::Any) {
        return true;
    }
    return y >= 0 && x >= y && Follows(lesson.borrow, Borrows(x, y));
}

bool MultiplicationFits(const Lesson& lesson, int x, int y)
{
    return InTables(lesson, x) || InTables(lesson, y);
}

bool DivisorFits(const Lesson& lesson, int divisor)
{
    return divisor >= 1 && InTables(lesson, divisor);
}

} // namespace sumvarl
