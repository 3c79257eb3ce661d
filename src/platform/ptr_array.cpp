// SPDX-License-Identifier: Apache-2.0
#include "ostrel/platform/ptr_array.h"

// Compiled once here rather than in every user of the array.
template class ostrel::CTypedArray<void*>;
