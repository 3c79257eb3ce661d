// SPDX-License-Identifier: Apache-2.0
// Typed cell input on arbitrary text: every pair of bytes is one UTF-16 unit, parsed in the
// invariant locale and with German conventions, where "," and "." swap their roles.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "ostrel/cells/cell_value.h"
#include "ostrel/engine/ctx.h"
#include "ostrel/formula/formula.h"
#include "ostrel/formula/lctx.h"
#include "ostrel/formula/scanner.h"
#include "ostrel/platform/zmk/environment.h"

namespace {

class FuzzCtx : public cells::CTX {
public:
    explicit FuzzCtx(cells::LCTX* lctx) : m_lctx(lctx) {}
    cells::LCTX* GetLCTX() override { return m_lctx; }
    CCCellManager* GetManager() override { return nullptr; }

private:
    cells::LCTX* m_lctx;
};

cells::LCTX* German() {
    static zmk::multilang::CLegacyLocaleContext context(
        zmk::globals::global_environment().locales_cache().get("de_DE"));
    static cells::LCTX lctx{&context};
    return &lctx;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Exactly the units and the terminator, so that any read past it is caught.
    std::vector<char16_t> text(size / 2 + 1);
    for (size_t i = 0; i + 1 < size; i += 2)
        text[i / 2] = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    text[size / 2] = 0;

    for (cells::LCTX* lctx : {cells::invariant_LCTX(), German()}) {
        FuzzCtx ctx(lctx);
        CCCellValue value;
        CCFormula* formula = nullptr;
        _Parse(&ctx, text.data(), value, formula);
        delete formula;  // a parsed tree belongs to the caller
    }
    return 0;
}
