#include "worksheet/WorksheetBuilder.h"

#include "core/Math.h"
#include "core/NumberText.h"
#include "core/RandomSource.h"
#include "worksheet/PrintSurface.h"
#include "worksheet/ProblemLine.h"

#include <algorithm>
#include <array>

namespace sumvarl {

namespace {

using Math::WorksheetTable;

struct Counts
{
    std::array<int, 4> problems{};
    std::array<int, 4> blanks{};
};

void ResetRows()
{
    auto& t = WorksheetTable;
    for (std::size_t i = 1; i <= RowsResetPerBuild; ++i) {
        t.ProblemKey[i].clear();
        t.Operand1Text[i].clear();
        t.OperatorText[i].clear();
        t.Operand2Text[i].clear();
        t.ResultText[i].clear();
        t.BlankKind[i] = 0;
    }
}

void PrintHeader(PrintSurface& s)
{
    s.SetFontName(u"宋体");
    s.SetFontSize(16);
    s.SetCurrentX(3500);
    s.SetFontBold(false);
    s.SetFontUnderline(false);
    s.Print({u"数 学 Sumvarl"}, Ending::Line);
    s.SetFontSize(12);
    s.SetCurrentX(1500);
    const std::u16string count = DecimalText(Math::ProblemCount);
    s.Print({u"题目数：", count, u"题     "}, Ending::Open);
    s.Print({u"日期：__年__月__日  用时：_______  得分：_______"}, Ending::Line);
    s.EndLine();
    s.SetFontSize(12);
}

bool IsOnSheet(std::u16string_view key, int before)
{
    for (int j = 1; j < before; ++j) {
        if (WorksheetTable.ProblemKey[static_cast<std::size_t>(j)] == key) {
            return true;
        }
    }
    return false;
}

// Asks the generator until it offers a problem not yet on the sheet. False when the attempts
// run out. Negative weights can leave a draw outside every band, and the generator then makes
// no problem at all: that counts as a failed attempt rather than a blank item on the sheet.
bool FindNewProblem(int i, const BuildHooks& hooks)
{
    for (int attempt = 1; attempt <= AttemptsPerProblem; ++attempt) {
        hooks.generateProblem(Math::NumberRange);
        if (!Math::CurrentKey.empty() && !IsOnSheet(Math::CurrentKey, i)) {
            return true;
        }
    }
    return false;
}

void Accept(std::size_t i)
{
    auto& t = WorksheetTable;
    t.ProblemKey[i] = Math::CurrentKey;
    t.Operand1Text[i] = Math::CurrentOperand1;
    t.OperatorText[i] = Math::CurrentOperator;
    t.Operand2Text[i] = Math::CurrentOperand2;
    t.ResultText[i] = Math::CurrentResult;
    t.BlankKind[i] = 0;
}

// x is uniform in [1, 101): below P the first operand is left open, below P/2 the second.
std::int16_t BlankKindFor(RandomSource& random)
{
    random.Reseed();
    const auto x = static_cast<float>(static_cast<double>(random.Draw()) * 100 + 1);
    const double percent = Math::FillBlankPercent;
    std::int16_t kind = 0;
    if (x < percent) {
        kind = 1;
    }
    if (x < percent / 2) {
        kind = 2;
    }
    return kind;
}

// A division with a remainder is posed with its result open: a blank divisor need not have one
// answer (3÷( )＝0……3 holds for every divisor above 3).
bool PosedWithResultOnly(std::size_t i)
{
    return Math::lesson.remainder && WorksheetTable.OperatorText[i] == Math::DivideSign;
}

void Count(Counts& counts, std::size_t i)
{
    for (std::size_t op = 0; op < Math::OperatorTexts.size(); ++op) {
        if (WorksheetTable.OperatorText[i] == Math::OperatorTexts[op]) {
            ++counts.problems[op];
            if (WorksheetTable.BlankKind[i] != 0) {
                ++counts.blanks[op];
            }
        }
    }
}

void PrintSummary(PrintSurface& s, const Counts& c)
{
    std::array<std::u16string, 8> n;
    for (std::size_t op = 0; op < 4; ++op) {
        n[2 * op] = DecimalText(c.problems[op]);
        n[2 * op + 1] = DecimalText(c.blanks[op]);
    }
    s.Print({u"其中 加法：", n[0],           u"(", n[1],           u")", u"题   减法：", n[2],
             u"(",           n[3],           u")", u"题   乘法：", n[4], u"(",           n[5],
             u")",           u"题   除法：", n[6], u"(",           n[7], u")",           u"题"},
            Ending::Line);
}

} // namespace

BuildHooks DefaultBuildHooks()
{
    BuildHooks hooks;
    hooks.generateProblem = [](std::int16_t range) { Math::GenerateProblem(range); };
    hooks.random = &SharedRandom();
    return hooks;
}

TableFill FillWorksheetTable(const BuildHooks& hooks)
{
    ResetRows();
    TableFill fill;
    // Start refuses more than the table holds; the clamp only keeps a stray value in bounds.
    const int problemCount = std::min<int>(Math::ProblemCount, Math::MaxProblemCount);
    for (int i = 1; i <= problemCount; ++i) {
        if (!FindNewProblem(i, hooks)) {
            fill.gaveUp = true;
            break;
        }
        const auto row = static_cast<std::size_t>(i);
        Accept(row);
        if (Math::FillBlankOn == 1 && hooks.random != nullptr) {
            // The draw is made all the same, so the other problems' forms do not shift.
            const std::int16_t kind = BlankKindFor(*hooks.random);
            WorksheetTable.BlankKind[row] = PosedWithResultOnly(row) ? std::int16_t{0} : kind;
        }
        fill.rows = i;
    }
    return fill;
}

void DrawWorksheet(PrintSurface& surface, const TableFill& fill,
                   const std::function<void()>& beforeSummary)
{
    surface.Cls();
    PrintHeader(surface);
    Counts counts;
    for (int i = 1; i <= fill.rows; ++i) {
        PrintProblemLine(surface, i, Variant::Screen);
        Count(counts, static_cast<std::size_t>(i));
    }
    if (beforeSummary) {
        beforeSummary();
    }
    surface.EndLine();
    PrintSummary(surface, counts);
}

void BuildWorksheet(PrintSurface& surface, const BuildHooks& hooks)
{
    const TableFill fill = FillWorksheetTable(hooks);
    DrawWorksheet(surface, fill, [&] {
        if (fill.gaveUp && hooks.messageBox) {
            hooks.messageBox(TooFewProblemsPrompt, TooFewProblemsTitle);
        }
    });
    if (hooks.timerOff) {
        hooks.timerOff();
    }
}

} // namespace sumvarl
