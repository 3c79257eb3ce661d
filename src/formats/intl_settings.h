// SPDX-License-Identifier: Apache-2.0
// The process-wide international settings: separators, signs, currency, date and time
// conventions that the engine reads outside a locale context. They start at the invariant
// defaults, are filled from the user's locale at engine start and may be overridden by the
// host. Texts are kept to 31 UTF-16 units (never half a surrogate pair); a text getter's
// pointer stays valid until that setting changes.
#pragma once

#include <string_view>

namespace zmk::multilang {
class CLocaleInfo;
}

// Fills every setting from the user locale, selects that locale's collation, applies the
// separator rules (telling the user once when the list separator had to change) and
// rebuilds the built-in format codes. Returns 1.
int InitInternationalSettings();
// The same from a given locale description.
int InitInternationalSettings(const zmk::multilang::CLocaleInfo& locale);
// Puts every setting back to its invariant default (the built-in format codes follow).
void ResetInternationalSettings();

void SetListSeparartor(char16_t c);
char16_t GetListSeparartor();
void SetListSeparartor2(char16_t c);
char16_t GetListSeparartor2();
// Stored, but the getters always answer '+' and '-': the scanners and printers of the
// engine depend on these two characters.
void SetPositiveSign(char16_t c);
char16_t GetPositiveSign();
void SetNegativeSign(char16_t c);
char16_t GetNegativeSign();

void SetNumberDeciamalSeparartor(char16_t c);
char16_t GetNumberDeciamalSeparartor();
void SetNumberGroupSeparartor(char16_t c);
char16_t GetNumberGroupSeparartor();
void SetNumberGroupSize(int size);
int GetNumberGroupSize();
void SetNumberPrecision(int precision);
int GetNumberPrecision();

void SetCurrencyString(std::u16string_view text);
const char16_t* GetCurrencyString();
void SetCurrencyDeciamalSeparartor(char16_t c);
char16_t GetCurrencyDeciamalSeparartor();
void SetCurrencyGroupSeparartor(char16_t c);
char16_t GetCurrencyGroupSeparartor();
void SetCurrencyGroupSize(int size);
int GetCurrencyGroupSize();
void SetCurrencyPrecision(int precision);
int GetCurrencyPrecision();
void SetCurrencyPositiveOrder(int order);  // 0-3
int GetCurrencyPositiveOrder();
void SetCurrencyNegativeOrder(int order);  // 0-15
int GetCurrencyNegativeOrder();

void SetDateSeparator(char16_t c);
char16_t GetDateSeparator();
void SetDateOrder(int order);  // 0 month-day-year, 1 day-month-year, 2 year-month-day
int GetDateOrder();
void SetDateYearSize(int digits);  // 2 or 4
int GetDateYearSize();
unsigned char GetDateYearPosition();  // 0: the year comes first
// Months 1-12; a setter ignores any other month and a getter answers null for it.
void SetDateLongMonths(int month, std::u16string_view text);
const char16_t* GetDateLongMonths(int month);
void SetDateShortMonths(int month, std::u16string_view text);
const char16_t* GetDateShortMonths(int month);

void SetTimeSeparator(char16_t c);
char16_t GetTimeSeparator();
void SetTimeRange(int hours);  // 12 or 24
int GetTimeRange();
void SetTimeAMString(std::u16string_view text);
const char16_t* GetTimeAMString();
void SetTimePMString(std::u16string_view text);
const char16_t* GetTimePMString();
