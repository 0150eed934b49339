#pragma once

// Everything a worksheet is made from: its parts' settings and the seed. The same recipe always
// makes the same sheet.

#include "core/LessonRules.h"
#include "core/VerticalKind.h"

#include <array>
#include <cstdint>
#include <vector>

namespace sumvarl {

// The kind of problems a part asks for. Values are stored in sheet codes: append only.
enum class ProblemShape : std::int8_t {
    OneOperation,      // a op b = c, the classic problem
    AddChain,          // 连加 8＋5＋6
    SubtractChain,     // 连减 18－5－6
    AddSubtract,       // 加减混合 8＋5－6, 13－5＋6
    MultiplyAdd,       // 乘加 3×4＋5, 5＋3×4
    MultiplySubtract,  // 乘减 3×4－5, 20－3×4
    MultiplyDivide,    // 乘除混合 6×4÷3, 12÷3×4
    Bracketed,         // 带小括号 (12－4)×3, (2＋4)÷3, 3×(9－4), 36÷(2＋4)
    DivideAddSubtract, // 先除后加减 5＋12÷3, 20－12÷3
    ThreeSteps, // 带中括号 72÷［(5－2)×3］, ［36－(4＋5)］×2, 5×［(18－6)÷3］
};
inline constexpr int ProblemShapeCount = 10;

// One part of a sheet: the settings Start produces, with a lesson.
struct PartSpec
{
    std::int16_t weightTotal = 0;
    std::array<std::int16_t, 4> cumulativeWeight{}; // addition, subtraction, ... running totals
    std::int16_t fillBlankOn = 0;                   // the blank draw is made only when exactly 1
    std::int16_t fillBlankPercent = 0;
    std::int16_t numberRange = 0;
    std::int16_t problemCount = 0;
    Lesson lesson;
    ProblemShape shape = ProblemShape::OneOperation;
    // Worked in columns on paper; the shape and the blanks are then left aside.
    VerticalKind vertical = VerticalKind::None;

    bool operator==(const PartSpec&) const = default;
};

struct SheetSpec
{
    std::vector<PartSpec> parts; // usually one
    std::uint64_t seed = 0;
    // The parts' problems shuffled together rather than one part after the other.
    bool mixed = false;

    bool operator==(const SheetSpec&) const = default;
};

} // namespace sumvarl
