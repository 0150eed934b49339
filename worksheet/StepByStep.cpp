#include "worksheet/StepByStep.h"

#include "core/Chains.h"
#include "core/NumberText.h"

#include <algorithm>

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
    if (problem.operandCount == 4) {
        // 72÷［(5－2)×3］ ＝72÷［3×3］: the 中括号 stays until the step inside it is done.
        const model::Problem rest = AfterFirstStep(problem);
        std::u16string line = ProblemWithoutAnswer(rest);
        std::replace(line.begin(), line.end(), OpenBracket.front(), OpenSquareBracket.front());
        std::replace(line.begin(), line.end(), CloseBracket.front(), CloseSquareBracket.front());
        std::vector<std::u16string> steps{line};
        const std::vector<std::u16string> after = WorkingSteps(rest);
        steps.insert(steps.end(), after.begin(), after.end());
        return steps;
    }
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
