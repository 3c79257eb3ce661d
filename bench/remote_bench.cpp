// SPDX-License-Identifier: Apache-2.0
// Reading a range of another document, value by value through the request protocol, beside
// reading the same range locally: MAX over 50,000 numbers of one column, typed again every
// iteration so that it is evaluated (MAX, unlike SUM, has no running sums to answer from).
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "ostrel/calc_book.h"

namespace {

constexpr int kRows = 50000;

struct Books {
    Books() {
        data = ostrel::MakeCalcBook("");
        reader = ostrel::MakeCalcBook("");
        values = data->AddSheet(u"Values");
        report = reader->AddSheet(u"Report");
        for (int row = 0; row < kRows; ++row)
            values->SetCellText(0, row, std::to_string((row * 7919) % kRows));
        data->RecalculateAll();
        reader->AddDocument(u"data", *data);
    }
    std::unique_ptr<ostrel::CalcBook> data, reader;
    ostrel::CalcSheet *values, *report;
};

const std::string kRange = "A1:A" + std::to_string(kRows);

void ReadLocally(benchmark::State& state) {
    Books books;
    const std::string formula = "=MAX(" + kRange + ")";
    for (auto _ : state) {
        books.values->SetCellText(1, 0, formula);
        books.data->RecalculateAll();
    }
    if (books.values->GetCellValue(1, 0).number != kRows - 1) state.SkipWithError("wrong MAX");
    state.counters["values/s"] =
        benchmark::Counter(double(kRows) * double(state.iterations()), benchmark::Counter::kIsRate);
}

void ReadRemotely(benchmark::State& state) {
    Books books;
    const std::string formula = "=MAX(REMOTE(\"data\",\"" + kRange + "\"))";
    for (auto _ : state) {
        books.report->SetCellText(0, 0, formula);
        books.reader->RecalculateAll();
    }
    if (books.report->GetCellValue(0, 0).number != kRows - 1) state.SkipWithError("wrong MAX");
    state.counters["values/s"] =
        benchmark::Counter(double(kRows) * double(state.iterations()), benchmark::Counter::kIsRate);
}

BENCHMARK(ReadLocally)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadRemotely)->Unit(benchmark::kMillisecond);

}  // namespace
