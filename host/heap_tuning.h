// SPDX-License-Identifier: Apache-2.0
// How the command-line program asks the C library and the kernel for its heap.
#pragma once

namespace ostrel {

// Lets the heap grow in large steps backed by huge pages where the system offers them, so
// that a large sheet is not built one 4 KiB page fault at a time. Harmless where the C
// library or the kernel does not offer it.
void TuneHeapForLargeSheets();

}  // namespace ostrel
