// SPDX-License-Identifier: Apache-2.0
/// \file
/// Counts the live instances of a few engine classes, so that tests can see a leak of items,
/// formulas, references, values or cell formats as a number, also where a pool would keep
/// the leaked memory reachable. Builds with tests count (OSTREL_INSTANCE_COUNTERS, set by
/// CMake for the library and everything that includes its headers); the benchmark build
/// does not, and there Live() reads -1.
#pragma once

#include <atomic>

#include "ostrel/export.h"

namespace ostrel::debug {

/// Exported although a template: the count of a class is one object for the whole process,
/// shared by the library and the host, since one side may make an object the other destroys.
template <class T>
class OSTREL_API CInstanceCounter {
public:
#if OSTREL_INSTANCE_COUNTERS
    /// Relaxed: a count is only read once the work being checked has finished, and formulas
    /// may be parsed on more than one thread.
    CInstanceCounter() {
        s_live.fetch_add(1, std::memory_order_relaxed);
    }
    CInstanceCounter(const CInstanceCounter&) {
        s_live.fetch_add(1, std::memory_order_relaxed);
    }
    CInstanceCounter& operator=(const CInstanceCounter&) = default;
    ~CInstanceCounter() {
        s_live.fetch_sub(1, std::memory_order_relaxed);
    }
    static long Live() {
        return s_live.load(std::memory_order_relaxed);
    }

private:
    static inline std::atomic<long> s_live{0};
#else
    static long Live() {
        return -1;
    }
#endif
};

}  // namespace ostrel::debug
