// SPDX-License-Identifier: Apache-2.0
#include "ostrel/platform/geometry.h"

#include <gtest/gtest.h>
#include "platform/names.h"

// Ranges map to rectangles with all four bounds inclusive; an off-by-one here shifts every
// range size and containment test in the engine.
TEST(Geometry, BoundsAreInclusive) {
    CRect cell(3, 7, 3, 7);
    EXPECT_EQ(cell.Width(), 1);
    EXPECT_EQ(cell.Height(), 1);
    EXPECT_FALSE(cell.IsRectEmpty());
    EXPECT_TRUE(cell.PtInRect(CPoint(3, 7)));

    CRect range(1, 2, 4, 9);  // columns 1..4, rows 2..9
    EXPECT_EQ(range.Width(), 4);
    EXPECT_EQ(range.Height(), 8);
    EXPECT_EQ(range.Size(), CSize(4, 8));
    EXPECT_TRUE(range.PtInRect(CPoint(4, 9)));  // last column and last row belong
    EXPECT_TRUE(range.PtInRect(CPoint(1, 2)));
    EXPECT_FALSE(range.PtInRect(CPoint(5, 9)));
    EXPECT_FALSE(range.PtInRect(CPoint(4, 10)));
    EXPECT_FALSE(range.PtInRect(CPoint(0, 5)));
    EXPECT_FALSE(range.PtInRect(CPoint(2, 1)));
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

    // Extreme bounds must not overflow while measuring.
    CRect huge(INT32_MIN, 0, INT32_MAX, 0);
    EXPECT_EQ(huge.Width(), 0);  // 2^32 columns wrap to 0 in 32 bits, without UB
    EXPECT_EQ(huge.Height(), 1);
}
