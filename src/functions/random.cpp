#include "functions/random.h"

namespace {

std::mt19937_64& Engine() {
    static std::mt19937_64 engine;
    return engine;
}

}  // namespace

std::mt19937_64& FunctionRandomEngine() {
    return Engine();
}

void SeedFunctionRandom(uint64_t seed) {
    Engine().seed(seed);
}
