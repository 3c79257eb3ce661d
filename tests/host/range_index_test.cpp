// SPDX-License-Identifier: Apache-2.0
#include "facade/range_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "facade/host_sheet.h"
#include "ostrel/engine/module.h"
#include "ostrel/platform/utf.h"
#include "ostrel/refs/rc_ref.h"
#include "ostrel/refs/ref_3d.h"
#include "ostrel/refs/ref_list.h"
#include "support/memory_limit.h"

using ostrel::host::HostSheet;
using ostrel::host::RangeIndex;
using ostrel::host::RangeItem;

namespace {

struct Box {
    unsigned firstColumn, firstRow, lastColumn, lastRow;
    bool Holds(unsigned column, unsigned row) const {
        return firstColumn <= column && column <= lastColumn && firstRow <= row && row <= lastRow;
    }
    CCRegionRef Region() const {
        return CCRegionRef(static_cast<unsigned char>(firstColumn), static_cast<uint16_t>(firstRow),
                           static_cast<unsigned char>(lastColumn), static_cast<uint16_t>(lastRow));
    }
};

// Half the coordinates fall on the edges of 64-row blocks, of power-of-two runs and of the
// grid, where an index that cuts ranges into pieces would go wrong by one.
unsigned PickRow(std::mt19937& random) {
    static constexpr unsigned kEdges[] = {0,    1,     63,    64,    65,    127,   128,  1023,
                                          1024, 32767, 32768, 65471, 65472, 65534, 65535};
    if (random() % 2) return kEdges[random() % std::size(kEdges)];
    return random() % 65536;
}

unsigned PickColumn(std::mt19937& random) {
    static constexpr unsigned kEdges[] = {0, 1, 2, 3, 4, 7, 8, 127, 128, 129, 254, 255};
    if (random() % 2) return kEdges[random() % std::size(kEdges)];
    return random() % 256;
}

// Windows within a column, ranges to the grid's end, whole columns and anything at all.
Box PickBox(std::mt19937& random) {
    unsigned c1 = PickColumn(random), r1 = PickRow(random);
    unsigned c2 = PickColumn(random), r2 = PickRow(random);
    switch (random() % 4) {
        case 0:
            return {c1, r1, c1, std::min(65535u, r1 + unsigned(random() % 140))};
        case 1:
            return {c1, r1, 255, 65535};
        case 2:
            return {std::min(c1, c2), 0, std::max(c1, c2), 65535};
        default:
            return {std::min(c1, c2), std::min(r1, r2), std::max(c1, c2), std::max(r1, r2)};
    }
}

}  // namespace

TEST(RangeIndex, ReportsTheRangesHoldingACellInCreationOrder) {
    std::mt19937 random(20261206);
    RangeIndex index;
    std::vector<Box> boxes;  // what was made, in creation order
    std::vector<RangeItem*> items;
    for (int round = 0; round < 40; ++round) {
        for (int k = 0; k < 60; ++k) {
            const Box box = PickBox(random);
            RangeItem* item = index.Get(box.Region());
            ASSERT_NE(item, nullptr);
            ASSERT_EQ(index.Find(box.Region()), item);
            auto known = std::find(items.begin(), items.end(), item);
            if (known == items.end()) {
                boxes.push_back(box);
                items.push_back(item);
            } else {  // the same corners give the same item
                const Box& made = boxes[size_t(known - items.begin())];
                ASSERT_TRUE(made.Region().IsEqual(&item->Region()));
                ASSERT_TRUE(box.Region().IsEqual(&item->Region()));
            }
        }
        ASSERT_EQ(index.Size(), items.size());
        for (int q = 0; q < 200; ++q) {
            // Random cells and the cells just inside and outside a made range's corners.
            unsigned column = PickColumn(random), row = PickRow(random);
            if (q % 2) {
                const Box& box = boxes[random() % boxes.size()];
                const int dc = int(random() % 3) - 1, dr = int(random() % 3) - 1;
                column = unsigned(
                    std::clamp(int(random() % 2 ? box.firstColumn : box.lastColumn) + dc, 0, 255));
                row = unsigned(
                    std::clamp(int(random() % 2 ? box.firstRow : box.lastRow) + dr, 0, 65535));
            }
            std::vector<RangeItem*> expected, reported;
            for (size_t i = 0; i < boxes.size(); ++i)
                if (boxes[i].Holds(column, row)) expected.push_back(items[i]);
            index.ForEachContaining(column, row,
                                    [&](RangeItem* item) { reported.push_back(item); });
            ASSERT_EQ(reported, expected) << "column " << column << ", row " << row;
        }
    }
}

TEST(RangeIndex, MakesItemsOnlyForNormalRanges) {
    RangeIndex index;
    const CCRegionRef cell(2, 5, 2, 5), backwards(3, 5, 2, 5), upwards(2, 5, 2, 4);
    EXPECT_EQ(index.Find(cell), nullptr);  // finding makes nothing
    EXPECT_EQ(index.Get(backwards), nullptr);
    EXPECT_EQ(index.Get(upwards), nullptr);
    EXPECT_EQ(index.Find(backwards), nullptr);
    EXPECT_EQ(index.Size(), 0u);
    EXPECT_NE(index.Get(cell), nullptr);
    EXPECT_EQ(index.Size(), 1u);
}

// 10,000 formulas over ranges from their own row to the grid's end, right of the formulas,
// once took 2 MB of index each. The child has 256 MB; the whole sheet needs a few.
TEST(RangeIndex, RangesToTheGridsEndTakeLittleMemory) {
    QXCellInit();
    const auto run = testing_support::RunWithMemoryLimit(size_t(256) << 20, [] {
        HostSheet sheet;
        for (unsigned i = 1; i <= 10000; ++i) {
            const std::string formula = "=IF(0,SUM(B" + std::to_string(i) + ":IV65536),0)";
            if (!sheet.SetCellText(0, i - 1, ostrel::FromUtf8(formula)))
                throw std::runtime_error("refused " + formula);
        }
        sheet.RecalculateAll();
        if (sheet.RangeCount() != 10000) throw std::runtime_error("ranges went missing");
        // B5 lies in the ranges of A1 to A5 only, which were made in that order.
        CCRCRef b5(1, 4);
        CCRefList* dependents = sheet.LoadDependencies(&b5);
        std::string rows;
        for (CCRefList* at = dependents; at; at = at->m_pNext) {
            const CCRef* ref = at->m_pRef;  // qualified with the sheet when registered
            if (ref && ref->GetType() == REF_TYPE_3D)
                ref = static_cast<const CCRef3D*>(ref)->GetInnerRef();
            rows += ref && ref->GetType() == REF_TYPE_RC
                        ? std::to_string(static_cast<const CCRCRef*>(ref)->GetRow()) + " "
                        : std::string("? ");
        }
        RefListFree(dependents, 0);
        if (rows != "0 1 2 3 4 ") throw std::runtime_error("B5's dependents are rows " + rows);
    });
    EXPECT_TRUE(run.finished) << run.outcome;
}
