#pragma once

// 脱式计算: a problem written out step by step, one line "＝ …" for each step.
//   (12－4)×3        8＋5－6        17÷5        72÷［(5－2)×3］
//   ＝8×3            ＝13－6        ＝3……2      ＝72÷［3×3］
//   ＝24             ＝7                        ＝72÷9
//                                               ＝8

#include "core/Problem.h"

#include <string>
#include <vector>

namespace sumvarl {

// The problem with its result open, every number shown: "（12－4）×3".
std::u16string ProblemWithoutAnswer(const model::Problem& problem);

// What follows each "＝" of the working: {"8×3", "24"} for (12－4)×3; {"3……2"} for 17÷5;
// {"72÷［3×3］", "72÷9", "8"} for 72÷［(5－2)×3］.
std::vector<std::u16string> WorkingSteps(const model::Problem& problem);

} // namespace sumvarl
