#pragma once

// What Start makes of the settings window's boxes: the weights, the fill-in-the-blank share,
// the number of problems and the number range, or the reason it refuses to start.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace sumvarl {

// The controls as Start reads them; index k as in Check1(k) and Text1(k).
struct StartInputs
{
    std::array<bool, 5> ticked{};
    std::array<std::u16string, 5> boxes;
    std::u16string numberRange;  // Combo1
    std::u16string problemCount; // Combo2
};

struct Settings
{
    std::int16_t WeightTotal = 0;
    std::array<std::int16_t, 4> CumulativeWeight{};
    std::int16_t FillBlankOn = 0;
    std::int16_t FillBlankPercent = 0;
    std::int16_t ProblemCount = 0;
    std::int16_t NumberRange = 0;

    bool operator==(const Settings&) const = default;
};

// What Start refused: which value, which boxes, which limits. The windows and tools word it.
enum class RefusalKind {
    Weight,           // one operation's weight alone leaves the 16-bit range
    WeightSum,        // the running total of the ticked weights leaves it
    FillBlankPercent, // the fill-in-the-blank percentage leaves it
    TooManyProblems,  // more problems than the worksheet table holds
    ProblemCount,     // a count below the 16-bit range
    NumberRange,      // the number range leaves lowest..highest
};

struct Refusal
{
    RefusalKind kind = RefusalKind::Weight;
    // The weights concerned, by index k of Check1(k): the one box for Weight, the ticked
    // boxes up to the one whose addition broke the limit for WeightSum.
    std::array<bool, 4> weights{};
    int lowest = 0;
    int highest = 0;

    bool operator==(const Refusal&) const = default;
};

struct StartOutcome
{
    std::optional<Settings> settings; // empty when Start refuses
    std::optional<Refusal> refusal;   // why, when it refuses
};

// The running weight total is rounded to 16 bits after every ticked weight is added:
// weights 2.5 and 2.5 give cumulative weights 2 and 4 (2.5 -> 2, 2 + 2.5 = 4.5 -> 4).
// Refuses when the running total or a converted value leaves -32768..32767, or when more
// problems are asked for than the worksheet table holds.
StartOutcome ReadSettings(const StartInputs& inputs);

// Writes the settings into Math; CumulativeWeight(4) is left alone.
void CommitSettings(const Settings& settings);

// The settings Math holds, as Start left them.
Settings CommittedSettings();

} // namespace sumvarl
