// SPDX-License-Identifier: Apache-2.0
// Reading the engine's locale conventions out of ICU's number and date patterns. Pure text
// analysis, so that every rule can be checked on hand-written patterns.
#pragma once

#include <string>
#include <string_view>

namespace zmk::multilang {

// The classic currency orders of a currency pattern ("¤#,##0.00;(¤#,##0.00)").
struct CurrencyOrders {
    int positive = 0;  // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $"
    int negative = 0;  // 0 to 15; a negative form without a classic equivalent gives 0
};
CurrencyOrders CurrencyOrdersFromPattern(std::u16string_view pattern);

// A subpattern reduced to the symbols "-", "$", "#", " ", "(" and ")": runs of digits and
// separators become one "#", every currency sign "$", any space-like character " ";
// quoted text, bidi marks and other literals vanish. Exposed for the tests.
std::u16string ReduceCurrencyPattern(std::u16string_view subpattern);

// What the short date pattern ("M/d/yy", "dd.MM.y", "y/MM/dd") says. A pattern that lacks
// a year, month or day field leaves the defaults, apart from the separator.
struct DateConventions {
    char16_t separator = u'/';
    int order = 0;                 // 0 month-day-year, 1 day-month-year, 2 year first
    int yearSize = 4;              // 2 when the year field is exactly "yy"
    int yearPosition = 1;          // index of the year field among the three; 0 means year first
    bool days2 = true;             // day field "dd"
    bool months2 = true;           // month field "MM"
    int defaultDateFormat = 0x10;  // a number format's flag byte B
};
DateConventions DateConventionsFromPattern(std::u16string_view pattern);

struct TimeConventions {
    char16_t separator = u':';
    int range = 12;  // 24 for an H or k hour field, 12 for h or K
};
TimeConventions TimeConventionsFromPattern(std::u16string_view pattern);

// Bidi controls that ICU puts into right-to-left locales' symbols and patterns.
inline bool IsBidiMark(char16_t c) {
    return c == 0x200E || c == 0x200F || c == 0x061C;
}

}  // namespace zmk::multilang
