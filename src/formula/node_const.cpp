// SPDX-License-Identifier: Apache-2.0
// Constant and array-constant nodes.
#include <cstdint>

#include "ostrel/cells/cell_value.h"
#include "ostrel/formula/formula.h"
#include "ostrel/formula/lctx.h"
#include "ostrel/platform/archive.h"
#include "ostrel/platform/exceptions.h"
#include "ostrel/platform/geometry.h"
#include "ostrel/platform/wide_stream.h"
#include "platform/names.h"

namespace {

void PrintConstValue(cells::CTX* ctx, CWideOutStream& out, const CCCellValue& value,
                     int otherMode) {
    if (value.IsText()) {
        out << u'"';
        value.Print(ctx, out, 2);
        out << u'"';
    } else {
        value.Print(ctx, out, otherMode);
    }
}

}  // namespace

// ---- CCConstFormula ----

CCFormula* CCConstFormula::Copy() const {
    return new CCConstFormula(m_value);
}

int CCConstFormula::Check(cells::CTX*, const CCRef*) {
    m_validated = 1;
    return 0;
}

void CCConstFormula::Eval(cells::CTX*, CCCellValue& result, const CCRef*) {
    result.Set(m_value);
}

void CCConstFormula::Print2File(cells::CTX* ctx, CWideOutStream& out, int) const {
    PrintConstValue(ctx, out, m_value, 2);
}

void CCConstFormula::Print(cells::CTX* ctx, CWideOutStream& out, int) const {
    PrintConstValue(ctx, out, m_value, 2);
}

int CCConstFormula::IsEditSourceRef(cells::CTX*, const CCRef*) const {
    return 0;
}
const CCRef* CCConstFormula::GetEditSourceRef(cells::CTX*, const CCRef*) const {
    return nullptr;
}
int CCConstFormula::ContainsLink(cells::CTX*, const CCRef*, const CCRef*) const {
    return 0;
}
int CCConstFormula::ContainsRemoteLinks() const {
    return 0;
}
int CCConstFormula::ContainsTodayLinks() const {
    return 0;
}
int CCConstFormula::IsSingleValue(cells::CTX*, const CCRef*) {
    return 1;
}
int CCConstFormula::RegisterDependents(cells::CTX*, const CCRef*) {
    return 1;
}
int CCConstFormula::UnRegisterDependents(cells::CTX*, const CCRef*) {
    return 1;
}

int CCConstFormula::InvalidateRef(cells::CTX*, const CCRef*, CCFormula*& replacement,
                                  const CCRef*) {
    replacement = Copy();
    return 0;
}

int CCConstFormula::InvalidateItem(cells::CTX*, const CCItem*, CCFormula*& replacement,
                                   const CCRef*) {
    replacement = Copy();
    return 0;
}

int CCConstFormula::MoveFormula(cells::CTX*, const CCRef*, const CCRef*) {
    return 1;
}
int CCConstFormula::UpdateInPaste(cells::CTX*, const CCRef*, const CCRef*, const CCClipboardData*) {
    return 1;
}

int CCConstFormula::UpdateRef(cells::CTX*, const CCRef*, const CCRef*, const CCRef*, const CCRef*,
                              int, CCFormula*& replacement) {
    replacement = Copy();
    return 0;
}

uint16_t CCConstFormula::OpenRef(cells::CTX*, const CCRef*) {
    if (m_open) return 0;
    m_open = 1;
    return 1;
}

int CCConstFormula::NextValue(cells::CTX*, uint16_t& handle, CCCellValue& value, const CCRef*) {
    if (!handle || !m_open) return 0;
    value.Set(m_value);
    m_open = 0;
    return 1;
}

int CCConstFormula::RefSize(cells::CTX*, uint16_t handle, CSize& size, const CCRef*) {
    if (!handle) return 0;
    size = CSize(1, 1);
    return 1;
}

int CCConstFormula::CloseRef(cells::CTX*, uint16_t, const CCRef*) {
    m_open = 0;
    return 1;
}

void CCConstFormula::Read(cells::CTX* ctx, CArchive& ar) {
    m_value.Read(ctx, ar);
}
void CCConstFormula::Write(cells::CTX* ctx, CArchive& ar) const {
    m_value.Write(ctx, ar);
}

// ---- CCConstArrayFormula ----

CCConstArrayFormula::CCConstArrayFormula(const SCCellValueList* rows) {
    CSize size = CalcCellValueArraySize(rows);
    if (size.cx < 1 || size.cy < 1) return;
    m_columns = size.cx;
    m_rows = size.cy;
    m_values.resize(size_t(m_columns) * size_t(m_rows));
    int row = 0, column = 0;
    for (const SCCellValueList* p = rows; p; p = p->m_pNext) {
        if (!p->m_pValue) {
            ++row;
            column = 0;
            continue;
        }
        if (row < m_rows && column < m_columns)
            m_values[size_t(row) * size_t(m_columns) + size_t(column)].Set(*p->m_pValue);
        ++column;
    }
}

CCFormula* CCConstArrayFormula::Copy() const {
    auto* copy = new CCConstArrayFormula;
    copy->m_values = m_values;
    copy->m_columns = m_columns;
    copy->m_rows = m_rows;
    return copy;
}

int CCConstArrayFormula::Check(cells::CTX*, const CCRef*) {
    if (m_validated) return 0;
    if (m_values.empty() || m_columns < 1 || m_rows < 1) return 3;
    m_validated = 1;
    return 0;
}

void CCConstArrayFormula::Eval(cells::CTX*, CCCellValue& result, const CCRef*) {
    if (m_values.empty())
        result.Set(3);
    else
        result.Set(m_values[0]);
}

void CCConstArrayFormula::Print2File(cells::CTX* ctx, CWideOutStream& out, int precedence) const {
    Print(ctx, out, precedence);
}

void CCConstArrayFormula::Print(cells::CTX* ctx, CWideOutStream& out, int) const {
    cells::LCTX* lctx = ctx ? ctx->GetLCTX() : nullptr;
    if (!lctx || !lctx->lctx) lctx = cells::invariant_LCTX();
    const char16_t columnSeparator = (*lctx)->listSeparartor();
    const char16_t rowSeparator = (*lctx)->listSeparartor2();
    out << u'{';
    for (int r = 0; r < m_rows && !m_values.empty(); ++r) {
        if (r) out << rowSeparator << u' ';
        for (int c = 0; c < m_columns; ++c) {
            if (c) out << columnSeparator << u' ';
            PrintConstValue(ctx, out, m_values[size_t(r) * size_t(m_columns) + size_t(c)], 1);
        }
    }
    out << u'}';
}

int CCConstArrayFormula::IsEditSourceRef(cells::CTX*, const CCRef*) const {
    return 0;
}
const CCRef* CCConstArrayFormula::GetEditSourceRef(cells::CTX*, const CCRef*) const {
    return nullptr;
}
int CCConstArrayFormula::ContainsLink(cells::CTX*, const CCRef*, const CCRef*) const {
    return 0;
}
int CCConstArrayFormula::ContainsRemoteLinks() const {
    return 0;
}
int CCConstArrayFormula::ContainsTodayLinks() const {
    return 0;
}
int CCConstArrayFormula::IsSingleValue(cells::CTX*, const CCRef*) {
    return m_columns == 1 && m_rows == 1;
}
int CCConstArrayFormula::RegisterDependents(cells::CTX*, const CCRef*) {
    return 1;
}
int CCConstArrayFormula::UnRegisterDependents(cells::CTX*, const CCRef*) {
    return 1;
}

int CCConstArrayFormula::InvalidateRef(cells::CTX*, const CCRef*, CCFormula*& replacement,
                                       const CCRef*) {
    replacement = Copy();
    return 0;
}

int CCConstArrayFormula::InvalidateItem(cells::CTX*, const CCItem*, CCFormula*& replacement,
                                        const CCRef*) {
    replacement = Copy();
    return 0;
}

int CCConstArrayFormula::MoveFormula(cells::CTX*, const CCRef*, const CCRef*) {
    return 1;
}
int CCConstArrayFormula::UpdateInPaste(cells::CTX*, const CCRef*, const CCRef*,
                                       const CCClipboardData*) {
    return 1;
}

int CCConstArrayFormula::UpdateRef(cells::CTX*, const CCRef*, const CCRef*, const CCRef*,
                                   const CCRef*, int, CCFormula*& replacement) {
    replacement = Copy();
    return 0;
}

uint16_t CCConstArrayFormula::OpenRef(cells::CTX*, const CCRef*) {
    if (m_position >= 0) return 0;
    m_position = 0;
    return 1;
}

int CCConstArrayFormula::NextValue(cells::CTX*, uint16_t& handle, CCCellValue& value,
                                   const CCRef*) {
    if (!handle || m_position < 0 || size_t(m_position) >= m_values.size()) return 0;
    value.Set(m_values[size_t(m_position)]);
    ++m_position;
    return 1;
}

int CCConstArrayFormula::RefSize(cells::CTX*, uint16_t handle, CSize& size, const CCRef*) {
    if (!handle || m_position < 0) return 0;
    size = CSize(m_columns, m_rows);
    return 1;
}

int CCConstArrayFormula::CloseRef(cells::CTX*, uint16_t, const CCRef*) {
    m_position = -1;
    return 1;
}

void CCConstArrayFormula::Read(cells::CTX* ctx, CArchive& ar) {
    m_values.clear();
    m_columns = m_rows = 0;
    m_position = -1;
    int32_t columns = 0, rows = 0;
    ar >> columns >> rows;
    // The counts come from the file: a negative count, or more values than the bytes left
    // could hold (each takes at least its type byte), is refused before anything is
    // allocated; the product is formed in 64 bits so that it cannot wrap.
    if (columns < 0 || rows < 0) throw CArchiveException(CArchiveException::badFormat);
    const uint64_t count = uint64_t(columns) * uint64_t(rows);
    if (count > ar.GetBytesLeft()) throw CArchiveException(CArchiveException::badFormat);
    std::vector<CCCellValue> values(static_cast<size_t>(count));
    for (CCCellValue& v : values)
        v.Read(ctx, ar);
    if (count) {
        m_values = std::move(values);
        m_columns = columns;
        m_rows = rows;
    }
}

void CCConstArrayFormula::Write(cells::CTX* ctx, CArchive& ar) const {
    // An array without values is written with both counts 0, so that the counts always
    // match the values that follow.
    const bool full = !m_values.empty();
    ar << int32_t(full ? m_columns : 0) << int32_t(full ? m_rows : 0);
    for (const CCCellValue& v : m_values)
        v.Write(ctx, ar);
}
