// The sizes each benchmark runs at: every workload at 1,000, 10,000 and 50,000 rows, now
// that typing and recalculation grow linearly with the rows; the whole grid's ranges at
// 1,000 and 10,000, which is all it takes to show their cost. OSTREL_BENCH_SMALL=1 in the
// environment keeps to 1,000 and 10,000 for a quick run.
#pragma once

#include <array>
#include <cstdlib>
#include <vector>

#include "workloads.h"

namespace ostrel::bench {

inline constexpr std::array kAllWorkloads = {Workload::Chain,        Workload::Fanout,
                                             Workload::RunningTotal, Workload::Sums,
                                             Workload::Diamond,      Workload::WholeGrid};

enum class Kind { BuildTopDown, BuildBottomUp, Recalc };

inline std::vector<unsigned> SizesFor(Workload workload, Kind) {
    const char* small = std::getenv("OSTREL_BENCH_SMALL");
    if ((small && *small == '1') || workload == Workload::WholeGrid) return {1000, 10000};
    return {1000, 10000, 50000};
}

}  // namespace ostrel::bench
