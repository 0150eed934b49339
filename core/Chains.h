#pragma once

// Problems of two steps, chains: 8＋5－6, 3×4＋5, (12－4)×3, and of three, with a 中括号:
// 72÷［(5－2)×3］. Which forms each shape has, the rules every step keeps, how many different
// chains a part allows, and drawing one.
//
// The rules, for a part with number range n: every number written and every intermediate result
// is whole and within 0..n-1 (as the one-operation problems' sums and minuends are); each product
// is one of the times tables (factors 0..9, one of them in the lesson's tables); each division
// has a divisor in the tables and a quotient 0..9, and comes out exactly, except that with
// remainders asked for the last step may leave one. Brackets stand only where they change the
// order: a 中括号 holds a bracketed pair and is followed or preceded by × or ÷. The carry and
// borrow rules are for one-operation problems and do not apply.

#include "core/LessonRules.h"
#include "core/Problem.h"
#include "core/SheetSpec.h"

#include <array>
#include <optional>
#include <span>

namespace sumvarl {

class RandomSource;

// One way of writing a chain: its operators and which pair is worked out first. A chain of
// three steps has a third operator and one of the four-number brackets.
struct ChainForm
{
    Operation first = Operation::Add;
    Operation second = Operation::Add;
    Brackets brackets = Brackets::None;
    Operation third = Operation::Add;
};

// 4 for the forms of three steps, else 3.
int NumbersOf(const ChainForm& form);

// The forms of a shape; empty for OneOperation.
std::span<const ChainForm> FormsOf(ProblemShape shape);

// Whether the pair of the last two numbers is worked out first: by brackets, or as × and ÷
// come before ＋ and －.
bool LastTwoFirst(const ChainForm& form);

struct ChainValue
{
    int result = 0; // the quotient where the last step leaves a remainder
    int remainder = 0;
};

// The chain's value when every rule holds for these numbers, else none. A chain of two steps
// reads the first three numbers.
std::optional<ChainValue> WorkOut(const ChainForm& form, const std::array<int, 4>& numbers,
                                  int numberRange, const Lesson& lesson);

// How many different chains (different keys) the shape allows.
long long DifferentChains(ProblemShape shape, int numberRange, const Lesson& lesson);

// One chain of the part's shape, its result open: a form drawn evenly, then numbers evenly among
// those that keep the rules. Empty when nothing fits within MaxDrawRounds.
std::optional<model::Problem> DrawChain(const PartSpec& part, RandomSource& random);

// The value of the pair a chain works out first: 8 for (12－4)×3, 4 for 5＋12÷3.
int FirstStepValue(const model::Problem& problem);

// A chain of three steps with its first step worked out, a chain of two: 72÷［(5－2)×3］ gives
// 72÷(3×3), ［36－(4＋5)］×2 gives (36－9)×2. Its result and remainder stay.
model::Problem AfterFirstStep(const model::Problem& problem);

// Whether any number of the chain, left open, has exactly one right answer: no factor is 0 and
// nothing divided is 0 (8×( )＋0＝0 would hold for every number).
bool OneAnswerAtEveryPlace(const model::Problem& problem);

} // namespace sumvarl
