// SPDX-License-Identifier: Apache-2.0
/// \file
/// The locale library's view of one locale: a description (CLocaleInfo) and the context
/// object (CLegacyLocaleContext) whose getters the scanners and printers call.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "ostrel/export.h"
#include "ostrel/platform/zmk/locale_data.h"

namespace zmk::multilang {

/// An immutable locale description. The locales cache owns the shared ones; tests and hosts
/// may build their own from hand-made data.
class OSTREL_API CLocaleInfo {
public:
    explicit CLocaleInfo(LocaleData data) : m_data(std::move(data)) {}

    /// The description of an ICU locale ("de_DE"); null when ICU does not know the
    /// language. Numbers are described for Latin digits and dates for the Gregorian calendar,
    /// the only ones the engine reads and writes; a bare language ("de") takes the
    /// conventions of its likely region. Values ICU does not hold are documented in
    /// LocaleData.
    static std::unique_ptr<CLocaleInfo> FromICU(const std::string& name);

    const LocaleData& data() const { return m_data; }
    const std::string& name() const { return m_data.name; }
    bool isInvariant() const { return m_data.name.empty(); }

private:
    LocaleData m_data;
};

/// Answers every convention of the locale it was made for. The description must outlive it.
class OSTREL_API CLegacyLocaleContext {
public:
    explicit CLegacyLocaleContext(const CLocaleInfo* info) : m_info(info), d(info->data()) {}

    const CLocaleInfo* localeInfo() const { return m_info; }

    char16_t numberDeciamalSeparartor() const { return d.numberDecimalSeparator; }
    char16_t numberGroupSeparartor() const { return d.numberGroupSeparator; }
    char16_t currencyDeciamalSeparartor() const { return d.currencyDecimalSeparator; }
    char16_t currencyGroupSeparartor() const { return d.currencyGroupSeparator; }
    char16_t negativeSign() const { return d.negativeSign; }
    char16_t positiveSign() const { return d.positiveSign; }
    char16_t listSeparartor() const { return d.listSeparator; }
    char16_t listSeparartor2() const { return d.listSeparator2; }
    char16_t dateSeparator() const { return d.dateSeparator; }
    char16_t timeSeparator() const { return d.timeSeparator; }

    int numberGroupSize() const { return d.numberGroupSize; }
    int numberPrecision() const { return d.numberPrecision; }
    int currencyGroupSize() const { return d.currencyGroupSize; }
    int currencyPrecision() const { return d.currencyPrecision; }
    int currencyPositiveOrder() const { return d.currencyPositiveOrder; }
    int currencyNegativeOrder() const { return d.currencyNegativeOrder; }
    int dateOrder() const { return d.dateOrder; }
    int dateYearSize() const { return d.dateYearSize; }
    int defaultDateFormat() const { return d.defaultDateFormat; }
    int timeRange() const { return d.timeRange; }
    int days2() const { return d.days2; }
    int months2() const { return d.months2; }
    unsigned char dateYearPosition() const { return d.dateYearPosition; }
    long countryCode() const { return d.countryCode; }

    const std::u16string& currencyString() const { return d.currencyString; }
    const std::u16string& timeAMString() const { return d.timeAMString; }
    const std::u16string& timePMString() const { return d.timePMString; }
    /// Months 1 to 12; any other month answers an empty text.
    const std::u16string& dateLongMonths(int month) const;
    const std::u16string& dateShortMonths(int month) const;
    /// Weekdays 0 (Sunday) to 6; any other weekday answers an empty text.
    const std::u16string& dateLongDays(int weekday) const;
    const std::u16string& dateShortDays(int weekday) const;
    /// Item 1 is the language identifier as hexadecimal digits ("0409"); other items are
    /// empty.
    const std::u16string& info(int item) const;

private:
    const CLocaleInfo* m_info;
    const LocaleData& d;
};

}  // namespace zmk::multilang
