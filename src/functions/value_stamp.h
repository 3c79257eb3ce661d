// SPDX-License-Identifier: Apache-2.0
// Where a structure derived from a document's values (a lookup index, running sums) stands
// in the document's record of stored values: behind by the changes after its sequence
// number, and out of date altogether once either epoch moved.
#pragma once

#include <cstdint>

#include "ostrel/engine/value_changes.h"

namespace ostrel::functions {

struct ValueStamp {
    uint64_t sequence = 0;
    uint64_t epoch = 0;
    uint64_t globalEpoch = 0;

    // Neither the document's epoch nor the process-wide one moved since the stamp.
    bool SameEpochs(const engine::ValueChanges& changes) const {
        return epoch == changes.Epoch() && globalEpoch == engine::ValueChanges::GlobalEpoch();
    }
    bool Current(const engine::ValueChanges& changes) const {
        return sequence == changes.Sequence();
    }
    void Take(const engine::ValueChanges& changes) {
        sequence = changes.Sequence();
        epoch = changes.Epoch();
        globalEpoch = engine::ValueChanges::GlobalEpoch();
    }
};

}  // namespace ostrel::functions
