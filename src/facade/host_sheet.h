// SPDX-License-Identifier: Apache-2.0
// The reference host's spreadsheet: a cell manager that answers to A1 references and keeps
// its cells in a sparse store. A cell comes into being when something is stored into its
// position or a formula registers on it, so that a formula reading an empty cell hears of
// it when the cell is filled later; reading creates nothing.
#pragma once

#include <memory>
#include <string>
#include <utility>

#include "facade/cell_store.h"
#include "facade/range_index.h"
#include "ostrel/cells/cell.h"
#include "ostrel/engine/sheet.h"
#include "ostrel/formula/lctx.h"
#include "ostrel/refs/name_ref.h"
#include "ostrel/refs/rc_ref.h"
#include "platform/names.h"

namespace ostrel::host {

// Shows its value as CCCell does: the sheet writes the whole numbers it shows itself.
class HostCell final : public CCCell {
public:
    HostCell(unsigned char column, uint16_t row) : m_ref(column, row) {}
    const CCRef* GetRef() const override { return &m_ref; }
    unsigned Column() const { return m_ref.GetColumn(); }
    unsigned Row() const { return m_ref.GetRow(); }
    bool IsEqual(const CCItem* other) const override {
        return other && other->GetRef() && m_ref.IsEqual(other->GetRef());
    }

private:
    CCRCRef m_ref;
};

class HostSheet;
class HostWorkbook;

class HostCtx : public cells::CTX {
public:
    HostCtx(HostSheet* sheet, cells::LCTX* lctx) : m_sheet(sheet), m_lctx(lctx) {}
    cells::LCTX* GetLCTX() override { return m_lctx; }
    CCCellManager* GetManager() override;

private:
    HostSheet* m_sheet;
    cells::LCTX* m_lctx;
};

class HostSheet : public CCSheet {
public:
    // Scans and prints with the given locale ("" or "C": the invariant one).
    explicit HostSheet(const std::string& localeName = "", std::u16string name = u"Sheet1");
    ~HostSheet() override;

    cells::CTX* GetCTX() override { return &m_ctx; }
    cells::CTX* GetCTX() const override { return const_cast<HostCtx*>(&m_ctx); }
    int GetType() const override { return 1; }
    // Off while a workbook file is read: the values come from the file, and what must start
    // again is started once every cell is in place.
    int GetAutoCalc() override { return m_autoCalc ? 1 : 0; }
    void SetAutoCalc(bool on) { m_autoCalc = on; }
    // The locale context formulas are printed and read in; a workbook file swaps in the
    // invariant one, so that a file reads the same whatever locale opens it. Returns the
    // one it replaced.
    zmk::multilang::CLegacyLocaleContext* SwapLocaleContext(
        zmk::multilang::CLegacyLocaleContext* context) {
        std::swap(m_lctx.lctx, context);
        return context;
    }
    // Bytes the program keeps with the sheet; a workbook file holds them.
    const std::string& GetHostData() const { return m_hostData; }
    void SetHostData(std::string bytes) { m_hostData = std::move(bytes); }
    void GetSheetName(std::u16string& name) const override { name = m_name; }
    // In a workbook that other documents reach, the workbook's name; else the sheet's.
    void GetDocumentName(std::u16string& name) const override;
    // Names the sheet within its workbook ("Sheet2!B4"), so that the workbook routes what
    // another document sends back for the cell.
    CCRemoteRef* TranslateToRemoteRef(const CCRef* ref) override;
    int IsRemoteDocumentOpen(const char16_t* documentName) override;

    // The workbook's document properties; a sheet alone has none.
    int GetDocumentTitle(std::u16string& out) override;
    int GetDocumentSubject(std::u16string& out) override;
    int GetDocumentAuthor(std::u16string& out) override;
    int GetDocumentKeywords(std::u16string& out) override;
    int GetDocumentComments(std::u16string& out) override;
    int GetDocumentFileName(std::u16string& out) override;
    int GetDocumentNumWords(unsigned long& out) override;
    int GetDocumentNumPages(unsigned long& out) override;
    int GetDocumentNumChars(unsigned long& out) override;
    int GetDocumentRevNum(unsigned long& out) override;
    int GetDocumentFileSize(double& out) override;
    int GetDocumentSaveDate(ostrel::platform::COleDateTime& out) override;
    int GetDocumentPrintDate(ostrel::platform::COleDateTime& out) override;
    int GetDocumentEditTime(ostrel::platform::COleDateTime& out) override;
    int GetDocumentCreateDate(ostrel::platform::COleDateTime& out) override;
    // The sheet item is designated by the sheet's name.
    const CCRef* GetRef() const override { return &m_nameRef; }
    // The name only: renaming through the workbook also tells the formulas.
    void SetName(std::u16string name);

    CCItem* LookupItem(const CCRef* ref) override;
    void GetRefSize(const CCRef* ref, long& width, long& height) override;
    // Ranges of the grid are valid references: their values are served by GetValue. So is
    // a name that names a sheet of the workbook (the sheet part of Sheet2!A1).
    int IsValidRef(const CCRef* ref) override;
    int GetValue(const CCRef* ref, CCCellValue* value, unsigned long index) override;
    long GetColumnEnd(unsigned column) const override { return long(m_cells.RowsBound(column)); }

    // Storing operations create the cell they store into.
    int SetCellText(const CCRef* ref, std::u16string_view text) override;
    int SetValue(const CCRef* ref, const CCCellValue* value) override;
    int RegisterDependent(const CCRef* precedent, const CCRef* dependent) override;
    using CCSheet::RegisterDependent;  // the sheet item's form stays reachable
    // A cell's dependents and those of every range that contains it (the references
    // borrowed: free the list with RefListFree(list, 0)).
    CCRefList* LoadDependencies(const CCRef* ref) override;
    // For the workbook's order: a cell's dependents and the ranges of this sheet that hold
    // it, each range standing for the formulas registered on it.
    void ForEachDependentGroup(const CCRef* ref,
                               const std::function<void(const CCRef*)>& visit) override;
    bool MayBeRead(const CCRef* ref) override;
    size_t RangeCount() const { return m_ranges.Size(); }

protected:
    // A cell's dependents, then each range's, as LoadDependencies lists them; a range whose
    // formulas the list still holds adds only those registered on it since.
    CCItem* ProcessDependents(const CCRef* ref, CCRecalcList& list) override;
    // A range's values straight from the store, as GetValue serves them one by one (a
    // subclass that serves them otherwise overrides this too).
    bool ReadValues(const CCRef* ref, unsigned long first, unsigned long count,
                    CCCellValue* values) override;

public:
    // Convenience for hosts and tests: positions instead of references.
    int SetCellText(unsigned column, unsigned row, std::u16string_view text);
    std::u16string GetCellValueText(unsigned column, unsigned row) const;
    void GetCellValueText(unsigned column, unsigned row, std::u16string& text) const;
    // The same as ASCII for a whole number shown in the general format; false for any other.
    bool GetCellValueAscii(unsigned column, unsigned row, std::string& text) const;
    std::u16string GetCellFormula(unsigned column, unsigned row);
    HostCell* FindCell(unsigned column, unsigned row) const { return m_cells.Find(column, row); }
    // The cell at the position, created empty when it is not there yet.
    HostCell& GetCell(unsigned column, unsigned row) { return *m_cells.Get(column, row); }
    size_t CellCount() const { return m_cells.Size(); }
    template <class F>
    void ForEachCell(F f) {
        m_cells.ForEach(f);
    }
    // Runs the recalculation that is due to its end (this sheet's only: a workbook's
    // sheets recalculate together through HostWorkbook::RecalculateAll).
    void RecalculateAll();

    // The workbook the sheet belongs to (null for a sheet on its own); not owned.
    void SetWorkbook(HostWorkbook* book) { m_book = book; }
    HostWorkbook* GetHostWorkbook() const { return m_book; }
    CCWorkbook* GetWorkbook() override;
    // Sheets of the workbook by name and 1-based index. Alone, a sheet keeps the engine's
    // defaults (every name is sheet 1, which resolves to no sheet).
    uint16_t GetNameIndex(std::u16string_view name) override;
    uint16_t GetNameIndex(const CCNameRef* name) override;
    CCCellManager* GetManForNameIndex(uint16_t index) override;
    // Requests through sheet links go straight to the sheet they name; others go to the
    // document the workbook knows by the reference's name.
    int DoTransport(const CCRemoteRef* ref, CFile* file) override;
    // Carried to the document of ref rather than the dependent's (this one).
    int DoRemoteUnRegisterDependent(const CCRemoteRef* ref, const CCRemoteRef* dependent) override;
    using CCCellManager::DoRemoteUnRegisterDependent;
    void OnUpdateIdleRecalc() override;

    using CCCellManager::GetCellFormula;
    using CCCellManager::GetCellValueText;
    using CCCellManager::SetCellText;

private:
    // The cell or range item ref names, made when it is not there yet; null for any other
    // reference.
    CCItem* EnsureItem(const CCRef* ref);
    template <class T, class Reader>
    int Property(CCDocumentRef::ECDocRefType item, T& out, Reader read);

    std::u16string m_name;
    CCNameRef m_nameRef;
    HostWorkbook* m_book = nullptr;
    const CCRemoteRef* m_unregisteringFrom = nullptr;  // while an unregistration is sent
    std::unique_ptr<zmk::multilang::CLegacyLocaleContext> m_locale;
    cells::LCTX m_lctx;
    HostCtx m_ctx;
    CellStore<HostCell> m_cells;
    RangeIndex m_ranges;
    std::string m_hostData;
    bool m_autoCalc = true;
};

}  // namespace ostrel::host
