// SPDX-License-Identifier: Apache-2.0
#include "support/leak_check.h"

#include <array>

#include "formula/shape_cache.h"
#include "ostrel/cells/cell_value.h"
#include "ostrel/cells/item.h"
#include "ostrel/formula/formula.h"
#include "ostrel/refs/ref.h"

namespace testing_support {

namespace {

using ostrel::debug::CInstanceCounter;

// Cell formats are left out: the process-wide table interns them for the process's life.
using Counts = std::array<long, 4>;
constexpr const char* kNames[] = {"items", "formulas", "references", "values"};

Counts LiveNow() {
    // The formula shapes a test typed are kept for the next formulas; they are no leak.
    ostrel::formula::ForgetFormulaShapes();
    return {CInstanceCounter<CCItem>::Live(), CInstanceCounter<CCFormula>::Live(),
            CInstanceCounter<CCRef>::Live(), CInstanceCounter<CCCellValue>::Live()};
}

class LeakCheck : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { m_start = LiveNow(); }
    // Listeners hear the end of a test before the result printer does, so a failure added
    // here is the test's own and is printed with it.
    void OnTestEnd(const ::testing::TestInfo&) override {
        const Counts end = LiveNow();
        for (size_t i = 0; i < end.size(); ++i)
            if (end[i] != m_start[i])
                ADD_FAILURE() << (end[i] - m_start[i]) << " " << kNames[i]
                              << " outlive the test that made them";
    }
    Counts m_start{};
};

}  // namespace

::testing::TestEventListener* NewLeakCheck() {
    return new LeakCheck;
}

}  // namespace testing_support
