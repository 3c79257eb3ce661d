// SPDX-License-Identifier: Apache-2.0
#include "functions/fin_support.h"

#include "ostrel/formats/date_serial.h"

namespace ostrel::functions::financial {

int Numbers(cells::CTX* ctx, const CCFormulaList* args, int first, const CCRef* cell,
            std::initializer_list<double*> targets) {
    int n = first;
    for (double* target : targets)
        if (int error = NumberOrError(ctx, args, n++, *target, cell)) return error;
    return 0;
}

int OptionalNumber(cells::CTX* ctx, const CCFormulaList* args, int n, const CCRef* cell,
                   double fallback, double& x) {
    if (!NthArgument(args, n)) {
        x = fallback;
        return 0;
    }
    return NumberOrError(ctx, args, n, x, cell);
}

int WholeDay(cells::CTX* ctx, const CCFormulaList* args, int n, const CCRef* cell, double& day) {
    double serial = 0;
    if (int error = DateArgument(ctx, args, n, serial, cell)) return error;
    // DoubleToDate reads the magnitude: a negative serial would pass for a date.
    if (!(serial >= 0) || !CheckDate(serial)) return 3;
    day = std::floor(serial);
    return 0;
}

int Term(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, double& settlement,
         double& maturity) {
    if (int error = WholeDay(ctx, args, 0, cell, settlement)) return error;
    if (int error = WholeDay(ctx, args, 1, cell, maturity)) return error;
    return settlement < maturity ? 0 : 3;
}

int Basis(cells::CTX* ctx, const CCFormulaList* args, int n, const CCRef* cell,
          DayCountBasis fallback, DayCountBasis& basis) {
    int64_t code = 0;
    const auto last = static_cast<int64_t>(DayCountBasis::kEuropean30360);
    if (int error = OptionalIntegerArgument(ctx, args, n, Rounding::trunc, 0, last,
                                            static_cast<int64_t>(fallback), code, cell))
        return error;
    basis = static_cast<DayCountBasis>(code);
    return 0;
}

int Frequency(cells::CTX* ctx, const CCFormulaList* args, int n, const CCRef* cell,
              int& frequency) {
    int64_t f = 0;
    if (int error = IntegerArgument(ctx, args, n, Rounding::trunc, 1, 4, f, cell)) return error;
    if (f == 3) return 3;
    frequency = static_cast<int>(f);
    return 0;
}

}  // namespace ostrel::functions::financial
