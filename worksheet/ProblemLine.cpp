#include "worksheet/ProblemLine.h"

#include "core/Problem.h"
#include "worksheet/PrintSurface.h"

#include <algorithm>
#include <cmath>

namespace sumvarl {

std::u16string_view BlankMarker(Variant variant)
{
    return variant == Variant::Screen ? u"( )" : u"(  )";
}

int ColumnPitch(Variant variant)
{
    return variant == Variant::Screen ? 24 : 17;
}

int TabColumn(int i, Variant variant)
{
    const int place = (i - 1) % ProblemsPerRow;
    return place * ColumnPitch(variant) + (variant == Variant::Screen ? 0 : 4);
}

namespace {

std::u16string PaddedTo(std::u16string text, int width)
{
    const auto w = static_cast<std::size_t>(width);
    if (text.size() < w) {
        text.insert(0, w - text.size(), u' ');
    }
    return text;
}

} // namespace

std::u16string LeftPart(const TableRow& row, Variant variant)
{
    const std::u16string_view marker = BlankMarker(variant);
    if (IsChainRow(row)) {
        return PaddedTo(WithOpenAs(row.operand1 + row.op + row.operand2, marker),
                        ChainJustifyWidth);
    }
    std::u16string joined(JustifyWidth, u' ');
    joined.append(row.blankKind == 1 ? marker : std::u16string_view(row.operand1));
    joined.append(row.op);
    joined.append(row.blankKind == 2 ? marker : std::u16string_view(row.operand2));
    return joined.substr(joined.size() - JustifyWidth);
}

std::u16string ItemText(const TableRow& row, Variant variant)
{
    std::u16string text = LeftPart(row, variant);
    text.append(EqualsSign);
    if (row.blankKind != 0) {
        text.append(row.result);
    }
    return text;
}

std::u16string AnswerLeftPart(const TableRow& row)
{
    const auto filled = [](std::u16string_view operand) {
        std::u16string text(u"(");
        text.append(operand);
        text.append(u")");
        return text;
    };
    std::u16string joined = row.blankKind == 1 ? filled(row.operand1) : row.operand1;
    joined.append(row.op);
    joined.append(row.blankKind == 2 ? filled(row.operand2) : row.operand2);
    if (IsChainRow(row)) {
        return PaddedTo(WithOpenAs(joined, filled(OpenNumberIn(joined))), ChainJustifyWidth);
    }
    return PaddedTo(std::move(joined), JustifyWidth);
}

std::u16string AnswerItemText(const TableRow& row, Variant /*variant*/)
{
    std::u16string text = AnswerLeftPart(row);
    text.append(EqualsSign);
    text.append(row.result);
    return text;
}

void RowBreak(PrintSurface& surface, Variant variant)
{
    if (variant == Variant::Screen) {
        surface.EndLine();
        return;
    }
    // On paper the rows are set further apart: two 12-point line ends between 16-point rows.
    surface.SetFontSize(12);
    surface.EndLine();
    surface.EndLine();
    surface.SetFontSize(16);
}

// A Tab to a column left of the print position starts a new line, so a key item that ran past
// the next problem's column would push the rest of its row down a line. Such an item is set in
// the largest smaller size (in tenths of a point) that ends it a column before the next problem;
// cutting it instead would drop digits of an answer. The size the row was in comes back after.
void PrintWithinPlace(PrintSurface& surface, std::u16string_view text, int column, Variant variant)
{
    const double room = surface.ColumnStart(column + ColumnPitch(variant) - 1) - surface.CurrentX();
    double width = surface.MeasureText(text);
    if (width <= room) {
        surface.Print({text}, Ending::Open);
        return;
    }
    const double rowSize = surface.Font().size;
    double size = rowSize;
    // Widths follow the size closely; a second or third step takes up what hinting rounds away.
    for (int step = 0; step < 3 && width > room; ++step) {
        size = std::max(std::floor(size * room / width * 10) / 10, 1.0);
        surface.SetFontSize(size);
        width = surface.MeasureText(text);
    }
    surface.Print({text}, Ending::Open);
    surface.SetFontSize(rowSize);
}

void PrintProblemLine(PrintSurface& surface, int i, Variant variant, bool answers)
{
    PrintProblemLine(surface, i, RowAt(i), variant, answers);
}

void PrintProblemLine(PrintSurface& surface, int i, const TableRow& row, Variant variant,
                      bool answers)
{
    const int column = TabColumn(i, variant);
    // A chain is twice as long as a one-operation problem: it is set five sixths the size, its
    // columns with it, so that four still fit a row, and kept within its place like a key item.
    const bool chain = IsChainRow(row);
    const double rowSize = surface.Font().size;
    if (chain) {
        surface.SetFontSize(std::floor(rowSize * 5 / 6 * 10) / 10);
    }
    if (answers || chain) {
        surface.Print({Tab{column}}, Ending::Open);
        PrintWithinPlace(surface, answers ? AnswerItemText(row, variant) : ItemText(row, variant),
                         column, variant);
    } else {
        surface.Print({Tab{column}, ItemText(row, variant)}, Ending::Open);
    }
    if (chain) {
        surface.SetFontSize(rowSize);
    }
    if (i % ProblemsPerRow == 0) {
        RowBreak(surface, variant);
    }
}

} // namespace sumvarl
