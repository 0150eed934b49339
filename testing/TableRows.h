#pragma once

#include "core/Math.h"

#include <string>
#include <string_view>

namespace sumvarl::testing {

// Fills row i of the worksheet table as an accepted problem would, key included.
inline void SetRow(int i, std::u16string_view a, std::u16string_view op, std::u16string_view b,
                   std::u16string_view result, std::int16_t kind)
{
    auto& t = Math::WorksheetTable;
    const auto r = static_cast<std::size_t>(i);
    t.Operand1Text[r] = a;
    t.OperatorText[r] = op;
    t.Operand2Text[r] = b;
    t.ResultText[r] = result;
    t.BlankKind[r] = kind;
    t.ProblemKey[r] =
        std::u16string(a) + std::u16string(op) + std::u16string(b) + u"＝" + std::u16string(result);
}

} // namespace sumvarl::testing
