// The sizes each benchmark runs at. While recalculation along long dependency paths is
// quadratic, sizes whose single run would take more than about 20 s are left out (their
// measured cost is in bench/README.md) so that `make bench` ends; OSTREL_BENCH_ALL_SIZES=1
// in the environment runs every size regardless.
#pragma once

#include <array>
#include <cstdlib>
#include <vector>

#include "workloads.h"

namespace ostrel::bench {

inline constexpr std::array kAllWorkloads = {
    Workload::Chain, Workload::Fanout, Workload::RunningTotal, Workload::Sums, Workload::Diamond};

enum class Kind { BuildTopDown, BuildBottomUp, Recalc };

inline std::vector<unsigned> SizesFor(Workload workload, Kind kind) {
    const char* all = std::getenv("OSTREL_BENCH_ALL_SIZES");
    if (all && *all == '1') return {1000, 10000, 50000};
    switch (workload) {
        case Workload::Fanout:
            // Recalculating 50,000 direct dependents after one change took 47 s; typed
            // bottom-up every new cell recalculates those already typed.
            if (kind != Kind::BuildTopDown) return {1000, 10000};
            return {1000, 10000, 50000};
        case Workload::Sums:
            return {1000, 10000, 50000};
        case Workload::Chain:
        case Workload::RunningTotal:
            if (kind == Kind::BuildBottomUp) return {1000};
            return {1000, 10000};
        case Workload::Diamond:
            return {1000};
    }
    return {1000};
}

}  // namespace ostrel::bench
