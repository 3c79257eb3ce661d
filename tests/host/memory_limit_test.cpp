// SPDX-License-Identifier: Apache-2.0
// The memory limit other tests rely on: were it never to bite, their budgets would prove
// nothing.
#include "support/memory_limit.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <vector>

using testing_support::RunWithMemoryLimit;

TEST(MemoryLimit, StopsTheChildPastItsBudgetAndReportsItsOutcome) {
    constexpr size_t kBudget = size_t(64) << 20;
    const auto over = RunWithMemoryLimit(kBudget, [] {
        std::vector<std::unique_ptr<char[]>> blocks;
        for (int i = 0; i < 1024; ++i)  // 1 GB, each block written through
            blocks.push_back(std::make_unique<char[]>(size_t(1) << 20));
        if (blocks.size() != 1024) throw std::runtime_error("blocks went missing");
    });
    EXPECT_FALSE(over.finished) << over.outcome;

    const auto within = RunWithMemoryLimit(kBudget, [] {
        std::vector<char> block(size_t(16) << 20, 'x');
        if (block.back() != 'x') throw std::runtime_error("the block lost its contents");
    });
    EXPECT_TRUE(within.finished) << within.outcome;

    const auto wrong = RunWithMemoryLimit(kBudget, [] { throw std::runtime_error("a wrong sum"); });
    EXPECT_FALSE(wrong.finished);
    EXPECT_EQ(wrong.outcome, "threw: a wrong sum");
}
