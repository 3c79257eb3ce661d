// SPDX-License-Identifier: Apache-2.0
#include "platform/zmk/locale_patterns.h"

#include <algorithm>
#include <array>
#include <vector>

#include "platform/text/unicode.h"

namespace zmk::multilang {

namespace {

// White space in Unicode's sense includes the no-break spaces (U+00A0, U+202F) that
// currency patterns use between sign and number.
bool IsSpaceLike(char16_t c) {
    return ostrel::text::IsSpace(c);
}

// One subpattern each, split at the first ";" outside quotes.
std::array<std::u16string_view, 2> SplitSubpatterns(std::u16string_view pattern) {
    bool quoted = false;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == u'\'') quoted = !quoted;
        if (pattern[i] == u';' && !quoted) return {pattern.substr(0, i), pattern.substr(i + 1)};
    }
    return {pattern, {}};
}

int PositiveOrder(std::u16string_view form) {
    static constexpr std::array<std::u16string_view, 4> kForms = {u"$#", u"#$", u"$ #", u"# $"};
    for (size_t i = 0; i < kForms.size(); ++i)
        if (form == kForms[i]) return int(i);
    return 0;
}

int NegativeOrder(std::u16string_view form) {
    // Indexed by the classic order number.
    static constexpr std::array<std::u16string_view, 16> kForms = {
        u"($#)", u"-$#",  u"$-#",  u"$#-",  u"(#$)", u"-#$",  u"#-$",   u"#$-",
        u"-# $", u"-$ #", u"# $-", u"$ #-", u"$ -#", u"#- $", u"($ #)", u"(# $)"};
    for (size_t i = 0; i < kForms.size(); ++i)
        if (form == kForms[i]) return int(i);
    return 0;
}

// A date or time pattern as fields (runs of one ASCII letter) and the unquoted literal
// characters between them. Quoted text only separates fields.
struct Token {
    char16_t letter = 0;  // 0 for a literal
    int count = 0;
    char16_t literal = 0;
};

bool IsPatternLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

std::vector<Token> Tokenize(std::u16string_view pattern) {
    std::vector<Token> tokens;
    bool quoted = false;
    char16_t previous = 0;  // the letter of the field being read
    for (size_t i = 0; i < pattern.size(); ++i) {
        char16_t c = pattern[i];
        if (c == u'\'') {
            // "''" is a quote character, never a field.
            if (i + 1 < pattern.size() && pattern[i + 1] == u'\'') {
                if (!quoted) tokens.push_back({0, 0, c});
                ++i;
            } else {
                quoted = !quoted;
            }
            previous = 0;
            continue;
        }
        if (quoted) continue;
        if (IsPatternLetter(c)) {
            if (c == previous) {
                ++tokens.back().count;
            } else {
                tokens.push_back({c, 1, 0});
                previous = c;
            }
            continue;
        }
        previous = 0;
        if (!IsBidiMark(c)) tokens.push_back({0, 0, c});
    }
    return tokens;
}

// The first separator-like literal between two tokens; 0 when there is none.
char16_t SeparatorBetween(const std::vector<Token>& tokens, size_t from, size_t to) {
    for (size_t i = from + 1; i < to && i < tokens.size(); ++i) {
        char16_t c = tokens[i].literal;
        if (c && !ostrel::text::IsAlpha(c) && !ostrel::text::IsSpace(c)) return c;
    }
    return 0;
}

bool IsOneOf(char16_t c, std::u16string_view set) {
    return set.find(c) != std::u16string_view::npos;
}

constexpr size_t kNone = size_t(-1);

}  // namespace

std::u16string ReduceCurrencyPattern(std::u16string_view subpattern) {
    std::u16string out;
    bool quoted = false;
    for (size_t i = 0; i < subpattern.size(); ++i) {
        char16_t c = subpattern[i];
        if (c == u'\'') {
            if (i + 1 < subpattern.size() && subpattern[i + 1] == u'\'')
                ++i;  // a quote character: a literal that plays no part
            else
                quoted = !quoted;
            continue;
        }
        if (quoted) continue;
        if (c == u'*') {  // a pad escape: the next character is the padding
            ++i;
            continue;
        }
        char16_t symbol;
        if (c == 0x00A4)
            symbol = u'$';
        else if (IsOneOf(c, u"#0123456789,.@"))
            symbol = u'#';
        else if (c == u'-' || c == u'(' || c == u')')
            symbol = c;
        else if (IsSpaceLike(c))
            symbol = u' ';
        else
            continue;
        // "¤¤" (the ISO code) is still one currency sign; runs of spaces are one space.
        if (!out.empty() && out.back() == symbol && IsOneOf(symbol, u"$# ")) continue;
        out += symbol;
    }
    // Spaces at the ends separate nothing.
    size_t first = out.find_first_not_of(u' ');
    if (first == std::u16string::npos) return {};
    return out.substr(first, out.find_last_not_of(u' ') - first + 1);
}

CurrencyOrders CurrencyOrdersFromPattern(std::u16string_view pattern) {
    auto [positive, negative] = SplitSubpatterns(pattern);
    std::u16string positiveForm = ReduceCurrencyPattern(positive);
    std::u16string negativeForm =
        negative.empty() ? u"-" + positiveForm : ReduceCurrencyPattern(negative);
    return {PositiveOrder(positiveForm), NegativeOrder(negativeForm)};
}

DateConventions DateConventionsFromPattern(std::u16string_view pattern) {
    DateConventions out;
    std::vector<Token> tokens = Tokenize(pattern);
    size_t year = kNone, month = kNone, day = kNone;
    for (size_t i = 0; i < tokens.size(); ++i) {
        char16_t letter = tokens[i].letter;
        if (IsOneOf(letter, u"yYuUr") && year == kNone) year = i;
        if (IsOneOf(letter, u"ML") && month == kNone) month = i;
        if (letter == u'd' && day == kNone) day = i;
    }
    std::array<size_t, 3> fields = {year, month, day};
    std::sort(fields.begin(), fields.end());  // kNone sorts last
    if (fields[1] != kNone) {
        if (char16_t separator = SeparatorBetween(tokens, fields[0], fields[1]))
            out.separator = separator;
    }
    if (fields[2] == kNone) return out;

    out.order = year < month && year < day ? 2 : (day < month ? 1 : 0);
    out.yearPosition = int(std::find(fields.begin(), fields.end(), year) - fields.begin());
    out.yearSize = tokens[year].count == 2 ? 2 : 4;
    out.days2 = tokens[day].count == 2;
    out.months2 = tokens[month].count == 2;
    int monthType = tokens[month].count >= 4 ? 0 : (tokens[month].count == 3 ? 1 : 2);
    int yearType = out.yearSize == 2 ? 2 : 0;
    out.defaultDateFormat = (monthType << 3) | (yearType << 5) | (day < month ? 0x80 : 0);
    return out;
}

TimeConventions TimeConventionsFromPattern(std::u16string_view pattern) {
    TimeConventions out;
    std::vector<Token> tokens = Tokenize(pattern);
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (!IsOneOf(tokens[i].letter, u"hHkK")) continue;
        out.range = IsOneOf(tokens[i].letter, u"Hk") ? 24 : 12;
        size_t next = i + 1;
        while (next < tokens.size() && !tokens[next].letter)
            ++next;
        if (char16_t separator = SeparatorBetween(tokens, i, next)) out.separator = separator;
        break;
    }
    return out;
}

}  // namespace zmk::multilang
