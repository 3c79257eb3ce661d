// SPDX-License-Identifier: Apache-2.0
// The lookup index's searches for the first key after (or not after) a value, against their
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

// A cell of the range as the test knows it: a number, a text (one small letter, which every
// collation orders alike) or neither.
struct Cell {
    std::optional<double> number;
    std::optional<char16_t> letter;
};

// The first key of the kind the probe picks, in range order, for which holds(key) is true:
// its rank among the keys of that kind and its position.
template <class Kind, class Holds>
Key FirstWhere(const std::vector<Cell>& range, Kind kind, Holds holds) {
    uint32_t rank = 0;
    for (uint32_t position = 0; position < range.size(); ++position) {
        const auto& key = kind(range[position]);
        if (!key) continue;
        if (holds(*key)) return {rank, position};
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
        std::vector<Cell> range(size);
        auto value = [&](Cell& kept) {
            kept = Cell{};
            CCCellValue v;
            const unsigned kind = pick(6);
            if (kind < 2) {
                kept.letter = char16_t(u'a' + pick(8));
                const char16_t text[] = {*kept.letter, 0};
                v.Set(text);
            } else if (kind > 2) {
                kept.number = double(int(pick(21)) - 10);
                v = testing_support::NumberValue(*kept.number);
            }
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
            const std::string where =
                "round " + std::to_string(round) + " step " + std::to_string(step);
            auto expect = [&](const Key& got, const Key& want, const char* what) {
                EXPECT_EQ(got.rank, want.rank) << what << ", " << where;
                EXPECT_EQ(got.position, want.position) << what << ", " << where;
            };
            const double x = double(int(pick(25)) - 12) + (pick(2) ? 0.5 : 0);
            const CCCellValue number = testing_support::NumberValue(x);
            auto numbers = [](const Cell& c) -> const std::optional<double>& { return c.number; };
            expect(index.FirstAfter(number, Case::sensitive),
                   FirstWhere(range, numbers, [x](double k) { return k > x; }), "number after");
            expect(index.FirstNotAfter(number, Case::sensitive),
                   FirstWhere(range, numbers, [x](double k) { return k <= x; }),
                   "number not after");
            const char16_t letter = char16_t(u'a' + pick(8)), text[] = {letter, 0};
            CCCellValue probe;
            probe.Set(text);
            const Case order = pick(2) ? Case::sensitive : Case::blind;
            auto letters = [](const Cell& c) -> const std::optional<char16_t>& { return c.letter; };
            expect(index.FirstAfter(probe, order),
                   FirstWhere(range, letters, [letter](char16_t k) { return k > letter; }),
                   "text after");
            expect(index.FirstNotAfter(probe, order),
                   FirstWhere(range, letters, [letter](char16_t k) { return k <= letter; }),
                   "text not after");
            if (HasFailure()) return;
        }
    }
}

}  // namespace
