// SPDX-License-Identifier: Apache-2.0
// Workbook files: writing a calculated workbook's file bytes, and reading them into a new
// workbook up to the point where its values can be read (nothing is calculated again but
// what reads the clock). Beside build_book/ of build_bench, which types the same workloads.
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "facade/book_file.h"
#include "sizes.h"
#include "workloads.h"

namespace ostrel::bench {
namespace {

// A calculated workbook of the workload, or null after telling state why not.
std::unique_ptr<SheetHolder> Calculated(benchmark::State& state, Workload workload, unsigned n) {
    auto holder = std::make_unique<SheetHolder>(Road::Workbook);
    if (!Enter(*holder->Sheet(), WorkloadInputs(workload, n), Order::TopDown)) {
        state.SkipWithError("a cell refused its input");
        return nullptr;
    }
    Recalculate(*holder->Sheet());
    return holder;
}

void Save(benchmark::State& state, Workload workload) {
    const unsigned n = static_cast<unsigned>(state.range(0));
    std::unique_ptr<SheetHolder> holder = Calculated(state, workload, n);
    if (!holder) return;
    std::string bytes, error;
    for (auto _ : state) {
        if (!host::WriteBook(*holder->Sheet()->GetHostWorkbook(), bytes, error)) {
            state.SkipWithError(error.c_str());
            break;
        }
    }
    state.counters["bytes"] = double(bytes.size());
}

void Load(benchmark::State& state, Workload workload) {
    const unsigned n = static_cast<unsigned>(state.range(0));
    std::string bytes, error;
    {
        std::unique_ptr<SheetHolder> holder = Calculated(state, workload, n);
        if (!holder || !host::WriteBook(*holder->Sheet()->GetHostWorkbook(), bytes, error)) return;
    }
    for (auto _ : state) {
        std::unique_ptr<host::HostWorkbook> book = host::ReadBook(bytes, "", error);
        if (!book) {
            state.SkipWithError(error.c_str());
            break;
        }
        book->RecalculateAll();
        state.PauseTiming();
        const std::string wrong = CheckResult(*book->SheetAt(1), workload, n, 1);
        book.reset();
        state.ResumeTiming();
        if (!wrong.empty()) {
            state.SkipWithError(wrong.c_str());
            break;
        }
    }
}

const bool registered = [] {
    for (Workload workload : {Workload::Chain, Workload::Sums, Workload::Lookup}) {
        for (bool saving : {true, false}) {
            const std::string name =
                std::string(saving ? "book_save/" : "book_load/") + WorkloadName(workload);
            auto* b = benchmark::RegisterBenchmark(name.c_str(), saving ? Save : Load, workload);
            b->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
            // Lookups are typed by rows here, which the workbook road keeps small.
            for (unsigned size : SizesFor(workload, Kind::BuildByColumns))
                if (workload != Workload::Lookup || size <= 10000) b->Arg(size);
        }
    }
    return true;
}();

}  // namespace
}  // namespace ostrel::bench
