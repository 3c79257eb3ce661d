// SPDX-License-Identifier: Apache-2.0
#include "formats/intl_settings.h"

#include <array>
#include <string>

#include "formats/builtin_formats.h"
#include "ostrel/platform/resources.h"
#include "ostrel/platform/ui.h"
#include "ostrel/platform/zmk/environment.h"
#include "platform/text/unicode.h"

namespace {

constexpr size_t kMaxText = 31;
constexpr unsigned kSeparatorChangedId = 13043;

struct Settings {
    char16_t listSeparator = u',';
    char16_t listSeparator2 = u';';
    char16_t positiveSign = u'+';
    char16_t negativeSign = u'-';
    char16_t numberDecimalSeparator = u'.';
    char16_t numberGroupSeparator = u',';
    int numberGroupSize = 3;
    int numberPrecision = 2;
    std::u16string currencyString = u"$";
    char16_t currencyDecimalSeparator = u'.';
    char16_t currencyGroupSeparator = u',';
    int currencyGroupSize = 3;
    int currencyPrecision = 2;
    int currencyPositiveOrder = 0;
    int currencyNegativeOrder = 0;
    char16_t dateSeparator = u'/';
    int dateOrder = 0;
    int dateYearSize = 4;
    unsigned char dateYearPosition = 1;
    std::array<std::u16string, 12> longMonths = {
        u"January", u"February", u"March",     u"April",   u"May",      u"June",
        u"July",    u"August",   u"September", u"October", u"November", u"December"};
    std::array<std::u16string, 12> shortMonths = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                                                  u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
    char16_t timeSeparator = u':';
    int timeRange = 12;
    std::u16string timeAMString = u"AM";
    std::u16string timePMString = u"PM";
};

Settings& Store() {
    static Settings settings;
    return settings;
}

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// At most 31 units, and the cut never leaves half of a surrogate pair behind.
std::u16string Truncated(std::u16string_view text) {
    size_t n = text.size() < kMaxText ? text.size() : kMaxText;
    if (n == kMaxText && text.size() > kMaxText && IsLowSurrogate(text[n]) &&
        IsHighSurrogate(text[n - 1]))
        --n;
    return std::u16string(text.substr(0, n));
}

void SetIfAny(char16_t& slot, char16_t value) {
    if (value != 0) slot = value;
}

void SetIfAny(std::u16string& slot, const std::u16string& value) {
    if (!value.empty()) slot = Truncated(value);
}

// A list separator that equals the decimal separator would make "1,5" ambiguous in a
// formula; the second separator then separates the columns of array constants.
void ApplySeparatorRules(Settings& s) {
    if (s.listSeparator == s.numberDecimalSeparator) {
        s.listSeparator = s.numberDecimalSeparator == u',' ? u';' : u',';
        std::u16string text(ostrel::LoadResourceString(kSeparatorChangedId));
        if (size_t at = text.find(u"%s"); at != std::u16string::npos)
            text.replace(at, 2, 1, s.listSeparator);
        ostrel::GetUserInterface().ShowMessage(kSeparatorChangedId, text,
                                               ostrel::MessageIcon::warning);
    }
    if (s.listSeparator != u';' && s.numberDecimalSeparator != u';') {
        s.listSeparator2 = u';';
    } else if (s.listSeparator != u',' && s.numberDecimalSeparator != u',') {
        s.listSeparator2 = u',';
    } else {
        s.listSeparator2 = u'\\';
    }
}

const char16_t* MonthText(const std::array<std::u16string, 12>& months, int month) {
    if (month < 1 || month > 12) return nullptr;
    return months[static_cast<size_t>(month - 1)].c_str();
}

}  // namespace

int InitInternationalSettings() {
    return InitInternationalSettings(*zmk::globals::global_environment().locales_cache().user());
}

int InitInternationalSettings(const zmk::multilang::CLocaleInfo& locale) {
    const zmk::multilang::LocaleData& d = locale.data();
    Settings& s = Store();

    SetIfAny(s.listSeparator, d.listSeparator);
    SetIfAny(s.positiveSign, d.positiveSign);
    SetIfAny(s.negativeSign, d.negativeSign);
    SetIfAny(s.numberDecimalSeparator, d.numberDecimalSeparator);
    SetIfAny(s.numberGroupSeparator, d.numberGroupSeparator);
    if (d.numberGroupSize >= 0) s.numberGroupSize = d.numberGroupSize;
    if (d.numberPrecision >= 0) s.numberPrecision = d.numberPrecision;

    SetIfAny(s.currencyString, d.currencyString);
    SetIfAny(s.currencyDecimalSeparator, d.currencyDecimalSeparator);
    SetIfAny(s.currencyGroupSeparator, d.currencyGroupSeparator);
    if (d.currencyGroupSize >= 0) s.currencyGroupSize = d.currencyGroupSize;
    if (d.currencyPrecision >= 0) s.currencyPrecision = d.currencyPrecision;
    if (d.currencyPositiveOrder >= 0 && d.currencyPositiveOrder <= 3)
        s.currencyPositiveOrder = d.currencyPositiveOrder;
    if (d.currencyNegativeOrder >= 0 && d.currencyNegativeOrder <= 15)
        s.currencyNegativeOrder = d.currencyNegativeOrder;

    SetIfAny(s.dateSeparator, d.dateSeparator);
    if (d.dateOrder >= 0 && d.dateOrder <= 2) s.dateOrder = d.dateOrder;
    if (d.dateYearSize == 2 || d.dateYearSize == 4) s.dateYearSize = d.dateYearSize;
    s.dateYearPosition = d.dateYearPosition;
    for (size_t i = 0; i < 12; ++i) {
        SetIfAny(s.longMonths[i], d.longMonths[i]);
        SetIfAny(s.shortMonths[i], d.shortMonths[i]);
    }

    SetIfAny(s.timeSeparator, d.timeSeparator);
    if (d.timeRange == 12 || d.timeRange == 24) s.timeRange = d.timeRange;
    SetIfAny(s.timeAMString, d.timeAMString);
    SetIfAny(s.timePMString, d.timePMString);

    // The engine's collation follows the user's locale; the process locale stays the
    // host's.
    ostrel::text::SetCollationLocale(locale.name());
    ApplySeparatorRules(s);
    RebuildBuiltInNumberFormats();
    return 1;
}

void ResetInternationalSettings() {
    Store() = Settings{};
    RebuildBuiltInNumberFormats();
}

void SetListSeparartor(char16_t c) {
    Store().listSeparator = c;
}
char16_t GetListSeparartor() {
    return Store().listSeparator;
}
void SetListSeparartor2(char16_t c) {
    Store().listSeparator2 = c;
}
char16_t GetListSeparartor2() {
    return Store().listSeparator2;
}
void SetPositiveSign(char16_t c) {
    Store().positiveSign = c;
}
char16_t GetPositiveSign() {
    return u'+';
}
void SetNegativeSign(char16_t c) {
    Store().negativeSign = c;
}
char16_t GetNegativeSign() {
    return u'-';
}

void SetNumberDeciamalSeparartor(char16_t c) {
    Store().numberDecimalSeparator = c;
}
char16_t GetNumberDeciamalSeparartor() {
    return Store().numberDecimalSeparator;
}
void SetNumberGroupSeparartor(char16_t c) {
    Store().numberGroupSeparator = c;
}
char16_t GetNumberGroupSeparartor() {
    return Store().numberGroupSeparator;
}
void SetNumberGroupSize(int size) {
    Store().numberGroupSize = size;
}
int GetNumberGroupSize() {
    return Store().numberGroupSize;
}
void SetNumberPrecision(int precision) {
    Store().numberPrecision = precision;
}
int GetNumberPrecision() {
    return Store().numberPrecision;
}

void SetCurrencyString(std::u16string_view text) {
    Store().currencyString = Truncated(text);
}
const char16_t* GetCurrencyString() {
    return Store().currencyString.c_str();
}
void SetCurrencyDeciamalSeparartor(char16_t c) {
    Store().currencyDecimalSeparator = c;
}
char16_t GetCurrencyDeciamalSeparartor() {
    return Store().currencyDecimalSeparator;
}
void SetCurrencyGroupSeparartor(char16_t c) {
    Store().currencyGroupSeparator = c;
}
char16_t GetCurrencyGroupSeparartor() {
    return Store().currencyGroupSeparator;
}
void SetCurrencyGroupSize(int size) {
    Store().currencyGroupSize = size;
}
int GetCurrencyGroupSize() {
    return Store().currencyGroupSize;
}
void SetCurrencyPrecision(int precision) {
    Store().currencyPrecision = precision;
}
int GetCurrencyPrecision() {
    return Store().currencyPrecision;
}
void SetCurrencyPositiveOrder(int order) {
    Store().currencyPositiveOrder = order;
}
int GetCurrencyPositiveOrder() {
    return Store().currencyPositiveOrder;
}
void SetCurrencyNegativeOrder(int order) {
    Store().currencyNegativeOrder = order;
}
int GetCurrencyNegativeOrder() {
    return Store().currencyNegativeOrder;
}

void SetDateSeparator(char16_t c) {
    Store().dateSeparator = c;
}
char16_t GetDateSeparator() {
    return Store().dateSeparator;
}
void SetDateOrder(int order) {
    Store().dateOrder = order;
}
int GetDateOrder() {
    return Store().dateOrder;
}
void SetDateYearSize(int digits) {
    Store().dateYearSize = digits;
}
int GetDateYearSize() {
    return Store().dateYearSize;
}
unsigned char GetDateYearPosition() {
    return Store().dateYearPosition;
}

void SetDateLongMonths(int month, std::u16string_view text) {
    if (month >= 1 && month <= 12)
        Store().longMonths[static_cast<size_t>(month - 1)] = Truncated(text);
}
const char16_t* GetDateLongMonths(int month) {
    return MonthText(Store().longMonths, month);
}
void SetDateShortMonths(int month, std::u16string_view text) {
    if (month >= 1 && month <= 12)
        Store().shortMonths[static_cast<size_t>(month - 1)] = Truncated(text);
}
const char16_t* GetDateShortMonths(int month) {
    return MonthText(Store().shortMonths, month);
}

void SetTimeSeparator(char16_t c) {
    Store().timeSeparator = c;
}
char16_t GetTimeSeparator() {
    return Store().timeSeparator;
}
void SetTimeRange(int hours) {
    Store().timeRange = hours;
}
int GetTimeRange() {
    return Store().timeRange;
}
void SetTimeAMString(std::u16string_view text) {
    Store().timeAMString = Truncated(text);
}
const char16_t* GetTimeAMString() {
    return Store().timeAMString.c_str();
}
void SetTimePMString(std::u16string_view text) {
    Store().timePMString = Truncated(text);
}
const char16_t* GetTimePMString() {
    return Store().timePMString.c_str();
}
