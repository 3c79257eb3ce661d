// SPDX-License-Identifier: Apache-2.0
/// \file
/// The locale context of scanning and printing: the locale library's context object through
/// which every separator, sign, month name and AM/PM word is read.
#pragma once

#include "ostrel/export.h"
#include "ostrel/platform/zmk/legacy_locale_context.h"

namespace cells {

struct OSTREL_API LCTX {
    zmk::multilang::CLegacyLocaleContext* lctx = nullptr;

    const zmk::multilang::CLegacyLocaleContext* operator->() const { return lctx; }
};

/// One process-wide context over the invariant locale, built on first use.
OSTREL_API LCTX* invariant_LCTX();

}  // namespace cells
