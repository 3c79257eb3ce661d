// SPDX-License-Identifier: Apache-2.0
// The engine wants its process-wide start before any sheet exists and its end after the
// last one is gone, so the benchmark programs share this main instead of the library's.
#include <benchmark/benchmark.h>

#include "ostrel/engine/module.h"

int main(int argc, char** argv) {
    QXCellInit();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    QXCellExit();
    return 0;
}
