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
// One entry per function (13044 to 13305): the primary name, then the function wizard's
// texts, separated by line feeds.
extern const Entry kFunctionTexts[];
extern const size_t kFunctionTextCount;
// The invariant name of each function by the same numbers.
extern const Entry kFunctionAlternateNames[];
extern const size_t kFunctionAlternateNameCount;

}  // namespace ostrel::resources
