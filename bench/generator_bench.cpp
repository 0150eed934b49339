#include "core/Math.h"
#include "core/RandomSource.h"

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
