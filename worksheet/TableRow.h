#pragma once

// One problem as the worksheet table holds it: its four text columns and its open place. The
// classic table's rows and the typed problems of a sheet both become rows, and the items on
// screen and on paper are made from rows.

#include "core/Problem.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sumvarl {

struct Sheet;

struct TableRow
{
    std::u16string operand1;
    std::u16string op;
    std::u16string operand2;
    std::u16string result;
    // 0: the result is open, 1: the first operand, 2: the second, 3: a number of a chain, which
    // stands between OpenStart and OpenEnd in its operand's text.
    std::int16_t blankKind = 0;

    bool operator==(const TableRow&) const = default;
};

// Around the open number of a chain: "8＋" OpenStart "5" OpenEnd, "－6". Characters that no
// number or sign uses (interlinear annotation anchor and terminator).
inline constexpr char16_t OpenStart = u'\uFFF9';
inline constexpr char16_t OpenEnd = u'\uFFFB';
inline constexpr std::int16_t ChainBlankKind = 3;

// The text with its open number replaced: "8＋( )－6" for filler "( )". Unchanged without one.
std::u16string WithOpenAs(std::u16string_view text, std::u16string_view filler);

// The open number of a chain's text, "5" in "8＋" OpenStart "5" OpenEnd; empty without one.
std::u16string OpenNumberIn(std::u16string_view text);

// A chain's row: an operand holds a sign ("8＋5", "（5－6）").
bool IsChainRow(const TableRow& row);

// Row i of Math::WorksheetTable.
TableRow RowAt(int i);

// A typed problem's texts and open place: 17÷5 with a remainder is "17", "÷", "5", "3……2".
TableRow RowOf(const model::Problem& problem);

// The rows of a sheet's problems, in order.
std::vector<TableRow> RowsOf(const Sheet& sheet);

} // namespace sumvarl
