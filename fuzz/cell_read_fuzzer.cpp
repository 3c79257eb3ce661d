// SPDX-License-Identifier: Apache-2.0
// A whole cell (CCCell::Read: format, value, packed formula, dependents) on arbitrary bytes;
// what is read shows its texts and writes back.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "facade/host_sheet.h"
#include "ostrel/platform/archive.h"
#include "ostrel/platform/wide_stream.h"
#include "platform/names.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static ostrel::host::HostSheet sheet;
    std::vector<uint8_t> copy(data, data + size);
    CMemFile file(copy.data(), copy.size());
    CArchive ar(&file, CArchive::load);
    ostrel::host::HostCell cell(0, 0);
    try {
        while (ar.GetBytesLeft() > 0) {
            cell.Read(sheet.GetCTX(), ar);
            CWideOutStream out;
            cell.GetValueText(sheet.GetCTX(), out);
            cell.GetFormulaText(sheet.GetCTX(), out);
            CMemFile back;
            CArchive store(&back, CArchive::store);
            cell.Write(sheet.GetCTX(), store);
        }
    } catch (const CArchiveException&) {
    }
    return 0;
}
