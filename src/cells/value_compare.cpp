// SPDX-License-Identifier: Apache-2.0
#include <cmath>
#include <vector>

#include "formats/text_helpers.h"
#include "ostrel/cells/cell_value.h"

namespace {
int CompareNumbers(double a, double b) {
    double d = a - b;
    if (d > 0) return 1;
    if (d == 0 || std::isnan(d)) return 0;
    return -1;
}
}  // namespace

int CompareCellValues(const CCCellValue& a, const CCCellValue& b, int caseSensitive) {
    switch (a.GetType()) {
        case CV_EMPTY:
            return b.IsEmpty() ? 0 : 1;
        case CV_ERROR:
            return b.IsEmpty() ? -1 : b.IsError() ? 0 : 1;
        case CV_TEXT:
            if (b.IsNumber()) return 1;
            if (b.IsText()) return StrColl(a.GetText(), b.GetText(), caseSensitive);
            return -1;
        case CV_NUMBER:
            return b.IsNumber() ? CompareNumbers(a.GetNumber(), b.GetNumber()) : -1;
        default:
            return 0;
    }
}

int CompareEQTypeValues(const CCCellValue& a, const CCCellValue& b, int caseSensitive) {
    switch (a.GetType()) {
        case CV_NUMBER:
            return CompareNumbers(a.GetNumber(), b.GetNumber());
        case CV_TEXT: {
            const char16_t* x = a.GetText();
            const char16_t* y = b.IsText() ? b.GetText() : nullptr;
            if (!x) return y ? -1 : 0;
            if (!y) return 1;
            return StrColl(x, y, caseSensitive);
        }
        default:
            return 0;
    }
}

// Bottom-up merge sort: it reads each comparison result once and only moves elements between
// two buffers, so an inconsistent order (NaN against numbers) changes the result's order but
// can never lose, duplicate or overrun elements.
void SortCellValues(CCCellValue** values, size_t count, int caseSensitive) {
    if (!values || count < 2) return;
    std::vector<CCCellValue*> buffer(count);
    CCCellValue** from = values;
    CCCellValue** to = buffer.data();
    for (size_t width = 1; width < count; width *= 2) {
        for (size_t lo = 0; lo < count; lo += 2 * width) {
            size_t mid = std::min(lo + width, count), hi = std::min(lo + 2 * width, count);
            size_t i = lo, j = mid, k = lo;
            while (i < mid && j < hi) {
                const CCCellValue* a = from[i];
                const CCCellValue* b = from[j];
                int c = (a && b) ? CompareCellValues(*a, *b, caseSensitive) : (a ? -1 : b ? 1 : 0);
                to[k++] = c <= 0 ? from[i++] : from[j++];
            }
            while (i < mid)
                to[k++] = from[i++];
            while (j < hi)
                to[k++] = from[j++];
        }
        std::swap(from, to);
    }
    if (from != values) std::copy(from, from + count, values);
}
