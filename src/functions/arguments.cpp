// SPDX-License-Identifier: Apache-2.0
#include "functions/arguments.h"

#include <algorithm>
#include <cmath>

#include "ostrel/engine/cell_manager.h"
#include "ostrel/formats/number_format.h"
#include "ostrel/formula/scanner.h"
#include "ostrel/platform/geometry.h"
#include "ostrel/platform/wide_stream.h"
#include "ostrel/refs/region_ref.h"
#include "platform/names.h"

namespace ostrel::functions {

CCFormula* NthArgument(const CCFormulaList* args, int n) {
    for (; args && n > 0; --n)
        args = args->m_pNext;
    return args ? args->m_pFormula : nullptr;
}

int ArgumentCount(const CCFormulaList* args) {
    int count = 0;
    for (; args; args = args->m_pNext)
        ++count;
    return count;
}

void EvaluateArgument(cells::CTX* ctx, const CCFormulaList* args, int n, CCCellValue& value,
                      const CCRef* cell) {
    CCFormula* node = NthArgument(args, n);
    if (!node) {
        value.Set(1);
        return;
    }
    node->Eval(ctx, value, cell);
    DereferenceValue(ctx, value);
}

bool NumberArgument(cells::CTX* ctx, const CCFormulaList* args, int n, double& x,
                    const CCRef* cell) {
    CCCellValue value;
    EvaluateArgument(ctx, args, n, value, cell);
    if (!value.IsNumber()) return false;
    x = value.GetNumber();
    return true;
}

int NumberOrError(cells::CTX* ctx, const CCFormulaList* args, int n, double& x, const CCRef* cell) {
    CCCellValue value;
    EvaluateArgument(ctx, args, n, value, cell);
    if (value.IsError()) return value.GetError();
    if (!value.IsNumber()) return 3;
    x = value.GetNumber();
    return 0;
}

int ToInteger(double x, Rounding rounding, int64_t low, int64_t high, int64_t& out) {
    if (!std::isfinite(x)) return 3;
    double whole = rounding == Rounding::floor ? std::floor(x) : std::trunc(x);
    // Compared as doubles first: a cast of a double beyond the integer range is undefined.
    if (whole < static_cast<double>(low) || whole > static_cast<double>(high)) return 3;
    out = static_cast<int64_t>(whole);
    if (out < low || out > high) return 3;
    return 0;
}

int IntegerArgument(cells::CTX* ctx, const CCFormulaList* args, int n, Rounding rounding,
                    int64_t low, int64_t high, int64_t& out, const CCRef* cell) {
    double x = 0;
    if (int error = NumberOrError(ctx, args, n, x, cell)) return error;
    return ToInteger(x, rounding, low, high, out);
}

int OptionalIntegerArgument(cells::CTX* ctx, const CCFormulaList* args, int n, Rounding rounding,
                            int64_t low, int64_t high, int64_t fallback, int64_t& out,
                            const CCRef* cell) {
    if (!NthArgument(args, n)) {
        out = fallback;
        return 0;
    }
    return IntegerArgument(ctx, args, n, rounding, low, high, out, cell);
}

int ValueToText(cells::CTX* ctx, const CCCellValue& value, std::u16string& out) {
    if (value.IsError()) return value.GetError();
    out.clear();
    if (value.IsText()) {
        if (value.GetText()) out = value.GetText();
    } else if (value.IsNumber()) {
        CWideOutStream printed;
        value.Print(ctx, printed, 0);
        out = printed.take();
    }
    return 0;
}

int TextArgument(cells::CTX* ctx, const CCFormulaList* args, int n, std::u16string& out,
                 const CCRef* cell) {
    CCCellValue value;
    EvaluateArgument(ctx, args, n, value, cell);
    return ValueToText(ctx, value, out);
}

int DateArgument(cells::CTX* ctx, const CCFormulaList* args, int n, double& serial,
                 const CCRef* cell) {
    CCCellValue value;
    EvaluateArgument(ctx, args, n, value, cell);
    return ValueToDate(ctx, value, serial);
}

int ValueToDate(cells::CTX* ctx, const CCCellValue& value, double& serial) {
    if (value.IsError()) return value.GetError();
    if (value.IsNumber()) {
        serial = value.GetNumber();
        return std::isfinite(serial) ? 0 : 3;
    }
    if (!value.IsText() || !value.GetText()) return 3;
    // A typed date, optionally with its time, and nothing else but white space.
    const char16_t* cursor = value.GetText();
    _EatWhite(cursor);
    CCCellValue date;
    if (!_EatDNumber(ctx ? ctx->GetLCTX() : nullptr, cursor, date) || !_IsEmpty(cursor) ||
        !date.IsNumber())
        return 3;
    serial = date.GetNumber();
    return 0;
}

void SetNumber(CCCellValue& result, double x) {
    result.Set(x, CCNumberFormat());
}

void SetKind(CCCellValue& result, double x, unsigned char kind) {
    result.Set(x, kind);
}

void SetBool(CCCellValue& result, bool value) {
    result.Set(value ? 1.0 : 0.0, C_NF_BOOL);
}

void SetText(CCCellValue& result, std::u16string_view text) {
    if (!FitsBuiltText(text.size()))
        result.Set(3);
    else
        result.Set(text);
}

namespace {
// Values read at a time from a range; ranges smaller than kLeastRun are read one by one.
constexpr int kRun = 64;
constexpr long kLeastRun = 8;
}  // namespace

RangeWalk::RangeWalk(cells::CTX* ctx, CCFormula* node, const CCRef* cell, bool emptiesIgnored)
    : m_ctx(ctx), m_node(node), m_cell(cell) {
    if (m_node) m_handle = m_node->OpenRef(ctx, cell);
    if (!m_handle || m_node->GetType() != FORMULA_REF) return;
    // A region's node hands each value on from the document the context names, as is.
    const CCRef* ref = static_cast<CCRefFormula*>(m_node)->GetRef();
    if (!ref || ref->GetType() != REF_TYPE_REGION) return;
    const auto* region = static_cast<const CCRegionRef*>(ref);
    const long area = region->GetWidth() * region->GetHeight();
    if (area < kLeastRun) return;
    m_manager = cells::ManagerOf(ctx);
    if (!m_manager) return;
    m_capacity = int(std::min<long>(area, kRun));
    if (!emptiesIgnored) return;
    // The rows below every column's last cell hold nothing (a range over a whole column
    // read while it is typed, or longer than its data).
    long end = 0;
    for (unsigned c = region->GetFirstColumn(); c <= region->GetLastColumn(); ++c) {
        const long columnEnd = m_manager->GetColumnEnd(c);
        if (columnEnd < 0) return;
        end = std::max(end, columnEnd);
    }
    const long rows = std::max(0L, end - long(region->GetFirstRow()));
    if (rows < region->GetHeight())
        m_emptyFrom = static_cast<unsigned long>(rows * region->GetWidth());
}

RangeWalk::~RangeWalk() {
    if (m_handle) m_node->CloseRef(m_ctx, m_handle, m_cell);
}

bool RangeWalk::Next(CCCellValue& value) {
    if (!m_handle) return false;
    if (m_manager) {
        if (m_read++ >= m_emptyFrom) return false;
        if (m_next == m_count) {
            // Made at the first read: a walk opened only for its size or an index reads none.
            // (The clamp tells the optimiser the size it cannot see from here.)
            if (!m_values)
                m_values = std::make_unique<CCCellValue[]>(size_t(std::clamp(m_capacity, 1, kRun)));
            m_next = 0;
            m_count = m_manager->NextValues(m_handle, m_values.get(), m_capacity);
            if (m_count == 0) return false;
        }
        value = m_values[size_t(m_next++)];
    } else if (!m_node->NextValue(m_ctx, m_handle, value, m_cell)) {
        return false;
    }
    if (value.IsRef()) {
        ++s_dereferenced;
        DereferenceValue(m_ctx, value);
    }
    return true;
}

bool RangeWalk::Size(int& width, int& height) {
    CSize size;
    if (!m_handle || !m_node->RefSize(m_ctx, m_handle, size, m_cell)) return false;
    width = size.cx;
    height = size.cy;
    return true;
}

StepWalk::StepWalk(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, size_t limit) {
    for (; args && m_walks.size() < limit; args = args->m_pNext)
        m_walks.push_back(std::make_unique<RangeWalk>(ctx, args->m_pFormula, cell));
    m_values.resize(m_walks.size());
    m_sizes.assign(m_walks.size(), 0);
    m_errors.assign(m_walks.size(), 0);
}

bool StepWalk::Next() {
    bool all = !m_walks.empty();
    for (size_t i = 0; i < m_walks.size(); ++i) {
        if (!m_walks[i]->Next(m_values[i])) {
            all = false;
            continue;
        }
        ++m_sizes[i];
        if (m_values[i].IsError() && !m_errors[i]) m_errors[i] = m_values[i].GetError();
    }
    if (all) return true;
    // Whatever is left is only counted: one value at a time, never gathered.
    CCCellValue rest;
    for (size_t i = 0; i < m_walks.size(); ++i) {
        while (m_walks[i]->Next(rest)) {
            ++m_sizes[i];
            if (rest.IsError() && !m_errors[i]) m_errors[i] = rest.GetError();
        }
    }
    return false;
}

int StepWalk::Failure() const {
    for (size_t i = 0; i < m_walks.size(); ++i) {
        if (!m_walks[i]->Opened()) return 1;
        if (m_errors[i]) return m_errors[i];
        if (m_sizes[i] != m_sizes[0]) return 3;
    }
    return 0;
}

}  // namespace ostrel::functions
