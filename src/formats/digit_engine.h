// SPDX-License-Identifier: Apache-2.0
// The one digit engine behind every number printer: decimal text of a double from its exact
// binary value, rounded half away from zero, with '.' as the radix whatever the process
// locale, and exponents of at least three digits. The results match the classic C runtime
// forms "%.*G", "%.*f", "%#.*f" and "%#.*E" except for the rounding of exact ties.
#pragma once

#include <cstdint>
#include <string>

namespace ostrel::digits {

// Significant digits of a positive finite value: value = d0.d1d2... x 10^exponent, with
// digits[0] != '0' (an all-zero result is digits "0", exponent 0).
struct Decimal {
    std::string digits;
    int exponent = 0;
};

// A double's exact decimal expansion has at most 767 significant digits, so asking for
// this many digits after the first one always gives the exact value.
inline constexpr int kExactDigits = 780;

// The same rounding into storage of the caller, for printers that must not allocate: the
// value is d0.d1d2... x 10^exponent with `size` digits held; the rounding functions
// return how many digits it has (those past `size` are zeros), 0 for a value that rounds
// to zero (digits "0").
struct DigitBuffer {
    char digits[kExactDigits + 2];
    int size = 0;
    int exponent = 0;
};
int RoundSignificantInto(double magnitude, int count, DigitBuffer& out);
int RoundFixedInto(double magnitude, int decimals, DigitBuffer& out);

// round(magnitude x 10^decimals), half away from zero on the exact binary value, when
// decimals is 0 to 19 and the result stays below 2^53; false otherwise (the caller takes
// RoundFixedInto). Much faster than the digit expansion.
bool RoundScaled(double magnitude, int decimals, uint64_t& scaled);

// Rounds to `count` (>= 1) significant digits.
Decimal RoundSignificant(double magnitude, int count);
// The same rounding by one exact scaled product, much faster, where it can be done that
// way (count up to 15, magnitude from about 1e-5 to 1e15): the digits as a whole number of
// count digits, or 10^count when the rounding carried into a new leading digit, with the
// exponent of the magnitude's leading digit; false elsewhere.
bool RoundSignificantScaled(double magnitude, int count, uint64_t& digits, int& exponent);
// Rounds at the decimal position 10^-decimals (decimals may be negative). The digits run
// down to that position; a value that rounds to zero gives digits "0", exponent 0.
Decimal RoundFixed(double magnitude, int decimals);

// "%.*G": precision significant digits (0 counts as 1), trailing fractional zeros removed,
// the exponent form "1.5E+020" when the exponent is below -4 or at least the precision.
std::string FormatGeneral(double value, int precision);
// A whole number of at most fifteen digits as FormatGeneral writes it ("-" first when
// negative), into buffer; the end of what was written, or null for any other value.
constexpr size_t kWholeDigitsRoom = 24;
char* WholeDigits(double value, char (&buffer)[kWholeDigitsRoom]);
// The same in UTF-16 units, for printers that write into a wide text.
char16_t* WholeDigits(double value, char16_t (&buffer)[kWholeDigitsRoom]);
// "%.*f" and, with forcePoint, "%#.*f" (a point even without decimals: "3.").
std::string FormatFixed(double value, int decimals, bool forcePoint);
// "%.*E" and, with forcePoint, "%#.*E": "1.50E+003", "1.E+003".
std::string FormatScientific(double value, int decimals, bool forcePoint);

// Non-finite values are not numbers to these functions; the printers keep them away (they
// get the runtime-like texts "inf", "-inf" and "nan" so that nothing is undefined).

}  // namespace ostrel::digits
