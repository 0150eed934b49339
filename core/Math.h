#pragma once

// The exercise state shared by both windows, the worksheet table and the problem generator.
// These are plain module variables on purpose: every routine of the program reads and writes
// them by these names, and the tests inspect them directly.

#include <array>
#include <cstdint>
#include <string>

namespace sumvarl {
class RandomSource;
}

namespace Math {

inline constexpr int TableRows = 201; // rows 0..200; row 0 is never filled
inline constexpr int MaxProblemCount = TableRows - 1;

// Operator and equals signs. Full-width forms for plus, minus and equals; Latin-1 for the rest.
inline constexpr std::u16string_view PlusSign = u"\uFF0B";
inline constexpr std::u16string_view MinusSign = u"\uFF0D";
inline constexpr std::u16string_view TimesSign = u"\u00D7";
inline constexpr std::u16string_view DivideSign = u"\u00F7";
inline constexpr std::u16string_view EqualsSign = u"\uFF1D";

// Between a remainder division's quotient and its remainder in the answer: 17÷5＝3……2.
inline constexpr std::u16string_view RemainderSign = u"\u2026\u2026";

// Indexed by OperationKind - 1.
inline constexpr std::array<std::u16string_view, 4> OperatorTexts{PlusSign, MinusSign, TimesSign,
                                                                  DivideSign};

// Settings, written together by Start.
extern std::int16_t ProblemCount;
extern std::int16_t NumberRange;
extern std::int16_t WeightTotal;
extern std::array<std::int16_t, 5> CumulativeWeight; // entry 4 is never written
extern std::int16_t FillBlankOn;
extern std::int16_t FillBlankPercent;

// What this week's lesson asks of the problems, also written by Start. At the defaults every
// problem is drawn exactly as without them.
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
    // Divisions become q × d + r with 0 <= r < d, answered "q……r" (just "q" when r is 0).
    bool remainder = false;

    bool operator==(const Lesson&) const = default;
};
extern Lesson lesson;

// The generator's output slots. UTF-16 so that one sign is one character when a line is
// right-justified by character count.
extern std::u16string CurrentOperand1;
extern std::u16string CurrentOperator;
extern std::u16string CurrentOperand2;
extern std::u16string CurrentResult;
extern std::u16string CurrentKey;

// Six parallel columns; WorksheetTable.ProblemKey[i] is row i.
struct WorksheetColumns
{
    std::array<std::u16string, TableRows> ProblemKey;
    std::array<std::u16string, TableRows> Operand1Text;
    std::array<std::u16string, TableRows> OperatorText;
    std::array<std::u16string, TableRows> Operand2Text;
    std::array<std::u16string, TableRows> ResultText;
    std::array<std::int16_t, TableRows> BlankKind{};
};
extern WorksheetColumns WorksheetTable;

// Every number back to 0 and every text empty, as at program start.
void ResetState();

// The OperationKind (1..4) that a band draw r selects from the cumulative weights, 0 for none.
int ChooseOperation(std::int16_t r, const std::array<std::int16_t, 5>& cumulativeWeight);

// Makes one random problem into the Current* slots from WeightTotal, CumulativeWeight and the
// lesson, using the program's shared random source. An operation the lesson constrains draws
// again until its problem fits; if none fits within MaxDrawRounds the texts stay empty.
inline constexpr int MaxDrawRounds = 1000;
void GenerateProblem(std::int16_t rangeLimit);
// The same with an explicit random source (tests, benchmarks).
void GenerateProblem(std::int16_t rangeLimit, sumvarl::RandomSource& random);

} // namespace Math
