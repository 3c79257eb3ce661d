// SPDX-License-Identifier: Apache-2.0
#include "functions/reference_support.h"

#include "ostrel/cells/cell_value.h"
#include "ostrel/formula/formula.h"
#include "ostrel/functions/func.h"
#include "ostrel/refs/rc_ref.h"
#include "ostrel/refs/ref_3d.h"
#include "ostrel/refs/region_ref.h"

namespace ostrel::functions {

const CCRef* ReferenceOf(cells::CTX* ctx, CCFormula* node, CCCellValue& holder, const CCRef* cell) {
    // A choice picks another argument at each level, so the walk is as deep as the tree.
    while (node && node->GetType() == FORMULA_CHOOSE) {
        auto* choice = static_cast<CCChooseOpFormula*>(node);
        CCFormula* chosen = nullptr;
        if (GetFuncChoice(ctx, chosen, choice->GetFunc(), choice->GetArgs(), cell) != 0)
            return nullptr;
        node = chosen;
    }
    if (!node) return nullptr;
    if (node->GetType() == FORMULA_REF) return static_cast<CCRefFormula*>(node)->GetRef();
    if (node->GetType() != FORMULA_REFOP) return nullptr;
    node->Eval(ctx, holder, cell);
    return holder.IsRef() ? holder.GetRef() : nullptr;
}

bool GridArea(const CCRef* ref, CCRegionRef& area, const CCRef3D*& qualifier) {
    qualifier = nullptr;
    if (ref && ref->GetType() == REF_TYPE_3D) {
        qualifier = static_cast<const CCRef3D*>(ref);
        if (!qualifier->IsSingleSheet()) return false;
        ref = qualifier->GetInnerRef();
    }
    if (!ref) return false;
    if (ref->GetType() == REF_TYPE_RC) {
        const auto* rc = static_cast<const CCRCRef*>(ref);
        area = CCRegionRef(rc->GetColumn(), rc->GetRow(), rc->GetColumn(), rc->GetRow());
        return true;
    }
    if (ref->GetType() != REF_TYPE_REGION) return false;
    area = *static_cast<const CCRegionRef*>(ref);
    area.Normalize();
    return true;
}

}  // namespace ostrel::functions
