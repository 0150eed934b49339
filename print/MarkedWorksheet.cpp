#include "print/MarkedWorksheet.h"

#include "core/NumberText.h"
#include "worksheet/PrintSurface.h"
#include "worksheet/ProblemLine.h"

namespace sumvarl {

int MarkedRound::Right() const
{
    int right = 0;
    for (std::size_t i = 0; i < problems.size() && i < answers.size(); ++i) {
        if (IsRightAnswer(problems[i], answers[i])) {
            ++right;
        }
    }
    return right;
}

std::u16string ElapsedText(int seconds)
{
    const int minutes = seconds / 60;
    const int rest = seconds % 60;
    std::u16string text = minutes < 10 ? u"0" : u"";
    text += DecimalText(minutes);
    text += rest < 10 ? u":0" : u":";
    text += DecimalText(rest);
    return text;
}

std::u16string FilledInLine(const MarkedRound& round)
{
    std::u16string line = u"日期：";
    line += DecimalText(round.date.year()) + u"年" + DecimalText(round.date.month()) + u"月" +
            DecimalText(round.date.day()) + u"日  用时：";
    line += ElapsedText(round.seconds) + u"  得分：" + DecimalText(round.Score());
    return line;
}

std::u16string MarkedItemText(const MarkedRound& round, std::size_t i)
{
    const model::Problem& p = round.problems[i];
    const TableRow row = RowOf(p);
    const std::u16string written = i < round.answers.size() ? round.answers[i] : std::u16string();
    const auto operand = [&](const std::u16string& given, int kind) {
        if (row.blankKind != kind) {
            return given;
        }
        // The printed sheet's "(  )" stays as it is where nothing was written.
        return written.empty() ? std::u16string(BlankMarker(Variant::Printer))
                               : u"(" + written + u")";
    };
    // Right-justified in 7 characters as the sheet's items are, but never cut: a cut would drop
    // digits that were marked.
    std::u16string text = operand(row.operand1, 1) + row.op + operand(row.operand2, 2);
    if (row.blankKind == ChainBlankKind) {
        text = WithOpenAs(text, operand({}, ChainBlankKind));
    }
    const auto width = static_cast<std::size_t>(JustifyWidth);
    if (text.size() < width) {
        text.insert(0, width - text.size(), u' ');
    }
    text += EqualsSign;
    text += row.blankKind == 0 ? written : row.result;
    if (IsRightAnswer(p, written)) {
        text += RightMark;
    } else {
        text += WrongMark;
        text += RightAnswer(p);
    }
    return text;
}

void PrintMarkedWorksheet(PrintSurface& surface, const MarkedRound& round)
{
    const int count = static_cast<int>(round.problems.size());
    PrintWorksheetHeading(surface, count, {}, FilledInLine(round));
    for (int i = 1; i <= count; ++i) {
        const int column = TabColumn(i, Variant::Printer);
        surface.Print({Tab{column}}, Ending::Open);
        PrintWithinPlace(surface, MarkedItemText(round, static_cast<std::size_t>(i - 1)), column,
                         Variant::Printer);
        if (i % ProblemsPerRow == 0) {
            RowBreak(surface, Variant::Printer);
        }
    }
}

} // namespace sumvarl
