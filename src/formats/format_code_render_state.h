// SPDX-License-Identifier: Apache-2.0
// What the tokens of one format-code section read and write while a value is rendered:
// the value's digits, date, clock and fraction, prepared once per call, and the output.
// One lives on the stack per call; nothing in it allocates.
#pragma once

#include <cstdint>

#include "ostrel/platform/wide_stream.h"
#include "ostrel/platform/zmk/legacy_locale_context.h"

namespace format_code {

// Digits of one part of a number as tokens consume them from the left: `lead` zeros, then
// digits[0..size), then zeros, `length` characters in all.
struct DigitRun {
    const char* digits = nullptr;
    int size = 0;
    int lead = 0;
    int length = 0;

    char At(int index) const {
        index -= lead;
        return index >= 0 && index < size ? digits[index] : '0';
    }
};

struct RenderState {
    RenderState(const zmk::multilang::CLegacyLocaleContext& locale_,
                ostrel::platform::CWideOutStream& out_)
        : locale(locale_), out(out_) {}

    const zmk::multilang::CLegacyLocaleContext& locale;
    ostrel::platform::CWideOutStream& out;

    // The integer digits, at least as many as the section's integer placeholders: the
    // first integer token takes the surplus. Grouping separators go between written digits
    // every three places from the right.
    DigitRun integer;
    int integerPlaceholders = 0;
    int integerPos = 0;
    bool firstIntegerToken = true;
    bool grouping = false;
    bool significantSeen = false;  // a non-zero integer digit was written
    bool digitWritten = false;     // any integer digit was written
    // The fraction digits without their trailing zeros (of the second, after seconds).
    DigitRun fraction;
    int fractionPos = 0;

    // The date, the clock and the elapsed totals, after rounding to the shown second.
    int day = 0, month = 0, year = 0;
    int weekday = -1;  // 0 Sunday; -1 for a date outside the calendar
    int hour = 0, minute = 0, second = 0;
    double elapsedHours = 0, elapsedMinutes = 0, elapsedSeconds = 0;

    // The fraction's numerator and denominator.
    int64_t numerator = 0;
    int64_t denominator = 1;

    // The power of ten of scientific notation.
    int exponent = 0;
};

}  // namespace format_code
