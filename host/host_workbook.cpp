#include "host_workbook.h"

#include "events/events.h"
#include "formats/text_helpers.h"

namespace ostrel::host {

bool IsPlainSheetName(std::u16string_view name) {
    if (name.empty() || name.size() > 255) return false;
    for (char16_t c : name) {
        if (c < 0x20 || c == 0x7F) return false;
        switch (c) {
            case u'[':
            case u']':
            case u':':
            case u'!':
            case u'?':
            case u'*':
            case u'/':
            case u'\\':
                return false;
            default:
                break;
        }
    }
    return true;
}

HostWorkbook::HostWorkbook(std::string localeName) : m_locale(std::move(localeName)) {}

// Formulas reading another sheet listen to it; every sheet announces its end while all are
// still there, so that no formula is left holding a sheet that is gone. Then each is
// detached, so that none asks a neighbour already taken down.
HostWorkbook::~HostWorkbook() {
    for (auto& sheet : m_sheets)
        sheet->FireEvent(CCDestroySheetEvent());
    for (auto& sheet : m_sheets)
        sheet->SetWorkbook(nullptr);
    while (!m_sheets.empty())
        m_sheets.pop_back();
}

HostSheet* HostWorkbook::AddSheet(std::u16string_view name) {
    // Sheet references are 16-bit indices, of which those from 256 up name managers.
    if (!IsPlainSheetName(name) || IndexOf(name) != 0 || m_sheets.size() >= 255) return nullptr;
    m_sheets.push_back(std::make_unique<HostSheet>(m_locale, std::u16string(name)));
    m_sheets.back()->SetWorkbook(this);
    return m_sheets.back().get();
}

HostSheet* HostWorkbook::SheetAt(size_t index) const {
    return index >= 1 && index <= m_sheets.size() ? m_sheets[index - 1].get() : nullptr;
}

uint16_t HostWorkbook::IndexOf(std::u16string_view name) const {
    if (name.empty()) return 0;
    const std::u16string wanted(name);
    std::u16string own;
    for (size_t i = 0; i < m_sheets.size(); ++i) {
        m_sheets[i]->GetSheetName(own);
        if (StrColl(own.c_str(), wanted.c_str(), 0) == 0) return static_cast<uint16_t>(i + 1);
    }
    return 0;
}

void HostWorkbook::ReportProgress(const HostSheet& sheet) const {
    if (m_progress)
        m_progress(sheet, sheet.GetCurRecalcCount() + sheet.GetCurProcessCount(),
                   sheet.GetAllRecalcCount());
}

void HostWorkbook::RecalculateAll() {
    // DoIdle(1) empties a sheet's lists in one call and answers 0 even then, so whether a
    // sheet had work is read from its lists; a sheet that ran may have queued cells of an
    // earlier one, which the next pass finds.
    for (bool worked = true; worked;) {
        worked = false;
        for (auto& sheet : m_sheets) {
            if (sheet->GetCurRecalcCount() + sheet->GetCurProcessCount() == 0) continue;
            worked = true;
            while (sheet->DoIdle(1)) {
            }
            ReportProgress(*sheet);
        }
    }
}

}  // namespace ostrel::host
