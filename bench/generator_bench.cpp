#include "core/Math.h"
#include "core/RandomSource.h"
#include "core/Sheet.h"

#include <benchmark/benchmark.h>

namespace {

void AllOperations()
{
    Math::ResetState();
    Math::CumulativeWeight = {25, 50, 75, 100, 0};
    Math::WeightTotal = 100;
}

// The real program path: the shared generator re-seeded from the system clock twice a call.
void BM_GenerateProblem(benchmark::State& state)
{
    AllOperations();
    for (auto _ : state) {
        Math::GenerateProblem(100);
        benchmark::DoNotOptimize(Math::CurrentKey.data());
    }
}
BENCHMARK(BM_GenerateProblem);

// The same with a frozen clock, to show what the clock read costs.
void BM_GenerateProblemFrozenClock(benchmark::State& state)
{
    AllOperations();
    sumvarl::ClockRandom random(7, [] { return std::uint64_t{42}; });
    for (auto _ : state) {
        Math::GenerateProblem(100, random);
        benchmark::DoNotOptimize(Math::CurrentKey.data());
    }
}
BENCHMARK(BM_GenerateProblemFrozenClock);

} // namespace

namespace {

sumvarl::SheetSpec ChainRecipe(sumvarl::ProblemShape shape, int range, int count)
{
    sumvarl::PartSpec part;
    part.shape = shape;
    part.numberRange = static_cast<std::int16_t>(range);
    part.problemCount = static_cast<std::int16_t>(count);
    part.fillBlankOn = 1;
    part.fillBlankPercent = 20;
    return {{part}, 0};
}

// A 200-problem sheet of chains with brackets within 100, on the system clock as the program
// draws it. Target: under 5 ms.
void BM_BracketedChainSheet200(benchmark::State& state)
{
    const sumvarl::SheetSpec recipe = ChainRecipe(sumvarl::ProblemShape::Bracketed, 100, 200);
    sumvarl::ClockRandom random(7);
    for (auto _ : state) {
        const sumvarl::SheetProblems sheet = sumvarl::DrawSheetProblems(recipe, random);
        benchmark::DoNotOptimize(sheet.problems.data());
    }
}
BENCHMARK(BM_BracketedChainSheet200)->Unit(benchmark::kMicrosecond);

// One chain more than there are (带小括号 within 3 has 104): the sheet gives up after its limit
// of failed draws for the 105th. Target: under 5 ms, as the one-operation give-up path.
void BM_ChainGiveUp(benchmark::State& state)
{
    const sumvarl::SheetSpec recipe = ChainRecipe(sumvarl::ProblemShape::Bracketed, 3, 105);
    sumvarl::ClockRandom random(7);
    for (auto _ : state) {
        const sumvarl::SheetProblems sheet = sumvarl::DrawSheetProblems(recipe, random);
        if (!sheet.fellShort) {
            state.SkipWithError("the sheet did not give up");
        }
        benchmark::DoNotOptimize(sheet.problems.data());
    }
}
BENCHMARK(BM_ChainGiveUp)->Unit(benchmark::kMicrosecond);

sumvarl::SheetSpec ThreeStepRecipe(int range, int count)
{
    sumvarl::SheetSpec recipe = ChainRecipe(sumvarl::ProblemShape::ThreeSteps, range, count);
    recipe.parts[0].lesson.tableFrom = 2;
    return recipe;
}

// A 200-problem sheet of three steps with brackets (72÷［(5－2)×3］) within 100, tables 2 to 9,
// as 四年级下 · 带中括号的四则运算 draws them. Target: under 5 ms.
void BM_ThreeStepSheet200(benchmark::State& state)
{
    const sumvarl::SheetSpec recipe = ThreeStepRecipe(100, 200);
    sumvarl::ClockRandom random(7);
    for (auto _ : state) {
        const sumvarl::SheetProblems sheet = sumvarl::DrawSheetProblems(recipe, random);
        benchmark::DoNotOptimize(sheet.problems.data());
    }
}
BENCHMARK(BM_ThreeStepSheet200)->Unit(benchmark::kMicrosecond);

// One three-step chain more than there are (within 6, tables 2 to 9: 72): the sheet gives up
// after its limit of failed draws. Target: under 5 ms.
void BM_ThreeStepGiveUp(benchmark::State& state)
{
    const sumvarl::SheetSpec recipe = ThreeStepRecipe(6, 73);
    sumvarl::ClockRandom random(7);
    for (auto _ : state) {
        const sumvarl::SheetProblems sheet = sumvarl::DrawSheetProblems(recipe, random);
        if (!sheet.fellShort) {
            state.SkipWithError("the sheet did not give up");
        }
        benchmark::DoNotOptimize(sheet.problems.data());
    }
}
BENCHMARK(BM_ThreeStepGiveUp)->Unit(benchmark::kMicrosecond);

} // namespace
