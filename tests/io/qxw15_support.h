// SPDX-License-Identifier: Apache-2.0
// Byte builders for tests of the legacy records.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ostrel/io/qxw15_exchange.h"

namespace qxw15_testing {

inline void Put32(std::vector<uint8_t>& bytes, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes.push_back(uint8_t(value >> (8 * i)));
}

// A tagged operation record up to its arguments: placeholder value, name, argument count.
inline void PutOpHead(std::vector<uint8_t>& bytes, const std::string& name, uint32_t args) {
    bytes.insert(bytes.end(), {1, CCQXW15Exchange::kValuePlaceholder, 0, 0, 0, 0, 0, 0, 0, 0});
    Put32(bytes, 0);
    bytes.push_back(uint8_t(name.size()));
    bytes.insert(bytes.end(), name.begin(), name.end());
    Put32(bytes, args);
}

}  // namespace qxw15_testing
