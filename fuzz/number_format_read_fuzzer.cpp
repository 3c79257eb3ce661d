// SPDX-License-Identifier: Apache-2.0
// Number formats read from arbitrary archive bytes, one after another until the stream ends
// or is refused; each format read is then printed, compared and converted to a code, so
// that any kind, option byte and slot a stream can hold goes through the printers.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "formats/format_code_cache.h"
#include "ostrel/formats/number_format.h"
#include "ostrel/formula/lctx.h"
#include "ostrel/platform/archive.h"
#include "ostrel/platform/wide_stream.h"
#include "platform/names.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A fresh cache per input keeps the codes of earlier inputs from piling up.
    CFormatCodeCache::Create();
    std::vector<uint8_t> copy(data, data + size);
    CMemFile file(copy.data(), copy.size());
    CArchive ar(&file, CArchive::load);
    cells::LCTX* lctx = cells::invariant_LCTX();
    CCNumberFormat previous;
    try {
        while (ar.GetBytesLeft() > 0) {
            CCNumberFormat f;
            f.Read(ar);
            CWideOutStream out;
            for (double v : {0.0, 1.5, -1234.5678, 4.5e15, -1e300, 45000.75})
                for (int full : {0, 1})
                    f.Print(lctx, out, v, full);
            f.IsEqual(lctx, previous);
            f.convertToFormatString(lctx);
            previous = f;
        }
    } catch (const CArchiveException&) {
    }
    CFormatCodeCache::Destroy();
    return 0;
}
