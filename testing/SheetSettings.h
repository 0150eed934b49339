#pragma once

// Settings for a test sheet, written straight into Math as Start leaves them, so that a test
// does not go through the settings window or the code that reads it.

#include "core/StartSettings.h"

#include <array>
#include <cstdint>

namespace sumvarl::testing {

// Settings as Start accepts them: the running totals of the four weights, WeightTotal the last.
Settings MakeSettings(std::array<std::int16_t, 4> cumulative, std::int16_t fillOn,
                      std::int16_t fillPercent, std::int16_t count, std::int16_t range);

// The four operations at equal weight, numbers to range, fill-in problems on when fillPercent
// is not 0.
Settings AllOperations(std::int16_t count, std::int16_t fillPercent = 0, std::int16_t range = 100);

// Resets Math and puts the settings in it.
void UseSettings(const Settings& settings);

// The settings that Math holds now.
Settings SettingsInMath();

} // namespace sumvarl::testing
