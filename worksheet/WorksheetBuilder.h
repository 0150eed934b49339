#pragma once

// Builds one whole worksheet: header, ProblemCount different problems four to a row, the
// summary line. Fills Math::WorksheetTable as it goes.

#include <cstdint>
#include <functional>
#include <string_view>

namespace sumvarl {

class PrintSurface;
class RandomSource;

inline constexpr int RowsResetPerBuild = 150;
inline constexpr int AttemptsPerProblem = 1000;

inline constexpr std::u16string_view TooFewProblemsPrompt =
    u"你选择的难度太低，没有办法出这么多的题目";
inline constexpr std::u16string_view TooFewProblemsTitle = u"注意啦";

struct BuildHooks
{
    // Makes one problem into Math::Current*. Normally Math::GenerateProblem.
    std::function<void(std::int16_t rangeLimit)> generateProblem;
    // Used for the fill-in-the-blank draw only.
    RandomSource* random = nullptr;
    // A modal stop message with one OK button; returns when it is closed.
    std::function<void(std::u16string_view prompt, std::u16string_view title)> messageBox;
    // Switches the build timer off (its interval to 0).
    std::function<void()> timerOff;
};

// Hooks wired to Math::GenerateProblem and the shared random source; the caller adds the
// message box and the timer.
BuildHooks DefaultBuildHooks();

void BuildWorksheet(PrintSurface& surface, const BuildHooks& hooks);

} // namespace sumvarl
