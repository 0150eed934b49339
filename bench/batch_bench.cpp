// sumvarl-batch's work for a class: 40 sheets of 100 problems, every operation, a share of
// fill-in problems, each sheet followed by its answer key (80 pages), written to one PDF.
//
//   build/dev/bench/sumvarl_batch_bench --benchmark_repetitions=9
//       --benchmark_report_aggregates_only=true   (one command line)
//
// BM_Batch40SheetsWithAnswers    the whole run as the program does it after start-up: options,
//                                settings, 40 builds, 80 pages of PDF, the atomic commit
// BM_Vertical200WithKey          one 竖式 sheet of 200 divisions and its worked key, 50 pages
// BM_Batch40SheetsNoPdf          the same 40 builds without any PDF, for the share of the
//                                generator and builder

#include "batch/BatchRun.h"
#include "bench/BenchMain.h"
#include "core/Math.h"
#include "core/RandomSource.h"
#include "print/PainterSurface.h"
#include "worksheet/WorksheetBuilder.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>
#include <benchmark/benchmark.h>

namespace {

const QStringList Settings{"--add", "25",     "--sub", "25",      "--mul", "25",       "--div",
                           "25",    "--fill", "30",    "--count", "100",   "--copies", "40"};

void BM_Batch40SheetsWithAnswers(benchmark::State& state)
{
    QTemporaryDir folder;
    const QStringList arguments =
        QStringList{QStringLiteral("sumvarl-batch")} + Settings +
        QStringList{"--answers", "--seed", "1", "-o", folder.filePath(QStringLiteral("class.pdf"))};
    QString sink;
    for (auto _ : state) {
        sink.clear();
        QTextStream out(&sink);
        QTextStream err(&sink);
        if (sumvarl::batch::BatchMain(arguments, out, err) != 0) {
            state.SkipWithError("sumvarl-batch failed");
            break;
        }
    }
    state.counters["pages"] = 80;
}
BENCHMARK(BM_Batch40SheetsWithAnswers)->Unit(benchmark::kMillisecond);

// One 竖式 sheet of 200 long divisions (the longest working: up to eight rows each), 8 a page,
// then its worked key: 50 pages.
void BM_Vertical200WithKey(benchmark::State& state)
{
    QTemporaryDir folder;
    const QStringList arguments{"sumvarl-batch",
                                "--vertical",
                                "divide-1",
                                "--remainder",
                                "--count",
                                "200",
                                "--per-page",
                                "8",
                                "--grid",
                                "--check",
                                "--answers",
                                "--seed",
                                "1",
                                "-o",
                                folder.filePath(QStringLiteral("v.pdf"))};
    QString sink;
    for (auto _ : state) {
        sink.clear();
        QTextStream out(&sink);
        QTextStream err(&sink);
        if (sumvarl::batch::BatchMain(arguments, out, err) != 0) {
            state.SkipWithError(qPrintable(sink));
            break;
        }
    }
    state.counters["pages"] = 50;
}
BENCHMARK(BM_Vertical200WithKey)->Unit(benchmark::kMillisecond);

void BM_Batch40SheetsNoPdf(benchmark::State& state)
{
    Math::ResetState();
    Math::CumulativeWeight = {25, 50, 75, 100, 0};
    Math::WeightTotal = 100;
    Math::NumberRange = 100;
    Math::ProblemCount = 100;
    Math::FillBlankOn = 1;
    Math::FillBlankPercent = 30;
    sumvarl::ClockRandom random(1, [] { return std::uint64_t{0}; });
    sumvarl::BuildHooks hooks;
    hooks.random = &random;
    for (auto _ : state) {
        for (int sheet = 0; sheet < 40; ++sheet) {
            sumvarl::FillWorksheetTable(hooks);
        }
        benchmark::DoNotOptimize(Math::WorksheetTable.ProblemKey[100].data());
    }
}
BENCHMARK(BM_Batch40SheetsNoPdf)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return sumvarl::bench::RunWithApplication<QGuiApplication>(argc, argv);
}
