#include "core/Sheet.h"

#include "core/Chains.h"
#include "core/Generator.h"
#include "core/RandomSource.h"

#include <algorithm>
#include <optional>
#include <string>
#include <unordered_set>
#include <utility>

namespace sumvarl {

namespace {

using Keys = std::unordered_set<std::u16string>;

// A problem whose key is not yet on the sheet, or none when the attempts run out.
std::optional<model::Problem> FindNewProblem(const PartSpec& part, RandomSource& random,
                                             const ProblemDraw& draw, Keys& keys)
{
    for (int attempt = 1; attempt <= AttemptsPerSheetProblem; ++attempt) {
        const std::optional<model::Problem> problem = draw(part, random);
        if (problem && keys.insert(TextsOf(*problem).key).second) {
            return problem;
        }
    }
    return std::nullopt;
}

OpenPlace OpenPlaceFor(std::int16_t blankKind)
{
    switch (blankKind) {
    case 1:
        return OpenPlace::Operand1;
    case 2:
        return OpenPlace::Operand2;
    default:
        return OpenPlace::Result;
    }
}

// Any of a chain's three numbers, evenly.
OpenPlace OpenNumberOfChain(RandomSource& random)
{
    const int k = std::min(static_cast<int>(static_cast<double>(random.Draw()) * 3), 2);
    return static_cast<OpenPlace>(k + 1);
}

} // namespace

PartSpec PartSpecFor(const Settings& settings, const Lesson& lesson, ProblemShape shape)
{
    PartSpec part;
    part.shape = shape;
    part.weightTotal = settings.WeightTotal;
    part.cumulativeWeight = settings.CumulativeWeight;
    part.fillBlankOn = settings.FillBlankOn;
    part.fillBlankPercent = settings.FillBlankPercent;
    part.numberRange = settings.NumberRange;
    part.problemCount = settings.ProblemCount;
    part.lesson = lesson;
    return part;
}

std::vector<int> PartCounts(const SheetSpec& recipe)
{
    std::vector<int> counts;
    counts.reserve(recipe.parts.size());
    int room = MaxSheetProblems;
    for (const PartSpec& part : recipe.parts) {
        const int count = std::clamp<int>(part.problemCount, 0, room);
        counts.push_back(count);
        room -= count;
    }
    return counts;
}

std::int16_t BlankKindFor(RandomSource& random, std::int16_t fillBlankPercent)
{
    random.Reseed();
    // Rounded to float as the classic draw was, before the comparisons.
    const auto x = static_cast<float>(static_cast<double>(random.Draw()) * 100 + 1);
    const double percent = fillBlankPercent;
    std::int16_t kind = 0;
    if (x < percent) {
        kind = 1;
    }
    if (x < percent / 2) {
        kind = 2;
    }
    return kind;
}

bool PosedWithResultOnly(const model::Problem& problem)
{
    // A chain of three steps is answered with its result only.
    return problem.withRemainder || problem.operandCount == 4 ||
           (problem.operandCount == 3 && !OneAnswerAtEveryPlace(problem));
}

SheetProblems DrawSheetProblems(const SheetSpec& recipe, RandomSource& random)
{
    return DrawSheetProblems(recipe, random, DrawProblem);
}

SheetProblems DrawSheetProblems(const SheetSpec& recipe, RandomSource& random,
                                const ProblemDraw& draw)
{
    SheetProblems sheet;
    Keys keys;
    const std::vector<int> counts = PartCounts(recipe);
    for (std::size_t k = 0; k < recipe.parts.size(); ++k) {
        const PartSpec& part = recipe.parts[k];
        for (int i = 0; i < counts[k]; ++i) {
            std::optional<model::Problem> problem = FindNewProblem(part, random, draw, keys);
            if (!problem) {
                sheet.fellShort = true;
                return sheet;
            }
            // A problem worked in columns is always asked for its result.
            if (part.fillBlankOn == 1 && part.vertical == VerticalKind::None) {
                // The draw is made all the same, so the other problems' forms do not shift.
                const std::int16_t kind = BlankKindFor(random, part.fillBlankPercent);
                problem->open =
                    PosedWithResultOnly(*problem) ? OpenPlace::Result : OpenPlaceFor(kind);
                if (problem->operandCount == 3 && problem->open != OpenPlace::Result) {
                    problem->open = OpenNumberOfChain(random);
                }
            }
            sheet.problems.push_back(*problem);
        }
    }
    if (recipe.mixed) {
        // Fisher-Yates, after every problem is drawn, so a mixed sheet holds the very problems
        // of the same sheet in order.
        for (std::size_t i = sheet.problems.size(); i > 1; --i) {
            const auto j = std::min(static_cast<std::size_t>(static_cast<double>(random.Draw()) *
                                                             static_cast<double>(i)),
                                    i - 1);
            std::swap(sheet.problems[i - 1], sheet.problems[j]);
        }
    }
    return sheet;
}

Sheet MakeSheet(const SheetSpec& recipe)
{
    ClockRandom random(recipe.seed, [] { return std::uint64_t{0}; });
    SheetProblems drawn = DrawSheetProblems(recipe, random);
    return Sheet{recipe, std::move(drawn.problems), drawn.fellShort, random.State()};
}

} // namespace sumvarl
