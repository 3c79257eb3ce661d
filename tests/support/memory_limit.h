// SPDX-License-Identifier: Apache-2.0
// Runs part of a test in a child process that may allocate only so much more memory, so that
// a regression to unbounded memory fails the test instead of exhausting the machine. Normally
// the child's address space is capped (RLIMIT_AS). Under AddressSanitizer, whose shadow memory
// reserves terabytes of address space, the child instead checks the sanitizer's count of
// allocated bytes at every allocation and stops once it passes the budget.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace testing_support {

struct LimitedRun {
    bool finished = false;  // f returned normally within the budget
    std::string outcome;    // what happened instead, for the failure message
};

// Runs f in a forked child that may allocate at most `budget` bytes beyond what the process
// holds when f starts. Failed expectations inside f are not seen by the test: f reports a
// wrong result by throwing, and its exception's text comes back in the outcome.
LimitedRun RunWithMemoryLimit(size_t budget, const std::function<void()>& f);

// Whether an allocation past the budget fails as it would on a machine out of memory (it
// throws std::bad_alloc), so that f can show how it copes; false under AddressSanitizer,
// where the child is ended instead.
bool MemoryLimitFailsAllocations();

}  // namespace testing_support
