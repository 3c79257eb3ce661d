// SPDX-License-Identifier: Apache-2.0
// The locale a number format prints with: the context's, or the invariant one for a null
// context (internal to the number format's files).
#pragma once

#include "ostrel/formula/lctx.h"

namespace number_format_detail {

inline const zmk::multilang::CLegacyLocaleContext& LocaleOf(cells::LCTX* lctx) {
    if (lctx == nullptr || lctx->lctx == nullptr) lctx = cells::invariant_LCTX();
    return *lctx->lctx;
}

}  // namespace number_format_detail
