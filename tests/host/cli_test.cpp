#include "cli.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli_support.h"

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
        {{}, "no command given"},
        {{"--formulas"}, "no command given"},
        {{"calc"}, "calc needs a FILE"},
        {{"calc", "a.csv", "b.csv"}, "several FILEs need --out DIR"},
        {{"calc", "a.csv", "--out"}, "option '--out' needs a folder"},
        {{"calc", "--out=", "a.csv"}, "option '--out' needs a folder"},
        {{"calc", "--out", "d", "x/Data.csv", "y/data.txt"}, "two FILEs make sheets named 'data'"},
        {{"calc", "--out", "d", "-", "Sheet1.csv"}, "two FILEs make sheets named 'Sheet1'"},
        {{"calc", "--out", "d", "a.csv", "b!c.csv"}, "'b!c.csv' cannot name a sheet"},
        {{"sum", "a.csv"}, "unknown command 'sum'"},
        {{"calc", "--verbose", "a.csv"}, "unknown option '--verbose'"},
        {{"calc", "-x", "a.csv"}, "unknown option '-x'"},
        {{"calc", "a.csv", "--locale"}, "option '--locale' needs a locale name"},
        {{"calc", "--locale", "xx_QQ", "-"}, "unknown locale 'xx_QQ'"},
        {{"calc", "--locale=", "-"}, "unknown locale ''"},
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
        auto result = RunProgram(arguments, "a,\"b,c\"\n");
        EXPECT_EQ(result.code, 0) << result.err;
        EXPECT_EQ(result.out, "a,\"b,c\"\n");
    }
    auto dashed = RunProgram({"calc", "--", "--formulas"});
    EXPECT_EQ(dashed.code, ostrel::kExitFailure);
    EXPECT_EQ(dashed.err, "ostrel-cells: --formulas: No such file or directory\n");

    // Help wins over what follows it and goes to standard output.
    auto help = RunProgram({"calc", "--help", "--bogus"});
    EXPECT_EQ(help.code, 0);
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(FirstLine(help.out), "Usage: ostrel-cells calc [--formulas] [--locale NAME] FILE");
    EXPECT_EQ(RunProgram({"-h"}).out, help.out);
}

TEST(CommandLine, AFullSheetFitsAndOneRowMoreIsRefused) {
    std::string rows;
    for (int row = 1; row <= 65536; ++row)
        rows += std::to_string(row) + "\r\n";
    auto full = RunProgram({"calc", "-"}, rows + "\n");
    EXPECT_EQ(full.code, 0) << full.err;
    std::string expected;
    for (int row = 1; row <= 65536; ++row)
        expected += std::to_string(row) + "\n";
    EXPECT_EQ(full.out, expected);

    auto tooTall = RunProgram({"calc", "-"}, rows + ",\n");
    EXPECT_EQ(tooTall.code, ostrel::kExitFailure);
    EXPECT_EQ(tooTall.out, "");
    EXPECT_EQ(tooTall.err, "ostrel-cells: (standard input): line 65537: more than 65536 rows\n");
}
