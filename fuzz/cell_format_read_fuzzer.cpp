// SPDX-License-Identifier: Apache-2.0
// Cell formats read from arbitrary archive bytes, one after another until the stream ends or
// is refused. Each format read must store back to bytes that read as the same format (what
// is stored must not depend on what was interned before), and goes through the algebra with
// the format read before it and through the process-wide cell format table.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "formats/format_code_cache.h"
#include "ostrel/formats/cell_format.h"
#include "ostrel/formats/cell_format_table.h"
#include "ostrel/platform/archive.h"
#include "platform/names.h"

namespace {

CCCellFormat StoreAndReload(const CCCellFormat& f) {
    CMemFile out;
    {
        CArchive ar(&out, CArchive::store);
        f.Write(ar);
        ar.Flush();
    }
    std::vector<uint8_t> bytes(out.Data(), out.Data() + out.GetLength());
    CMemFile in(bytes.data(), bytes.size());
    CArchive ar(&in, CArchive::load);
    CCCellFormat back;
    back.Read(ar);
    return back;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A fresh cache per input keeps the codes of earlier inputs from piling up.
    CFormatCodeCache::Create();
    std::vector<uint8_t> copy(data, data + size);
    CMemFile file(copy.data(), copy.size());
    CArchive ar(&file, CArchive::load);
    CCCellFormat previous;
    previous.InitDefault();
    try {
        while (ar.GetBytesLeft() > 0) {
            CCCellFormat f;
            f.Read(ar);
            if (!StoreAndReload(f).IsSame(f)) __builtin_trap();

            CCCellFormatTable& shared = GetCellFormatTable();
            int index = shared.Add(f);
            if (!shared.GetAt(index)->IsSame(f)) __builtin_trap();
            if (f.IsEqual(f) != 1) __builtin_trap();

            unsigned short conflicts = 0;
            CCCellFormat merged = previous;
            merged.Merge(f, conflicts);
            merged.Merge(f, previous);
            merged.Clear(f);
            CCCellFormat out;
            f.flattern(previous, out);
            f.extractCommons(previous, out);
            f.substract(previous, out);
            out.mergeCommons(f);
            previous = f;
        }
    } catch (const CArchiveException&) {
    }
    CFormatCodeCache::Destroy();
    return 0;
}
