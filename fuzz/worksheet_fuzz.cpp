// From the texts of the settings window to a built worksheet: the input supplies the tick
// boxes, the weight, percentage, range and count texts, and every random draw. Start's own
// reader (ReadSettings) turns the texts into settings and is compared with the steps worked
// out here (read a number, round the running total into 16 bits, refuse what leaves 16 bits or
// asks for more than 200 problems). The input also draws a lesson, which Start refuses where it
// allows no problem; then GenerateProblem runs on its own and inside
// BuildWorksheet, and every problem, every row of the table and the drawn sheet are checked
// against what the settings allow.
//
// Input layout (see fuzz/make_seeds.py):
//   byte    tick boxes, bit k for Check1(k)
//   7 texts weights 0..3, fill-in percentage, problem count, range limit; each is one byte:
//           below 0x80 it picks an entry of the table for that box, otherwise its low 5 bits
//           give the length of a literal text that follows (bytes widened to UTF-16)
//   byte    how many problems to generate on their own before the build (0..63)
//   byte    low bit: build once or twice (a recalculate)
//   2 bytes the lesson: carry and borrow rules and remainders, then the times tables (see
//           fuzz::LessonFrom; two zero bytes are the default lesson)
//   rest    the random draws, 3 bytes each, little-endian, as multiples of 2^-24

#include "core/Generator.h"
#include "core/Lesson.h"
#include "core/Math.h"
#include "core/NumberText.h"
#include "core/RandomSource.h"
#include "core/StartSettings.h"
#include "fuzz/FuzzInput.h"
#include "worksheet/PrintSurface.h"
#include "worksheet/ProblemLine.h"
#include "worksheet/WorksheetBuilder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Math::WorksheetTable;

using fuzz::InputRandom;
using fuzz::InputReader;
using fuzz::Require;

std::u16string Widen(std::string_view text)
{
    return {text.begin(), text.end()};
}

// ---- the input ----

constexpr std::array<std::string_view, 17> WeightTexts{
    "25",  "0",   "",      "2.5", "-3",   "1",   "100", "32767", "-32768",
    "abc", "1 5", "12abc", "-5",  "&HFF", "0.5", "1e4", "40000"};
constexpr std::array<std::string_view, 12> PercentTexts{"0",   "1",  "2",     "20", "50",  "100",
                                                        "101", "-5", "32767", "",   "2.5", "99"};
constexpr std::array<std::string_view, 18> CountTexts{"0",   "1",   "4",  "6",   "10",  "20",
                                                      "46",  "47",  "50", "100", "150", "151",
                                                      "199", "200", "-3", "2.5", "3.5", "201"};
constexpr std::array<std::string_view, 17> RangeTexts{
    "-32768", "0",   "1", "32767", "2",      "10",     "20",     "50",   "100",
    "-1",     "-10", "3", "32766", "-32767", "&H7FFF", "&H8000", "&O777"};

// The builder's own random source: the same draws, but the fill-in-the-blank draws are kept
// apart so that each accepted row can be matched with its draw.
class BlankTap final : public sumvarl::RandomSource
{
public:
    explicit BlankTap(InputRandom& inner) : inner_(inner) {}

    void Reseed() override
    {
        ++pendingReseeds_;
        inner_.Reseed();
    }

    float Draw() override
    {
        Require(pendingReseeds_ == 1, "the blank draw follows exactly one re-seed");
        pendingReseeds_ = 0;
        const float u = inner_.Draw();
        draws.push_back(u);
        return u;
    }

    std::vector<float> draws;

private:
    InputRandom& inner_;
    int pendingReseeds_ = 0;
};

// ---- Start ----

struct ExpectedSettings
{
    std::array<std::int16_t, 4> cumulative{};
    std::int16_t total = 0;
    std::int16_t fillOn = 0;
    std::int16_t fillPercent = 0;
    std::int16_t count = 0;
    std::int16_t range = 0;
};

// The conversions of Start, step by step; empty where Start refuses.
std::optional<ExpectedSettings> Start(unsigned ticks, const std::array<std::u16string, 4>& weights,
                                      const std::u16string& percent, const std::u16string& count,
                                      const std::u16string& range)
{
    ExpectedSettings s;
    for (std::size_t k = 0; k < 4; ++k) {
        const double w = (ticks >> k & 1U) != 0 ? sumvarl::ReadNumber(weights[k]) : 0.0;
        const auto total = sumvarl::ToInt16(s.total + w); // rounded after each addition
        if (!total) {
            return std::nullopt;
        }
        s.total = *total;
        s.cumulative[k] = s.total;
    }
    if ((ticks >> 4 & 1U) != 0) {
        const auto p = sumvarl::ToInt16(sumvarl::ReadNumber(percent));
        if (!p) {
            return std::nullopt;
        }
        s.fillOn = 1;
        s.fillPercent = *p;
    }
    const auto c = sumvarl::ToInt16(sumvarl::ReadNumber(count));
    const auto r = sumvarl::ToInt16(sumvarl::ReadNumber(range));
    // A range of -32768 would let 0 - (-32768) leave 16 bits; Start refuses it.
    if (!c || *c > Math::MaxProblemCount || !r || *r == INT16_MIN) {
        return std::nullopt;
    }
    s.count = *c;
    s.range = *r;
    return s;
}

// Start's reader must agree with the steps above, and what it commits must reach Math.
bool ReadAndCommit(unsigned ticks, const std::array<std::u16string, 4>& weights,
                   const std::u16string& percent, const std::u16string& count,
                   const std::u16string& range)
{
    sumvarl::StartInputs inputs;
    for (std::size_t k = 0; k < 5; ++k) {
        inputs.ticked[k] = (ticks >> k & 1U) != 0;
    }
    std::copy(weights.begin(), weights.end(), inputs.boxes.begin());
    inputs.boxes[4] = percent;
    inputs.problemCount = count;
    inputs.numberRange = range;
    const sumvarl::StartOutcome outcome = sumvarl::ReadSettings(inputs);
    const std::optional<ExpectedSettings> expected = Start(ticks, weights, percent, count, range);

    Require(outcome.settings.has_value() == expected.has_value(),
            "Start refuses exactly when a value leaves 16 bits, the range is -32768 or over 200 "
            "problems are asked for");
    if (!expected) {
        Require(outcome.refusal.has_value(), "a refusal says why");
        return false;
    }
    Require(!outcome.refusal.has_value(), "an accepted start has no refusal");
    const sumvarl::Settings& got = *outcome.settings;
    Require(got.WeightTotal == expected->total && got.CumulativeWeight == expected->cumulative &&
                got.FillBlankOn == expected->fillOn &&
                got.FillBlankPercent == expected->fillPercent &&
                got.ProblemCount == expected->count && got.NumberRange == expected->range,
            "Start's settings follow from the texts");

    sumvarl::CommitSettings(got);
    Require(Math::WeightTotal == expected->total && Math::FillBlankOn == expected->fillOn &&
                Math::FillBlankPercent == expected->fillPercent &&
                Math::ProblemCount == expected->count && Math::NumberRange == expected->range,
            "the settings reach Math");
    for (std::size_t k = 0; k < 4; ++k) {
        Require(Math::CumulativeWeight[k] == expected->cumulative[k], "the settings reach Math");
    }
    return true;
}

// ---- one problem ----

bool IsDecimal(std::u16string_view t)
{
    std::size_t i = (!t.empty() && t[0] == u'-') ? 1 : 0;
    if (i == t.size()) {
        return false;
    }
    if (t[i] == u'0') {
        return i + 1 == t.size() && i == 0; // "0", never "-0" or "007"
    }
    return std::all_of(t.begin() + static_cast<std::ptrdiff_t>(i), t.end(),
                       [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

long long ValueOf(std::u16string_view t)
{
    long long v = 0;
    const bool negative = t[0] == u'-';
    for (std::size_t i = negative ? 1 : 0; i < t.size(); ++i) {
        v = v * 10 + (t[i] - u'0');
    }
    return negative ? -v : v;
}

bool OnlyProblemCharacters(std::u16string_view t)
{
    constexpr std::u16string_view Allowed = u"0123456789-\uFF0B\uFF0D\u00D7\u00F7\uFF1D\u2026";
    return std::all_of(t.begin(), t.end(),
                       [&](char16_t c) { return Allowed.find(c) != std::u16string_view::npos; });
}

int KindOf(std::u16string_view op)
{
    for (std::size_t k = 0; k < Math::OperatorTexts.size(); ++k) {
        if (op == Math::OperatorTexts[k]) {
            return static_cast<int>(k) + 1;
        }
    }
    return 0;
}

std::u16string KeyOf(std::u16string_view a, std::u16string_view op, std::u16string_view b,
                     std::u16string_view result)
{
    std::u16string key(a);
    key.append(op).append(b).append(Math::EqualsSign).append(result);
    return key;
}

// ---- the lesson ----

long long DigitSum(long long v)
{
    long long sum = 0;
    for (; v > 0; v /= 10) {
        sum += v % 10;
    }
    return sum;
}

// Each carry takes 10 from one column and puts 1 into the next, so a sum's digit sum falls 9
// short of its addends' per carry: a test of carrying that shares nothing with the library's.
bool CarriesByDigitSum(long long a, long long b)
{
    return DigitSum(a) + DigitSum(b) != DigitSum(a + b);
}

// x - y borrows exactly when y + (x - y) carries.
bool BorrowsByDigitSum(long long x, long long y)
{
    return CarriesByDigitSum(y, x - y);
}

bool Follows(Math::CarryRule rule, bool happens)
{
    return rule == Math::CarryRule::Any || (rule == Math::CarryRule::Always) == happens;
}

bool InTables(long long factor)
{
    return Math::lesson.tableFrom <= factor && factor <= Math::lesson.tableTo;
}

// Whether x op y fits the lesson in Math, worked out here; core/Lesson.h must agree.
bool FitsLesson(int kind, long long x, long long y)
{
    const Math::Lesson& lesson = Math::lesson;
    const auto i = [](long long v) { return static_cast<int>(v); }; // operands are 16-bit
    bool fits = true;
    switch (kind) {
    case 1:
        if (x >= 0 && y >= 0) {
            Require(sumvarl::Carries(i(x), i(y)) == CarriesByDigitSum(x, y),
                    "Carries finds a carry exactly when the digit sum falls short");
        }
        fits = lesson.carry == Math::CarryRule::Any ||
               (x >= 0 && y >= 0 && Follows(lesson.carry, CarriesByDigitSum(x, y)));
        Require(sumvarl::AdditionFits(lesson, i(x), i(y)) == fits, "AdditionFits keeps the rule");
        break;
    case 2:
        if (x >= y && y >= 0) {
            Require(sumvarl::Borrows(i(x), i(y)) == BorrowsByDigitSum(x, y),
                    "Borrows finds a borrow exactly when the difference's addition carries");
        }
        fits = lesson.borrow == Math::CarryRule::Any ||
               (x >= y && y >= 0 && Follows(lesson.borrow, BorrowsByDigitSum(x, y)));
        Require(sumvarl::SubtractionFits(lesson, i(x), i(y)) == fits,
                "SubtractionFits keeps the rule");
        break;
    case 3:
        fits = InTables(x) || InTables(y);
        Require(sumvarl::MultiplicationFits(lesson, i(x), i(y)) == fits,
                "MultiplicationFits wants one factor within the tables");
        break;
    default:
        fits = y >= 1 && InTables(y);
        Require(sumvarl::DivisorFits(lesson, i(y)) == fits,
                "DivisorFits wants a divisor within the tables");
        break;
    }
    return fits;
}

// What any problem must look like under the given range limit and the lesson in Math, whoever
// made it.
void CheckShape(std::u16string_view a, std::u16string_view op, std::u16string_view b,
                std::u16string_view result, std::u16string_view key, std::int16_t n)
{
    for (const std::u16string_view t : {a, op, b, result, key}) {
        Require(OnlyProblemCharacters(t), "texts hold only digits, '-', '……' and the five signs");
    }
    const int kind = KindOf(op);
    if (kind == 0) {
        Require(op.empty() && a.empty() && b.empty() && result.empty() && key.empty(),
                "without an operation every text is empty");
        return;
    }
    const std::size_t sign = result.find(Math::RemainderSign);
    const bool hasRest = sign != std::u16string_view::npos;
    const std::u16string_view answer = result.substr(0, sign);
    const std::u16string_view rest =
        hasRest ? result.substr(sign + Math::RemainderSign.size()) : std::u16string_view{};
    Require(IsDecimal(a) && IsDecimal(b) && IsDecimal(answer) && (!hasRest || IsDecimal(rest)),
            "operands are plain decimals");
    Require(!hasRest || (kind == 4 && Math::lesson.remainder),
            "only a division of a remainder lesson has a remainder");
    Require(key == KeyOf(a, op, b, result), "the key joins the four texts and the equals sign");
    if (n > 0) {
        Require(key.find(u'-') == std::u16string_view::npos,
                "a positive range limit gives no negative number");
    }
    const long long x = ValueOf(a);
    const long long y = ValueOf(b);
    const long long z = ValueOf(answer);
    Require(FitsLesson(kind, x, y), "every problem fits the lesson");
    switch (kind) {
    case 1:
        Require(x + y == z, "additions add up");
        if (n > 0) {
            Require(z < n && (z == 0 || y >= 1), "addition stays below the range limit");
        } else {
            Require(n <= z && z <= 0 && n <= x && x <= 0 && z <= y && y <= 0,
                    "a negative range limit gives additions between it and 0");
        }
        break;
    case 2:
        Require(x >= y, "the first operand of a subtraction is the larger");
        Require(x - y == z, "subtractions come out right");
        Require(n > 0 ? (y >= 0 && x < n) : (n <= y && x <= 0),
                "subtraction operands lie between 0 and the range limit");
        break;
    case 3:
        Require(x * y == z && 0 <= x && x <= 9 && 0 <= y && y <= 9,
                "multiplications come from the single-digit table");
        break;
    default: {
        const long long r = hasRest ? ValueOf(rest) : 0;
        Require(0 <= r && r < y, "a remainder lies from 0 to below the divisor");
        Require(!hasRest || r != 0, "a remainder of 0 is not written");
        Require(y >= 1 && y <= 9 && 0 <= z && z <= 9 && x == y * z + r,
                "divisions come out with divisors 1..9, quotients 0..9 and the remainder");
        break;
    }
    }
}

// The problem the draws must give, worked out from the formulas directly.
struct Expected
{
    long long a = 0;
    long long b = 0;
    long long result = 0;
    long long remainder = 0;
};

int KindFromDraw(float band)
{
    const auto r = static_cast<long long>(std::nearbyint(Math::WeightTotal * double{band}));
    const auto& cw = Math::CumulativeWeight;
    int kind = r <= cw[0] ? 1 : 0;
    for (std::size_t k = 1; k < 4; ++k) {
        if (cw[k - 1] < r && r <= cw[k]) {
            kind = static_cast<int>(k) + 1;
        }
    }
    // An unweighted addition is not chosen by r = 0: the first weighted operation is.
    if (kind == 1 && r == 0 && cw[0] == 0) {
        for (std::size_t k = 1; k < 4; ++k) {
            if (cw[k] > cw[k - 1]) {
                return static_cast<int>(k) + 1;
            }
        }
    }
    return kind;
}

Expected FromDraws(int kind, double u1, double u2, std::int16_t n)
{
    Expected e;
    const auto floorOf = [](double v) { return static_cast<long long>(std::floor(v)); };
    switch (kind) {
    case 1:
        e.result = floorOf(n * u1);
        e.a = floorOf(static_cast<double>(e.result) * u2);
        e.b = e.result - e.a;
        break;
    case 2:
        e.a = floorOf(n * u1);
        e.b = floorOf(n * u2);
        if (e.a < e.b) {
            std::swap(e.a, e.b);
        }
        e.result = e.a - e.b <= INT16_MAX ? e.a - e.b : 0;
        break;
    case 3:
        e.a = floorOf(10 * u1);
        e.b = floorOf(10 * u2);
        e.result = e.a * e.b;
        break;
    default:
        e.result = floorOf(10 * u1);
        e.b = floorOf(9 * u2) + 1;
        e.a = e.result * e.b;
        break;
    }
    return e;
}

std::u16string Decimal(long long v)
{
    return Widen(std::to_string(v));
}

std::u16string ResultText(const Expected& e)
{
    std::u16string text = Decimal(e.result);
    if (e.remainder != 0) {
        text.append(Math::RemainderSign).append(Decimal(e.remainder));
    }
    return text;
}

// One call of the generator with its draws checked against the formulas: operand draws come in
// rounds (a third draw for a remainder), and the first round that fits the lesson is the
// problem; after MaxDrawRounds misfits there is none.
void CheckGenerated(std::int16_t n, const InputRandom& random);

void GenerateChecked(std::int16_t n, InputRandom& random)
{
    random.log.clear();
    Math::GenerateProblem(n, random);
    CheckGenerated(n, random);
}

// The build's own draw of one problem, through the slots the checks read.
std::optional<sumvarl::model::Problem> DrawChecked(const sumvarl::PartSpec& part,
                                                   InputRandom& random)
{
    random.log.clear();
    std::optional<sumvarl::model::Problem> problem = sumvarl::DrawProblem(part, random);
    const sumvarl::ProblemTexts texts =
        problem ? sumvarl::TextsOf(*problem) : sumvarl::ProblemTexts{};
    Math::CurrentOperand1 = texts.operand1;
    Math::CurrentOperator = texts.op;
    Math::CurrentOperand2 = texts.operand2;
    Math::CurrentResult = texts.result;
    Math::CurrentKey = texts.key;
    CheckGenerated(part.numberRange, random);
    return problem;
}

void CheckGenerated(std::int16_t n, const InputRandom& random)
{
    const auto& log = random.log;
    Require(log.size() >= 2 && log[0].reseed && !log[1].reseed, "the band draw follows a re-seed");
    CheckShape(Math::CurrentOperand1, Math::CurrentOperator, Math::CurrentOperand2,
               Math::CurrentResult, Math::CurrentKey, n);

    const int kind = KindFromDraw(log[1].u);
    if (kind == 0) {
        Require(log.size() == 2 && Math::CurrentOperator.empty(),
                "a draw outside every band gives no problem and no operand draws");
        return;
    }
    const auto& cw = Math::CumulativeWeight;
    const bool ordered = cw[0] == 0 && cw[0] <= cw[1] && cw[1] <= cw[2] && cw[2] <= cw[3];
    Require(!ordered || cw[3] == 0 || kind != 1,
            "an unticked addition never comes up while another operation has a weight");
    Require(log.size() >= 3 && log[2].reseed, "the operand draws follow a second re-seed");

    const std::size_t perRound = kind == 4 && Math::lesson.remainder ? 3 : 2;
    Require(std::none_of(log.begin() + 3, log.end(), [](const auto& ev) { return ev.reseed; }),
            "no re-seed between operand draws");
    std::size_t at = 3;
    for (int round = 0; round < Math::MaxDrawRounds && at + perRound <= log.size(); ++round) {
        Expected e = FromDraws(kind, log[at].u, log[at + 1].u, n);
        bool drawn = true;
        if (perRound == 3) {
            e.remainder = static_cast<long long>(std::floor(9 * double{log[at + 2].u}));
            // A remainder too large for the divisor is drawn again, and so are a quotient of 0
            // and, unless exact ones are wanted, a remainder of 0.
            drawn = e.remainder < e.b && e.result >= 1 &&
                    (e.remainder >= 1 || Math::lesson.remainderZero);
            e.a += e.remainder;
        }
        at += perRound;
        if (drawn && FitsLesson(kind, e.a, e.b)) {
            Require(at == log.size(), "the first round that fits ends the drawing");
            Require(KindOf(Math::CurrentOperator) == kind, "the last band that holds decides");
            Require(Math::CurrentOperand1 == Decimal(e.a) &&
                        Math::CurrentOperand2 == Decimal(e.b) &&
                        Math::CurrentResult == ResultText(e),
                    "operands and result follow from the draws");
            return;
        }
    }
    Require(at == log.size() && at == 3 + perRound * Math::MaxDrawRounds,
            "only rounds that do not fit are drawn again, up to the limit");
    Require(Math::CurrentOperator.empty(), "when no round fits there is no problem");
}

// ---- the sheet ----

// Fixed metrics; the drawn texts and where they went are kept.
class RecordingSurface final : public sumvarl::PrintSurface
{
public:
    struct Drawn
    {
        double x;
        double y;
        std::u16string text;
    };

    static constexpr double Column = 120;

    std::vector<Drawn> drawn;
    int clears = 0;

protected:
    double ColumnWidth() const override { return Column; }
    double LineHeight() const override { return 20 * Font().size; }
    double TextWidth(std::u16string_view text) const override
    {
        return Column * static_cast<double>(text.size());
    }
    void DrawText(double x, double y, std::u16string_view text) override
    {
        drawn.push_back({x, y, std::u16string(text)});
    }
    void Clear() override
    {
        ++clears;
        drawn.clear();
    }
};

constexpr std::size_t HeaderItems = 5;
constexpr std::size_t SummaryItems = 21;

bool RowMatches(const Math::WorksheetColumns& before, std::size_t i)
{
    const auto& t = WorksheetTable;
    return before.ProblemKey[i] == t.ProblemKey[i] && before.Operand1Text[i] == t.Operand1Text[i] &&
           before.OperatorText[i] == t.OperatorText[i] &&
           before.Operand2Text[i] == t.Operand2Text[i] && before.ResultText[i] == t.ResultText[i] &&
           before.BlankKind[i] == t.BlankKind[i];
}

bool RowEmpty(std::size_t i)
{
    const auto& t = WorksheetTable;
    return t.ProblemKey[i].empty() && t.Operand1Text[i].empty() && t.OperatorText[i].empty() &&
           t.Operand2Text[i].empty() && t.ResultText[i].empty() && t.BlankKind[i] == 0;
}

std::int16_t ExpectedBlankKind(float u)
{
    const auto x = static_cast<float>(static_cast<double>(u) * 100 + 1);
    const double percent = Math::FillBlankPercent;
    if (x < percent / 2) {
        return 2;
    }
    return x < percent ? 1 : 0;
}

// Without a lesson, an upper bound on the different problems the settings can give (range
// limits of 1 or more) that owes nothing to core/Lesson.cpp.
long long ProblemsWithoutLesson(std::int16_t n)
{
    const auto& cw = Math::CumulativeWeight;
    const long long m = n;
    long long total = 1 + m * (m - 1) / 2; // addition can always come up
    const std::array<long long, 3> others{m * (m + 1) / 2, 100, 90};
    for (std::size_t k = 1; k < 4; ++k) {
        if (cw[k - 1] < cw[k]) {
            total += others[k - 1];
        }
    }
    return total;
}

sumvarl::CountInputs CountInputsInMath()
{
    sumvarl::CountInputs in;
    in.weightTotal = Math::WeightTotal;
    in.cumulativeWeight = Math::CumulativeWeight;
    in.numberRange = Math::NumberRange;
    in.lesson = Math::lesson;
    return in;
}

void BuildChecked(InputRandom& random)
{
    RecordingSurface surface;
    BlankTap tap(random);
    int messages = 0;
    int timerOffs = 0;
    std::set<std::u16string> offered; // every different key the generator has given so far
    int misses = 0;                   // calls since the last new key
    sumvarl::BuildHooks hooks;
    hooks.drawProblem = [&](const sumvarl::PartSpec& part, sumvarl::RandomSource&) {
        Require(timerOffs == 0 && messages == 0, "no problem is sought after the build stopped");
        Require(part.numberRange == Math::NumberRange, "the builder passes NumberRange");
        std::optional<sumvarl::model::Problem> problem = DrawChecked(part, random);
        // No problem at all (a draw outside every band) is never placed.
        const bool isNew = !Math::CurrentKey.empty() && offered.insert(Math::CurrentKey).second;
        misses = isNew ? 0 : misses + 1;
        return problem;
    };
    hooks.random = &tap;
    hooks.messageBox = [&](std::u16string_view prompt, std::u16string_view title) {
        Require(prompt == sumvarl::TooFewProblemsPrompt && title == sumvarl::TooFewProblemsTitle,
                "the message names the problem");
        Require(misses == 1000, "the message comes after 1000 calls without a new problem");
        ++messages;
    };
    hooks.timerOff = [&] { ++timerOffs; };

    const auto before = std::make_unique<Math::WorksheetColumns>(WorksheetTable);
    sumvarl::BuildWorksheet(surface, hooks);

    Require(surface.clears == 1, "the sheet is cleared once");
    Require(timerOffs == 1, "the timer is switched off once, at the end");
    Require(messages <= 1, "at most one message per build");
    const auto& d = surface.drawn;
    Require(d.size() >= HeaderItems + SummaryItems, "header and summary are drawn");
    const std::size_t placed = d.size() - HeaderItems - SummaryItems;
    const std::size_t wanted =
        Math::ProblemCount > 0 ? static_cast<std::size_t>(Math::ProblemCount) : 0;

    Require(d[0].text == u"数 学 Sumvarl" && d[1].text == u"题目数：" &&
                d[2].text == sumvarl::DecimalText(Math::ProblemCount) && d[3].text == u"题     ",
            "the header names the problem count");
    Require(placed <= wanted, "never more problems than asked for");
    Require((placed < wanted) == (messages == 1), "a short sheet comes with the message");
    Require(offered.size() == placed, "every new problem offered is placed");
    Require(static_cast<long long>(placed) <= sumvarl::DifferentProblems(CountInputsInMath()),
            "no more problems than the settings and the lesson allow");
    if (Math::NumberRange >= 1 && Math::lesson == Math::Lesson{}) {
        Require(static_cast<long long>(placed) <= ProblemsWithoutLesson(Math::NumberRange),
                "no more problems than the settings can make");
    }
    const bool fill = Math::FillBlankOn == 1;
    Require(tap.draws.size() == (fill ? placed : 0), "one blank draw per accepted problem");

    const auto& t = WorksheetTable;
    std::set<std::u16string> keys;
    std::array<long long, 4> problems{};
    std::array<long long, 4> blanks{};
    double lastY = -1;
    for (std::size_t i = 1; i <= placed; ++i) {
        CheckShape(t.Operand1Text[i], t.OperatorText[i], t.Operand2Text[i], t.ResultText[i],
                   t.ProblemKey[i], Math::NumberRange);
        Require(keys.insert(t.ProblemKey[i]).second, "keys are unique on a sheet");
        const std::int16_t kind = t.BlankKind[i];
        const bool resultOnly = Math::lesson.remainder && t.OperatorText[i] == Math::DivideSign;
        Require(kind == (fill && !resultOnly ? ExpectedBlankKind(tap.draws[i - 1]) : 0),
                "the blank form follows the blank draw and the percentage; a remainder lesson's "
                "divisions keep their result open");

        const auto& item = d[HeaderItems + i - 1];
        const auto column = static_cast<double>((i - 1) % 4 * 24); // Tab(0), Tab(24), ...
        Require(item.text == sumvarl::ItemText(sumvarl::RowAt(static_cast<int>(i)),
                                               sumvarl::Variant::Screen),
                "the sheet shows the table's row");
        Require(item.x == std::max(column - 1, 0.0) * RecordingSurface::Column,
                "each problem at its column");
        Require((i - 1) % 4 == 0 ? item.y > lastY : item.y == lastY, "four problems to a row");
        lastY = item.y;

        const int op = KindOf(t.OperatorText[i]);
        Require(op != 0, "no empty problem is placed on the sheet");
        ++problems[static_cast<std::size_t>(op - 1)];
        blanks[static_cast<std::size_t>(op - 1)] += kind != 0 ? 1 : 0;
    }

    for (std::size_t i = placed + 1; i < Math::TableRows; ++i) {
        if (i <= sumvarl::RowsResetPerBuild) {
            Require(RowEmpty(i), "rows up to 150 that the sheet did not reach are reset");
        } else {
            Require(RowMatches(*before, i), "rows above 150 keep what they held");
        }
    }
    Require(RowMatches(*before, 0), "row 0 is never written");

    // The summary: labels, then counts that match the table.
    const std::size_t s = HeaderItems + placed;
    const std::array<std::u16string_view, 4> labels{u"其中 加法：", u"题   减法：", u"题   乘法：",
                                                    u"题   除法："};
    long long counted = 0;
    for (std::size_t op = 0; op < 4; ++op) {
        const std::size_t at = s + 5 * op;
        Require(d[at].text == labels[op] && d[at + 2].text == u"(" && d[at + 4].text == u")",
                "the summary labels stand in order");
        Require(IsDecimal(d[at + 1].text) && IsDecimal(d[at + 3].text),
                "summary counts are plain decimals");
        const long long n = ValueOf(d[at + 1].text);
        const long long b = ValueOf(d[at + 3].text);
        Require(n == problems[op] && b == blanks[op], "summary counts match the sheet");
        Require(b <= n, "blank counts never exceed problem counts");
        if (!fill || Math::FillBlankPercent <= 1) {
            Require(b == 0, "no blanks unless fill-in-the-blank asks for them");
        }
        counted += n;
    }
    Require(d[s + 20].text == u"题", "the summary ends with its counter word");
    Require(counted == static_cast<long long>(placed), "the summary counts add up");
}

// Start refuses a lesson that allows no problem of an operation that comes up; tables outside
// 0..9 or from above to are always refused.
bool LessonAccepted(const Math::Lesson& lesson)
{
    Math::lesson = lesson;
    const sumvarl::LessonRefusal refusal = sumvarl::CheckLesson(CountInputsInMath());
    const bool tables =
        0 <= lesson.tableFrom && lesson.tableFrom <= lesson.tableTo && lesson.tableTo <= 9;
    Require(tables || refusal == sumvarl::LessonRefusal::TablesOutOfRange,
            "tables outside 0..9 are refused");
    if (refusal == sumvarl::LessonRefusal::None) {
        return true;
    }
    Math::lesson = {};
    return false;
}

// An earlier worksheet in every row: the build must reset rows 1..150, may overwrite the rows
// above only by reaching them, and never touches row 0.
void FillStaleRows()
{
    auto& t = WorksheetTable;
    for (std::size_t i = 0; i < Math::TableRows; ++i) {
        t.ProblemKey[i] = u"9×9＝81";
        t.Operand1Text[i] = u"9";
        t.OperatorText[i] = Math::TimesSign;
        t.Operand2Text[i] = u"9";
        t.ResultText[i] = u"81";
        t.BlankKind[i] = 2;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    InputReader in({data, size});
    const unsigned ticks = in.Byte();
    std::array<std::u16string, 4> weights;
    for (auto& w : weights) {
        w = in.Text(WeightTexts);
    }
    const std::u16string percent = in.Text(PercentTexts);
    const std::u16string count = in.Text(CountTexts);
    const std::u16string range = in.Text(RangeTexts);
    const int alone = in.Byte() & 0x3F;
    const int builds = 1 + (in.Byte() & 1);
    const std::uint8_t rules = in.Byte();
    const Math::Lesson lesson = fuzz::LessonFrom(rules, in.Byte());

    Math::ResetState();
    if (!ReadAndCommit(ticks, weights, percent, count, range) || !LessonAccepted(lesson)) {
        return 0; // Start refuses; nothing is built
    }
    FillStaleRows();
    Require(Math::ProblemCount <= Math::MaxProblemCount && Math::CumulativeWeight[4] == 0,
            "Start keeps within the table and leaves entry 4 alone");

    InputRandom random(in.Rest(), size);
    for (int i = 0; i < alone; ++i) {
        GenerateChecked(Math::NumberRange, random);
    }
    for (int b = 0; b < builds; ++b) {
        BuildChecked(random);
    }
    return 0;
}
