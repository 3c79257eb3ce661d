// SPDX-License-Identifier: Apache-2.0
// Formulas and cells between the legacy records and the engine. A formula goes over only
// when it reads back as the same tree: every function by a name that finds it again, every
// constant printing and computing as before; otherwise it converts to none and the caller
// keeps the cell's value.
#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "io/qxw15_text.h"
#include "ostrel/cells/cell.h"
#include "ostrel/engine/cell_manager.h"
#include "ostrel/formula/formula.h"
#include "ostrel/functions/func.h"
#include "ostrel/io/qxw15_convert.h"
#include "ostrel/platform/geometry.h"
#include "ostrel/platform/wide_stream.h"
#include "ostrel/refs/rc_ref.h"
#include "ostrel/refs/ref_3d.h"
#include "ostrel/refs/ref_list.h"
#include "ostrel/refs/region_ref.h"

using ostrel::platform::CPoint;
using ostrel::platform::CWideOutStream;
using X = CCQXW15Exchange;

namespace {

cells::CTX* ContextOf(CCCellManager* manager) {
    return manager ? manager->GetCTX() : nullptr;
}

std::u16string Printed(cells::CTX* ctx, const CCCellValue& value) {
    CWideOutStream out;
    value.Print(ctx, out, 2);
    return std::u16string(out.str());
}

// Whether a constant reads back as itself: the same kind and payload, printing alike.
bool SameConstant(cells::CTX* ctx, const CCCellValue& a, const CCCellValue& b) {
    if (a.GetType() != b.GetType()) return false;
    if (a.IsNumber() && a.GetNumber() != b.GetNumber()) return false;
    if (a.IsError() && a.GetError() != b.GetError()) return false;
    return Printed(ctx, a) == Printed(ctx, b);
}

// Orders cells and ranges by their first cell, row by row, then by their last.
uint64_t PositionKey(const CCRef* ref) {
    if (ref->GetType() == REF_TYPE_RC) {
        const auto* cell = static_cast<const CCRCRef*>(ref);
        const uint64_t at = uint64_t(cell->GetRow()) << 8 | cell->GetColumn();
        return at << 24 | at;
    }
    if (ref->GetType() == REF_TYPE_REGION) {
        const auto* range = static_cast<const CCRegionRef*>(ref);
        return (uint64_t(range->GetFirstRow()) << 8 | range->GetFirstColumn()) << 24 |
               uint64_t(range->GetLastRow()) << 8 | range->GetLastColumn();
    }
    return UINT64_MAX;
}

}  // namespace

X::CCQXW15_Formula* CCQXW15Convert::ConvertTo15(const CCFormula* formula, const CPoint* origin) {
    return FormulaTo15(formula, origin, 1);
}

X::CCQXW15_Formula* CCQXW15Convert::FormulaTo15(const CCFormula* formula, const CPoint* origin,
                                                int depth) {
    // A deeper tree would be refused by the reader of the records.
    if (!formula || depth > X::kMaxDepth) return nullptr;
    cells::CTX* ctx = ContextOf(m_manager);
    switch (formula->GetType()) {
        case FORMULA_CONST: {
            const CCCellValue& value = static_cast<const CCConstFormula*>(formula)->GetValue();
            auto record = std::make_unique<X::CCQXW15_FormulaConst>();
            if (!ConvertTo15(value, record->m_value)) return nullptr;
            CCCellValue back;
            ConvertTo95(record->m_value, back);
            if (!SameConstant(ctx, value, back)) return nullptr;
            return record.release();
        }
        case FORMULA_REF: {
            const auto* node = static_cast<const CCRefFormula*>(formula);
            X::CCQXW15_Ref* ref = nullptr;
            ConvertTo15(node->GetRef(), node->GetMode(), origin, ref);
            if (!ref) return nullptr;
            auto record = std::make_unique<X::CCQXW15_FormulaRef>();
            record->m_ref = ref;
            return record.release();
        }
        case FORMULA_OP:
        case FORMULA_REMOTE:
        case FORMULA_DOC: {
            const auto* node = static_cast<const CCOpFormula*>(formula);
            const CCFunc* func = node->GetFunc();
            std::string name;
            if (!func || !ostrel::io::NarrowExactly(func->GetName(), name)) return nullptr;
            // The reader finds a function by its name and arguments: one that would find
            // another entry is no formula of the old form.
            if (GetFunction(ctx, name.c_str(), node->GetArgs()) != func) return nullptr;
            auto record = std::make_unique<X::CCQXW15_FormulaOp>();
            record->m_name = std::move(name);
            for (const CCFormulaList* arg = node->GetArgs(); arg; arg = arg->m_pNext) {
                X::CCQXW15_Formula* converted = FormulaTo15(arg->m_pFormula, origin, depth + 1);
                if (!converted) return nullptr;
                record->AddArg(converted);
            }
            return record.release();
        }
        default:
            return nullptr;  // arrays, choices and reference operators have no old form
    }
}

CCFormula* CCQXW15Convert::ConvertTo95(const X::CCQXW15_Formula* formula, const CPoint* origin) {
    return FormulaTo95(formula, origin, 1);
}

CCFormula* CCQXW15Convert::FormulaTo95(const X::CCQXW15_Formula* formula, const CPoint* origin,
                                       int depth) {
    // Records a reader made nest no deeper; records built in memory might.
    if (!formula || depth > X::kMaxDepth) return nullptr;
    switch (formula->GetType()) {
        case 2: {
            auto node = std::make_unique<CCConstFormula>();
            ConvertTo95(static_cast<const X::CCQXW15_FormulaConst*>(formula)->m_value,
                        node->GetValue());
            return node.release();
        }
        case 3: {
            unsigned char mask = 0;
            std::unique_ptr<CCRef> ref(ConvertTo95(
                static_cast<const X::CCQXW15_FormulaRef*>(formula)->m_ref, origin, mask));
            return ref ? new CCRefFormula(ref.get(), mask) : nullptr;
        }
        case 1: {
            const auto* op = static_cast<const X::CCQXW15_FormulaOp*>(formula);
            // A name with a zero byte would be looked up by its first part only.
            if (!op->m_name || op->m_name->find('\0') != std::string::npos) return nullptr;
            CCFormulaList* args = nullptr;
            struct Owner {
                CCFormulaList*& list;
                ~Owner() { FreeFormulaList(list, 1); }
            } owner{args};
            for (const X::SCQXW15_FormulaList* arg = op->m_args; arg; arg = arg->m_pNext) {
                CCFormula* converted = FormulaTo95(arg->m_pFormula, origin, depth + 1);
                if (!converted) return nullptr;
                FormulaListAddLast(args, converted);
            }
            const CCFunc* func = GetFunction(ContextOf(m_manager), op->m_name->c_str(), args);
            if (!func) return nullptr;
            // The node takes the arguments, or frees them when it cannot be built.
            return ConstructOpFormula(func, std::exchange(args, nullptr));
        }
        default:
            return nullptr;
    }
}

// ---- cells ----

bool CCQXW15Convert::ConvertTo15(CCCell& cell, X::CCQXW15_Cell& out) {
    out.Release();
    cells::CTX* ctx = ContextOf(m_manager);
    const CCRef* own = cell.GetRef();
    out.m_position = ConvertTo15(own, 0, nullptr);
    ConvertTo15(cell.GetValue(), out.m_value);
    bool carried = true;
    const CCCellFormat& format = cell.getCFmt();
    if (format.IsEditSource() && format.GetEditSource()) {
        X::CCQXW15_Ref* source = nullptr;
        ConvertTo15(cell.GetEditSourceRef(ctx), 0, nullptr, source);
        if (source)
            X::RefListAddLast(out.m_editSources, source);
        else
            carried = false;
    } else if (cell.IsFormulaLink()) {
        const CCFormula* formula = cell.LoadFormula(ctx);
        const CCRCRef* at =
            own && own->GetType() == REF_TYPE_RC ? static_cast<const CCRCRef*>(own) : nullptr;
        if (formula && at) {
            const CPoint origin(int32_t(at->GetColumn()) + 1, int32_t(at->GetRow()) + 1);
            out.m_formula = ConvertTo15(formula, &origin);
        }
        carried = out.m_formula != nullptr;
    }
    CCRefList* dependents = cell.LoadDependents(ctx);
    // Dependents are kept qualified with their sheet, and in the order they registered;
    // the old form knows one sheet, and the same cells should always write the same bytes.
    std::vector<const CCRef*> inner;
    for (const CCRefList* node = dependents; node; node = node->m_pNext) {
        const CCRef* ref = node->m_pRef;
        if (ref && ref->GetType() == REF_TYPE_3D)
            ref = static_cast<const CCRef3D*>(ref)->GetInnerRef();
        if (ref) inner.push_back(ref);
    }
    std::stable_sort(inner.begin(), inner.end(), [](const CCRef* a, const CCRef* b) {
        return PositionKey(a) < PositionKey(b);
    });
    for (const CCRef* ref : inner) {
        X::CCQXW15_Ref* converted = nullptr;
        ConvertTo15(ref, 0, nullptr, converted);
        if (converted) X::RefListAddLast(out.m_dependents, converted);
    }
    RefListFree(dependents, 0);
    return carried;
}

CCRef* CCQXW15Convert::ConvertTo95(const X::CCQXW15_Cell& in, CCCell& cell) {
    cells::CTX* ctx = ContextOf(m_manager);
    unsigned char mask = 0;
    std::unique_ptr<CCRef> position(ConvertTo95(in.m_position, nullptr, mask));
    CCCellValue value;
    ConvertTo95(in.m_value, value);
    cell.SetValue(ctx, value);
    if (in.m_editSources && in.m_editSources->m_pRef) {
        std::unique_ptr<CCRef> source(ConvertTo95(in.m_editSources->m_pRef, nullptr, mask));
        if (source) cell.SetEditSource(ctx, source.get(), mask);
        return position.release();
    }
    const CCRCRef* at = position && position->GetType() == REF_TYPE_RC
                            ? static_cast<const CCRCRef*>(position.get())
                            : nullptr;
    if (!in.m_formula || !at) return position.release();
    const CPoint origin(int32_t(at->GetColumn()) + 1, int32_t(at->GetRow()) + 1);
    std::unique_ptr<CCFormula> formula(ConvertTo95(in.m_formula, &origin));
    if (!formula) return position.release();
    // Attached as the exchange stream attaches formulas: registered and queued, so that a
    // sheet read cell by cell computes once every cell is in place.
    cell.RemoveFormula(ctx);
    cell.SaveFormula(ctx, formula.get(), CELL_FORMULA);
    cell.SetFormulaCirc(0);
    cell.RegisterFormula(ctx);
    if (m_manager) m_manager->InitFormulaRecalc(&cell);
    return position.release();
}
