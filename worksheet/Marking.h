#pragma once

// Marking a child's answers to the worksheet's problems: whether an answer is right under the
// problem's own numbers, the right answer to show beside a wrong one, and the score. The
// numbers are read back from the table's texts, never from a printed item, which may be cut.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sumvarl {

// One problem as the table holds it; a practice round keeps its own copy of these.
struct Problem
{
    std::u16string operand1;
    std::u16string op;
    std::u16string operand2;
    std::u16string result;
    std::int16_t blankKind = 0; // 0: the result is open, 1: the first operand, 2: the second
};

// Rows 1 .. ProblemCount of Math::WorksheetTable, up to the first row not filled in (a build
// that ran out of different problems stops early).
std::vector<Problem> TableProblems();

// The stored number at the problem's open place, as text.
const std::u16string& RightAnswer(const Problem& problem);

// True when some number of the problems is negative: then an answer may be too.
bool NegativeAnswersPossible(const std::vector<Problem>& problems);

// What a child typed, read as a whole number: ASCII or full-width digits, one leading minus
// ("-", "－" or "−"). Empty for an empty answer or anything else.
std::optional<long long> ReadAnswer(std::u16string_view typed);

// A division posed with its result open whose numbers do not divide exactly: it is answered with
// a quotient and a remainder, "3……2".
bool HasRemainder(const Problem& problem);

// A quotient and a remainder joined as the result column holds them; just the quotient where the
// remainder is empty.
std::u16string JoinRemainder(std::u16string_view quotient, std::u16string_view remainder);

// Right when the answer makes the equation true with a number the problem's rules allow at that
// place: "( )×0＝0" is right for every factor 0..9, "0÷( )＝0" for every divisor 1..9. The
// stored number is always right. A remainder division wants its quotient and its remainder
// ("3……2"; "3" or "3……0" where it divides exactly). An empty answer is wrong.
bool IsRightAnswer(const Problem& problem, std::u16string_view answer);

// 100 × right / problems rounded half to even; 0 for no problems.
int Score(int right, int problems);

} // namespace sumvarl
