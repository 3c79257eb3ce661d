// SPDX-License-Identifier: Apache-2.0
// The lookup functions typed into cells: INDEX, LOOKUP, VLOOKUP and HLOOKUP, MATCH, FIND,
// FINDEX and LOOKUPEX on small tables, tables on other sheets, and the ranges they open,
// closed on every path.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formula_cases.h"
#include "ostrel/refs/name_ref.h"
#include "ostrel/refs/region_ref.h"

namespace {

using Sheet = testing_support::FormulaSheet;
using testing_support::ExpectCases;

// A test sheet whose formulas may name the other sheets of its family (Data!A1), as a host's
// sheets do; apart from them, Data! names sheet 1, which is no sheet.
struct FamilySheet : Sheet {
    explicit FamilySheet(testing_support::TestSheet& other) : family{this, &other} {
        Join(&family);
        other.Join(&family);
    }
    void Leave() {
        for (testing_support::TestSheet* member : family)
            member->Join(nullptr);
        joined = false;
    }
    ~FamilySheet() override { Leave(); }
    int IsValidRef(const CCRef* ref) override {
        if (joined && ref && ref->GetType() == REF_TYPE_NAME)
            return GetNameIndex(static_cast<const CCNameRef*>(ref)) != 0;
        return Sheet::IsValidRef(ref);
    }
    std::vector<testing_support::TestSheet*> family;
    bool joined = true;
};

TEST(LookupFunctions, IndexCountsRowByRowAcrossItsRanges) {
    Sheet sheet;
    sheet.Column(0, {"1", "3"});  // A1:B2 holds 1 2 / 3 4
    sheet.Column(1, {"2", "4"});
    sheet.Column(2, {"5", "6", "7"});
    ExpectCases(sheet, {
                           {"=INDEX(4,A1:B2)", 4, 0},
                           {"=INDEX(2,A1:B2)", 2, 0},
                           {"=INDEX(5,A1:B2)", 0, 3},
                           {"=INDEX(0,A1:B2)", 0, 3},
                           {"=INDEX(-1,A1:B2)", 0, 3},
                           {"=INDEX(\"2\",A1:B2)", 0, 3},
                           // Counting 2.5 down by one per value read reaches 0 at the third.
                           {"=INDEX(2.5,A1:B2)", 3, 0},
                           {"=INDEX(0.5,A1:B2)", 1, 0},
                           {"=INDEX(6,A1:B2,C1:C3)", 6, 0},
                           {"=INDEX(8,A1:B2,C1:C3)", 0, 3},
                           {"=INDEX(1E300,A1:B2)", 0, 3},
                       });
}

// What the searches find on random tables is compared with their definitions in
// lookup_differential_test.cpp; here the arguments they refuse and the sheets they miss.
TEST(LookupFunctions, ArgumentsOutsideTheirRulesAndMissingSheets) {
    Sheet sheet;
    sheet.Column(0, {"a", "b", "B", "5", "7"});
    sheet.Column(1, {"1", "2", "3", "4", "5"});
    sheet.Column(3, {"1", "5", "7"});  // D1:E3 sorted keys and results
    sheet.Column(4, {"10", "20", "30"});
    const char* side[2][3] = {{"1", "5", "7"}, {"10", "20", "30"}};  // A9:C10: a table on its side
    for (uint16_t r = 0; r < 2; ++r)
        for (unsigned char c = 0; c < 3; ++c)
            sheet.Type(c, uint16_t(8 + r), side[r][c]);
    ExpectCases(sheet, {
                           {"=LOOKUP(6,D1:D3,Nowhere!E1:E3)", 0, 1},
                           {"=LOOKUP(6,Nowhere!D1:D3,E1:E3)", 0, 1},
                           // Results of any shape are read row by row, in step: 1 10 5 20.
                           {"=LOOKUP(5,D1:D3,D1:E2)", 10, 0},
                           {"=VLOOKUP(\"a\",A1:B3,3)", 0, 3},  // two columns only
                           {"=VLOOKUP(\"a\",A1:B3,0)", 0, 3},
                           {"=VLOOKUP(\"a\",A1:B3,257)", 0, 3},
                           {"=VLOOKUP(\"5\",A1:B5,2)", 0, 3},  // a text is no number
                           {"=VLOOKUP(\"a\",A1:B3,2,2)", 0, 3},
                           {"=VLOOKUP(\"a\",A1:B3,2,\"x\")", 0, 3},
                           {"=VLOOKUP(\"a\",A1:B3,2,0,0)", 0, 4},
                           {"=VLOOKUP(1,7,2)", 0, 3},
                           {"=VLOOKUP(1,Nowhere!A1:B3,2)", 0, 1},
                           {"=VLOOKUP(7,A5,1)", 7, 0},  // one cell is a table too
                           {"=VLOOKUP(6,D1:E3,2,TRUE)", 20, 0},
                           {"=VLOOKUP(5,D1:E3,2,FALSE)", 20, 0},
                           {"=HLOOKUP(5,A9:C10,3)", 0, 3},
                           {"=MATCH(5,D1:D3,\"0\")", 0, 3},
                           {"=MATCH(5,D1:D3,1E10)", 0, 3},
                           {"=MATCH(3.5,D1:D3,2.9)", 1, 0},  // any positive type: ascending
                           {"=MATCH(5,Nowhere!A1:A4,0)", 0, 1},
                           {"=FIND(1,Nowhere!A1:A3)", 0, 1},
                       });
}

TEST(LookupFunctions, TablesOnAnotherSheetFollowItsChanges) {
    testing_support::TestSheet data(u"Data");
    FamilySheet sheet(data);
    for (uint16_t r = 0; r < 20; ++r) {
        data.Type(0, r, ostrel::FromUtf8(std::to_string(r + 1)));
        data.Type(1, r, ostrel::FromUtf8(std::to_string(10 * (r + 1))));
    }
    // Searched three times, the table is indexed; a change there is seen at once.
    for (int i = 0; i < 3; ++i)
        ExpectCases(sheet, {{"=VLOOKUP(7,Data!A1:B20,2)", 70, 0},
                            {"=MATCH(7.5,Data!A1:A20)", 7, 0},
                            {"=INDEX(14,Data!A1:B20)", 70, 0}});
    data.Type(0, 6, u"70");
    ExpectCases(sheet, {{"=VLOOKUP(7,Data!A1:B20,2)", 0, 3},
                        {"=VLOOKUP(70,Data!A1:B20,2)", 70, 0},
                        {"=MATCH(7.5,Data!A1:A20)", 6, 0}});
}

// Every path out of every search closes what it opened: after 100,000 searches that fail in
// every way, the open-reference table is empty again, so its first entry is handed out. The
// ranges on Data pass the formulas' checks and cannot be opened once the sheet has gone.
TEST(LookupFunctions, FailingSearchesLeaveNoRangeOpen) {
    testing_support::TestSheet data(u"Data");
    FamilySheet sheet(data);
    sheet.Column(0, {"1", "5", "7"});
    sheet.Column(1, {"10", "20", "30"});
    const std::vector<testing_support::Case> failing = {
        {"=LOOKUP(0,A1:A3,B1:B3)", 0, 9},
        {"=LOOKUP(9,A1:A3,Data!B1:B3)", 0, 1},
        {"=LOOKUP(9,Data!A1:A3,B1:B3)", 0, 1},
        {"=VLOOKUP(6,A1:B3,2)", 0, 3},
        {"=VLOOKUP(6,A1:B3,3)", 0, 3},
        {"=VLOOKUP(0,A1:B3,2,1)", 0, 9},
        {"=VLOOKUP(6,Data!A1:B3,2)", 0, 1},
        {"=HLOOKUP(6,A1:B3,2)", 0, 3},
        {"=MATCH(0,A1:A3,1)", 0, 9},
        {"=MATCH(\"x\",A1:B3,0)", 0, 9},
        {"=MATCH(1,Data!A1:B3,0)", 0, 1},
        {"=INDEX(9,A1:B3)", 0, 3},
        {"=INDEX(7,A1:B3,Data!A1:B3)", 0, 1},
        {"=INDEX(3,A1:B3,Data!A1:B3)", 5, 0},  // found before the range that fails
        {"=FINDEX(4,A1:B3,Data!A1:B3)", 0, 1},
        {"=FINDEX(5,A1:B3,Data!A1:B3)", 3, 0},
        {"=FIND(4,A1:B3,Data!A1:A3)", 0, 1},
        {"=LOOKUPEX(6,A1:A3,B1:B3)", 0, 9},
        {"=LOOKUPEX(6,A1:A3,Data!B1:B3)", 0, 1},
    };
    for (size_t i = 0; i < failing.size(); ++i)
        sheet.Type(3, uint16_t(i), std::string(failing[i].formula));
    sheet.Leave();
    CCRegionRef probe(0, 0, 1, 2);
    const uint16_t before = sheet.OpenRef(&probe);
    ASSERT_EQ(before, 1);
    sheet.CloseRef(before);
    for (int round = 0; round * failing.size() < 100000; ++round) {
        for (size_t i = 0; i < failing.size(); ++i) {
            auto* cell = sheet.Cell(3, uint16_t(i));
            cell->Recalc(sheet.GetCTX());
            if (round > 0) continue;
            SCOPED_TRACE(failing[i].formula);
            const CCCellValue& v = cell->GetValue();
            if (failing[i].error)
                EXPECT_EQ(v.IsError() ? v.GetError() : 0, failing[i].error);
            else
                EXPECT_EQ(v.IsNumber() ? v.GetNumber() : -1, failing[i].number);
        }
    }
    const uint16_t after = sheet.OpenRef(&probe);
    EXPECT_EQ(after, 1);
    sheet.CloseRef(after);
}

}  // namespace
