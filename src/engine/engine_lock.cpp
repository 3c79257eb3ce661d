// SPDX-License-Identifier: Apache-2.0
#include "ostrel/engine/engine_lock.h"

#include <atomic>
#include <cstddef>
#include <mutex>
#include <thread>

namespace ostrel {

// Recursive by an owner and a depth rather than a recursive mutex: a host that holds the
// lock across a file's cells takes it again in every facade call, and here that costs a
// comparison instead of a pass through the mutex. Only the owner stores its own id, so a
// thread that reads its id back owns the lock; any other reads something else.
namespace {
struct Engine {
    std::mutex mutex;
    std::atomic<std::thread::id> owner{};
    size_t depth = 0;  // touched by the owner only
};
Engine& TheEngine() {
    static Engine engine;
    return engine;
}
}  // namespace

EngineLock::EngineLock() {
    Engine& engine = TheEngine();
    const std::thread::id self = std::this_thread::get_id();
    if (engine.owner.load(std::memory_order_relaxed) == self) {
        ++engine.depth;
        return;
    }
    engine.mutex.lock();
    engine.owner.store(self, std::memory_order_relaxed);
    engine.depth = 1;
}

EngineLock::~EngineLock() {
    Engine& engine = TheEngine();
    if (--engine.depth != 0) return;
    engine.owner.store(std::thread::id(), std::memory_order_relaxed);
    engine.mutex.unlock();
}

}  // namespace ostrel
