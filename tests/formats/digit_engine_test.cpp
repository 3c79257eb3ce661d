// SPDX-License-Identifier: Apache-2.0
#include "formats/digit_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfenv>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "ostrel/platform/utf.h"

using ostrel::digits::FormatFixed;
using ostrel::digits::FormatGeneral;
using ostrel::digits::FormatScientific;

namespace {

// The C library's text with the exponent widened to three digits, as our runtime form.
std::string Reference(const char* format, int precision, double value) {
    char buffer[2048];
    std::snprintf(buffer, sizeof buffer, format, precision, value);
    std::string text = buffer;
    size_t e = text.find('E');
    if (e != std::string::npos && text.size() - e - 2 < 3)
        text.insert(e + 2, 3 - (text.size() - e - 2), '0');
    return text;
}

}  // namespace

TEST(DigitEngine, ExactTiesRoundAwayFromZero) {
    EXPECT_EQ(FormatFixed(2.5, 0, false), "3");
    EXPECT_EQ(FormatFixed(-2.5, 0, false), "-3");
    EXPECT_EQ(FormatFixed(0.5, 0, false), "1");
    EXPECT_EQ(FormatFixed(0.125, 2, false), "0.13");
    EXPECT_EQ(FormatFixed(1.5, 0, true), "2.");
    EXPECT_EQ(FormatScientific(2500, 0, true), "3.E+003");
    EXPECT_EQ(FormatGeneral(0.5, 0), "0.5");
    EXPECT_EQ(FormatGeneral(2.5, 1), "3");
    // Not ties: the binary value lies below or above the decimal midpoint.
    EXPECT_EQ(FormatFixed(9.995, 2, false), "9.99");  // 9.99499999999999957...
    EXPECT_EQ(FormatFixed(0.45, 1, false), "0.5");    // 0.45000000000000001...
    EXPECT_EQ(FormatFixed(0.35, 1, false), "0.3");    // 0.34999999999999997...
}

TEST(DigitEngine, CarriesMoveTheExponent) {
    EXPECT_EQ(FormatFixed(9.996, 2, false), "10.00");
    EXPECT_EQ(FormatFixed(99.5, 0, false), "100");
    EXPECT_EQ(FormatFixed(0.9996, 3, false), "1.000");
    EXPECT_EQ(FormatFixed(0.4, 0, false), "0");
    EXPECT_EQ(FormatFixed(0.004, 2, false), "0.00");
    EXPECT_EQ(FormatFixed(0.006, 2, false), "0.01");
    EXPECT_EQ(FormatScientific(9.9996, 2, true), "1.00E+001");
    EXPECT_EQ(FormatGeneral(999999999999999.9, 15), "1E+015");
    // Rounding to 0.0001 leaves the exponent form.
    EXPECT_EQ(FormatGeneral(9.9999999999999995e-5, 15), "0.0001");
}

// Outside what the comparison with the C library below draws: zeros, the switches between
// fixed and exponent forms at powers of ten, the ends of the double range and values that
// are no numbers.
TEST(DigitEngine, ZerosPowersOfTenAndTheRangesEnds) {
    EXPECT_EQ(FormatGeneral(0.1 + 0.2, 15), "0.3");
    EXPECT_EQ(FormatGeneral(1e15, 15), "1E+015");
    EXPECT_EQ(FormatGeneral(123456789012345.0, 15), "123456789012345");
    EXPECT_EQ(FormatGeneral(1e-5, 15), "1E-005");
    EXPECT_EQ(FormatGeneral(0.0001, 15), "0.0001");
    EXPECT_EQ(FormatGeneral(0, 15), "0");
    EXPECT_EQ(FormatGeneral(-0.0, 15), "0");
    EXPECT_EQ(FormatGeneral(1e300, 15), "1E+300");
    EXPECT_EQ(FormatGeneral(std::numeric_limits<double>::denorm_min(), 15),
              "4.94065645841247E-324");
    EXPECT_EQ(FormatFixed(0.1, 20, false), "0.10000000000000000555");
    EXPECT_EQ(FormatFixed(0, 0, true), "0.");
    EXPECT_EQ(FormatFixed(-0.001, 2, false), "-0.00");
    EXPECT_EQ(FormatFixed(1e300, 0, false).size(), 301u);
    EXPECT_EQ(FormatScientific(0, 2, true), "0.00E+000");
    EXPECT_EQ(FormatScientific(1e-300, 1, false), "1.0E-300");
    EXPECT_EQ(FormatGeneral(std::numeric_limits<double>::infinity(), 15), "inf");
    EXPECT_EQ(FormatFixed(-std::numeric_limits<double>::infinity(), 2, false), "-inf");
    EXPECT_EQ(FormatScientific(std::nan(""), 2, true), "nan");
}

// Whether value lies exactly halfway between two numbers of `decimals` decimals.
bool IsTie(double value, int decimals) {
    std::string exact = Reference("%.*f", 1100, value);
    size_t cut = exact.find('.') + 1 + decimals;
    return exact[cut] == '5' && exact.find_first_not_of('0', cut + 1) == std::string::npos;
}

TEST(DigitEngine, MatchesTheCLibraryOutsideTies) {
    // The C library rounds exact ties to even; the engine rounds them away from zero, as the
    // C library does when the rounding mode points away from zero.
    std::mt19937_64 random(20240611);
    std::uniform_int_distribution<int> exponent(-40, 40);
    int ties = 0;
    for (int i = 0; i < 3000; ++i) {
        double mantissa = std::uniform_real_distribution<double>(1.0, 10.0)(random);
        double value = std::ldexp(mantissa, exponent(random) * 3);
        if (i % 2) value = -value;
        int precision = i % 18;
        bool tie = IsTie(value, precision);
        ties += tie;
        if (tie) std::fesetround(value > 0 ? FE_UPWARD : FE_DOWNWARD);
        std::string fixed = Reference("%.*f", precision, value);
        std::string pointed = Reference("%#.*f", precision, value);
        std::fesetround(FE_TONEAREST);
        SCOPED_TRACE(Reference("%.*E", 20, value));
        ASSERT_EQ(FormatFixed(value, precision, false), fixed);
        ASSERT_EQ(FormatFixed(value, precision, true), pointed);
        ASSERT_EQ(FormatScientific(value, precision, true), Reference("%#.*E", precision, value));
        ASSERT_EQ(FormatGeneral(value, precision + 1), Reference("%.*G", precision + 1, value));
    }
    EXPECT_GT(ties, 0);  // large values with few fraction bits do meet ties
}

// The fast rounding (one product and its exact error) against the digit expansion, with
// exact ties and products near 2^53 among random values.
TEST(DigitEngine, ScaledRoundingAgreesWithTheExpansion) {
    auto expanded = [](double value, int decimals) {
        std::string text = FormatFixed(value, decimals, false);
        text.erase(std::remove(text.begin(), text.end(), '.'), text.end());
        return text.erase(0, std::min(text.find_first_not_of('0'), text.size() - 1));
    };
    std::vector<std::pair<double, int>> cases = {{2.5, 0},
                                                 {0.125, 2},
                                                 {1.005, 2},
                                                 {0.5, 0},
                                                 {4503599627370495.5, 0},
                                                 {900719925474099.1, 1},
                                                 {2.675, 2},
                                                 {1e-7, 3},
                                                 {0, 5},
                                                 {123456.789, 9}};
    std::mt19937_64 random(20241207);
    for (int i = 0; i < 20000; ++i) {
        int decimals = int(random() % 20);
        double mantissa = std::uniform_real_distribution<double>(1.0, 10.0)(random);
        double value = mantissa * std::pow(10.0, int(random() % 26) - 10);
        if (i % 4 == 0) value = std::round(value * 8) / 8;  // ties of a few decimals
        cases.emplace_back(value, decimals);
    }
    int fast = 0;
    for (auto [value, decimals] : cases) {
        uint64_t scaled = 0;
        if (!ostrel::digits::RoundScaled(value, decimals, scaled)) continue;
        ++fast;
        ASSERT_EQ(std::to_string(scaled), expanded(value, decimals))
            << Reference("%.*E", 20, value) << " to " << decimals;
    }
    EXPECT_GT(fast, 5000);
    uint64_t scaled = 0;
    EXPECT_FALSE(ostrel::digits::RoundScaled(1e16, 0, scaled));  // beyond 2^53
    EXPECT_FALSE(ostrel::digits::RoundScaled(1, 20, scaled));
}

// Significant digits by the scaled product against the digit expansion: values just either
// side of powers of ten (where the exponent is easy to get wrong), exact ties at the last
// digit kept, carries into a new leading digit, and random values at every count.
TEST(DigitEngine, ScaledSignificantDigitsAgreeWithTheExpansion) {
    std::vector<double> values = {999999999999999.5,
                                  99999.99999999999,
                                  0.000099999999999999995,
                                  123456789012345.5,
                                  2.5,
                                  0.1,
                                  1e-5,
                                  9.5,
                                  0.95};
    for (int k = -6; k <= 16; ++k) {
        const double power = std::pow(10.0, k);
        for (double v = power, i = 0; i < 3; ++i, v = std::nextafter(v, 0.0))
            values.push_back(v);
        values.push_back(std::nextafter(power, 1e300));
    }
    std::mt19937_64 random(20261208);
    for (int i = 0; i < 20000; ++i) {
        const double mantissa = std::uniform_real_distribution<double>(1.0, 10.0)(random);
        double value = mantissa * std::pow(10.0, int(random() % 24) - 7);
        if (i % 3 == 0) value = std::round(value * 16) / 16;  // ties of a few binary places
        values.push_back(value);
    }
    int fast = 0;
    for (double value : values) {
        for (int count = 1; count <= 15; ++count) {
            uint64_t digits = 0;
            int exponent = 0;
            if (!ostrel::digits::RoundSignificantScaled(value, count, digits, exponent)) continue;
            ++fast;
            ostrel::digits::Decimal expected = ostrel::digits::RoundSignificant(value, count);
            std::string text = std::to_string(digits);
            if (text.size() > size_t(count)) ++exponent;  // the carry
            auto trimmed = [](std::string s) { return s.erase(s.find_last_not_of('0') + 1); };
            ASSERT_EQ(trimmed(text), trimmed(expected.digits))
                << Reference("%.*E", 20, value) << " to " << count;
            ASSERT_EQ(exponent, expected.exponent) << Reference("%.*E", 20, value);
        }
    }
    EXPECT_GT(fast, 100000);
}

// Whole numbers written narrow and wide, against the library's conversion.
TEST(DigitEngine, WholeDigitsAgreeWithTheLibrary) {
    std::vector<double> values = {0.0,
                                  -0.0,
                                  1,
                                  -1,
                                  9,
                                  10,
                                  -10,
                                  99,
                                  100,
                                  101,
                                  999999999999999,
                                  -999999999999999,
                                  1e15,
                                  0.5,
                                  -2.5,
                                  1e300,
                                  4294967295.0,
                                  4294967296.0,
                                  -4294967297.0};
    // Every digit count, at both of its ends.
    for (double power = 1; power < 1e15; power *= 10)
        for (double value : {power - 1, power, power + 1, -power, 2 * power})
            values.push_back(value);
    std::mt19937_64 random(20261208);
    for (int i = 0; i < 5000; ++i)
        values.push_back(double(int64_t(random() % 2000000000000000) - 1000000000000000) /
                         double(1 + (i % 4 == 0) * 8));
    for (double value : values) {
        char narrow[ostrel::digits::kWholeDigitsRoom];
        char16_t wide[ostrel::digits::kWholeDigitsRoom];
        const char* n = ostrel::digits::WholeDigits(value, narrow);
        const char16_t* w = ostrel::digits::WholeDigits(value, wide);
        const bool whole = std::fabs(value) < 1e15 && value == std::trunc(value);
        ASSERT_EQ(n != nullptr, whole) << value;
        ASSERT_EQ(w != nullptr, whole) << value;
        if (!whole) continue;
        char expected[32];
        const std::string text(expected,
                               std::to_chars(expected, expected + 32, int64_t(value)).ptr);
        ASSERT_EQ(std::string(narrow, size_t(n - narrow)), text);
        ASSERT_EQ(std::u16string(wide, size_t(w - wide)), ostrel::FromUtf8(text));
    }
}
