// SPDX-License-Identifier: Apache-2.0
// Typing a whole workload into an empty sheet and calculating it, rows entered from the
// top or from the bottom (the latter makes every formula read cells that do not exist yet
// and hear of them later), and the lookups also column by column (their table first).
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "sizes.h"
#include "workloads.h"

namespace ostrel::bench {
namespace {

void BuildAndCalculate(benchmark::State& state, Workload workload, Order order, Road road) {
    const unsigned n = static_cast<unsigned>(state.range(0));
    const std::vector<Input> inputs = WorkloadInputs(workload, n);
    for (auto _ : state) {
        auto holder = std::make_unique<SheetHolder>(road);
        host::HostSheet* sheet = holder->Sheet();
        if (!Enter(*sheet, inputs, order)) {
            state.SkipWithError("a cell refused its input");
            break;
        }
        Recalculate(*sheet);
        state.PauseTiming();
        const std::string wrong = CheckResult(*sheet, workload, n, 1);
        holder.reset();
        state.ResumeTiming();
        if (!wrong.empty()) {
            state.SkipWithError(wrong.c_str());
            break;
        }
    }
    state.counters["cells/s"] =
        benchmark::Counter(double(inputs.size()), benchmark::Counter::kIsIterationInvariantRate);
}

const bool registered = [] {
    for (Road road : {Road::Sheet, Road::Workbook})
        for (Workload workload : kAllWorkloads)
            for (Order order : {Order::TopDown, Order::BottomUp, Order::ByColumns}) {
                // Whole columns first only for the lookups: their table before their formulas.
                if (order == Order::ByColumns && workload != Workload::Lookup) continue;
                const std::string name =
                    std::string(road == Road::Sheet ? "build/" : "build_book/") +
                    WorkloadName(workload) +
                    (order == Order::TopDown    ? "/top_down"
                     : order == Order::BottomUp ? "/bottom_up"
                                                : "/by_columns");
                auto* b = benchmark::RegisterBenchmark(name.c_str(), BuildAndCalculate, workload,
                                                       order, road);
                b->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
                const Kind kind = order == Order::TopDown    ? Kind::BuildTopDown
                                  : order == Order::BottomUp ? Kind::BuildBottomUp
                                                             : Kind::BuildByColumns;
                for (unsigned n : SizesFor(workload, kind, road))
                    b->Arg(n);
            }
    return true;
}();

}  // namespace
}  // namespace ostrel::bench
