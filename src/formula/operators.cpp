// SPDX-License-Identifier: Apache-2.0
// Evaluation routines of the operator entries.
#include <algorithm>
#include <memory>

#include "formula/operators.h"
#include "ostrel/cells/cell_value.h"
#include "ostrel/engine/cell_manager.h"
#include "ostrel/formula/formula.h"
#include "ostrel/refs/name_ref.h"
#include "ostrel/refs/rc_ref.h"
#include "ostrel/refs/ref_3d.h"
#include "ostrel/refs/region_ref.h"

#define OSTREL_FOLD_OPERATOR(Name, code)                                       \
    void Name(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, \
              const CCRef* cell) {                                             \
        FoldOperator(ctx, code, result, args, cell);                           \
    }

OSTREL_FOLD_OPERATOR(EvalAdd, EV_ADD)
OSTREL_FOLD_OPERATOR(EvalSub, EV_SUB)
OSTREL_FOLD_OPERATOR(EvalMul, EV_MUL)
OSTREL_FOLD_OPERATOR(EvalDiv, EV_DIV)
OSTREL_FOLD_OPERATOR(EvalPower, EV_POW)
OSTREL_FOLD_OPERATOR(EvalAnd, EV_AND)
OSTREL_FOLD_OPERATOR(EvalOr, EV_OR)
OSTREL_FOLD_OPERATOR(EvalEQ, EV_EQ)
OSTREL_FOLD_OPERATOR(EvalNE, EV_NE)
OSTREL_FOLD_OPERATOR(EvalGT, EV_GT)
OSTREL_FOLD_OPERATOR(EvalGE, EV_GE)
OSTREL_FOLD_OPERATOR(EvalLT, EV_LT)
OSTREL_FOLD_OPERATOR(EvalLE, EV_LE)

#undef OSTREL_FOLD_OPERATOR

namespace {

// The one argument of a unary operator, evaluated and read when it is a reference; false
// (with the result set to error 1) without an argument.
bool UnaryOperand(cells::CTX* ctx, CCCellValue& value, const CCFormulaList* args,
                  const CCRef* cell) {
    if (!args || !args->m_pFormula) {
        value.Set(1);
        return false;
    }
    args->m_pFormula->Eval(ctx, value, cell);
    DereferenceValue(ctx, value);
    return true;
}

// The reference an argument node denotes: a reference node's own, or what a
// reference-operation node yields (kept alive in holder).
const CCRef* ReferenceOf(cells::CTX* ctx, const CCFormula* node, CCCellValue& holder,
                         const CCRef* cell) {
    if (!node) return nullptr;
    if (node->GetType() == FORMULA_REF) return static_cast<const CCRefFormula*>(node)->GetRef();
    if (node->GetType() == FORMULA_REFOP) {
        const_cast<CCFormula*>(node)->Eval(ctx, holder, cell);
        return holder.IsRef() ? holder.GetRef() : nullptr;
    }
    return nullptr;
}

}  // namespace

void EvalUnPlus(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                const CCRef* cell) {
    UnaryOperand(ctx, result, args, cell);
}

void EvalUnMinus(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                 const CCRef* cell) {
    if (!UnaryOperand(ctx, result, args, cell)) return;
    if (result.IsNumber()) {
        CCNumberFormat format = result.GetFormat();
        result.Set(-result.GetNumber(), format);
    }
}

void EvalPercent(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                 const CCRef* cell) {
    if (!UnaryOperand(ctx, result, args, cell)) return;
    if (result.IsNumber()) result.Set(result.GetNumber() / 100.0, static_cast<unsigned char>(0));
}

void EvalNot(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    if (!UnaryOperand(ctx, result, args, cell)) return;
    if (result.IsError()) return;
    double number = 0;
    bool isNumber = true;
    if (result.IsNumber())
        number = result.GetNumber();
    else if (!result.IsEmpty() && !result.IsText())
        isNumber = false;
    result.Set(isNumber && number == 0 ? 1.0 : 0.0, C_NF_BOOL);
}

void EvalRange(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    if (!FormulaListItemsEx(args, 2)) {
        result.Set(1);
        return;
    }
    const CCRCRef* ends[2] = {nullptr, nullptr};
    CCCellValue holders[2];
    std::unique_ptr<CCRef> translated[2];
    CCCellManager* manager = ctx ? ctx->GetManager() : nullptr;
    const CCFormulaList* a = args;
    for (int i = 0; i < 2; ++i, a = a->m_pNext) {
        const CCRef* ref = ReferenceOf(ctx, a->m_pFormula, holders[i], cell);
        if (!ref) {
            result.Set(1);
            return;
        }
        if (ref->GetType() == REF_TYPE_NAME) {
            // The manager's translation is a new reference owned here.
            translated[i].reset(manager ? manager->TranslateNameRef(ref) : nullptr);
            ref = translated[i].get();
        }
        if (!ref || ref->GetType() != REF_TYPE_RC) {
            result.Set(3);
            return;
        }
        ends[i] = static_cast<const CCRCRef*>(ref);
    }
    CCRegionRef region(std::min(ends[0]->GetColumn(), ends[1]->GetColumn()),
                       std::min(ends[0]->GetRow(), ends[1]->GetRow()),
                       std::max(ends[0]->GetColumn(), ends[1]->GetColumn()),
                       std::max(ends[0]->GetRow(), ends[1]->GetRow()));
    result.Set(&region);
}

namespace {

// The sheet number a sheet part names (0 when none), or the sheet-qualified reference it
// yields (kept in holder and returned through qualified).
uint16_t SheetOfPart(cells::CTX* ctx, const CCFormula* part, CCCellValue& holder,
                     const CCRef3D*& qualified, const CCRef* cell) {
    qualified = nullptr;
    CCCellManager* manager = ctx ? ctx->GetManager() : nullptr;
    if (!manager || !part) return 0;
    if (part->GetType() == FORMULA_REF) {
        const CCRef* ref = static_cast<const CCRefFormula*>(part)->GetRef();
        if (ref && ref->GetType() == REF_TYPE_NAME)
            return manager->GetNameIndex(static_cast<const CCNameRef*>(ref));
    }
    const_cast<CCFormula*>(part)->Eval(ctx, holder, cell);
    if (holder.IsText()) return holder.GetText() ? manager->GetNameIndex(holder.GetText()) : 0;
    if (!holder.IsRef() || !holder.GetRef()) return 0;
    const CCRef* ref = holder.GetRef();
    if (ref->GetType() == REF_TYPE_NAME)
        return manager->GetNameIndex(static_cast<const CCNameRef*>(ref));
    if (ref->GetType() == REF_TYPE_3D) {
        qualified = static_cast<const CCRef3D*>(ref);
        return 0;
    }
    CCCellValue value;
    if (ref->GetValue(ctx, &value) && value.IsText() && value.GetText())
        return manager->GetNameIndex(value.GetText());
    return 0;
}

// A sheet-qualified single cell that is one value when seen from its own sheet.
const CCRCRef* SingleCellOnOwnSheet(cells::CTX* ctx, const CCRef3D* ref) {
    if (!ref->IsSingleSheet() || ref->IsManagerKey()) return nullptr;
    const CCRef* inner = ref->GetInnerRef();
    if (!inner || inner->GetType() != REF_TYPE_RC) return nullptr;
    CCCellManager* manager = ctx ? ctx->GetManager() : nullptr;
    CCCellManager* sheet = manager ? manager->GetManForNameIndex(ref->GetFirstSheet()) : nullptr;
    if (!sheet) return nullptr;
    cells::CTX* sheetCtx = sheet->GetCTX();
    if (!inner->IsSingleValue(sheetCtx ? sheetCtx : ctx)) return nullptr;
    return static_cast<const CCRCRef*>(inner);
}

}  // namespace

void EvalSheetRange(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                    const CCRef* cell) {
    const size_t count = FormulaListCount(args);
    if (count < 1 || count > 2) {
        result.Set(1);
        return;
    }
    CCCellValue holders[2];
    const CCRef3D* qualified[2] = {nullptr, nullptr};
    uint16_t sheets[2] = {0, 0};
    const CCFormulaList* a = args;
    for (size_t i = 0; i < count; ++i, a = a->m_pNext)
        sheets[i] = SheetOfPart(ctx, a->m_pFormula, holders[i], qualified[i], cell);
    if (count == 2 && qualified[0] && qualified[1]) {
        // Sheet1!A1:Sheet2!B2: a span of sheets over the region between the two cells.
        const CCRCRef* first = SingleCellOnOwnSheet(ctx, qualified[0]);
        const CCRCRef* last = SingleCellOnOwnSheet(ctx, qualified[1]);
        if (!first || !last) {
            result.Set(1);
            return;
        }
        CCRef3D span(qualified[0]->GetFirstSheet(), qualified[1]->GetFirstSheet(),
                     new CCRegionRef(std::min(first->GetColumn(), last->GetColumn()),
                                     std::min(first->GetRow(), last->GetRow()),
                                     std::max(first->GetColumn(), last->GetColumn()),
                                     std::max(first->GetRow(), last->GetRow())));
        result.Set(&span);
        return;
    }
    for (size_t i = 0; i < count; ++i) {
        if (sheets[i] == 0) {
            result.Set(1);
            return;
        }
    }
    CCRef3D sheetsRef(sheets[0], count == 2 ? sheets[1] : uint16_t(0));
    result.Set(&sheetsRef);
}

void EvalFullRef(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                 const CCRef* cell) {
    if (!FormulaListItemsEx(args, 2) || args->m_pFormula->GetType() != FORMULA_REFOP) {
        result.Set(1);
        return;
    }
    CCCellValue sheetPart;
    args->m_pFormula->Eval(ctx, sheetPart, cell);
    if (!sheetPart.IsRef() || !sheetPart.GetRef() || sheetPart.GetRef()->GetType() != REF_TYPE_3D) {
        result.Set(1);
        return;
    }
    CCCellValue holder;
    const CCRef* inner = ReferenceOf(ctx, args->m_pNext->m_pFormula, holder, cell);
    if (!inner) {
        result.Set(1);
        return;
    }
    CCRef3D full(*static_cast<const CCRef3D*>(sheetPart.GetRef()));
    full.SetInnerRef(inner->Copy());
    result.Set(&full);
}
