// SPDX-License-Identifier: Apache-2.0
#include "facade/host_workbook.h"

#include <algorithm>

#include "formats/text_helpers.h"
#include "ostrel/events/events.h"
#include "ostrel/refs/remote_ref.h"

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
    // Other documents no longer reach a workbook that is going.
    LeaveDocuments();
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

CCSheet* HostWorkbook::GetSheet(std::u16string_view name) {
    return SheetAt(IndexOf(CCRemoteRef::SheetName(name)));
}

int HostWorkbook::IsValidSheetName(std::u16string_view name) {
    return IndexOf(CCRemoteRef::SheetName(name)) != 0 ? 1 : 0;
}

int HostWorkbook::HasManager(CCCellManager* manager) {
    for (const auto& sheet : m_sheets)
        if (sheet.get() == manager) return 1;
    return 0;
}

bool HostWorkbook::RenameSheet(size_t index, std::u16string_view newName) {
    HostSheet* sheet = SheetAt(index);
    if (!sheet || !IsPlainSheetName(newName)) return false;
    uint16_t other = IndexOf(newName);
    if (other != 0 && other != index) return false;
    std::u16string oldName;
    sheet->GetSheetName(oldName);
    sheet->SetName(std::u16string(newName));
    const std::u16string renamed(newName);
    // Formula nodes that name the sheet hear of it first and take the new name; then the
    // links the sheet items keep, and the stored text of the formulas that name it.
    sheet->FireEvent(CCSheetRenameEvent(oldName, renamed));
    UpdateAllOnRename(oldName, renamed);
    sheet->OnRename(renamed);
    return true;
}

bool HostWorkbook::JoinDocuments(const std::shared_ptr<DocumentHub>& documents,
                                 std::u16string_view name) {
    if (!documents || (m_documents && m_documents != documents)) return false;
    if (m_documents) return m_documentName == name;  // here already: only under that name
    if (!documents->Add(name, this)) return false;
    m_documents = documents;
    m_documentName = name;
    return true;
}

void HostWorkbook::LeaveDocuments() {
    if (!m_documents) return;
    m_documents->Remove(DocumentHub::Document(this));
    m_documents.reset();
    m_documentName.clear();
}

bool HostWorkbook::SetProperty(std::u16string_view key, std::u16string_view value) {
    const std::u16string before = m_properties.Get(key);
    if (!m_properties.Set(key, value)) return false;
    if (m_properties.Get(key) != before)
        for (auto& sheet : m_sheets)
            sheet->RecalcDocumentItems(DocumentProperties::ItemOf(key));
    return true;
}

size_t HostWorkbook::Remaining() const {
    size_t remaining = GetCalcCache().GetDirtyCount();
    for (const auto& sheet : m_sheets)
        remaining += sheet->GetCurRecalcCount() + sheet->GetCurProcessCount();
    return remaining;
}

void HostWorkbook::NotifyProgress() {
    if (!m_progress) return;
    size_t remaining = Remaining();
    m_progressTotal = std::max(m_progressTotal, remaining);
    m_progress(remaining, m_progressTotal);
}

void HostWorkbook::ReportProgress() {
    NotifyProgress();
    if (!m_stopped && m_cancelled && m_cancelled()) {
        m_stopped = true;
        GetCalcCache().RequestStop();
    }
}

bool HostWorkbook::RecalculateAll() {
    if (m_sheets.empty()) return true;
    m_progressTotal = Remaining();
    m_stopped = false;
    // Each pass empties the shared order and every sheet's lists; a sheet's requests to
    // others can give work back, which the next pass takes. Cells that keep marking each
    // other cannot hold the host forever.
    for (int pass = 0; pass < 64 && Remaining() != 0 && !m_stopped; ++pass) {
        for (auto& sheet : m_sheets)
            while (!m_stopped && sheet->DoIdle(1)) {
            }
    }
    if (m_stopped) return false;
    NotifyProgress();
    return true;
}

}  // namespace ostrel::host
