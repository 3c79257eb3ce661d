// SPDX-License-Identifier: Apache-2.0
// A workbook of the reference host: named sheets in order, each a HostSheet that reaches
// its neighbours through the workbook, so that formulas such as =Sheet2!A1*2 read and
// follow cells of other sheets.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "facade/document_hub.h"
#include "facade/document_properties.h"
#include "facade/host_sheet.h"
#include "ostrel/engine/workbook.h"

namespace ostrel::host {

class HostWorkbook : public CCWorkbook {
public:
    // Every sheet scans and prints with the given locale ("" or "C": the invariant one).
    explicit HostWorkbook(std::string localeName = "");
    ~HostWorkbook() override;
    HostWorkbook(const HostWorkbook&) = delete;
    HostWorkbook& operator=(const HostWorkbook&) = delete;

    // Appends a sheet; null when the name is empty, holds a character no sheet name may
    // hold, or equals (ignoring case) the name of a sheet already there.
    HostSheet* AddSheet(std::u16string_view name);
    size_t SheetCount() const { return m_sheets.size(); }
    // The sheet at a 1-based index, null outside 1..SheetCount().
    HostSheet* SheetAt(size_t index) const;
    // The 1-based index of the sheet with that name (ignoring case), 0 when there is none.
    uint16_t IndexOf(std::u16string_view name) const;

    // Renames the sheet at a 1-based index: listeners hear of it, and the formulas that name
    // the sheet name it by its new name. False when the new name could not name a sheet.
    bool RenameSheet(size_t index, std::u16string_view newName);

    // The engine's questions about the sheets; names may carry the "?" of sheet links.
    CCSheet* GetSheet(std::u16string_view name) override;
    CCSheet* GetDefaultSheet() override { return SheetAt(1); }
    int IsValidSheetName(std::u16string_view name) override;
    unsigned char GetSheetCount() override { return static_cast<unsigned char>(m_sheets.size()); }
    CCSheet* GetSheetByNumber(unsigned char number) override { return SheetAt(size_t(number) + 1); }
    int HasManager(CCCellManager* manager) override;

    // Called while a recalculation runs: the cells still to recalculate and the most that
    // were waiting.
    using Progress = std::function<void(size_t remaining, size_t total)>;
    void SetProgress(Progress progress) { m_progress = std::move(progress); }
    // Asked as often as progress is reported: true stops the recalculation early.
    void SetCancel(std::function<bool()> cancelled) { m_cancelled = std::move(cancelled); }
    void ReportProgress();

    // The documents the workbook's formulas may read (REMOTE("name", "A1")), shared with
    // each of them; null until the workbook joins some. A workbook belongs to one set of
    // documents at a time, under one name, and leaves it when it goes.
    DocumentHub* Documents() const { return m_documents.get(); }
    const std::shared_ptr<DocumentHub>& SharedDocuments() const { return m_documents; }
    // Joins documents under name; false when the name is taken or the workbook belongs to
    // other documents already.
    bool JoinDocuments(const std::shared_ptr<DocumentHub>& documents, std::u16string_view name);
    void LeaveDocuments();
    // The name other documents reach this one by; empty outside a set of documents.
    const std::u16string& DocumentName() const { return m_documentName; }
    // Carries a request for another document; 0 when none answered.
    int Carry(const CCRemoteRef* ref, CFile* file) {
        return m_documents ? m_documents->Carry(ref, file) : 0;
    }

    // The document's properties. Setting one through SetProperty recalculates, on every
    // sheet, the formulas that read it.
    const DocumentProperties& Properties() const { return m_properties; }
    bool SetProperty(std::u16string_view key, std::u16string_view value);

    // Recalculates until no sheet has work left: the shared order first, then whatever a
    // sheet queued in its own lists (requests to other documents). False when it stopped
    // because the cancel hook asked it to; what it did not reach stays due.
    bool RecalculateAll();

private:
    size_t Remaining() const;
    void NotifyProgress();

    std::string m_locale;
    std::vector<std::unique_ptr<HostSheet>> m_sheets;
    std::shared_ptr<DocumentHub> m_documents;
    std::u16string m_documentName;
    DocumentProperties m_properties;
    Progress m_progress;
    std::function<bool()> m_cancelled;
    bool m_stopped = false;
    size_t m_progressTotal = 0;
};

// True when name can name a sheet: not empty, at most 255 characters, none of the
// characters that end a sheet reference or a file name ([ ] : ! ? * / \ and controls).
bool IsPlainSheetName(std::u16string_view name);

}  // namespace ostrel::host
