// SPDX-License-Identifier: Apache-2.0
#include "ostrel/refs/rc_ref.h"

#include "ostrel/platform/archive.h"
#include "ostrel/platform/geometry.h"
#include "ostrel/platform/wide_stream.h"
#include "ostrel/refs/clipboard_data.h"
#include "ostrel/refs/region_ref.h"
#include "platform/fixed_pool.h"
#include "platform/names.h"

void PrintCellA1(CWideOutStream& out, unsigned char column, uint16_t row, bool absColumn,
                 bool absRow) {
    if (absColumn) out << u'$';
    if (column < 26) {
        out << char16_t(u'A' + column);
    } else {
        out << char16_t(column / 26 + 64) << char16_t(u'A' + column % 26);
    }
    if (absRow) out << u'$';
    char digits[8];
    int n = 0;
    unsigned long number = static_cast<unsigned long>(row) + 1;
    do {
        digits[n++] = static_cast<char>('0' + number % 10);
        number /= 10;
    } while (number);
    while (n)
        out << char16_t(digits[--n]);
}

bool GetMoveOffset(const CCRef* from, const CCRef* to, long& columns, long& rows) {
    if (!from || !to || from->GetType() != REF_TYPE_RC || to->GetType() != REF_TYPE_RC)
        return false;
    const auto* a = static_cast<const CCRCRef*>(from);
    const auto* b = static_cast<const CCRCRef*>(to);
    columns = long(b->GetColumn()) - long(a->GetColumn());
    rows = long(b->GetRow()) - long(a->GetRow());
    return true;
}

int AreRCEqual(const CCRCRef& a, const CCRCRef& b) {
    return a.GetColumn() == b.GetColumn() && a.GetRow() == b.GetRow();
}

int AreRCEqual(const CCRCRef& a, unsigned char column, uint16_t row) {
    return a.GetColumn() == column && a.GetRow() == row;
}

CCRCRef::CCRCRef(const CPoint& point)
    : m_column(static_cast<unsigned char>(point.x)), m_row(static_cast<uint16_t>(point.y)) {}

int CCRCRef::IsEqual(const CCRef* other) const {
    return other && other->GetType() == REF_TYPE_RC &&
           AreRCEqual(*this, *static_cast<const CCRCRef*>(other));
}

void CCRCRef::Print(cells::CTX*, CWideOutStream& out, unsigned char flags) const {
    PrintCellA1(out, m_column, m_row, flags & REF_ABS_COL1, flags & REF_ABS_ROW1);
}

void CCRCRef::Update(cells::CTX*, const CCRef* from, const CCRef* to, unsigned char& flags) {
    long dc, dr;
    if (!GetMoveOffset(from, to, dc, dr)) return;
    long column = m_column + ((flags & REF_ABS_COL1) ? 0 : dc);
    long row = m_row + ((flags & REF_ABS_ROW1) ? 0 : dr);
    if (column < 0 || column > 255) throw 1;
    m_column = static_cast<unsigned char>(column);
    if (row < 0 || row > 65535) throw 1;
    m_row = static_cast<uint16_t>(row);
}

void CCRCRef::UpdateInPaste(cells::CTX*, const CCClipboardData* data) {
    if (!data) return;
    long column = m_column, row = m_row;
    if (data->m_transpose) {
        column = data->m_targetColumn + (long(m_row) - data->m_sourceRow);
        row = data->m_targetRow + (long(m_column) - data->m_sourceColumn);
    } else {
        column += data->m_targetColumn - data->m_sourceColumn;
        row += data->m_targetRow - data->m_sourceRow;
    }
    // The host checks the grid before it pastes; the fields keep their widths.
    m_column = static_cast<unsigned char>(column);
    m_row = static_cast<uint16_t>(row);
}

int CCRCRef::IsInside(const CCRef* other) const {
    if (!other) return 0;
    if (other->GetType() == REF_TYPE_RC) return IsEqual(other);
    return other->Contain(this);
}

int CCRCRef::IsInside(const CRect& r) const {
    return r.left <= m_column && m_column <= r.right && r.top <= m_row && m_row <= r.bottom;
}

int CCRCRef::Contain(const CCRef* other) const {
    return IsEqual(other);
}

void CCRCRef::Read(cells::CTX*, CArchive& ar) {
    uint8_t column;
    uint16_t row;
    ar >> column >> row;
    m_column = column;
    m_row = row;
}

void CCRCRef::Write(cells::CTX*, CArchive& ar) const {
    ar << uint8_t(m_column) << m_row;
}

int CCRCRef::Compare(const CCRef* other) const {
    if (!other) return 1;
    switch (other->GetType()) {
        case REF_TYPE_RC: {
            const auto* o = static_cast<const CCRCRef*>(other);
            if (m_row != o->m_row) return m_row < o->m_row ? -1 : 1;
            if (m_column != o->m_column) return m_column < o->m_column ? -1 : 1;
            return 0;
        }
        case REF_TYPE_REGION:
            return -1;
        default:
            return -other->Compare(this);
    }
}

void CCRCRef::Move(long columns, long rows) {
    m_column = static_cast<unsigned char>(m_column + columns);
    m_row = static_cast<uint16_t>(m_row + rows);
}

void* CCRCRef::operator new(size_t size) {
    return ostrel::platform::PooledNew<CCRCRef>(size);
}

void CCRCRef::operator delete(void* object, size_t size) noexcept {
    ostrel::platform::PooledDelete<CCRCRef>(object, size);
}

void* CCRCRef::operator new(size_t size, const std::nothrow_t&) noexcept {
    return ostrel::platform::PooledNewNothrow<CCRCRef>(size);
}

void CCRCRef::operator delete(void* object, const std::nothrow_t&) noexcept {
    ostrel::platform::PooledDeleteNothrow<CCRCRef>(object);
}
