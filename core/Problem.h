#pragma once

// One problem as numbers: its operands and operators, which place the child fills in, and its
// answer; and the texts the worksheet shows for it.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace sumvarl {

// Operator and equals signs. Full-width forms for plus, minus and equals; Latin-1 for the rest.
inline constexpr std::u16string_view PlusSign = u"\uFF0B";
inline constexpr std::u16string_view MinusSign = u"\uFF0D";
inline constexpr std::u16string_view TimesSign = u"\u00D7";
inline constexpr std::u16string_view DivideSign = u"\u00F7";
inline constexpr std::u16string_view EqualsSign = u"\uFF1D";

// Between a remainder division's quotient and its remainder in the answer: 17÷5＝3……2.
inline constexpr std::u16string_view RemainderSign = u"\u2026\u2026";

// Around a bracketed pair of a chain: (8＋5)－6.
inline constexpr std::u16string_view OpenBracket = u"\uFF08";
inline constexpr std::u16string_view CloseBracket = u"\uFF09";
// 中括号, around three numbers that hold a bracketed pair: 72÷［(5－2)×3］.
inline constexpr std::u16string_view OpenSquareBracket = u"\uFF3B";
inline constexpr std::u16string_view CloseSquareBracket = u"\uFF3D";

enum class Operation : std::int8_t { Add, Subtract, Multiply, Divide };

// Indexed by Operation.
inline constexpr std::array<std::u16string_view, 4> OperatorTexts{PlusSign, MinusSign, TimesSign,
                                                                  DivideSign};

std::u16string_view OperatorText(Operation operation);

// Which pair of a three-number chain is worked out first; for four numbers, which three stand in
// the 中括号 and which pair of them in the 小括号. Stored in the history: append only.
enum class Brackets : std::int8_t {
    None,
    FirstTwo,          // (a＋b)×c
    LastTwo,           // a×(b＋c)
    LastThreeFirstTwo, // a÷［(b－c)×d］
    LastThreeLastTwo,  // a÷［b×(c－d)］
    FirstThreeLastTwo, // ［a－(b＋c)］×d
};

// The place the child fills in. The values are the classic blank kinds 0, 1, 2 (and 3).
enum class OpenPlace : std::int8_t { Result, Operand1, Operand2, Operand3 };

namespace model {

// The numbers are kept as the generator drew them: at 16-bit extremes the classic generator can
// leave an answer that is not what the operands make, and the sheet shows it as drawn.
struct Problem
{
    std::array<std::int16_t, 4> operands{};
    std::array<Operation, 3> operators{};
    std::int8_t operandCount = 2; // 2, 3 for a chain of two steps, 4 for three steps
    Brackets brackets = Brackets::None;
    OpenPlace open = OpenPlace::Result;
    std::int16_t result = 0; // the quotient of a remainder division
    std::int16_t remainder = 0;
    // A division of a remainder lesson: answered "q……r", "q" alone where it divides exactly.
    bool withRemainder = false;

    bool operator==(const Problem&) const = default;
};

} // namespace model

// The worksheet table's four columns of a problem, and its key: "17", "÷", "5", "3……2" and
// "17÷5＝3……2". A chain of three keeps the pair worked out second apart: "（8＋5）", "－", "6"
// or "8", "＋", "（5－6）"; without brackets "8＋5", "－", "6". Four numbers split at the step
// outside the 中括号: "72", "÷", "［（5－2）×3］".
struct ProblemTexts
{
    std::u16string operand1;
    std::u16string op;
    std::u16string operand2;
    std::u16string result;
    std::u16string key;

    bool operator==(const ProblemTexts&) const = default;
};

ProblemTexts TextsOf(const model::Problem& problem);

} // namespace sumvarl
