// SPDX-License-Identifier: Apache-2.0
// Debug builds count the live instances of a few engine classes, so that tests can see a
// leak of items, formulas, references, values or cell formats as a number.
#pragma once

#include <cstddef>

namespace ostrel::debug {

template <class T>
class CInstanceCounter {
public:
#ifndef NDEBUG
    CInstanceCounter() {
        ++s_live;
    }
    CInstanceCounter(const CInstanceCounter&) {
        ++s_live;
    }
    CInstanceCounter& operator=(const CInstanceCounter&) = default;
    ~CInstanceCounter() {
        --s_live;
    }
    static long Live() {
        return s_live;
    }

private:
    static inline long s_live = 0;
#else
    static long Live() {
        return -1;
    }
#endif
};

}  // namespace ostrel::debug
