// SPDX-License-Identifier: Apache-2.0
// Collects the digits of a typed decimal number and converts them once, correctly rounded,
// however many digits were typed: accumulating in a double would drift after 15 digits and
// overflow an integer after 19. Not part of the public interface.
#pragma once

namespace ostrel::scan {

class DecimalDigits {
public:
    // A digit before the decimal separator, and one after it.
    void AddInteger(char16_t digit);
    void AddFraction(char16_t digit);
    void Clear();

    // The digits times 10 to the power extraExponent, correctly rounded; +infinity beyond
    // the range of a double, 0 below it.
    double Value(long extraExponent = 0) const;

private:
    // Enough significant digits to decide every rounding of a double; the digits dropped
    // after them only matter through whether any was non-zero (m_sticky).
    static constexpr int kKept = 768;

    char m_digits[kKept];
    int m_count = 0;        // significant digits kept (no leading zeros)
    bool m_sticky = false;  // a non-zero digit was dropped
    long m_exponent = 0;    // value = m_digits (as an integer) x 10^m_exponent
};

}  // namespace ostrel::scan
