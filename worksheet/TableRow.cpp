#include "worksheet/TableRow.h"

#include "core/Math.h"
#include "core/NumberText.h"
#include "core/Sheet.h"

namespace sumvarl {

TableRow RowAt(int i)
{
    const auto& t = Math::WorksheetTable;
    const auto r = static_cast<std::size_t>(i);
    return {t.Operand1Text[r], t.OperatorText[r], t.Operand2Text[r], t.ResultText[r],
            t.BlankKind[r]};
}

namespace {

// A chain's texts as TextsOf writes them, its open number marked.
TableRow ChainRow(const model::Problem& p)
{
    const auto number = [&](std::size_t k) {
        std::u16string text = DecimalText(p.operands.at(k));
        if (static_cast<std::size_t>(p.open) == k + 1) {
            text.insert(text.begin(), OpenStart);
            text.push_back(OpenEnd);
        }
        return text;
    };
    const auto pair = [&](std::size_t first, bool bracketed) {
        std::u16string text = bracketed ? std::u16string(OpenBracket) : std::u16string();
        text.append(number(first))
            .append(OperatorText(p.operators.at(first)))
            .append(number(first + 1));
        if (bracketed) {
            text.append(CloseBracket);
        }
        return text;
    };
    TableRow row;
    if (p.brackets == Brackets::LastTwo) {
        row = {number(0), std::u16string(OperatorText(p.operators[0])), pair(1, true), {}, 0};
    } else {
        row = {pair(0, p.brackets == Brackets::FirstTwo),
               std::u16string(OperatorText(p.operators[1])),
               number(2),
               {},
               0};
    }
    row.result = TextsOf(p).result;
    row.blankKind = p.open == OpenPlace::Result ? 0 : ChainBlankKind;
    return row;
}

} // namespace

std::u16string WithOpenAs(std::u16string_view text, std::u16string_view filler)
{
    const std::size_t start = text.find(OpenStart);
    const std::size_t end = text.find(OpenEnd);
    if (start == std::u16string_view::npos || end == std::u16string_view::npos || end < start) {
        return std::u16string(text);
    }
    std::u16string out(text.substr(0, start));
    out.append(filler).append(text.substr(end + 1));
    return out;
}

std::u16string OpenNumberIn(std::u16string_view text)
{
    const std::size_t start = text.find(OpenStart);
    const std::size_t end = text.find(OpenEnd);
    if (start == std::u16string_view::npos || end == std::u16string_view::npos || end < start) {
        return {};
    }
    return std::u16string(text.substr(start + 1, end - start - 1));
}

bool IsChainRow(const TableRow& row)
{
    const auto hasSign = [](std::u16string_view text) {
        return text.find_first_not_of(u"-0123456789\uFFF9\uFFFB") != std::u16string_view::npos;
    };
    return hasSign(row.operand1) || hasSign(row.operand2);
}

TableRow RowOf(const model::Problem& problem)
{
    if (problem.operandCount == 3) {
        return ChainRow(problem);
    }
    ProblemTexts texts = TextsOf(problem);
    return {std::move(texts.operand1), std::move(texts.op), std::move(texts.operand2),
            std::move(texts.result), static_cast<std::int16_t>(problem.open)};
}

std::vector<TableRow> RowsOf(const Sheet& sheet)
{
    std::vector<TableRow> rows;
    rows.reserve(sheet.problems.size());
    for (const model::Problem& problem : sheet.problems) {
        rows.push_back(RowOf(problem));
    }
    return rows;
}

} // namespace sumvarl
