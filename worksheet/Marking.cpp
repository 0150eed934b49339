#include "worksheet/Marking.h"

#include "core/NumberText.h"

#include <algorithm>
#include <charconv>

namespace sumvarl {

namespace {

// Answers far outside 16 bits cannot be right and would overflow a product.
constexpr long long Largest = 1'000'000'000;

// a op b, empty for a division that does not come out exactly.
std::optional<long long> Compute(long long a, Operation op, long long b)
{
    switch (op) {
    case Operation::Add:
        return a + b;
    case Operation::Subtract:
        return a - b;
    case Operation::Multiply:
        return a * b;
    case Operation::Divide:
        if (b != 0 && a % b == 0) {
            return a / b;
        }
        return std::nullopt;
    }
    return std::nullopt;
}

bool Binds(Operation op)
{
    return op == Operation::Multiply || op == Operation::Divide;
}

// a op1 b op2 c: the bracketed pair first, else × and ÷ before ＋ and －, else from the left.
std::optional<long long> EvaluateThree(Operation first, Operation second, Brackets brackets,
                                       long long a, long long b, long long c)
{
    const bool lastFirst = brackets == Brackets::LastTwo ||
                           (brackets == Brackets::None && Binds(second) && !Binds(first));
    if (lastFirst) {
        const std::optional<long long> right = Compute(b, second, c);
        return right ? Compute(a, first, *right) : std::nullopt;
    }
    const std::optional<long long> left = Compute(a, first, b);
    return left ? Compute(*left, second, c) : std::nullopt;
}

// The value of a problem with these numbers; with four, the three in the 中括号 first.
std::optional<long long> Evaluate(const model::Problem& p, const std::array<long long, 4>& n)
{
    const auto& op = p.operators;
    if (p.operandCount < 3) {
        return Compute(n[0], op[0], n[1]);
    }
    if (p.operandCount == 3) {
        return EvaluateThree(op[0], op[1], p.brackets, n[0], n[1], n[2]);
    }
    if (p.brackets == Brackets::FirstThreeLastTwo) {
        const std::optional<long long> inside =
            EvaluateThree(op[0], op[1], Brackets::LastTwo, n[0], n[1], n[2]);
        return inside ? Compute(*inside, op[2], n[3]) : std::nullopt;
    }
    const Brackets pair =
        p.brackets == Brackets::LastThreeFirstTwo ? Brackets::FirstTwo : Brackets::LastTwo;
    const std::optional<long long> inside = EvaluateThree(op[1], op[2], pair, n[1], n[2], n[3]);
    return inside ? Compute(n[0], op[0], *inside) : std::nullopt;
}

// The generator draws the factors of a product from 0..9 and a divisor from 1..9; where the
// equation alone would allow any number (a factor of 0), these are the numbers that count.
bool AllowedAt(const model::Problem& p, long long value)
{
    if (p.operandCount != 2 || p.open == OpenPlace::Result) {
        return true;
    }
    if (p.operators[0] == Operation::Multiply) {
        return value >= 0 && value <= 9;
    }
    if (p.operators[0] == Operation::Divide && p.open == OpenPlace::Operand2) {
        return value >= 1 && value <= 9;
    }
    return true;
}

long long StoredAtOpenPlace(const model::Problem& p)
{
    if (p.open == OpenPlace::Result) {
        return p.result;
    }
    return p.operands[static_cast<std::size_t>(p.open) - 1];
}

bool IsRightNumber(const model::Problem& p, std::optional<long long> answer)
{
    if (!answer || *answer > Largest || *answer < -Largest) {
        return false;
    }
    if (*answer == StoredAtOpenPlace(p)) {
        return true;
    }
    std::array<long long, 4> numbers{p.operands[0], p.operands[1], p.operands[2], p.operands[3]};
    long long result = p.result;
    if (p.open == OpenPlace::Result) {
        result = *answer;
    } else {
        numbers[static_cast<std::size_t>(p.open) - 1] = *answer;
    }
    return AllowedAt(p, *answer) && Evaluate(p, numbers) == result;
}

} // namespace

std::u16string RightAnswer(const model::Problem& problem)
{
    if (problem.open == OpenPlace::Result) {
        return TextsOf(problem).result;
    }
    return DecimalText(StoredAtOpenPlace(problem));
}

bool NegativeAnswersPossible(const std::vector<model::Problem>& problems)
{
    return std::any_of(problems.begin(), problems.end(), [](const model::Problem& p) {
        const int count = std::clamp<int>(p.operandCount, 0, static_cast<int>(p.operands.size()));
        return p.result < 0 || std::any_of(p.operands.begin(), p.operands.begin() + count,
                                           [](std::int16_t n) { return n < 0; });
    });
}

std::optional<long long> ReadAnswer(std::u16string_view typed)
{
    std::u16string ascii = FoldFullWidth(typed);
    std::replace(ascii.begin(), ascii.end(), u'\u2212', u'-');
    // A plus sign, blanks or anything but digits are no number a child writes in a box.
    if (ascii.empty() || ascii.size() > 20 ||
        !std::all_of(ascii.begin(), ascii.end(), [](char16_t c) { return c < 0x80; })) {
        return std::nullopt;
    }
    const std::string text(ascii.begin(), ascii.end());
    if (text.front() == '+') {
        return std::nullopt;
    }
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end) {
        return std::nullopt;
    }
    return value;
}

bool HasRemainder(const model::Problem& p)
{
    if (p.operandCount >= 3) {
        return p.open == OpenPlace::Result && p.withRemainder && p.remainder != 0;
    }
    return p.operandCount == 2 && p.open == OpenPlace::Result &&
           p.operators[0] == Operation::Divide && p.operands[1] != 0 &&
           p.operands[0] % p.operands[1] != 0;
}

std::u16string JoinRemainder(std::u16string_view quotient, std::u16string_view remainder)
{
    std::u16string text(quotient);
    if (!remainder.empty()) {
        text.append(RemainderSign).append(remainder);
    }
    return text;
}

bool IsRightAnswer(const model::Problem& problem, std::u16string_view answer)
{
    const std::size_t sign = answer.find(RemainderSign);
    if (sign == std::u16string_view::npos) {
        return !HasRemainder(problem) && IsRightNumber(problem, ReadAnswer(answer));
    }
    const std::optional<long long> quotient = ReadAnswer(answer.substr(0, sign));
    const std::optional<long long> remainder =
        ReadAnswer(answer.substr(sign + RemainderSign.size()));
    if (!HasRemainder(problem)) {
        // "3……0" says the same as "3".
        return remainder == 0 && IsRightNumber(problem, quotient);
    }
    if (problem.operandCount >= 3) {
        return quotient == problem.result && remainder == problem.remainder;
    }
    const long long a = problem.operands[0];
    const long long b = problem.operands[1];
    return quotient == a / b && remainder == a % b;
}

int Score(int right, int problems)
{
    if (problems <= 0) {
        return 0;
    }
    const long long scaled = 100LL * right;
    long long quotient = scaled / problems;
    const long long twice = 2 * (scaled % problems);
    if (twice > problems || (twice == problems && quotient % 2 == 1)) {
        ++quotient;
    }
    return static_cast<int>(quotient);
}

} // namespace sumvarl
