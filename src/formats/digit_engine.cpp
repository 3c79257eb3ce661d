// SPDX-License-Identifier: Apache-2.0
#include "formats/digit_engine.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace ostrel::digits {

namespace {

// Digits asked for beyond the rounding position. to_chars rounds its own last digit (to
// even); with this many digits to spare, that rounding can only matter when the digits
// after our cut read exactly "5000..." or "4999...", which is checked for.
constexpr int kGuard = 25;
// Decimals beyond a double's exact expansion are zeros; more than this is never useful.
constexpr int kMaxDecimals = 1100;
// The powers of ten a double holds exactly and that scale a value into whole numbers.
constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,
                                   1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19};

// round(product + error), half away from zero, for a product below 2^53 and its exact
// error. rest and 0.5 are multiples of the product's last place unless that place is worth
// 1 (rest is then 0), and |error| is at most half of it: so the error decides only an exact
// half, or an error of exactly one half.
uint64_t RoundProduct(double product, double error) {
    const double whole = std::floor(product);
    const double rest = product - whole;  // exact
    const bool up = rest > 0.5 || (rest == 0.5 && error >= 0) || (rest == 0 && error >= 0.5);
    return static_cast<uint64_t>(whole) + (up ? 1 : 0);
}

// A whole number below 1e15 in magnitude ("-" first when negative), written in place from
// its last digit, two at a time: every whole number shown comes here. Null for any other
// value.
template <class Char>
Char* WriteWhole(double value, Char (&buffer)[kWholeDigitsRoom]) {
    if (!(std::fabs(value) < 1e15) || value != std::trunc(value)) return nullptr;
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    const bool negative = value < 0;
    const uint64_t whole = uint64_t(negative ? -value : value);
    // The number of digits from the number of bits: 1233 / 4096 is just above log10(2), so
    // the guess is the count or one short of it.
    const size_t guess = size_t(std::bit_width(whole)) * 1233 >> 12;
    // Exact: the powers and the number are below 2^53.
    const size_t count = std::max<size_t>(1, guess + (double(whole) >= kPowersOfTen[guess]));
    Char* const end = buffer + size_t(negative) + count;
    Char* at = end;
    auto write = [&](auto n) {
        while (n >= 100) {
            const size_t pair = size_t(n % 100) * 2;
            n /= 100;
            *--at = Char(kPairs[pair + 1]);
            *--at = Char(kPairs[pair]);
        }
        if (n >= 10) {
            *--at = Char(kPairs[n * 2 + 1]);
            *--at = Char(kPairs[n * 2]);
        } else {
            *--at = Char('0' + n);
        }
    };
    // Most cells' numbers fit 32 bits, whose divisions are cheaper.
    if (whole <= UINT32_MAX)
        write(uint32_t(whole));
    else
        write(whole);
    if (negative) buffer[0] = Char('-');
    return end;
}

// The significant digits of a positive finite value with `after` (at most kExactDigits)
// digits after the first, correctly rounded by to_chars, and the decimal exponent of the
// first digit. Returns how many digits it wrote into `digits`.
int Expand(double magnitude, int after, char* digits, int& exponent) {
    char buffer[kExactDigits + 32];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                std::chars_format::scientific, after);
    const char* p = buffer;
    const char* end = result.ptr;
    int size = 0;
    digits[size++] = *p++;
    if (p < end && *p == '.') {
        ++p;
        while (p < end && *p != 'e')
            digits[size++] = *p++;
    }
    int e = 0;
    bool negative = false;
    if (p < end && *p == 'e') {
        ++p;
        negative = p < end && *p == '-';
        if (p < end && (*p == '-' || *p == '+')) ++p;
        while (p < end)
            e = e * 10 + (*p++ - '0');
    }
    exponent = negative ? -e : e;
    return size;
}

// How many significant digits the exact expansion of a positive finite value has, given
// the decimal exponent of its first digit: a value m x 2^e (m odd) with e < 0 ends exactly
// at the decimal position 10^e; an integer ends at or above 10^0.
int ExactSignificantDigits(double magnitude, int exponent) {
    int binaryExponent = 0;
    double mantissa = std::frexp(magnitude, &binaryExponent);
    auto bits = static_cast<uint64_t>(std::ldexp(mantissa, 53));
    int lowest = binaryExponent - 53 + std::countr_zero(bits);
    return lowest < 0 ? exponent + 1 - lowest : exponent + 1;
}

bool AmbiguousTail(const char* digits, int size, int keep) {
    char first = digits[keep];
    if (first != '5' && first != '4') return false;
    char rest = first == '5' ? '0' : '9';
    for (int i = keep + 1; i < size; ++i)
        if (digits[i] != rest) return false;
    return true;
}

// Rounds half away from zero, keeping keepOf(exponent) leading digits. With a carry out
// of the kept digits the result gains a leading "1" and the exponent grows by one. Returns
// how many digits the rounding kept (those beyond out.size are zeros); 0 when the value
// rounds to zero.
template <class KeepOf>
int Round(double magnitude, KeepOf keepOf, int firstGuess, DigitBuffer& out) {
    out.size = 1;
    out.exponent = 0;
    out.digits[0] = '0';
    if (magnitude == 0) return 0;
    char all[kExactDigits + 2];
    int exponent = 0;
    int after = std::clamp(firstGuess, kGuard, kExactDigits);
    int size = Expand(magnitude, after, all, exponent);
    int keep = keepOf(exponent);
    if (after < kExactDigits && keep + kGuard > after + 1) {
        after = std::min(kExactDigits, keep + kGuard);
        size = Expand(magnitude, after, all, exponent);
        keep = keepOf(exponent);
    }
    if (keep >= 0 && keep < size && after < kExactDigits &&
        ExactSignificantDigits(magnitude, exponent) > after + 1 && AmbiguousTail(all, size, keep)) {
        size = Expand(magnitude, kExactDigits, all, exponent);
        keep = keepOf(exponent);
    }
    if (keep < 0) return 0;
    bool up = keep < size && all[keep] >= '5';
    int held = std::min(keep, size);
    // Held one place to the right, so that a carry out of every digit has room.
    char* digits = out.digits + 1;
    std::memcpy(digits, all, static_cast<size_t>(held));
    out.exponent = exponent;
    if (up) {
        int i = held - 1;
        while (i >= 0 && digits[i] == '9')
            digits[i--] = '0';
        if (i < 0) {
            out.digits[0] = '1';
            ++out.exponent;
            out.size = held + 1;
            return keep + 1;
        }
        ++digits[i];
    }
    if (held == 0) {
        out.exponent = 0;
        return 0;
    }
    std::memmove(out.digits, digits, static_cast<size_t>(held));
    out.size = held;
    return keep;
}

Decimal ToDecimal(const DigitBuffer& buffer, int kept) {
    Decimal d;
    if (kept == 0) {
        d.digits = "0";
        return d;
    }
    d.digits.assign(buffer.digits, static_cast<size_t>(buffer.size));
    d.digits.resize(static_cast<size_t>(kept), '0');
    d.exponent = buffer.exponent;
    return d;
}

// The exponent part of the runtime's E form: sign and at least three digits.
void AppendExponent(std::string& text, int exponent) {
    text.push_back('E');
    text.push_back(exponent < 0 ? '-' : '+');
    char buffer[16];
    auto result =
        std::to_chars(buffer, buffer + sizeof buffer, exponent < 0 ? -exponent : exponent);
    for (auto n = result.ptr - buffer; n < 3; ++n)
        text.push_back('0');
    text.append(buffer, result.ptr);
}

bool NonFinite(double value, std::string& text) {
    if (std::isfinite(value)) return false;
    text = std::isnan(value) ? "nan" : (value < 0 ? "-inf" : "inf");
    return true;
}

}  // namespace

int RoundSignificantInto(double magnitude, int count, DigitBuffer& out) {
    count = std::clamp(count, 1, kExactDigits);
    return Round(
        magnitude, [count](int) { return count; }, count - 1 + kGuard, out);
}

int RoundFixedInto(double magnitude, int decimals, DigitBuffer& out) {
    decimals = std::clamp(decimals, -kMaxDecimals, kMaxDecimals);
    int binaryExponent = 0;
    std::frexp(magnitude, &binaryExponent);
    // A lower bound of the decimal exponent; the rounding checks and corrects it.
    int guess = static_cast<int>(std::floor((binaryExponent - 1) * 0.30102999566398119521));
    return Round(
        magnitude, [decimals](int exponent) { return exponent + 1 + decimals; },
        guess + decimals + kGuard, out);
}

Decimal RoundSignificant(double magnitude, int count) {
    DigitBuffer buffer;
    Decimal d = ToDecimal(buffer, RoundSignificantInto(magnitude, count, buffer));
    count = std::clamp(count, 1, kExactDigits);
    if (static_cast<int>(d.digits.size()) > count) d.digits.resize(count);
    return d;
}

bool RoundSignificantScaled(double magnitude, int count, uint64_t& digits, int& exponent) {
    if (count < 1 || count > 15 || !(magnitude > 0) || !std::isfinite(magnitude)) return false;
    // The logarithm guesses the exponent, within one either way; the exact product decides.
    int e = static_cast<int>(std::floor(std::log10(magnitude)));
    const double low = kPowersOfTen[count - 1], high = kPowersOfTen[count];
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int decimals = count - 1 - e;
        if (decimals < 0 || decimals > 19) return false;
        // magnitude x 10^decimals = product + error exactly (the power is exact).
        const double product = magnitude * kPowersOfTen[decimals];
        const double error = std::fma(magnitude, kPowersOfTen[decimals], -product);
        if (product < low || (product == low && error < 0)) {
            --e;
        } else if (product > high || (product == high && error >= 0)) {
            ++e;
        } else {
            digits = RoundProduct(product, error);
            exponent = e;
            return true;
        }
    }
    return false;
}

Decimal RoundFixed(double magnitude, int decimals) {
    DigitBuffer buffer;
    return ToDecimal(buffer, RoundFixedInto(magnitude, decimals, buffer));
}

bool RoundScaled(double magnitude, int decimals, uint64_t& scaled) {
    if (decimals < 0 || decimals > 19 || !(magnitude >= 0)) return false;
    const double scale = kPowersOfTen[decimals];
    const double product = magnitude * scale;
    if (!(product < 9007199254740992.0)) return false;  // 2^53: every integer below is exact
    // The product's rounding error, exactly: magnitude x scale = product + error.
    scaled = RoundProduct(product, std::fma(magnitude, scale, -product));
    return true;
}

char* WholeDigits(double value, char (&buffer)[kWholeDigitsRoom]) {
    return WriteWhole(value, buffer);
}

char16_t* WholeDigits(double value, char16_t (&buffer)[kWholeDigitsRoom]) {
    return WriteWhole(value, buffer);
}

std::string FormatGeneral(double value, int precision) {
    std::string text;
    if (NonFinite(value, text)) return text;
    precision = std::clamp(precision, 1, kExactDigits);
    // Whole numbers with no more digits than asked for print as they are; they are what
    // most cells hold, and the exact expansion below is costly.
    if (precision >= 15 || std::fabs(value) < std::pow(10.0, precision)) {
        char buffer[kWholeDigitsRoom];
        if (const char* end = WholeDigits(value, buffer))
            return std::string(buffer, size_t(end - buffer));
    }
    if (value < 0) text.push_back('-');
    double magnitude = std::fabs(value);
    if (magnitude == 0) return "0";
    Decimal d;
    uint64_t scaled = 0;
    if (int exponent = 0; RoundSignificantScaled(magnitude, precision, scaled, exponent)) {
        char buffer[kWholeDigitsRoom];
        d.digits.assign(buffer, std::to_chars(buffer, buffer + sizeof buffer, scaled).ptr);
        // A carry into a new leading digit: "1000..." one place up.
        d.exponent = d.digits.size() > size_t(precision) ? exponent + 1 : exponent;
    } else {
        d = RoundSignificant(magnitude, precision);
    }
    std::string& digits = d.digits;
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    int x = d.exponent;
    if (x < -4 || x >= precision) {
        text.push_back(digits[0]);
        if (digits.size() > 1) {
            text.push_back('.');
            text.append(digits, 1);
        }
        AppendExponent(text, x);
    } else if (x >= 0) {
        size_t whole = static_cast<size_t>(x) + 1;
        text.append(digits, 0, std::min(whole, digits.size()));
        if (digits.size() < whole) text.append(whole - digits.size(), '0');
        if (digits.size() > whole) {
            text.push_back('.');
            text.append(digits, whole);
        }
    } else {
        text.append("0.");
        text.append(static_cast<size_t>(-x - 1), '0');
        text.append(digits);
    }
    return text;
}

std::string FormatFixed(double value, int decimals, bool forcePoint) {
    std::string text;
    if (NonFinite(value, text)) return text;
    decimals = std::clamp(decimals, 0, kMaxDecimals);
    if (value < 0) text.push_back('-');
    Decimal d = RoundFixed(std::fabs(value), decimals);
    // Only a value that rounds to zero has a leading '0'.
    bool zero = d.digits[0] == '0';
    const std::string& digits = d.digits;
    int size = static_cast<int>(digits.size());
    auto digitAt = [&](int index) { return index >= 0 && index < size ? digits[index] : '0'; };
    if (zero || d.exponent < 0) {
        text.push_back('0');
    } else {
        for (int i = 0; i <= d.exponent; ++i)
            text.push_back(digitAt(i));
    }
    if (decimals > 0 || forcePoint) text.push_back('.');
    for (int j = 1; j <= decimals; ++j)
        text.push_back(zero ? '0' : digitAt(d.exponent + j));
    return text;
}

std::string FormatScientific(double value, int decimals, bool forcePoint) {
    std::string text;
    if (NonFinite(value, text)) return text;
    decimals = std::clamp(decimals, 0, kMaxDecimals);
    if (value < 0) text.push_back('-');
    double magnitude = std::fabs(value);
    Decimal d = magnitude == 0 ? Decimal{std::string(decimals + 1, '0'), 0}
                               : RoundSignificant(magnitude, decimals + 1);
    d.digits.resize(decimals + 1, '0');
    text.push_back(d.digits[0]);
    if (decimals > 0 || forcePoint) text.push_back('.');
    text.append(d.digits, 1);
    AppendExponent(text, d.exponent);
    return text;
}

}  // namespace ostrel::digits
