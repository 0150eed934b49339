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

// Makes one random problem into the Current* slots from WeightTotal and CumulativeWeight,
// using the program's shared random source.
void GenerateProblem(std::int16_t rangeLimit);
// The same with an explicit random source (tests, benchmarks).
void GenerateProblem(std::int16_t rangeLimit, sumvarl::RandomSource& random);

} // namespace Math
