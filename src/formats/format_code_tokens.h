// SPDX-License-Identifier: Apache-2.0
// The tokens a format-code section is made of. Each stands for one piece of the display
// text (a run of digit placeholders, a date or clock part, a literal) and writes it into
// the render state; adjacent tokens of one type merge into one while the code is parsed.
// Tokens are immutable once their section is finished.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "formats/format_code_render_state.h"

namespace format_code {

// Type ids: what a token is, for merging and for the passes over a finished section.
enum TokenType : int {
    kIntegerHash = 0,    // "#" before the decimal point
    kIntegerZero = 1,    // "0"
    kIntegerSpace = 2,   // "?"
    kFractionHash = 10,  // the same after the point
    kFractionZero = 11,
    kFractionSpace = 12,
    kYear = 20,
    kDay = 21,
    kMonth = 22,
    kHour = 23,
    kMinutes = 24,
    kSeconds = 25,
    kAmPm = 26,
    kText = 36,  // an "m" looking for hours or seconds beside it skips these types
    kColor = 37,
    kSpace = 38,
    kDecimalPoint = 39,
    kDigitGrouping = 40,
    kSlash = 41,
    kNumerator = 42,
    kDenominator = 43,
    kFixedDenominator = 44,
    kExponent = 45,
};

inline bool IsIntegerDigit(int type) {
    return type >= kIntegerHash && type <= kIntegerSpace;
}
inline bool IsFractionDigit(int type) {
    return type >= kFractionHash && type <= kFractionSpace;
}
inline bool IsDigit(int type) {
    return IsIntegerDigit(type) || IsFractionDigit(type);
}
inline bool IsDateOrTime(int type) {
    return type >= kYear && type <= kAmPm;
}

// Counts beyond this are cut: no code is that long.
constexpr int kMaxCount = 1 << 20;

}  // namespace format_code

class CFormatSection {
public:
    virtual void Render(format_code::RenderState& state) const = 0;
    virtual int TypeId() const = 0;
    // Merges the token that follows into this one; false when they stay two tokens.
    virtual bool Absorb(const CFormatSection& next);
    virtual ~CFormatSection() = default;
};

// A token that stands for `count` placeholders or letters; tokens of one type add up.
class CCountSection : public CFormatSection {
public:
    explicit CCountSection(int count = 1) : m_count(count) {}
    bool Absorb(const CFormatSection& next) override;
    int Count() const { return m_count; }

protected:
    int m_count;
};

class CTimeSection : public CCountSection {
public:
    CTimeSection(int count, bool elapsed) : CCountSection(count), m_elapsed(elapsed) {}
    bool IsElapsed() const { return m_elapsed; }

protected:
    bool m_elapsed;
};

// Integer placeholders: "#" drops leading zeros, "?" writes a space for each, "0" writes
// them.
class CLSignificantDigitSection final : public CCountSection {
public:
    using CCountSection::CCountSection;
    void Render(format_code::RenderState& state) const override;
    int TypeId() const override { return format_code::kIntegerHash; }
};

class CLInSignificantDigitSection final : public CCountSection {
public:
    using CCountSection::CCountSection;
    void Render(format_code::RenderState& state) const override;
    int TypeId() const override { return format_code::kIntegerZero; }
};

class CLInSignificantSpaceDigitSection final : public CCountSection {
public:
    using CCountSection::CCountSection;
    void Render(format_code::RenderState& state) const override;
    int TypeId() const override { return format_code::kIntegerSpace; }
};

// Fraction placeholders: a shortfall of digits is padded with nothing, "0" or a space.
class CRSignificantDigitSection final : public CCountSection {
public:
    using CCountSection::CCountSection;
    void Render(format_code::RenderState& state) const override;
    int TypeId() const override { return format_code::kFractionHash; }
};

class CRInSignificantDigitSection final : public CCountSection {
public:
    using CCountSection::CCountSection;
    void Render(format_code::RenderState& state) const override;
    int TypeId() const override { return format_code::kFractionZero; }
};

class CRInSignificantSpaceDigitSection final : public CCountSection {
public:
    using CCountSection::CCountSection;
    void Render(format_code::RenderState& state) const override;
    int TypeId() const override { return format_code::kFractionSpace; }
};

class CYearSection final : public CCountSection {
public:
    using CCountSection::CCountSection;
    void Render(format_code::RenderState& state) const override;
    int TypeId() const override { return format_code::kYear; }
};

// d, dd: the day of the month; ddd, dddd: the weekday's name.
class CDaySection final : public CCountSection {
public:
    using CCountSection::CCountSection;
    void Render(format_code::RenderState& state) const override;
    int TypeId() const override { return format_code::kDay; }
};

// m, mm: the month's number; mmm its short name, mmmm and longer its long name.
class CMonthSection final : public CCountSection {
public:
    using CCountSection::CCountSection;
    void Render(format_code::RenderState& state) const override;
    int TypeId() const override { return format_code::kMonth; }
};

class CHourSection final : public CTimeSection {
public:
    CHourSection(int count, bool elapsed, bool twelveHour = false)
        : CTimeSection(count, elapsed), m_twelveHour(twelveHour) {}
    void Render(format_code::RenderState& state) const override;
    int TypeId() const override { return format_code::kHour; }
    bool IsTwelveHour() const { return m_twelveHour; }

private:
    bool m_twelveHour;
};

class CMinutesSection final : public CTimeSection {
public:
    using CTimeSection::CTimeSection;
    void Render(format_code::RenderState& state) const override;
    int TypeId() const override { return format_code::kMinutes; }
};

class CSecondsSection final : public CTimeSection {
public:
    using CTimeSection::CTimeSection;
    void Render(format_code::RenderState& state) const override;
    int TypeId() const override { return format_code::kSeconds; }
};

class CAMPMSection final : public CFormatSection {
public:
    void Render(format_code::RenderState& state) const override;
    int TypeId() const override { return format_code::kAmPm; }
};

class CFormatTextSection final : public CFormatSection {
public:
    explicit CFormatTextSection(std::u16string_view text) : m_text(text) {}
    void Render(format_code::RenderState& state) const override;
    int TypeId() const override { return format_code::kText; }
    bool Absorb(const CFormatSection& next) override;
    const std::u16string& Text() const { return m_text; }

private:
    std::u16string m_text;
};

// A colour for the display; it prints nothing.
class CFormatColorSection final : public CFormatSection {
public:
    explicit CFormatColorSection(std::u16string_view name) : m_name(name) {}
    void Render(format_code::RenderState&) const override {}
    int TypeId() const override { return format_code::kColor; }
    bool Absorb(const CFormatSection& next) override;
    const std::u16string& Name() const { return m_name; }

private:
    std::u16string m_name;
};

// "_x": room as wide as x, shown as one space.
class CSpaceSection final : public CFormatSection {
public:
    explicit CSpaceSection(char16_t c) : m_char(c) {}
    void Render(format_code::RenderState& state) const override;
    int TypeId() const override { return format_code::kSpace; }
    char16_t Char() const { return m_char; }

private:
    char16_t m_char;
};

// The decimal point, shown as the locale's decimal separator.
class CCommaSection final : public CFormatSection {
public:
    explicit CCommaSection(char16_t c = u'.') : m_char(c) {}
    void Render(format_code::RenderState& state) const override;
    int TypeId() const override { return format_code::kDecimalPoint; }
    char16_t Char() const { return m_char; }

private:
    char16_t m_char;
};

// Thousands grouping of the integer digits; it prints nothing itself.
class CDigitGroupingSection final : public CFormatSection {
public:
    void Render(format_code::RenderState&) const override {}
    int TypeId() const override { return format_code::kDigitGrouping; }
};

class CFormatFractionSection final : public CFormatSection {
public:
    void Render(format_code::RenderState& state) const override;
    int TypeId() const override { return format_code::kSlash; }
};

class CLFractionSection final : public CCountSection {
public:
    using CCountSection::CCountSection;
    void Render(format_code::RenderState& state) const override;
    int TypeId() const override { return format_code::kNumerator; }
};

class CRFractionSection final : public CCountSection {
public:
    using CCountSection::CCountSection;
    void Render(format_code::RenderState& state) const override;
    int TypeId() const override { return format_code::kDenominator; }
};

// A denominator written in the code ("# ?/8").
class CHardRFraction final : public CFormatSection {
public:
    explicit CHardRFraction(int64_t denominator) : m_denominator(denominator) {}
    void Render(format_code::RenderState& state) const override;
    int TypeId() const override { return format_code::kFixedDenominator; }
    int64_t Denominator() const { return m_denominator; }

private:
    int64_t m_denominator;
};

// "E+00", "e-0": the power of ten of scientific notation, with its letter as written, a
// sign ("+" shows both signs, "-" only the minus) and at least `count` digits.
class CExponentSection final : public CCountSection {
public:
    CExponentSection(char16_t letter, bool plus, int count)
        : CCountSection(count), m_letter(letter), m_plus(plus) {}
    void Render(format_code::RenderState& state) const override;
    int TypeId() const override { return format_code::kExponent; }
    bool Absorb(const CFormatSection&) override { return false; }

private:
    char16_t m_letter;
    bool m_plus;
};
