// SPDX-License-Identifier: Apache-2.0
// The numerator and denominator a fraction code shows: the best rational approximation
// within a number of denominator digits, or the nearest numerator over a denominator the
// code fixes. Everything is computed in 64 bits and saturates instead of overflowing.
#pragma once

#include <cstdint>

namespace format_code {

struct Fraction {
    int64_t numerator = 0;
    int64_t denominator = 1;
};

// The fraction closest to f (0 <= f < 1) whose denominator is at most maxDenominator
// (>= 1): continued-fraction convergents are built until the next denominator would be too
// large, the fraction is exact or a partial quotient exceeds 2^31 - 1; the last convergent
// and the largest allowed semiconvergent are compared.
Fraction BestFraction(double f, int64_t maxDenominator);

// The nearest numerator of value over the denominator (ties go down), saturated.
int64_t NumeratorOver(double value, int64_t denominator);

// whole x denominator + numerator, for a numerator that carries the whole value; saturated.
int64_t WithWhole(double whole, const Fraction& fraction);

}  // namespace format_code
