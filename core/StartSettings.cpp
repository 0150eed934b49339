#include "core/StartSettings.h"

#include "core/Math.h"
#include "core/NumberText.h"

#include <algorithm>
#include <limits>

namespace sumvarl {

namespace {

constexpr int Int16Lowest = std::numeric_limits<std::int16_t>::min();
constexpr int Int16Highest = std::numeric_limits<std::int16_t>::max();

StartOutcome Refuse(RefusalKind kind, int lowest, int highest, std::array<bool, 4> weights = {})
{
    return {std::nullopt, Refusal{kind, weights, lowest, highest}};
}

} // namespace

StartOutcome ReadSettings(const StartInputs& in)
{
    Settings s;
    for (std::size_t k = 0; k < 4; ++k) {
        const double w = in.ticked[k] ? ReadNumber(in.boxes[k]) : 0.0;
        const std::optional<std::int16_t> total = ToInt16(s.WeightTotal + w);
        if (!total) {
            // The one box whose number alone is too large, otherwise the sum so far.
            std::array<bool, 4> weights{};
            if (ToInt16(w)) {
                std::copy_n(in.ticked.begin(), k + 1, weights.begin());
                return Refuse(RefusalKind::WeightSum, Int16Lowest, Int16Highest, weights);
            }
            weights.at(k) = true;
            return Refuse(RefusalKind::Weight, Int16Lowest, Int16Highest, weights);
        }
        s.WeightTotal = *total;
        s.CumulativeWeight.at(k) = s.WeightTotal;
    }

    if (in.ticked[4]) {
        const std::optional<std::int16_t> percent = ToInt16(ReadNumber(in.boxes[4]));
        if (!percent) {
            return Refuse(RefusalKind::FillBlankPercent, Int16Lowest, Int16Highest);
        }
        s.FillBlankOn = 1;
        s.FillBlankPercent = *percent;
    }

    const double count = ReadNumber(in.problemCount);
    const std::optional<std::int16_t> problemCount = ToInt16(count);
    if (count > 0 && (!problemCount || *problemCount > Math::MaxProblemCount)) {
        return Refuse(RefusalKind::TooManyProblems, Int16Lowest, Math::MaxProblemCount);
    }
    if (!problemCount) {
        return Refuse(RefusalKind::ProblemCount, Int16Lowest, Int16Highest);
    }
    s.ProblemCount = *problemCount;

    // At -32768 a difference such as 0 - (-32768) no longer fits 16 bits and the sheet would
    // show a wrong answer, so the range stops one short of the 16-bit minimum.
    const std::optional<std::int16_t> range = ToInt16(ReadNumber(in.numberRange));
    if (!range || *range == Int16Lowest) {
        return Refuse(RefusalKind::NumberRange, Int16Lowest + 1, Int16Highest);
    }
    s.NumberRange = *range;

    return {s, std::nullopt};
}

void CommitSettings(const Settings& s)
{
    Math::WeightTotal = s.WeightTotal;
    for (std::size_t k = 0; k < s.CumulativeWeight.size(); ++k) {
        Math::CumulativeWeight[k] = s.CumulativeWeight[k];
    }
    Math::FillBlankOn = s.FillBlankOn;
    Math::FillBlankPercent = s.FillBlankPercent;
    Math::ProblemCount = s.ProblemCount;
    Math::NumberRange = s.NumberRange;
}

Settings CommittedSettings()
{
    Settings s;
    s.WeightTotal = Math::WeightTotal;
    for (std::size_t k = 0; k < s.CumulativeWeight.size(); ++k) {
        s.CumulativeWeight[k] = Math::CumulativeWeight[k];
    }
    s.FillBlankOn = Math::FillBlankOn;
    s.FillBlankPercent = Math::FillBlankPercent;
    s.ProblemCount = Math::ProblemCount;
    s.NumberRange = Math::NumberRange;
    return s;
}

} // namespace sumvarl
