// SPDX-License-Identifier: Apache-2.0
// The references a formula tree reads, for the engine's own walks over every formula typed.
#pragma once

#include <cstddef>
#include <vector>

#include "ostrel/formula/formula.h"

namespace ostrel::formula {

/// Calls visit with each non-null reference the tree reads, in the order its text names
/// them (depth first, arguments left to right). visit may start walks of its own.
template <class Visit>
void WalkPrecedents(const CCFormula* root, Visit&& visit) {
    // The stack holds the arguments still to come at each open level, so it grows with the
    // nesting, not with the width of an argument list; nesting is bounded only by the text's
    // length, hence no recursion. Typical trees fit the part kept on the machine stack.
    constexpr size_t kInline = 32;
    const CCFormulaList* near[kInline];
    size_t nearCount = 0;
    std::vector<const CCFormulaList*> far;
    // Once the machine-stack part is full it stays so until what spilled is taken back.
    auto push = [&](const CCFormulaList* rest) {
        if (nearCount < kInline)
            near[nearCount++] = rest;
        else
            far.push_back(rest);
    };
    const CCFormula* node = root;
    for (;;) {
        if (node) {
            switch (node->GetType()) {
                case FORMULA_REF:
                    if (const CCRef* ref = static_cast<const CCRefFormula*>(node)->GetRef())
                        visit(ref);
                    break;
                case FORMULA_REFOP:
                    if (const CCRef* ref = static_cast<const CCRefOpFormula*>(node)->GetKeptRef())
                        visit(ref);
                    break;
                case FORMULA_OP:
                case FORMULA_CHOOSE:
                case FORMULA_REMOTE:
                case FORMULA_DOC:
                    if (const CCFormulaList* args =
                            static_cast<const CCOpFormula*>(node)->GetArgs()) {
                        if (args->m_pNext) push(args->m_pNext);
                        node = args->m_pFormula;
                        continue;
                    }
                    break;
                default:
                    break;
            }
        }
        const CCFormulaList* rest;
        if (!far.empty()) {
            rest = far.back();
            far.pop_back();
        } else if (nearCount > 0) {
            rest = near[--nearCount];
        } else {
            return;
        }
        if (rest->m_pNext) push(rest->m_pNext);
        node = rest->m_pFormula;
    }
}

}  // namespace ostrel::formula
