#pragma once

// One whole worksheet: ProblemCount different problems into Math::WorksheetTable, then the
// screen sheet drawn from the table: header, the problems four to a row, the summary line.

#include "core/Sheet.h"

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
    // Makes one problem of the settings. Normally DrawProblem, the generator.
    ProblemDraw drawProblem;
    // The random source of the whole build; the program's shared one when empty.
    RandomSource* random = nullptr;
    // A modal stop message with one OK button; returns when it is closed.
    std::function<void(std::u16string_view prompt, std::u16string_view title)> messageBox;
    // Switches the build timer off (its interval to 0).
    std::function<void()> timerOff;
};

// Hooks wired to the generator and the shared random source; the caller adds the message box
// and the timer.
BuildHooks DefaultBuildHooks();

// The sheet of the settings and the lesson that Start committed to Math, drawn from the hooks'
// generator and random source: ProblemCount different problems, fewer when the attempts for one
// run out. A 竖式 sheet is drawn from a seed taken from that source and kept in its recipe.
Sheet SheetOfCommittedSettings(const BuildHooks& hooks);

struct TableFill
{
    int rows = 0;        // rows 1..rows hold the problems found
    bool gaveUp = false; // a problem not yet on the sheet could not be found
};

// The one place where a sheet becomes the classic table: rows 1.. of Math::WorksheetTable hold
// the sheet's problems, keys and open places. Clears the first RowsResetPerBuild rows first.
TableFill FillWorksheetTable(const Sheet& sheet);

// SheetOfCommittedSettings into the table. Draws nothing, shows nothing.
TableFill FillWorksheetTable(const BuildHooks& hooks);

// Draws the screen sheet of a filled table on the surface: header, rows 1..fill.rows, the
// summary line. beforeSummary runs once the rows are drawn (the give-up message).
void DrawWorksheet(PrintSurface& surface, const TableFill& fill,
                   const std::function<void()>& beforeSummary = {});

// FillWorksheetTable, then DrawWorksheet with the message when it gave up, then the timer off.
// The sheet the table was filled from.
Sheet BuildWorksheet(PrintSurface& surface, const BuildHooks& hooks);

} // namespace sumvarl
