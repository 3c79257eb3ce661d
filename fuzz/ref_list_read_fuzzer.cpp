// SPDX-License-Identifier: Apache-2.0
// Reference lists (RefListRead) on arbitrary bytes: every reference class, nested
// sheet-qualified references refused; what is read prints and writes back.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "facade/host_sheet.h"
#include "ostrel/platform/archive.h"
#include "ostrel/platform/wide_stream.h"
#include "ostrel/refs/ref.h"
#include "ostrel/refs/ref_list.h"
#include "platform/names.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static ostrel::host::HostSheet sheet;
    std::vector<uint8_t> copy(data, data + size);
    CMemFile file(copy.data(), copy.size());
    CArchive ar(&file, CArchive::load);
    try {
        while (ar.GetBytesLeft() > 0) {
            CCRefList* list = RefListRead(sheet.GetCTX(), ar);
            CWideOutStream out;
            for (CCRefList* node = list; node; node = node->m_pNext) {
                node->m_pRef->Print(sheet.GetCTX(), out, 15);
                node->m_pRef->Compare(list->m_pRef);
            }
            CMemFile back;
            CArchive store(&back, CArchive::store);
            RefListWrite(sheet.GetCTX(), list, store);
            RefListFree(list, 1);
        }
    } catch (const CArchiveException&) {
    }
    return 0;
}
