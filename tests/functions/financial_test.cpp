// SPDX-License-Identifier: Apache-2.0
// Financial functions typed into cells. Expected values are the definitions worked out in
// exact or 50-digit decimal arithmetic; dates are written with DATE and the expected serials
// count days since 1899-12-31.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "builtin.h"
#include "formula_cases.h"
#include "ostrel/formats/number_format.h"
#include "ostrel/formula/formula.h"
#include "ostrel/formula/parser.h"
#include "ostrel/refs/ref.h"

namespace {

using Sheet = testing_support::FormulaSheet;
using testing_support::ExpectCases;

// An unlisted function is reached by no name: its routine runs on the arguments of a parsed
// call of a listed function with the same arguments, the formula of each case.
void ExpectHidden(const char16_t* function, const std::vector<testing_support::Case>& cases) {
    Sheet sheet;
    for (const testing_support::Case& c : cases) {
        SCOPED_TRACE(c.formula);
        std::unique_ptr<CCFormula> call(
            _ParseFormula(&sheet.Ctx(), ostrel::FromUtf8(c.formula).c_str(), 0));
        ASSERT_TRUE(call && call->GetType() == FORMULA_OP);
        const CCRCRef cell(10, 0);
        CCCellValue v;
        testing_support::Builtin(function).GetEval()(
            &sheet.Ctx(), v, static_cast<CCOpFormula*>(call.get())->GetArgs(), &cell);
        testing_support::ExpectNumberOrError(v, c.number, c.error);
    }
}

TEST(FinancialFunctions, AnnuitiesAndRates) {
    ExpectCases({
        {"=PV(100,0.1,2)", 173.55371900826446, 0},
        {"=PV(100,0,2)", 0, 2},
        {"=PV(100,-1,2)", 0, 3},  // (1 + r)^-n is infinite
        {"=FV(100,0.1,2)", 210, 0},
        {"=PMT(1000,0.01,12)", 88.848788678341707, 0},
        {"=PMT(1000,0,12)", 0, 2},
        {"=PMT(1000,0.1,0)", 0, 2},
        // A small rate keeps its digits beside the 1 of 1 + r.
        {"=PV(1000,1E-10,12)", 11999.9999922, 0},
        {"=FV(1000,1E-10,12)", 12000.0000066, 0},
        {"=EFFECT(1E-12,12)", 1.0000000000004583e-12, 0},
        {"=PV(1/0,0.1,2)", 0, 2},  // an error argument passes
        {"=PV(\"a\",0.1,2)", 0, 3},
        {"=COMPOUND(1000,0.05,10)", 1628.8946267774414, 0},
        {"=COMPOUND(1000,0.05,2.5)", 1129.7263219470457, 0},
        {"=COMPOUND(1000,-2,0.5)", 0, 3},  // a root of a negative base
        {"=EFFECT(0.0525,4.9)", 0.053542667370758057, 0},
        {"=EFFECT(0,4)", 0, 3},
        {"=EFFECT(0.05,0.9)", 0, 3},
        {"=NOMINAL(0.053543,4)", 0.052500319868355864, 0},
        {"=NOMINAL(-0.1,4)", 0, 3},
    });
}

TEST(FinancialFunctions, NetPresentValueAndModifiedRate) {
    Sheet sheet;
    // A text and an empty cell among the flows are passed over, not counted as periods.
    sheet.Column(0, {"-120000", "39000", "abc", "", "30000", "21000", "37000", "46000"});
    sheet.Column(1, {"-10000", "3000", "=1/0"});
    ExpectCases(sheet, {
                           {"=NPV(0.1,-10000,3000,4200,6800)", 1188.443412335223, 0},
                           {"=NPV(0.1,B1:B2,4200,6800)", 1188.443412335223, 0},
                           {"=NPV(0.1,B1:B3)", 0, 2},
                           {"=NPV(-1,100)", 0, 2},
                           {"=MIRR(A1:A8,0.1,0.12)", 0.12609413036590515, 0},
                           {"=MIRR(A1:A8,0.1,0.14)", 0.13475911082831485, 0},
                           {"=MIRR(A1:A6,0.1,0.12)", -0.04804465524998082, 0},
                           {"=MIRR(A2:A8,0.1,0.12)", 0, 2},  // no loss to finance
                           {"=MIRR(A1:A8,-1,0.12)", 0, 2},
                           {"=MIRR(B1:B3,0.1,0.12)", 0, 2},  // the error value in B3
                       });
}

TEST(FinancialFunctions, InternalRateFindsRootsOrFails) {
    Sheet sheet;
    sheet.Column(0, {"-70000", "12000", "15000", "18000", "21000", "26000"});
    sheet.Column(1, {"-100", "50"});           // a loss: the root lies below 0
    sheet.Column(2, {"-3", "-2", "3", "-1"});  // no root right of -1, one across it
    sheet.Column(3, {"-7E+13", "1.2E+13", "1.5E+13", "1.8E+13", "2.1E+13", "2.6E+13"});
    sheet.Column(4, {"-7E-13", "1.2E-13", "1.5E-13", "1.8E-13", "2.1E-13", "2.6E-13"});
    sheet.Column(5, {"10", "20"});
    const double rate = 0.086630948036531614;
    ExpectCases(sheet, {
                           {"=IRR(A1:A6)", rate, 0},
                           {"=IRR(A1:A5)", -0.021244848273410991, 0},
                           {"=IRR(A1:A6,0.5)", rate, 0},
                           {"=IRR(A1:A6,\"x\")", rate, 0},
                           {"=IRR(B1:B2)", -0.5, 0},
                           // The precision does not depend on the size of the flows.
                           {"=IRR(D1:D6)", rate, 0},
                           {"=IRR(E1:E6)", rate, 0},
                           // Failures give no rate: one sign, the pole, a guess beyond it.
                           {"=IRR(F1:F2)", 0, 3},
                           {"=IRR(C1:C4)", 0, 3},
                           {"=IRR(A1:A6,-1)", 0, 3},
                           {"=IRR(A1:A6,1/0)", 0, 2},
                       });
}

TEST(FinancialFunctions, Depreciation) {
    ExpectCases({
        // Rate 0.319; 7 months in the first year, the other 5 after the
        // sixth.
        {"=DB(1000000,100000,6,1,7)", 186083.33333333333, 0},
        {"=DB(1000000,100000,6,2,7)", 259639.41666666667, 0},
        {"=DB(1000000,100000,6,6,7)", 55841.756736028453, 0},
        {"=DB(1000000,100000,6,7,7)", 15845.098473848073, 0},
        {"=DB(10000,1000,5.9,5)", 584.98375128849, 0},
        {"=DB(10000,0,3,2,6)", 5000, 0},
        {"=DB(10000,1000,5,6)", 0, 0},       // a full first year leaves nothing
        {"=DB(1E+15,1,1E+15,1E+15)", 0, 0},  // no loop over the periods
        {"=DB(0,0,5,1)", 0, 3},
        {"=DB(1000,-1,5,1)", 0, 3},
        {"=DB(1000,100,0.9,1)", 0, 3},
        {"=DB(1000,100,5,0)", 0, 3},
        {"=DB(1000,100,5,7,6)", 0, 3},
        {"=DB(1000,100,5,1,13)", 0, 3},
        {"=DB(1000,100,5,1,0)", 0, 3},
    });
    ExpectHidden(u"SYD", {
                             {"DISC(30000,7500,10,1)", 4090.9090909090909, 0},
                             {"DISC(30000,7500,10,10)", 409.09090909090909, 0},
                             {"DISC(30000,7500,10,2.5)", 3477.2727272727273, 0},
                             {"DISC(30000,7500,10,11)", 0, 3},
                             {"DISC(30000,7500,0,1)", 0, 3},
                         });
}

TEST(FinancialFunctions, CouponSchedule) {
    Sheet sheet;
    ExpectCases(
        sheet,
        {
            {"=COUPPCD(DATE(2011,1,25),DATE(2011,11,15),2,1)", 40496, 0},
            {"=COUPNCD(DATE(2011,1,25),DATE(2011,11,15),2,1)", 40677, 0},
            {"=COUPNUM(DATE(2011,1,25),DATE(2011,11,15),2,1)", 2, 0},
            {"=COUPDAYBS(DATE(2011,1,25),DATE(2011,11,15),2,1)", 71, 0},
            {"=COUPDAYS(DATE(2011,1,25),DATE(2011,11,15),2,1)", 181, 0},
            {"=COUPDAYSNC(DATE(2011,1,25),DATE(2011,11,15),2,1)", 110, 0},
            // A maturity at a month's end puts every coupon at a month's end.
            {"=COUPPCD(DATE(2011,12,1),DATE(2012,8,31),4)", 40876, 0},
            {"=COUPNCD(DATE(2011,12,1),DATE(2012,8,31),4)", 40967, 0},
            {"=COUPNUM(DATE(2011,12,1),DATE(2012,8,31),4)", 3, 0},
            // The 30th stays the 30th after February; actual/365 periods.
            {"=COUPPCD(DATE(2011,12,15),DATE(2012,5,30),4,3)", 40876, 0},
            {"=COUPDAYS(DATE(2011,12,15),DATE(2012,5,30),4,3)", 91.25, 0},
            {"=COUPDAYSNC(DATE(2011,12,15),DATE(2012,5,30),4,3)", 76, 0},
            // From the end of February: US and European 30/360, actual/360.
            {"=COUPDAYBS(DATE(2011,3,15),DATE(2011,8,31),2)", 15, 0},
            {"=COUPDAYSNC(DATE(2011,3,15),DATE(2011,8,31),2,0)", 165, 0},
            {"=COUPDAYBS(DATE(2011,3,15),DATE(2011,8,31),2,4)", 17, 0},
            {"=COUPDAYSNC(DATE(2011,3,15),DATE(2011,8,31),2,4)", 163, 0},
            {"=COUPDAYS(DATE(2011,3,1),DATE(2011,8,31),4,2)", 90, 0},
            {"=COUPDAYSNC(DATE(2011,3,1),DATE(2011,8,31),4,2)", 91, 0},
            {"=COUPNUM(DATE(2011,1,25.7),DATE(2011,11,15),2.9,1.9)", 2, 0},  // truncated
            {"=COUPNUM(DATE(2011,11,15),DATE(2011,11,15),2)", 0, 3},
            {"=COUPNUM(DATE(2011,1,25),DATE(2011,11,15),3)", 0, 3},
            {"=COUPNUM(DATE(2011,1,25),DATE(2011,11,15),2,5)", 0, 3},
            {"=COUPNUM(-1,DATE(2011,11,15),2)", 0, 3},
            {"=COUPPCD(DATE(1900,1,10),DATE(1900,5,31),1)", 0, 3},  // before the first serial
        });
    EXPECT_EQ(sheet.Value("=COUPNCD(DATE(2011,1,25),DATE(2011,11,15),2)").GetFormat().GetType(),
              C_NF_DATE);
}

TEST(FinancialFunctions, Securities) {
    ExpectCases({
        {"=PRICE(DATE(2008,2,15),DATE(2017,11,15),0.0575,0.065,100,2,0)", 94.634361621322099, 0},
        {"=PRICE(DATE(2011,1,25),DATE(2011,5,15),0.05,0.06,100,2,1)", 99.684014173384135, 0},
        {"=PRICE(DATE(2010,3,10),DATE(2013,8,31),0.04,0.05,105,4,1)", 101.03698882816428, 0},
        {"=PRICE(DATE(2008,2,15),DATE(2017,11,15),-0.01,0.065,100,2)", 0, 3},
        {"=PRICE(DATE(2008,2,15),DATE(2017,11,15),0.0575,0.065,0,2)", 0, 3},
        {"=DISC(DATE(2018,1,25),DATE(2018,6,15),97.975,100)", 0.052071428571428571, 0},
        {"=DISC(DATE(2018,1,25),DATE(2018,6,15),97.975,100,1)", 0.052420212765957447, 0},
        {"=DISC(DATE(2018,1,30),DATE(2018,1,31),97.975,100)", 0, 2},
        {"=DISC(DATE(2018,1,25),DATE(2018,6,15),0,100)", 0, 3},
        {"=INTRATE(DATE(2008,2,15),DATE(2008,5,15),1000000,1014420,2)", 0.05768, 0},
        {"=RECEIVED(DATE(2008,2,15),DATE(2008,5,15),1000000,0.0575,2)", 1014584.6544071021, 0},
        {"=RECEIVED(DATE(2008,2,15),DATE(2009,2,15),1000000,1,2)", 0, 3},
        {"=PRICEDISC(DATE(2008,2,16),DATE(2008,3,1),0.0525,100,2)", 99.795833333333333, 0},
        {"=PRICEMAT(DATE(2008,2,15),DATE(2008,4,13),DATE(2007,11,11),0.061,0.061)",
         99.984498875556949, 0},
        {"=PRICEMAT(DATE(2008,2,15),DATE(2008,4,13),DATE(2007,11,11),0.061,0.061,3)",
         99.984597764569472, 0},
        {"=PRICEMAT(DATE(2008,2,15),DATE(2008,4,13),DATE(2008,3,1),0.061,0.061)", 0, 3},
        {"=ACCRINTM(DATE(2008,4,1),DATE(2008,6,15),0.1,1000,3)", 20.547945205479452, 0},
        {"=ACCRINTM(DATE(2008,4,1),DATE(2008,6,15),0.1)", 20.555555555555556, 0},
        {"=ACCRINTM(DATE(2008,4,1),DATE(2008,6,15),0)", 0, 3},
        {"=DOLLARDE(1.02,16)", 1.125, 0},
        {"=DOLLARDE(-1.1,32.9)", -1.3125, 0},
        {"=DOLLARDE(1.1,10)", 1.1, 0},
        {"=DOLLARDE(1.02,0.5)", 0, 2},
        {"=DOLLARDE(1.02,-1)", 0, 3},
    });
    // The closed form, whatever the periods left; the basis 4 when omitted.
    ExpectHidden(
        u"YIELD",
        {
            {"PRICE(DATE(2011,1,25),DATE(2011,5,15),0.05,99.5,100,2,0)", 0.066051725437957122, 0},
            {"PRICE(DATE(2011,1,31),DATE(2016,3,31),0.05,98,100,4)", 0.0055720958181967168, 0},
            {"PRICE(DATE(2008,2,15),DATE(2016,11,15),0.0575,95.04287,100,2,1)",
             0.0076387451499836907, 0},
            {"PRICE(DATE(2011,1,25),DATE(2011,5,15),0.05,99.5,100,3)", 0, 3},
            {"PRICE(DATE(2011,1,25),DATE(2011,5,15),0.05,0,100,2)", 0, 3},
            {"PRICE(DATE(2011,1,30),DATE(2011,1,31),0.05,99.5,100,2)", 0, 2},
        });
}

TEST(FinancialFunctions, TreasuryBills) {
    ExpectCases({
        {"=TBILLPRICE(DATE(2008,3,31),DATE(2008,6,1),0.09)", 98.45, 0},
        {"=TBILLYIELD(DATE(2008,3,31),DATE(2008,6,1),98.45)", 0.091416962925342814, 0},
        {"=TBILLPRICE(DATE(2008,3,31),DATE(2008,6,1),0)", 0, 3},
        {"=TBILLPRICE(DATE(2008,3,31),DATE(2009,3,1),4)", 0, 3},
        {"=TBILLYIELD(DATE(2008,3,31),DATE(2008,3,31),98.45)", 0, 3},
    });
    ExpectHidden(u"TBILLEQ",
                 {
                     {"TBILLPRICE(DATE(2008,3,31),DATE(2008,6,1),0.0914)", 0.094151493565943016, 0},
                     {"TBILLPRICE(DATE(2008,3,31),DATE(2009,3,31),0.0914)", 0.10213416034215143, 0},
                     {"TBILLPRICE(DATE(2008,3,31),DATE(2009,4,1),0.0914)", 0, 3},
                 });
}

TEST(FinancialFunctions, TaxBands) {
    Sheet sheet;
    // 0 up to 10,000, 20% to 40,000, 40% above (an empty last limit has no top).
    sheet.Column(0, {"10000", "40000", ""});
    sheet.Column(1, {"0", "0.2", "0.4"});
    // A ceiling: nothing above 5,000 is taxed.
    sheet.Column(2, {"1000", "5000", "4000", "x", "", "1"});
    sheet.Column(3, {"0.1", "0.05", "0.1", "0.1", "0.1", "0.2"});
    sheet.Column(4, {"1000", "2000"});
    sheet.Column(5, {"0.1", "=NA()"});
    ExpectCases(sheet, {
                           {"=TAXBAND(50000,A1:A3,B1:B3)", 10000, 0},
                           {"=TAXBAND(25000,A1:A3,B1:B3)", 3000, 0},
                           {"=TAXBAND(5000,A1:A3,B1:B3)", 0, 0},
                           {"=TAXBAND(-5,A1:A3,B1:B3)", 0, 0},
                           {"=TAXBAND(10000,C1:C2,D1:D2)", 300, 0},
                           {"=TAXBAND(10000,C1:C3,D1:D3)", 0, 3},  // limits not ascending
                           {"=TAXBAND(10000,C3:C4,D3:D4)", 0, 3},  // a text limit
                           {"=TAXBAND(10000,C5:C6,D5:D6)", 0, 3},  // a band after the top one
                           {"=TAXBAND(10000,E1:E2,F1:F2)", 0, 9},
                           {"=TAXBAND(10000,A1:A3,B1:B2)", 0, 3},
                       });
}

}  // namespace
