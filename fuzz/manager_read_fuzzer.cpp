// SPDX-License-Identifier: Apache-2.0
// The cell manager's block (CCCellManager::Read: protection, password, document items) on
// arbitrary bytes; what was read is written back and its items' dependents unpacked.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "facade/host_sheet.h"
#include "ostrel/engine/doc_item.h"
#include "ostrel/platform/archive.h"
#include "ostrel/refs/ref_list.h"
#include "platform/names.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ostrel::host::HostSheet sheet;
    std::vector<uint8_t> copy(data, data + size);
    CMemFile file(copy.data(), copy.size());
    CArchive ar(&file, CArchive::load);
    try {
        sheet.Read(ar);
    } catch (const CArchiveException&) {
    }
    for (int type = 0; type < 32; ++type) {
        if (CCCellManager::CCDocItem* item =
                sheet.GetDocumentItem(CCDocumentRef::ECDocRefType(type)))
            RefListFree(item->LoadDependents(sheet.GetCTX()), 0);
    }
    CMemFile back;
    CArchive store(&back, CArchive::store);
    sheet.Write(store);
    return 0;
}
