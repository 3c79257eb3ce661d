// SPDX-License-Identifier: Apache-2.0
// Text functions typed into cells: counts and positions, case and clean-up, codes, texts
// built up to the longest a formula may build, searches with wildcards, numbers as text and
// texts read as numbers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formula_cases.h"

namespace {

using Sheet = testing_support::FormulaSheet;
using testing_support::ExpectCases;
using testing_support::ExpectTexts;

TEST(TextFunctions, CountsAndPositions) {
    ExpectTexts({
        {"=LEFT(\"abc\",5)", "abc", 0},
        {"=LEFT(\"abcdef\",2.9)", "ab", 0},  // floor of the count
        {"=LEFT(\"abc\",-1)", "", 3},
        {"=LEFT(\"abc\",\"x\")", "", 3},
        {"=RIGHT(\"abc\",2)", "bc", 0},
        {"=RIGHT(\"abc\",0)", "", 0},
        {"=MID(\"abcdef\",3,2)", "cd", 0},
        {"=MID(\"abcdef\",0)", "", 3},
        {"=MID(\"abcdef\",2,-1)", "", 3},
        {"=MID(\"abc\",4)", "", 0},
        {"=MID(\"abc\",9,2)", "", 0},
        {"=LEFT(\"abc\",1E300)", "", 3},  // beyond any count
    });
    ExpectCases({{"=LEN(\"\")", 0, 0}, {"=LEN(12.25)", 5, 0}});
}

TEST(TextFunctions, NumbersCountTheirDisplayText) {
    Sheet sheet;
    CCNumberFormat twoDecimals(C_NF_NUMBER);
    twoDecimals.setPrecision(2);
    CCCellValue shown;
    shown.Set(1.5, twoDecimals);
    CCRCRef a1(0, 0);
    sheet.SetValue(&a1, &shown);
    ExpectCases(sheet, {{"=LEN(A1)", 4, 0}, {"=LEN(B1)", 0, 0}});  // B1 is empty
    ExpectTexts(sheet, {{"=T(A1)", "1.50", 0}, {"=RIGHT(A1,2)", "50", 0}});
}

TEST(TextFunctions, CaseAndCleanUp) {
    ExpectTexts({
        {"=UPPER(\"abc äé 1\")", "ABC ÄÉ 1", 0},
        {"=LOWER(\"ÀB-C\")", "àb-c", 0},
        {"=PROPER(\"o'neil 2nd mcDONALD\")", "O'Neil 2Nd Mcdonald", 0},
        {"=TRIM(\"  a   b \")", "a b", 0},
        {"=TRIM(\"a\"+CHAR(9)+\"  b\")", "a\tb", 0},  // first of the run
        {"=TRIM(\"   \")", "", 0},
        {"=CLEAN(CHAR(9)+\"a\"+CHAR(10)+\"b\"+CHAR(31))", "ab", 0},
    });
}

TEST(TextFunctions, CodesAndComparisons) {
    ExpectCases({
        {"=CODE(\"Ab\")", 65, 0},
        {"=CODE(\"€\")", 128, 0},  // Windows-1252
        {"=CODE(\"é\")", 233, 0},
        {"=CODE(\"Ā\")", 0, 3},  // not in the code page
        {"=CODE(\"\")", 0, 3},
        {"=EXACT(\"a\",\"A\")", 0, 0},
        {"=EXACT(1.5,\"1.5\")", 1, 0},
    });
    ExpectTexts({
        {"=CHAR(65.9)", "A", 0},
        {"=CHAR(128)", "€", 0},
        {"=CHAR(256)", "", 3},
        {"=CHAR(-1)", "", 3},
        {"=CHAR(\"A\")", "", 3},
        {"=T(2.5)", "2.5", 0},
    });
}

TEST(TextFunctions, ErrorArgumentPassesThrough) {
    Sheet sheet;
    sheet.Type(0, 0, "=1/0");  // error 2
    ExpectCases(sheet, {
                           {"=LEN(A1)", 0, 2},
                           {"=MID(\"abc\",A1)", 0, 2},
                           {"=CONCATENATE(\"a\",A1)", 0, 2},
                           {"=SEARCHTEXT(A1,\"a\")", 0, 2},
                           {"=LIKE(A1,\"*\")", 0, 2},
                           {"=VALUE(A1)", 0, 2},
                       });
}

// Results of exactly 32,767 units are built; one more is error 3, whatever the function.
TEST(TextFunctions, BuiltTextsStopAtTheLimit) {
    ExpectCases({
        {"=LEN(REPT(\"a\",32767))", 32767, 0},
        {"=REPT(\"ab\",16384)", 0, 3},
        {"=REPT(\"ab\",1E15)", 0, 3},  // count times length beyond 2^64
        {"=LEN(REPT(\"\",1E15))", 0, 0},
        {"=LEN(CONCATENATE(REPT(\"a\",32766),\"b\"))", 32767, 0},
        {"=CONCATENATE(REPT(\"a\",32766),\"bc\")", 0, 3},
        {"=LEN(SUBSTITUTE(REPT(\"a\",16383)+\"b\",\"a\",\"aa\"))", 32767, 0},
        {"=SUBSTITUTE(REPT(\"a\",16384),\"a\",\"aa\")", 0, 3},
        {"=REPLACE(REPT(\"a\",32767),1,0,\"b\")", 0, 3},
    });
}

TEST(TextFunctions, JoiningAndReplacing) {
    Sheet sheet;
    sheet.Type(0, 0, "x");
    sheet.Type(1, 0, "2.5");
    sheet.Type(1, 1, "y");  // A2 stays empty
    ExpectTexts(sheet, {
                           {"=CONCATENATE(\"a\",1.5,\"b\")", "a1.5b", 0},
                           {"=CONCATENATE(\"<\",A1:B2,\">\")", "<x2.5y>", 0},  // row by row
                           {"=CONCAT(B1:B2,A1)", "2.5yx", 0},
                           {"=CONCATENATE()", "", 0},
                           {"=REPLACE(\"abcdef\",3,2,\"XYZ\")", "abXYZef", 0},
                           {"=REPLACE(\"abc\",5,1,\"Z\")", "abcZ", 0},
                           {"=REPLACE(\"abc\",2,9,\"\")", "a", 0},
                           {"=REPLACE(\"abc\",0,1,\"Z\")", "", 3},
                           {"=REPLACE(\"abc\",1,-1,\"Z\")", "", 3},
                           {"=SUBSTITUTE(\"a-b-c\",\"-\",\"+\",2)", "a-b+c", 0},
                           {"=SUBSTITUTE(\"a-b-c\",\"-\",\"+\",3)", "a-b-c", 0},
                           {"=SUBSTITUTE(\"a-b\",\"-\",\"+\",0)", "", 3},
                           {"=SUBSTITUTE(\"aaaa\",\"aa\",\"b\")", "bb", 0},  // no overlaps
                           {"=SUBSTITUTE(\"abc\",\"\",\"x\")", "abc", 0},
                           {"=SUBSTITUTE(\"aBa\",\"a\",\"\")", "B", 0},
                       });
}

TEST(TextFunctions, FindAndSearch) {
    ExpectCases({
        {"=FINDTEXT(\"c\",\"abcabc\")", 3, 0},
        {"=FINDTEXT(\"c\",\"abcabc\",4)", 6, 0},
        {"=FINDTEXT(\"C\",\"abc\")", 0, 3},  // case counts
        {"=FINDTEXT(\"\",\"abc\",4)", 4, 0},
        {"=FINDTEXT(\"\",\"abc\",5)", 0, 3},
        {"=FINDTEXT(\"a\",\"abc\",0)", 0, 3},
        {"=FINDTEXT(\"?\",\"a?\")", 2, 0},  // no wildcards
        {"=SEARCHTEXT(\"C\",\"abc\")", 3, 0},
        {"=SEARCHTEXT(\"b?d\",\"abcd ABXD\",3)", 7, 0},
        {"=SEARCHTEXT(\"a*c\",\"xxabbbc\")", 3, 0},
        {"=SEARCHTEXT(\"*c\",\"xxc\",2)", 2, 0},
        {"=SEARCHTEXT(\"a?c*x\",\"abd a1cx\")", 5, 0},
        {"=SEARCHTEXT(\"a*z\",\"abc abz\")", 1, 0},
        {"=SEARCHTEXT(\"a*z\",\"abc\")", 0, 3},
        {"=SEARCHTEXT(\"~*\",\"ab*\")", 3, 0},
        {"=SEARCHTEXT(\"b~\",\"ab~\")", 2, 0},  // a final ~ is itself
        {"=SEARCHTEXT(\"x\",\"abc\",5)", 0, 3},
    });
}

TEST(TextFunctions, LikeMatchesTheWholeText) {
    Sheet sheet;
    sheet.Type(0, 0, "q*");
    sheet.Type(0, 1, "h?LLO");
    ExpectCases(sheet, {
                           {"=LIKE(\"Hello\",\"h*O\")", 1, 0},
                           {"=LIKE(\"Hello\",\"h?o\")", 0, 0},
                           {"=LIKE(\"Hello\",\"ell\")", 0, 0},  // not a substring search
                           {"=LIKE(\"\",\"*\")", 1, 0},
                           {"=LIKE(\"\",\"?\")", 0, 0},
                           {"=LIKE(\"a*b\",\"a~*b\")", 1, 0},
                           {"=LIKE(\"axb\",\"a~*b\")", 0, 0},
                           {"=LIKE(\"abcbc\",\"a*bc*bc\")", 1, 0},
                           {"=LIKE(\"abc\",\"a*bc*bc\")", 0, 0},
                           {"=LIKE(\"Hello\",\"x*\",A1:A2)", 1, 0},  // any of the patterns
                           {"=LIKE(\"Help\",\"x*\",A1:A2)", 0, 0},
                       });
}

TEST(TextFunctions, NumbersAsText) {
    ExpectTexts({
        {"=DOLLAR(1234.567)", "$1,234.57", 0},
        {"=DOLLAR(-1234.567,1)", "-$1,234.6", 0},
        {"=DOLLAR(1250,-2)", "$1,300", 0},
        {"=DOLLAR(2.5,0)", "$3", 0},
        {"=DOLLAR(1,15)", "", 3},
        {"=DOLLAR(\"1\")", "", 3},
        {"=FIXED(1234.5678,1)", "1,234.6", 0},
        {"=FIXED(1234.5678,1,TRUE)", "1234.6", 0},
        {"=FIXED(1.005)", "1.01", 0},
        {"=FIXED(-0.001,2)", "0.00", 0},
        {"=FIXED(-1234.5,0)", "-1,235", 0},
        {"=FIXED(1234567.891,-3)", "1,235,000", 0},
        {"=FIXED(5,-400)", "0", 0},
    });
}

TEST(TextFunctions, ValueReadsTypedInput) {
    Sheet sheet;
    sheet.Type(0, 0, "1/2/2004");
    ExpectCases(sheet, {
                           {"=VALUE(\" 1,234.5 \")", 1234.5, 0},
                           {"=VALUE(\"-3\")", -3, 0},
                           {"=VALUE(\"10%\")", 0.1, 0},
                           {"=VALUE(\"$12.50\")", 12.5, 0},
                           {"=VALUE(\"18:00\")", 0.75, 0},
                           {"=VALUE(\"1/2/2004\")=A1", 1, 0},  // the serial typing gives
                           {"=VALUE(7)", 7, 0},
                           {"=VALUE(\"\")", 0, 3},
                           {"=VALUE(\"abc\")", 0, 3},
                           {"=VALUE(\"1 2\")", 0, 3},
                           {"=VALUE(\"TRUE\")", 0, 3},
                       });
}

}  // namespace
