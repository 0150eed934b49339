// Marking a typed answer against a problem the generator made: the input picks the operations,
// the range limit, the lesson, which place is left open, the answer and every random draw.
// Whatever is typed, marking must not crash, the stored answer must be right, an answer that
// leaves the equation false must be wrong, and a score must stay within 0..100.
//
// Input layout (see fuzz/make_seeds.py):
//   byte    bits 0-3 tick the four operations (weight 1 each; none ticked means all four)
//   2 bytes the range limit, little-endian, as a 16-bit signed number
//   2 bytes the lesson (see fuzz::LessonFrom)
//   byte    the open place: 0 the result, 1 the first operand, 2 the second (mod 3)
//   byte    the answer: 0 typed from the input, 1 the stored answer, 2 the right number plus a
//           signed byte that follows, in ASCII, 3 the same in full-width forms
//   byte    typed answers only: its length n (0..31), then n characters, each one byte that
//           picks from Keys, or 0xFF followed by a raw little-endian UTF-16 unit
//   2 x 2   bytes for the score: right answers and problems
//   rest    the random draws, 3 bytes each (as in worksheet_fuzz)

#include "core/Lesson.h"
#include "core/Math.h"
#include "fuzz/FuzzInput.h"
#include "worksheet/Marking.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace {

using fuzz::InputReader;
using fuzz::Require;

// A problem as numbers: kind 1..4 as Math::OperatorTexts, the remainder only for divisions.
struct Posed
{
    int kind = 0;
    long long a = 0;
    long long b = 0;
    long long result = 0;
    long long remainder = 0;
    std::int16_t blank = 0;
};

std::u16string Decimal(long long v)
{
    const std::string ascii = std::to_string(v);
    return {ascii.begin(), ascii.end()};
}

std::u16string Joined(const std::u16string& number, long long remainder, bool withRemainder)
{
    return withRemainder ? number + std::u16string(Math::RemainderSign) + Decimal(remainder)
                         : number;
}

// The one place that knows how Marking takes a problem: typed, with its open place.
sumvarl::model::Problem AsProblem(const Posed& p)
{
    sumvarl::model::Problem problem;
    problem.operands = {static_cast<std::int16_t>(p.a), static_cast<std::int16_t>(p.b), 0};
    problem.operators[0] = static_cast<sumvarl::Operation>(p.kind - 1);
    problem.result = static_cast<std::int16_t>(p.result);
    problem.remainder = static_cast<std::int16_t>(p.remainder);
    problem.withRemainder = p.remainder != 0;
    problem.open = static_cast<sumvarl::OpenPlace>(p.blank);
    return problem;
}

long long ValueOf(std::u16string_view t)
{
    const bool negative = !t.empty() && t[0] == u'-';
    long long v = 0;
    for (std::size_t i = negative ? 1 : 0; i < t.size(); ++i) {
        v = v * 10 + (t[i] - u'0');
    }
    return negative ? -v : v;
}

// The generator's texts as numbers; worksheet_fuzz checks their shape.
std::optional<Posed> Generated(std::int16_t blank)
{
    const int kind = [] {
        for (std::size_t k = 0; k < Math::OperatorTexts.size(); ++k) {
            if (Math::CurrentOperator == Math::OperatorTexts[k]) {
                return static_cast<int>(k) + 1;
            }
        }
        return 0;
    }();
    if (kind == 0) {
        return std::nullopt;
    }
    const std::u16string& result = Math::CurrentResult;
    const std::size_t sign = result.find(Math::RemainderSign);
    Posed p{kind,
            ValueOf(Math::CurrentOperand1),
            ValueOf(Math::CurrentOperand2),
            ValueOf(std::u16string_view(result).substr(0, sign)),
            0,
            blank};
    if (sign != std::u16string::npos) {
        p.remainder =
            ValueOf(std::u16string_view(result).substr(sign + Math::RemainderSign.size()));
    }
    // A remainder division is posed with its result open, as on the sheet.
    if (kind == 4 && Math::lesson.remainder) {
        p.blank = 0;
    }
    return p;
}

long long RightNumber(const Posed& p)
{
    return p.blank == 1 ? p.a : p.blank == 2 ? p.b : p.result;
}

// The right answer as a child would type it, in ASCII or in full-width forms.
std::u16string RightText(const Posed& p, long long offset, bool fullWidth)
{
    std::u16string text =
        Joined(Decimal(RightNumber(p) + offset), p.remainder, p.blank == 0 && p.remainder != 0);
    if (fullWidth) {
        for (char16_t& c : text) {
            c = c == u'-' ? u'\uFF0D' : c >= u'0' && c <= u'9' ? c - u'0' + u'\uFF10' : c;
        }
    }
    return text;
}

// ---- reading an answer ----

// What a reading of a typed answer must give: one optional leading minus of three kinds, then
// ASCII or full-width digits only, within long long.
std::optional<long long> ReferenceRead(std::u16string_view t)
{
    const bool negative = !t.empty() && (t[0] == u'-' || t[0] == u'\uFF0D' || t[0] == u'\u2212');
    t.remove_prefix(negative ? 1 : 0);
    if (t.empty()) {
        return std::nullopt;
    }
    // Accumulated downwards, so that the most negative long long is still read.
    long long v = 0;
    for (const char16_t c : t) {
        const int d = c >= u'0' && c <= u'9'             ? c - u'0'
                      : c >= u'\uFF10' && c <= u'\uFF19' ? c - u'\uFF10'
                                                         : -1;
        if (d < 0 || __builtin_mul_overflow(v, 10, &v) || __builtin_sub_overflow(v, d, &v)) {
            return std::nullopt;
        }
    }
    if (!negative && __builtin_mul_overflow(v, -1, &v)) {
        return std::nullopt;
    }
    return v;
}

std::optional<long long> CheckedRead(std::u16string_view t)
{
    const std::optional<long long> v = sumvarl::ReadAnswer(t);
    Require(v == ReferenceRead(t), "ReadAnswer reads one optional minus and digits, nothing else");
    return v;
}

// ---- the equation ----

// a op b = result, exactly; a product or sum that leaves long long cannot equal a stored number.
bool Holds(int kind, long long a, long long b, long long result, long long remainder)
{
    long long v = 0;
    switch (kind) {
    case 1:
        return remainder == 0 && !__builtin_add_overflow(a, b, &v) && v == result;
    case 2:
        return remainder == 0 && !__builtin_sub_overflow(a, b, &v) && v == result;
    case 3:
        return remainder == 0 && !__builtin_mul_overflow(a, b, &v) && v == result;
    default:
        return 0 <= remainder && remainder < b && !__builtin_mul_overflow(b, result, &v) &&
               !__builtin_add_overflow(v, remainder, &v) && v == a;
    }
}

// Whether the typed answer, put into the open place, makes the equation true. A remainder is
// only for the result of a division; "3……0" stands for "3".
bool MakesEquationTrue(const Posed& p, std::u16string_view answer)
{
    const std::size_t sign = answer.find(Math::RemainderSign);
    const std::optional<long long> number = CheckedRead(answer.substr(0, sign));
    std::optional<long long> remainder = 0;
    if (sign != std::u16string_view::npos) {
        remainder = CheckedRead(answer.substr(sign + Math::RemainderSign.size()));
    }
    if (!number || !remainder || (*remainder != 0 && (p.kind != 4 || p.blank != 0))) {
        return false;
    }
    const long long a = p.blank == 1 ? *number : p.a;
    const long long b = p.blank == 2 ? *number : p.b;
    if (p.blank == 0) {
        return Holds(p.kind, a, b, *number, *remainder);
    }
    // With an operand open the stored result (and remainder) stay as they are.
    return Holds(p.kind, a, b, p.result, p.remainder);
}

// ---- the answer ----

// The keys a child might press in an answer box, and a few more.
constexpr std::u16string_view Keys = u"0123456789-０１２３４５６７８９－−+ .…\u00A0e";

// What the input asks to be typed; read before the draws, made into text once the problem
// exists.
struct AnswerChoice
{
    int how = 0;
    long long offset = 0;
    std::u16string typed;
};

AnswerChoice ChooseAnswer(InputReader& in)
{
    AnswerChoice choice;
    choice.how = in.Byte() & 3;
    if (choice.how == 0) {
        for (int n = in.Byte() & 0x1F; n > 0; --n) {
            const std::uint8_t key = in.Byte();
            choice.typed.push_back(key == 0xFF ? static_cast<char16_t>(in.Word())
                                               : Keys[key % Keys.size()]);
        }
    } else if (choice.how >= 2) {
        const int byte = in.Byte(); // a signed byte
        choice.offset = byte < 0x80 ? byte : byte - 0x100;
    }
    return choice;
}

void CheckMarking(const Posed& p, const AnswerChoice& choice)
{
    const sumvarl::model::Problem problem = AsProblem(p);
    const bool remainderAsked = p.kind == 4 && p.blank == 0 && p.a % p.b != 0;
    Require(sumvarl::HasRemainder(problem) == remainderAsked,
            "a remainder is asked exactly of a result-open division that does not come out");
    Require(p.kind != 4 || (0 <= p.remainder && p.remainder < p.b),
            "a remainder lies from 0 to below its divisor");
    Require(sumvarl::IsRightAnswer(problem, RightText(p, 0, false)), "the stored answer is right");
    Require(sumvarl::IsRightAnswer(problem, RightText(p, 0, true)),
            "the stored answer typed in full-width forms is right");

    const std::u16string answer =
        choice.how == 0 ? choice.typed : RightText(p, choice.offset, choice.how == 3);
    const bool right = sumvarl::IsRightAnswer(problem, answer);
    Require(!right || MakesEquationTrue(p, answer),
            "an answer that leaves the equation false is wrong");
}

void CheckScore(std::uint16_t right, std::uint16_t problems)
{
    Require(sumvarl::Score(right, 0) == 0, "no problems score 0");
    if (problems == 0) {
        return;
    }
    right %= problems + 1;
    const int score = sumvarl::Score(right, problems);
    Require(0 <= score && score <= 100, "a score lies within 0..100");
    const long long off = 100LL * right - static_cast<long long>(score) * problems;
    Require(2 * off <= problems && -2 * off <= problems, "a score is the nearest whole percent");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    InputReader in({data, size});
    const unsigned picked = in.Byte() & 0x0FU;
    const unsigned ticks = picked != 0 ? picked : 0x0FU;
    const auto range = static_cast<std::int16_t>(in.Word());
    const std::uint8_t rules = in.Byte();
    const Math::Lesson lesson = fuzz::LessonFrom(rules, in.Byte());
    const auto blank = static_cast<std::int16_t>(in.Byte() % 3);

    Math::ResetState();
    std::int16_t total = 0;
    for (std::size_t k = 0; k < 4; ++k) {
        total = static_cast<std::int16_t>(total + (ticks >> k & 1U));
        Math::CumulativeWeight[k] = total;
    }
    Math::WeightTotal = total;
    Math::NumberRange = range;
    Math::lesson = lesson;
    const sumvarl::CountInputs counted{total, Math::CumulativeWeight, range, lesson};
    // Start refuses both: 0 - (-32768) leaves 16 bits, and a refused lesson is never drawn.
    if (range == INT16_MIN || sumvarl::CheckLesson(counted) != sumvarl::LessonRefusal::None) {
        return 0;
    }
    const AnswerChoice choice = ChooseAnswer(in);
    const std::uint16_t right = in.Word();
    const std::uint16_t problems = in.Word();
    CheckScore(right, problems);

    fuzz::InputRandom random(in.Rest(), size);
    Math::GenerateProblem(range, random);
    const std::optional<Posed> posed = Generated(blank);
    if (posed) {
        CheckMarking(*posed, choice);
    } else {
        // No problem (no operation or nothing fitted): reading the answer must still not crash.
        MakesEquationTrue(Posed{1}, choice.typed);
    }
    return 0;
}
