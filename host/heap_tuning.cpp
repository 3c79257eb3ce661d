// SPDX-License-Identifier: Apache-2.0
#include "heap_tuning.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#if defined(__GLIBC__) && defined(__linux__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace ostrel {

#if defined(__GLIBC__) && defined(__linux__)

namespace {
constexpr size_t kHugePage = size_t(2) << 20;
// Address space only: untouched pages cost no memory.
constexpr size_t kHeapReserve = size_t(512) << 20;
// Huge pages for the first part of the heap only. Under a hypervisor that takes back the
// guest's free huge blocks, each huge page touched after a large process has ended costs
// the host's faults again: beyond a sheet of this size they cost more than they save.
constexpr size_t kHugeReach = size_t(64) << 20;
}  // namespace

// A sheet of 50,000 rows fills about 100 MB with small objects. On a virtual machine each
// first touch of a 4 KiB page is a trap costing microseconds, a fifth of such a run. The
// heap is therefore grown once by a large reserve, kept (never trimmed, so the advice stays
// on one mapping), and advised to use huge pages; large blocks come from it too instead of
// separate mappings that would be faulted in again after every reallocation. Where the
// kernel declines the advice, the settings still spare the repeated growth and trimming.
void TuneHeapForLargeSheets() {
    if (mallopt(M_TOP_PAD, static_cast<int>(kHeapReserve)) == 0) return;
    // The thread that reads the input would otherwise get an arena of its own, and the
    // memory of the texts it hands over, freed by the typing thread, would go back there,
    // never to serve the cells: 9 MB more at the peak of a 6 MB file. It allocates a piece
    // at a time, so the two seldom meet at the one arena's lock.
    mallopt(M_ARENA_MAX, 1);
    mallopt(M_TRIM_THRESHOLD, static_cast<int>(kHeapReserve));
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    // A block larger than what is free now grows the heap, by the reserve.
    void* probe = std::malloc(kHugePage);
    if (!probe) return;
    const auto start = reinterpret_cast<uintptr_t>(probe);
    const auto end = reinterpret_cast<uintptr_t>(sbrk(0));
    std::free(probe);
    const uintptr_t first = (start + kHugePage - 1) & ~(kHugePage - 1);
    const uintptr_t last = std::min(end, first + kHugeReach) & ~(kHugePage - 1);
    if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

#else

void TuneHeapForLargeSheets() {}

#endif

}  // namespace ostrel
