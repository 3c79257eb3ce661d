// SPDX-License-Identifier: Apache-2.0
// The sheets the command-line program calculates with: the reference host's spreadsheet,
// alone or in a workbook.
#include <algorithm>
#include <memory>
#include <mutex>
#include <new>
#include <vector>

#include "facade/book_file.h"
#include "facade/host_sheet.h"
#include "facade/host_workbook.h"
#include "facade/legacy_file.h"
#include "formats/excel_number_format.h"
#include "formats/text_helpers.h"
#include "ostrel/calc_book.h"
#include "ostrel/engine/engine_lock.h"
#include "ostrel/engine/module.h"
#include "ostrel/formats/cell_format.h"
#include "ostrel/formats/number_format.h"
#include "ostrel/formula/scanner.h"
#include "ostrel/functions/func.h"
#include "ostrel/platform/exceptions.h"
#include "platform/text/unicode.h"

namespace ostrel {

namespace {

constexpr int kColumns = 256;
constexpr char kOutOfMemory[] = "out of memory";
constexpr int kRows = 65536;
static_assert(CalcSheet::kLongestFormatCode == CExcelNumberFormat::kMaxCodeLength);

// The engine starts once per process; every sheet after that stands alone. False when it
// could not start.
bool StartEngine() {
    static std::once_flag started;
    static bool ready = false;
    std::call_once(started, [] {
        EngineLock lock;
        ready = QXCellInit() == 1;
    });
    return ready;
}

// A host sheet seen through the program's interface; the sheet is owned elsewhere.
class EngineSheet : public CalcSheet {
public:
    explicit EngineSheet(host::HostSheet& sheet) : m_sheet(sheet) {}

    bool SetCellText(int column, int row, std::u16string_view text) override {
        EngineLock lock;
        if (!OnGrid(column, row)) return false;
        return m_sheet.SetCellText(unsigned(column), unsigned(row), text) == 1;
    }
    void Recalculate() override {
        EngineLock lock;
        if (host::HostWorkbook* book = m_sheet.GetHostWorkbook())
            book->RecalculateAll();
        else
            m_sheet.RecalculateAll();
    }
    std::u16string GetCellValueText(int column, int row) override {
        std::u16string text;
        ReadCellValueText(column, row, text);
        return text;
    }
    void ReadCellValueText(int column, int row, std::u16string& text) override {
        EngineLock lock;
        if (OnGrid(column, row))
            m_sheet.GetCellValueText(unsigned(column), unsigned(row), text);
        else
            text.clear();
    }
    bool ReadCellValueAscii(int column, int row, std::string& text) override {
        EngineLock lock;
        return OnGrid(column, row) &&
               m_sheet.GetCellValueAscii(unsigned(column), unsigned(row), text);
    }
    std::u16string GetCellFormula(int column, int row) override {
        EngineLock lock;
        return OnGrid(column, row) ? m_sheet.GetCellFormula(unsigned(column), unsigned(row))
                                   : std::u16string();
    }
    bool HasFormula(int column, int row) override {
        EngineLock lock;
        const host::HostCell* cell =
            OnGrid(column, row) ? m_sheet.FindCell(unsigned(column), unsigned(row)) : nullptr;
        return cell && cell->IsFormulaLink();
    }
    CellValue GetCellValue(int column, int row) override {
        EngineLock lock;
        const host::HostCell* cell =
            OnGrid(column, row) ? m_sheet.FindCell(unsigned(column), unsigned(row)) : nullptr;
        return cell ? Typed(cell->GetValue()) : CellValue{};
    }
    bool SetCustomFormat(int column, int row, std::u16string_view code) override {
        EngineLock lock;
        if (!OnGrid(column, row) || !CExcelNumberFormat::IsUsable(code)) return false;
        CCNumberFormat number;
        number.setCustomFormat(code);
        CCCellFormat format;
        format.SetNumberFormat(number);
        // Stored into a cell that holds nothing yet, the format waits for its value.
        host::HostCell& cell = m_sheet.GetCell(unsigned(column), unsigned(row));
        cell.SetFormat(m_sheet.GetCTX(), format);
        return true;
    }
    bool SetHostData(std::string_view bytes) override {
        EngineLock lock;
        if (bytes.size() > kLongestHostData) return false;
        m_sheet.SetHostData(std::string(bytes));
        return true;
    }
    std::string GetHostData() override {
        EngineLock lock;
        return m_sheet.GetHostData();
    }
    void GetUsedSize(int& columns, int& rows) override {
        EngineLock lock;
        columns = rows = 0;
        // Cells come into being when a formula reads them, too: only those holding a value
        // count.
        m_sheet.ForEachCell([&](const host::HostCell& cell) {
            if (cell.GetValue().IsEmpty()) return;
            columns = std::max(columns, int(cell.Column()) + 1);
            rows = std::max(rows, int(cell.Row()) + 1);
        });
    }

private:
    static CellValue Typed(const CCCellValue& value) {
        CellValue typed;
        if (value.IsNumber()) {
            typed.kind = value.GetFormat().getType() == C_NF_BOOL ? CellValue::Kind::boolean
                                                                  : CellValue::Kind::number;
            typed.number = value.GetNumber();
        } else if (value.IsText()) {
            typed.kind = CellValue::Kind::text;
            if (value.GetText()) typed.text = value.GetText();
        } else if (value.IsError()) {
            typed.kind = CellValue::Kind::error;
            typed.error = value.GetError();
        }
        return typed;
    }
    static bool OnGrid(int column, int row) {
        return column >= 0 && column < kColumns && row >= 0 && row < kRows;
    }
    host::HostSheet& m_sheet;
};

// Made and taken down under the engine lock, as every call is.
class LoneSheet : public CalcSheet {
public:
    explicit LoneSheet(std::unique_ptr<host::HostSheet> sheet)
        : m_sheet(std::move(sheet)), m_view(*m_sheet) {}
    ~LoneSheet() override {
        EngineLock lock;
        m_sheet.reset();
    }
    LoneSheet(const LoneSheet&) = delete;
    LoneSheet& operator=(const LoneSheet&) = delete;

    bool SetCellText(int column, int row, std::u16string_view text) override {
        return m_view.SetCellText(column, row, text);
    }
    void Recalculate() override { m_view.Recalculate(); }
    std::u16string GetCellValueText(int column, int row) override {
        return m_view.GetCellValueText(column, row);
    }
    void ReadCellValueText(int column, int row, std::u16string& text) override {
        m_view.ReadCellValueText(column, row, text);
    }
    bool ReadCellValueAscii(int column, int row, std::string& text) override {
        return m_view.ReadCellValueAscii(column, row, text);
    }
    std::u16string GetCellFormula(int column, int row) override {
        return m_view.GetCellFormula(column, row);
    }
    bool HasFormula(int column, int row) override { return m_view.HasFormula(column, row); }
    CellValue GetCellValue(int column, int row) override {
        return m_view.GetCellValue(column, row);
    }
    void GetUsedSize(int& columns, int& rows) override { m_view.GetUsedSize(columns, rows); }
    bool SetCustomFormat(int column, int row, std::u16string_view code) override {
        return m_view.SetCustomFormat(column, row, code);
    }
    bool SetHostData(std::string_view bytes) override { return m_view.SetHostData(bytes); }
    std::string GetHostData() override { return m_view.GetHostData(); }

private:
    std::unique_ptr<host::HostSheet> m_sheet;
    EngineSheet m_view;
};

// Runs work(why) under the engine's lock; false with *error set when it fails or the memory
// runs out.
template <class Work>
bool Guarded(Work work, std::string* error) {
    EngineLock lock;
    std::string why;
    try {
        if (work(why)) return true;
    } catch (const std::bad_alloc&) {
        why = kOutOfMemory;
    } catch (const CMemoryException&) {
        why = kOutOfMemory;
    }
    if (error) *error = why;
    return false;
}

class EngineBook : public CalcBook {
public:
    // Made under the engine lock, with a view of each sheet the workbook holds already.
    explicit EngineBook(std::unique_ptr<host::HostWorkbook> book) : m_book(std::move(book)) {
        for (size_t i = 1; i <= m_book->SheetCount(); ++i)
            m_views.push_back(std::make_unique<EngineSheet>(*m_book->SheetAt(i)));
    }
    ~EngineBook() override {
        EngineLock lock;
        m_views.clear();
        m_book.reset();
    }
    EngineBook(const EngineBook&) = delete;
    EngineBook& operator=(const EngineBook&) = delete;

    CalcSheet* AddSheet(std::u16string_view name) override {
        EngineLock lock;
        host::HostSheet* sheet = m_book->AddSheet(name);
        if (!sheet) return nullptr;
        m_views.push_back(std::make_unique<EngineSheet>(*sheet));
        return m_views.back().get();
    }
    bool HasSheet(std::u16string_view name) const override {
        EngineLock lock;
        return m_book->IndexOf(name) != 0;
    }
    size_t SheetCount() const override {
        EngineLock lock;
        return m_views.size();
    }
    CalcSheet* Sheet(size_t index) override {
        EngineLock lock;
        return index < m_views.size() ? m_views[index].get() : nullptr;
    }
    std::u16string SheetName(size_t index) const override {
        EngineLock lock;
        std::u16string name;
        if (const host::HostSheet* sheet = m_book->SheetAt(index + 1)) sheet->GetSheetName(name);
        return name;
    }
    bool RecalculateAll(const std::function<void(double)>& progress,
                        const std::function<bool()>& cancelled) override {
        EngineLock lock;
        if (progress) {
            m_book->SetProgress([&](size_t remaining, size_t total) {
                progress(total == 0 ? 1.0
                                    : 1.0 - double(std::min(remaining, total)) / double(total));
            });
        }
        m_book->SetCancel(cancelled);
        const bool finished = m_book->RecalculateAll();
        m_book->SetProgress({});
        m_book->SetCancel({});
        return finished;
    }
    bool SaveBookBytes(std::string& bytes, std::string* error) override {
        return Guarded([&](std::string& why) { return host::WriteBook(*m_book, bytes, why); },
                       error);
    }
    bool SaveLegacyBytes(std::string& bytes, LegacySaveReport* report,
                         std::string* error) override {
        LegacySaveReport counted;
        const bool written = Guarded(
            [&](std::string& why) { return host::WriteLegacy(*m_book, bytes, counted, why); },
            error);
        if (report) *report = counted;
        return written;
    }

    bool AddDocument(std::u16string_view name, CalcBook& other) override {
        EngineLock lock;
        auto* added = dynamic_cast<EngineBook*>(&other);
        if (!added || added == this || !JoinedDocuments(name)) return false;
        return added->m_book->JoinDocuments(m_book->SharedDocuments(), name);
    }
    bool AddDocument(std::u16string_view name, CCTransportInterface& server) override {
        EngineLock lock;
        return JoinedDocuments(name) && m_book->Documents()->Add(name, &server);
    }
    bool RemoveDocument(std::u16string_view name) override {
        EngineLock lock;
        host::DocumentHub* documents = m_book->Documents();
        const host::DocumentHub::Document* found = documents ? documents->Find(name) : nullptr;
        if (!found) return false;
        if (auto* const* book = std::get_if<host::HostWorkbook*>(found)) {
            if (*book == m_book.get()) return false;
            (*book)->LeaveDocuments();
            return true;
        }
        return documents->Remove(name);
    }
    std::u16string DocumentName() const override {
        EngineLock lock;
        return m_book->DocumentName();
    }
    bool SetProperty(std::u16string_view key, std::u16string_view value) override {
        EngineLock lock;
        return m_book->SetProperty(key, value);
    }
    std::u16string GetProperty(std::u16string_view key) const override {
        EngineLock lock;
        return m_book->Properties().Get(key);
    }

private:
    // This workbook in a set of documents, named so as not to take the name about to be
    // added; false when it cannot be.
    bool JoinedDocuments(std::u16string_view added) {
        if (m_book->Documents()) return true;
        auto documents = std::make_shared<host::DocumentHub>();
        const std::u16string_view own = text::SameIgnoringCase(added, u"Book") ? u"Book2" : u"Book";
        return m_book->JoinDocuments(documents, own);
    }

    std::unique_ptr<host::HostWorkbook> m_book;
    std::vector<std::unique_ptr<EngineSheet>> m_views;
};

// Whether "=NAME!A1" reads cell A1 of a sheet of that name: the formula grammar decides,
// on a workbook holding such a sheet.
bool FormulasCanName(std::u16string_view name) {
    host::HostWorkbook book;
    host::HostSheet* sheet = book.AddSheet(name);
    if (!sheet) return false;
    sheet->SetCellText(0u, 0u, u"17");
    sheet->SetCellText(1u, 0u, u"=" + std::u16string(name) + u"!A1");
    book.RecalculateAll();
    return sheet->GetCellValueText(1u, 0u) == u"17";
}

}  // namespace

std::u16string ReferableSheetName(std::u16string_view text) {
    constexpr size_t kLongest = 79;  // the longest sheet name a reference may hold
    StartEngine();
    EngineLock lock;
    std::u16string name;
    for (char16_t c : text.substr(0, kLongest))
        name += text::IsAlpha(c) || text::IsDigit(c) || c == u'_' ? c : u'_';
    if (name.empty()) name = u"_";
    if (text::IsDigit(name[0]) || !FormulasCanName(name)) {
        name.insert(name.begin(), u'_');
        if (name.size() > kLongest) name.resize(kLongest);
    }
    return name;
}

std::u16string CellAddress(int column, int row) {
    if (column < 0 || column >= kColumns || row < 0 || row >= kRows) return {};
    std::u16string address = PrintCol(static_cast<unsigned char>(column));
    for (char c : std::to_string(row + 1))
        address += char16_t(c);
    return address;
}

bool ParseCellAddress(std::u16string_view text, int& column, int& row) {
    // The formula scanner's own reading of a cell, which stops at a NUL.
    const std::u16string terminated(text);
    const char16_t* cursor = terminated.c_str();
    unsigned char scannedColumn = 0, flags = 0;
    uint16_t scannedRow = 0;
    if (!_EatRC(nullptr, cursor, scannedColumn, scannedRow, flags) ||
        cursor != terminated.c_str() + terminated.size())
        return false;
    column = scannedColumn;
    row = scannedRow;
    return true;
}

std::unique_ptr<CalcSheet> MakeCalcSheet(const std::string& localeName) {
    if (!StartEngine()) return nullptr;
    EngineLock lock;
    return std::make_unique<LoneSheet>(std::make_unique<host::HostSheet>(localeName));
}

std::unique_ptr<CalcBook> MakeCalcBook(const std::string& localeName) {
    if (!StartEngine()) return nullptr;
    EngineLock lock;
    return std::make_unique<EngineBook>(std::make_unique<host::HostWorkbook>(localeName));
}

namespace {

// A workbook read by reader from bytes, or null with *error saying why.
template <class Reader>
std::unique_ptr<CalcBook> LoadWith(Reader reader, std::string_view bytes,
                                   const std::string& localeName, std::string* error) {
    if (!StartEngine()) {
        if (error) *error = "the engine could not start";
        return nullptr;
    }
    std::unique_ptr<CalcBook> loaded;
    Guarded(
        [&](std::string& why) {
            std::unique_ptr<host::HostWorkbook> book = reader(bytes, localeName, why);
            if (book) loaded = std::make_unique<EngineBook>(std::move(book));
            return loaded != nullptr;
        },
        error);
    return loaded;
}

}  // namespace

std::unique_ptr<CalcBook> CalcBook::LoadBookBytes(std::string_view bytes,
                                                  const std::string& localeName,
                                                  std::string* error) {
    return LoadWith(host::ReadBook, bytes, localeName, error);
}

std::unique_ptr<CalcBook> CalcBook::LoadLegacyBytes(std::string_view bytes,
                                                    const std::string& localeName,
                                                    std::string* error) {
    return LoadWith(host::ReadLegacy, bytes, localeName, error);
}

std::string EngineStartFailure() {
    if (StartEngine()) return {};
    const std::string& why = BuiltinFunctionsFailure();
    return "the function registry could not be built" + (why.empty() ? "" : ": " + why);
}

}  // namespace ostrel
