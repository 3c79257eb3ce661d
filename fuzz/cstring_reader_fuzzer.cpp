// SPDX-License-Identifier: Apache-2.0
// The framework string reader on arbitrary bytes: tagged and untagged forms, every length
// prefix, lengths beyond the stream.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "ostrel/platform/archive.h"
#include "platform/names.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> copy(data, data + size);
    CMemFile file(copy.data(), copy.size());
    CArchive ar(&file, CArchive::load);
    try {
        while (ar.GetBytesLeft() > 0)
            ar.ReadCString();
    } catch (const CArchiveException&) {
    }
    return 0;
}
