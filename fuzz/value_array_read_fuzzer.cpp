// SPDX-License-Identifier: Apache-2.0
// Value arrays (ReadValueArray) on arbitrary bytes: counts are checked before allocation and
// a partly read array is freed.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "ostrel/cells/cell_value.h"
#include "ostrel/platform/archive.h"
#include "ostrel/platform/ptr_array.h"
#include "platform/names.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> copy(data, data + size);
    CMemFile file(copy.data(), copy.size());
    CArchive ar(&file, CArchive::load);
    CPtrArray values;
    try {
        while (ar.GetBytesLeft() > 0) {
            ReadValueArray(nullptr, ar, values);
            FreeValueArray(values);
        }
    } catch (const CArchiveException&) {
    } catch (const CInvalidArgException&) {
    }
    FreeValueArray(values);
    return 0;
}
