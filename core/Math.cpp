#include "core/Math.h"

#include "core/RandomSource.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace Math {

std::int16_t ProblemCount = 0;
std::int16_t NumberRange = 0;
std::int16_t WeightTotal = 0;
std::array<std::int16_t, 5> CumulativeWeight{};
std::int16_t FillBlankOn = 0;
std::int16_t FillBlankPercent = 0;
Lesson lesson;
sumvarl::ProblemShape shape = sumvarl::ProblemShape::OneOperation;
sumvarl::VerticalKind vertical = sumvarl::VerticalKind::None;
sumvarl::VerticalPaper verticalPaper;
std::vector<sumvarl::PartSpec> presetParts;
bool partsMixed = false;

std::u16string CurrentOperand1;
std::u16string CurrentOperator;
std::u16string CurrentOperand2;
std::u16string CurrentResult;
std::u16string CurrentKey;

WorksheetColumns WorksheetTable;

void ResetState()
{
    ProblemCount = 0;
    NumberRange = 0;
    WeightTotal = 0;
    CumulativeWeight = {};
    FillBlankOn = 0;
    FillBlankPercent = 0;
    lesson = Lesson{};
    shape = sumvarl::ProblemShape::OneOperation;
    vertical = sumvarl::VerticalKind::None;
    verticalPaper = sumvarl::VerticalPaper{};
    presetParts.clear();
    partsMixed = false;
    CurrentOperand1.clear();
    CurrentOperator.clear();
    CurrentOperand2.clear();
    CurrentResult.clear();
    CurrentKey.clear();
    WorksheetTable = WorksheetColumns{};
}

int ChooseOperation(std::int16_t r, const std::array<std::int16_t, 5>& cumulativeWeight)
{
    return sumvarl::ChooseOperation(r, cumulativeWeight);
}

namespace {

// The part the classic settings make, with the range the caller asks for.
sumvarl::PartSpec PartInMath(std::int16_t rangeLimit)
{
    sumvarl::PartSpec part;
    part.weightTotal = WeightTotal;
    std::copy_n(CumulativeWeight.begin(), part.cumulativeWeight.size(),
                part.cumulativeWeight.begin());
    part.numberRange = rangeLimit;
    part.lesson = lesson;
    return part;
}

} // namespace

void GenerateProblem(std::int16_t rangeLimit, sumvarl::RandomSource& random)
{
    const std::optional<sumvarl::model::Problem> problem =
        sumvarl::DrawProblem(PartInMath(rangeLimit), random);
    if (!problem) {
        // No operation chosen or nothing fitted: no problem, every text empty.
        CurrentKey.clear();
        CurrentOperand1.clear();
        CurrentOperator.clear();
        CurrentOperand2.clear();
        CurrentResult.clear();
        return;
    }
    sumvarl::ProblemTexts texts = sumvarl::TextsOf(*problem);
    CurrentOperand1 = std::move(texts.operand1);
    CurrentOperator = std::move(texts.op);
    CurrentOperand2 = std::move(texts.operand2);
    CurrentResult = std::move(texts.result);
    CurrentKey = std::move(texts.key);
}

void GenerateProblem(std::int16_t rangeLimit)
{
    GenerateProblem(rangeLimit, sumvarl::SharedRandom());
}

} // namespace Math
