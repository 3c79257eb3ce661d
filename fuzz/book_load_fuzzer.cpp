// SPDX-License-Identifier: Apache-2.0
// The workbook file loader on arbitrary bytes. A file that begins with the magic has its
// checksum made right first, so that the parts behind it are what the fuzzer explores; a
// workbook that loads is calculated, shown, saved and loaded again.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "facade/book_layout.h"
#include "formats/lt_strings.h"
#include "ostrel/calc_book.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    if (bytes.size() >= 16 && ostrel::CalcBook::IsBookFile(bytes)) {
        const uint32_t sum =
            ostrel::host::BookChecksum(std::string_view(bytes).substr(0, bytes.size() - 4));
        for (size_t i = 0; i < 4; ++i)
            bytes[bytes.size() - 4 + i] = char(uint8_t(sum >> (8 * i)));
    }
    std::unique_ptr<ostrel::CalcBook> book = ostrel::CalcBook::LoadBookBytes(bytes, "");
    if (!book) return 0;
    book->RecalculateAll();
    for (size_t i = 0; i < book->SheetCount(); ++i) {
        int columns = 0, rows = 0;
        book->Sheet(i)->GetUsedSize(columns, rows);
        for (int row = 0; row < rows && row < 64; ++row)
            for (int column = 0; column < columns; ++column)
                book->Sheet(i)->GetCellValueText(column, row);
    }
    std::string again;
    if (book->SaveBookBytes(again)) ostrel::CalcBook::LoadBookBytes(again, "");
    // Unit texts a file adds stay in the module's list; the next input starts from the
    // defaults.
    InitLTStrings();
    return 0;
}
