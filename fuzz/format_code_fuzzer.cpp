// SPDX-License-Identifier: Apache-2.0
// Format codes from arbitrary bytes: the first eight bytes are a value, the rest a code in
// UTF-16 (little-endian). The code is parsed and renders that value and a few fixed ones;
// a render may not crash, read out of bounds or write more than a bound set by the code's
// length (a finding traps).
#include <cfloat>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "formats/excel_number_format.h"
#include "ostrel/formula/lctx.h"
#include "ostrel/platform/wide_stream.h"
#include "platform/names.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    double value = 0;
    if (size >= sizeof value) {
        std::memcpy(&value, data, sizeof value);
        data += sizeof value;
        size -= sizeof value;
    }
    std::u16string code(size / 2, u'\0');
    for (size_t i = 0; i < code.size(); ++i)
        code[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    auto parsed = ParseExcelNumberFormat(code);
    size_t read = std::min(code.size(), CExcelNumberFormat::kMaxCodeLength);
    size_t bound = 128 * read + 1024;
    cells::LCTX* lctx = cells::invariant_LCTX();
    for (double v : {value, 0.0, -1.5, 1234.5678, 45365.75, 59.5, 1e300, -DBL_MAX, 4.9e-324}) {
        CWideOutStream out;
        parsed->Render(lctx, v, out);
        if (out.size() > bound) __builtin_trap();
    }
    return 0;
}
