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

#include "host_sheet.h"

namespace ostrel::host {

class HostWorkbook {
public:
    // Every sheet scans and prints with the given locale ("" or "C": the invariant one).
    explicit HostWorkbook(std::string localeName = "");
    ~HostWorkbook();
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

    // Called while a recalculation runs: the sheet working, the cells it still has to
    // recalculate and the most it had waiting.
    using Progress = std::function<void(const HostSheet&, size_t remaining, size_t total)>;
    void SetProgress(Progress progress) { m_progress = std::move(progress); }
    void ReportProgress(const HostSheet& sheet) const;

    // Recalculates every sheet until a whole pass over them finds nothing left to do: a
    // sheet's recalculation can give work to the sheets that read its cells.
    void RecalculateAll();

private:
    std::string m_locale;
    std::vector<std::unique_ptr<HostSheet>> m_sheets;
    Progress m_progress;
};

// True when name can name a sheet: not empty, at most 255 characters, none of the
// characters that end a sheet reference or a file name ([ ] : ! ? * / \ and controls).
bool IsPlainSheetName(std::u16string_view name);

}  // namespace ostrel::host
