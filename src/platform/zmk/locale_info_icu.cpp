// SPDX-License-Identifier: Apache-2.0
// Builds a locale description from ICU once per locale, so that the getters only read data.
#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <string>

#include <unicode/datefmt.h>
#include <unicode/dcfmtsym.h>
#include <unicode/decimfmt.h>
#include <unicode/dtfmtsym.h>
#include <unicode/numfmt.h>
#include <unicode/smpdtfmt.h>
#include <unicode/ucurr.h>
#include <unicode/uloc.h>

#include "ostrel/platform/zmk/legacy_locale_context.h"
#include "platform/zmk/dialling_codes.h"
#include "platform/zmk/icu_locale.h"
#include "platform/zmk/locale_patterns.h"

namespace zmk::multilang {

namespace {

std::u16string ToU16(const icu::UnicodeString& s) {
    if (s.isBogus() || s.isEmpty()) return {};
    return std::u16string(s.getBuffer(), size_t(s.length()));
}

// A symbol that is one UTF-16 unit once bidi marks are gone; nothing otherwise.
std::optional<char16_t> SingleUnit(const icu::UnicodeString& symbol) {
    std::optional<char16_t> unit;
    for (char16_t c : ToU16(symbol)) {
        if (IsBidiMark(c)) continue;
        if (unit) return std::nullopt;
        unit = c;
    }
    return unit;
}

void TakeSymbol(const icu::DecimalFormatSymbols& symbols,
                icu::DecimalFormatSymbols::ENumberFormatSymbol which, char16_t& target) {
    if (std::optional<char16_t> unit = SingleUnit(symbols.getSymbol(which))) target = *unit;
}

// The locale with one keyword set; the unchanged locale when ICU refuses the keyword.
icu::Locale WithKeyword(const icu::Locale& locale, const char* key, const char* value) {
    icu::Locale out(locale);
    UErrorCode status = U_ZERO_ERROR;
    out.setKeywordValue(key, value, status);
    return U_SUCCESS(status) ? out : locale;
}

const icu::DecimalFormat* AsDecimal(const std::unique_ptr<icu::NumberFormat>& format) {
    return dynamic_cast<const icu::DecimalFormat*>(format.get());
}

int GroupSize(const icu::DecimalFormat* format, int fallback) {
    if (!format) return fallback;
    return format->isGroupingUsed() ? std::max(0, int(format->getGroupingSize())) : 0;
}

void FillNumbers(const icu::Locale& locale, LocaleData& d) {
    // The engine reads and writes ASCII digits, so the separators must be the ones that go
    // with them, whatever digits the locale prefers.
    icu::Locale latin = WithKeyword(locale, "numbers", "latn");
    UErrorCode status = U_ZERO_ERROR;
    icu::DecimalFormatSymbols symbols(latin, status);
    if (U_SUCCESS(status)) {
        using S = icu::DecimalFormatSymbols;
        TakeSymbol(symbols, S::kDecimalSeparatorSymbol, d.numberDecimalSeparator);
        TakeSymbol(symbols, S::kGroupingSeparatorSymbol, d.numberGroupSeparator);
        TakeSymbol(symbols, S::kMonetarySeparatorSymbol, d.currencyDecimalSeparator);
        TakeSymbol(symbols, S::kMonetaryGroupingSeparatorSymbol, d.currencyGroupSeparator);
        TakeSymbol(symbols, S::kMinusSignSymbol, d.negativeSign);
        // Keyboards type the hyphen-minus: with the typographic minus of some locales
        // (sv_SE, nb_NO) typed negative numbers would no longer scan.
        if (d.negativeSign == 0x2212) d.negativeSign = u'-';
        TakeSymbol(symbols, S::kPlusSignSymbol, d.positiveSign);
        std::u16string currency = ToU16(symbols.getSymbol(S::kCurrencySymbol));
        if (!currency.empty()) d.currencyString = currency;
    }

    status = U_ZERO_ERROR;
    std::unique_ptr<icu::NumberFormat> decimal(
        icu::NumberFormat::createInstance(latin, UNUM_DECIMAL, status));
    if (U_SUCCESS(status)) d.numberGroupSize = GroupSize(AsDecimal(decimal), d.numberGroupSize);

    status = U_ZERO_ERROR;
    std::unique_ptr<icu::NumberFormat> currency(
        icu::NumberFormat::createInstance(latin, UNUM_CURRENCY, status));
    if (const icu::DecimalFormat* format = U_SUCCESS(status) ? AsDecimal(currency) : nullptr) {
        d.currencyGroupSize = GroupSize(format, d.currencyGroupSize);
        icu::UnicodeString pattern;
        format->toPattern(pattern);
        CurrencyOrders orders = CurrencyOrdersFromPattern(ToU16(pattern));
        d.currencyPositiveOrder = orders.positive;
        d.currencyNegativeOrder = orders.negative;
    }

    status = U_ZERO_ERROR;
    UChar code[4] = {};
    int32_t length = ucurr_forLocale(locale.getName(), code, 4, &status);
    if (U_SUCCESS(status) && length == 3) {
        int32_t digits = ucurr_getDefaultFractionDigits(code, &status);
        if (U_SUCCESS(status) && digits >= 0) d.currencyPrecision = digits;
    }

    d.listSeparator = d.numberDecimalSeparator == u',' ? u';' : u',';
    if (d.listSeparator != u';' && d.numberDecimalSeparator != u';')
        d.listSeparator2 = u';';
    else if (d.listSeparator != u',' && d.numberDecimalSeparator != u',')
        d.listSeparator2 = u',';
    else
        d.listSeparator2 = u'\\';
}

std::u16string PatternOf(const icu::DateFormat* format) {
    auto simple = dynamic_cast<const icu::SimpleDateFormat*>(format);
    if (!simple) return {};
    icu::UnicodeString pattern;
    simple->toPattern(pattern);
    return ToU16(pattern);
}

void FillDates(const icu::Locale& locale, LocaleData& d) {
    // Date serials are Gregorian, so the month names and date forms must be too.
    icu::Locale gregorian = WithKeyword(locale, "calendar", "gregorian");

    std::unique_ptr<icu::DateFormat> date(
        icu::DateFormat::createDateInstance(icu::DateFormat::kShort, gregorian));
    if (std::u16string pattern = PatternOf(date.get()); !pattern.empty()) {
        DateConventions c = DateConventionsFromPattern(pattern);
        d.dateSeparator = c.separator;
        d.dateOrder = c.order;
        d.dateYearSize = c.yearSize;
        d.dateYearPosition = static_cast<unsigned char>(c.yearPosition);
        d.days2 = c.days2;
        d.months2 = c.months2;
        d.defaultDateFormat = c.defaultDateFormat;
    }

    std::unique_ptr<icu::DateFormat> time(
        icu::DateFormat::createTimeInstance(icu::DateFormat::kShort, gregorian));
    if (std::u16string pattern = PatternOf(time.get()); !pattern.empty()) {
        TimeConventions c = TimeConventionsFromPattern(pattern);
        d.timeSeparator = c.separator;
        d.timeRange = c.range;
    }

    UErrorCode status = U_ZERO_ERROR;
    icu::DateFormatSymbols symbols(gregorian, status);
    if (U_FAILURE(status)) return;
    using S = icu::DateFormatSymbols;
    auto takeMonths = [&](S::DtWidthType width, std::array<std::u16string, 12>& target) {
        int32_t count = 0;
        const icu::UnicodeString* names = symbols.getMonths(count, S::FORMAT, width);
        if (!names || count < 12) return;
        for (size_t i = 0; i < 12; ++i)
            if (std::u16string name = ToU16(names[i]); !name.empty()) target[i] = name;
    };
    takeMonths(S::WIDE, d.longMonths);
    takeMonths(S::ABBREVIATED, d.shortMonths);
    // ICU counts weekdays from 1 (Sunday); entry 0 is unused.
    auto takeDays = [&](S::DtWidthType width, std::array<std::u16string, 7>& target) {
        int32_t count = 0;
        const icu::UnicodeString* names = symbols.getWeekdays(count, S::FORMAT, width);
        if (!names || count < 8) return;
        for (size_t i = 0; i < 7; ++i)
            if (std::u16string name = ToU16(names[i + 1]); !name.empty()) target[i] = name;
    };
    takeDays(S::WIDE, d.longDays);
    takeDays(S::ABBREVIATED, d.shortDays);
    int32_t count = 0;
    const icu::UnicodeString* ampm = symbols.getAmPmStrings(count);
    if (ampm && count >= 2) {
        if (std::u16string am = ToU16(ampm[0]); !am.empty()) d.timeAMString = am;
        if (std::u16string pm = ToU16(ampm[1]); !pm.empty()) d.timePMString = pm;
    }
}

std::u16string LanguageId(const icu::Locale& locale) {
    uint32_t lcid = uloc_getLCID(locale.getName()) & 0xFFFF;
    if (lcid == 0) return u"007F";
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    std::u16string out(4, u'0');
    for (int i = 3; i >= 0; --i, lcid >>= 4)
        out[size_t(i)] = kHex[lcid & 0xF];
    return out;
}

}  // namespace

std::unique_ptr<CLocaleInfo> CLocaleInfo::FromICU(const std::string& name) {
    std::optional<icu::Locale> known = KnownIcuLocale(name);
    if (!known) return nullptr;

    // A bare language ("de") answers with its most likely region's conventions: currency
    // and dialling code belong to regions, not languages.
    icu::Locale locale = *known;
    if (*locale.getCountry() == '\0') {
        icu::Locale likely(locale);
        UErrorCode status = U_ZERO_ERROR;
        likely.addLikelySubtags(status);
        if (U_SUCCESS(status) && !likely.isBogus()) locale = likely;
    }

    LocaleData d;
    d.name = name;
    FillNumbers(locale, d);
    FillDates(locale, d);
    d.countryCode = DiallingCode(locale.getCountry());
    d.languageId = LanguageId(*known);
    return std::make_unique<CLocaleInfo>(std::move(d));
}

}  // namespace zmk::multilang
