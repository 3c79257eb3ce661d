// SPDX-License-Identifier: Apache-2.0
// Display of a million values through number formats: custom codes rendered by their
// parsed form from the format-code cache, beside the classic formats they resemble. Times
// are per million values, so milliseconds read as nanoseconds per value; allocs_per_value
// counts the heap allocations of the rendering itself (the output buffer is reused, so
// this should be 0).
#include <atomic>
#include <cstdlib>
#include <new>
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "ostrel/formats/date_serial.h"
#include "ostrel/formats/number_format.h"
#include "ostrel/formula/lctx.h"
#include "ostrel/platform/wide_stream.h"

namespace {

std::atomic<long long> g_allocations{0};

}  // namespace

void* operator new(std::size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

constexpr int kValues = 1000000;

enum class Values { Money, DateTimes, Fractions };

std::vector<double> MakeValues(Values kind) {
    std::mt19937_64 rng(42);
    std::uniform_real_distribution<double> unit(0, 1);
    std::vector<double> values(kValues);
    for (double& v : values) {
        switch (kind) {
            case Values::Money:  // cents from -1,000,000 to 1,000,000
                v = std::round((unit(rng) * 2 - 1) * 1e8) / 100;
                break;
            case Values::DateTimes:  // 1990 to 2050, to the minute
                v = DateToDouble(1, 1, 1990) + std::round(unit(rng) * 60 * 365.25 * 1440) / 1440;
                break;
            case Values::Fractions:
                v = unit(rng) * 100;
                break;
        }
    }
    return values;
}

void Display(benchmark::State& state, CCNumberFormat format, Values kind) {
    const std::vector<double> values = MakeValues(kind);
    cells::LCTX* lctx = cells::invariant_LCTX();
    ostrel::platform::CWideOutStream out;
    format.Print(lctx, out, values[0], 0);  // parses a code, sizes the buffer
    long long allocations = 0;
    for (auto _ : state) {
        long long before = g_allocations.load(std::memory_order_relaxed);
        for (double v : values) {
            out.clear();
            format.Print(lctx, out, v, 0);
            benchmark::DoNotOptimize(out.str().data());
        }
        allocations += g_allocations.load(std::memory_order_relaxed) - before;
    }
    state.SetItemsProcessed(state.iterations() * kValues);
    state.counters["allocs_per_value"] = double(allocations) / double(state.iterations() * kValues);
}

CCNumberFormat Custom(std::u16string_view code) {
    CCNumberFormat f;
    f.setCustomFormat(code);
    return f;
}

CCNumberFormat ClassicNumber() {
    CCNumberFormat f(C_NF_NUMBER);
    f.SetPrecision(2);
    f.SetCommas(1);
    f.SetNegBr(1);
    return f;
}

CCNumberFormat ClassicDateTime() {
    CCNumberFormat f(C_NF_DATE);
    f.SetTime(1);
    return f;
}

CCNumberFormat ClassicFraction() {
    CCNumberFormat f(C_NF_FRACTION);
    f.SetPrecision(0);  // best fit
    return f;
}

const bool registered = [] {
    struct Case {
        const char* name;
        CCNumberFormat (*make)();
        Values values;
    };
    static const Case cases[] = {
        {"format/classic/number_2_grouped_brackets", ClassicNumber, Values::Money},
        {"format/custom/#,##0.00;[Red](#,##0.00)",
         [] { return Custom(u"#,##0.00;[Red](#,##0.00)"); }, Values::Money},
        {"format/classic/date_and_time", ClassicDateTime, Values::DateTimes},
        {"format/custom/m/d/yyyy h:mm AM/PM", [] { return Custom(u"m/d/yyyy h:mm AM/PM"); },
         Values::DateTimes},
        {"format/classic/fraction_best_fit", ClassicFraction, Values::Fractions},
        {"format/custom/# ?/?", [] { return Custom(u"# ?/?"); }, Values::Fractions},
    };
    for (const Case& c : cases) {
        benchmark::RegisterBenchmark(c.name, [c](benchmark::State& state) {
            Display(state, c.make(), c.values);
        })->Unit(benchmark::kMillisecond);
    }
    return true;
}();

}  // namespace
