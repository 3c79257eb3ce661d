// SPDX-License-Identifier: Apache-2.0
// The order's index of cell nodes against a map, under random inserts and erases that empty
// whole sheets (dropping what the index remembers of them) and reach the grid's last column
// and row.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <random>
#include <tuple>
#include <vector>

#include "engine/cell_node_grid.h"

namespace {

struct Node {
    int id;
};
using Key = std::tuple<uint32_t, unsigned char, uint16_t>;

}  // namespace

TEST(CellNodeGrid, AgreesWithAMapAsSheetsFillAndEmpty) {
    ostrel::engine_detail::CellNodeGrid<Node> grid;
    std::map<Key, Node*> model;
    std::vector<Node> nodes(40000);
    std::mt19937 rng(7);
    auto randomKey = [&] {
        // Few sheets and crowded corners, so that positions meet again and sheets run empty.
        const uint32_t sheet = 256 + rng() % 3;
        const auto column = static_cast<unsigned char>(rng() % 2 ? 255 - rng() % 3 : rng() % 3);
        const auto row = static_cast<uint16_t>(rng() % 2 ? 65535 - rng() % 40 : rng() % 40);
        return Key{sheet, column, row};
    };
    for (int step = 0; step < 40000; ++step) {
        const Key key = randomKey();
        const auto [sheet, column, row] = key;
        if (rng() % 2 && !model.count(key)) {
            nodes[step].id = step;
            grid.Insert(sheet, column, row, &nodes[step]);
            model[key] = &nodes[step];
        } else {
            grid.Erase(sheet, column, row);
            model.erase(key);
        }
        const Key probe = randomKey();
        const auto it = model.find(probe);
        ASSERT_EQ(grid.Find(std::get<0>(probe), std::get<1>(probe), std::get<2>(probe)),
                  it == model.end() ? nullptr : it->second)
            << "step " << step;
    }
    for (const auto& [key, node] : model)
        EXPECT_EQ(grid.Find(std::get<0>(key), std::get<1>(key), std::get<2>(key)), node);
    // A sheet emptied node by node is forgotten, and found again once it has a node.
    for (auto it = model.begin(); it != model.end();) {
        const auto [sheet, column, row] = it->first;
        if (sheet != 256) {
            ++it;
            continue;
        }
        grid.Erase(sheet, column, row);
        EXPECT_EQ(grid.Find(sheet, column, row), nullptr);
        it = model.erase(it);
    }
    const auto other = model.find(Key{257, 255, 65535});
    EXPECT_EQ(grid.Find(257, 255, 65535), other == model.end() ? nullptr : other->second);
    grid.Insert(256, 255, 65535, &nodes[0]);
    EXPECT_EQ(grid.Find(256, 255, 65535), &nodes[0]);
    EXPECT_EQ(grid.Find(256, 255, 65534), nullptr);
    // A sheet never seen holds nothing, and erasing there changes nothing.
    EXPECT_EQ(grid.Find(999, 0, 0), nullptr);
    grid.Erase(999, 0, 0);
}
