// SPDX-License-Identifier: Apache-2.0
// SUM over ranges of one column against its definition, written out here over the values the
// sheet holds: numbers add in order from 0, the first error is the result, the rest is passed
// over. Long ranges are answered from running sums kept across formulas: the doubles' bits are
// compared, on random columns that change between and during calculations.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "facade/host_sheet.h"
#include "formula_cases.h"

namespace {

using testing_support::FormulaSheet;
using testing_support::NumberValue;
using testing_support::StoreValue;

struct Walker {
    std::mt19937 random;
    // Whole numbers, whose sums are exact until a rare large one or fraction comes.
    bool whole = false;
    unsigned Pick(unsigned n) { return std::uniform_int_distribution<unsigned>(0, n - 1)(random); }

    // Numbers whose sums round differently in another order, texts, booleans, empty cells
    // and, rarely enough that most long ranges hold none, errors.
    CCCellValue Value() {
        static const double numbers[] = {0.1, 1e16, -1e16, 1.0 / 3, 2.5e-7, -0.7, 3};
        static const double wholes[] = {3, -7, 0, 12, -0.0, 40000}, rare[] = {3e15, 0.1};
        CCCellValue v;
        const unsigned kind = Pick(8);
        if (kind == 1) v.Set(u"text");
        if (kind == 2) v.Set(double(Pick(2)), C_NF_BOOL);
        if (kind == 3 && Pick(whole ? 512 : 32) == 0) v.Set(int(2 + Pick(2)));
        if (kind > 3)
            v = NumberValue(whole ? (Pick(1024) ? wholes[Pick(6)] : rare[Pick(2)])
                                  : numbers[Pick(7)]);
        return v;
    }
};

// A host sheet that counts the values its ranges serve.
struct CountingHost : ostrel::host::HostSheet {
    long reads = 0;
    int GetValue(const CCRef* ref, CCCellValue* value, unsigned long index) override {
        reads += ref && ref->GetType() == REF_TYPE_REGION;
        return HostSheet::GetValue(ref, value, index);
    }
};

// The definition over the values of column A that cell(row) gives, rows first..last (1-based)
// of each range in turn.
template <class Cell>
CCCellValue Fold(Cell cell, std::vector<std::pair<unsigned, unsigned>> ranges) {
    double sum = 0;
    int error = 0;
    for (auto [first, last] : ranges)
        for (unsigned r = first; r <= last; ++r) {
            CCCellValue v;
            if (auto* found = cell(r - 1)) found->GetValue(v);
            if (v.IsNumber()) sum += v.GetNumber();
            if (v.IsError() && !error) error = v.GetError();
        }
    return error ? CCCellValue(error) : NumberValue(sum);
}

void ExpectSame(const CCCellValue& got, const CCCellValue& expected, const std::string& what) {
    ASSERT_EQ(got.GetType(), expected.GetType()) << what;
    if (got.IsError()) {
        EXPECT_EQ(got.GetError(), expected.GetError()) << what;
    } else if (got.IsNumber()) {
        EXPECT_EQ(std::bit_cast<uint64_t>(got.GetNumber()),
                  std::bit_cast<uint64_t>(expected.GetNumber()))
            << what << ": " << got.GetNumber() << " against " << expected.GetNumber();
    }
}

std::string A(unsigned first, unsigned last) {
    return "A" + std::to_string(first) + ":A" + std::to_string(last);
}

TEST(RunningSums, GrowingAndShrinkingRangesEqualTheFoldAsTheColumnChanges) {
    for (bool whole : {false, true}) {
        SCOPED_TRACE(whole ? "whole numbers" : "fractions");
        FormulaSheet sheet;
        auto cells = [&](unsigned row) { return sheet.Find(0, uint16_t(row)); };
        Walker w{std::mt19937(20260301), whole};
        constexpr unsigned kRows = 400;
        for (unsigned r = 0; r < kRows; ++r)
            StoreValue(sheet, 0, r, w.Value());
        for (int round = 0; round < (whole ? 600 : 300); ++round) {
            // Few first rows, so that ranges share their running sums; lasts up and down.
            // Whole numbers: mostly one range start and one change at a time, so that the
            // sums follow changes, one after another, instead of being cut.
            const unsigned first = std::array{1u, 2u, 37u}[whole && w.Pick(4) ? 0 : w.Pick(3)];
            const unsigned last = first + w.Pick(kRows - first);
            const std::string range = A(first, last);
            ExpectSame(sheet.Value("=SUM(" + range + ")"), Fold(cells, {{first, last}}), range);
            // Behind a text the sum is still 0 and the range folds onto it; after a first range
            // it does not.
            ExpectSame(sheet.Value("=SUM(\"x\"," + range + ")"), Fold(cells, {{first, last}}),
                       "text, " + range);
            ExpectSame(sheet.Value("=TOTAL(" + range + "," + A(2, 60) + ")"),
                       Fold(cells, {{first, last}, {2, 60}}), range + ", A2:A60");
            // Values changed between formulas: one here and there, or more than the record of
            // changes keeps; some beside the column.
            const unsigned changes = w.Pick(12) == 0 ? 1500
                                     : whole         ? unsigned(w.Pick(4) != 0)
                                                     : w.Pick(3);
            for (unsigned k = 0; k < changes; ++k)
                StoreValue(sheet, w.Pick(4) ? 0 : 3, w.Pick(kRows), w.Value());
            if (w.Pick(20) == 0) {  // a cell copied over: no document can tell which one changed
                testing_support::TestCell copy(0, uint16_t(w.Pick(kRows)));
                copy.SetValue(nullptr, w.Value());
                *sheet.Cell(0, static_cast<const CCRCRef*>(copy.GetRef())->GetRow()) = copy;
            }
        }
    }
}

// Column A copies column C by formulas and B holds running totals of A, on the host that
// follows ranges. C changes without a recalculation, then a new running total is typed: it
// reads A before A is recalculated, and the A cells that change afterwards must reach every
// sum kept from that read.
TEST(RunningSums, AColumnOfFormulasRecalculatedAfterItsSumsWereRead) {
    InitBuiltinFunctions();
    ostrel::host::HostSheet sheet;
    auto cells = [&](unsigned row) { return sheet.FindCell(0, row); };
    Walker w{std::mt19937(7)};
    constexpr unsigned kRows = 150;
    for (unsigned r = 0; r < kRows; ++r) {
        StoreValue(sheet, 2, r, w.Value());
        sheet.SetCellText(0, r, u"=C" + ostrel::FromUtf8(std::to_string(r + 1)));
        sheet.SetCellText(1, r, u"=SUM(A$1:A" + ostrel::FromUtf8(std::to_string(r + 1)) + u")");
    }
    for (unsigned round = 0; round < 40; ++round) {
        for (unsigned k = 1 + w.Pick(4); k > 0; --k)
            StoreValue(sheet, 2, w.Pick(kRows), w.Value());
        const unsigned last = 40 + w.Pick(kRows - 40);
        sheet.SetCellText(11, round, ostrel::FromUtf8("=SUM(" + A(1, last) + ")"));
        sheet.RecalculateAll();
        for (unsigned r = 0; r < kRows; ++r)
            ExpectSame(sheet.FindCell(1, r)->GetValue(), Fold(cells, {{1, r + 1}}),
                       "B" + std::to_string(r + 1));
        ExpectSame(sheet.FindCell(11, round)->GetValue(), Fold(cells, {{1, last}}), A(1, last));
    }
}

// A whole-column range over a few rows of data: the sums stop where the column's cells end,
// and a value stored far below, or above, is still counted.
TEST(RunningSums, AWholeColumnRangeReadsOnlyTheRowsHoldingCells) {
    InitBuiltinFunctions();
    CountingHost sheet;
    auto cells = [&](unsigned row) { return sheet.FindCell(0, row); };
    Walker w{std::mt19937(11)};
    constexpr unsigned kRows = 300;
    for (unsigned r = 0; r < kRows; ++r) {
        StoreValue(sheet, 0, r, w.Value());
        sheet.SetCellText(1, r, u"=SUM($A$1:$A$65536)");
    }
    sheet.RecalculateAll();
    EXPECT_LT(sheet.reads, 200000);  // not 300 walks of 65,536 rows
    for (unsigned row : {60000u, 20u}) {
        StoreValue(sheet, 0, row, NumberValue(row));
        sheet.RecalculateAll();
        for (unsigned r = 0; r < kRows; r += 37)
            ExpectSame(sheet.FindCell(1, r)->GetValue(), Fold(cells, {{1, 65536}}),
                       "B" + std::to_string(r + 1) + " after A" + std::to_string(row + 1));
    }
}

// A column typed from the bottom beside sums of all of it: each number typed changes the
// sums of every row below. While they are whole numbers the sums follow the change instead
// of reading those rows again; a fraction makes them read the rows from it on.
TEST(RunningSums, AColumnTypedFromTheBottomIsReadAboutOnce) {
    InitBuiltinFunctions();
    CountingHost sheet;
    auto cells = [&](unsigned row) { return sheet.FindCell(0, row); };
    constexpr unsigned kRows = 600, kFraction = 20;
    for (unsigned r = kRows; r-- > 0;) {
        StoreValue(sheet, 0, r,
                   r == kFraction ? NumberValue(0.25)
                   : r % 5 == 0   ? CCCellValue(u"text")
                                  : NumberValue(double(r % 13) - 6));
        sheet.SetCellText(1, r, u"=SUM($A$1:$A$65536)");
        if (r % 97 == 0)
            ExpectSame(sheet.FindCell(1, r)->GetValue(), Fold(cells, {{1, 65536}}),
                       "B" + std::to_string(r + 1) + " as typed");
    }
    // The first formula walks the whole column; then the rows below the fraction are read
    // about once each, and those below it again for each row typed above it.
    EXPECT_LT(sheet.reads, 65536 + 8 * kRows + kFraction * kRows);
    sheet.RecalculateAll();
    for (unsigned r = 0; r < kRows; r += 37)
        ExpectSame(sheet.FindCell(1, r)->GetValue(), Fold(cells, {{1, 65536}}),
                   "B" + std::to_string(r + 1));
}

// Running totals read each cell of their column about once, where walks of their ranges read
// 500,500; after a change only the rows from it on are read again.
TEST(RunningSums, RunningTotalsReadEachCellOnce) {
    testing_support::CountingSheet sheet;
    for (unsigned r = 0; r < 1000; ++r)
        sheet.SetNumber(0, uint16_t(r), r + 1);
    for (unsigned last = 1; last <= 1000; ++last)
        ExpectSame(sheet.Value("=SUM(" + A(1, last) + ")"), NumberValue(last * (last + 1) / 2.0),
                   A(1, last));
    EXPECT_LE(sheet.reads, 2000);
    sheet.SetNumber(0, 899, 0);
    sheet.reads = 0;
    ExpectSame(sheet.Value("=SUM(A1:A1000)"), NumberValue(500500 - 900), "");
    EXPECT_EQ(sheet.reads, 1);  // whole numbers: the sums below follow the one change
    // Past 2^53 a walk rounds at every step: such a change is read again, not followed.
    sheet.SetNumber(0, 0, 9007199254740992.0);
    double walk = 0;
    for (unsigned r = 1; r <= 1000; ++r)
        walk += r == 1 ? 9007199254740992.0 : r == 900 ? 0 : r;
    ExpectSame(sheet.Value("=SUM(A1:A1000)"), NumberValue(walk), "A1 2^53");
    sheet.SetNumber(0, 0, 1);
    ExpectSame(sheet.Value("=SUM(A1:A1000)"), NumberValue(500500 - 900), "A1 1");
    sheet.SetNumber(0, 899, 0.5);
    sheet.reads = 0;
    ExpectSame(sheet.Value("=SUM(A1:A1000)"), NumberValue(500500 - 900 + 0.5), "");
    EXPECT_EQ(sheet.reads, 1 + 1000 - 899);  // the changed cell, then the rows from it on
    // A cell holding a reference is read through every time: its value is D1's.
    CCRCRef d1{3, 0};
    StoreValue(sheet, 0, 499, CCCellValue(&d1));
    for (double x : {7.0, 8.0}) {
        sheet.SetNumber(3, 0, x);
        ExpectSame(sheet.Value("=SUM(A1:A1000)"), NumberValue(500500 - 900 + 0.5 - 500 + x),
                   "D1 " + std::to_string(x));
    }
}

}  // namespace
