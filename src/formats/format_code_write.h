// SPDX-License-Identifier: Apache-2.0
// Whole numbers written into display text without allocating: "%d", "%02d" and their
// like for integers, and whole-valued doubles of any size (elapsed totals of huge values).
#pragma once

#include <cmath>
#include <cstdint>

#include "formats/digit_engine.h"
#include "ostrel/platform/wide_stream.h"

namespace format_code {

inline void WriteZeros(ostrel::platform::CWideOutStream& out, int count) {
    for (int i = 0; i < count; ++i)
        out << u'0';
}

// The value in decimal, zero-padded to at least `width` digits, a minus sign before a
// negative one.
inline void WriteInteger(ostrel::platform::CWideOutStream& out, int64_t value, int width = 1) {
    if (value >= 0 && value < 100 && width <= 2) {  // the parts of dates and clocks
        if (value >= 10 || width == 2) out << static_cast<char16_t>(u'0' + value / 10);
        out << static_cast<char16_t>(u'0' + value % 10);
        return;
    }
    uint64_t magnitude = static_cast<uint64_t>(value);
    if (value < 0) {
        magnitude = 0 - magnitude;
        out << u'-';
    }
    char16_t digits[20];
    int start = 20;
    do {
        digits[--start] = static_cast<char16_t>(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    WriteZeros(out, width - (20 - start));
    out << std::u16string_view(digits + start, static_cast<size_t>(20 - start));
}

// A non-negative whole-valued double, zero-padded to `width` digits.
inline void WriteWhole(ostrel::platform::CWideOutStream& out, double value, int width = 1) {
    if (value < 9.0e18) {
        WriteInteger(out, static_cast<int64_t>(value), width);
        return;
    }
    ostrel::digits::DigitBuffer digits;
    ostrel::digits::RoundFixedInto(value, 0, digits);
    int length = digits.exponent + 1;
    WriteZeros(out, width - length);
    out << std::string_view(digits.digits, static_cast<size_t>(digits.size));
    WriteZeros(out, length - digits.size);
}

}  // namespace format_code
