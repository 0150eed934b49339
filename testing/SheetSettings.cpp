#include "testing/SheetSettings.h"

#include "core/Math.h"

namespace sumvarl::testing {

Settings MakeSettings(std::array<std::int16_t, 4> cumulative, std::int16_t fillOn,
                      std::int16_t fillPercent, std::int16_t count, std::int16_t range)
{
    Settings s;
    s.CumulativeWeight = cumulative;
    s.WeightTotal = cumulative[3];
    s.FillBlankOn = fillOn;
    s.FillBlankPercent = fillPercent;
    s.ProblemCount = count;
    s.NumberRange = range;
    return s;
}

Settings AllOperations(std::int16_t count, std::int16_t fillPercent, std::int16_t range)
{
    const std::int16_t fillOn = fillPercent != 0 ? 1 : 0;
    return MakeSettings({25, 50, 75, 100}, fillOn, fillPercent, count, range);
}

void UseSettings(const Settings& settings)
{
    Math::ResetState();
    CommitSettings(settings);
}

Settings SettingsInMath()
{
    return CommittedSettings();
}

} // namespace sumvarl::testing
