// SPDX-License-Identifier: Apache-2.0
// CCDoubleArray::Serialize on arbitrary bytes: the count is checked against the stream
// before anything is allocated.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "cells/double_array.h"
#include "ostrel/platform/archive.h"
#include "platform/names.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> copy(data, data + size);
    CMemFile file(copy.data(), copy.size());
    CArchive ar(&file, CArchive::load);
    CCDoubleArray values;
    try {
        while (ar.GetBytesLeft() > 0)
            values.Serialize(ar);
    } catch (const CArchiveException&) {
    }
    return 0;
}
