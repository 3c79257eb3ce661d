// SPDX-License-Identifier: Apache-2.0
// One section of a format code (positive, negative or zero): its tokens in order, the
// category they give (plain, percent, fraction, scientific, time, date), and what the
// passes over the finished list found out, so that rendering a value prepares only the
// parts the section shows.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "formats/digit_engine.h"
#include "formats/format_code_tokens.h"

namespace format_code {

using TokenList = std::vector<std::unique_ptr<CFormatSection>>;

// Reads the text of one section into tokens, left to right (format_code_parse.cpp);
// returns the category the tokens set, the last setting winning.
unsigned char Tokenize(std::u16string_view text, TokenList& tokens);

}  // namespace format_code

class CFormatSectionList {
public:
    // Reads the text of one section into tokens and finishes the list.
    explicit CFormatSectionList(std::u16string_view text);
    CFormatSectionList(const CFormatSectionList&) = delete;
    CFormatSectionList& operator=(const CFormatSectionList&) = delete;

    unsigned char Category() const { return m_category; }
    size_t Size() const { return m_tokens.size(); }
    const CFormatSection& At(size_t index) const { return *m_tokens[index]; }

    // Appends the text of the value (non-negative unless the section is the negative one,
    // whose text already says so; finite).
    void Render(const zmk::multilang::CLegacyLocaleContext& locale, double value,
                ostrel::platform::CWideOutStream& out) const;

private:
    // What rendering needs to prepare, found once after parsing.
    struct Layout {
        int integerPlaceholders = 0;   // "#", "0" and "?" before the point
        int fractionPlaceholders = 0;  // after it
        bool digits = false;
        bool grouping = false;
        bool floorInteger = false;    // a fraction shows the rest: the integer never rounds up
        bool date = false;            // year, month or day
        bool weekday = false;         // a weekday's name
        bool clock = false;           // hour, minute, second or AM/PM
        bool secondFraction = false;  // the point follows seconds: its digits split them
        int secondDigits = 0;
        bool fraction = false;        // a numerator
        bool wholeNumerator = false;  // no integer digits: the numerator carries the whole
        int64_t fixedDenominator = 0;
        int64_t maxDenominator = 9;
        bool scientific = false;
        bool engineering = false;  // exponents in steps of the integer placeholders
    };

    void Finish();
    void ResolveCommas();
    void MergeAdjacent();
    void ReadMinutes();
    void MarkFraction();
    void MeasureLayout();

    void PrepareDigits(format_code::RenderState& state, double magnitude, char* integer,
                       char* fraction, ostrel::digits::DigitBuffer& buffer) const;
    void PrepareScientific(format_code::RenderState& state, double magnitude,
                           ostrel::digits::DigitBuffer& buffer) const;
    void PrepareClock(format_code::RenderState& state, double magnitude, char* fraction) const;
    void PrepareFraction(format_code::RenderState& state, double magnitude) const;

    format_code::TokenList m_tokens;
    unsigned char m_category = 0;
    Layout m_layout;
};
