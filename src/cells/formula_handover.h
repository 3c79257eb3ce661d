// SPDX-License-Identifier: Apache-2.0
// Typing a formula parses it into a tree that nobody else keeps: the cell storing it may take
// that tree as it is instead of a copy. The tree is handed over through the virtual
// SetFormula, so that a cell class that overrides it still sees every formula typed.
#pragma once

#include <memory>

#include "ostrel/formula/formula.h"

namespace ostrel::cells_detail {

// The tree on offer while it lives; SetFormula takes it when given that very tree.
class FormulaHandover {
public:
    explicit FormulaHandover(std::unique_ptr<CCFormula>& tree) : m_previous(Offered()) {
        Offered() = &tree;
    }
    ~FormulaHandover() { Offered() = m_previous; }
    FormulaHandover(const FormulaHandover&) = delete;
    FormulaHandover& operator=(const FormulaHandover&) = delete;

    // The offered tree when it is formula, taken; otherwise null.
    static std::unique_ptr<CCFormula> Take(const CCFormula* formula) {
        std::unique_ptr<CCFormula>* offered = Offered();
        if (!offered || !*offered || offered->get() != formula) return nullptr;
        return std::move(*offered);
    }

private:
    static std::unique_ptr<CCFormula>*& Offered() {
        thread_local std::unique_ptr<CCFormula>* offered = nullptr;
        return offered;
    }
    std::unique_ptr<CCFormula>* m_previous;
};

}  // namespace ostrel::cells_detail
