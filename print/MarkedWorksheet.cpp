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

std::vector<MarkedPiece> MarkedItemPieces(const MarkedRound& round, std::size_t i)
{
    const model::Problem& p = round.problems[i];
    const TableRow row = RowOf(p);
    const std::u16string written = i < round.answers.size() ? round.answers[i] : std::u16string();
    const bool right = IsRightAnswer(p, written);
    std::vector<MarkedPiece> pieces{{}};
    const auto add = [&pieces](std::u16string_view text, bool struck = false) {
        if (pieces.back().struck != struck) {
            pieces.push_back({{}, struck});
        }
        pieces.back().text += text;
    };
    const auto answer = [&](bool bracketed) {
        if (written.empty()) {
            add(u"（未答）");
            return;
        }
        add(bracketed ? u"(" : u"");
        add(written, !right);
        add(bracketed ? u")" : u"");
    };
    if (row.blankKind == ChainBlankKind) {
        // A chain's open number stands inside its text, between the marks WithOpenAs finds.
        const std::u16string text = row.operand1 + row.op + row.operand2;
        const std::u16string marked = WithOpenAs(text, u"\x1F");
        const std::size_t at = marked.find(u'\x1F');
        add(std::u16string_view(marked).substr(0, at));
        if (at != std::u16string::npos) {
            answer(true);
            add(std::u16string_view(marked).substr(at + 1));
        }
    } else {
        if (row.blankKind == 1) {
            answer(true);
        } else {
            add(row.operand1);
        }
        add(row.op);
        if (row.blankKind == 2) {
            answer(true);
        } else {
            add(row.operand2);
        }
    }
    // Right-justified in 7 characters as the sheet's items are, but never cut: a cut would drop
    // digits that were marked.
    std::size_t left = 0;
    for (const MarkedPiece& piece : pieces) {
        left += piece.text.size();
    }
    const auto width = static_cast<std::size_t>(JustifyWidth);
    if (left < width) {
        pieces.front().text.insert(0, width - left, u' ');
    }
    add(EqualsSign);
    if (row.blankKind == 0) {
        answer(false);
    } else {
        add(row.result);
    }
    if (right) {
        add(RightMark);
    } else {
        add(WrongMark);
        // Appended rather than u"（" + ...: GCC 12 warns falsely (-Wrestrict) on that form.
        std::u16string shown = u"（";
        shown += RightAnswer(p);
        shown += u"）";
        add(shown);
    }
    return pieces;
}

std::u16string MarkedItemText(const MarkedRound& round, std::size_t i)
{
    std::u16string text;
    for (const MarkedPiece& piece : MarkedItemPieces(round, i)) {
        text += piece.text;
    }
    return text;
}

void PrintMarkedWorksheet(PrintSurface& surface, const MarkedRound& round)
{
    const int count = static_cast<int>(round.problems.size());
    PrintWorksheetHeading(surface, count, {}, FilledInLine(round));
    const int pitch = ColumnPitch(Variant::Printer);
    // An item too long for its place takes the next one too (the row holds fewer items), so
    // that every item keeps the row's size.
    int place = 0;
    for (std::size_t i = 0; i < round.problems.size(); ++i) {
        const double width = surface.MeasureText(MarkedItemText(round, i));
        const auto room = [&surface, pitch](int places) {
            const int column = TabColumn(1, Variant::Printer);
            return surface.ColumnStart(column + places * pitch - 1) - surface.ColumnStart(column);
        };
        int places = 1;
        while (places < ProblemsPerRow && width > room(places)) {
            ++places;
        }
        if (place + places > ProblemsPerRow) {
            RowBreak(surface, Variant::Printer);
            place = 0;
        }
        surface.Print({Tab{TabColumn(place + 1, Variant::Printer)}}, Ending::Open);
        for (const MarkedPiece& piece : MarkedItemPieces(round, i)) {
            surface.SetFontStrikeOut(piece.struck);
            surface.Print({piece.text}, Ending::Open);
        }
        surface.SetFontStrikeOut(false);
        place += places;
        if (place == ProblemsPerRow) {
            RowBreak(surface, Variant::Printer);
            place = 0;
        }
    }
}

} // namespace sumvarl
