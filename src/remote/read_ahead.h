// SPDX-License-Identifier: Apache-2.0
// The values of open remote references that a document fetched ahead of its formulas'
// reading, so that a range of another document is read with one request per few thousand
// values instead of one per value. Handles are the serving document's, so a batch is known
// by the document's name and the handle; opening or closing a handle drops its batch.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "ostrel/cells/cell_value.h"
#include "ostrel/remote/transport_interface.h"

struct CCTransportInterface::ReadAhead {
    struct Batch {
        std::u16string document;
        uint16_t handle = 0;
        std::vector<CCCellValue> values;
        size_t next = 0;
        bool single = false;  // the server answers one value at a time
    };
    // A handful of references open at once (SUMPRODUCT over two ranges): a walk will do.
    std::vector<Batch> batches;

    Batch* Find(std::u16string_view document, uint16_t handle) {
        for (Batch& b : batches)
            if (Is(b, document, handle)) return &b;
        return nullptr;
    }
    void Drop(std::u16string_view document, uint16_t handle) {
        std::erase_if(batches, [&](const Batch& b) { return Is(b, document, handle); });
    }

private:
    // Asked once for every value read: the names are compared as bytes, not unit by unit.
    static bool Is(const Batch& b, std::u16string_view document, uint16_t handle) {
        return b.handle == handle && b.document.size() == document.size() &&
               std::memcmp(b.document.data(), document.data(),
                           document.size() * sizeof(char16_t)) == 0;
    }
};
