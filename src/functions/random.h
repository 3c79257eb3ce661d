// The process-wide random generator of the random-number functions; the registry seeds it
// from the clock when it is set up.
#pragma once

#include <cstdint>
#include <random>

std::mt19937_64& FunctionRandomEngine();
void SeedFunctionRandom(uint64_t seed);
