// SPDX-License-Identifier: Apache-2.0
// What a cell costs in memory: each workload typed into the one sheet of a workbook and
// calculated, the heap in use measured before and after. The constants alone are typed
// into a second workbook, which gives the bytes of a constant cell; what the whole sheet
// holds beyond them, divided by its formulas, gives the bytes of a formula cell (its tree,
// its registrations with what it reads, its place in the calculation order and the ranges
// it made). The timings are incidental; the counters are the measurement.
//
// Each workload is measured in a child process of its own: the engine's object pools keep
// what a freed workbook gave back for the next one, so a workload measured after another
// would reuse its blocks and look smaller than it is.
#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "workloads.h"

namespace ostrel::bench {
namespace {

constexpr unsigned kRows = 50000;

// Large blocks may be mapped apart from the heap, depending on what was freed before.
size_t HeapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
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

struct Measured {
    double all = 0;
    double alone = 0;
    char wrong[200] = {};
};

Measured Measure(const std::vector<Input>& inputs, const std::vector<Input>& constants,
                 Workload workload) {
    Measured measured;
    std::string wrong;
    measured.all = BytesHeld(inputs, workload, true, wrong);
    measured.alone = BytesHeld(constants, workload, false, wrong);
    std::strncpy(measured.wrong, wrong.c_str(), sizeof measured.wrong - 1);
    return measured;
}

// The measurement in a fresh child, handed back through a pipe.
bool MeasureApart(const std::vector<Input>& inputs, const std::vector<Input>& constants,
                  Workload workload, Measured& measured) {
    int ends[2];
    if (pipe(ends) != 0) return false;
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        close(ends[0]);
        const Measured result = Measure(inputs, constants, workload);
        const bool sent = write(ends[1], &result, sizeof result) == ssize_t(sizeof result);
        _exit(sent ? 0 : 1);
    }
    close(ends[1]);
    const bool read = ::read(ends[0], &measured, sizeof measured) == ssize_t(sizeof measured);
    close(ends[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return read && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void BytesPerCell(benchmark::State& state, Workload workload) {
    const std::vector<Input> inputs = WorkloadInputs(workload, kRows);
    std::vector<Input> constants;
    for (const Input& input : inputs)
        if (input.text.empty() || input.text[0] != u'=') constants.push_back(input);
    const double formulas = double(inputs.size() - constants.size());
    Measured measured;
    for (auto _ : state) {
        if (!MeasureApart(inputs, constants, workload, measured)) {
            state.SkipWithError("the measuring process failed");
            return;
        }
        if (measured.wrong[0]) {
            state.SkipWithError(measured.wrong);
            return;
        }
    }
    const double all = measured.all, alone = measured.alone;
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
