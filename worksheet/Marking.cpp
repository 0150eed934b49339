#include "worksheet/Marking.h"

#include "core/Math.h"
#include "core/NumberText.h"

#include <algorithm>
#include <charconv>

namespace sumvarl {

namespace {

// Digits of a stored number text ("-12"); empty when the text is not a whole number.
std::optional<long long> ReadStored(std::u16string_view text)
{
    std::string ascii;
    for (const char16_t c : text) {
        if (c > 0x7F) {
            return std::nullopt;
        }
        ascii.push_back(static_cast<char>(c));
    }
    long long value = 0;
    const char* end = ascii.data() + ascii.size();
    const auto [ptr, ec] = std::from_chars(ascii.data(), end, value);
    if (ec != std::errc() || ptr != end || ascii.empty()) {
        return std::nullopt;
    }
    return value;
}

// a op b, empty for a division that does not come out exactly.
std::optional<long long> Compute(long long a, std::u16string_view op, long long b)
{
    if (op == Math::PlusSign) {
        return a + b;
    }
    if (op == Math::MinusSign) {
        return a - b;
    }
    if (op == Math::TimesSign) {
        return a * b;
    }
    if (op == Math::DivideSign && b != 0 && a % b == 0) {
        return a / b;
    }
    return std::nullopt;
}

// The generator draws the factors of a product from 0..9 and a divisor from 1..9; where the
// equation alone would allow any number (a factor of 0), these are the numbers that count.
bool AllowedAt(std::int16_t place, std::u16string_view op, long long value)
{
    if (op == Math::TimesSign && place != 0) {
        return value >= 0 && value <= 9;
    }
    if (op == Math::DivideSign && place == 2) {
        return value >= 1 && value <= 9;
    }
    return true;
}

// Answers far outside 16 bits cannot be right and would overflow a product.
constexpr long long Largest = 1'000'000'000;

} // namespace

std::vector<Problem> TableProblems()
{
    const auto& t = Math::WorksheetTable;
    const int rows = std::clamp<int>(Math::ProblemCount, 0, Math::MaxProblemCount);
    std::vector<Problem> problems;
    for (int i = 1; i <= rows; ++i) {
        const auto r = static_cast<std::size_t>(i);
        if (t.OperatorText[r].empty()) {
            break;
        }
        problems.push_back({t.Operand1Text[r], t.OperatorText[r], t.Operand2Text[r],
                            t.ResultText[r], t.BlankKind[r]});
    }
    return problems;
}

const std::u16string& RightAnswer(const Problem& problem)
{
    switch (problem.blankKind) {
    case 1:
        return problem.operand1;
    case 2:
        return problem.operand2;
    default:
        return problem.result;
    }
}

bool NegativeAnswersPossible(const std::vector<Problem>& problems)
{
    const auto negative = [](const std::u16string& text) {
        const std::optional<long long> value = ReadStored(text);
        return value && *value < 0;
    };
    return std::any_of(problems.begin(), problems.end(), [&](const Problem& p) {
        return negative(p.operand1) || negative(p.operand2) || negative(p.result);
    });
}

std::optional<long long> ReadAnswer(std::u16string_view typed)
{
    std::u16string ascii = FoldFullWidth(typed);
    std::replace(ascii.begin(), ascii.end(), u'\u2212', u'-');
    // A plus sign or blanks are no number a child writes in a box.
    if (ascii.empty() || ascii.front() == u'+') {
        return std::nullopt;
    }
    return ReadStored(ascii);
}

bool HasRemainder(const Problem& problem)
{
    const std::optional<long long> a = ReadStored(problem.operand1);
    const std::optional<long long> b = ReadStored(problem.operand2);
    return problem.blankKind == 0 && problem.op == Math::DivideSign && a && b && *b != 0 &&
           *a % *b != 0;
}

std::u16string JoinRemainder(std::u16string_view quotient, std::u16string_view remainder)
{
    std::u16string text(quotient);
    if (!remainder.empty()) {
        text.append(Math::RemainderSign).append(remainder);
    }
    return text;
}

namespace {

bool IsRightNumber(const Problem& problem, std::optional<long long> answer)
{
    if (!answer || *answer > Largest || *answer < -Largest) {
        return false;
    }
    if (ReadStored(RightAnswer(problem)) == answer) {
        return true;
    }
    std::optional<long long> a = ReadStored(problem.operand1);
    std::optional<long long> b = ReadStored(problem.operand2);
    std::optional<long long> r = ReadStored(problem.result);
    std::optional<long long>& open = problem.blankKind == 1 ? a : problem.blankKind == 2 ? b : r;
    open = answer;
    if (!a || !b || !r || !AllowedAt(problem.blankKind, problem.op, *answer)) {
        return false;
    }
    return Compute(*a, problem.op, *b) == r;
}

} // namespace

bool IsRightAnswer(const Problem& problem, std::u16string_view answer)
{
    const std::size_t sign = answer.find(Math::RemainderSign);
    if (sign == std::u16string_view::npos) {
        return !HasRemainder(problem) && IsRightNumber(problem, ReadAnswer(answer));
    }
    const std::optional<long long> quotient = ReadAnswer(answer.substr(0, sign));
    const std::optional<long long> remainder =
        ReadAnswer(answer.substr(sign + Math::RemainderSign.size()));
    if (!HasRemainder(problem)) {
        // "3……0" says the same as "3".
        return remainder == 0 && IsRightNumber(problem, quotient);
    }
    const long long a = *ReadStored(problem.operand1);
    const long long b = *ReadStored(problem.operand2);
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
