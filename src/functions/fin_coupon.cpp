// SPDX-License-Identifier: Apache-2.0
// The coupon schedule and the COUP functions over (settlement, maturity, frequency [, basis]),
// the basis 0 when omitted. Each coupon date is counted from the maturity itself, never from
// its neighbour, so that a maturity on the 31st keeps the 31st after a shorter month.
#include "functions/fin_coupon.h"

#include <algorithm>
#include <cstdint>

#include "functions/fin_functions.h"
#include "ostrel/formats/date_serial.h"

namespace ostrel::functions::financial {

namespace {

// Months since the start of year 0: the month's place on one count.
int64_t MonthIndex(const Ymd& date) {
    return int64_t{date.year} * 12 + (date.month - 1);
}

// The coupon date in the month of the index (never negative).
double CouponDate(const Ymd& maturity, bool monthEnd, int64_t index) {
    const int year = static_cast<int>(index / 12);
    const int month = static_cast<int>(index % 12) + 1;
    const int length = GetMonthDays(month, year);
    return DateToDouble(monthEnd ? length : std::min(maturity.day, length), month, year);
}

struct CouponTerms {
    double settlement = 0;
    double maturity = 0;
    int frequency = 0;
    DayCountBasis basis = DayCountBasis::kUs30360;
    CouponPeriod period;
};

int ReadTerms(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, CouponTerms& t) {
    if (int error = Term(ctx, args, cell, t.settlement, t.maturity)) return error;
    if (int error = Frequency(ctx, args, 2, cell, t.frequency)) return error;
    if (int error = Basis(ctx, args, 3, cell, DayCountBasis::kUs30360, t.basis)) return error;
    return FindCouponPeriod(t.settlement, t.maturity, t.frequency, t.period);
}

// The terms read, then one figure of them.
template <class Figure>
int Answer(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, double& x,
           Figure figure) {
    CouponTerms t;
    if (int error = ReadTerms(ctx, args, cell, t)) return error;
    x = figure(t);
    return 0;
}

}  // namespace

int FindCouponPeriod(double settlement, double maturity, int frequency, CouponPeriod& period) {
    const Ymd end = Components(maturity);
    const bool monthEnd = end.day == GetMonthDays(end.month, end.year);
    const int64_t step = 12 / frequency;
    const int64_t last = MonthIndex(end);
    // The coupon `back` periods before the maturity falls in the settlement's month or
    // later; one more step back is before the settlement for sure.
    int64_t back = (last - MonthIndex(Components(settlement))) / step;
    double previous = CouponDate(end, monthEnd, last - back * step);
    if (previous > settlement) {
        ++back;
        previous = CouponDate(end, monthEnd, last - back * step);
    }
    if (previous < 0) return 3;
    period.previous = previous;
    period.next = CouponDate(end, monthEnd, last - (back - 1) * step);
    period.remaining = static_cast<int>(back);
    return 0;
}

double CouponDays(const CouponPeriod& period, int frequency, DayCountBasis basis) {
    switch (basis) {
        case DayCountBasis::kActualActual:
            return period.next - period.previous;
        case DayCountBasis::kActual365:
            return 365.0 / frequency;
        default:
            return 360.0 / frequency;
    }
}

double DaysSinceCoupon(const CouponPeriod& period, double settlement, DayCountBasis basis) {
    switch (basis) {
        case DayCountBasis::kUs30360:
            return Days360(period.previous, settlement, Days360Method::kUs);
        case DayCountBasis::kEuropean30360:
            return Days360(period.previous, settlement, Days360Method::kEuropean);
        default:
            return settlement - period.previous;
    }
}

double DaysToCoupon(const CouponPeriod& period, double settlement, int frequency,
                    DayCountBasis basis) {
    if (basis == DayCountBasis::kUs30360 || basis == DayCountBasis::kEuropean30360)
        return CouponDays(period, frequency, basis) - DaysSinceCoupon(period, settlement, basis);
    return period.next - settlement;
}

int CoupDayBs(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, double& x) {
    return Answer(ctx, args, cell, x, [](const CouponTerms& t) {
        return DaysSinceCoupon(t.period, t.settlement, t.basis);
    });
}

int CoupDays(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, double& x) {
    return Answer(ctx, args, cell, x,
                  [](const CouponTerms& t) { return CouponDays(t.period, t.frequency, t.basis); });
}

int CoupDaysNc(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, double& x) {
    return Answer(ctx, args, cell, x, [](const CouponTerms& t) {
        return DaysToCoupon(t.period, t.settlement, t.frequency, t.basis);
    });
}

int CoupNcd(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, double& x) {
    return Answer(ctx, args, cell, x, [](const CouponTerms& t) { return t.period.next; });
}

int CoupNum(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, double& x) {
    return Answer(ctx, args, cell, x,
                  [](const CouponTerms& t) { return double(t.period.remaining); });
}

int CoupPcd(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, double& x) {
    return Answer(ctx, args, cell, x, [](const CouponTerms& t) { return t.period.previous; });
}

}  // namespace ostrel::functions::financial
