#pragma once

// The main of the benchmarks that paint text. Fonts need the application object for the whole
// run, and it must be gone before the program's static objects are, so it lives on main's stack
// rather than in a function-local static (which crashed at exit); a bench that defines main with
// this is used instead of benchmark_main's.

#include "print/PainterSurface.h"

#include <QtGlobal>
#include <benchmark/benchmark.h>

namespace sumvarl::bench {

template <class Application> int RunWithApplication(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    Application app(argc, argv);
    InstallFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace sumvarl::bench
