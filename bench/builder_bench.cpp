#include "core/Math.h"
#include "worksheet/PrintSurface.h"
#include "worksheet/WorksheetBuilder.h"

#include <benchmark/benchmark.h>

namespace {

// Measures the builder itself: metrics are constants and nothing is drawn.
class NullSurface final : public sumvarl::PrintSurface
{
protected:
    double ColumnWidth() const override { return 120; }
    double LineHeight() const override { return 240; }
    double TextWidth(std::u16string_view text) const override
    {
        return 120.0 * static_cast<double>(text.size());
    }
    void DrawText(double, double, std::u16string_view text) override
    {
        benchmark::DoNotOptimize(text.data());
    }
    void Clear() override {}
};

void Settings(std::array<std::int16_t, 5> cumulative, std::int16_t total, std::int16_t range,
              std::int16_t count)
{
    Math::ResetState();
    Math::CumulativeWeight = cumulative;
    Math::WeightTotal = total;
    Math::NumberRange = range;
    Math::ProblemCount = count;
    Math::FillBlankOn = 1;
    Math::FillBlankPercent = 20;
}

void RunBuilds(benchmark::State& state)
{
    NullSurface surface;
    sumvarl::BuildHooks hooks = sumvarl::DefaultBuildHooks();
    int messages = 0;
    hooks.messageBox = [&](std::u16string_view, std::u16string_view) { ++messages; };
    for (auto _ : state) {
        sumvarl::BuildWorksheet(surface, hooks);
    }
    state.counters["messages/build"] =
        benchmark::Counter(messages, benchmark::Counter::kAvgIterations);
}

void BM_Build100AllOperations(benchmark::State& state)
{
    Settings({25, 50, 75, 100, 0}, 100, 100, 100);
    RunBuilds(state);
}
BENCHMARK(BM_Build100AllOperations)->Unit(benchmark::kMicrosecond);

void BM_Build200AllOperations(benchmark::State& state)
{
    Settings({25, 50, 75, 100, 0}, 100, 100, 200);
    RunBuilds(state);
}
BENCHMARK(BM_Build200AllOperations)->Unit(benchmark::kMicrosecond);

// Only 46 different additions exist below 10, so problem 47 exhausts its 1000 attempts.
void BM_BuildGiveUp(benchmark::State& state)
{
    Settings({25, 25, 25, 25, 0}, 25, 10, 50);
    RunBuilds(state);
}
BENCHMARK(BM_BuildGiveUp)->Unit(benchmark::kMicrosecond);

} // namespace
