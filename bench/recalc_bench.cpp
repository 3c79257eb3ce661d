// SPDX-License-Identifier: Apache-2.0
// Recalculation after one typed change to the cell the whole workload hangs from, on a
// sheet built once beforehand: the cost of keeping a big sheet current.
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "sizes.h"
#include "workloads.h"

namespace ostrel::bench {
namespace {

void RecalculateAfterChange(benchmark::State& state, Workload workload, Road road) {
    const unsigned n = static_cast<unsigned>(state.range(0));
    SheetHolder holder(road);
    host::HostSheet* sheet = holder.Sheet();
    // A lookup table typed before its formulas: typed row by row, each key typed marks every
    // formula typed so far, which is not what is measured here.
    const Order order = workload == Workload::Lookup ? Order::ByColumns : Order::TopDown;
    if (!sheet || !Enter(*sheet, WorkloadInputs(workload, n), order)) {
        state.SkipWithError("a cell refused its input");
        return;
    }
    Recalculate(*sheet);
    double driver = 1;
    for (auto _ : state) {
        driver = driver == 1 ? 2 : 1;  // every change is a real one
        const Input cell = DriverCell(workload, driver);
        if (!sheet->SetCellText(cell.column, cell.row, cell.text)) {
            state.SkipWithError("the driver cell refused its input");
            break;
        }
        Recalculate(*sheet);
    }
    const std::string wrong = CheckResult(*sheet, workload, n, driver);
    if (!wrong.empty()) state.SkipWithError(wrong.c_str());
}

const bool registered = [] {
    for (Road road : {Road::Sheet, Road::Workbook})
        for (Workload workload : kAllWorkloads) {
            const std::string name = std::string(road == Road::Sheet ? "recalc/" : "recalc_book/") +
                                     WorkloadName(workload);
            auto* b =
                benchmark::RegisterBenchmark(name.c_str(), RecalculateAfterChange, workload, road);
            b->Unit(benchmark::kMillisecond)->UseRealTime();
            for (unsigned n : SizesFor(workload, Kind::Recalc, road))
                b->Arg(n);
        }
    return true;
}();

}  // namespace
}  // namespace ostrel::bench
