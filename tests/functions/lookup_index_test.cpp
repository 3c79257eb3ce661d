// SPDX-License-Identifier: Apache-2.0
// The lookup index's searches for the first key after (or not after) a number, against their
// definitions over the keys in range order, while random changes land anywhere in the range:
// several between two searches, in front of the other keys as often as behind them.
#include "functions/lookup_index.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "formula_cases.h"

namespace {

using ostrel::functions::lookup::Case;
using ostrel::functions::lookup::Key;
using ostrel::functions::lookup::KeyIndex;

// The first number key, in range order, for which after(key) holds: its rank among the
// number keys and its position.
template <class After>
Key FirstWhere(const std::vector<std::optional<double>>& range, After after) {
    uint32_t rank = 0;
    for (uint32_t position = 0; position < range.size(); ++position) {
        if (!range[position]) continue;
        if (after(*range[position])) return {rank, position};
        ++rank;
    }
    return {};
}

TEST(LookupIndex, SearchesFollowChangesAnywhereInTheRange) {
    std::mt19937 rng(20261207);
    auto pick = [&](unsigned n) { return unsigned(rng() % n); };
    for (int round = 0; round < 300; ++round) {
        const uint32_t size = 1 + pick(40);
        KeyIndex index(size);
        std::vector<std::optional<double>> range(size);
        auto value = [&](std::optional<double>& kept) {
            CCCellValue v;
            const unsigned kind = pick(6);
            if (kind == 0) {
                v.Set(u"text");
            } else if (kind > 1) {
                kept = double(int(pick(21)) - 10);
                return testing_support::NumberValue(*kept);
            }
            kept.reset();
            return v;
        };
        for (uint32_t p = 0; p < size; ++p)
            ASSERT_TRUE(index.Append(value(range[p])));
        for (int step = 0; step < 60; ++step) {
            // Mostly a change in front of the others, as a table typed from the bottom makes.
            for (unsigned n = pick(4); n > 0; --n) {
                const uint32_t p = pick(3) ? pick(std::min(size, 3u)) : pick(size);
                ASSERT_TRUE(index.Update(p, value(range[p])));
            }
            const double x = double(int(pick(25)) - 12) + (pick(2) ? 0.5 : 0);
            const CCCellValue probe = testing_support::NumberValue(x);
            const Key after = index.FirstAfter(probe, Case::sensitive);
            const Key want = FirstWhere(range, [x](double k) { return k > x; });
            ASSERT_EQ(after.rank, want.rank) << "round " << round << " step " << step;
            ASSERT_EQ(after.position, want.position) << "round " << round << " step " << step;
            const Key notAfter = index.FirstNotAfter(probe, Case::sensitive);
            const Key wantNot = FirstWhere(range, [x](double k) { return k <= x; });
            ASSERT_EQ(notAfter.rank, wantNot.rank) << "round " << round << " step " << step;
            ASSERT_EQ(notAfter.position, wantNot.position) << "round " << round << " step " << step;
        }
    }
}

}  // namespace
