// SPDX-License-Identifier: Apache-2.0
// The financial functions' rows. The routines live in the fin_*.cpp files by purpose:
// annuities and rates, series of cash flows, depreciation, coupon schedules, securities,
// treasury bills and the banded tax.
#include "functions/fin_functions.h"
#include "functions/function_row.h"

namespace {

using namespace ostrel::functions::financial;

const FunctionRow kRows[] = {
    {u"ACCRINTM", 13195, kFinancial, RULE(3, 5, kNone, 0), Evaluate<AccrIntM>,
     u"ACCRINTM(issue, maturity, rate, [par], [basis])\n"
     u"Returns the interest accrued by a security that pays interest at maturity.\n"
     u"issue: the issue date of the security\n"
     u"maturity: the maturity date of the security\n"
     u"rate: the annual coupon rate\n"
     u"par: the par value; 1000 when omitted\n"
     u"basis: the day count basis: 0 US 30/360, 1 actual/actual, 2 actual/360, 3 actual/365, 4 "
     u"European 30/360"},
    {u"COMPOUND", 13196, kFinancial, RULE(3, 3, kNone, 0), Evaluate<Compound>,
     u"COMPOUND(principal, rate, periods)\n"
     u"Returns the value of a principal after interest is compounded over a number of periods.\n"
     u"principal: the amount invested\n"
     u"rate: the interest rate per period\n"
     u"periods: the number of periods"},
    {u"COUPDAYBS", 13197, kFinancial, RULE(3, 4, kNone, 0), Evaluate<CoupDayBs>,
     u"COUPDAYBS(settlement, maturity, frequency, [basis])\n"
     u"Returns the number of days from the beginning of the coupon period to the settlement date.\n"
     u"settlement: the date on which the security is bought\n"
     u"maturity: the date on which the security expires\n"
     u"frequency: the number of coupon payments per year: 1 annual, 2 semiannual, 4 quarterly\n"
     u"basis: the day count basis: 0 US 30/360, 1 actual/actual, 2 actual/360, 3 actual/365, 4 "
     u"European 30/360"},
    {u"COUPDAYS", 13198, kFinancial, RULE(3, 4, kNone, 0), Evaluate<CoupDays>,
     u"COUPDAYS(settlement, maturity, frequency, [basis])\n"
     u"Returns the number of days of the coupon period in which the settlement date falls.\n"
     u"settlement: the date on which the security is bought\n"
     u"maturity: the date on which the security expires\n"
     u"frequency: the number of coupon payments per year: 1 annual, 2 semiannual, 4 quarterly\n"
     u"basis: the day count basis: 0 US 30/360, 1 actual/actual, 2 actual/360, 3 actual/365, 4 "
     u"European 30/360"},
    {u"COUPDAYSNC", 13199, kFinancial, RULE(3, 4, kNone, 0), Evaluate<CoupDaysNc>,
     u"COUPDAYSNC(settlement, maturity, frequency, [basis])\n"
     u"Returns the number of days from the settlement date to the next coupon date.\n"
     u"settlement: the date on which the security is bought\n"
     u"maturity: the date on which the security expires\n"
     u"frequency: the number of coupon payments per year: 1 annual, 2 semiannual, 4 quarterly\n"
     u"basis: the day count basis: 0 US 30/360, 1 actual/actual, 2 actual/360, 3 actual/365, 4 "
     u"European 30/360"},
    {u"COUPNCD", 13200, kFinancial, RULE(3, 4, kNone, 0), Evaluate<CoupNcd, C_NF_DATE>,
     u"COUPNCD(settlement, maturity, frequency, [basis])\n"
     u"Returns the first coupon date after the settlement date.\n"
     u"settlement: the date on which the security is bought\n"
     u"maturity: the date on which the security expires\n"
     u"frequency: the number of coupon payments per year: 1 annual, 2 semiannual, 4 quarterly\n"
     u"basis: the day count basis: 0 US 30/360, 1 actual/actual, 2 actual/360, 3 actual/365, 4 "
     u"European 30/360"},
    {u"COUPNUM", 13201, kFinancial, RULE(3, 4, kNone, 0), Evaluate<CoupNum>,
     u"COUPNUM(settlement, maturity, frequency, [basis])\n"
     u"Returns the number of coupons payable from the settlement date to maturity.\n"
     u"settlement: the date on which the security is bought\n"
     u"maturity: the date on which the security expires\n"
     u"frequency: the number of coupon payments per year: 1 annual, 2 semiannual, 4 quarterly\n"
     u"basis: the day count basis: 0 US 30/360, 1 actual/actual, 2 actual/360, 3 actual/365, 4 "
     u"European 30/360"},
    {u"COUPPCD", 13202, kFinancial, RULE(3, 4, kNone, 0), Evaluate<CoupPcd, C_NF_DATE>,
     u"COUPPCD(settlement, maturity, frequency, [basis])\n"
     u"Returns the last coupon date before the settlement date.\n"
     u"settlement: the date on which the security is bought\n"
     u"maturity: the date on which the security expires\n"
     u"frequency: the number of coupon payments per year: 1 annual, 2 semiannual, 4 quarterly\n"
     u"basis: the day count basis: 0 US 30/360, 1 actual/actual, 2 actual/360, 3 actual/365, 4 "
     u"European 30/360"},
    {u"DB", 13203, kFinancial, RULE(4, 5, kNone, 0), Evaluate<Db>,
     u"DB(cost, salvage, life, period, [month])\n"
     u"Returns the depreciation of an asset for a period by the fixed-declining-balance method.\n"
     u"cost: the initial cost of the asset\n"
     u"salvage: the value at the end of its life\n"
     u"life: the number of periods of its life\n"
     u"period: the period whose depreciation is returned\n"
     u"month: the number of months in the first year; 12 when omitted"},
    {u"DISC", 13204, kFinancial, RULE(4, 5, kNone, 0), Evaluate<Disc>,
     u"DISC(settlement, maturity, price, redemption, [basis])\n"
     u"Returns the discount rate of a security.\n"
     u"settlement: the date on which the security is bought\n"
     u"maturity: the date on which the security expires\n"
     u"price: the price per 100 of face value\n"
     u"redemption: the redemption value per 100 of face value\n"
     u"basis: the day count basis: 0 US 30/360, 1 actual/actual, 2 actual/360, 3 actual/365, 4 "
     u"European 30/360"},
    {u"DOLLARDE", 13205, kFinancial, RULE(2, 2, kNone, 0), Evaluate<DollarDe>,
     u"DOLLARDE(fractional_dollar, fraction)\n"
     u"Converts a price written as an integer part and a fraction into a decimal number.\n"
     u"fractional_dollar: the price whose decimals stand for the numerator of the fraction\n"
     u"fraction: the denominator of the fraction"},
    {u"EFFECT", 13206, kFinancial, RULE(2, 2, kNone, 0), Evaluate<Effect>,
     u"EFFECT(nominal_rate, periods_per_year)\n"
     u"Returns the effective annual interest rate of a nominal rate compounded several times a "
     u"year.\n"
     u"nominal_rate: the nominal annual interest rate\n"
     u"periods_per_year: the number of compounding periods per year"},
    {u"FV", 13207, kFinancial, RULE(3, 3, kNone, 0), Evaluate<Fv>,
     u"FV(payment, rate, periods)\n"
     u"Returns the future value of a series of equal payments at a fixed interest rate.\n"
     u"payment: the amount paid each period\n"
     u"rate: the interest rate per period\n"
     u"periods: the number of payment periods"},
    {u"INTRATE", 13208, kFinancial, RULE(4, 5, kNone, 0), Evaluate<IntRate>,
     u"INTRATE(settlement, maturity, investment, redemption, [basis])\n"
     u"Returns the interest rate of a fully invested security.\n"
     u"settlement: the date on which the security is bought\n"
     u"maturity: the date on which the security expires\n"
     u"investment: the amount invested\n"
     u"redemption: the amount received at maturity\n"
     u"basis: the day count basis: 0 US 30/360, 1 actual/actual, 2 actual/360, 3 actual/365, 4 "
     u"European 30/360"},
    {u"IRR", 13209, kFinancial, RULE(1, 2, kOnly, 1), Evaluate<Irr>,
     u"IRR(values, [guess])\n"
     u"Returns the internal rate of return of a series of cash flows: the rate at which their net "
     u"present value is 0.\n"
     u"values: the range or array of cash flows, one per period\n"
     u"guess: the rate to start the search from; 0.1 when omitted"},
    {u"MIRR", 13210, kFinancial, RULE(3, 3, kOnly, 1), Evaluate<Mirr>,
     u"MIRR(values, finance_rate, reinvest_rate)\n"
     u"Returns the modified internal rate of return of a series of cash flows.\n"
     u"values: the range or array of cash flows, one per period\n"
     u"finance_rate: the interest rate paid on the money invested\n"
     u"reinvest_rate: the interest rate earned on the money reinvested"},
    {u"NOMINAL", 13211, kFinancial, RULE(2, 2, kNone, 0), Evaluate<Nominal>,
     u"NOMINAL(effect_rate, periods_per_year)\n"
     u"Returns the nominal annual interest rate of an effective rate compounded several times a "
     u"year.\n"
     u"effect_rate: the effective annual interest rate\n"
     u"periods_per_year: the number of compounding periods per year"},
    {u"NPV", 13212, kFinancial, RULE(2, kMany, kAllBut, 1), Evaluate<Npv>,
     u"NPV(rate, value1, [value2], ...)\n"
     u"Returns the net present value of a series of cash flows at a discount rate.\n"
     u"rate: the discount rate per period\n"
     u"value1: a cash flow, or a range of cash flows, one per period\n"
     u"value2: further cash flows or ranges"},
    {u"PMT", 13213, kFinancial, RULE(3, 3, kNone, 0), Evaluate<Pmt>,
     u"PMT(principal, rate, periods)\n"
     u"Returns the payment per period that pays off a loan at a fixed interest rate.\n"
     u"principal: the amount borrowed\n"
     u"rate: the interest rate per period\n"
     u"periods: the number of payment periods"},
    {u"PRICE", 13214, kFinancial, RULE(6, 7, kNone, 0), Evaluate<Price>,
     u"PRICE(settlement, maturity, rate, yield, redemption, frequency, [basis])\n"
     u"Returns the price per 100 of face value of a security that pays periodic interest.\n"
     u"settlement: the date on which the security is bought\n"
     u"maturity: the date on which the security expires\n"
     u"rate: the annual coupon rate\n"
     u"yield: the annual yield\n"
     u"redemption: the redemption value per 100 of face value\n"
     u"frequency: the number of coupon payments per year: 1 annual, 2 semiannual, 4 quarterly\n"
     u"basis: the day count basis: 0 US 30/360, 1 actual/actual, 2 actual/360, 3 actual/365, 4 "
     u"European 30/360"},
    {u"PRICEDISC", 13215, kFinancial, RULE(4, 5, kNone, 0), Evaluate<PriceDisc>,
     u"PRICEDISC(settlement, maturity, discount, redemption, [basis])\n"
     u"Returns the price per 100 of face value of a discounted security.\n"
     u"settlement: the date on which the security is bought\n"
     u"maturity: the date on which the security expires\n"
     u"discount: the discount rate\n"
     u"redemption: the redemption value per 100 of face value\n"
     u"basis: the day count basis: 0 US 30/360, 1 actual/actual, 2 actual/360, 3 actual/365, 4 "
     u"European 30/360"},
    {u"PRICEMAT", 13216, kFinancial, RULE(5, 6, kNone, 0), Evaluate<PriceMat>,
     u"PRICEMAT(settlement, maturity, issue, rate, yield, [basis])\n"
     u"Returns the price per 100 of face value of a security that pays interest at maturity.\n"
     u"settlement: the date on which the security is bought\n"
     u"maturity: the date on which the security expires\n"
     u"issue: the issue date of the security\n"
     u"rate: the interest rate at the issue date\n"
     u"yield: the annual yield\n"
     u"basis: the day count basis: 0 US 30/360, 1 actual/actual, 2 actual/360, 3 actual/365, 4 "
     u"European 30/360"},
    {u"PV", 13217, kFinancial, RULE(3, 3, kNone, 0), Evaluate<Pv>,
     u"PV(payment, rate, periods)\n"
     u"Returns the present value of a series of equal payments at a fixed interest rate.\n"
     u"payment: the amount paid each period\n"
     u"rate: the interest rate per period\n"
     u"periods: the number of payment periods"},
    {u"RECEIVED", 13218, kFinancial, RULE(4, 5, kNone, 0), Evaluate<Received>,
     u"RECEIVED(settlement, maturity, investment, discount, [basis])\n"
     u"Returns the amount received at maturity for a fully invested security.\n"
     u"settlement: the date on which the security is bought\n"
     u"maturity: the date on which the security expires\n"
     u"investment: the amount invested\n"
     u"discount: the discount rate\n"
     u"basis: the day count basis: 0 US 30/360, 1 actual/actual, 2 actual/360, 3 actual/365, 4 "
     u"European 30/360"},
    {u"SYD", 13219, kFinancial, RULE(4, 4, kNone, 0), Evaluate<Syd>,
     u"SYD(cost, salvage, life, period)\n"
     u"Returns the depreciation of an asset for a period by the sum-of-years'-digits method.\n"
     u"cost: the initial cost of the asset\n"
     u"salvage: the value at the end of its life\n"
     u"life: the number of periods of its life\n"
     u"period: the period whose depreciation is returned",
     EntryClass::plain, kFlagUnlisted},
    {u"TBILLEQ", 13220, kFinancial, RULE(3, 3, kNone, 0), Evaluate<TBillEq>,
     u"TBILLEQ(settlement, maturity, discount)\n"
     u"Returns the bond-equivalent yield of a treasury bill.\n"
     u"settlement: the date on which the bill is bought\n"
     u"maturity: the date on which the bill expires\n"
     u"discount: the discount rate",
     EntryClass::plain, kFlagUnlisted},
    {u"TBILLPRICE", 13221, kFinancial, RULE(3, 3, kNone, 0), Evaluate<TBillPrice>,
     u"TBILLPRICE(settlement, maturity, discount)\n"
     u"Returns the price per 100 of face value of a treasury bill.\n"
     u"settlement: the date on which the bill is bought\n"
     u"maturity: the date on which the bill expires\n"
     u"discount: the discount rate"},
    {u"TBILLYIELD", 13222, kFinancial, RULE(3, 3, kNone, 0), Evaluate<TBillYield>,
     u"TBILLYIELD(settlement, maturity, price)\n"
     u"Returns the yield of a treasury bill.\n"
     u"settlement: the date on which the bill is bought\n"
     u"maturity: the date on which the bill expires\n"
     u"price: the price per 100 of face value"},
    {u"YIELD", 13244, kFinancial, RULE(6, 7, kNone, 0), Evaluate<Yield>,
     u"YIELD(settlement, maturity, rate, price, redemption, frequency, [basis])\n"
     u"Returns the annual yield of a security that pays periodic interest.\n"
     u"settlement: the date on which the security is bought\n"
     u"maturity: the date on which the security expires\n"
     u"rate: the annual coupon rate\n"
     u"price: the price per 100 of face value\n"
     u"redemption: the redemption value per 100 of face value\n"
     u"frequency: the number of coupon payments per year: 1 annual, 2 semiannual, 4 quarterly\n"
     u"basis: the day count basis: 0 US 30/360, 1 actual/actual, 2 actual/360, 3 actual/365, 4 "
     u"European 30/360; 4 when omitted",
     EntryClass::plain, kFlagUnlisted},
    {u"TAXBAND", 13276, kFinancial, RULE(3, 3, kTaxBand, 0), Evaluate<TaxBand>,
     u"TAXBAND(amount, limits, rates)\n"
     u"Returns the tax on an amount taxed in bands: each band's rate applies to the part of the "
     u"amount within that band.\n"
     u"amount: the amount to tax\n"
     u"limits: the range of the upper limits of the bands, in ascending order\n"
     u"rates: the range of the tax rates of the bands, of the same size"},
};

}  // namespace

std::span<const FunctionRow> ostrel::functions::FinancialRows() {
    return kRows;
}
