// SPDX-License-Identifier: Apache-2.0
// What every sheet does the same way, whoever implements the interface.
#include <ostream>
#include <string>

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

bool CalcSheet::SaveCsv(std::ostream& out, char separator) {
    int columns = 0;
    int rows = 0;
    GetUsedSize(columns, rows);
    std::string text;
    CsvWriter writer(text, separator);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column)
            writer.Field(GetCellValueText(column, row));
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
