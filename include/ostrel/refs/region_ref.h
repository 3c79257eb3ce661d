// SPDX-License-Identifier: Apache-2.0
/// \file
/// A rectangular range of the grid, both corners inclusive.
#pragma once

#include <cstdint>
#include <new>

#include "ostrel/export.h"
#include "ostrel/refs/ref.h"

class CCRCRef;
namespace ostrel::platform {
class CRect;
}  // namespace ostrel::platform

class OSTREL_API CCRegionRef : public CCRef {
public:
    /// From a pool, as cell references are: formulas over ranges make them by the thousand.
    static void* operator new(size_t size);
    static void operator delete(void* object, size_t size) noexcept;
    static void* operator new(size_t size, const std::nothrow_t&) noexcept;
    static void operator delete(void* object, const std::nothrow_t&) noexcept;

    CCRegionRef() = default;
    CCRegionRef(unsigned char firstColumn, uint16_t firstRow, unsigned char lastColumn,
                uint16_t lastRow)
        : m_firstColumn(firstColumn),
          m_firstRow(firstRow),
          m_lastColumn(lastColumn),
          m_lastRow(lastRow) {}
    explicit CCRegionRef(const ostrel::platform::CRect& rect);
    CCRegionRef(const CCRegionRef&) = default;
    CCRegionRef& operator=(const CCRegionRef&) = default;

    void Set(const CCRegionRef& other) { *this = other; }
    void Set(const ostrel::platform::CRect& rect);
    void Get(ostrel::platform::CRect& rect) const;

    unsigned char GetFirstColumn() const { return m_firstColumn; }
    uint16_t GetFirstRow() const { return m_firstRow; }
    unsigned char GetLastColumn() const { return m_lastColumn; }
    uint16_t GetLastRow() const { return m_lastRow; }
    void SetFirst(unsigned char column, uint16_t row) { m_firstColumn = column, m_firstRow = row; }
    void SetLast(unsigned char column, uint16_t row) { m_lastColumn = column, m_lastRow = row; }

    int IsNormal() const { return IsNormalH() && IsNormalV(); }
    int IsNormalH() const { return m_lastColumn >= m_firstColumn; }
    int IsNormalV() const { return m_lastRow >= m_firstRow; }
    void Normalize();
    int IsSingle() const { return m_firstColumn == m_lastColumn && m_firstRow == m_lastRow; }
    /// Size of a normal range; the position of the index-th cell, counted row by row (false
    /// past the last cell).
    long GetWidth() const { return long(m_lastColumn) - m_firstColumn + 1; }
    long GetHeight() const { return long(m_lastRow) - m_firstRow + 1; }
    bool CellAt(unsigned long index, unsigned& column, unsigned& row) const {
        if (!IsNormal()) return false;
        unsigned long width = static_cast<unsigned long>(GetWidth());
        if (index / width >= static_cast<unsigned long>(GetHeight())) return false;
        column = m_firstColumn + unsigned(index % width);
        row = m_firstRow + unsigned(index / width);
        return true;
    }

    void MoveH(long columns);
    void MoveV(long rows);
    void Resize(long columns, long rows) { ResizeH(columns), ResizeV(rows); }
    void ResizeH(long columns);
    void ResizeV(long rows);

    /// Containment with cells and ranges of the grid.
    int Contain(const CCRCRef& cell) const;
    int IsInside(const CCRCRef& cell) const;
    int IsInside(const CCRegionRef& other) const;  // other lies within this range
    int Contain(const CCRegionRef& other) const;   // this range lies within other

    int GetType() const override { return REF_TYPE_REGION; }
    int IsEqual(const CCRef* other) const override;
    void Print(cells::CTX* ctx, ostrel::platform::CWideOutStream& out,
               unsigned char flags) const override;
    CCRef* Copy() const override { return new CCRegionRef(*this); }
    void Update(cells::CTX* ctx, const CCRef* from, const CCRef* to, unsigned char& flags) override;
    void UpdateInPaste(cells::CTX* ctx, const CCClipboardData* data) override;
    /// Whether this range lies within other, for every kind of reference.
    int IsInside(const CCRef* other) const override;
    int IsInside(const ostrel::platform::CRect& rect) const override;
    int IsSingleValue(cells::CTX*) const override { return IsSingle(); }
    void Read(cells::CTX* ctx, ostrel::platform::CArchive& ar) override;
    void Write(cells::CTX* ctx, ostrel::platform::CArchive& ar) const override;
    int Compare(const CCRef* other) const override;
    void Move(long columns, long rows) override;
    /// Whether other lies within this range, for every kind of reference.
    int Contain(const CCRef* other) const override;
    size_t Hash() const override {
        uint64_t k = uint64_t(m_firstColumn) << 48 | uint64_t(m_firstRow) << 32 |
                     uint64_t(m_lastColumn) << 16 | m_lastRow;
        return size_t((k ^ 0x5bd1e995) * 0x9E3779B97F4A7C15ull);
    }

private:
    unsigned char m_firstColumn = 0;
    uint16_t m_firstRow = 0;
    unsigned char m_lastColumn = 0;
    uint16_t m_lastRow = 0;
};

OSTREL_API int AreRegionEqual(const CCRegionRef& a, const CCRegionRef& b);
OSTREL_API int AreRegionEqualRect(const CCRegionRef& a, const ostrel::platform::CRect& r);
OSTREL_API int Contain(const CCRegionRef& a, const CCRegionRef& b);              // b lies within a
OSTREL_API int Contain(const ostrel::platform::CRect& r, const CCRegionRef& a);  // a lies within r
OSTREL_API int Contain(const CCRegionRef& a, const ostrel::platform::CRect& r);  // r lies within a
OSTREL_API int ContainH(const ostrel::platform::CRect& r, const CCRegionRef& a);
OSTREL_API int ContainV(const ostrel::platform::CRect& r, const CCRegionRef& a);
OSTREL_API int ContainH(const CCRegionRef& a, const ostrel::platform::CRect& r);
OSTREL_API int ContainV(const CCRegionRef& a, const ostrel::platform::CRect& r);
