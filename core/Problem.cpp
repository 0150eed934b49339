#include "core/Problem.h"

#include "core/NumberText.h"

namespace sumvarl {

namespace {

std::u16string Operand(const model::Problem& p, std::size_t k)
{
    return DecimalText(p.operands.at(k));
}

std::u16string Pair(const model::Problem& p, std::size_t first, bool bracketed)
{
    std::u16string text;
    if (bracketed) {
        text.append(OpenBracket);
    }
    text.append(Operand(p, first))
        .append(OperatorText(p.operators.at(first)))
        .append(Operand(p, first + 1));
    if (bracketed) {
        text.append(CloseBracket);
    }
    return text;
}

std::u16string Square(const std::u16string& inside)
{
    return std::u16string(OpenSquareBracket).append(inside).append(CloseSquareBracket);
}

// a÷［（b－c）×d］ as "a", "÷", "［（b－c）×d］"; ［a－（b＋c）］×d as "［a－（b＋c）］", "×", "d".
void SplitFour(const model::Problem& p, ProblemTexts& t)
{
    switch (p.brackets) {
    case Brackets::LastThreeFirstTwo:
    case Brackets::LastThreeLastTwo: {
        const bool firstTwo = p.brackets == Brackets::LastThreeFirstTwo;
        t.operand1 = Operand(p, 0);
        t.op = OperatorText(p.operators[0]);
        t.operand2 = Square(
            firstTwo
                ? Pair(p, 1, true) + std::u16string(OperatorText(p.operators[2])) + Operand(p, 3)
                : Operand(p, 1) + std::u16string(OperatorText(p.operators[1])) + Pair(p, 2, true));
        return;
    }
    default:
        t.operand1 =
            Square(Operand(p, 0) + std::u16string(OperatorText(p.operators[0])) + Pair(p, 1, true));
        t.op = OperatorText(p.operators[2]);
        t.operand2 = Operand(p, 3);
        return;
    }
}

std::u16string ResultText(const model::Problem& p)
{
    std::u16string text = DecimalText(p.result);
    if (p.remainder != 0) {
        text.append(RemainderSign).append(DecimalText(p.remainder));
    }
    return text;
}

} // namespace

std::u16string_view OperatorText(Operation operation)
{
    return OperatorTexts.at(static_cast<std::size_t>(operation));
}

ProblemTexts TextsOf(const model::Problem& p)
{
    ProblemTexts t;
    if (p.operandCount == 4) {
        SplitFour(p, t);
    } else if (p.operandCount == 3 && p.brackets == Brackets::LastTwo) {
        t.operand1 = Operand(p, 0);
        t.op = OperatorText(p.operators[0]);
        t.operand2 = Pair(p, 1, true);
    } else if (p.operandCount == 3) {
        t.operand1 = Pair(p, 0, p.brackets == Brackets::FirstTwo);
        t.op = OperatorText(p.operators[1]);
        t.operand2 = Operand(p, 2);
    } else {
        t.operand1 = Operand(p, 0);
        t.op = OperatorText(p.operators[0]);
        t.operand2 = Operand(p, 1);
    }
    t.result = ResultText(p);
    t.key.reserve(t.operand1.size() + t.op.size() + t.operand2.size() + t.result.size() + 1);
    t.key.append(t.operand1).append(t.op).append(t.operand2).append(EqualsSign).append(t.result);
    return t;
}

} // namespace sumvarl
