// SPDX-License-Identifier: Apache-2.0
// A formula node that is a single value or a range, for exercising check routines without a
// parsed tree; it counts how often it was asked.
#pragma once

#include <memory>
#include <vector>

#include "ostrel/formula/formula.h"
#include "platform/names.h"

namespace testing_support {

class ShapeNode : public CCConstFormula {
public:
    explicit ShapeNode(bool single) : m_single(single) {}
    int IsSingleValue(cells::CTX*, const CCRef*) override {
        ++asked;
        return m_single ? 1 : 0;
    }
    CCFormula* Copy() const override { return new ShapeNode(m_single); }

    int asked = 0;

private:
    bool m_single;
};

// An argument list of shape nodes: 's' a single value, 'r' a range. The list owns the nodes
// and its links; nodes stay reachable through nodes().
class ShapeArgs {
public:
    explicit ShapeArgs(const char* shape) {
        for (const char* p = shape; *p; ++p)
            m_nodes.push_back(std::make_unique<ShapeNode>(*p == 's'));
        m_links.resize(m_nodes.size());
        for (size_t i = 0; i < m_nodes.size(); ++i) {
            m_links[i].m_pFormula = m_nodes[i].get();
            m_links[i].m_pNext = i + 1 < m_nodes.size() ? &m_links[i + 1] : nullptr;
        }
    }
    ShapeArgs(const ShapeArgs&) = delete;
    ShapeArgs& operator=(const ShapeArgs&) = delete;
    const CCFormulaList* list() const { return m_links.empty() ? nullptr : &m_links[0]; }
    ShapeNode& node(size_t i) { return *m_nodes[i]; }

private:
    std::vector<std::unique_ptr<ShapeNode>> m_nodes;
    std::vector<CCFormulaList> m_links;
};

}  // namespace testing_support
