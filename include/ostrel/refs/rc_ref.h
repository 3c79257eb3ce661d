// SPDX-License-Identifier: Apache-2.0
/// \file
/// A reference to one cell of the grid: column 0-255 ("A" to "IV"), row 0-65535.
#pragma once

#include <cstdint>
#include <new>

#include "ostrel/export.h"
#include "ostrel/refs/ref.h"

namespace ostrel::platform {
class CPoint;
}  // namespace ostrel::platform

class OSTREL_API CCRCRef : public CCRef {
public:
    /// From a pool: the references cells keep of their dependents are made by the thousand.
    static void* operator new(size_t size);
    static void operator delete(void* object, size_t size) noexcept;
    static void* operator new(size_t size, const std::nothrow_t&) noexcept;
    static void operator delete(void* object, const std::nothrow_t&) noexcept;

    CCRCRef() = default;
    CCRCRef(unsigned char column, uint16_t row) : m_column(column), m_row(row) {}
    explicit CCRCRef(const ostrel::platform::CPoint& point);
    CCRCRef(const CCRCRef&) = default;
    CCRCRef& operator=(const CCRCRef&) = default;

    void Set(const CCRCRef& other) { *this = other; }
    unsigned char GetColumn() const { return m_column; }
    uint16_t GetRow() const { return m_row; }
    void SetColumn(unsigned char column) { m_column = column; }
    void SetRow(uint16_t row) { m_row = row; }

    int GetType() const override { return REF_TYPE_RC; }
    int IsEqual(const CCRef* other) const override;
    void Print(cells::CTX* ctx, ostrel::platform::CWideOutStream& out,
               unsigned char flags) const override;
    CCRef* Copy() const override { return new CCRCRef(*this); }
    void Update(cells::CTX* ctx, const CCRef* from, const CCRef* to, unsigned char& flags) override;
    void UpdateInPaste(cells::CTX* ctx, const CCClipboardData* data) override;
    int IsInside(const CCRef* other) const override;
    int IsInside(const ostrel::platform::CRect& rect) const override;
    int IsSingleValue(cells::CTX*) const override { return 1; }
    void Read(cells::CTX* ctx, ostrel::platform::CArchive& ar) override;
    void Write(cells::CTX* ctx, ostrel::platform::CArchive& ar) const override;
    int Compare(const CCRef* other) const override;
    void Move(long columns, long rows) override;
    int Contain(const CCRef* other) const override;
    size_t Hash() const override { return HashOf(m_column, m_row); }
    static size_t HashOf(unsigned char column, uint16_t row) {
        return (size_t(column) << 16 | row) * 0x9E3779B97F4A7C15ull;
    }

private:
    unsigned char m_column = 0;
    uint16_t m_row = 0;
};

OSTREL_API int AreRCEqual(const CCRCRef& a, const CCRCRef& b);
OSTREL_API int AreRCEqual(const CCRCRef& a, unsigned char column, uint16_t row);

/// Writes the A1 form of one corner: "$" before the column and the row as the flags say.
OSTREL_API void PrintCellA1(ostrel::platform::CWideOutStream& out, unsigned char column,
                            uint16_t row, bool absColumn, bool absRow);

/// The column and row offsets of a move from one cell to another; false unless both are
/// single cells.
OSTREL_API bool GetMoveOffset(const CCRef* from, const CCRef* to, long& columns, long& rows);
