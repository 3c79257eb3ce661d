// SPDX-License-Identifier: Apache-2.0
// The one digit engine behind every number printer: decimal text of a double from its exact
// binary value, rounded half away from zero, with '.' as the radix whatever the process
// locale, and exponents of at least three digits. The results match the classic C runtime
// forms "%.*G", "%.*f", "%#.*f" and "%#.*E" except for the rounding of exact ties.
#pragma once

#include <string>

namespace ostrel::digits {

// Significant digits of a positive finite value: value = d0.d1d2... x 10^exponent, with
// digits[0] != '0' (an all-zero result is digits "0", exponent 0).
struct Decimal {
    std::string digits;
    int exponent = 0;
};

// Rounds to `count` (>= 1) significant digits.
Decimal RoundSignificant(double magnitude, int count);
// Rounds at the decimal position 10^-decimals (decimals may be negative). The digits run
// down to that position; a value that rounds to zero gives digits "0", exponent 0.
Decimal RoundFixed(double magnitude, int decimals);

// "%.*G": precision significant digits (0 counts as 1), trailing fractional zeros removed,
// the exponent form "1.5E+020" when the exponent is below -4 or at least the precision.
std::string FormatGeneral(double value, int precision);
// "%.*f" and, with forcePoint, "%#.*f" (a point even without decimals: "3.").
std::string FormatFixed(double value, int decimals, bool forcePoint);
// "%.*E" and, with forcePoint, "%#.*E": "1.50E+003", "1.E+003".
std::string FormatScientific(double value, int decimals, bool forcePoint);

// Non-finite values are not numbers to these functions; the printers keep them away (they
// get the runtime-like texts "inf", "-inf" and "nan" so that nothing is undefined).

}  // namespace ostrel::digits
