// SPDX-License-Identifier: Apache-2.0
// Aggregations of the same ranges asked for again and again, between changes inside and
// outside the ranges (formula cells in them included) and as a column is typed below them,
// must give what a sheet that never computed them before gives.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <utility>

#include "facade/host_sheet.h"
#include "functions/formula_cases.h"
#include "ostrel/cells/cell_value.h"
#include "ostrel/engine/module.h"
#include "ostrel/platform/utf.h"
#include "platform/text/unicode.h"

using ostrel::host::HostSheet;

namespace {

const CCCellValue& ValueOf(HostSheet& sheet, const std::u16string& formula) {
    sheet.SetCellText(7, 300, formula);
    sheet.RecalculateAll();
    return sheet.FindCell(7, 300)->GetValue();
}

// The value of a formula on a sheet that keeps nothing from one formula to the next: every
// range it reads is walked.
CCCellValue Afresh(testing_support::FormulaSheet& sheet, const std::u16string& formula) {
    sheet.SetDerivedValues(nullptr);
    return sheet.Value(ostrel::ToUtf8(formula));
}

// Equal to the last bit: a kept result must be the very number the walk computes.
bool Same(const CCCellValue& a, const CCCellValue& b) {
    if (a.GetType() != b.GetType() || !a.IsEqual(b)) return false;
    return !a.IsNumber() || a.GetNumber() == b.GetNumber();
}

std::string Describe(const CCCellValue& v) {
    if (v.IsNumber()) {
        char text[32];
        std::snprintf(text, sizeof text, "%.17g", v.GetNumber());
        return text;
    }
    if (v.IsError()) return "error " + std::to_string(v.GetError());
    return "kind " + std::to_string(v.GetType());
}

using Contents = std::map<std::pair<unsigned, unsigned>, std::u16string>;

// A sheet that never computed anything, typed with the contents bottom up.
std::unique_ptr<testing_support::FormulaSheet> Fresh(const Contents& contents) {
    auto fresh = std::make_unique<testing_support::FormulaSheet>();
    for (auto it = contents.rbegin(); it != contents.rend(); ++it)
        fresh->Type(static_cast<unsigned char>(it->first.first),
                    static_cast<uint16_t>(it->first.second), it->second);
    return fresh;
}

// The formula asked of the sheet `times` times in a row (after the first, the kept result)
// against its value afresh.
testing::AssertionResult AsAfresh(HostSheet& sheet, testing_support::FormulaSheet& fresh,
                                  const std::u16string& formula, int times = 1) {
    const CCCellValue expected = Afresh(fresh, formula);
    for (int again = 0; again < times; ++again) {
        const CCCellValue& got = ValueOf(sheet, formula);
        if (!Same(got, expected))
            return testing::AssertionFailure()
                   << ostrel::ToUtf8(formula) << " asked " << again + 1
                   << " times: " << Describe(got) << ", afresh " << Describe(expected);
    }
    return testing::AssertionSuccess();
}

// The reference host reads ranges in runs, stops where its columns end and keeps results;
// the test host reads every position one at a time and computes every formula afresh.
TEST(AggregateMemo, RememberedResultsEqualThoseOfAFreshSheet) {
    QXCellInit();
    HostSheet sheet;
    Contents contents;
    auto type = [&](unsigned column, unsigned row, const std::u16string& text) {
        sheet.SetCellText(column, row, text);
        contents[{column, row}] = text;
    };
    std::mt19937 random(20261207);
    const char16_t* texts[] = {u"7",   u"-2.5", u"1e3", u"x",  u"=1/0", u"=C5*2",
                               u"=C9", u"TRUE", u"0.1", u"'4", u""};
    const char16_t* formulas[] = {u"=MIN(A1:A100)",
                                  u"=MAX(A1:B300)",
                                  u"=COUNT(A1:A100)",
                                  u"=AVERAGE(A1:A200)",
                                  u"=STDEV(A1:B80)",
                                  u"=MEDIAN(B1:B100,A1:A30)",
                                  u"=CORREL(A1:A70,B1:B70)",
                                  u"=AVERAGE(A41:A120)",
                                  u"=COUNT(A1:C250)",
                                  u"=RANK(A7,A1:A100)",
                                  u"=RANK(7,A1:B80,1)",
                                  u"=MEDIAN(A1:B80)",
                                  u"=LARGE(A1:A100,3)",
                                  u"=SMALL(A1:B80,2)",
                                  u"=PERCENTILE(A1:A100,0.3)",
                                  u"=QUARTILE(A1:B80,1)",
                                  u"=COUNTIF(A1:A100,7)",
                                  u"=COUNTIF(A1:B80,\"<>7\")",
                                  u"=COUNTIF(A1:A100,\">=0.1\")",
                                  u"=COUNTIF(A1:A100,\"X\")",
                                  u"=COUNTIF(A1:B80,\"<>x\")"};
    for (int step = 0; step < 600; ++step) {
        // Mostly inside the ranges; column C, read by the formula cells in them, holds
        // constants only, so that no order of typing makes a cycle. Rows 60 to 99 are
        // filled late, so that the ranges' ends are first empty.
        const unsigned column = random() % 3, row = random() % (step < 300 ? 60 : 100);
        std::u16string text = texts[random() % std::size(texts)];
        if (column == 2 && text[0] == u'=') text = u"3";
        // An error ends every aggregation that meets it: only the bottom of B holds them.
        if (text == u"=1/0" && (column != 1 || row < 90)) text = u"5";
        type(column, row, text);
        if (random() % 3) continue;
        ASSERT_TRUE(AsAfresh(sheet, *Fresh(contents), formulas[random() % std::size(formulas)], 2))
            << "at step " << step;
    }

    // Columns typed downward (D positive, E negative) and upward (F positive, G negative)
    // beside their statistics, the cell before the new one now and then retyped and another
    // emptied: a value typed past the values held is added to the kept folds (before them
    // only where the order does not matter); any other change reads the range again.
    const char16_t* folds[] = {u"=MIN(D1:D300)",
                               u"=MAX(E1:E300)",
                               u"=COUNT(D1:D300)",
                               u"=COUNTN(E1:E300)",
                               u"=MIN(F1:F300)",
                               u"=MAX(G1:G300)",
                               u"=COUNT(F1:F300)",
                               u"=COUNTN(G1:G300)",
                               u"=MAX(F1:F300)",
                               u"=AVERAGE(D1:D300)",
                               u"=AVERAGE(E1:E300)",
                               u"=AVERAGE(F1:F300)",
                               u"=RANK(D5,D1:D300)",
                               u"=RANK(-5.1,E1:E300,1)",
                               u"=RANK(F40,F1:F300)",
                               u"=RANK(6.1,F1:F300,1)",
                               u"=MEDIAN(D1:D300)",
                               u"=LARGE(F1:F300,2)",
                               u"=PERCENTILE(E1:E300,0.35)",
                               u"=SMALL(G1:G300,4)",
                               u"=MEDIAN(G1:G300)",
                               u"=STDEV(D1:D300)",
                               u"=VARP(E1:E300)",
                               u"=DEVSQ(F1:F300)",
                               u"=VAR(D1:D300)",
                               u"=STDEVP(E1:E300)",
                               u"=COUNTIF(D1:D300,D5)",
                               u"=COUNTIF(F1:F300,\"<5.1\")",
                               u"=COUNTIF(G1:G300,\"<>-3.1\")",
                               u"=COUNTIF(E1:E300,\">-8.1\")",
                               u"=COUNTIF(F1:F300,\"<=5.1\")"};
    for (unsigned step = 0; step < 150; ++step) {
        for (unsigned column : {3u, 4u, 5u, 6u}) {
            const bool downward = column < 5;
            const unsigned row = downward ? step : 149 - step;
            const int before = downward ? -1 : 1;
            const double magnitude = 1 + (row * 7 % 23) + 0.1;  // sums that depend on order
            std::u16string text =
                ostrel::FromUtf8(std::to_string(column % 2 ? magnitude : -magnitude));
            if (row % 13 == 5) text = u"x";
            if (step == 120 && column % 2) text = u"=1/0";
            if (step == 140 && column % 2) text = u"=NA()";  // the first in walk order counts
            if (step % 7 == 2) type(column, row, u"9");      // typed twice before the next question
            type(column, row, text);
            // Now and then a cell before the new one, which the folds hold, is retyped.
            if (step % 11 == 3) type(column, unsigned(int(row) + before), u"2");
            if (step % 29 == 28)
                type(column, unsigned(int(row) + before * int(1 + random() % 20)), u"");
        }
        const auto fresh = Fresh(contents);
        for (const char16_t* formula : folds)
            ASSERT_TRUE(AsAfresh(sheet, *fresh, formula)) << "at step " << step;
    }

    // Running statistics down column I: each formula reads one row more than the one above
    // it, and is read on from that one's fold; now and then a number above is retyped.
    for (unsigned row = 0; row < 200; ++row) {
        const double magnitude = 1 + (row * 5 % 17) + 0.1;
        std::u16string text = ostrel::FromUtf8(std::to_string(row % 3 ? magnitude : -magnitude));
        if (row % 19 == 7) text = u"x";
        type(8, row, text);
        if (row % 37 == 36) type(8, row / 2, u"4");
        if (row < 60) continue;
        const auto fresh = Fresh(contents);
        const std::string end = "I$1:I" + std::to_string(row + 1) + ")";
        const std::string own = "I" + std::to_string(row + 1);
        for (const std::string& call :
             {"MIN(" + end, "MAX(" + end, "COUNT(" + end, "AVERAGE(" + end, "STDEV(" + end,
              "VARP(" + end, "MEDIAN(" + end, "RANK(" + own + "," + end,
              "COUNTIF(" + end.substr(0, end.size() - 1) + "," + own + ")",
              "COUNTIF(" + end.substr(0, end.size() - 1) + ",\"X\")"})
            ASSERT_TRUE(AsAfresh(sheet, *fresh, ostrel::FromUtf8("=" + call)));
    }

    // SUMIF of a number over whole numbers, summed by sides of the kept order, typed downward
    // in L and upward in M (K is where the fresh sheet computes); then numbers whose sums
    // depend on their order: one just below 2^53, which the others' sums pass, and fractions.
    for (unsigned step = 0; step < 200; ++step) {
        for (unsigned column : {11u, 12u}) {
            const unsigned row = column == 11 ? step : 199 - step;
            std::u16string text = ostrel::FromUtf8(std::to_string(int(random() % 41) - 20));
            if (row % 17 == 3) text = u"TRUE";
            if (row % 19 == 4) text = u"x";
            if (step == 150 && column == 11) text = u"9007199254740991";
            if (step >= 150 && column == 12 && text != u"x") text += u".1";
            type(column, row, text);
        }
        if (step < 60 || step % 3) continue;
        const auto fresh = Fresh(contents);
        const std::string own = std::to_string(step + 1);
        for (const std::string& call : std::vector<std::string>{
                 "SUMIF(L1:L200,\"<3\")", "SUMIF(L1:L200,\">=-4\")", "SUMIF(L1:L200,7)",
                 "SUMIF(L1:L200,\"<>1\")", "SUMIF(L1:L200,CONCATENATE(\">\",L" + own + "))",
                 "SUMIF(L1:L200,CONCATENATE(\"<=\",L" + own + "))", "SUMIF(M1:M200,\"<5\")",
                 "SUMIF(M1:M200,CONCATENATE(\">\",M" + own + "))", "SUMIF(M1:M200,\"<>-2\")"})
            ASSERT_TRUE(AsAfresh(sheet, *fresh, ostrel::FromUtf8("=" + call), 2))
                << "at step " << step;
    }
}

// Texts are counted by the keys of the collation in force: under one where a precomposed
// letter equals its decomposition and a soft hyphen is ignored, and again after a change back
// to ordinal comparison, where they differ.
TEST(AggregateMemo, TextsCountAsTheCollationComparesThem) {
    QXCellInit();
    struct Restore {
        std::string was = ostrel::text::GetCollationLocale();
        ~Restore() { ostrel::text::SetCollationLocale(was); }
    } restore;
    HostSheet sheet;
    testing_support::FormulaSheet fresh;
    std::mt19937 random(11);
    const char16_t* texts[] = {u"\u00E9", u"e\u0301", u"\u00C9", u"ab", u"a\u00ADb", u"x", u"1"};
    for (unsigned row = 0; row < 100; ++row) {
        const char16_t* text = texts[random() % std::size(texts)];
        sheet.SetCellText(0, row, text);
        fresh.Type(0, static_cast<uint16_t>(row), text);
    }
    for (const char* locale : {"de_DE", "", "de_DE"}) {
        ostrel::text::SetCollationLocale(locale);
        for (const char16_t* formula :
             {u"=COUNTIF(A1:A100,\"\u00E9\")", u"=COUNTIF(A1:A100,\"<>ab\")",
              u"=COUNTIF(A1:A100,\"A\u00ADB\")"})
            ASSERT_TRUE(AsAfresh(sheet, fresh, formula, 3)) << "under \"" << locale << "\"";
    }
}

}  // namespace
