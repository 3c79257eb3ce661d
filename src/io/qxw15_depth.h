// SPDX-License-Identifier: Apache-2.0
// Bounds of the legacy record reader: one nesting depth for formulas and coordinates (a
// query's conditions hold formulas, which hold references, which hold queries), and counts
// checked against the bytes left before anything is read for them.
#pragma once

#include <cstdint>

namespace ostrel::platform {
class CArchive;
}  // namespace ostrel::platform

namespace ostrel::io {

// Held while one nested record is read; the bad-format exception past the deepest level.
class QXW15DepthGuard {
public:
    QXW15DepthGuard();
    ~QXW15DepthGuard() { --s_depth; }
    QXW15DepthGuard(const QXW15DepthGuard&) = delete;
    QXW15DepthGuard& operator=(const QXW15DepthGuard&) = delete;

private:
    static thread_local int s_depth;
};

// A u32 count whose entries take at least leastBytesEach bytes each; the bad-format
// exception when the stream cannot hold that many.
uint32_t ReadQXW15Count(ostrel::platform::CArchive& ar, uint64_t leastBytesEach);

}  // namespace ostrel::io
