#pragma once

// A whole worksheet made from its recipe: every problem different, each with its open place, made
// exactly as the classic build makes it from the same seed and settings.

#include "core/LessonRules.h"
#include "core/Problem.h"
#include "core/SheetSpec.h"
#include "core/StartSettings.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace sumvarl {

class RandomSource;

inline constexpr int MaxSheetProblems = 200; // what the worksheet table holds
inline constexpr int AttemptsPerSheetProblem = 1000;

struct Sheet
{
    SheetSpec recipe;
    std::vector<model::Problem> problems; // parts in order
    // A problem not yet on the sheet could not be found: the sheet stops there.
    bool fellShort = false;
    // Where the random source stands after the sheet: the seed of the next copy of a batch.
    std::uint64_t nextSeed = 0;

    bool operator==(const Sheet&) const = default;
};

struct SheetProblems
{
    std::vector<model::Problem> problems;
    bool fellShort = false;
};

// The part Start's settings, the lesson and the shape make.
PartSpec PartSpecFor(const Settings& settings, const Lesson& lesson,
                     ProblemShape shape = ProblemShape::OneOperation);

// How many problems each part asks for, as the sheet holds them: 0 for a negative count, and
// never more than MaxSheetProblems on the whole sheet.
std::vector<int> PartCounts(const SheetSpec& recipe);

// The fill-in-the-blank draw: a re-seed, then x uniform in [1, 101); below the percentage the
// first operand is open (1), below half of it the second (2), otherwise the result (0).
std::int16_t BlankKindFor(RandomSource& random, std::int16_t fillBlankPercent);

// A division with a remainder is posed with its result open: a blank divisor need not have one
// answer (3÷( )＝0……3 holds for every divisor above 3). So is a chain with a factor 0 or a 0 to
// divide (0×( )＋5＝5).
bool PosedWithResultOnly(const model::Problem& problem);

// The problems of the recipe from the given source, its seed unused. A mixed recipe's problems
// are shuffled once all are drawn. Up to
// AttemptsPerSheetProblem draws for each problem, a draw refused when it makes no problem or
// one whose key is already on the sheet; the blank draw follows every accepted problem of a
// part whose fillBlankOn is 1, even where the problem is posed with its result open. A chain
// whose blank draw asks for an open number has it at one of its three numbers, by one more draw.
SheetProblems DrawSheetProblems(const SheetSpec& recipe, RandomSource& random);

// The same with another maker of single problems in place of DrawProblem: tests play back lists
// of problems through it, or watch a build while it runs.
using ProblemDraw = std::function<std::optional<model::Problem>(const PartSpec&, RandomSource&)>;
SheetProblems DrawSheetProblems(const SheetSpec& recipe, RandomSource& random,
                                const ProblemDraw& draw);

// The sheet of the recipe: DrawSheetProblems on ClockRandom(seed) with a clock that stands at 0.
Sheet MakeSheet(const SheetSpec& recipe);

} // namespace sumvarl
