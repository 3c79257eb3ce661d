// SPDX-License-Identifier: Apache-2.0
#include "formula/decimal_digits.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace ostrel::scan {

namespace {

// Beyond these decimal magnitudes a double is infinite or zero; clamping first keeps every
// exponent written below small.
constexpr long kMaxMagnitude = 400;
// Exponents typed beyond this cannot change the outcome; they are clamped while summing.
constexpr long kExponentLimit = 1000000000L;

long Clamp(long e) {
    if (e > kExponentLimit) return kExponentLimit;
    if (e < -kExponentLimit) return -kExponentLimit;
    return e;
}

}  // namespace

void DecimalDigits::Clear() {
    m_count = 0;
    m_sticky = false;
    m_exponent = 0;
}

void DecimalDigits::AddInteger(char16_t digit) {
    if (m_count == 0 && digit == u'0') return;
    if (m_count < kKept) {
        m_digits[m_count++] = static_cast<char>(digit);
    } else {
        if (m_exponent < kExponentLimit) ++m_exponent;
        m_sticky |= digit != u'0';
    }
}

void DecimalDigits::AddFraction(char16_t digit) {
    if (m_count == 0 && digit == u'0') {
        if (m_exponent > -kExponentLimit) --m_exponent;
    } else if (m_count < kKept) {
        m_digits[m_count++] = static_cast<char>(digit);
        if (m_exponent > -kExponentLimit) --m_exponent;
    } else {
        m_sticky |= digit != u'0';
    }
}

double DecimalDigits::Value(long extraExponent) const {
    if (m_count == 0) return 0.0;
    long exponent = Clamp(m_exponent + Clamp(extraExponent));
    // Most numbers typed are short: up to 15 digits form an integer a double holds exactly,
    // and so does every power of ten up to 10^22, so one multiplication or division rounds
    // once, correctly, with no text conversion.
    if (!m_sticky && m_count <= 15 && exponent >= -22 && exponent <= 22) {
        static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                             1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
        uint64_t mantissa = 0;
        for (int i = 0; i < m_count; ++i)
            mantissa = mantissa * 10 + uint64_t(m_digits[i] - '0');
        const auto m = static_cast<double>(mantissa);
        return exponent >= 0 ? m * kPowers[exponent] : m / kPowers[-exponent];
    }
    char text[kKept + 1 + 24];
    std::memcpy(text, m_digits, m_count);
    int n = m_count;
    if (m_sticky) {
        text[n++] = '1';
        --exponent;
    }
    // The number lies in [10^(magnitude-1), 10^magnitude).
    long magnitude = n + exponent;
    if (magnitude > kMaxMagnitude) return HUGE_VAL;
    if (magnitude < -kMaxMagnitude) return 0.0;
    text[n++] = 'e';
    char* end = std::to_chars(text + n, text + sizeof text, exponent).ptr;
    double value = 0.0;
    auto [ptr, ec] = std::from_chars(text, end, value);
    if (ec == std::errc::result_out_of_range) return magnitude > 0 ? HUGE_VAL : 0.0;
    return value;
}

}  // namespace ostrel::scan
