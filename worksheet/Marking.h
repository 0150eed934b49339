#pragma once

// Marking a child's answers to a sheet's problems: whether an answer is right under the
// problem's own numbers, the right answer to show beside a wrong one, and the score.

#include "core/Problem.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sumvarl {

// The number at the problem's open place as the answer key writes it: "17", "3……2".
std::u16string RightAnswer(const model::Problem& problem);

// True when some number of the problems is negative: then an answer may be too.
bool NegativeAnswersPossible(const std::vector<model::Problem>& problems);

// What a child typed, read as a whole number: ASCII or full-width digits, one leading minus
// ("-", "－" or "−"). Empty for an empty answer or anything else.
std::optional<long long> ReadAnswer(std::u16string_view typed);

// A division posed with its result open whose numbers do not divide exactly, or a chain whose last
// step leaves a remainder: it is answered with a quotient and a remainder, "3……2".
bool HasRemainder(const model::Problem& problem);

// A quotient and a remainder joined as the answer key writes them; just the quotient where the
// remainder is empty.
std::u16string JoinRemainder(std::u16string_view quotient, std::u16string_view remainder);

// Right when the answer makes the equation true with a number the problem's rules allow at that
// place: "( )×0＝0" is right for every factor 0..9, "0÷( )＝0" for every divisor 1..9. The
// stored number is always right. A remainder division wants its quotient and its remainder
// ("3……2"; "3" or "3……0" where it divides exactly). An empty answer is wrong.
bool IsRightAnswer(const model::Problem& problem, std::u16string_view answer);

// 100 × right / problems rounded half to even; 0 for no problems.
int Score(int right, int problems);

} // namespace sumvarl
