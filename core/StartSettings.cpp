#include "core/StartSettings.h"

#include "core/Math.h"
#include "core/NumberText.h"

#include <limits>
#include <string_view>

namespace sumvarl {

namespace {

constexpr std::array<std::u16string_view, 5> BoxNames{u"加法", u"减法", u"乘法", u"除法", u"填空"};
constexpr std::u16string_view OutOfRange = u"超出了 -32768 到 32767 的范围";
constexpr std::u16string_view PleaseCorrect = u"，请改正后再按“开始”。";

std::u16string Refusal(std::u16string_view what)
{
    std::u16string text(what);
    text += PleaseCorrect;
    return text;
}

// "加法、减法的占用比例之和" for the ticked operations up to and including k.
std::u16string TickedWeightsName(const StartInputs& in, std::size_t k)
{
    std::u16string names;
    int count = 0;
    for (std::size_t j = 0; j <= k; ++j) {
        if (in.ticked[j]) {
            if (count++ > 0) {
                names += u"、";
            }
            names += BoxNames[j];
        }
    }
    return names + (count > 1 ? u"的占用比例之和" : u"的占用比例");
}

StartOutcome Refuse(RefusalKind kind, std::u16string_view what)
{
    return {std::nullopt, Refusal(what), kind, std::u16string(what)};
}

} // namespace

StartOutcome ReadSettings(const StartInputs& in)
{
    Settings s;
    for (std::size_t k = 0; k < 4; ++k) {
        const double w = in.ticked[k] ? ReadNumber(in.boxes[k]) : 0.0;
        const std::optional<std::int16_t> total = ToInt16(s.WeightTotal + w);
        if (!total) {
            // Name the one box whose number alone is too large; otherwise the sum is at fault.
            const std::u16string what =
                ToInt16(w) ? TickedWeightsName(in, k) : std::u16string(BoxNames[k]) + u"的占用比例";
            return Refuse(RefusalKind::WeightOutOfRange, what + std::u16string(OutOfRange));
        }
        s.WeightTotal = *total;
        s.CumulativeWeight[k] = s.WeightTotal;
    }

    if (in.ticked[4]) {
        const std::optional<std::int16_t> percent = ToInt16(ReadNumber(in.boxes[4]));
        if (!percent) {
            return Refuse(RefusalKind::FillBlankOutOfRange,
                          std::u16string(BoxNames[4]) + u"的占用比例" + std::u16string(OutOfRange));
        }
        s.FillBlankOn = 1;
        s.FillBlankPercent = *percent;
    }

    const double count = ReadNumber(in.problemCount);
    const std::optional<std::int16_t> problemCount = ToInt16(count);
    if (count > 0 && (!problemCount || *problemCount > Math::MaxProblemCount)) {
        return Refuse(RefusalKind::TooManyProblems,
                      u"题数不能超过 " + DecimalText(Math::MaxProblemCount));
    }
    if (!problemCount) {
        return Refuse(RefusalKind::ProblemCountOutOfRange, u"题数" + std::u16string(OutOfRange));
    }
    s.ProblemCount = *problemCount;

    // At -32768 a difference such as 0 - (-32768) no longer fits 16 bits and the sheet would
    // show a wrong answer, so the range stops one short of the 16-bit minimum.
    const std::optional<std::int16_t> range = ToInt16(ReadNumber(in.numberRange));
    if (!range || *range == std::numeric_limits<std::int16_t>::min()) {
        return Refuse(RefusalKind::NumberRangeOutOfRange, u"难度超出了 -32767 到 32767 的范围");
    }
    s.NumberRange = *range;

    return {s, {}, RefusalKind::None, {}};
}

void CommitSettings(const Settings& s)
{
    Math::WeightTotal = s.WeightTotal;
    for (std::size_t k = 0; k < s.CumulativeWeight.size(); ++k) {
        Math::CumulativeWeight[k] = s.CumulativeWeight[k];
    }
    Math::FillBlankOn = s.FillBlankOn;
    Math::FillBlankPercent = s.FillBlankPercent;
    Math::ProblemCount = s.ProblemCount;
    Math::NumberRange = s.NumberRange;
}

} // namespace sumvarl
