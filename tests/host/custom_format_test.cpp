// SPDX-License-Identifier: Apache-2.0
// Custom number formats through the workbook facade and the --format option: constants and
// formula results display through the code, before and after a recalculation, and a range
// or code that cannot be used is refused with the option's name.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "cli_support.h"
#include "ostrel/calc_book.h"
#include "ostrel/platform/utf.h"

using cli_testing::RunProgram;

TEST(CustomFormat, ConstantsAndFormulaResultsDisplayThroughTheCode) {
    std::unique_ptr<ostrel::CalcSheet> sheet = ostrel::MakeCalcSheet("");
    ASSERT_TRUE(sheet);
    sheet->SetCellText(0, 0, "1234.5");
    sheet->SetCellText(0, 1, "-42");
    sheet->SetCellText(0, 2, "=A1+A2");
    sheet->SetCellText(0, 3, "text");
    for (int row = 0; row < 5; ++row)
        EXPECT_TRUE(sheet->SetCustomFormat(0, row, u"#,##0.00;[Red](#,##0.00)"));
    sheet->Recalculate();
    EXPECT_EQ(sheet->GetCellValueText(0, 0), u"1,234.50");
    EXPECT_EQ(sheet->GetCellValueText(0, 1), u"(42.00)");
    EXPECT_EQ(sheet->GetCellValueText(0, 2), u"1,192.50");
    EXPECT_EQ(sheet->GetCellValueText(0, 3), u"text");
    EXPECT_DOUBLE_EQ(sheet->GetCellValue(0, 2).number, 1192.5);  // the value is untouched

    // The format stays with the cell: a new value, and a result recalculated from it.
    sheet->SetCellText(0, 1, "0.5");
    sheet->SetCellText(0, 4, "7");  // formatted before it held anything
    sheet->Recalculate();
    EXPECT_EQ(sheet->GetCellValueText(0, 2), u"1,235.00");
    EXPECT_EQ(sheet->GetCellValueText(0, 4), u"7.00");

    EXPECT_FALSE(sheet->SetCustomFormat(0, 0, u""));
    EXPECT_FALSE(sheet->SetCustomFormat(-1, 0, u"0"));
    EXPECT_FALSE(sheet->SetCustomFormat(0, 70000, u"0"));
    EXPECT_FALSE(sheet->SetCustomFormat(0, 0, std::u16string(4097, u'0')));
    EXPECT_TRUE(sheet->SetCustomFormat(0, 0, std::u16string(4096, u'0')));
}

TEST(CustomFormat, CommandLineGivesRangesTheirCodes) {
    const std::string input = "1234.5,0.25,=B1*2\n-42,0.125,=B2*2\n";
    auto result = RunProgram({"calc", "--format", "A1:A2=#,##0.00;[Red](#,##0.00)",
                              "--format=B1:C2=0.0%", "--format", "C2=# ?/?", "-"},
                             input);
    EXPECT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(result.out, "\"1,234.50\",25.0%,50.0%\n(42.00),12.5%, 1/4\n");
    EXPECT_EQ(result.err, "");

    // Corners in any order; a sheet named in any case of its letters.
    result = RunProgram({"calc", "--format", "sheet1!C2:a1=0.00", "-"}, input);
    EXPECT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(result.out, "1234.50,0.25,0.50\n-42.00,0.13,0.25\n");
}

TEST(CustomFormat, CommandLineRefusesWhatCannotBeUsed) {
    struct Refusal {
        std::string argument, message;
    };
    const Refusal refusals[] = {
        {"B2", "option '--format' needs RANGE=CODE, such as B2:D40=#,##0.00"},
        {"B2=", "option '--format': the format code for B2 is empty"},
        {"ZZ9=0", "option '--format': 'ZZ9' is not a cell or a range such as B2:D40"},
        {"B2:=0", "option '--format': 'B2:' is not a cell or a range such as B2:D40"},
        {"!B2=0", "option '--format': '!B2' names no sheet"},
        {"Other!B2=0", "option '--format': no sheet is named 'Other'"},
        {"B2=" + std::string(4097, '0'),
         "option '--format': the format code for B2 is longer than 4096 characters"},
    };
    for (const Refusal& r : refusals) {
        auto result = RunProgram({"calc", "--format", r.argument, "-"}, "1\n");
        EXPECT_EQ(result.code, 2) << r.argument;
        EXPECT_EQ(result.out, "");
        EXPECT_TRUE(result.err.starts_with("ostrel-cells: " + r.message + "\n"))
            << r.argument << ": " << result.err;
    }
    auto missing = RunProgram({"calc", "-", "--format"}, "1\n");
    EXPECT_EQ(missing.code, 2);
    EXPECT_TRUE(missing.err.starts_with("ostrel-cells: option '--format' needs RANGE=CODE\n"));
}
