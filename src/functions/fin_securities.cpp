// SPDX-License-Identifier: Apache-2.0
// Prices, rates and interest of securities between a settlement (or issue) date and the
// maturity, each period a fraction of a year on the day-count basis (0 when omitted, YIELD's 4
// aside), and prices quoted in fractions (DOLLARDE). Rates and prices outside their domain
// (a price or redemption not above 0, a negative rate) are error 3; a term that counts 0 days
// on a 30/360 basis (the 30th to the 31st) divides by zero: error 2.
//
// PRICE discounts the coupons and the redemption at the yield, period by period from the
// settlement's place in its coupon period, with simple interest over the last period alone.
// YIELD is a closed form whatever the periods left: the yield of the one remaining period,
// with the days to redemption counted on 30-day months.
#include <cmath>
#include <cstdint>

#include "functions/fin_coupon.h"
#include "functions/fin_functions.h"

namespace ostrel::functions::financial {

namespace {

// Fractions of a dollar up to this denominator: whole numbers beyond are not exact.
constexpr int64_t kLargestDenominator = int64_t{1} << 53;

// A quotient that is error 2 when the divisor is 0.
int Divide(double dividend, double divisor, double& x) {
    if (divisor == 0) return 2;
    x = dividend / divisor;
    return 0;
}

// Settlement, maturity, two numbers and the optional basis: the shape of DISC, INTRATE,
// RECEIVED and PRICEDISC. years is the term on the basis.
int DiscountTerms(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, double& first,
                  double& second, double& years) {
    double settlement = 0, maturity = 0;
    DayCountBasis basis{};
    if (int error = Term(ctx, args, cell, settlement, maturity)) return error;
    if (int error = Numbers(ctx, args, 2, cell, {&first, &second})) return error;
    if (int error = Basis(ctx, args, 4, cell, DayCountBasis::kUs30360, basis)) return error;
    years = YearFraction(settlement, maturity, basis);
    return first > 0 && second > 0 ? 0 : 3;
}

}  // namespace

// ACCRINTM(issue, maturity, rate [, par [, basis]]): the interest of the whole term, the par
// 1000 when omitted.
int AccrIntM(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, double& x) {
    double issue = 0, maturity = 0, rate = 0, par = 0;
    DayCountBasis basis{};
    if (int error = Term(ctx, args, cell, issue, maturity)) return error;
    if (int error = NumberOrError(ctx, args, 2, rate, cell)) return error;
    if (int error = OptionalNumber(ctx, args, 3, cell, 1000, par)) return error;
    if (int error = Basis(ctx, args, 4, cell, DayCountBasis::kUs30360, basis)) return error;
    if (!(rate > 0) || !(par > 0)) return 3;
    x = par * rate * YearFraction(issue, maturity, basis);
    return 0;
}

// DISC(settlement, maturity, price, redemption [, basis]).
int Disc(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, double& x) {
    double price = 0, redemption = 0, years = 0;
    if (int error = DiscountTerms(ctx, args, cell, price, redemption, years)) return error;
    return Divide((redemption - price) / redemption, years, x);
}

// INTRATE(settlement, maturity, investment, redemption [, basis]).
int IntRate(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, double& x) {
    double investment = 0, redemption = 0, years = 0;
    if (int error = DiscountTerms(ctx, args, cell, investment, redemption, years)) return error;
    return Divide((redemption - investment) / investment, years, x);
}

// RECEIVED(settlement, maturity, investment, discount [, basis]): error 3 when the discount
// takes the whole redemption or more.
int Received(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, double& x) {
    double investment = 0, discount = 0, years = 0;
    if (int error = DiscountTerms(ctx, args, cell, investment, discount, years)) return error;
    const double kept = 1 - discount * years;
    if (kept < 0) return 3;
    return Divide(investment, kept, x);
}

// PRICEDISC(settlement, maturity, discount, redemption [, basis]).
int PriceDisc(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, double& x) {
    double discount = 0, redemption = 0, years = 0;
    if (int error = DiscountTerms(ctx, args, cell, discount, redemption, years)) return error;
    x = redemption * (1 - discount * years);
    return 0;
}

// PRICEMAT(settlement, maturity, issue, rate, yield [, basis]): the issue on or before the
// settlement; the interest from issue to maturity paid with the redemption.
int PriceMat(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, double& x) {
    double settlement = 0, maturity = 0, issue = 0, rate = 0, yield = 0;
    DayCountBasis basis{};
    if (int error = Term(ctx, args, cell, settlement, maturity)) return error;
    if (int error = WholeDay(ctx, args, 2, cell, issue)) return error;
    if (int error = Numbers(ctx, args, 3, cell, {&rate, &yield})) return error;
    if (int error = Basis(ctx, args, 5, cell, DayCountBasis::kUs30360, basis)) return error;
    if (issue > settlement || !(rate >= 0) || !(yield >= 0)) return 3;
    const double interest = 100 * rate * YearFraction(issue, maturity, basis);
    const double accrued = 100 * rate * YearFraction(issue, settlement, basis);
    x = (100 + interest) / (1 + yield * YearFraction(settlement, maturity, basis)) - accrued;
    return 0;
}

// PRICE(settlement, maturity, rate, yield, redemption, frequency [, basis]).
int Price(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, double& x) {
    double settlement = 0, maturity = 0, rate = 0, yield = 0, redemption = 0;
    int f = 0;
    DayCountBasis basis{};
    CouponPeriod period;
    if (int error = Term(ctx, args, cell, settlement, maturity)) return error;
    if (int error = Numbers(ctx, args, 2, cell, {&rate, &yield, &redemption})) return error;
    if (int error = Frequency(ctx, args, 5, cell, f)) return error;
    if (int error = Basis(ctx, args, 6, cell, DayCountBasis::kUs30360, basis)) return error;
    if (!(rate >= 0) || !(yield >= 0) || !(redemption > 0)) return 3;
    if (int error = FindCouponPeriod(settlement, maturity, f, period)) return error;

    const double days = CouponDays(period, f, basis);
    const double accrued = DaysSinceCoupon(period, settlement, basis) / days;
    const double toNext = DaysToCoupon(period, settlement, f, basis) / days;
    const double coupon = 100 * rate / f;
    const double periodYield = yield / f;
    if (period.remaining == 1) {
        x = (redemption + coupon) / (1 + toNext * periodYield) - coupon * accrued;
        return 0;
    }
    // Every coupon and the redemption discounted from its date to the settlement.
    const double discount = 1 / (1 + periodYield);
    double factor = std::pow(discount, toNext);
    double coupons = 0;
    for (int k = 0; k < period.remaining; ++k, factor *= discount)
        coupons += factor;
    x = (redemption * factor / discount + coupon * coupons) - coupon * accrued;
    return 0;
}

// YIELD(settlement, maturity, rate, price, redemption, frequency [, basis]), the basis 4 when
// omitted.
int Yield(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, double& x) {
    double settlement = 0, maturity = 0, rate = 0, price = 0, redemption = 0;
    int f = 0;
    DayCountBasis basis{};
    CouponPeriod period;
    if (int error = Term(ctx, args, cell, settlement, maturity)) return error;
    if (int error = Numbers(ctx, args, 2, cell, {&rate, &price, &redemption})) return error;
    if (int error = Frequency(ctx, args, 5, cell, f)) return error;
    if (int error = Basis(ctx, args, 6, cell, DayCountBasis::kEuropean30360, basis)) return error;
    if (!(rate >= 0) || !(price > 0) || !(redemption > 0)) return 3;
    if (int error = FindCouponPeriod(settlement, maturity, f, period)) return error;

    const double accrued =
        DaysSinceCoupon(period, settlement, basis) / CouponDays(period, f, basis);
    const double daysToRedemption = Days360(settlement, maturity, Days360Method::kUs);
    const double paid = accrued * rate / f + price / 100;
    const double received = rate / f + redemption / 100;
    return Divide((received / paid - 1) * f * CouponDays(period, f, basis), daysToRedemption, x);
}

// DOLLARDE(fractional_dollar, fraction): the digits after the point are a numerator over the
// fraction (its integer part); a fraction below 1 divides by zero, a negative one is error 3.
int DollarDe(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, double& x) {
    double dollar = 0, fraction = 0;
    int64_t denominator = 0;
    if (int error = Numbers(ctx, args, 0, cell, {&dollar, &fraction})) return error;
    if (fraction < 0) return 3;
    if (int error = ToInteger(fraction, Rounding::trunc, 0, kLargestDenominator, denominator))
        return error;
    if (denominator == 0) return 2;
    // The numerator has as many digits as the denominator.
    double scale = 1;
    while (scale < static_cast<double>(denominator))
        scale *= 10;
    const double whole = std::trunc(dollar);
    x = whole + (dollar - whole) * scale / static_cast<double>(denominator);
    return 0;
}

}  // namespace ostrel::functions::financial
