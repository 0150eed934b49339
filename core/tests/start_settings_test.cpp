// Start's rules on the boxes' texts: the settings they give, or what is refused and why.

#include "core/StartSettings.h"
#include "testing/SheetSettings.h"

#include <cctype>
#include <gtest/gtest.h>
#include <optional>
#include <ostream>
#include <string>

namespace {

using sumvarl::ReadSettings;
using sumvarl::Refusal;
using sumvarl::RefusalKind;
using sumvarl::Settings;
using sumvarl::StartInputs;
using sumvarl::testing::MakeSettings;

// Tick boxes as "10010", the five boxes, then 难度 and 题数.
StartInputs Inputs(const char* ticks, std::array<std::u16string, 5> boxes,
                   std::u16string range = u"100", std::u16string count = u"100")
{
    StartInputs in;
    for (std::size_t k = 0; k < 5; ++k) {
        in.ticked.at(k) = ticks[k] == '1';
    }
    in.boxes = std::move(boxes);
    in.numberRange = std::move(range);
    in.problemCount = std::move(count);
    return in;
}

struct StartCase
{
    const char* name;
    StartInputs inputs;
    std::optional<Settings> settings;
    std::optional<Refusal> refusal;
};

void PrintTo(const StartCase& c, std::ostream* os)
{
    *os << c.name;
}

class StartRules : public ::testing::TestWithParam<StartCase>
{
};

TEST_P(StartRules, GiveTheSettingsOrSayWhatWasRefused)
{
    const sumvarl::StartOutcome outcome = ReadSettings(GetParam().inputs);
    EXPECT_EQ(outcome.settings, GetParam().settings);
    EXPECT_EQ(outcome.refusal, GetParam().refusal);
}

const std::array<std::u16string, 5> Initial{u"25", u"25", u"25", u"25", u"20"};
constexpr int Low = -32768;
constexpr int High = 32767;

INSTANTIATE_TEST_SUITE_P(
    Boxes, StartRules,
    ::testing::Values(
        StartCase{"initial",
                  Inputs("10000", Initial),
                  MakeSettings({25, 25, 25, 25}, 0, 0, 100, 100),
                  {}},
        StartCase{"weights 2.5 round after each add",
                  Inputs("11000", {u"2.5", u"2.5", u"", u"", u""}),
                  MakeSettings({2, 4, 4, 4}, 0, 0, 100, 100),
                  {}},
        StartCase{"unticked box unread",
                  Inputs("10010", {u"25", u"40000", u"", u"25", u"1e9"}),
                  MakeSettings({25, 25, 25, 50}, 0, 0, 100, 100),
                  {}},
        StartCase{"fill-in and typed count",
                  Inputs("10001", Initial, u"20", u"3.5"),
                  MakeSettings({25, 25, 25, 25}, 1, 20, 4, 20),
                  {}},
        StartCase{"one weight alone too large",
                  Inputs("11000", {u"25", u"40000", u"", u"", u""}),
                  {},
                  Refusal{RefusalKind::Weight, {false, true, false, false}, Low, High}},
        StartCase{"the sum of the ticked weights",
                  Inputs("10110", {u"20000", u"", u"10000", u"2768", u""}),
                  {},
                  Refusal{RefusalKind::WeightSum, {true, false, true, true}, Low, High}},
        StartCase{"fill-in percentage",
                  Inputs("10001", {u"25", u"", u"", u"", u"40000"}),
                  {},
                  Refusal{RefusalKind::FillBlankPercent, {}, Low, High}},
        StartCase{"201 problems",
                  Inputs("10000", Initial, u"100", u"201"),
                  {},
                  Refusal{RefusalKind::TooManyProblems, {}, Low, 200}},
        StartCase{"a billion problems",
                  Inputs("10000", Initial, u"100", u"1e9"),
                  {},
                  Refusal{RefusalKind::TooManyProblems, {}, Low, 200}},
        StartCase{"count below 16 bits",
                  Inputs("10000", Initial, u"100", u"-40000"),
                  {},
                  Refusal{RefusalKind::ProblemCount, {}, Low, High}},
        StartCase{"range -32768",
                  Inputs("10000", Initial, u"-32768"),
                  {},
                  Refusal{RefusalKind::NumberRange, {}, Low + 1, High}},
        StartCase{"range -32767",
                  Inputs("10000", Initial, u"-32767"),
                  MakeSettings({25, 25, 25, 25}, 0, 0, 100, -32767),
                  {}}),
    [](const ::testing::TestParamInfo<StartCase>& info) {
        std::string name = info.param.name;
        for (char& c : name) {
            if (std::isalnum(static_cast<unsigned char>(c)) == 0) {
                c = '_';
            }
        }
        return name;
    });

} // namespace
