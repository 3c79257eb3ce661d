// SPDX-License-Identifier: Apache-2.0
#include "functions/random.h"

#include <atomic>

namespace {

std::atomic<uint32_t> g_state{1};
std::atomic<bool> g_seeded{false};

uint32_t Step(uint32_t x) {
    return x * 214013u + 2531011u;
}

}  // namespace

int FunctionRand15() {
    uint32_t current = g_state.load(std::memory_order_relaxed);
    uint32_t next = Step(current);
    // Every caller gets its own step of the sequence, also when evaluations run in parallel.
    while (!g_state.compare_exchange_weak(current, next, std::memory_order_relaxed))
        next = Step(current);
    return int((next >> 16) & 0x7FFF);
}

void SeedFunctionRandom(uint64_t seed) {
    g_state.store(uint32_t(seed ^ (seed >> 32)), std::memory_order_relaxed);
    g_seeded.store(true, std::memory_order_relaxed);
}

void SeedFunctionRandomOnce(uint64_t seed) {
    bool expected = false;
    if (g_seeded.compare_exchange_strong(expected, true, std::memory_order_relaxed))
        g_state.store(uint32_t(seed ^ (seed >> 32)), std::memory_order_relaxed);
}
