// SPDX-License-Identifier: Apache-2.0
// The logical and information functions typed into cells: IF and CHOOSE evaluate only what
// they pick (as a value or as a range), the kind tests answer logical values, the counts walk
// every range, and COUNTRY follows the locale of the call.
#include <gtest/gtest.h>

#include <string>

#include "formula_cases.h"
#include "ostrel/formula/lctx.h"
#include "ostrel/platform/resources.h"
#include "ostrel/platform/zmk/environment.h"

namespace {

using Sheet = testing_support::FormulaSheet;
using testing_support::ExpectCases;

TEST(LogicalFunctions, IfAndChooseEvaluateWhatTheyPick) {
    Sheet sheet;
    sheet.Column(0, {"1", "2", "3"});
    sheet.Column(1, {"10", "20", "30"});
    ExpectCases(sheet, {
                           {"=IF(1,2,3)", 2, 0},
                           {"=IF(0,2,3)", 3, 0},
                           {"=IF(0,NA(),5)", 5, 0},  // the other argument is never read
                           {"=IF(1,A2)", 2, 0},
                           {"=IF(\"x\",2,3)", 0, 3},
                           {"=IF(C9,2,3)", 0, 3},  // an empty condition is no number
                           {"=SUM(IF(0,A1:A3,B1:B3))", 60, 0},
                           {"=CHOOSE(2.9,10,20,30)", 20, 0},
                           {"=CHOOSE(1,B1,NA())", 10, 0},
                           {"=CHOOSE(0.5,10,20)", 0, 3},
                           {"=CHOOSE(3,10,20)", 0, 3},
                           {"=CHOOSE(NA(),10,20)", 0, 9},
                           {"=CHOOSE(1E300,10,20)", 0, 3},
                           {"=SUM(CHOOSE(1,A1:A2,B1))", 3, 0},
                       });
    // A missing selection gives the condition itself, as a logical value.
    for (double condition : {7.0, 0.0}) {
        CCCellValue v = sheet.Value(condition ? "=IF(7)" : "=IF(0,2)");
        ASSERT_TRUE(v.IsNumber());
        EXPECT_EQ(v.GetNumber(), condition);
        EXPECT_EQ(v.GetFormat().GetType(), C_NF_BOOL);
    }
}

TEST(InformationFunctions, KindTestsAnswerLogicalValues) {
    Sheet sheet;
    sheet.Type(0, 0, "1");     // A1: a number typed
    sheet.Type(0, 1, "=1>0");  // A2: a comparison
    sheet.Type(0, 2, "text");  // A3
    sheet.Type(0, 3, "=1/0");  // A4: an error value
    ExpectCases(sheet, {
                           {"=ISNUMBER(A1)", 1, 0},    {"=ISNUMBER(\"0\")", 0, 0},
                           {"=ISTEXT(A3)", 1, 0},      {"=ISNONTEXT(C9)", 1, 0},
                           {"=ISNONTEXT(A3)", 0, 0},   {"=ISBLANK(C9)", 1, 0},
                           {"=ISBLANK(\"\")", 0, 0},   {"=ISLOGICAL(A1)", 0, 0},
                           {"=ISLOGICAL(A2)", 1, 0},   {"=ISLOGICAL(1>0)", 1, 0},
                           {"=ISNA(NA())", 1, 0},      {"=ISERROR(NA())", 1, 0},
                           {"=ISNA(A4)", 0, 0},        {"=ISERROR(A4)", 1, 0},
                           {"=ISREF(A1)", 1, 0},       {"=ISREF(A1:B2)", 1, 0},
                           {"=ISREF(IF(1,A1))", 1, 0}, {"=ISREF(INDIRECT(\"A1\"))", 1, 0},
                           {"=ISREF(5)", 0, 0},        {"=ISREF(\"A1\")", 0, 0},
                       });
    // The answer is a logical value: it shows as the word for false.
    CCCellValue v = sheet.Value("=ISNUMBER(\"0\")");
    EXPECT_EQ(v.GetFormat().GetType(), C_NF_BOOL);
    EXPECT_EQ(sheet.ValueText(10, 0), ostrel::LoadResourceString(13021));
}

TEST(InformationFunctions, CountsWalkEveryRangeAndParityUsesTheMagnitude) {
    Sheet sheet;
    // A1:B3 holds a number, a text, two errors and two empty positions; D1:D2 is empty.
    sheet.Type(0, 0, "1");
    sheet.Type(1, 0, "x");
    sheet.Type(0, 1, "=NA()");
    sheet.Type(1, 2, "=1/0");
    ExpectCases(sheet, {
                           {"=COUNTBLANK(A1:B3)", 2, 0},
                           {"=COUNTBLANK(A1:B3,D1:D2)", 4, 0},
                           {"=ISERR(A1:B3,A2)", 3, 0},
                           {"=ISERR(OFFSET(A1,-1,0))", 0, 1},
                           {"=COUNTBLANK(D1:D2,IF(\"x\",A1))", 0, 1},
                           {"=ISEVEN(-3.5)", 0, 0},
                           {"=ISODD(-3.5)", 1, 0},
                           {"=ISEVEN(2.9)", 1, 0},
                           {"=ISODD(\"1\")", 0, 3},
                           {"=ISEVEN(C9)", 0, 3},
                           {"=NA()", 0, 9},
                       });
}

TEST(InformationFunctions, CountryFollowsTheLocaleOfTheCall) {
    Sheet sheet;
    auto& locales = zmk::globals::global_environment().locales_cache();
    zmk::multilang::CLegacyLocaleContext german(locales.get("de_DE"));
    zmk::multilang::CLegacyLocaleContext swiss(locales.get("fr_CH"));
    cells::LCTX germanCtx{&german}, swissCtx{&swiss};
    sheet.Ctx().SetLCTX(&germanCtx);
    ExpectCases(sheet, {{"=COUNTRY()", 49, 0}});
    sheet.Ctx().SetLCTX(&swissCtx);
    ExpectCases(sheet, {{"=COUNTRY()", 41, 0}});
    sheet.Ctx().SetLCTX(cells::invariant_LCTX());
}

}  // namespace
