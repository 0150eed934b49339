#include "worksheet/StepByStep.h"

#include "core/Chains.h"
#include "core/NumberText.h"

namespace sumvarl {

std::u16string ProblemWithoutAnswer(const model::Problem& problem)
{
    model::Problem shown = problem;
    shown.open = OpenPlace::Result;
    const ProblemTexts texts = TextsOf(shown);
    return texts.operand1 + texts.op + texts.operand2;
}

std::vector<std::u16string> WorkingSteps(const model::Problem& problem)
{
    std::vector<std::u16string> steps;
    if (problem.operandCount == 3) {
        const bool lastFirst =
            LastTwoFirst({problem.operators[0], problem.operators[1], problem.brackets});
        const std::u16string value = DecimalText(FirstStepValue(problem));
        const std::u16string other = DecimalText(problem.operands[lastFirst ? 0 : 2]);
        const Operation op = problem.operators[lastFirst ? 0 : 1];
        steps.push_back(lastFirst ? other + std::u16string(OperatorText(op)) + value
                                  : value + std::u16string(OperatorText(op)) + other);
    }
    steps.push_back(TextsOf(problem).result);
    return steps;
}

} // namespace sumvarl
