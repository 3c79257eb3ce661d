// SPDX-License-Identifier: Apache-2.0
#include "formats/format_code_fraction.h"

#include <cmath>
#include <limits>

namespace format_code {

namespace {

constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
// 2^63 as a double: the first value a signed 64-bit integer cannot hold.
constexpr double kTooLarge = 9223372036854775808.0;
constexpr double kLargestQuotient = 2147483647.0;

int64_t Saturated(double value) {
    return value >= kTooLarge ? kMax : static_cast<int64_t>(value);
}

}  // namespace

Fraction BestFraction(double f, int64_t maxDenominator) {
    if (maxDenominator < 1) maxDenominator = 1;
    // Convergents h/k, the one before h0/k0; the first is 0/1 since f < 1.
    int64_t h0 = 1, k0 = 0, h = 0, k = 1;
    double x = f;
    for (;;) {
        double rest = x - std::floor(x);
        if (rest == 0) break;  // exact
        x = 1 / rest;
        if (!(x < kLargestQuotient + 1)) break;
        auto a = static_cast<int64_t>(x);
        // k <= maxDenominator < 2^63 / 2^31 keeps every product below in range.
        if (k > (maxDenominator - k0) / a) {
            // The next denominator is too large; the largest semiconvergent within the
            // limit may still be closer than the last convergent.
            int64_t j = (maxDenominator - k0) / k;
            if (j > 0) {
                int64_t p = j * h + h0, q = j * k + k0;
                if (std::fabs(double(p) / double(q) - f) < std::fabs(double(h) / double(k) - f))
                    return {p, q};
            }
            break;
        }
        int64_t h1 = a * h + h0, k1 = a * k + k0;
        h0 = h;
        k0 = k;
        h = h1;
        k = k1;
    }
    return {h, k};
}

int64_t NumeratorOver(double value, int64_t denominator) {
    double scaled = double(denominator) * value;
    if (!(scaled < kTooLarge)) return kMax;
    double whole = std::trunc(scaled);
    return Saturated(whole + (scaled - whole > 0.5 ? 1 : 0));
}

int64_t WithWhole(double whole, const Fraction& fraction) {
    double total = whole * double(fraction.denominator);
    if (!(total < kTooLarge)) return kMax;
    int64_t scaled = static_cast<int64_t>(total);
    return scaled > kMax - fraction.numerator ? kMax : scaled + fraction.numerator;
}

}  // namespace format_code
