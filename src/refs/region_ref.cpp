// SPDX-License-Identifier: Apache-2.0
#include "ostrel/refs/region_ref.h"

#include <utility>

#include "ostrel/platform/archive.h"
#include "ostrel/platform/geometry.h"
#include "ostrel/platform/wide_stream.h"
#include "ostrel/refs/clipboard_data.h"
#include "ostrel/refs/rc_ref.h"
#include "platform/fixed_pool.h"
#include "platform/names.h"

CCRegionRef::CCRegionRef(const CRect& rect) {
    Set(rect);
}

void CCRegionRef::Set(const CRect& r) {
    m_firstColumn = static_cast<unsigned char>(r.left);
    m_firstRow = static_cast<uint16_t>(r.top);
    m_lastColumn = static_cast<unsigned char>(r.right);
    m_lastRow = static_cast<uint16_t>(r.bottom);
}

void CCRegionRef::Get(CRect& r) const {
    r.left = m_firstColumn;
    r.top = m_firstRow;
    r.right = m_lastColumn;
    r.bottom = m_lastRow;
}

void CCRegionRef::Normalize() {
    if (m_firstColumn > m_lastColumn) std::swap(m_firstColumn, m_lastColumn);
    if (m_firstRow > m_lastRow) std::swap(m_firstRow, m_lastRow);
}

void CCRegionRef::MoveH(long columns) {
    m_firstColumn = static_cast<unsigned char>(m_firstColumn + columns);
    m_lastColumn = static_cast<unsigned char>(m_lastColumn + columns);
}

void CCRegionRef::MoveV(long rows) {
    m_firstRow = static_cast<uint16_t>(m_firstRow + rows);
    m_lastRow = static_cast<uint16_t>(m_lastRow + rows);
}

void CCRegionRef::Move(long columns, long rows) {
    MoveH(columns);
    MoveV(rows);
}

void CCRegionRef::ResizeH(long columns) {
    m_lastColumn = static_cast<unsigned char>(m_lastColumn + columns);
}

void CCRegionRef::ResizeV(long rows) {
    m_lastRow = static_cast<uint16_t>(m_lastRow + rows);
}

int CCRegionRef::Contain(const CCRCRef& cell) const {
    return m_firstColumn <= cell.GetColumn() && cell.GetColumn() <= m_lastColumn &&
           m_firstRow <= cell.GetRow() && cell.GetRow() <= m_lastRow;
}

int CCRegionRef::IsInside(const CCRCRef& cell) const {
    return IsSingle() && AreRCEqual(cell, m_firstColumn, m_firstRow);
}

int CCRegionRef::IsInside(const CCRegionRef& x) const {
    return ::Contain(*this, x);
}

int CCRegionRef::Contain(const CCRegionRef& x) const {
    return ::Contain(x, *this);
}

int CCRegionRef::IsEqual(const CCRef* other) const {
    return other && other->GetType() == REF_TYPE_REGION &&
           AreRegionEqual(*this, *static_cast<const CCRegionRef*>(other));
}

void CCRegionRef::Print(cells::CTX*, CWideOutStream& out, unsigned char flags) const {
    PrintCellA1(out, m_firstColumn, m_firstRow, flags & REF_ABS_COL1, flags & REF_ABS_ROW1);
    out << u':';
    PrintCellA1(out, m_lastColumn, m_lastRow, flags & REF_ABS_COL2, flags & REF_ABS_ROW2);
}

namespace {
// Swaps two flag bits of a flags byte.
unsigned char SwapBits(unsigned char flags, unsigned char a, unsigned char b) {
    bool hasA = flags & a, hasB = flags & b;
    flags = static_cast<unsigned char>(flags & ~(a | b));
    if (hasA) flags |= b;
    if (hasB) flags |= a;
    return flags;
}
}  // namespace

void CCRegionRef::Update(cells::CTX*, const CCRef* from, const CCRef* to, unsigned char& flags) {
    long dc, dr;
    if (!GetMoveOffset(from, to, dc, dr)) return;
    long c1 = m_firstColumn + ((flags & REF_ABS_COL1) ? 0 : dc);
    long c2 = m_lastColumn + ((flags & REF_ABS_COL2) ? 0 : dc);
    long r1 = m_firstRow + ((flags & REF_ABS_ROW1) ? 0 : dr);
    long r2 = m_lastRow + ((flags & REF_ABS_ROW2) ? 0 : dr);
    // The "$" belongs to the coordinate it was typed on, so it follows its corner when the
    // corners change order.
    if (c1 > c2) {
        std::swap(c1, c2);
        flags = SwapBits(flags, REF_ABS_COL1, REF_ABS_COL2);
    }
    if (c1 < 0 || c2 > 255) throw 1;
    m_firstColumn = static_cast<unsigned char>(c1);
    m_lastColumn = static_cast<unsigned char>(c2);
    if (r1 > r2) {
        std::swap(r1, r2);
        flags = SwapBits(flags, REF_ABS_ROW1, REF_ABS_ROW2);
    }
    if (r1 < 0 || r2 > 65535) throw 1;
    m_firstRow = static_cast<uint16_t>(r1);
    m_lastRow = static_cast<uint16_t>(r2);
}

void CCRegionRef::UpdateInPaste(cells::CTX*, const CCClipboardData* data) {
    if (!data) return;
    auto place = [&](unsigned char& column, uint16_t& row) {
        long c = column, r = row;
        if (data->m_transpose) {
            c = data->m_targetColumn + (long(row) - data->m_sourceRow);
            r = data->m_targetRow + (long(column) - data->m_sourceColumn);
        } else {
            c += data->m_targetColumn - data->m_sourceColumn;
            r += data->m_targetRow - data->m_sourceRow;
        }
        column = static_cast<unsigned char>(c);
        row = static_cast<uint16_t>(r);
    };
    place(m_firstColumn, m_firstRow);
    place(m_lastColumn, m_lastRow);
}

int CCRegionRef::IsInside(const CCRef* x) const {
    if (!x) return 0;
    switch (x->GetType()) {
        case REF_TYPE_RC:
            return IsInside(*static_cast<const CCRCRef*>(x));
        case REF_TYPE_REGION:
            return Contain(*static_cast<const CCRegionRef*>(x));
        default:
            return x->Contain(this);
    }
}

int CCRegionRef::Contain(const CCRef* x) const {
    if (!x) return 0;
    switch (x->GetType()) {
        case REF_TYPE_RC:
            return Contain(*static_cast<const CCRCRef*>(x));
        case REF_TYPE_REGION:
            return IsInside(*static_cast<const CCRegionRef*>(x));
        default:
            return x->IsInside(this);
    }
}

int CCRegionRef::IsInside(const CRect& r) const {
    return ::Contain(r, *this);
}

void CCRegionRef::Read(cells::CTX*, CArchive& ar) {
    uint8_t c1, c2;
    uint16_t r1, r2;
    ar >> c1 >> r1 >> c2 >> r2;
    m_firstColumn = c1, m_firstRow = r1, m_lastColumn = c2, m_lastRow = r2;
}

void CCRegionRef::Write(cells::CTX*, CArchive& ar) const {
    ar << uint8_t(m_firstColumn) << m_firstRow << uint8_t(m_lastColumn) << m_lastRow;
}

int CCRegionRef::Compare(const CCRef* other) const {
    if (!other) return 1;
    switch (other->GetType()) {
        case REF_TYPE_RC:
            return 1;
        case REF_TYPE_REGION: {
            const auto* o = static_cast<const CCRegionRef*>(other);
            const long mine[4] = {m_firstRow, m_lastRow, m_firstColumn, m_lastColumn};
            const long theirs[4] = {o->m_firstRow, o->m_lastRow, o->m_firstColumn, o->m_lastColumn};
            for (int i = 0; i < 4; ++i)
                if (mine[i] != theirs[i]) return mine[i] < theirs[i] ? -1 : 1;
            return 0;
        }
        default:
            return -other->Compare(this);
    }
}

int AreRegionEqual(const CCRegionRef& a, const CCRegionRef& b) {
    return a.GetFirstColumn() == b.GetFirstColumn() && a.GetFirstRow() == b.GetFirstRow() &&
           a.GetLastColumn() == b.GetLastColumn() && a.GetLastRow() == b.GetLastRow();
}

int AreRegionEqualRect(const CCRegionRef& a, const CRect& r) {
    return a.GetFirstColumn() == r.left && a.GetFirstRow() == r.top &&
           a.GetLastColumn() == r.right && a.GetLastRow() == r.bottom;
}

int Contain(const CCRegionRef& a, const CCRegionRef& b) {
    return a.GetFirstColumn() <= b.GetFirstColumn() && b.GetLastColumn() <= a.GetLastColumn() &&
           a.GetFirstRow() <= b.GetFirstRow() && b.GetLastRow() <= a.GetLastRow();
}

int Contain(const CRect& r, const CCRegionRef& a) {
    return ContainH(r, a) && ContainV(r, a);
}

int Contain(const CCRegionRef& a, const CRect& r) {
    return ContainH(a, r) && ContainV(a, r);
}

int ContainH(const CRect& r, const CCRegionRef& a) {
    return r.left <= a.GetFirstColumn() && a.GetLastColumn() <= r.right;
}

int ContainV(const CRect& r, const CCRegionRef& a) {
    return r.top <= a.GetFirstRow() && a.GetLastRow() <= r.bottom;
}

int ContainH(const CCRegionRef& a, const CRect& r) {
    return a.GetFirstColumn() <= r.left && r.right <= a.GetLastColumn();
}

int ContainV(const CCRegionRef& a, const CRect& r) {
    return a.GetFirstRow() <= r.top && r.bottom <= a.GetLastRow();
}

void* CCRegionRef::operator new(size_t size) {
    return ostrel::platform::PooledNew<CCRegionRef>(size);
}

void CCRegionRef::operator delete(void* object, size_t size) noexcept {
    ostrel::platform::PooledDelete<CCRegionRef>(object, size);
}

void* CCRegionRef::operator new(size_t size, const std::nothrow_t&) noexcept {
    return ostrel::platform::PooledNewNothrow<CCRegionRef>(size);
}

void CCRegionRef::operator delete(void* object, const std::nothrow_t&) noexcept {
    ostrel::platform::PooledDeleteNothrow<CCRegionRef>(object);
}
