#include "core/Generator.h"
#include "core/Math.h"
#include "core/NumberText.h"
#include "core/RandomSource.h"
#include "testing/KeyDigest.h"
#include "testing/Problems.h"
#include "testing/RecordingSurface.h"
#include "testing/ScriptedRandom.h"
#include "testing/SheetSettings.h"
#include "worksheet/WorksheetBuilder.h"

#include <cmath>
#include <gtest/gtest.h>
#include <set>
#include <vector>

namespace sumvarl {
namespace {

using testing::MakeSettings;
using testing::RecordingSurface;
using testing::ScriptedRandom;
using testing::UseSettings;

using Problem = std::optional<model::Problem>;
using testing::Two;

// No problem at all, as a draw outside every band gives.
const Problem None;

// A problem source that plays back a list, cycling.
struct ListSource
{
    std::vector<Problem> problems;
    int calls = 0;

    Problem operator()(const PartSpec& /*part*/, RandomSource& /*random*/)
    {
        return problems[static_cast<std::size_t>(calls++) % problems.size()];
    }
};

std::vector<Problem> Additions(int count)
{
    std::vector<Problem> list;
    for (int k = 1; k <= count; ++k) {
        list.emplace_back(Two(k, Operation::Add, 1, k + 1));
    }
    return list;
}

struct Recorder
{
    std::vector<std::u16string> prompts;
    std::vector<std::u16string> titles;
    std::vector<std::size_t> drawnWhenShown;
    int timerOffs = 0;
};

struct Fixture
{
    RecordingSurface surface;
    Recorder recorder;

    BuildHooks Hooks(ProblemDraw source, RandomSource* random)
    {
        BuildHooks h;
        h.drawProblem = std::move(source);
        h.random = random;
        h.messageBox = [this](std::u16string_view prompt, std::u16string_view title) {
            recorder.prompts.emplace_back(prompt);
            recorder.titles.emplace_back(title);
            recorder.drawnWhenShown.push_back(surface.drawn.size());
        };
        h.timerOff = [this] { ++recorder.timerOffs; };
        return h;
    }
};

void UseAllOperations(std::int16_t count, std::int16_t fillOn = 0, std::int16_t percent = 0)
{
    UseSettings(MakeSettings({25, 50, 75, 100}, fillOn, percent, count, 100));
}

int ProblemsOnSheet()
{
    int n = 0;
    while (n < Math::MaxProblemCount &&
           !Math::WorksheetTable.ProblemKey[static_cast<std::size_t>(n) + 1].empty()) {
        ++n;
    }
    return n;
}

TEST(BuildWorksheet, HeaderTextsFontsAndPositions)
{
    UseAllOperations(100);
    Fixture f;
    ListSource source{Additions(100)};
    BuildWorksheet(f.surface, f.Hooks(std::ref(source), nullptr));

    EXPECT_EQ(f.surface.clears, 1);
    const auto& d = f.surface.drawn;
    ASSERT_GE(d.size(), 4U);
    EXPECT_EQ(d[0].text, u"数 学 Sumvarl");
    EXPECT_EQ(d[0].x, 3500);
    EXPECT_EQ(d[0].y, 0);
    EXPECT_EQ(d[0].font, (FontSpec{u"宋体", 16, false, false}));
    EXPECT_EQ(d[1].text, u"题目数：");
    EXPECT_EQ(d[1].x, 1500);
    EXPECT_EQ(d[1].y, 16 * 20);
    EXPECT_EQ(d[1].font.size, 12);
    EXPECT_EQ(f.surface.LineAt(320),
              u"题目数：100题     日期：__年__月__日  用时：_______  得分：_______");
    // The empty line after the count line, then the first row of problems.
    EXPECT_EQ(f.surface.LineAt(560), u"");
    EXPECT_EQ(d[5].y, 800);
    EXPECT_EQ(d[5].x, 0);
    EXPECT_EQ(d[5].font.size, 12);
}

struct LayoutCase
{
    const char* name;
    std::int16_t count;
    std::vector<double> problemY; // top of each problem's line
    double summaryY;
};

// Names the row instead of GoogleTest's byte dump, which reads the padding.
void PrintTo(const LayoutCase& c, std::ostream* os)
{
    *os << c.name;
}

class LayoutTest : public ::testing::TestWithParam<LayoutCase>
{
};

// 800 is the first problem line; every line is 240 twips at 12 points.
TEST_P(LayoutTest, RowsOfFourThenTheSummary)
{
    const LayoutCase& c = GetParam();
    UseAllOperations(c.count);
    Fixture f;
    ListSource source{Additions(10)};
    BuildWorksheet(f.surface, f.Hooks(std::ref(source), nullptr));

    const auto& d = f.surface.drawn;
    const std::size_t header = 5;
    ASSERT_EQ(d.size(), header + c.problemY.size() + 21);
    const std::array<double, 4> columnX{0, 2300, 4700, 7100};
    for (std::size_t k = 0; k < c.problemY.size(); ++k) {
        EXPECT_EQ(d[header + k].y, c.problemY[k]) << "problem " << k + 1;
        EXPECT_EQ(d[header + k].x, columnX[k % 4]) << "problem " << k + 1;
    }
    EXPECT_EQ(d[header + c.problemY.size()].y, c.summaryY);
    EXPECT_EQ(d.back().y, c.summaryY);
    EXPECT_EQ(f.surface.CurrentY(), c.summaryY + 240);
    EXPECT_EQ(f.recorder.timerOffs, 1);
    EXPECT_TRUE(f.recorder.prompts.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Counts, LayoutTest,
    ::testing::Values(
        // A full last row is ended by the row break, so the final line end leaves an empty line.
        LayoutCase{"four", 4, {800, 800, 800, 800}, 1280},
        LayoutCase{"six", 6, {800, 800, 800, 800, 1040, 1040}, 1280},
        LayoutCase{"zero", 0, {}, 1040}, LayoutCase{"negative", -3, {}, 1040}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BuildWorksheet, SummaryCountsProblemsAndBlanksPerOperation)
{
    // 25 additions (3 with a blank), 24 subtractions (5), 26 multiplications (2), 25 divisions (9).
    struct Group
    {
        Operation op;
        int problems;
        int blanks;
    };
    const std::array<Group, 4> groups{
        Group{Operation::Add, 25, 3}, Group{Operation::Subtract, 24, 5},
        Group{Operation::Multiply, 26, 2}, Group{Operation::Divide, 25, 9}};
    std::vector<Problem> list;
    std::vector<float> draws;
    for (const Group& g : groups) {
        for (int k = 0; k < g.problems; ++k) {
            list.emplace_back(Two(k, g.op, 1, 0));
            draws.push_back(k < g.blanks ? 0.0F : 0.995F); // x = 1 or 100.5
        }
    }
    UseAllOperations(100, 1, 100);
    Fixture f;
    ListSource source{list};
    ScriptedRandom random(draws);
    BuildWorksheet(f.surface, f.Hooks(std::ref(source), &random));

    const auto& d = f.surface.drawn;
    ASSERT_GE(d.size(), 21U);
    std::u16string summary;
    for (auto it = d.end() - 21; it != d.end(); ++it) {
        summary += it->text;
        EXPECT_EQ(it->y, d.back().y);
    }
    EXPECT_EQ(summary, u"其中 加法：25(3)题   减法：24(5)题   乘法：26(2)题   除法：25(9)题");
    EXPECT_EQ(random.reseeds, 100);
    EXPECT_EQ(random.draws, 100);
}

TEST(BuildWorksheet, GivesUpWhenTheSourceRepeatsItself)
{
    UseAllOperations(10);
    Fixture f;
    ListSource source{Additions(1)};
    BuildWorksheet(f.surface, f.Hooks(std::ref(source), nullptr));

    EXPECT_EQ(source.calls, 1 + AttemptsPerProblem);
    ASSERT_EQ(f.recorder.prompts.size(), 1U);
    EXPECT_EQ(f.recorder.prompts[0], u"你选择的难度太低，没有办法出这么多的题目");
    EXPECT_EQ(f.recorder.titles[0], u"注意啦");
    EXPECT_EQ(f.recorder.drawnWhenShown[0], 5U + 1U) << "the summary comes after the message";
    EXPECT_EQ(ProblemsOnSheet(), 1);
    // The final line end closes the open row; the summary follows directly.
    const auto& d = f.surface.drawn;
    EXPECT_EQ(d[5].y, 800);
    EXPECT_EQ(d[6].y, 1040);
    EXPECT_EQ(f.surface.LineAt(1040),
              u"其中 加法：1(0)题   减法：0(0)题   乘法：0(0)题   除法：0(0)题");
    EXPECT_EQ(f.recorder.timerOffs, 1);
}

// Weights such as -3, 0, 0, 0 leave most draws outside every band: no problem comes back.
TEST(BuildWorksheet, AnEmptyProblemIsAFailedAttempt)
{
    UseAllOperations(3);
    Fixture f;
    ListSource source{{None, Two(1, Operation::Add, 2, 3), None, Two(2, Operation::Add, 2, 4), None,
                       Two(3, Operation::Add, 2, 5)}};
    // An empty key would otherwise be accepted once, as it is on no earlier row.
    BuildWorksheet(f.surface, f.Hooks(std::ref(source), nullptr));
    EXPECT_EQ(source.calls, 6);
    EXPECT_EQ(Math::WorksheetTable.ProblemKey[1], u"1＋2＝3");
    EXPECT_EQ(Math::WorksheetTable.ProblemKey[2], u"2＋2＝4");
    EXPECT_EQ(Math::WorksheetTable.ProblemKey[3], u"3＋2＝5");
    EXPECT_TRUE(f.recorder.prompts.empty());

    UseAllOperations(2);
    Fixture g;
    ListSource nothing{{None}};
    BuildWorksheet(g.surface, g.Hooks(std::ref(nothing), nullptr));
    EXPECT_EQ(nothing.calls, AttemptsPerProblem);
    EXPECT_EQ(g.recorder.prompts.size(), 1U);
    EXPECT_EQ(ProblemsOnSheet(), 0);
}

// Only 46 different additions exist below 10.
TEST(BuildWorksheet, RunsOutOfDifferentAdditions)
{
    UseSettings(MakeSettings({25, 25, 25, 25}, 0, 0, 50, 10));
    ClockRandom random(11, [] { return std::uint64_t{3}; });
    Fixture f;
    int calls = 0;
    auto source = [&](const PartSpec& part, RandomSource& r) {
        ++calls;
        return DrawProblem(part, r);
    };
    BuildWorksheet(f.surface, f.Hooks(source, &random));

    ASSERT_EQ(f.recorder.prompts.size(), 1U);
    EXPECT_EQ(ProblemsOnSheet(), 46);
    EXPECT_EQ(f.surface.drawn.back().text, u"题");
    std::u16string summary;
    for (auto it = f.surface.drawn.end() - 21; it != f.surface.drawn.end(); ++it) {
        summary += it->text;
    }
    EXPECT_EQ(summary, u"其中 加法：46(0)题   减法：0(0)题   乘法：0(0)题   除法：0(0)题");
    EXPECT_GE(calls, 46 + AttemptsPerProblem);
}

// The table alone, with no surface: the same rows the whole build gives, and where it stopped.
TEST(FillWorksheetTable, FillsTheBuildsRowsAndSaysWhereItGaveUp)
{
    const auto fillFromSeed = [](bool draw) {
        UseSettings(MakeSettings({25, 25, 25, 25}, 1, 40, 50, 10));
        ClockRandom random(11, [] { return std::uint64_t{3}; });
        BuildHooks hooks;
        hooks.random = &random;
        TableFill fill;
        if (draw) {
            RecordingSurface surface;
            BuildWorksheet(surface, hooks);
        } else {
            fill = FillWorksheetTable(hooks);
        }
        return std::pair(fill, Math::WorksheetTable);
    };
    const auto [fill, table] = fillFromSeed(false);
    EXPECT_EQ(fill.rows, 46);
    EXPECT_TRUE(fill.gaveUp);
    const auto built = fillFromSeed(true).second;
    EXPECT_EQ(table.ProblemKey, built.ProblemKey);
    EXPECT_EQ(table.BlankKind, built.BlankKind);
}

TEST(BuildWorksheet, KeysOnASheetAreUnique)
{
    for (std::uint64_t seed = 1; seed <= 30; ++seed) {
        UseAllOperations(200, 1, 50);
        Math::NumberRange = static_cast<std::int16_t>(seed % 3 == 0 ? 10 : 100);
        ClockRandom random(seed);
        Fixture f;
        ProblemDraw source = DrawProblem;
        BuildWorksheet(f.surface, f.Hooks(source, &random));
        std::set<std::u16string> keys;
        const int placed = ProblemsOnSheet();
        for (int i = 1; i <= placed; ++i) {
            const auto r = static_cast<std::size_t>(i);
            ASSERT_TRUE(keys.insert(Math::WorksheetTable.ProblemKey[r]).second)
                << "seed " << seed << " row " << i;
        }
        EXPECT_TRUE(placed == 200 || f.recorder.prompts.size() == 1U) << "seed " << seed;
    }
}

TEST(BuildWorksheet, NoBlanksWithoutFillInTheBlank)
{
    UseAllOperations(100, 0, 100);
    Fixture f;
    ListSource source{Additions(100)};
    ScriptedRandom random({0.0F});
    BuildWorksheet(f.surface, f.Hooks(std::ref(source), &random));
    EXPECT_EQ(random.reseeds, 0);
    EXPECT_EQ(random.draws, 0);
    for (std::size_t i = 1; i <= 100; ++i) {
        EXPECT_EQ(Math::WorksheetTable.BlankKind[i], 0);
    }
    EXPECT_EQ(f.surface.LineAt(f.surface.drawn.back().y),
              u"其中 加法：100(0)题   减法：0(0)题   乘法：0(0)题   除法：0(0)题");
}

struct ShareCase
{
    std::int16_t percent;
    double kind2;
    double kind1;
};

// Names the row instead of GoogleTest's byte dump, which reads the padding.
void PrintTo(const ShareCase& c, std::ostream* os)
{
    *os << "percent " << c.percent;
}

class BlankShareTest : public ::testing::TestWithParam<ShareCase>
{
};

// x = 100 r + 1 is uniform in [1, 101): kind 2 below P/2, kind 1 below P.
TEST_P(BlankShareTest, SharesFollowThePercentage)
{
    const ShareCase& c = GetParam();
    ClockRandom random(static_cast<std::uint64_t>(c.percent) * 7919);
    std::array<int, 3> seen{};
    int total = 0;
    for (int build = 0; build < 100; ++build) {
        UseAllOperations(200, 1, c.percent);
        Fixture f;
        ListSource source{Additions(200)};
        BuildWorksheet(f.surface, f.Hooks(std::ref(source), &random));
        for (std::size_t i = 1; i <= 200; ++i) {
            ++seen[static_cast<std::size_t>(Math::WorksheetTable.BlankKind[i])];
            ++total;
        }
    }
    const auto share = [&](std::size_t kind) { return static_cast<double>(seen[kind]) / total; };
    const auto tolerance = [&](double p) { return 4.5 * std::sqrt(p * (1 - p) / total) + 1e-9; };
    EXPECT_NEAR(share(2), c.kind2, tolerance(c.kind2));
    EXPECT_NEAR(share(1), c.kind1, tolerance(c.kind1));
    EXPECT_NEAR(share(0), 1 - c.kind1 - c.kind2, tolerance(1 - c.kind1 - c.kind2));
}

INSTANTIATE_TEST_SUITE_P(Percentages, BlankShareTest,
                         ::testing::Values(ShareCase{0, 0, 0}, ShareCase{1, 0, 0},
                                           ShareCase{20, 0.09, 0.10}, ShareCase{50, 0.24, 0.25},
                                           ShareCase{100, 0.49, 0.50}),
                         [](const auto& info) { return std::to_string(info.param.percent); });

TEST(BuildWorksheet, ResetsOnlyTheFirst150Rows)
{
    UseAllOperations(10);
    auto& t = Math::WorksheetTable;
    for (std::size_t i = 0; i < Math::TableRows; ++i) {
        t.ProblemKey[i] = u"old";
        t.Operand1Text[i] = u"old";
        t.BlankKind[i] = 2;
    }
    Fixture f;
    ListSource source{Additions(10)};
    BuildWorksheet(f.surface, f.Hooks(std::ref(source), nullptr));
    EXPECT_EQ(t.ProblemKey[0], u"old");
    EXPECT_EQ(t.BlankKind[0], 2);
    EXPECT_EQ(t.ProblemKey[10], u"10＋1＝11");
    for (std::size_t i = 11; i <= 150; ++i) {
        ASSERT_TRUE(t.ProblemKey[i].empty()) << i;
        ASSERT_TRUE(t.Operand1Text[i].empty()) << i;
        ASSERT_EQ(t.BlankKind[i], 0) << i;
    }
    for (std::size_t i = 151; i <= 200; ++i) {
        ASSERT_EQ(t.ProblemKey[i], u"old") << i;
        ASSERT_EQ(t.BlankKind[i], 2) << i;
    }
}

TEST(BuildWorksheet, StoresEveryAcceptedProblemInSheetOrder)
{
    UseAllOperations(3);
    Fixture f;
    ListSource source{{Two(7, Operation::Multiply, 8, 56), Two(7, Operation::Multiply, 8, 56),
                       Two(3, Operation::Add, 4, 7), Two(4, Operation::Add, 3, 7)}};
    BuildWorksheet(f.surface, f.Hooks(std::ref(source), nullptr));
    const auto& t = Math::WorksheetTable;
    EXPECT_EQ(source.calls, 4) << "the repeated 7×8 is asked again";
    EXPECT_EQ(t.ProblemKey[1], u"7×8＝56");
    EXPECT_EQ(t.ProblemKey[2], u"3＋4＝7");
    EXPECT_EQ(t.ProblemKey[3], u"4＋3＝7");
    EXPECT_EQ(t.Operand1Text[3], u"4");
    EXPECT_EQ(t.OperatorText[3], u"＋");
    EXPECT_EQ(t.Operand2Text[3], u"3");
    EXPECT_EQ(t.ResultText[3], u"7");
    EXPECT_EQ(f.surface.drawn[5].text, u"    7×8＝");
}

// Recorded from the builder as it was before carrying, borrowing, times tables and remainders
// were added: with those at their defaults the same seeds still give the same sheets.
TEST(BuildWorksheet, SameSeedsGiveTheSameSheets)
{
    struct Golden
    {
        std::array<std::int16_t, 4> cumulative;
        std::int16_t range, count, percent;
        std::uint64_t seed, sheet, state;
    };
    const Golden cases[] = {
        {{25, 50, 75, 100}, 20, 100, 40, 11, 0xd07e1cad29ac9005ULL, 0x15ff1a2be2b4045dULL},
        {{25, 25, 25, 25}, 10, 50, 0, 12, 0x4440ca824d951ab3ULL, 0xd91b06d8078b36d6ULL},
        {{0, 0, 30, 60}, 100, 80, 100, 13, 0xc81b43150a1b2782ULL, 0xbfa94b1c8593ef36ULL},
    };
    for (const Golden& g : cases) {
        UseAllOperations(g.count, g.percent > 0 ? 1 : 0, g.percent);
        Math::NumberRange = g.range;
        Math::CumulativeWeight = {g.cumulative[0], g.cumulative[1], g.cumulative[2],
                                  g.cumulative[3], 0};
        Math::WeightTotal = g.cumulative[3];
        std::uint64_t tick = 0;
        ClockRandom random(g.seed, [&tick] { return tick += 1291; });
        Fixture f;
        ProblemDraw source = DrawProblem;
        BuildWorksheet(f.surface, f.Hooks(source, &random));
        testing::KeyDigest digest;
        for (const auto& d : f.surface.drawn) {
            digest.Add(d.text);
            digest.Add(static_cast<std::int64_t>(d.x));
            digest.Add(static_cast<std::int64_t>(d.y));
        }
        for (std::size_t i = 1; i <= 200; ++i) {
            digest.Add(Math::WorksheetTable.ProblemKey[i]);
            digest.Add(Math::WorksheetTable.BlankKind[i]);
        }
        EXPECT_EQ(digest.Value(), g.sheet)
            << "seed " << g.seed << std::hex << " 0x" << digest.Value();
        EXPECT_EQ(random.State(), g.state)
            << "seed " << g.seed << std::hex << " 0x" << random.State();
    }
}

// With 45 different additions within 20 that carry, 45 are placed and the 46th gives up.
TEST(BuildWorksheet, AsManyProblemsAsTheLessonAllows)
{
    for (const std::int16_t count : {std::int16_t{45}, std::int16_t{46}}) {
        UseSettings(MakeSettings({25, 25, 25, 25}, 0, 0, count, 20));
        Math::lesson.carry = Math::CarryRule::Always;
        ClockRandom random(static_cast<std::uint64_t>(count));
        Fixture f;
        ProblemDraw source = DrawProblem;
        BuildWorksheet(f.surface, f.Hooks(source, &random));
        EXPECT_EQ(ProblemsOnSheet(), 45);
        EXPECT_EQ(f.recorder.prompts.size(), count == 45 ? 0U : 1U);
    }
}

} // namespace
} // namespace sumvarl
