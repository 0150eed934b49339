#pragma once

// How one row of the worksheet table becomes a problem on a sheet, on screen or on paper. Each
// item is made from a row's texts (RowAt(i) for the classic table's row i).

#include "worksheet/TableRow.h"

#include <string>

namespace sumvarl {

class PrintSurface;

enum class Variant { Screen, Printer };

inline constexpr int ProblemsPerRow = 4;
inline constexpr int JustifyWidth = 7;
// A chain is right-justified to 10 characters and never cut: "  8＋( )－6" fits, and a chain cut
// at its front would read as another problem.
inline constexpr int ChainJustifyWidth = 10;

// "( )" on screen, "(  )" on paper.
std::u16string_view BlankMarker(Variant variant);

// Columns from one problem of a row to the next: screen 24, printer 17.
int ColumnPitch(Variant variant);

// Tab column of problem i (1-based): screen 0, 24, 48, 72; printer 4, 21, 38, 55.
int TabColumn(int i, Variant variant);

// The text before "＝", right-justified to 7 characters by keeping the last 7 characters of
// seven spaces plus the joined text:  12＋5 -> "  12＋5",  1000＋200 -> "000＋200".
std::u16string LeftPart(const TableRow& row, Variant variant);

// The left part, "＝" and, for a blank problem, the result.
std::u16string ItemText(const TableRow& row, Variant variant);

// The answer key's item: every open place filled in. Kind 0 gets the result after "＝"; kinds 1
// and 2 get the missing operand inside the marker's parentheses, "(12)" for "(  )", then "＝"
// and the result as in ItemText. Right-justified to 7 characters like LeftPart, except that a
// joined text longer than 7 keeps its front: cutting it would drop digits of an answer, so a key
// shows the whole problem even where the sheet had to cut it. Both surfaces fill alike.
// Printed, a key item wider than its place (five-digit numbers) is set in a smaller size that
// ends it a column before the next problem, so that the key's rows stay on the sheet's lines.
std::u16string AnswerLeftPart(const TableRow& row);
std::u16string AnswerItemText(const TableRow& row, Variant variant);

// Prints problem i at its column with the open ending, then the row break after every fourth.
// With answers the answer key's item is printed instead of the sheet's.
// The row as the ith problem of a sheet, at its column and with its row break.
void PrintProblemLine(PrintSurface& surface, int i, const TableRow& row, Variant variant,
                      bool answers = false);
void PrintProblemLine(PrintSurface& surface, int i, Variant variant, bool answers = false);

void RowBreak(PrintSurface& surface, Variant variant);

// Prints text at the print position (already at column), in a smaller size where it would run
// into the next problem's place, so that a filled-in item never pushes its row's rest down.
void PrintWithinPlace(PrintSurface& surface, std::u16string_view text, int column, Variant variant);

} // namespace sumvarl
