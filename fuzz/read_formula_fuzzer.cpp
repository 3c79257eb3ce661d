// SPDX-License-Identifier: Apache-2.0
// Formula trees (ReadFormula) on arbitrary bytes: each tree read is checked, evaluated,
// printed in both forms and written back.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "facade/host_sheet.h"
#include "ostrel/cells/cell_value.h"
#include "ostrel/formula/formula.h"
#include "ostrel/functions/func.h"
#include "ostrel/platform/archive.h"
#include "ostrel/platform/exceptions.h"
#include "ostrel/platform/wide_stream.h"
#include "platform/names.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool initialised = (InitBuiltinFunctions(), true);
    (void)initialised;
    static ostrel::host::HostSheet sheet;
    cells::CTX* ctx = sheet.GetCTX();
    std::vector<uint8_t> copy(data, data + size);
    CMemFile file(copy.data(), copy.size());
    CArchive ar(&file, CArchive::load);
    try {
        while (ar.GetBytesLeft() > 0) {
            std::unique_ptr<CCFormula> formula(ReadFormula(ctx, ar));
            if (!formula) continue;
            CWideOutStream out;
            formula->Print(ctx, out, 0);
            formula->Print2File(ctx, out, 0);
            CCCellValue value;
            EvalFormula(ctx, value, formula.get(), nullptr);
            CMemFile back;
            CArchive store(&back, CArchive::store);
            WriteFormula(ctx, store, formula.get());
        }
    } catch (const CArchiveException&) {
    }
    return 0;
}
