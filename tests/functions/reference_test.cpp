// SPDX-License-Identifier: Apache-2.0
// The reference functions typed into cells: shapes and positions of references, references
// built from numbers and texts, and the recalculation of the formulas that read through
// references no dependency names.
#include <gtest/gtest.h>

#include <string>

#include "formula_cases.h"

namespace {

using Sheet = testing_support::FormulaSheet;
using testing_support::ExpectCases;
using testing_support::ExpectTexts;

// A1:A3 holds 1, 2, 3; B2 holds 7; A5 the text B2.
void Fill(Sheet& sheet) {
    sheet.Column(0, {"1", "2", "3", "", "B2"});
    sheet.Type(1, 1, "7");
}

TEST(ReferenceFunctions, ShapesAndPositions) {
    ExpectCases({
        {"=ROWS(A1:C4)", 4, 0},
        {"=COLUMNS(A1:C4)", 3, 0},
        {"=COLUMNS(OFFSET(A1,0,0,2,5))", 5, 0},
        {"=ROWS(IF(\"x\",A1))", 0, 3},
        {"=AREAS(A1,A1:B2,5,\"A1\")", 2, 0},
        {"=ROW(C5)", 5, 0},
        {"=COLUMN(D9:B2)", 2, 0},
        {"=ROW()", 1, 0},      // the formula's own cell, K1
        {"=COLUMN()", 11, 0},  //
        {"=ROW(5)", 0, 3},
        {"=ROW(A1,B1)", 0, 3},
    });
    ExpectTexts({
        {"=ADDRESS(2,3)", "$C$2", 0},
        {"=ADDRESS(2,3,2)", "C$2", 0},
        {"=ADDRESS(2,3,3)", "$C2", 0},
        {"=ADDRESS(2.9,27.5,4)", "AA2", 0},
        {"=ADDRESS(65536,256,4)", "IV65536", 0},
        {"=ADDRESS(0,1)", nullptr, 3},
        {"=ADDRESS(65537,1)", nullptr, 3},
        {"=ADDRESS(1,257)", nullptr, 3},
        {"=ADDRESS(1,1,5)", nullptr, 3},
        {"=ADDRESS(1,1,1,0)", nullptr, 3},
    });
}

TEST(ReferenceFunctions, IndirectAndOffsetYieldReferencesOnTheGrid) {
    Sheet sheet;
    Fill(sheet);
    ExpectCases(sheet, {
                           {"=INDIRECT(\"$B$2\")", 7, 0},
                           {"=INDIRECT(A5)", 7, 0},
                           {"=SUM(INDIRECT(\"A1:A3\"))", 6, 0},
                           {"=INDIRECT(\"B2\",0)", 0, 3},
                           {"=INDIRECT(\"1+2\")", 0, 1},
                           {"=INDIRECT(\"\")", 0, 1},
                           {"=INDIRECT(5)", 0, 1},
                           {"=INDIRECT(NA())", 0, 9},
                           {"=OFFSET(C3,-1,-1)", 7, 0},
                           {"=OFFSET(A1,1.9,0)", 2, 0},
                           {"=SUM(OFFSET(A1,0,0,3,1))", 6, 0},
                           {"=SUM(OFFSET(A1:B1,1,0))", 9, 0},  // the size of the reference
                           {"=ROWS(OFFSET(A1,65535,0))", 1, 0},
                           {"=OFFSET(A1,-1,0)", 0, 1},
                           {"=OFFSET(IV1,0,1)", 0, 1},
                           {"=OFFSET(A1,0,0,65537)", 0, 1},
                           {"=OFFSET(A1,0,0,1,0)", 0, 3},
                           {"=OFFSET(A1,\"x\",0)", 0, 3},
                           {"=OFFSET(5,1,1)", 0, 3},
                           {"=OFFSET(A1,1E300,0)", 0, 3},
                       });
}

// INDIRECT and OFFSET read cells that no dependency of theirs names: their cells are
// recalculated after every change, after the cells the same change recalculates.
TEST(ReferenceFunctions, IndirectAndOffsetFollowEveryChange) {
    Sheet sheet;
    Fill(sheet);
    sheet.Type(3, 0, "0");    // D1
    sheet.Type(2, 0, "=D1");  // C1: how far OFFSET moves, recalculated by a change of D1
    sheet.Type(4, 0, "=SUM(INDIRECT(\"A1:A3\"))");
    sheet.Type(4, 1, "=OFFSET(A1,C1,0)");
    sheet.Type(4, 2, "=RAND()");
    sheet.Settle();
    EXPECT_EQ(sheet.GetVolatileCount(), 3u);
    EXPECT_EQ(sheet.ValueText(4, 0), u"6");
    EXPECT_EQ(sheet.ValueText(4, 1), u"1");

    sheet.Type(0, 1, "20");  // A2, read through a range no dependency names
    sheet.Type(3, 0, "2");   // D1, read by OFFSET through C1, which it registers nothing on
    sheet.Settle();
    EXPECT_EQ(sheet.ValueText(4, 0), u"24");
    EXPECT_EQ(sheet.ValueText(4, 1), u"3");

    // A value or another formula typed over one of them takes it out.
    sheet.Type(4, 2, "5");
    sheet.Type(4, 1, "=D1");
    EXPECT_EQ(sheet.GetVolatileCount(), 1u);
}

}  // namespace
