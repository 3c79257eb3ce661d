// SPDX-License-Identifier: Apache-2.0
// Number formats in the older four-byte archive form, read from arbitrary bytes until the
// stream ends; each is printed so that every kind and option byte reaches the printers.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "ostrel/formats/number_format.h"
#include "ostrel/formula/lctx.h"
#include "ostrel/platform/archive.h"
#include "ostrel/platform/wide_stream.h"
#include "platform/names.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> copy(data, data + size);
    CMemFile file(copy.data(), copy.size());
    CArchive ar(&file, CArchive::load);
    cells::LCTX* lctx = cells::invariant_LCTX();
    try {
        while (ar.GetBytesLeft() > 0) {
            CCNumberFormat f;
            f.ReadA(ar);
            CWideOutStream out;
            for (double v : {0.0, 0.3, -2.5, 1e20, 73050.999999})
                for (int full : {0, 1})
                    f.Print(lctx, out, v, full);
            f.convertToFormatString(lctx);
        }
    } catch (const CArchiveException&) {
    }
    return 0;
}
