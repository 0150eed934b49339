#pragma once

// 竖式 on paper: each problem written across (46＋38＝), and under it the problem set out in
// columns as the textbooks do, with room to work it by hand; the key writes the whole working
// (carried digits, borrow dots, partial products, each step of a division) and the result.
// Two rows of problems a page, two to four across.

#include "core/Problem.h"
#include "core/VerticalKind.h"
#include "print/PrintResult.h"
#include "print/PrinterModule.h"

#include <array>
#include <string>
#include <vector>

class QPainter;
class QString;
class QPagedPaintDevice;

namespace sumvarl {

struct Sheet;

struct VerticalOptions
{
    bool answerKey = false;
    // The squares are 10, 9 or 8 mm as 4, 6 or 8 problems fit a page; any other count reads as 6.
    VerticalPaper paper;
    std::u16string pupilName;
    std::u16string footer; // at the foot of every page, left; the page number stands right
};

// A problem set out in columns, in squares of one digit each: column 0 left, row 0 at the top.
// The sheet shows the rows up to `posed`; the key shows everything.
struct VerticalGlyph
{
    int column = 0;
    int row = 0;
    char16_t text = u'0';
    bool small = false; // a carried digit, small at the foot of its square
    bool keyOnly = true;
};

struct VerticalRule // a line under a row, from column to column (both inclusive)
{
    int row = 0;
    int from = 0;
    int to = 0;
    bool keyOnly = true;
};

struct VerticalLayout
{
    int columns = 0;
    int rows = 0;
    std::vector<VerticalGlyph> glyphs;
    std::vector<VerticalRule> rules;
    std::vector<std::array<int, 2>> dots; // column, row: a borrow dot over that digit
    // A division: the bracket's stroke left of this column in row 1, its bar over row 1.
    int bracketColumn = -1;
};

VerticalLayout LayOutVertical(const model::Problem& problem);

// Paints the sheet onto pages from the current one on; false when a page could not be begun.
bool PaintVerticalSheet(QPainter& painter, QPagedPaintDevice& pages, const Sheet& sheet,
                        const VerticalOptions& options);

// How many pages PaintVerticalSheet paints.
int VerticalSheetPageCount(const Sheet& sheet, const VerticalOptions& options);

// The same as a document for a printer or a PDF; it holds its own copy of the sheet.
PaintPages VerticalSheetPages(Sheet sheet, VerticalOptions options);

// The sheet as a PDF at path, put in place only once written in full.
SaveOutcome SaveVerticalPdf(const QString& path, const Sheet& sheet,
                            const VerticalOptions& options);

} // namespace sumvarl
