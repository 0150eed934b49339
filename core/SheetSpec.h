#pragma once

// Everything a worksheet is made from: its parts' settings and the seed. The same recipe always
// makes the same sheet.

#include "core/LessonRules.h"

#include <array>
#include <cstdint>
#include <vector>

namespace sumvarl {

// The kind of problems a part asks for. Values are stored in sheet codes: append only.
enum class ProblemShape : std::int8_t {
    OneOperation, // a op b = c, the classic problem
};

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

    bool operator==(const PartSpec&) const = default;
};

struct SheetSpec
{
    std::vector<PartSpec> parts; // usually one
    std::uint64_t seed = 0;

    bool operator==(const SheetSpec&) const = default;
};

} // namespace sumvarl
