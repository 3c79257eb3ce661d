// SPDX-License-Identifier: Apache-2.0
// The routines of the financial functions, as their rows point at them (through
// financial::Evaluate). Each computes one number, or returns an error code: 2 where the value
// would divide by zero, 3 for an argument outside the function's domain.
#pragma once

#include "functions/fin_support.h"

#define OSTREL_FIN_ROUTINE(Name) \
    int Name(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, double& x)

namespace ostrel::functions::financial {

// Annuities and rates (fin_annuity.cpp).
OSTREL_FIN_ROUTINE(Pv);
OSTREL_FIN_ROUTINE(Fv);
OSTREL_FIN_ROUTINE(Pmt);
OSTREL_FIN_ROUTINE(Compound);
OSTREL_FIN_ROUTINE(Effect);
OSTREL_FIN_ROUTINE(Nominal);

// Series of cash flows (fin_cash_flows.cpp).
OSTREL_FIN_ROUTINE(Npv);
OSTREL_FIN_ROUTINE(Irr);
OSTREL_FIN_ROUTINE(Mirr);

// Depreciation (fin_depreciation.cpp).
OSTREL_FIN_ROUTINE(Db);
OSTREL_FIN_ROUTINE(Syd);

// Coupon dates and days (fin_coupon.cpp).
OSTREL_FIN_ROUTINE(CoupDayBs);
OSTREL_FIN_ROUTINE(CoupDays);
OSTREL_FIN_ROUTINE(CoupDaysNc);
OSTREL_FIN_ROUTINE(CoupNcd);
OSTREL_FIN_ROUTINE(CoupNum);
OSTREL_FIN_ROUTINE(CoupPcd);

// Securities (fin_securities.cpp).
OSTREL_FIN_ROUTINE(AccrIntM);
OSTREL_FIN_ROUTINE(Disc);
OSTREL_FIN_ROUTINE(IntRate);
OSTREL_FIN_ROUTINE(Price);
OSTREL_FIN_ROUTINE(PriceDisc);
OSTREL_FIN_ROUTINE(PriceMat);
OSTREL_FIN_ROUTINE(Received);
OSTREL_FIN_ROUTINE(Yield);
OSTREL_FIN_ROUTINE(DollarDe);

// Treasury bills (fin_tbill.cpp).
OSTREL_FIN_ROUTINE(TBillEq);
OSTREL_FIN_ROUTINE(TBillPrice);
OSTREL_FIN_ROUTINE(TBillYield);

// Banded tax (fin_tax.cpp).
OSTREL_FIN_ROUTINE(TaxBand);

}  // namespace ostrel::functions::financial

#undef OSTREL_FIN_ROUTINE
