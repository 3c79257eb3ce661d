// SPDX-License-Identifier: Apache-2.0
#include "ostrel/formula/lctx.h"

#include "ostrel/platform/zmk/environment.h"

namespace cells {

LCTX* invariant_LCTX() {
    static zmk::multilang::CLegacyLocaleContext context(
        zmk::globals::global_environment().locales_cache().invariant());
    static LCTX lctx{&context};
    return &lctx;
}

}  // namespace cells
