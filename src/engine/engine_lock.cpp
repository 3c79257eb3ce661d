// SPDX-License-Identifier: Apache-2.0
#include "ostrel/engine/engine_lock.h"

#include <mutex>

namespace ostrel {

namespace {
std::recursive_mutex& EngineMutex() {
    static std::recursive_mutex mutex;
    return mutex;
}
}  // namespace

EngineLock::EngineLock() {
    EngineMutex().lock();
}

EngineLock::~EngineLock() {
    EngineMutex().unlock();
}

}  // namespace ostrel
