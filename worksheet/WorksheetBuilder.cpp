#include "worksheet/WorksheetBuilder.h"

#include "core/Generator.h"
#include "core/Math.h"
#include "core/NumberText.h"
#include "core/RandomSource.h"
#include "core/Vertical.h"
#include "worksheet/PrintSurface.h"
#include "worksheet/ProblemLine.h"
#include "worksheet/TableRow.h"

#include <algorithm>
#include <array>

namespace sumvarl {

namespace {

using Math::WorksheetTable;

// 48 bits from the source, after the clock is mixed in so that sheets in a row differ.
std::uint64_t SeedFrom(RandomSource& random)
{
    random.Reseed();
    constexpr float Steps = 16777216.0F; // a draw holds 24 bits
    std::uint64_t seed = 0;
    for (int k = 0; k < 2; ++k) {
        seed = (seed << 24U) | static_cast<std::uint64_t>(random.Draw() * Steps);
    }
    return seed;
}

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
    hooks.drawProblem = DrawProblem;
    hooks.random = &SharedRandom();
    return hooks;
}

Sheet SheetOfCommittedSettings(const BuildHooks& hooks)
{
    Sheet sheet;
    if (Math::presetParts.empty()) {
        sheet.recipe.parts.push_back(PartSpecFor(CommittedSettings(), Math::lesson, Math::shape));
        sheet.recipe.parts.back().vertical = Math::vertical;
    } else {
        sheet.recipe.parts = Math::presetParts;
        sheet.recipe.mixed = Math::partsMixed;
    }
    RandomSource& random = hooks.random != nullptr ? *hooks.random : SharedRandom();
    const ProblemDraw draw = hooks.drawProblem ? hooks.drawProblem : DrawProblem;
    if (IsVerticalSheet(sheet.recipe)) {
        // A 竖式 sheet prints its 卷号: it is drawn from a seed of its own, which the code holds,
        // so that the code makes the very sheet again.
        sheet.recipe.seed = SeedFrom(random);
        ClockRandom own(sheet.recipe.seed, [] { return std::uint64_t{0}; });
        SheetProblems drawn = DrawSheetProblems(sheet.recipe, own, draw);
        sheet.problems = std::move(drawn.problems);
        sheet.fellShort = drawn.fellShort;
        sheet.nextSeed = own.State();
        return sheet;
    }
    SheetProblems drawn = DrawSheetProblems(sheet.recipe, random, draw);
    sheet.problems = std::move(drawn.problems);
    sheet.fellShort = drawn.fellShort;
    return sheet;
}

TableFill FillWorksheetTable(const Sheet& sheet)
{
    ResetRows();
    auto& t = WorksheetTable;
    TableFill fill;
    for (const model::Problem& problem : sheet.problems) {
        if (fill.rows == Math::MaxProblemCount) {
            break;
        }
        const auto row = static_cast<std::size_t>(++fill.rows);
        TableRow texts = RowOf(problem);
        t.ProblemKey[row] = TextsOf(problem).key;
        t.Operand1Text[row] = std::move(texts.operand1);
        t.OperatorText[row] = std::move(texts.op);
        t.Operand2Text[row] = std::move(texts.operand2);
        t.ResultText[row] = std::move(texts.result);
        t.BlankKind[row] = texts.blankKind;
    }
    fill.gaveUp = sheet.fellShort;
    return fill;
}

TableFill FillWorksheetTable(const BuildHooks& hooks)
{
    return FillWorksheetTable(SheetOfCommittedSettings(hooks));
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

Sheet BuildWorksheet(PrintSurface& surface, const BuildHooks& hooks)
{
    Sheet sheet = SheetOfCommittedSettings(hooks);
    const TableFill fill = FillWorksheetTable(sheet);
    DrawWorksheet(surface, fill, [&] {
        if (fill.gaveUp && hooks.messageBox) {
            hooks.messageBox(TooFewProblemsPrompt, TooFewProblemsTitle);
        }
    });
    if (hooks.timerOff) {
        hooks.timerOff();
    }
    return sheet;
}

} // namespace sumvarl
