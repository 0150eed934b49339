// Every preset by grade is a lesson Start would accept, allows enough different problems for its
// parts' counts, and makes a whole sheet of that many problems with the header's total.

#include "core/Lesson.h"
#include "core/Sheet.h"
#include "core/Vertical.h"
#include "wording/Presets.h"

#include <gtest/gtest.h>
#include <set>

namespace sumvarl {
namespace {

TEST(Presets, EveryPresetMakesItsWholeSheet)
{
    std::set<QString> names;
    for (const Preset& preset : GradePresets()) {
        const std::string shown = preset.FullName().toStdString();
        EXPECT_TRUE(names.insert(preset.FullName()).second) << shown;
        EXPECT_LE(preset.ProblemCount(), MaxSheetProblems) << shown;
        for (const PartSpec& part : preset.parts) {
            if (part.vertical != VerticalKind::None) {
                EXPECT_GE(DifferentVerticalProblems(part), part.problemCount) << shown;
                continue;
            }
            CountInputs in;
            in.weightTotal = part.weightTotal;
            std::copy(part.cumulativeWeight.begin(), part.cumulativeWeight.end(),
                      in.cumulativeWeight.begin());
            in.numberRange = part.numberRange;
            in.lesson = part.lesson;
            in.shape = part.shape;
            EXPECT_EQ(CheckLesson(in), LessonRefusal::None) << shown;
            EXPECT_GE(DifferentProblems(in), part.problemCount) << shown;
        }
        for (std::uint64_t seed = 1; seed <= 5; ++seed) {
            const Sheet sheet = MakeSheet({preset.parts, seed});
            EXPECT_FALSE(sheet.fellShort) << shown;
            EXPECT_EQ(static_cast<int>(sheet.problems.size()), preset.ProblemCount()) << shown;
        }
    }
    EXPECT_TRUE(FindPreset(QStringLiteral(" 二年级上 · 100以内连加连减 ")));
    EXPECT_TRUE(FindPreset(QStringLiteral("表内除法")));
    EXPECT_FALSE(FindPreset(QStringLiteral("二年级上")));
    EXPECT_TRUE(IsVerticalSheet({FindPreset(QStringLiteral("竖式：除数是一位数的除法"))->parts}));
}

} // namespace
} // namespace sumvarl
