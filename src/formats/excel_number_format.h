// SPDX-License-Identifier: Apache-2.0
// A custom number format code ("#,##0.00;[Red](#,##0.00)") parsed once into its positive,
// negative and zero sections, each a list of tokens that render a value. A parsed code is
// immutable and shared through the format-code cache by every number format that uses it.
//
// Limits: a code is read up to its first kMaxCodeLength characters (the longest text the
// engine's streams write), so that parsing and rendering stay linear in a bounded text;
// what follows is ignored.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "formats/format_code_cache.h"
#include "formats/format_code_sections.h"

class CExcelNumberFormat : public CParsedFormatCode {
public:
    static constexpr size_t kMaxCodeLength = 4096;

    // Whether a host may set the code on a cell: not empty, and not cut by the length
    // limit.
    static bool IsUsable(std::u16string_view code) {
        return !code.empty() && code.size() <= kMaxCodeLength;
    }

    CExcelNumberFormat() = default;
    CExcelNumberFormat(const CExcelNumberFormat&) = delete;
    CExcelNumberFormat& operator=(const CExcelNumberFormat&) = delete;

    // Cuts the code at every ";" (quotes do not protect one) into four parts and parses
    // the first three: an empty negative part reads as "-" and the positive part, an empty
    // zero part as the positive part. The fourth part is kept unparsed.
    virtual void Parse(std::u16string_view code);

    unsigned char Category() const override { return m_category; }
    // Zero takes the zero section, a negative value the negative one, anything else the
    // positive one; a value that is not a finite number shows the text of error 3.
    void Render(cells::LCTX* lctx, double value, CWideOutStream& out) const override;

    std::u16string_view Part(size_t index) const {
        return index < m_parts.size() ? std::u16string_view(m_parts[index]) : u"";
    }
    // 0 positive, 1 negative, 2 zero; null before Parse.
    const CFormatSectionList* Section(size_t index) const {
        return index < m_sections.size() ? m_sections[index].get() : nullptr;
    }

private:
    unsigned char m_category = 0;
    std::array<std::u16string, 4> m_parts;
    std::array<std::unique_ptr<CFormatSectionList>, 3> m_sections;
};

// The engine's format-code parser, as the cache installs it.
std::unique_ptr<CParsedFormatCode> ParseExcelNumberFormat(std::u16string_view code);
