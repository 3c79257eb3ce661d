// SPDX-License-Identifier: Apache-2.0
// A check that every test frees the engine objects it made: the items, formulas, references
// and values alive when a test ends must be those alive when it started. It sees what a pool
// would keep reachable from a leak checker, in every build with instance counters.
#pragma once

#include <gtest/gtest.h>

namespace testing_support {

// A listener for GoogleTest's event list, which takes ownership of it.
::testing::TestEventListener* NewLeakCheck();

}  // namespace testing_support
