// Between the registry's table of entries and its lookups.
#pragma once

#include <cstddef>

class CCFunc;

// Initialises every entry and stores the listed ones (operators first, then functions in
// table order) into listed; returns how many were stored.
size_t SetUpBuiltinEntries(CCFunc** listed, size_t capacity);
// Every entry set up, listed or not.
size_t BuiltinEntryCount();
