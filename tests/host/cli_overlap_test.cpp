// SPDX-License-Identifier: Apache-2.0
// A lone CSV input is typed while it is still being read: an input many pieces long must
// come out as if it had been read whole first.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "cli.h"
#include "cli_support.h"

namespace {

// Rows "i,=Bi-1+Ai" (a running total), some with a quoted two-line text in a third field
// so that records and lines part ways, and a formula that cannot be read in row `bad`: it
// stays a text, which the rows below cannot add.
struct Sheet {
    std::string input, output;
    size_t badLine = 0;
};

Sheet RunningTotal(int rows, int bad) {
    Sheet sheet;
    long long total = 0;
    bool text = false;
    size_t line = 1;
    for (int i = 1; i <= rows; ++i) {
        total += i;
        const std::string a = std::to_string(i);
        std::string formula = i == 1 ? "=A1" : "=B" + std::to_string(i - 1) + "+A" + a;
        std::string value = text ? "#VALUE!" : std::to_string(total);
        if (i == bad) {
            formula = "=1+";
            value = formula;
            sheet.badLine = line;
            text = true;
        }
        std::string in = a + "," + formula, out = a + "," + value;
        if (i % 7 == 0) {
            in += ",\"two\nlines\"";
            out += ",\"two\nlines\"";
            ++line;
        }
        sheet.input += in + "\n";
        sheet.output += out + "\n";
        ++line;
    }
    return sheet;
}

}  // namespace

TEST(TypedWhileRead, ManyPiecesGiveWhatReadingFirstWouldGive) {
    // About 600 KB: many pieces of the reading.
    const int rows = 40000, bad = 30001;
    const Sheet sheet = RunningTotal(rows, bad);
    ASSERT_GT(sheet.input.size(), size_t(500000));
    const cli_testing::Result run = cli_testing::RunProgram({"calc", "-"}, sheet.input);
    EXPECT_EQ(run.code, 0);
    // Not EXPECT_EQ: a difference would be shown as a diff of 600 KB.
    EXPECT_TRUE(run.out == sheet.output)
        << "first difference at byte "
        << std::mismatch(run.out.begin(), run.out.end(), sheet.output.begin(), sheet.output.end())
                   .first -
               run.out.begin();
    // The message of a late piece names the line and the cell of its own record.
    EXPECT_EQ(run.err, "ostrel-cells: (standard input):" + std::to_string(sheet.badLine) +
                           ": cell B" + std::to_string(bad) + ": The formula cannot be read.\n");
}

TEST(TypedWhileRead, AFaultFoundLateIsTheOnlyMessage) {
    // The engine's message about row 2 was due long before the reading found the fault.
    Sheet sheet = RunningTotal(20000, 2);
    const size_t lines = size_t(20000 + 20000 / 7);
    sheet.input += "\"unclosed\n";
    const cli_testing::Result run = cli_testing::RunProgram({"calc", "-"}, sheet.input);
    EXPECT_EQ(run,
              (cli_testing::Result{ostrel::kExitFailure, "",
                                   "ostrel-cells: (standard input):" + std::to_string(lines + 1) +
                                       ": quoted field not closed\n"}));

    // A fault in a workbook document is found while the input is read: the input's fault,
    // found first when inputs were read before documents, still wins.
    const cli_testing::Result both =
        cli_testing::RunProgram({"calc", "--doc", "D=/nonexistent/d.csv", "-"}, sheet.input);
    EXPECT_EQ(both.err, run.err);
}
