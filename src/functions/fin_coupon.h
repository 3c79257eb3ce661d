// SPDX-License-Identifier: Apache-2.0
// The coupon schedule of a security: its coupon dates fall every 12 / frequency months back
// from the maturity, on the maturity's day of the month (the month's last day when the month
// is shorter, every month's last day when the maturity is the last day of its month). The
// COUP functions answer from it, and PRICE and YIELD count their periods with it.
#pragma once

#include "functions/day_count.h"
#include "functions/fin_support.h"

namespace ostrel::functions::financial {

// The coupon period in which a settlement falls.
struct CouponPeriod {
    double previous = 0;  // the last coupon date on or before the settlement
    double next = 0;      // the first coupon date after it
    int remaining = 0;    // the coupon dates after it, up to and with the maturity
};

// The period of a settlement before the maturity, both whole days of the serial range: 0, or
// error 3 when the previous coupon date lies before the first serial.
int FindCouponPeriod(double settlement, double maturity, int frequency, CouponPeriod& period);

// The days of the period (COUPDAYS): the actual days on basis 1, 365 / frequency on basis 3,
// 360 / frequency on the others.
double CouponDays(const CouponPeriod& period, int frequency, DayCountBasis basis);
// The days from the previous coupon date to the settlement (COUPDAYBS): counted on 30-day
// months on bases 0 (US rules) and 4 (European rules), actual days on the others.
double DaysSinceCoupon(const CouponPeriod& period, double settlement, DayCountBasis basis);
// The days from the settlement to the next coupon date (COUPDAYSNC): on the 30/360 bases the
// rest of the period's days, so that the two parts make the period; else actual days.
double DaysToCoupon(const CouponPeriod& period, double settlement, int frequency,
                    DayCountBasis basis);

}  // namespace ostrel::functions::financial
