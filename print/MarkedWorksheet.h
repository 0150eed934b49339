#pragma once

// A practice round marked on the printed worksheet: the sheet's heading with the date, the time
// used and the score filled in, and each problem in its place with the child's answer written
// in, ✓ after a right one and ✗ with the right answer after a wrong or empty one.

#include "print/PrintedWorksheet.h"
#include "worksheet/Marking.h"

#include <QDate>
#include <string>
#include <vector>

namespace sumvarl {

inline constexpr std::u16string_view RightMark = u"✓";
inline constexpr std::u16string_view WrongMark = u"✗";

struct MarkedRound
{
    std::vector<model::Problem> problems;
    // One per problem, as written (digits, a remainder after "……"); empty where nothing was.
    std::vector<std::u16string> answers;
    QDate date;
    int seconds = 0;

    int Right() const;
    int Score() const { return sumvarl::Score(Right(), static_cast<int>(problems.size())); }
};

// Minutes and seconds, "03:07"; minutes beyond 99 keep all their digits.
std::u16string ElapsedText(int seconds);

// "日期：2026年5月6日  用时：03:07  得分：85", in place of the heading's line to fill in.
std::u16string FilledInLine(const MarkedRound& round);

// A stretch of a marked item; the child's wrong answer is struck through.
struct MarkedPiece
{
    std::u16string text;
    bool struck = false;

    bool operator==(const MarkedPiece&) const = default;
};

// Problem i (0-based) of the round as the marked sheet prints it, without its column: what the
// child wrote (struck through where wrong, "（未答）" where nothing was), then ✓, or ✗ and the
// right answer in brackets: "65÷7＝9✗（9……2）" with the 9 struck through.
std::vector<MarkedPiece> MarkedItemPieces(const MarkedRound& round, std::size_t i);
std::u16string MarkedItemText(const MarkedRound& round, std::size_t i);

// The whole marked sheet onto a surface, in the printer layout.
void PrintMarkedWorksheet(PrintSurface& surface, const MarkedRound& round);

} // namespace sumvarl
