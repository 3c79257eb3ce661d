// SPDX-License-Identifier: Apache-2.0
/// \file
/// Every convention a locale answers to the engine, as plain data. The defaults are the
/// invariant locale; the locale library fills the rest from ICU (CLocaleInfo::FromICU).
/// Two items have no ICU counterpart: numberPrecision stays 2 for every locale, and
/// countryCode comes from the engine's own table of dialling codes (dialling_codes.h).
#pragma once

#include <array>
#include <string>

#include "ostrel/export.h"

namespace zmk::multilang {

struct OSTREL_API LocaleData {
    std::string name;  // ICU locale name; empty for the invariant locale

    char16_t numberDecimalSeparator = u'.';
    char16_t numberGroupSeparator = u',';
    int numberGroupSize = 3;
    int numberPrecision = 2;  // not locale data in ICU: always 2

    char16_t currencyDecimalSeparator = u'.';
    char16_t currencyGroupSeparator = u',';
    int currencyGroupSize = 3;
    int currencyPrecision = 2;  // default fraction digits of the currency
    std::u16string currencyString = u"$";
    int currencyPositiveOrder = 0;  // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $"
    int currencyNegativeOrder = 0;  // 0 to 15, the classic negative currency patterns

    char16_t negativeSign = u'-';  // the hyphen-minus, also where ICU prefers U+2212
    char16_t positiveSign = u'+';
    char16_t listSeparator = u',';
    char16_t listSeparator2 = u';';

    char16_t dateSeparator = u'/';
    int dateOrder = 0;                   // 0 month-day-year, 1 day-month-year, 2 year-month-day
    int dateYearSize = 4;                // digits of the year in the short date
    unsigned char dateYearPosition = 1;  // 0: the year comes first
    int defaultDateFormat = 0x10;        // a number format's flag byte B: month as digits
    int days2 = 1;                       // the short date writes days with two digits
    int months2 = 1;                     // and months with two digits
    std::array<std::u16string, 12> longMonths = {
        u"January", u"February", u"March",     u"April",   u"May",      u"June",
        u"July",    u"August",   u"September", u"October", u"November", u"December"};
    std::array<std::u16string, 12> shortMonths = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                                                  u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
    /// Weekday names, Sunday first.
    std::array<std::u16string, 7> longDays = {u"Sunday",   u"Monday", u"Tuesday", u"Wednesday",
                                              u"Thursday", u"Friday", u"Saturday"};
    std::array<std::u16string, 7> shortDays = {u"Sun", u"Mon", u"Tue", u"Wed",
                                               u"Thu", u"Fri", u"Sat"};

    char16_t timeSeparator = u':';
    int timeRange = 12;  // 12 or 24
    std::u16string timeAMString = u"AM";
    std::u16string timePMString = u"PM";

    long countryCode = 1;  // international dialling code of the region; 1 when unknown
    /// info(1): the 16-bit language identifier as four upper-case hexadecimal digits
    /// ("0409"); "007F" when there is none.
    std::u16string languageId = u"007F";

    bool operator==(const LocaleData&) const = default;
};

}  // namespace zmk::multilang
