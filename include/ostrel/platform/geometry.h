// SPDX-License-Identifier: Apache-2.0
/// \file
/// Points, sizes and rectangles on the cell grid: x is a column, y a row.
///
/// !!! A CRect's four bounds are ALL INCLUSIVE: left is the first column, top the first row,
/// !!! right the LAST column and bottom the LAST row of the area. So a single cell has
/// !!! left == right and top == bottom, Width() == right - left + 1, Height() ==
/// !!! bottom - top + 1, and PtInRect accepts points on the right and bottom edges.
#pragma once

#include <cstdint>
#include <utility>

#include "ostrel/export.h"

namespace ostrel::platform {

class OSTREL_API CPoint {
public:
    int32_t x = 0;
    int32_t y = 0;

    constexpr CPoint() = default;
    constexpr CPoint(int32_t x_, int32_t y_) : x(x_), y(y_) {}

    friend constexpr bool operator==(const CPoint&, const CPoint&) = default;
};

class OSTREL_API CSize {
public:
    int32_t cx = 0;
    int32_t cy = 0;

    constexpr CSize() = default;
    constexpr CSize(int32_t cx_, int32_t cy_) : cx(cx_), cy(cy_) {}

    friend constexpr bool operator==(const CSize&, const CSize&) = default;
};

class OSTREL_API CRect {
public:
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;   // last column, inclusive
    int32_t bottom = 0;  // last row, inclusive

    constexpr CRect() = default;
    constexpr CRect(int32_t l, int32_t t, int32_t r, int32_t b)
        : left(l), top(t), right(r), bottom(b) {}
    /// The area of size.cx columns and size.cy rows whose first cell is topLeft, so that
    /// Width() == size.cx and Height() == size.cy.
    constexpr CRect(CPoint topLeft, CSize size)
        : left(topLeft.x),
          top(topLeft.y),
          right(static_cast<int32_t>(int64_t(topLeft.x) + size.cx - 1)),
          bottom(static_cast<int32_t>(int64_t(topLeft.y) + size.cy - 1)) {}
    /// The area from its first to its last cell, both included.
    constexpr CRect(CPoint topLeft, CPoint bottomRight)
        : left(topLeft.x), top(topLeft.y), right(bottomRight.x), bottom(bottomRight.y) {}

    /// Number of columns and rows covered (inclusive bounds: a single cell is 1 x 1). The
    /// difference is taken in 64 bits so that extreme bounds wrap instead of overflowing.
    constexpr int32_t Width() const { return static_cast<int32_t>(int64_t(right) - left + 1); }
    constexpr int32_t Height() const { return static_cast<int32_t>(int64_t(bottom) - top + 1); }
    constexpr CSize Size() const { return CSize(Width(), Height()); }
    constexpr CPoint TopLeft() const { return CPoint(left, top); }
    constexpr CPoint BottomRight() const { return CPoint(right, bottom); }

    /// True when the rectangle covers no cell: a last column before the first or a last row
    /// before the first (a rectangle that is not normal).
    constexpr bool IsRectEmpty() const { return right < left || bottom < top; }

    /// Swaps bounds so that left <= right and top <= bottom.
    constexpr void NormalizeRect() {
        if (left > right) std::swap(left, right);
        if (top > bottom) std::swap(top, bottom);
    }

    /// Edges included: the last column and the last row belong to the rectangle.
    constexpr bool PtInRect(CPoint p) const {
        return left <= p.x && p.x <= right && top <= p.y && p.y <= bottom;
    }

    constexpr void SetRect(int32_t l, int32_t t, int32_t r, int32_t b) {
        left = l;
        top = t;
        right = r;
        bottom = b;
    }

    friend constexpr bool operator==(const CRect&, const CRect&) = default;
};

}  // namespace ostrel::platform
