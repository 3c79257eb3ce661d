// SPDX-License-Identifier: Apache-2.0
// The generator of the random-number functions: a private 15-bit linear congruential
// generator (never the C library's shared one, which a host may reseed or use itself). The
// registry seeds it from the clock the first time it is set up.
#pragma once

#include <cstdint>

// The largest value FunctionRand15 returns.
constexpr int kFunctionRandMax = 0x7FFF;

// The next value, 0 to kFunctionRandMax.
int FunctionRand15();
// Restarts the sequence from seed (tests use it for repeatable sequences).
void SeedFunctionRandom(uint64_t seed);
// Seeds only on the first call in the process; later calls change nothing, so that setting
// the registry up again does not restart the sequence.
void SeedFunctionRandomOnce(uint64_t seed);
