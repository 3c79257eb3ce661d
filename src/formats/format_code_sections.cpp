// SPDX-License-Identifier: Apache-2.0
// The passes over a freshly read section: commas become grouping or text, adjacent tokens
// of one type merge, an "m" beside hours or seconds becomes minutes, the digits around a
// fraction's slash become its numerator and denominator, and what rendering must prepare
// is measured once.
#include <algorithm>

#include "formats/format_code_clock.h"
#include "formats/format_code_sections.h"
#include "ostrel/formats/number_format.h"

using namespace format_code;

namespace {

// The count of a token that has one, 0 for any other.
int CountOf(const CFormatSection& token) {
    const auto* counted = dynamic_cast<const CCountSection*>(&token);
    return counted ? counted->Count() : 0;
}

// The nearest token before or after index i that prints part of the value (the types
// below kText); null when there is none.
const CFormatSection* ValueTokenBefore(const TokenList& tokens, size_t i) {
    while (i > 0) {
        --i;
        if (tokens[i]->TypeId() < kText) return tokens[i].get();
    }
    return nullptr;
}

const CFormatSection* ValueTokenAfter(const TokenList& tokens, size_t i) {
    for (++i; i < tokens.size(); ++i)
        if (tokens[i]->TypeId() < kText) return tokens[i].get();
    return nullptr;
}

}  // namespace

CFormatSectionList::CFormatSectionList(std::u16string_view text) {
    m_category = Tokenize(text, m_tokens);
    Finish();
}

void CFormatSectionList::Finish() {
    ResolveCommas();
    MergeAdjacent();
    ReadMinutes();
    MarkFraction();
    MeasureLayout();
}

// In a date or a time a comma is text; elsewhere any comma groups the integer digits,
// which one grouping token at the front of the list says.
void CFormatSectionList::ResolveCommas() {
    bool dateOrTime = std::any_of(m_tokens.begin(), m_tokens.end(),
                                  [](const auto& t) { return IsDateOrTime(t->TypeId()); });
    bool grouping = false;
    TokenList kept;
    kept.reserve(m_tokens.size() + 1);
    for (auto& token : m_tokens) {
        if (token->TypeId() != kDigitGrouping) {
            kept.push_back(std::move(token));
        } else if (dateOrTime) {
            kept.push_back(std::make_unique<CFormatTextSection>(u","));
        } else {
            grouping = true;
        }
    }
    if (grouping) kept.insert(kept.begin(), std::make_unique<CDigitGroupingSection>());
    m_tokens = std::move(kept);
}

void CFormatSectionList::MergeAdjacent() {
    TokenList merged;
    merged.reserve(m_tokens.size());
    for (auto& token : m_tokens) {
        if (merged.empty() || !merged.back()->Absorb(*token)) merged.push_back(std::move(token));
    }
    m_tokens = std::move(merged);
}

// "m" is a month unless it follows hours or comes before seconds, with nothing but text
// and the like between; AM/PM puts every hour on the 12-hour clock.
void CFormatSectionList::ReadMinutes() {
    bool amPm = false;
    for (size_t i = 0; i < m_tokens.size(); ++i) {
        int type = m_tokens[i]->TypeId();
        amPm = amPm || type == kAmPm;
        if (type != kMonth) continue;
        const CFormatSection* before = ValueTokenBefore(m_tokens, i);
        const CFormatSection* after = ValueTokenAfter(m_tokens, i);
        if ((before && before->TypeId() == kHour) || (after && after->TypeId() == kSeconds))
            m_tokens[i] = std::make_unique<CMinutesSection>(CountOf(*m_tokens[i]), false);
    }
    if (!amPm) return;
    for (auto& token : m_tokens) {
        if (token->TypeId() != kHour) continue;
        const auto& hour = static_cast<const CHourSection&>(*token);
        token = std::make_unique<CHourSection>(hour.Count(), hour.IsElapsed(), true);
    }
}

// The digits just before the first slash count the numerator, the first digits after it
// the denominator, unless the code writes the denominator out.
void CFormatSectionList::MarkFraction() {
    auto slash = std::find_if(m_tokens.begin(), m_tokens.end(),
                              [](const auto& t) { return t->TypeId() == kSlash; });
    if (slash == m_tokens.end()) return;
    for (auto it = slash; it != m_tokens.begin();) {
        --it;
        if (IsDigit((*it)->TypeId())) {
            *it = std::make_unique<CLFractionSection>(CountOf(**it));
            break;
        }
    }
    for (auto it = slash + 1; it != m_tokens.end(); ++it) {
        int type = (*it)->TypeId();
        if (type == kFixedDenominator) break;
        if (IsDigit(type)) {
            *it = std::make_unique<CRFractionSection>(CountOf(**it));
            break;
        }
    }
}

void CFormatSectionList::MeasureLayout() {
    Layout& l = m_layout;
    bool hash = false;
    bool seconds = false;
    int numeratorCount = 0, denominatorCount = 0;
    for (const auto& token : m_tokens) {
        int type = token->TypeId();
        int count = CountOf(*token);
        if (IsIntegerDigit(type)) {
            l.integerPlaceholders = std::min(l.integerPlaceholders + count, kMaxCount);
            hash = hash || type == kIntegerHash;
        } else if (IsFractionDigit(type)) {
            l.fractionPlaceholders = std::min(l.fractionPlaceholders + count, kMaxCount);
        } else if (type == kYear || type == kMonth || type == kDay) {
            l.date = true;
            l.weekday = l.weekday || (type == kDay && count >= 3);
        } else if (type >= kHour && type <= kAmPm) {
            l.clock = true;
            seconds = seconds || type == kSeconds;
        } else if (type == kDecimalPoint && seconds) {
            l.secondFraction = true;
        } else if (type == kNumerator) {
            l.fraction = true;
            numeratorCount = count;
        } else if (type == kDenominator) {
            denominatorCount = count;
        } else if (type == kFixedDenominator && l.fixedDenominator == 0) {
            l.fixedDenominator = static_cast<const CHardRFraction&>(*token).Denominator();
        } else if (type == kExponent) {
            l.scientific = true;
        }
    }
    l.grouping = !m_tokens.empty() && m_tokens.front()->TypeId() == kDigitGrouping;
    l.digits = l.integerPlaceholders > 0 || l.fractionPlaceholders > 0 || l.scientific;
    if (l.secondFraction) l.secondDigits = std::min(l.fractionPlaceholders, kMaxSecondDigits);
    l.wholeNumerator = l.fraction && l.integerPlaceholders == 0;
    // Up to 9 digits of denominator; without denominator placeholders, those of the
    // numerator.
    int digits = std::clamp(denominatorCount > 0 ? denominatorCount : numeratorCount, 1, 9);
    int64_t limit = 1;
    for (int i = 0; i < digits; ++i)
        limit *= 10;
    l.maxDenominator = limit - 1;
    l.engineering = l.scientific && hash && l.integerPlaceholders > 1;
    l.floorInteger = (m_category == C_NF_FRACTION || l.fraction) && l.fractionPlaceholders == 0;
}
