// SPDX-License-Identifier: Apache-2.0
// The sizes each benchmark runs at: every workload at 1,000, 10,000 and 50,000 rows, now
// that typing and recalculation grow linearly with the rows; the whole grid's ranges at
// 1,000 and 10,000, which is all it takes to show their cost; running totals at 30,000,
// where walking their ranges took a minute. OSTREL_BENCH_SMALL=1 in the
// environment keeps to 1,000 and 10,000 for a quick run.
#pragma once

#include <array>
#include <cstdlib>
#include <vector>

#include "workloads.h"

namespace ostrel::bench {

inline constexpr std::array kAllWorkloads = {
    Workload::Chain,      Workload::Fanout,      Workload::RunningTotal, Workload::Sums,
    Workload::Diamond,    Workload::WholeGrid,   Workload::Lookup,       Workload::Prefix,
    Workload::ColumnSums, Workload::ColumnStats, Workload::SelfSearch};

enum class Kind { BuildTopDown, BuildBottomUp, BuildByColumns, Recalc };

// Lookups typed row by row into a sheet alone are recalculated whenever a key is typed below
// them (that road recalculates at once): building costs N^2/2 searches there, so it runs at
// one size. On the workbook road, typing 50,000 rows of them still takes minutes (each key
// typed marks every lookup typed so far), so building row by row stops at 10,000; typed by
// columns (the table first), it runs at every size.
inline std::vector<unsigned> SizesFor(Workload workload, Kind kind, Road road = Road::Workbook) {
    const char* small = std::getenv("OSTREL_BENCH_SMALL");
    const bool quick = small && *small == '1';
    const bool byRows = kind == Kind::BuildTopDown || kind == Kind::BuildBottomUp;
    if (workload == Workload::Lookup && byRows)
        return road == Road::Sheet ? std::vector<unsigned>{1000}
                                   : std::vector<unsigned>{1000, 10000};
    // Rows typed from the bottom make each number typed a change to every total below it.
    if (workload == Workload::Prefix && kind == Kind::BuildBottomUp) return {1000};
    // On a sheet alone every search typed so far runs again for each key typed.
    if (workload == Workload::SelfSearch && road == Road::Sheet && byRows) return {1000, 10000};
    if (quick || workload == Workload::WholeGrid) return {1000, 10000};
    if (workload == Workload::Prefix) return {1000, 10000, 30000};
    return {1000, 10000, 50000};
}

}  // namespace ostrel::bench
