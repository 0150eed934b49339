#pragma once

// Problems worked in columns (竖式): drawing one of a kind, and the working an answer key shows,
// step by step, as numbers. Columns count from the ones, 0, to the left.

#include "core/Problem.h"
#include "core/SheetSpec.h"

#include <optional>
#include <vector>

namespace sumvarl {

class RandomSource;

// One problem of the part's kind, its result open: numbers drawn evenly until they fit the
// kind and the lesson (carrying and borrowing for ＋ and －, the times tables for a one-digit
// factor or divisor, remainders), at most MaxDrawRounds times. ＋ and － come up in the shares
// of the part's addition and subtraction weights, evenly where both are 0. Empty when nothing
// fits, or for VerticalKind::None.
std::optional<model::Problem> DrawVertical(const PartSpec& part, RandomSource& random);

// How many different problems DrawVertical can make of the part, by trying every one.
long long DifferentVerticalProblems(const PartSpec& part);

// Whether the recipe's sheet is worked in columns: every part is of a 竖式 kind.
bool IsVerticalSheet(const SheetSpec& recipe);

// The digit of value in a column: Digit(456, 1) is 5.
int Digit(int value, int column);
int DigitCount(int value); // 1 for 0

// ＋ and －:   4 6       5 0 3      a carried 1 is written small in the next column just above
//           ＋ 3 8     － 1 7 8    the line (column 1 here); a dot over each digit of the top
//           ——————     ————————    number that lent 1 (columns 1 and 2 of 503).
//              8 4       3 2 5
struct ColumnWork
{
    Operation op = Operation::Add;
    int top = 0;
    int bottom = 0;
    int result = 0;
    std::vector<int> carries;    // columns a carried 1 is written in
    std::vector<int> borrowDots; // columns of the top number that lent 1
};

// ×: the factors written with their trailing zeros outside the columns (120×30: 12 over 3,
// the zeros to the right); a multiplier of two digits gives a partial product for each,
// the second shifted one column left and written without its 0.
struct MultiplyWork
{
    int top = 0; // without its trailing zeros
    int bottom = 0;
    int topZeros = 0;
    int bottomZeros = 0;
    std::vector<int> partials; // top × each digit of bottom, ones first; empty for one digit
    int product = 0;           // top × bottom, without the zeros
    int result = 0;            // product followed by topZeros + bottomZeros zeros
};

// ÷ in the Chinese form. Each step divides a number ending at one digit of the dividend and
// writes its quotient digit over that digit; a step whose digit is not 0 writes the product
// under the number, a line, and what is left, with the next dividend digit brought down beside
// it as the next step's number. A step of digit 0 writes nothing but its 0 in the quotient.
struct DivisionStep
{
    int position = 0; // of the dividend digit, 0 the leftmost
    int number = 0;   // what is divided
    int digit = 0;    // of the quotient
    int product = 0;  // digit × divisor
    int left = 0;     // number − product
};

struct DivisionWork
{
    int dividend = 0;
    int divisor = 0;
    int quotient = 0;
    int remainder = 0;
    std::vector<DivisionStep> steps; // from the first quotient digit on
};

ColumnWork WorkColumns(Operation op, int top, int bottom);
MultiplyWork WorkProduct(int top, int bottom);
// For dividend >= 0 and divisor >= 1.
DivisionWork WorkDivision(int dividend, int divisor);

} // namespace sumvarl
