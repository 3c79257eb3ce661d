// SPDX-License-Identifier: Apache-2.0
/// \file
/// The per-call context that the host implements and owns: every operation on cells,
/// formulas, references and formats takes one and passes it on.
#pragma once

#include "ostrel/export.h"
#include "ostrel/formula/lctx.h"

class CCCellManager;

namespace cells {

class OSTREL_API CTX {
public:
    virtual ~CTX() = default;
    /// The locale context of scanning and printing for this call.
    virtual LCTX* GetLCTX() = 0;
    /// The document on whose behalf the call runs.
    virtual CCCellManager* GetManager() = 0;
};

/// The manager a call runs for; null for a missing context or one without a manager.
inline CCCellManager* ManagerOf(CTX* ctx) {
    return ctx ? ctx->GetManager() : nullptr;
}

}  // namespace cells
