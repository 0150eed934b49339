#include "worksheet/TableRow.h"

#include "core/Math.h"
#include "core/Sheet.h"

namespace sumvarl {

TableRow RowAt(int i)
{
    const auto& t = Math::WorksheetTable;
    const auto r = static_cast<std::size_t>(i);
    return {t.Operand1Text[r], t.OperatorText[r], t.Operand2Text[r], t.ResultText[r],
            t.BlankKind[r]};
}

TableRow RowOf(const model::Problem& problem)
{
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
