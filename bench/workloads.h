// SPDX-License-Identifier: Apache-2.0
// Sheets the benchmarks build: each workload is a list of typed cell inputs that can be
// entered top-down or bottom-up into a host sheet, plus a check of one computed value so
// a benchmark never times work that produced the wrong answer.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "facade/host_sheet.h"
#include "facade/host_workbook.h"

namespace ostrel::bench {

enum class Workload {
    Chain,         // A_i = i; B_1 = A1, B_i = B_{i-1} + A_i
    Fanout,        // A_1 = 1; B_i = $A$1*2 + i
    RunningTotal,  // C_1 = 1; B_1 = $C$1, B_i = B_{i-1} + $C$1
    Sums,          // A_i = i; B_i = SUM(A_i:A_{i+9})
    Diamond,       // A_1 = 1; B and C each read both cells of the row above
    WholeGrid,     // A_i = IF(0,SUM(B_i:IV65536),0); IV65536 = 1: N ranges to the grid's end
    Lookup,        // A_i = i; B_i = 2i; C_i = VLOOKUP(N+1-i,$A$1:$B$N,2,0);
                   // D_i = MATCH(i.5,$A$1:$A$N,1): 2N searches of one N-row table
    Prefix,        // A_i = i; B_i = SUM(A$1:A_i): ranges growing by a row, N^2/2 cells in all
    ColumnSums,    // A_i = i; B_i = SUM($A$1:$A$65536): N whole-column ranges over N rows of data
    ColumnStats,   // A_i = i; B_i = MAX($A$1:$A$N): one statistic of the whole table N times
    SelfSearch,    // A_i = i; B_i = MATCH(A_i,$A$1:$A$N,0): each row's key searched in its column
};

struct Input {
    unsigned column;
    unsigned row;  // 0-based
    std::u16string text;
};

const char* WorkloadName(Workload workload);

// The cells of a workload with n rows, row by row, left to right.
std::vector<Input> WorkloadInputs(Workload workload, unsigned n);

// The cell whose change sets off the recalculation that matters: A1, C1 for the running
// total (the only cell all its formulas read), IV65536 for the whole grid (the only cell
// in all its ranges).
Input DriverCell(Workload workload, double value);

// Rows from the top or from the bottom, or whole columns from the left, each from the top
// (a lookup table is then typed before the formulas that search it).
enum class Order { TopDown, BottomUp, ByColumns };

// Types the inputs into the sheet in the given order; false when a cell refused its text.
// A sheet alone (its own recalculation lists) or the one sheet of a workbook (the
// workbook's shared order).
enum class Road { Sheet, Workbook };
class SheetHolder {
public:
    explicit SheetHolder(Road road);
    host::HostSheet* Sheet() { return m_sheet; }

private:
    std::unique_ptr<host::HostWorkbook> m_book;
    std::unique_ptr<host::HostSheet> m_alone;
    host::HostSheet* m_sheet;
};

bool Enter(host::HostSheet& sheet, const std::vector<Input>& inputs, Order order);

// Runs the recalculation that is due to its end.
void Recalculate(host::HostSheet& sheet);

// Compares the workload's last formula cell with its value computed here, the driver cell
// holding `driver`; empty when they agree, otherwise what was found. The whole grid's
// formulas wait for IF, and what it measures is the way from the driver to every formula
// through its range: that is what is checked there.
std::string CheckResult(host::HostSheet& sheet, Workload workload, unsigned n, double driver);

}  // namespace ostrel::bench
