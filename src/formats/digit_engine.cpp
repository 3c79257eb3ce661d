// SPDX-License-Identifier: Apache-2.0
#include "formats/digit_engine.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace ostrel::digits {

namespace {

// A double's exact decimal expansion has at most 767 significant digits, so asking for
// this many digits after the first one always gives the exact value.
constexpr int kExactDigits = 780;
// Digits asked for beyond the rounding position. to_chars rounds its own last digit (to
// even); with this many digits to spare, that rounding can only matter when the digits
// after our cut read exactly "5000..." or "4999...", which is checked for.
constexpr int kGuard = 25;
// Decimals beyond a double's exact expansion are zeros; more than this is never useful.
constexpr int kMaxDecimals = 1100;

// The significant digits of a positive finite value with `after` digits after the first,
// correctly rounded by to_chars, and the decimal exponent of the first digit.
void Expand(double magnitude, int after, std::string& digits, int& exponent) {
    char buffer[kExactDigits + 32];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                std::chars_format::scientific, after);
    const char* p = buffer;
    const char* end = result.ptr;
    digits.clear();
    digits.push_back(*p++);
    if (p < end && *p == '.') {
        ++p;
        while (p < end && *p != 'e')
            digits.push_back(*p++);
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

bool AmbiguousTail(const std::string& digits, size_t keep) {
    char first = digits[keep];
    if (first != '5' && first != '4') return false;
    char rest = first == '5' ? '0' : '9';
    for (size_t i = keep + 1; i < digits.size(); ++i)
        if (digits[i] != rest) return false;
    return true;
}

// Rounds half away from zero, keeping keepOf(exponent) leading digits. With a carry out
// of the kept digits the result gains a leading "1" and the exponent grows by one.
template <class KeepOf>
Decimal Round(double magnitude, KeepOf keepOf, int firstGuess) {
    Decimal out;
    if (magnitude == 0) {
        out.digits = "0";
        return out;
    }
    std::string all;
    int exponent = 0;
    int after = std::clamp(firstGuess, kGuard, kExactDigits);
    Expand(magnitude, after, all, exponent);
    int keep = keepOf(exponent);
    if (after < kExactDigits && keep + kGuard > after + 1) {
        after = std::min(kExactDigits, keep + kGuard);
        Expand(magnitude, after, all, exponent);
        keep = keepOf(exponent);
    }
    if (keep >= 0 && keep < static_cast<int>(all.size()) && after < kExactDigits &&
        ExactSignificantDigits(magnitude, exponent) > after + 1 && AmbiguousTail(all, keep)) {
        Expand(magnitude, kExactDigits, all, exponent);
        keep = keepOf(exponent);
    }
    if (keep < 0) {
        out.digits = "0";
        return out;
    }
    bool up = keep < static_cast<int>(all.size()) && all[keep] >= '5';
    out.digits.assign(all, 0, std::min<size_t>(keep, all.size()));
    out.digits.resize(keep, '0');
    out.exponent = exponent;
    if (up) {
        int i = keep - 1;
        while (i >= 0 && out.digits[i] == '9')
            out.digits[i--] = '0';
        if (i >= 0) {
            ++out.digits[i];
        } else {
            out.digits.insert(out.digits.begin(), '1');
            ++out.exponent;
        }
    }
    if (out.digits.empty()) {
        out.digits = "0";
        out.exponent = 0;
    }
    return out;
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

Decimal RoundSignificant(double magnitude, int count) {
    count = std::clamp(count, 1, kExactDigits);
    Decimal d = Round(
        magnitude, [count](int) { return count; }, count - 1 + kGuard);
    if (static_cast<int>(d.digits.size()) > count) d.digits.resize(count);
    return d;
}

Decimal RoundFixed(double magnitude, int decimals) {
    decimals = std::clamp(decimals, -kMaxDecimals, kMaxDecimals);
    int binaryExponent = 0;
    std::frexp(magnitude, &binaryExponent);
    // A lower bound of the decimal exponent; the rounding checks and corrects it.
    int guess = static_cast<int>(std::floor((binaryExponent - 1) * 0.30102999566398119521));
    return Round(
        magnitude, [decimals](int exponent) { return exponent + 1 + decimals; },
        guess + decimals + kGuard);
}

std::string FormatGeneral(double value, int precision) {
    std::string text;
    if (NonFinite(value, text)) return text;
    precision = std::clamp(precision, 1, kExactDigits);
    if (value < 0) text.push_back('-');
    double magnitude = std::fabs(value);
    if (magnitude == 0) return "0";
    // Whole numbers with no more digits than asked for print as they are; they are what
    // most cells hold, and the exact expansion below is costly.
    if (magnitude < 1e15 && (precision >= 15 || magnitude < std::pow(10.0, precision)) &&
        magnitude == std::floor(magnitude)) {
        char buffer[24];
        auto end = std::to_chars(buffer, buffer + sizeof buffer, int64_t(magnitude)).ptr;
        text.append(buffer, end);
        return text;
    }
    Decimal d = RoundSignificant(magnitude, precision);
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
