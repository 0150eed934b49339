#pragma once

// Typed problems written the way a test reads them: Two(12, Operation::Add, 5, 17).

#include "core/Problem.h"
#include "core/Sheet.h"

#include <utility>
#include <vector>

namespace sumvarl::testing {

inline model::Problem Two(int a, Operation op, int b, int result, int open = 0, int remainder = 0,
                          bool withRemainder = false)
{
    model::Problem p;
    p.operands = {static_cast<std::int16_t>(a), static_cast<std::int16_t>(b), 0};
    p.operators = {op, Operation::Add};
    p.open = static_cast<OpenPlace>(open);
    p.result = static_cast<std::int16_t>(result);
    p.remainder = static_cast<std::int16_t>(remainder);
    p.withRemainder = withRemainder;
    return p;
}

// A chain a op1 b op2 c: Chain(8, Operation::Add, 5, Operation::Subtract, 6, 7).
inline model::Problem Chain(int a, Operation op1, int b, Operation op2, int c, int result,
                            int open = 0, Brackets brackets = Brackets::None)
{
    model::Problem p = Two(a, op1, b, result, open);
    p.operands[2] = static_cast<std::int16_t>(c);
    p.operators[1] = op2;
    p.operandCount = 3;
    p.brackets = brackets;
    return p;
}

// Three steps: Four(72, Operation::Divide, 5, Operation::Subtract, 2, Operation::Multiply, 3,
// Brackets::LastThreeFirstTwo, 8) is 72÷［(5－2)×3］＝8.
inline model::Problem Four(int a, Operation op1, int b, Operation op2, int c, Operation op3, int d,
                           Brackets brackets, int result)
{
    model::Problem p = Chain(a, op1, b, op2, c, result, 0, brackets);
    p.operands[3] = static_cast<std::int16_t>(d);
    p.operators[2] = op3;
    p.operandCount = 4;
    return p;
}

// A one-part sheet holding exactly these problems, as a practice round is handed them.
inline Sheet SheetOf(std::vector<model::Problem> problems)
{
    Sheet sheet;
    sheet.recipe.parts.emplace_back().problemCount = static_cast<std::int16_t>(problems.size());
    sheet.problems = std::move(problems);
    return sheet;
}

} // namespace sumvarl::testing
