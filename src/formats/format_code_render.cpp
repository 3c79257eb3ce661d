// SPDX-License-Identifier: Apache-2.0
// Rendering a value with one section: the parts the section shows (digits, mantissa and
// exponent, date and clock, fraction) are prepared from the value once, then every token
// writes its piece in order. The digits come from the digit engine, rounded half away from
// zero on the exact binary value; nothing here allocates but the output text.
#include <algorithm>
#include <charconv>
#include <cmath>

#include "formats/format_code_clock.h"
#include "formats/format_code_fraction.h"
#include "formats/format_code_sections.h"
#include "ostrel/formats/date_serial.h"
#include "ostrel/formats/number_format.h"
#include "ostrel/platform/resources.h"

using namespace format_code;
using ostrel::digits::DigitBuffer;

namespace {

constexpr uint64_t kPowers[20] = {1ull,
                                  10ull,
                                  100ull,
                                  1000ull,
                                  10000ull,
                                  100000ull,
                                  1000000ull,
                                  10000000ull,
                                  100000000ull,
                                  1000000000ull,
                                  10000000000ull,
                                  100000000000ull,
                                  1000000000000ull,
                                  10000000000000ull,
                                  100000000000000ull,
                                  1000000000000000ull,
                                  10000000000000000ull,
                                  100000000000000000ull,
                                  1000000000000000000ull,
                                  10000000000000000000ull};
constexpr double kExactIntegers = 9007199254740992.0;  // 2^53
// Resource text of error code 3: a value that is not a finite number.
constexpr unsigned kNotANumberText = 13381 + 3;

// Storage for the short digit strings of the fast paths.
struct ShortDigits {
    char integer[24];
    char fraction[24];
};

int Print(uint64_t value, char* buffer) {
    return static_cast<int>(std::to_chars(buffer, buffer + 24, value).ptr - buffer);
}

// The fraction digits of `value` (< 10^places) written with `places` digits, trailing zeros
// dropped.
DigitRun FractionRun(uint64_t value, int places, char* buffer) {
    DigitRun run;
    if (value == 0) return run;
    while (value % 10 == 0) {
        value /= 10;
        --places;
    }
    run.digits = buffer;
    run.size = Print(value, buffer);
    run.lead = places - run.size;
    run.length = places;
    return run;
}

// Integer digits held `size` of `length` in a digit buffer, at least `placeholders` long.
DigitRun IntegerRun(const char* digits, int size, int length, int placeholders) {
    DigitRun run;
    run.digits = digits;
    run.size = std::min(size, length);
    run.lead = std::max(0, placeholders - length);
    run.length = run.lead + length;
    return run;
}

// The digits of positions [from, from + places) of a rounded value, positions counted from
// its first digit, trailing zeros dropped.
DigitRun FractionRun(const DigitBuffer& buffer, int from, int places) {
    DigitRun run;
    int lead = from < 0 ? std::min(-from, places) : 0;
    int start = std::max(from, 0);
    int take = std::clamp(buffer.size - start, 0, places - lead);
    while (take > 0 && buffer.digits[start + take - 1] == '0')
        --take;
    if (take == 0) return run;
    run.digits = buffer.digits + start;
    run.size = take;
    run.lead = lead;
    run.length = lead + take;
    return run;
}

}  // namespace

void CFormatSectionList::Render(const zmk::multilang::CLegacyLocaleContext& locale, double value,
                                ostrel::platform::CWideOutStream& out) const {
    double magnitude = std::fabs(m_category == C_NF_PERCENT ? value * 100 : value);
    if (!std::isfinite(magnitude)) {
        out << ostrel::LoadResourceString(kNotANumberText);
        return;
    }
    RenderState state(locale, out);
    ShortDigits digits;
    DigitBuffer buffer;
    if (m_layout.scientific)
        PrepareScientific(state, magnitude, buffer);
    else if (m_layout.digits)
        PrepareDigits(state, magnitude, digits.integer, digits.fraction, buffer);
    if (m_layout.date || m_layout.clock) PrepareClock(state, magnitude, digits.fraction);
    if (m_layout.fraction) PrepareFraction(state, magnitude);
    for (const auto& token : m_tokens)
        token->Render(state);
}

void CFormatSectionList::PrepareDigits(RenderState& s, double magnitude, char* integer,
                                       char* fraction, DigitBuffer& buffer) const {
    const Layout& l = m_layout;
    s.integerPlaceholders = l.integerPlaceholders;
    // After seconds the fraction placeholders split the second (PrepareClock).
    int places = l.secondFraction ? 0 : l.fractionPlaceholders;
    int integerSize = 0;
    uint64_t scaled = 0;
    if (l.floorInteger) magnitude = std::floor(magnitude);
    if (magnitude < kExactIntegers && ostrel::digits::RoundScaled(magnitude, places, scaled)) {
        integerSize = Print(scaled / kPowers[places], integer);
        s.integer = IntegerRun(integer, integerSize, integerSize, l.integerPlaceholders);
        s.fraction = FractionRun(scaled % kPowers[places], places, fraction);
    } else {
        int kept = ostrel::digits::RoundFixedInto(magnitude, places, buffer);
        int whole = kept == 0 ? 0 : buffer.exponent + 1;  // integer digits
        if (whole <= 0) {
            integer[0] = '0';
            integerSize = 1;
            s.integer = IntegerRun(integer, 1, 1, l.integerPlaceholders);
        } else {
            integerSize = whole;
            s.integer = IntegerRun(buffer.digits, buffer.size, whole, l.integerPlaceholders);
        }
        if (kept != 0) s.fraction = FractionRun(buffer, whole, places);
    }
    // Separators only from a thousand up.
    s.grouping = l.grouping && integerSize >= 4;
}

void CFormatSectionList::PrepareScientific(RenderState& s, double magnitude,
                                           DigitBuffer& buffer) const {
    const Layout& l = m_layout;
    const int placeholders = l.integerPlaceholders;
    s.integerPlaceholders = placeholders;
    if (magnitude == 0) {
        buffer.digits[0] = '0';
        s.integer = IntegerRun(buffer.digits, 1, 1, placeholders);
        return;
    }
    // The mantissa shows as many integer digits as there are placeholders, or in
    // engineering form 1 to that many, the exponent being a multiple of their number. The
    // digits depend on the power of ten of the first digit, which the rounding itself may
    // raise: the rounding is repeated until the two agree.
    ostrel::digits::RoundSignificantInto(magnitude, 1, buffer);
    int first = buffer.exponent;
    int shown = 0;
    for (int attempt = 0; attempt < 3; ++attempt) {
        shown = placeholders;
        if (l.engineering) {
            int below = first >= 0 ? first % placeholders
                                   : (placeholders - (-first) % placeholders) % placeholders;
            shown = below + 1;
        }
        ostrel::digits::RoundSignificantInto(magnitude, std::max(1, shown + l.fractionPlaceholders),
                                             buffer);
        if (buffer.exponent == first) break;
        first = buffer.exponent;
    }
    s.exponent = buffer.exponent - shown + 1;
    if (shown == 0) {
        static const char kZero = '0';
        s.integer = IntegerRun(&kZero, 1, 1, 0);
    } else {
        s.integer = IntegerRun(buffer.digits, buffer.size, shown, placeholders);
    }
    s.fraction = FractionRun(buffer, shown, l.fractionPlaceholders);
    s.grouping = l.grouping && shown >= 4;
}

void CFormatSectionList::PrepareClock(RenderState& s, double magnitude, char* fraction) const {
    const Layout& l = m_layout;
    double serial = std::floor(magnitude);
    if (l.clock) {
        ClockReading clock = ReadClock(magnitude, l.secondDigits);
        serial = clock.day;
        s.hour = clock.hour;
        s.minute = clock.minute;
        s.second = clock.second;
        s.elapsedHours = clock.elapsedHours;
        s.elapsedMinutes = clock.elapsedMinutes;
        s.elapsedSeconds = clock.elapsedSeconds;
        if (l.secondFraction)
            s.fraction =
                FractionRun(static_cast<uint64_t>(clock.subsecond), l.secondDigits, fraction);
    }
    if (l.date) {
        DoubleToDate(serial, s.day, s.month, s.year);
        if (l.weekday) s.weekday = Weekday(s.day, s.month, s.year);
    }
}

void CFormatSectionList::PrepareFraction(RenderState& s, double magnitude) const {
    const Layout& l = m_layout;
    double whole = std::floor(magnitude);
    double rest = magnitude - whole;
    if (l.fixedDenominator > 0) {
        s.denominator = l.fixedDenominator;
        s.numerator = NumeratorOver(l.wholeNumerator ? magnitude : rest, l.fixedDenominator);
        return;
    }
    Fraction best = BestFraction(rest, l.maxDenominator);
    s.denominator = best.denominator;
    s.numerator = l.wholeNumerator ? WithWhole(whole, best) : best.numerator;
}
