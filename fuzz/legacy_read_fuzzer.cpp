// SPDX-License-Identifier: Apache-2.0
// The legacy records on arbitrary bytes. Bytes that begin with the legacy file's magic are
// loaded as a file (its checksum made right first, so that the cells behind it are what is
// explored), then saved and loaded again. Any other bytes are cell records, each followed
// by a number format record: what reads is written back, and its formula converted to the
// engine's tree, printed and converted again.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "facade/book_layout.h"
#include "facade/host_sheet.h"
#include "formats/lt_strings.h"
#include "ostrel/calc_book.h"
#include "ostrel/formula/formula.h"
#include "ostrel/io/qxw15_convert.h"
#include "ostrel/io/qxw15_exchange.h"
#include "ostrel/platform/archive.h"
#include "ostrel/platform/wide_stream.h"
#include "platform/names.h"

namespace {

using X = CCQXW15Exchange;

void LoadFile(std::string bytes) {
    if (bytes.size() >= 14) {
        const uint32_t sum =
            ostrel::host::BookChecksum(std::string_view(bytes).substr(0, bytes.size() - 4));
        for (size_t i = 0; i < 4; ++i)
            bytes[bytes.size() - 4 + i] = char(uint8_t(sum >> (8 * i)));
    }
    std::unique_ptr<ostrel::CalcBook> book = ostrel::CalcBook::LoadLegacyBytes(bytes, "");
    if (!book) return;
    std::string again;
    if (book->SaveLegacyBytes(again)) ostrel::CalcBook::LoadLegacyBytes(again, "");
}

void ReadRecords(const uint8_t* data, size_t size) {
    static ostrel::host::HostSheet sheet;
    std::vector<uint8_t> copy(data, data + size);
    CMemFile file(copy.data(), copy.size());
    CArchive ar(&file, CArchive::load);
    CCQXW15Convert convert(&sheet);
    try {
        while (ar.GetBytesLeft() > 0) {
            X::CCQXW15_Cell cell;
            cell.Read(ar);
            X::CCQXW15_NumberFormat format;
            format.Read(ar);
            CCNumberFormat engineFormat;
            convert.ConvertTo95(format, engineFormat);
            CMemFile back;
            CArchive store(&back, CArchive::store);
            cell.Write(store);
            format.Write(store);
            const CPoint origin(1 + int(size % 256), 1 + int(size % 4096));
            std::unique_ptr<CCFormula> formula(convert.ConvertTo95(cell.m_formula, &origin));
            if (!formula) continue;
            CWideOutStream out;
            formula->Print(sheet.GetCTX(), out, 0);
            delete convert.ConvertTo15(formula.get(), &origin);
        }
    } catch (const CArchiveException&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    if (ostrel::CalcBook::IsLegacyFile(bytes))
        LoadFile(bytes);
    else
        ReadRecords(data, size);
    // Unit texts the records add stay in the module's list; the next input starts from the
    // defaults.
    InitLTStrings();
    return 0;
}
