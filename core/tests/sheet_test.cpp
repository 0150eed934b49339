// The typed sheet against worksheets recorded from the classic build (golden/sheets.txt): the
// same problems with the same blanks, the same give-up, and the random source left in the same
// place, so that the next copy of a batch starts where the classic one did.

#include "core/Problem.h"
#include "core/Sheet.h"
#include "testing/SheetSettings.h"
#include "testing/Utf8.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <iomanip>
#include <map>
#include <set>
#include <sstream>

namespace sumvarl {
namespace {

using testing::MakeSettings;
using testing::Utf8;

struct Recorded
{
    std::vector<std::string> lines; // "key blank"
    std::string gaveUp;
    std::string state;
};

// Sections "[name]" of lines "key blank", closed by "gave up: ..." and "state: ...".
std::map<std::string, Recorded> ReadGolden()
{
    std::ifstream in(SUMVARL_GOLDEN_DIR "/sheets.txt");
    std::map<std::string, Recorded> sections;
    Recorded* current = nullptr;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line.starts_with('#')) {
            continue;
        }
        if (line.starts_with('[')) {
            current = &sections[line.substr(1, line.size() - 2)];
        } else if (current != nullptr && line.starts_with("gave up: ")) {
            current->gaveUp = line.substr(9);
        } else if (current != nullptr && line.starts_with("state: ")) {
            current->state = line.substr(7);
        } else if (current != nullptr) {
            current->lines.push_back(line);
        }
    }
    return sections;
}

Recorded Made(const Sheet& sheet)
{
    Recorded made;
    for (const model::Problem& p : sheet.problems) {
        made.lines.push_back(Utf8(TextsOf(p).key) + " " + std::to_string(static_cast<int>(p.open)));
    }
    made.gaveUp = sheet.fellShort ? "yes" : "no";
    std::ostringstream state;
    state << std::hex << std::setw(16) << std::setfill('0') << sheet.nextSeed;
    made.state = state.str();
    return made;
}

void ExpectSame(const Recorded& made, const Recorded& recorded, const std::string& name)
{
    ASSERT_FALSE(recorded.state.empty()) << "no section " << name;
    EXPECT_EQ(made.lines, recorded.lines) << name;
    EXPECT_EQ(made.gaveUp, recorded.gaveUp) << name;
    EXPECT_EQ(made.state, recorded.state) << name;
}

struct GoldenCase
{
    const char* name;
    Settings settings;
    Lesson lesson;
    std::uint64_t seed;
    int copies;
};

Lesson CarryAndBorrow()
{
    return Lesson{CarryRule::Always, CarryRule::Always};
}

Lesson RemainderTables2To5()
{
    Lesson l;
    l.tableFrom = 2;
    l.tableTo = 5;
    l.remainder = true;
    return l;
}

const std::vector<GoldenCase>& GoldenCases()
{
    static const std::vector<GoldenCase> cases{
        {"all_four_100", MakeSettings({25, 50, 75, 100}, 0, 0, 100, 100), {}, 1, 1},
        {"fill_30", MakeSettings({25, 50, 75, 100}, 1, 30, 60, 100), {}, 2, 1},
        {"carry_within_20", MakeSettings({50, 100, 100, 100}, 1, 40, 40, 20), CarryAndBorrow(), 3,
         1},
        {"remainder_tables_2_5", MakeSettings({0, 0, 30, 100}, 1, 60, 40, 100),
         RemainderTables2To5(), 4, 1},
        {"negative_weight", MakeSettings({10, -5, 5, 15}, 1, 50, 30, 50), {}, 5, 1},
        {"count_0", MakeSettings({25, 50, 75, 100}, 1, 30, 0, 100), {}, 6, 1},
        {"gives_up", MakeSettings({100, 100, 100, 100}, 1, 50, 20, 3), {}, 7, 1},
        {"full_200_range_1000", MakeSettings({10, 40, 70, 100}, 1, 80, 200, 1000), {}, 8, 1},
        {"count_negative", MakeSettings({25, 50, 75, 100}, 1, 30, -5, 100), {}, 10, 1},
        {"negative_range", MakeSettings({25, 50, 50, 50}, 1, 40, 30, -15), {}, 11, 1},
        {"wide_range", MakeSettings({25, 50, 75, 100}, 1, 40, 30, 32767), {}, 12, 1},
        {"copies", MakeSettings({25, 50, 75, 100}, 1, 25, 20, 100), {}, 9, 3},
    };
    return cases;
}

TEST(SheetTest, MakesTheClassicSheets)
{
    const std::map<std::string, Recorded> golden = ReadGolden();
    ASSERT_EQ(golden.size(), 14U);
    for (const GoldenCase& c : GoldenCases()) {
        SheetSpec recipe{{PartSpecFor(c.settings, c.lesson)}, c.seed};
        for (int n = 1; n <= c.copies; ++n) {
            const std::string name =
                c.copies == 1 ? c.name : std::string(c.name) + " " + std::to_string(n);
            const Sheet sheet = MakeSheet(recipe);
            ExpectSame(Made(sheet), golden.at(name), name);
            EXPECT_EQ(sheet.recipe, recipe);
            EXPECT_EQ(MakeSheet(recipe), sheet) << name << ": made again";
            recipe.seed = sheet.nextSeed; // a batch's next copy goes on from here
        }
    }
}

// Part by part, each within what is left of the 200; no key twice on the whole sheet.
// Mixed, a sheet holds the problems it holds in order, shuffled; in order its parts stand one
// after the other.
TEST(SheetTest, MixedPartsAreTheSameProblemsShuffled)
{
    const PartSpec additions = PartSpecFor(MakeSettings({100, 100, 100, 100}, 0, 0, 80, 20), {});
    const PartSpec all = PartSpecFor(MakeSettings({25, 50, 75, 100}, 0, 0, 20, 100), {});
    const Sheet inOrder = MakeSheet({{additions, all}, 3, false});
    const Sheet mixed = MakeSheet({{additions, all}, 3, true});
    ASSERT_EQ(inOrder.problems.size(), 100U);
    EXPECT_TRUE(std::is_permutation(mixed.problems.begin(), mixed.problems.end(),
                                    inOrder.problems.begin(), inOrder.problems.end()));
    EXPECT_NE(mixed.problems, inOrder.problems);
    const auto firstOther = [](const Sheet& sheet) {
        return std::find_if(sheet.problems.begin(), sheet.problems.end(),
                            [](const model::Problem& p) {
                                return p.operators[0] != Operation::Add || p.result >= 20;
                            }) -
               sheet.problems.begin();
    };
    EXPECT_GE(firstOther(inOrder), 80);
    EXPECT_LT(firstOther(mixed), 80);
}

TEST(SheetTest, PartsShareTheSheet)
{
    PartSpec additions = PartSpecFor(MakeSettings({100, 100, 100, 100}, 0, 0, 150, 30), {});
    PartSpec all = PartSpecFor(MakeSettings({25, 50, 75, 100}, 1, 50, 120, 30), {});
    const SheetSpec recipe{{additions, all, additions}, 5};
    EXPECT_EQ(PartCounts(recipe), (std::vector<int>{150, 50, 0}));
    additions.problemCount = -3;
    EXPECT_EQ(PartCounts(SheetSpec{{additions, all}, 0}), (std::vector<int>{0, 120}));

    const Sheet sheet = MakeSheet(recipe);
    ASSERT_FALSE(sheet.fellShort);
    ASSERT_EQ(sheet.problems.size(), 200U);
    std::set<std::u16string> keys;
    int othersInPart2 = 0;
    int blanksInPart2 = 0;
    for (std::size_t i = 0; i < sheet.problems.size(); ++i) {
        const model::Problem& p = sheet.problems[i];
        EXPECT_TRUE(keys.insert(TextsOf(p).key).second) << i;
        if (i < 150) {
            EXPECT_EQ(p.operators[0], Operation::Add) << i;
            EXPECT_EQ(p.open, OpenPlace::Result) << i;
        } else {
            othersInPart2 += p.operators[0] != Operation::Add ? 1 : 0;
            blanksInPart2 += p.open != OpenPlace::Result ? 1 : 0;
        }
    }
    EXPECT_GT(othersInPart2, 20);
    EXPECT_GT(blanksInPart2, 10);
}

TEST(ProblemTest, TextsOfChainsAndRemainders)
{
    model::Problem p;
    p.operands = {17, 5, 0};
    p.operators = {Operation::Divide, Operation::Add};
    p.result = 3;
    p.remainder = 2;
    p.withRemainder = true;
    EXPECT_EQ(TextsOf(p), (ProblemTexts{u"17", u"÷", u"5", u"3……2", u"17÷5＝3……2"}));
    p.operands = {15, 5, 0};
    p.remainder = 0;
    EXPECT_EQ(TextsOf(p).key, u"15÷5＝3");

    p = {};
    p.operands = {8, -5, 6};
    p.operators = {Operation::Add, Operation::Subtract};
    p.operandCount = 3;
    p.result = -3;
    EXPECT_EQ(TextsOf(p), (ProblemTexts{u"8＋-5", u"－", u"6", u"-3", u"8＋-5－6＝-3"}));
    p.brackets = Brackets::FirstTwo;
    EXPECT_EQ(TextsOf(p).key, u"（8＋-5）－6＝-3");
    p.brackets = Brackets::LastTwo;
    EXPECT_EQ(TextsOf(p), (ProblemTexts{u"8", u"＋", u"（-5－6）", u"-3", u"8＋（-5－6）＝-3"}));
}

} // namespace
} // namespace sumvarl
