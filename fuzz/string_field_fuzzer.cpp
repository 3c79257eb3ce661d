// SPDX-License-Identifier: Apache-2.0
// The string field reader on arbitrary bytes: every count, counts beyond the stream and
// streams that end inside a count.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "formats/string_field.h"
#include "ostrel/platform/archive.h"
#include "platform/names.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> copy(data, data + size);
    CMemFile file(copy.data(), copy.size());
    CArchive ar(&file, CArchive::load);
    try {
        while (ar.GetBytesLeft() > 0)
            delete[] ReadString(nullptr, ar);
    } catch (const CArchiveException&) {
    }
    return 0;
}
