// SPDX-License-Identifier: Apache-2.0
// An item's dependents block (CCItem::Read) on arbitrary bytes: the length is checked against
// the stream, the packed references unpacked and used.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "facade/host_sheet.h"
#include "ostrel/platform/archive.h"
#include "ostrel/refs/ref_list.h"
#include "platform/names.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static ostrel::host::HostSheet sheet;
    std::vector<uint8_t> copy(data, data + size);
    CMemFile file(copy.data(), copy.size());
    CArchive ar(&file, CArchive::load);
    ostrel::host::HostCell item(1, 1);
    try {
        while (ar.GetBytesLeft() > 0) {
            item.CCItem::Read(sheet.GetCTX(), ar);
            CCRefList* list = item.LoadDependents(sheet.GetCTX());
            RefListFree(list, 0);
            CMemFile back;
            CArchive store(&back, CArchive::store);
            item.CCItem::Write(sheet.GetCTX(), store);
        }
    } catch (const CArchiveException&) {
    }
    return 0;
}
