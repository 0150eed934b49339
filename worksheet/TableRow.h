#pragma once

// One problem as the worksheet table holds it: its four text columns and its open place. The
// classic table's rows and the typed problems of a sheet both become rows, and the items on
// screen and on paper are made from rows.

#include "core/Problem.h"

#include <cstdint>
#include <string>
#include <vector>

namespace sumvarl {

struct Sheet;

struct TableRow
{
    std::u16string operand1;
    std::u16string op;
    std::u16string operand2;
    std::u16string result;
    std::int16_t blankKind = 0; // 0: the result is open, 1: the first operand, 2: the second

    bool operator==(const TableRow&) const = default;
};

// Row i of Math::WorksheetTable.
TableRow RowAt(int i);

// A typed problem's texts and open place: 17÷5 with a remainder is "17", "÷", "5", "3……2".
TableRow RowOf(const model::Problem& problem);

// The rows of a sheet's problems, in order.
std::vector<TableRow> RowsOf(const Sheet& sheet);

} // namespace sumvarl
