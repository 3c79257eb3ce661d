// SPDX-License-Identifier: Apache-2.0
// Optional values (ReadCellValue) on arbitrary bytes, each printed and written back.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "ostrel/cells/cell_value.h"
#include "ostrel/platform/archive.h"
#include "ostrel/platform/wide_stream.h"
#include "platform/names.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> copy(data, data + size);
    CMemFile file(copy.data(), copy.size());
    CArchive ar(&file, CArchive::load);
    try {
        while (ar.GetBytesLeft() > 0) {
            std::unique_ptr<CCCellValue> value(ReadCellValue(nullptr, ar));
            if (!value) continue;
            CWideOutStream out;
            value->Print(nullptr, out, 2);
            CMemFile back;
            CArchive store(&back, CArchive::store);
            value->Write(nullptr, store);
        }
    } catch (const CArchiveException&) {
    }
    return 0;
}
