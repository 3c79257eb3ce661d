// SPDX-License-Identifier: Apache-2.0
// Formula text from arbitrary bytes: every pair of bytes is one UTF-16 unit, parsed with
// primary and with alternate function names, in the invariant locale and with German
// separators, against a sheet that reads A1 references. Whatever is built is freed.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "facade/host_sheet.h"
#include "ostrel/formula/formula.h"
#include "ostrel/formula/parser.h"
#include "ostrel/functions/func.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool initialised = (InitBuiltinFunctions(), true);
    (void)initialised;
    static ostrel::host::HostSheet invariant;
    static ostrel::host::HostSheet german("de_DE");

    // Exactly the units and the terminator, so that any read past it is caught.
    std::vector<char16_t> text(size / 2 + 1);
    for (size_t i = 0; i + 1 < size; i += 2)
        text[i / 2] = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    text[size / 2] = 0;

    for (ostrel::host::HostSheet* sheet : {&invariant, &german}) {
        for (int alternate : {0, 1}) {
            delete ParseFormula(sheet->GetCTX(), text.data(), alternate);
        }
    }
    return 0;
}
