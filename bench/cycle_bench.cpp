// SPDX-License-Identifier: Apache-2.0
// Typing sheets in which every new formula reads a cell that already holds one, so that
// each must be checked for a cycle it might close: a chain typed against its direction
// (row i: A = B(i+1)+1, B = A(i)+1, each new B the head of everything typed so far), and a
// ring of formulas alternating between two sheets, closed by the last one typed.
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "ostrel/cells/cell_value.h"
#include "sizes.h"
#include "workloads.h"

namespace ostrel::bench {
namespace {

std::u16string Text(const std::string& ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

void AgainstTheChain(benchmark::State& state, Road road) {
    const unsigned n = static_cast<unsigned>(state.range(0));
    std::vector<Input> inputs;
    for (unsigned r = 0; r < n; ++r) {
        inputs.push_back({0, r, Text("=B" + std::to_string(r + 2) + "+1")});
        inputs.push_back({1, r, Text("=A" + std::to_string(r + 1) + "+1")});
    }
    for (auto _ : state) {
        auto holder = std::make_unique<SheetHolder>(road);
        host::HostSheet* sheet = holder->Sheet();
        if (!Enter(*sheet, inputs, Order::TopDown)) {
            state.SkipWithError("a cell refused its input");
            break;
        }
        Recalculate(*sheet);
        state.PauseTiming();
        // Row n reads an empty cell: A_n = 1, B_n = 2, and each row above adds 2.
        const std::u16string b1 = sheet->GetCellValueText(1, 0);
        holder.reset();
        state.ResumeTiming();
        if (b1 != Text(std::to_string(2 * n))) {
            state.SkipWithError("B1 is not 2n");
            break;
        }
    }
    state.counters["cells/s"] =
        benchmark::Counter(double(inputs.size()), benchmark::Counter::kIsIterationInvariantRate);
}

void RingOfTwoSheets(benchmark::State& state) {
    const unsigned n = static_cast<unsigned>(state.range(0));
    for (auto _ : state) {
        auto book = std::make_unique<host::HostWorkbook>();
        host::HostSheet* ping = book->AddSheet(u"ping");
        host::HostSheet* pong = book->AddSheet(u"pong");
        for (unsigned r = 0; r < n; ++r)
            ping->SetCellText(0, r, Text("=pong!A" + std::to_string(r + 1) + "+1"));
        for (unsigned r = 0; r < n; ++r)
            pong->SetCellText(0, r, Text("=ping!A" + std::to_string(r + 1 < n ? r + 2 : 1) + "+1"));
        book->RecalculateAll();
        state.PauseTiming();
        CCCellValue last;
        if (host::HostCell* cell = pong->FindCell(0, n - 1)) cell->GetValue(last);
        book.reset();
        state.ResumeTiming();
        if (!last.IsError() || last.GetError() != 5) {
            state.SkipWithError("the formula closing the ring is not circular");
            break;
        }
    }
    state.counters["cells/s"] =
        benchmark::Counter(double(2 * n), benchmark::Counter::kIsIterationInvariantRate);
}

const bool registered = [] {
    for (Road road : {Road::Sheet, Road::Workbook}) {
        auto* b = benchmark::RegisterBenchmark(
            road == Road::Sheet ? "cycle/against_chain" : "cycle_book/against_chain",
            AgainstTheChain, road);
        b->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
        for (unsigned n : SizesFor(Workload::Chain, Kind::BuildTopDown))
            b->Arg(n);
    }
    auto* ring = benchmark::RegisterBenchmark("cycle_book/ring_of_two_sheets", RingOfTwoSheets);
    ring->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
    for (unsigned n : SizesFor(Workload::Chain, Kind::BuildTopDown))
        ring->Arg(n / 2);
    return true;
}();

}  // namespace
}  // namespace ostrel::bench
