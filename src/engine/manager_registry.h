// SPDX-License-Identifier: Apache-2.0
// Identities of live cell managers, as sheet-qualified references store them: 32-bit keys
// whose low 16 bits are never below 256 (so they cannot be read as a pair of sheet
// indices), never reused, and resolving to nothing once the manager is destroyed.
#pragma once

#include <cstdint>

class CCCellManager;

namespace ostrel::engine {

uint32_t RegisterManager(CCCellManager* manager);
void UnregisterManager(uint32_t identity);
CCCellManager* FindManager(uint32_t identity);

}  // namespace ostrel::engine
