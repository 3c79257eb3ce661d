// SPDX-License-Identifier: Apache-2.0
#include "facade/book_file.h"

#include <utility>
#include <vector>

#include "facade/book_cells.h"
#include "facade/book_layout.h"
#include "ostrel/calc_book.h"
#include "ostrel/platform/archive.h"
#include "ostrel/platform/exceptions.h"
#include "ostrel/platform/utf.h"
#include "platform/names.h"

namespace ostrel::host {

namespace {

// While a file is written or read: formulas in the invariant locale, and, when reading, no
// recalculation queued by the values stored on the way.
class FileScope {
public:
    FileScope(const std::vector<HostSheet*>& sheets, bool reading) : m_sheets(sheets) {
        for (HostSheet* sheet : m_sheets) {
            m_locales.push_back(sheet->SwapLocaleContext(cells::invariant_LCTX()->lctx));
            if (reading) sheet->SetAutoCalc(false);
        }
    }
    ~FileScope() {
        for (size_t i = 0; i < m_sheets.size(); ++i) {
            m_sheets[i]->SwapLocaleContext(m_locales[i]);
            m_sheets[i]->SetAutoCalc(true);
        }
    }
    FileScope(const FileScope&) = delete;
    FileScope& operator=(const FileScope&) = delete;

private:
    std::vector<HostSheet*> m_sheets;
    std::vector<zmk::multilang::CLegacyLocaleContext*> m_locales;
};

std::vector<HostSheet*> SheetsOf(const HostWorkbook& book) {
    std::vector<HostSheet*> sheets;
    for (size_t i = 1; i <= book.SheetCount(); ++i)
        sheets.push_back(book.SheetAt(i));
    return sheets;
}

std::string NameOf(const HostSheet& sheet) {
    std::u16string name;
    sheet.GetSheetName(name);
    return "'" + ToUtf8(name) + "'";
}

std::string Where(const HostSheet* sheet, const HostCell* cell) {
    if (!sheet) return "";
    std::string where = " in sheet " + NameOf(*sheet);
    if (cell) where += ", cell " + ToUtf8(CellAddress(int(cell->Column()), int(cell->Row())));
    return where;
}

// The bytes an archive block of the sheet's manager takes.
std::string ManagerBlock(HostSheet& sheet) {
    CMemFile file(256);
    {
        CArchive ar(&file, CArchive::store);
        sheet.Write(ar);
    }
    return std::string(reinterpret_cast<const char*>(file.Data()), size_t(file.GetLength()));
}

// A loading archive over bytes that stay where they are.
struct ByteArchive {
    explicit ByteArchive(std::string_view bytes)
        : file(reinterpret_cast<uint8_t*>(const_cast<char*>(bytes.data())), bytes.size()),
          ar(&file, CArchive::load) {}
    CMemFile file;
    CArchive ar;
};

}  // namespace

bool WriteBook(HostWorkbook& book, std::string& bytes, std::string& error) {
    // The file holds values, and a value not brought up to date would stay wrong once read.
    book.RecalculateAll();
    const std::vector<HostSheet*> sheets = SheetsOf(book);
    BookLayout layout;
    std::vector<std::string> blocks;
    CMemFile cells(1 << 16);
    BookCellWriter writer;
    const HostSheet* current = nullptr;
    try {
        for (HostSheet* sheet : sheets)
            blocks.push_back(ManagerBlock(*sheet));
        FileScope scope(sheets, false);
        CArchive ar(&cells, CArchive::store);
        writer.Begin(&ar);
        for (size_t i = 0; i < sheets.size(); ++i) {
            current = sheets[i];
            writer.WriteSheet(uint8_t(i), *sheets[i]);
        }
        current = nullptr;
        writer.WriteEnd();
        writer.End();
    } catch (const CArchiveException&) {
        error = "a format code, unit text or error code that a workbook file cannot hold" +
                Where(current, writer.GetCell());
        return false;
    }
    for (size_t i = 0; i < sheets.size(); ++i) {
        BookLayout::Sheet sheet;
        sheets[i]->GetSheetName(sheet.name);
        sheet.managerBlock = blocks[i];
        sheet.hostData = sheets[i]->GetHostData();
        layout.sheets.push_back(std::move(sheet));
    }
    layout.cells =
        std::string_view(reinterpret_cast<const char*>(cells.Data()), size_t(cells.GetLength()));
    layout.properties = book.Properties().All();
    return WriteBookLayout(layout, bytes, error);
}

std::unique_ptr<HostWorkbook> ReadBook(std::string_view bytes, const std::string& localeName,
                                       std::string& error) {
    BookLayout layout;
    if (!ParseBookLayout(bytes, layout, error)) return nullptr;
    auto book = std::make_unique<HostWorkbook>(localeName);
    for (const auto& [key, value] : layout.properties) {
        if (book->Properties().Get(key).empty() && book->SetProperty(key, value) && !value.empty())
            continue;
        error = "the document property '" + ToUtf8(key) + "' is damaged";
        return nullptr;
    }
    std::vector<HostSheet*> sheets;
    for (const BookLayout::Sheet& part : layout.sheets) {
        HostSheet* sheet = book->AddSheet(part.name);
        if (!sheet) {
            error = "the sheet '" + ToUtf8(part.name) + "' cannot be made";
            return nullptr;
        }
        sheet->SetHostData(std::string(part.hostData));
        sheets.push_back(sheet);
    }
    BookCellReader reader(sheets);
    {
        FileScope scope(sheets, true);
        try {
            ByteArchive cells(layout.cells);
            reader.Begin(&cells.ar);
            reader.Read();
            if (cells.ar.GetBytesLeft() != 0) throw CArchiveException(CArchiveException::badFormat);
        } catch (const CArchiveException&) {
            error = "the file's cells are damaged" + Where(reader.GetSheet(), reader.GetCell());
            return nullptr;
        }
        // Protection last: a protected sheet's hidden cells refuse formulas that read them,
        // and every formula the file holds was accepted when it was made.
        for (size_t i = 0; i < sheets.size(); ++i) {
            try {
                ByteArchive block(layout.sheets[i].managerBlock);
                sheets[i]->Read(block.ar);
                if (block.ar.GetBytesLeft() != 0)
                    throw CArchiveException(CArchiveException::badFormat);
            } catch (const CArchiveException&) {
                error = "the protection and document data of sheet " + NameOf(*sheets[i]) +
                        " are damaged";
                return nullptr;
            }
        }
    }
    for (const auto& [sheet, cell] : reader.ToStart())
        sheet->InitFormulaRecalc(cell);
    reader.End();
    return book;
}

}  // namespace ostrel::host
