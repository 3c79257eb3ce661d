// SPDX-License-Identifier: Apache-2.0
#include "engine/manager_registry.h"

#include <unordered_map>

namespace ostrel::engine {

namespace {
struct Registry {
    std::unordered_map<uint32_t, CCCellManager*> managers;
    uint64_t next = 0;
    // The last identity found: recalculation asks for the same sheet cell after cell.
    uint32_t lastIdentity = 0;
    CCCellManager* lastManager = nullptr;
};
Registry& Instance() {
    static Registry* registry = new Registry;  // outlives managers destroyed at exit
    return *registry;
}
}  // namespace

uint32_t RegisterManager(CCCellManager* manager) {
    Registry& r = Instance();
    // Low half 256..65535, high half counting up: about four billion identities before a
    // number would come round again.
    constexpr uint64_t kLowRange = 65536 - 256;
    uint64_t n = r.next++;
    uint32_t identity =
        static_cast<uint32_t>(((n / kLowRange) & 0xFFFF) << 16 | (256 + n % kLowRange));
    r.managers[identity] = manager;
    return identity;
}

void UnregisterManager(uint32_t identity) {
    Registry& r = Instance();
    r.managers.erase(identity);
    if (r.lastIdentity == identity) {
        r.lastIdentity = 0;
        r.lastManager = nullptr;
    }
}

CCCellManager* FindManager(uint32_t identity) {
    Registry& r = Instance();
    if (identity != 0 && identity == r.lastIdentity) return r.lastManager;
    auto it = r.managers.find(identity);
    if (it == r.managers.end()) return nullptr;
    r.lastIdentity = identity;
    r.lastManager = it->second;
    return it->second;
}

}  // namespace ostrel::engine
