// SPDX-License-Identifier: Apache-2.0
#include "ostrel/platform/geometry.h"

#include <gtest/gtest.h>

#include <tuple>

#include "platform/names.h"

// Ranges map to rectangles with all four bounds inclusive; an off-by-one here shifts every
// range size and containment test in the engine.
TEST(Geometry, BoundsAreInclusive) {
    CRect cell(3, 7, 3, 7);
    EXPECT_EQ(
        std::tuple(cell.Width(), cell.Height(), cell.IsRectEmpty(), cell.PtInRect(CPoint(3, 7))),
        std::tuple(1, 1, false, true));

    CRect range(1, 2, 4, 9);  // columns 1..4, rows 2..9
    EXPECT_EQ(std::tuple(range.Width(), range.Height(), range.Size()),
              std::tuple(4, 8, CSize(4, 8)));
    // The last column and the last row belong.
    for (auto [x, y, inside] :
         {std::tuple(4, 9, true), std::tuple(1, 2, true), std::tuple(5, 9, false),
          std::tuple(4, 10, false), std::tuple(0, 5, false), std::tuple(2, 1, false)})
        EXPECT_EQ(range.PtInRect(CPoint(x, y)), inside) << x << ", " << y;
    // From a corner and a size, or from both corners.
    EXPECT_EQ(CRect(CPoint(2, 5), CSize(3, 4)), CRect(2, 5, 4, 8));
    EXPECT_EQ(CRect(CPoint(2, 5), CPoint(4, 8)), CRect(2, 5, 4, 8));
}

TEST(Geometry, NormalizeAndEmptiness) {
    CRect reversed(5, 9, 1, 2);
    EXPECT_TRUE(reversed.IsRectEmpty());
    reversed.NormalizeRect();
    EXPECT_EQ(reversed, CRect(1, 2, 5, 9));
    EXPECT_FALSE(reversed.IsRectEmpty());
    EXPECT_TRUE(CRect(CPoint(0, 0), CSize(0, 3)).IsRectEmpty());
    // Extreme bounds must not overflow while measuring: 2^32 columns wrap to 0 in 32 bits.
    CRect huge(INT32_MIN, 0, INT32_MAX, 0);
    EXPECT_EQ(std::tuple(huge.Width(), huge.Height()), std::tuple(0, 1));
}
