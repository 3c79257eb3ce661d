// SPDX-License-Identifier: Apache-2.0
// What a cell costs in memory: each workload typed into the one sheet of a workbook and
// calculated, the heap in use measured before and after. The constants alone are typed
// into a second workbook, which gives the bytes of a constant cell; what the whole sheet
// holds beyond them, divided by its formulas, gives the bytes of a formula cell (its tree,
// its registrations with what it reads, its place in the calculation order and the ranges
// it made). The timings are incidental; the counters are the measurement.
#include <malloc.h>

#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "workloads.h"

namespace ostrel::bench {
namespace {

constexpr unsigned kRows = 50000;

size_t HeapInUse() {
    return mallinfo2().uordblks;
}

// Heap bytes that a workbook holding inputs keeps once they are typed and calculated.
double BytesHeld(const std::vector<Input>& inputs, Workload workload, bool check,
                 std::string& wrong) {
    const size_t before = HeapInUse();
    auto holder = std::make_unique<SheetHolder>(Road::Workbook);
    if (!Enter(*holder->Sheet(), inputs, Order::TopDown)) wrong = "a cell refused its input";
    Recalculate(*holder->Sheet());
    const double held = double(HeapInUse()) - double(before);
    if (check && wrong.empty()) wrong = CheckResult(*holder->Sheet(), workload, kRows, 1);
    return held;
}

void BytesPerCell(benchmark::State& state, Workload workload) {
    const std::vector<Input> inputs = WorkloadInputs(workload, kRows);
    std::vector<Input> constants;
    for (const Input& input : inputs)
        if (input.text.empty() || input.text[0] != u'=') constants.push_back(input);
    const double formulas = double(inputs.size() - constants.size());
    double all = 0, alone = 0;
    std::string wrong;
    for (auto _ : state) {
        all = BytesHeld(inputs, workload, true, wrong);
        alone = BytesHeld(constants, workload, false, wrong);
        if (!wrong.empty()) {
            state.SkipWithError(wrong.c_str());
            return;
        }
    }
    state.counters["constants"] = double(constants.size());
    state.counters["formulas"] = formulas;
    // A handful of constants would only show the workbook's own fixed cost.
    if (constants.size() >= 1000)
        state.counters["bytes_per_constant"] = alone / double(constants.size());
    state.counters["bytes_per_formula"] = formulas > 0 ? (all - alone) / formulas : 0;
    state.counters["MiB"] = all / (1024.0 * 1024.0);
}

const bool registered = [] {
    for (Workload workload : {Workload::Chain, Workload::Fanout, Workload::Sums, Workload::Lookup,
                              Workload::Prefix, Workload::ColumnSums}) {
        const std::string name = std::string("memory/") + WorkloadName(workload);
        benchmark::RegisterBenchmark(name.c_str(), BytesPerCell, workload)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
    }
    return true;
}();

}  // namespace
}  // namespace ostrel::bench
