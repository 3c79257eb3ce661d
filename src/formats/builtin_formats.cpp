// SPDX-License-Identifier: Apache-2.0
#include "formats/builtin_formats.h"

#include <string_view>
#include <vector>

#include "formats/intl_settings.h"
#include "platform/names.h"

namespace {

// Characters that the format-code syntax reads as something other than literal text.
constexpr std::u16string_view kCodeCharacters = u"\"#0123456789?.,%/yYdDmMhHsSAaEe[]\\_*;@";

bool IsCodeCharacter(char16_t c) {
    return kCodeCharacters.find(c) != std::u16string_view::npos;
}

// A separator as literal code text. The slash stays as it is: it is the date separator of
// the classic date codes.
std::u16string Literal(char16_t c) {
    if (c == u'/' || !IsCodeCharacter(c)) return std::u16string(1, c);
    return std::u16string{u'\\', c};
}

// The currency as literal code text: as it stands when no character has a meaning in
// codes, otherwise quoted (a quote or a section separator cannot be quoted and is left out).
std::u16string CurrencyLiteral(std::u16string_view currency) {
    bool plain = true;
    for (char16_t c : currency)
        plain = plain && !IsCodeCharacter(c);
    if (plain) return std::u16string(currency);
    std::u16string out = u"\"";
    for (char16_t c : currency)
        if (c != u'"' && c != u';') out += c;
    out += u'"';
    return out;
}

// A currency code for the number n under the positive order (0-3) and the classic negative
// patterns (0-15); "_)" pads a positive part whose negative ends in a parenthesis.
std::u16string CurrencyCode(const std::u16string& c, const std::u16string& n, bool red,
                            int positiveOrder, int negativeOrder) {
    std::u16string positive;
    switch (positiveOrder) {
        case 1:
            positive = n + c;
            break;
        case 2:
            positive = c + u" " + n;
            break;
        case 3:
            positive = n + u" " + c;
            break;
        default:
            positive = c + n;
            break;
    }
    std::u16string negative;
    switch (negativeOrder) {
        case 1:
            negative = u"-" + c + n;
            break;
        case 2:
            negative = c + u"-" + n;
            break;
        case 3:
            negative = c + n + u"-";
            break;
        case 4:
            negative = u"(" + n + c + u")";
            break;
        case 5:
            negative = u"-" + n + c;
            break;
        case 6:
            negative = n + u"-" + c;
            break;
        case 7:
            negative = n + c + u"-";
            break;
        case 8:
            negative = u"-" + n + u" " + c;
            break;
        case 9:
            negative = u"-" + c + u" " + n;
            break;
        case 10:
            negative = n + u" " + c + u"-";
            break;
        case 11:
            negative = c + u" " + n + u"-";
            break;
        case 12:
            negative = c + u" -" + n;
            break;
        case 13:
            negative = n + u"- " + c;
            break;
        case 14:
            negative = u"(" + c + u" " + n + u")";
            break;
        case 15:
            negative = u"(" + n + u" " + c + u")";
            break;
        default:
            negative = u"(" + c + n + u")";
            break;
    }
    if (negative.back() == u')') positive += u"_)";
    return positive + u";" + (red ? u"[Red]" : u"") + negative;
}

std::u16string ShortDate(int order, char16_t separator, int yearDigits) {
    std::u16string sep = Literal(separator);
    std::u16string year = yearDigits == 2 ? u"yy" : u"yyyy";
    switch (order) {
        case 1:
            return u"d" + sep + u"m" + sep + year;
        case 2:
            return year + sep + u"m" + sep + u"d";
        default:
            return u"m" + sep + u"d" + sep + year;
    }
}

// Every ":" of a time code becomes the time separator.
std::u16string Time(std::u16string_view code, const std::u16string& separator) {
    std::u16string out;
    for (char16_t c : code) {
        if (c == u':')
            out += separator;
        else
            out += c;
    }
    return out;
}

std::vector<CString> Build() {
    std::u16string currency = CurrencyLiteral(GetCurrencyString());
    std::u16string time = Literal(GetTimeSeparator());
    int positive = GetCurrencyPositiveOrder();
    int negative = GetCurrencyNegativeOrder();
    std::vector<CString> codes = {
        u"General",
        u"0",
        u"0.00",
        u"#,##0",
        u"#,##0.00",
        u"#,##0_);(#,##0)",
        u"#,##0_);[Red](#,##0)",
        u"#,##0.00_);(#,##0.00)",
        u"#,##0.00_);[Red](#,##0.00)",
        CurrencyCode(currency, u"#,##0", false, positive, negative),
        CurrencyCode(currency, u"#,##0", true, positive, negative),
        CurrencyCode(currency, u"#,##0.00", false, positive, negative),
        CurrencyCode(currency, u"#,##0.00", true, positive, negative),
        u"0%",
        u"0.00%",
        u"0.00E+00",
        u"##0.0E+0",
        u"# ?/?",
        u"# ?\?/??",  // the escape keeps "??/" from reading as a trigraph
        ShortDate(GetDateOrder(), GetDateSeparator(), GetDateYearSize()),
        u"d-mmm-yy",
        u"d-mmm",
        u"mmm-yy",
        Time(u"h:mm AM/PM", time),
        Time(u"h:mm:ss AM/PM", time),
        Time(u"h:mm", time),
        Time(u"h:mm:ss", time),
        ShortDate(GetDateOrder(), GetDateSeparator(), 2) + u" " + Time(u"h:mm", time),
        Time(u"mm:ss", time),
        Time(u"[h]:mm:ss", time),
        Time(u"mm:ss.0", time),
        u"@",
    };
    return codes;
}

std::vector<CString>& Codes() {
    static std::vector<CString> codes = Build();
    return codes;
}

}  // namespace

void RebuildBuiltInNumberFormats() {
    Codes() = Build();
}

const CString& getBuiltInNumberFormat(int index) {
    const std::vector<CString>& codes = Codes();
    if (index < 0 || static_cast<size_t>(index) >= codes.size()) return codes.front();
    return codes[static_cast<size_t>(index)];
}

int GetBuiltInNumberFormatCount() {
    return static_cast<int>(Codes().size());
}
