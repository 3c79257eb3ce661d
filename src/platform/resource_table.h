// SPDX-License-Identifier: Apache-2.0
// The pieces of the compiled-in string table, one array per group of texts.
#pragma once

#include <cstddef>

namespace ostrel::resources {

struct Entry {
    unsigned id;
    const char16_t* text;
};

// Messages, boolean words, category names, error texts, default unit texts.
extern const Entry kMessageTexts[];
extern const size_t kMessageTextCount;

}  // namespace ostrel::resources
