#include "wording/Presets.h"

#include <array>

namespace sumvarl {

namespace {

// One part: the four operations' weights, the range and the count; the lesson and the shape
// follow as the preset needs them.
PartSpec Part(std::array<int, 4> weights, int range, int count)
{
    PartSpec part;
    int total = 0;
    for (std::size_t k = 0; k < weights.size(); ++k) {
        total += weights.at(k);
        part.cumulativeWeight.at(k) = static_cast<std::int16_t>(total);
    }
    part.weightTotal = static_cast<std::int16_t>(total);
    part.numberRange = static_cast<std::int16_t>(range);
    part.problemCount = static_cast<std::int16_t>(count);
    return part;
}

PartSpec Chains(ProblemShape shape, int range, int count, int tableFrom = 0)
{
    PartSpec part = Part({25, 0, 0, 0}, range, count);
    part.shape = shape;
    part.lesson.tableFrom = static_cast<std::int16_t>(tableFrom);
    return part;
}

PartSpec WithCarry(PartSpec part, CarryRule carry, CarryRule borrow)
{
    part.lesson.carry = carry;
    part.lesson.borrow = borrow;
    return part;
}

PartSpec WithTables(PartSpec part, int from, int to, bool remainder = false)
{
    part.lesson.tableFrom = static_cast<std::int16_t>(from);
    part.lesson.tableTo = static_cast<std::int16_t>(to);
    part.lesson.remainder = remainder;
    return part;
}

// A 竖式 part: ＋ and － half each (only the add-and-subtract kinds read them), one-digit
// factors and divisors from the whole tables.
PartSpec Columns(VerticalKind kind, int count, bool remainder = false)
{
    PartSpec part = WithTables(Part({50, 50, 0, 0}, 1000, count), 2, 9, remainder);
    part.vertical = kind;
    return part;
}

std::vector<Preset> MakePresets()
{
    using enum CarryRule;
    using enum ProblemShape;
    using enum VerticalKind;
    const auto p = [](const char16_t* term, const char16_t* name, std::vector<PartSpec> parts) {
        return Preset{QString::fromUtf16(term), QString::fromUtf16(name), std::move(parts)};
    };
    return {
        p(u"一年级上", u"10以内加减法", {Part({50, 50, 0, 0}, 10, 50)}),
        p(u"一年级上", u"20以内进位加法", {WithCarry(Part({25, 0, 0, 0}, 20, 40), Always, Any)}),
        p(u"一年级下", u"20以内退位减法", {WithCarry(Part({0, 25, 0, 0}, 20, 40), Any, Always)}),
        p(u"一年级下", u"20以内加减法", {Part({50, 50, 0, 0}, 20, 100)}),
        p(u"一年级下", u"100以内不进位加法、不退位减法",
          {WithCarry(Part({50, 50, 0, 0}, 100, 100), Never, Never)}),
        p(u"一年级下", u"20以内连加连减",
          {Chains(AddChain, 20, 20), Chains(SubtractChain, 20, 20)}),
        p(u"二年级上", u"100以内加减法（两位数加减口算）", {Part({50, 50, 0, 0}, 100, 100)}),
        p(u"二年级上", u"100以内连加连减",
          {Chains(AddChain, 100, 15), Chains(SubtractChain, 100, 15),
           Chains(AddSubtract, 100, 20)}),
        p(u"二年级上", u"表内乘法（2～6）", {WithTables(Part({0, 0, 25, 0}, 100, 50), 2, 6)}),
        p(u"二年级上", u"表内乘法", {WithTables(Part({0, 0, 25, 0}, 100, 80), 2, 9)}),
        p(u"二年级上", u"乘加、乘减",
          {Chains(MultiplyAdd, 100, 20, 2), Chains(MultiplySubtract, 100, 20, 2)}),
        p(u"二年级上", u"复习：20以内加减法 80 题＋100以内加减法 20 题",
          {Part({50, 50, 0, 0}, 20, 80), Part({50, 50, 0, 0}, 100, 20)}),
        p(u"二年级上", u"竖式：两位数进位加法、退位减法",
          {WithCarry(Columns(TwoDigitAddSubtract, 12), Always, Always)}),
        p(u"二年级下", u"表内除法", {WithTables(Part({0, 0, 0, 25}, 100, 60), 2, 9)}),
        p(u"二年级下", u"有余数的除法", {WithTables(Part({0, 0, 0, 25}, 100, 50), 2, 9, true)}),
        p(u"二年级下", u"混合运算",
          {Chains(MultiplyDivide, 100, 15, 2), Chains(DivideAddSubtract, 100, 15, 2),
           Chains(Bracketed, 100, 20, 2)}),
        p(u"三年级上", u"1000以内加减法（三位数）", {Part({50, 50, 0, 0}, 1000, 50)}),
        p(u"三年级上", u"竖式：三位数加减法", {Columns(ThreeDigitAddSubtract, 12)}),
        p(u"三年级上", u"竖式：多位数乘一位数", {Columns(ManyDigitsByOneDigit, 12)}),
        p(u"三年级下", u"表内乘除法", {WithTables(Part({0, 0, 50, 50}, 100, 80), 2, 9)}),
        p(u"三年级下", u"竖式：除数是一位数的除法",
          {Columns(DivideByOneDigit, 6), Columns(DivideByOneDigit, 6, true)}),
        p(u"三年级下", u"竖式：两位数乘两位数", {Columns(TwoDigitByTwoDigit, 12)}),
        p(u"四年级上", u"竖式：除数是两位数的除法", {Columns(DivideByTwoDigit, 12)}),
        p(u"四年级下", u"四则混合运算",
          {Chains(MultiplyAdd, 100, 10, 2), Chains(MultiplySubtract, 100, 10, 2),
           Chains(DivideAddSubtract, 100, 10, 2), Chains(Bracketed, 100, 20, 2)}),
        p(u"四年级下", u"带中括号的四则运算",
          {Chains(Bracketed, 100, 10, 2), Chains(ThreeSteps, 100, 20, 2)}),
    };
}

} // namespace

QString Preset::FullName() const
{
    return term + QStringLiteral(" · ") + name;
}

int Preset::ProblemCount() const
{
    int count = 0;
    for (const PartSpec& part : parts) {
        count += part.problemCount;
    }
    return count;
}

std::span<const Preset> GradePresets()
{
    static const std::vector<Preset> presets = MakePresets();
    return presets;
}

std::optional<Preset> FindPreset(const QString& text)
{
    const QString wanted = text.trimmed();
    std::optional<Preset> byName;
    int named = 0;
    for (const Preset& preset : GradePresets()) {
        if (preset.FullName() == wanted) {
            return preset;
        }
        if (preset.name == wanted) {
            byName = preset;
            ++named;
        }
    }
    return named == 1 ? byName : std::nullopt;
}

} // namespace sumvarl
