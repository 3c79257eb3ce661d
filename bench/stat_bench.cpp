// SPDX-License-Identifier: Apache-2.0
// Statistical functions over one column of N numbers, each run as a formula typed into a cell
// and calculated: those that walk their range once (AVERAGE, MAX, VAR) against those that
// gather the numbers and select or sort them (MEDIAN, MODE), on distinct values and on values
// all equal (where a careless quicksort turns quadratic), with SUM's walk as the baseline.
#include <cmath>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "workloads.h"

namespace ostrel::bench {
namespace {

struct Aggregation {
    const char* name;
    double (*expected)(double n, bool equal);  // column A holds 1..n, or n fives
};

const Aggregation kAggregations[] = {
    // The range walk alone, for comparison.
    {"SUM", [](double n, bool equal) { return equal ? 5 * n : n * (n + 1) / 2; }},
    {"AVERAGE", [](double n, bool equal) { return equal ? 5 : (n + 1) / 2; }},
    {"MAX", [](double n, bool equal) { return equal ? 5 : n; }},
    {"VAR", [](double n, bool equal) { return equal ? 0 : n * (n + 1) / 12; }},
    {"MEDIAN", [](double n, bool equal) { return equal ? 5 : (n + 1) / 2; }},
    {"MODE", [](double, bool) { return 5.0; }},  // distinct values: the column holds two fives
};

std::u16string Utf16(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

void Aggregate(benchmark::State& state, const Aggregation& aggregation, bool equal) {
    const unsigned n = static_cast<unsigned>(state.range(0));
    SheetHolder holder(Road::Workbook);
    host::HostSheet* sheet = holder.Sheet();
    std::vector<Input> inputs;
    for (unsigned r = 0; r < n; ++r)
        inputs.push_back({0, r, Utf16(equal ? "5" : std::to_string(r + 1))});
    if (!equal) inputs.push_back({0, n, u"5"});  // MODE needs a repeated value
    if (!sheet || !Enter(*sheet, inputs, Order::TopDown)) {
        state.SkipWithError("a cell refused its input");
        return;
    }
    const std::u16string formula =
        Utf16("=" + std::string(aggregation.name) + "(A1:A" + std::to_string(n) + ")");
    const std::u16string modeFormula = Utf16("=MODE(A1:A" + std::to_string(n + 1) + ")");
    const bool mode = std::string(aggregation.name) == "MODE";
    for (auto _ : state) {
        if (!sheet->SetCellText(2, 0, mode ? modeFormula : formula)) {
            state.SkipWithError("the formula was refused");
            return;
        }
        Recalculate(*sheet);
    }
    CCCellValue value;
    host::HostCell* cell = sheet->FindCell(2, 0);
    if (cell) cell->GetValue(value);
    const double expected = aggregation.expected(n, equal);
    if (!value.IsNumber() ||
        std::fabs(value.GetNumber() - expected) > 1e-9 * std::max(1.0, std::fabs(expected)))
        state.SkipWithError("wrong result");
    state.counters["values/s"] =
        benchmark::Counter(double(n), benchmark::Counter::kIsIterationInvariantRate);
}

const bool registered = [] {
    for (const Aggregation& aggregation : kAggregations)
        for (bool equal : {false, true}) {
            const std::string name =
                std::string("stat/") + aggregation.name + (equal ? "/equal" : "/distinct");
            auto* b = benchmark::RegisterBenchmark(name.c_str(), Aggregate, aggregation, equal);
            b->Unit(benchmark::kMicrosecond)->UseRealTime()->Arg(1000)->Arg(60000);
        }
    return true;
}();

}  // namespace
}  // namespace ostrel::bench
