// SPDX-License-Identifier: Apache-2.0
// The tokenizer of one format-code section: characters are read left to right into
// tokens. Nothing is refused: a character that means nothing is literal text, and an
// unmatched quote or bracket runs to the end of the section. Every step consumes at least
// one character and never reads past the end, so the work is linear in the text.
#include <algorithm>
#include <array>
#include <limits>

#include "formats/format_code_sections.h"
#include "ostrel/formats/number_format.h"

namespace format_code {

namespace {

constexpr std::array<std::u16string_view, 8> kColors = {u"BLACK", u"CYAN",  u"MAGENTA", u"WHITE",
                                                        u"BLUE",  u"GREEN", u"RED",     u"YELLOW"};

bool IsPlaceholder(char16_t c) {
    return c == u'#' || c == u'0' || c == u'?';
}

char16_t Upper(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

// Whether the text is one letter (either case) repeated, and not empty.
bool OnlyLetter(std::u16string_view text, char16_t upper) {
    if (text.empty()) return false;
    for (char16_t c : text)
        if (Upper(c) != upper) return false;
    return true;
}

class Tokenizer {
public:
    explicit Tokenizer(TokenList& tokens) : m_tokens(tokens) {}

    unsigned char Read(std::u16string_view text) {
        size_t i = 0;
        while (i < text.size())
            i = Step(text, i);
        return m_category;
    }

private:
    template <class T, class... Args>
    void Add(Args&&... args) {
        m_tokens.push_back(std::make_unique<T>(std::forward<Args>(args)...));
    }
    void AddText(std::u16string_view text) {
        if (!text.empty()) Add<CFormatTextSection>(text);
    }

    // Reads the token at text[i]; returns where the next one starts.
    size_t Step(std::u16string_view text, size_t i) {
        const char16_t c = text[i];
        switch (c) {
            case u'"': {
                size_t close = text.find(u'"', i + 1);
                if (close == std::u16string_view::npos) close = text.size();
                AddText(text.substr(i + 1, close - i - 1));
                return close + 1;
            }
            case u'#':
            case u'0':
            case u'?':
                AddDigit(c);
                return i + 1;
            case u'.':
                if (m_beforePoint && m_category != C_NF_DATE) {
                    Add<CCommaSection>(c);
                    m_beforePoint = false;
                } else {
                    AddText(u".");
                }
                return i + 1;
            case u',':
                // Grouping or a literal comma: the finished section decides.
                Add<CDigitGroupingSection>();
                return i + 1;
            case u'%':
                m_category = C_NF_PERCENT;
                AddText(u"%");
                return i + 1;
            case u'/':
                // Among digits a slash makes a fraction; anywhere else (between the parts
                // of a date) it is text.
                if (FollowsDigit()) {
                    Add<CFormatFractionSection>();
                    m_category = C_NF_FRACTION;
                    m_afterSlash = true;
                } else {
                    AddText(u"/");
                }
                return i + 1;
            case u'y':
            case u'Y':
                Add<CYearSection>();
                m_category = C_NF_DATE;
                return i + 1;
            case u'd':
            case u'D':
                Add<CDaySection>();
                m_category = C_NF_DATE;
                return i + 1;
            case u'm':
            case u'M':
                Add<CMonthSection>();
                m_category = C_NF_DATE;
                return i + 1;
            case u'h':
            case u'H':
                Add<CHourSection>(1, false);
                m_category = C_NF_TIME;
                return i + 1;
            case u's':
            case u'S':
                Add<CSecondsSection>(1, false);
                m_category = C_NF_TIME;
                return i + 1;
            case u'A':
                if (text.substr(i).starts_with(u"AM/PM")) {
                    Add<CAMPMSection>();
                    return i + 5;
                }
                AddText(text.substr(i, 1));
                return i + 1;
            case u'E':
            case u'e':
                return ReadExponent(text, i);
            case u'[': {
                size_t close = text.find(u']', i + 1);
                if (close == std::u16string_view::npos) close = text.size();
                ReadBracket(text.substr(i + 1, close - i - 1));
                return close + 1;
            }
            case u'\\':
                if (i + 1 < text.size()) AddText(text.substr(i + 1, 1));
                return i + 2;
            case u'_':
                if (i + 1 < text.size()) Add<CSpaceSection>(text[i + 1]);
                return i + 2;
            case u'*':  // a fill character: not shown
                return i + 2;
            default:
                if (c >= u'1' && c <= u'9' && m_afterSlash) return ReadDenominator(text, i);
                AddText(text.substr(i, 1));
                return i + 1;
        }
    }

    void AddDigit(char16_t c) {
        int index = c == u'#' ? 0 : c == u'0' ? 1 : 2;
        if (m_beforePoint) {
            if (index == 0) Add<CLSignificantDigitSection>();
            if (index == 1) Add<CLInSignificantDigitSection>();
            if (index == 2) Add<CLInSignificantSpaceDigitSection>();
        } else {
            if (index == 0) Add<CRSignificantDigitSection>();
            if (index == 1) Add<CRInSignificantDigitSection>();
            if (index == 2) Add<CRInSignificantSpaceDigitSection>();
        }
        m_afterSlash = false;
    }

    // Whether the last token that is not text, room, a colour or a comma is a digit.
    bool FollowsDigit() const {
        for (auto it = m_tokens.rbegin(); it != m_tokens.rend(); ++it) {
            int type = (*it)->TypeId();
            if (type == kText || type == kSpace || type == kColor || type == kDigitGrouping)
                continue;
            return IsDigit(type);
        }
        return false;
    }

    size_t ReadDenominator(std::u16string_view text, size_t i) {
        constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
        int64_t denominator = 0;
        for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
            int digit = text[i] - u'0';
            denominator = denominator > (kMax - digit) / 10 ? kMax : denominator * 10 + digit;
        }
        Add<CHardRFraction>(denominator);
        m_afterSlash = false;
        return i;
    }

    // "E+" or "E-" before placeholders is scientific notation; any other E is text.
    size_t ReadExponent(std::u16string_view text, size_t i) {
        size_t digits = i + 2;
        if (digits >= text.size() || (text[i + 1] != u'+' && text[i + 1] != u'-') ||
            !IsPlaceholder(text[digits])) {
            AddText(text.substr(i, 1));
            return i + 1;
        }
        size_t end = digits;
        while (end < text.size() && IsPlaceholder(text[end]))
            ++end;
        int count = static_cast<int>(std::min<size_t>(end - digits, kMaxCount));
        Add<CExponentSection>(text[i], text[i + 1] == u'+', count);
        m_category = C_NF_SCIENTIFIC;
        return end;
    }

    void ReadBracket(std::u16string_view content) {
        std::u16string upper;
        bool space = false;
        for (char16_t c : content) {
            upper.push_back(Upper(c));
            space = space || c == u' ';
        }
        if (!space) {
            for (std::u16string_view color : kColors) {
                if (upper == color) {
                    Add<CFormatColorSection>(color);
                    return;
                }
            }
        }
        int count = static_cast<int>(std::min<size_t>(content.size(), kMaxCount));
        if (OnlyLetter(content, u'H')) {
            Add<CHourSection>(count, true);
            m_category = C_NF_TIME;
        } else if (OnlyLetter(content, u'M')) {
            Add<CMinutesSection>(count, true);
            m_category = C_NF_TIME;
        } else if (OnlyLetter(content, u'S')) {
            Add<CSecondsSection>(count, true);
            m_category = C_NF_TIME;
        } else if (content.starts_with(u'$')) {
            // A currency symbol, and a locale after the dash that is not shown.
            std::u16string_view symbol = content.substr(1);
            AddText(symbol.substr(0, symbol.find(u'-')));
        }
        // Anything else in brackets (conditions, colour numbers) is not shown.
    }

    TokenList& m_tokens;
    unsigned char m_category = 0;
    bool m_beforePoint = true;
    bool m_afterSlash = false;
};

}  // namespace

unsigned char Tokenize(std::u16string_view text, TokenList& tokens) {
    return Tokenizer(tokens).Read(text);
}

}  // namespace format_code
