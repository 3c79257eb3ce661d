// SPDX-License-Identifier: Apache-2.0
#include "formats/excel_number_format.h"

#include <cmath>

#include "formats/number_format_locale.h"
#include "ostrel/platform/resources.h"

namespace {

// Resource text of error code 3: a value that is not a finite number.
constexpr unsigned kNotANumberText = 13381 + 3;

}  // namespace

void CExcelNumberFormat::Parse(std::u16string_view code) {
    code = code.substr(0, std::min(code.size(), kMaxCodeLength));
    for (auto& part : m_parts)
        part.clear();
    size_t start = 0;
    for (size_t index = 0; index < m_parts.size() && start <= code.size(); ++index) {
        size_t end = code.find(u';', start);
        if (end == std::u16string_view::npos) end = code.size();
        m_parts[index] = code.substr(start, end - start);
        start = end + 1;
    }
    m_sections[0] = std::make_unique<CFormatSectionList>(m_parts[0]);
    m_sections[1] =
        std::make_unique<CFormatSectionList>(m_parts[1].empty() ? u"-" + m_parts[0] : m_parts[1]);
    m_sections[2] =
        std::make_unique<CFormatSectionList>(m_parts[2].empty() ? m_parts[0] : m_parts[2]);
    m_category = m_sections[0]->Category();
}

void CExcelNumberFormat::Render(cells::LCTX* lctx, double value, CWideOutStream& out) const {
    if (!std::isfinite(value)) {
        out << ostrel::LoadResourceString(kNotANumberText);
        return;
    }
    size_t index = value == 0 ? 2 : value < 0 ? 1 : 0;
    if (const CFormatSectionList* section = m_sections[index].get())
        section->Render(number_format_detail::LocaleOf(lctx), value, out);
}

std::unique_ptr<CParsedFormatCode> ParseExcelNumberFormat(std::u16string_view code) {
    auto parsed = std::make_unique<CExcelNumberFormat>();
    parsed->Parse(code);
    return parsed;
}
