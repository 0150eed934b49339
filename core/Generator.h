#pragma once

// The problem generator on values: one random problem of a part's settings.

#include "core/Problem.h"
#include "core/SheetSpec.h"

#include <cstdint>
#include <optional>
#include <span>

namespace sumvarl {

class RandomSource;

// An operation the lesson constrains draws again until its problem fits, at most this often.
inline constexpr int MaxDrawRounds = 1000;

// The classic OperationKind (1 addition .. 4 division) that a band draw r selects from the
// first four cumulative weights, 0 for none.
int ChooseOperation(std::int16_t r, std::span<const std::int16_t> cumulativeWeight);

// One problem, its result open, drawn as the classic generator draws it: a re-seed and a band
// draw choose the operation, a re-seed and the operand draws make the problem. Empty when the
// band draw selects no operation or nothing fits the lesson within MaxDrawRounds. A part of
// another shape draws a chain (core/Chains.h) and leaves the operations' weights aside; a part
// of a 竖式 kind draws with DrawVertical (core/Vertical.h).
std::optional<model::Problem> DrawProblem(const PartSpec& part, RandomSource& random);

} // namespace sumvarl
