// The sizes each benchmark runs at. Sizes whose single run takes far longer than the others
// are left out (listed in bench/README.md with their times) so that `make bench` ends.
#pragma once

#include <array>
#include <vector>

#include "workloads.h"

namespace ostrel::bench {

inline constexpr std::array kAllWorkloads = {
    Workload::Chain, Workload::Fanout, Workload::RunningTotal, Workload::Sums, Workload::Diamond};

inline std::vector<unsigned> SizesFor(Workload /*workload*/, bool /*bottomUp*/) {
    return {1000, 10000, 50000};
}

}  // namespace ostrel::bench
