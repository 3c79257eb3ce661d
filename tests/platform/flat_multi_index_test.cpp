// SPDX-License-Identifier: Apache-2.0
// The engine's open-addressing table against an ordered multimap, under random inserts and
// erases of keys that crowd into the same runs (neighbouring cells share a home block), with
// several values under one key and growth in between.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <map>
#include <memory>
#include <random>
#include <vector>

#include "ostrel/platform/flat_multi_index.h"

namespace {

// Keys as the engine makes them for cells: a sheet above, a column and a row below.
uint64_t CellKey(std::mt19937& rng) {
    return uint64_t(1 + rng() % 2) << 32 | uint64_t(rng() % 3) << 16 | (rng() % 200);
}

template <class Table, class Make>
void AgreesWithAMultimap(Table& table, Make make, unsigned seed) {
    std::mt19937 rng(seed);
    std::multimap<uint64_t, int> model;
    for (int step = 0; step < 20000; ++step) {
        const uint64_t key = CellKey(rng);
        if (rng() % 3 != 0) {
            table.Insert(key, make(key, step));
            model.emplace(key, step);
        } else {
            // Erase one value of the key, picked at random, or find that there is none.
            auto [first, last] = model.equal_range(key);
            const long n = std::distance(first, last);
            const auto victim = n ? std::next(first, long(rng() % n)) : model.end();
            const int id = n ? victim->second : -1;
            auto is = [id](const auto& v) { return Table::IdOf(v) == id; };
            ASSERT_EQ(table.EraseIf(key, is), n != 0) << "step " << step;
            if (n) model.erase(victim);
        }
        ASSERT_EQ(table.Size(), model.size());
        // Every key probed, present or not: something is found exactly when the key holds
        // values, and a match on any one of them finds that one.
        const uint64_t probe = CellKey(rng);
        auto [first, last] = model.equal_range(probe);
        const auto* found = table.FindIf(probe, [](const auto&) { return true; });
        ASSERT_EQ(found != nullptr, first != last) << "step " << step;
        for (auto it = first; it != last; ++it) {
            const int id = it->second;
            const auto* hit =
                table.FindIf(probe, [id](const auto& v) { return Table::IdOf(v) == id; });
            ASSERT_TRUE(hit && Table::IdOf(*hit) == id) << "step " << step;
        }
    }
}

struct StoredKeys : ostrel::platform::FlatMultiIndex<int> {
    static int IdOf(int v) { return v; }
};
// Pointer values mark unused slots by null instead of a flag.
struct PointerValues : ostrel::platform::FlatMultiIndex<const int*> {
    static int IdOf(const int* v) { return *v; }
};

}  // namespace

TEST(FlatMultiIndex, AgreesWithAnOrderedMultimapUnderInsertsAndErases) {
    StoredKeys stored;
    AgreesWithAMultimap(
        stored, [](uint64_t, int id) { return id; }, 7);

    std::vector<std::unique_ptr<int>> ids;
    PointerValues pointers;
    AgreesWithAMultimap(
        pointers,
        [&](uint64_t, int id) {
            ids.push_back(std::make_unique<int>(id));
            return ids.back().get();
        },
        11);
}
