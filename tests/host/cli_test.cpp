// SPDX-License-Identifier: Apache-2.0
#include "cli.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli_support.h"

using cli_testing::Result;
using cli_testing::RunProgram;

namespace {

std::string FirstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

}  // namespace

TEST(CommandLine, WrongCommandLinesGiveUsageAndExitCodeTwo) {
    struct Case {
        std::vector<std::string> arguments;
        std::string complaint;
    };
    const Case cases[] = {
        {{"--formulas"}, "no command given"},
        {{"calc"}, "calc needs a FILE"},
        {{"calc", "a.csv", "b.csv"}, "several FILEs need --out DIR"},
        {{"calc", "a.csv", "--out"}, "option '--out' needs a folder"},
        {{"calc", "--out=", "a.csv"}, "option '--out' needs a folder"},
        {{"calc", "--out", "d", "x/Data.csv", "y/data.txt"}, "two FILEs make sheets named 'data'"},
        {{"calc", "--out", "d", "b c.csv", "b-c.csv"}, "two FILEs make sheets named 'b_c'"},
        {{"calc", "--separator", "ab", "-"},
         "option '--separator' needs one character, such as ';' or 'tab'"},
        {{"calc", "--separator=\"", "-"},
         "option '--separator' needs one character, such as ';' or 'tab'"},
        {{"sum", "a.csv"}, "unknown command 'sum'"},
        {{"calc", "a.csv", "--locale"}, "option '--locale' needs a locale name"},
        {{"calc", "--locale", "xx_QQ", "-"}, "unknown locale 'xx_QQ'"},
        {{"calc", "--locale=", "-"}, "unknown locale ''"},
        {{"calc", "--locale", "../../../../etc/passwd", "-"},
         "unknown locale '../../../../etc/passwd'"},
        {{"calc", "--locale", "C.garbage", "-"}, "unknown locale 'C.garbage'"},
        {{"calc", "--locale", "de_DE.garbage", "-"}, "unknown locale 'de_DE.garbage'"},
    };
    for (const Case& c : cases) {
        auto result = RunProgram(c.arguments, "1\n");
        EXPECT_EQ(result.code, ostrel::kExitUsage) << c.complaint;
        EXPECT_EQ(result.out, "") << c.complaint;
        EXPECT_EQ(FirstLine(result.err), "ostrel-cells: " + c.complaint);
        EXPECT_NE(result.err.find("Usage: ostrel-cells calc"), std::string::npos) << c.complaint;
    }
}

TEST(CommandLine, OptionsGoAnywhereAndDashDashEndsThem) {
    for (auto arguments :
         std::vector<std::vector<std::string>>{{"calc", "-", "--formulas"},
                                               {"--formulas", "calc", "-"},
                                               {"calc", "--locale", "de_DE", "-"},
                                               {"calc", "--locale=C", "-"},
                                               {"calc", "--locale", "fr-CH.UTF-8", "--", "-"}}) {
        EXPECT_EQ(RunProgram(arguments, "a,\"b,c\"\n"), (Result{0, "a,\"b,c\"\n", ""}));
    }
    auto dashed = RunProgram({"calc", "--", "--formulas"});
    EXPECT_EQ(dashed.code, ostrel::kExitFailure);
    EXPECT_EQ(dashed.err, "ostrel-cells: --formulas: No such file or directory\n");

    // Help wins over what follows it and goes to standard output.
    auto help = RunProgram({"calc", "--help", "--bogus"});
    EXPECT_EQ(help.code, 0);
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(FirstLine(help.out), "Usage: ostrel-cells calc [OPTION]... FILE");
    EXPECT_EQ(RunProgram({"-h"}).out, help.out);
}

TEST(CommandLine, AFullSheetFits) {
    std::string rows, expected;
    for (int row = 1; row <= 65536; ++row) {
        rows += std::to_string(row) + "\r\n";
        expected += std::to_string(row) + "\n";
    }
    auto full = RunProgram({"calc", "-"}, rows + "\n");
    EXPECT_EQ(full.code, 0) << full.err;
    EXPECT_EQ(full.out, expected);
    // One row more: the endless-input tests.
}

TEST(CommandLine, VersionGoesToStandardOutput) {
    auto version = RunProgram({"--version"});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.err, "");
    EXPECT_EQ(version.out.rfind("ostrel-cells ", 0), 0u);
    EXPECT_EQ(version.out.back(), '\n');
    EXPECT_GT(version.out.size(), std::string("ostrel-cells \n").size());
}

TEST(CommandLine, EachFileKeepsItsSeparatorUnlessOneIsGiven) {
    // Semicolons, as a German sheet has them, with decimal commas in the numbers.
    EXPECT_EQ(RunProgram({"calc", "--locale", "de_DE", "-"}, "1,5;2,5;\"=A1+B1\"\n"),
              (Result{0, "1,5;2,5;4\n", ""}));
    EXPECT_EQ(RunProgram({"calc", "-"}, "1\t2\t=A1+B1\n3\n"), (Result{0, "1\t2\t3\n3\n", ""}));
    // Given, it is used both ways, and a field holding it is quoted.
    EXPECT_EQ(RunProgram({"calc", "--separator", "|", "-"}, "a,b|=1+1|\"x|y\"\n"),
              (Result{0, "a,b|2|\"x|y\"\n", ""}));
    EXPECT_EQ(RunProgram({"calc", "--separator=tab", "-"}, "1;2\t=A1*2\n").out, "1;2\t#VALUE!\n");
}

TEST(CommandLine, FormulaTextReadsBackToTheSameCells) {
    const std::string sheet =
        "1.50,99999999999999999999%,1e5,$1.00,TRUE,0012,12/31/2020,\" spaced \",=1+2,'=x,=1+\n"
        "=A1*B1,=SUM(A1:C1),\"=IF(A1>1,\"\"a\"\",\"\"b\"\")\",abc,-0,1E+020%\n";
    auto formulas = RunProgram({"calc", "--formulas", "-"}, sheet);
    ASSERT_EQ(formulas.code, 0) << formulas.err;
    auto values = RunProgram({"calc", "-"}, sheet);
    auto again = RunProgram({"calc", "-"}, formulas.out);
    EXPECT_EQ(again.out, values.out);
    EXPECT_EQ(RunProgram({"calc", "--formulas", "-"}, formulas.out).out, formulas.out);
}
