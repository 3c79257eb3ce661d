// SPDX-License-Identifier: Apache-2.0
// Merging and rendering of the tokens that print digits, fractions, exponents and literal
// text. The date and clock tokens are in format_code_tokens_time.cpp.
#include <algorithm>

#include "formats/format_code_tokens.h"
#include "formats/format_code_write.h"

using format_code::RenderState;

namespace {

// Integer placeholders take the integer digits from the left; the first one also takes
// every digit beyond the placeholders, so that no digit of the value is lost.
void RenderIntegerDigits(RenderState& s, int count, char placeholder) {
    int take = count;
    if (s.firstIntegerToken) {
        s.firstIntegerToken = false;
        take += std::max(0, s.integer.length - s.integerPlaceholders);
    }
    int end = std::min(s.integer.length, s.integerPos + take);
    for (; s.integerPos < end; ++s.integerPos) {
        char digit = s.integer.At(s.integerPos);
        if (digit == '0' && !s.significantSeen && placeholder != '0') {
            if (placeholder == '?') s.out << u' ';
            continue;
        }
        // Separators stand between written digits only, every three places from the right.
        if (s.grouping && s.digitWritten && (s.integer.length - s.integerPos) % 3 == 0)
            s.out << s.locale.numberGroupSeparartor();
        s.out << static_cast<char16_t>(digit);
        s.digitWritten = true;
        if (digit != '0') s.significantSeen = true;
    }
}

void RenderFractionDigits(RenderState& s, int count, char16_t pad) {
    for (int i = 0; i < count; ++i) {
        if (s.fractionPos < s.fraction.length)
            s.out << static_cast<char16_t>(s.fraction.At(s.fractionPos++));
        else if (pad != 0)
            s.out << pad;
    }
}

}  // namespace

bool CFormatSection::Absorb(const CFormatSection&) {
    return false;
}

bool CCountSection::Absorb(const CFormatSection& next) {
    if (next.TypeId() != TypeId()) return false;
    const auto& other = static_cast<const CCountSection&>(next);
    m_count = std::min(m_count + other.m_count, format_code::kMaxCount);
    return true;
}

void CLSignificantDigitSection::Render(RenderState& s) const {
    RenderIntegerDigits(s, m_count, '#');
}

void CLInSignificantDigitSection::Render(RenderState& s) const {
    RenderIntegerDigits(s, m_count, '0');
}

void CLInSignificantSpaceDigitSection::Render(RenderState& s) const {
    RenderIntegerDigits(s, m_count, '?');
}

void CRSignificantDigitSection::Render(RenderState& s) const {
    RenderFractionDigits(s, m_count, 0);
}

void CRInSignificantDigitSection::Render(RenderState& s) const {
    RenderFractionDigits(s, m_count, u'0');
}

void CRInSignificantSpaceDigitSection::Render(RenderState& s) const {
    RenderFractionDigits(s, m_count, u' ');
}

void CFormatTextSection::Render(RenderState& s) const {
    s.out << m_text;
}

bool CFormatTextSection::Absorb(const CFormatSection& next) {
    if (next.TypeId() != format_code::kText) return false;
    m_text += static_cast<const CFormatTextSection&>(next).m_text;
    return true;
}

bool CFormatColorSection::Absorb(const CFormatSection& next) {
    if (next.TypeId() != format_code::kColor) return false;
    m_name = static_cast<const CFormatColorSection&>(next).m_name;
    return true;
}

void CSpaceSection::Render(RenderState& s) const {
    s.out << u' ';
}

void CCommaSection::Render(RenderState& s) const {
    s.out << s.locale.numberDeciamalSeparartor();
}

void CFormatFractionSection::Render(RenderState& s) const {
    s.out << u'/';
}

void CLFractionSection::Render(RenderState& s) const {
    format_code::WriteInteger(s.out, s.numerator);
}

void CRFractionSection::Render(RenderState& s) const {
    format_code::WriteInteger(s.out, s.denominator);
}

void CHardRFraction::Render(RenderState& s) const {
    format_code::WriteInteger(s.out, m_denominator);
}

void CExponentSection::Render(RenderState& s) const {
    s.out << m_letter;
    if (s.exponent < 0)
        s.out << u'-';
    else if (m_plus)
        s.out << u'+';
    format_code::WriteInteger(s.out, s.exponent < 0 ? -int64_t(s.exponent) : s.exponent, m_count);
}
