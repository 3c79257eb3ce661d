// SPDX-License-Identifier: Apache-2.0
#include "workloads.h"

#include <algorithm>
#include <cmath>

#include "ostrel/cells/cell_value.h"
#include "ostrel/refs/rc_ref.h"
#include "ostrel/refs/ref_3d.h"
#include "ostrel/refs/ref_list.h"

namespace ostrel::bench {

namespace {

std::u16string Widen(const std::string& ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

std::u16string Text(const std::string& ascii) {
    return Widen(ascii);
}

std::string Row(unsigned row0) {
    return std::to_string(row0 + 1);
}

// C1 finds N (never the driver), and D(N-1) finds the position before N, whatever A1 holds
// below 3.
std::string CheckLookups(host::HostSheet& sheet, unsigned n) {
    if (n < 3) return {};
    const struct {
        unsigned column, row;
        double expected;
    } checks[] = {{2, 0, 2.0 * n}, {3, n - 2, n - 1.0}};
    for (const auto& check : checks) {
        host::HostCell* cell = sheet.FindCell(check.column, check.row);
        CCCellValue value;
        if (cell) cell->GetValue(value);
        if (!value.IsNumber() || value.GetNumber() != check.expected)
            return "a lookup does not find " + std::to_string(check.expected);
    }
    return {};
}

// Whether a change to the whole grid's corner reaches each of its n formulas once.
std::string CheckReach(host::HostSheet& sheet, unsigned n) {
    if (sheet.RangeCount() != n)
        return "the sheet holds " + std::to_string(sheet.RangeCount()) + " ranges";
    CCRCRef corner(255, 65535);
    CCRefList* dependents = sheet.LoadDependencies(&corner);
    std::vector<bool> reached(n);
    size_t count = 0;
    for (const CCRefList* at = dependents; at; at = at->m_pNext, ++count) {
        const CCRef* ref = at->m_pRef;  // qualified with the sheet when registered
        if (ref && ref->GetType() == REF_TYPE_3D)
            ref = static_cast<const CCRef3D*>(ref)->GetInnerRef();
        if (ref && ref->GetType() == REF_TYPE_RC) {
            const auto* cell = static_cast<const CCRCRef*>(ref);
            if (cell->GetColumn() == 0 && cell->GetRow() < n) reached[cell->GetRow()] = true;
        }
    }
    RefListFree(dependents, 0);
    if (count != n || std::find(reached.begin(), reached.end(), false) != reached.end())
        return "the corner reaches " + std::to_string(count) + " cells, not the " +
               std::to_string(n) + " formulas";
    return {};
}

}  // namespace

const char* WorkloadName(Workload workload) {
    switch (workload) {
        case Workload::Chain:
            return "chain";
        case Workload::Fanout:
            return "fanout";
        case Workload::RunningTotal:
            return "running_total";
        case Workload::Sums:
            return "sums";
        case Workload::Diamond:
            return "diamond";
        case Workload::WholeGrid:
            return "whole_grid";
        case Workload::Lookup:
            return "lookup";
        case Workload::Prefix:
            return "prefix";
        case Workload::ColumnSums:
            return "column_sums";
        case Workload::ColumnStats:
            return "column_stats";
        case Workload::SelfSearch:
            return "self_search";
    }
    return "?";
}

std::vector<Input> WorkloadInputs(Workload workload, unsigned n) {
    std::vector<Input> in;
    in.reserve(size_t(n) * 2 + 1);
    for (unsigned r = 0; r < n; ++r) {
        const std::string i = Row(r), prev = r ? Row(r - 1) : std::string();
        switch (workload) {
            case Workload::Chain:
                in.push_back({0, r, Text(i)});
                in.push_back({1, r, Text(r ? "=B" + prev + "+A" + i : "=A1")});
                break;
            case Workload::Fanout:
                if (r == 0) in.push_back({0, r, u"1"});
                in.push_back({1, r, Text("=$A$1*2+" + i)});
                break;
            case Workload::RunningTotal:
                in.push_back({1, r, Text(r ? "=B" + prev + "+$C$1" : "=$C$1")});
                if (r == 0) in.push_back({2, r, u"1"});
                break;
            case Workload::Sums:
                in.push_back({0, r, Text(i)});
                in.push_back({1, r, Text("=SUM(A" + i + ":A" + Row(r + 9) + ")")});
                break;
            case Workload::Diamond:
                // Every cell past the first row is reached from A1 along 2^row paths, so
                // only an engine that visits each cell once per change keeps up.
                if (r == 0) {
                    in.push_back({0, r, u"1"});
                    in.push_back({1, r, u"=A1"});
                    in.push_back({2, r, u"=A1*2"});
                } else {
                    in.push_back({1, r, Text("=(B" + prev + "+C" + prev + ")/2+1")});
                    in.push_back({2, r, Text("=(B" + prev + "-C" + prev + ")/2")});
                }
                break;
            case Workload::WholeGrid:
                // The ranges are never read, yet each spans 255 columns and the rows from
                // its formula's row down; the driver sits in the corner all of them share.
                in.push_back({0, r, Text("=IF(0,SUM(B" + i + ":IV65536),0)")});
                if (r + 1 == n) in.push_back({255, 65535, u"1"});
                break;
            case Workload::Lookup: {
                const std::string last = Row(n - 1);
                in.push_back({0, r, Text(i)});
                in.push_back({1, r, Text(std::to_string(2 * (r + 1)))});
                in.push_back(
                    {2, r,
                     Text("=VLOOKUP(" + std::to_string(n - r) + ",$A$1:$B$" + last + ",2,0)")});
                in.push_back({3, r, Text("=MATCH(" + i + ".5,$A$1:$A$" + last + ",1)")});
                break;
            }
            case Workload::Prefix:
                in.push_back({0, r, Text(i)});
                in.push_back({1, r, Text("=SUM(A$1:A" + i + ")")});
                break;
            case Workload::ColumnSums:
                in.push_back({0, r, Text(i)});
                in.push_back({1, r, u"=SUM($A$1:$A$65536)"});
                break;
            case Workload::ColumnStats:
                in.push_back({0, r, Text(i)});
                in.push_back({1, r, Text("=MAX($A$1:$A$" + Row(n - 1) + ")")});
                break;
            case Workload::SelfSearch:
                in.push_back({0, r, Text(i)});
                in.push_back({1, r, Text("=MATCH(A" + i + ",$A$1:$A$" + Row(n - 1) + ",0)")});
                break;
        }
    }
    return in;
}

Input DriverCell(Workload workload, double value) {
    std::string text = std::to_string(static_cast<long long>(value));
    if (workload == Workload::RunningTotal) return {2, 0, Text(text)};
    if (workload == Workload::WholeGrid) return {255, 65535, Text(text)};
    return {0, 0, Text(text)};
}

SheetHolder::SheetHolder(Road road) {
    if (road == Road::Workbook) {
        m_book = std::make_unique<host::HostWorkbook>();
        m_sheet = m_book->AddSheet(u"Sheet1");
    } else {
        m_alone = std::make_unique<host::HostSheet>();
        m_sheet = m_alone.get();
    }
}

bool Enter(host::HostSheet& sheet, const std::vector<Input>& inputs, Order order) {
    if (order == Order::ByColumns) {
        std::vector<Input> columns = inputs;
        std::stable_sort(columns.begin(), columns.end(),
                         [](const Input& a, const Input& b) { return a.column < b.column; });
        return Enter(sheet, columns, Order::TopDown);
    }
    if (order == Order::TopDown) {
        for (const Input& cell : inputs)
            if (!sheet.SetCellText(cell.column, cell.row, cell.text)) return false;
        return true;
    }
    // Rows from the last to the first, each row still left to right.
    size_t end = inputs.size();
    while (end > 0) {
        size_t begin = end;
        while (begin > 0 && inputs[begin - 1].row == inputs[end - 1].row)
            --begin;
        for (size_t k = begin; k < end; ++k)
            if (!sheet.SetCellText(inputs[k].column, inputs[k].row, inputs[k].text)) return false;
        end = begin;
    }
    return true;
}

void Recalculate(host::HostSheet& sheet) {
    while (sheet.DoIdle(1)) {
    }
}

std::string CheckResult(host::HostSheet& sheet, Workload workload, unsigned n, double driver) {
    const double rows = n;
    unsigned column = 1;
    double expected = 0;
    switch (workload) {
        case Workload::Chain:
            expected = rows * (rows + 1) / 2 - 1 + driver;
            break;
        case Workload::Fanout:
            expected = driver * 2 + rows;
            break;
        case Workload::RunningTotal:
            expected = driver * rows;
            break;
        case Workload::Sums: {
            // The last window starts at row n and reads only A_n; A_1 may hold the driver.
            expected = n == 1 ? driver : rows;
            break;
        }
        case Workload::Diamond: {
            double b = driver, c = driver * 2;
            for (unsigned r = 1; r < n; ++r) {
                const double nb = (b + c) / 2 + 1, nc = (b - c) / 2;
                b = nb;
                c = nc;
            }
            expected = b;
            break;
        }
        case Workload::WholeGrid:
            return CheckReach(sheet, n);
        case Workload::Lookup:
            return CheckLookups(sheet, n);
        case Workload::Prefix:
        case Workload::ColumnSums:
            expected = rows * (rows + 1) / 2 - 1 + driver;
            break;
        case Workload::ColumnStats:
            expected = n == 1 ? driver : std::max(rows, driver);
            break;
        case Workload::SelfSearch:
            // The last key is found at its own row, unless A1 holds it too.
            expected = n > 1 && driver == rows ? 1 : rows;
            break;
    }
    host::HostCell* cell = sheet.FindCell(column, n - 1);
    if (!cell) return "no cell at the end";
    CCCellValue value;
    cell->GetValue(value);
    if (!value.IsNumber()) return "the last cell holds no number";
    const double got = value.GetNumber();
    if (std::fabs(got - expected) > 1e-9 * std::max(1.0, std::fabs(expected)))
        return "the last cell holds " + std::to_string(got) + ", expected " +
               std::to_string(expected);
    return {};
}

}  // namespace ostrel::bench
