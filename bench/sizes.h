// The sizes each benchmark runs at. Sizes whose single run would take more than about 20 s
// are left out so that `make bench` ends: typing a long chain from the bottom checks every
// new formula for a cycle through all the formulas below it, which is quadratic (its cost is
// in bench/README.md). OSTREL_BENCH_ALL_SIZES=1 in the environment runs every size.
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
        case Workload::Sums:
            return {1000, 10000, 50000};
        case Workload::Chain:
        case Workload::RunningTotal:
            if (kind == Kind::BuildBottomUp) return {1000};
            return {1000, 10000, 50000};
        case Workload::Diamond:
            if (kind == Kind::BuildBottomUp) return {1000};
            return {1000, 10000};
    }
    return {1000};
}

}  // namespace ostrel::bench
