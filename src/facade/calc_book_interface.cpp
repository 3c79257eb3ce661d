// SPDX-License-Identifier: Apache-2.0
// What every sheet does the same way, whoever implements the interface.
#include <ostream>
#include <string>

#include "facade/book_layout.h"
#include "facade/file_bytes.h"
#include "facade/legacy_file.h"
#include "ostrel/calc_book.h"
#include "ostrel/csv.h"
#include "ostrel/platform/utf.h"

namespace ostrel {

CalcSheet::~CalcSheet() = default;
CalcBook::~CalcBook() = default;

bool CalcSheet::SetCellText(int column, int row, std::string_view utf8) {
    return SetCellText(column, row, std::u16string_view(FromUtf8(utf8)));
}

bool CalcSheet::SetCustomFormat(int, int, std::u16string_view) {
    return false;
}

bool CalcSheet::ReadCellValueAscii(int, int, std::string&) {
    return false;
}

bool CalcSheet::SetHostData(std::string_view) {
    return false;
}

std::string CalcSheet::GetHostData() {
    return {};
}

std::u16string CalcBook::SheetName(size_t) const {
    return {};
}

bool CalcBook::SaveBookBytes(std::string&, std::string* error) {
    if (error) *error = "this workbook keeps no cells a workbook file can hold";
    return false;
}

bool CalcBook::SaveBook(const std::string& path, std::string* error) {
    std::string bytes, why;
    if (SaveBookBytes(bytes, &why) && host::WriteFileAtomically(path, bytes, why)) return true;
    if (error) *error = why;
    return false;
}

std::unique_ptr<CalcBook> CalcBook::LoadBook(const std::string& path, const std::string& localeName,
                                             std::string* error) {
    std::string bytes, why;
    if (host::ReadFileBytes(path, bytes, why)) return LoadBookBytes(bytes, localeName, error);
    if (error) *error = why;
    return nullptr;
}

bool CalcBook::AddDocument(std::u16string_view, CalcBook&) {
    return false;
}

bool CalcBook::AddDocument(std::u16string_view, CCTransportInterface&) {
    return false;
}

bool CalcBook::RemoveDocument(std::u16string_view) {
    return false;
}

std::u16string CalcBook::DocumentName() const {
    return {};
}

bool CalcBook::SetProperty(std::u16string_view, std::u16string_view) {
    return false;
}

std::u16string CalcBook::GetProperty(std::u16string_view) const {
    return {};
}

bool CalcBook::IsBookFile(std::string_view bytes) {
    return host::HasBookMagic(bytes);
}

bool CalcBook::SaveLegacyBytes(std::string&, LegacySaveReport*, std::string* error) {
    if (error) *error = "this workbook keeps no cells a legacy exchange file can hold";
    return false;
}

bool CalcBook::SaveLegacy(const std::string& path, LegacySaveReport* report, std::string* error) {
    std::string bytes, why;
    if (SaveLegacyBytes(bytes, report, &why) && host::WriteFileAtomically(path, bytes, why))
        return true;
    if (error) *error = why;
    return false;
}

bool CalcBook::IsLegacyFile(std::string_view bytes) {
    return host::HasLegacyMagic(bytes);
}

bool CalcSheet::SaveCsv(std::ostream& out, char separator) {
    int columns = 0;
    int rows = 0;
    GetUsedSize(columns, rows);
    std::string text;
    CsvWriter writer(text, separator);
    std::u16string field;
    std::string ascii;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            if (ReadCellValueAscii(column, row, ascii)) {
                writer.AsciiField(ascii);
            } else {
                ReadCellValueText(column, row, field);
                writer.Field(field);
            }
        }
        writer.EndRecord();
        // A large sheet goes out in pieces rather than as one text of its whole size.
        if (text.size() >= (1u << 16)) {
            out.write(text.data(), std::streamsize(text.size()));
            text.clear();
        }
    }
    out.write(text.data(), std::streamsize(text.size()));
    out.flush();
    return bool(out);
}

}  // namespace ostrel
