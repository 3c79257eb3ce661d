// SPDX-License-Identifier: Apache-2.0
// The ordering of the process list done the plain way, as the reference the real one is
// checked against: the list is walked from the front, every dependent met is searched for
// from the front, and one found before the reference it depends on moves to the end, to be
// walked again. Quadratic, and it assumes an acyclic graph.
#pragma once

#include <memory>
#include <vector>

#include "ostrel/engine/cell_manager.h"

class CCRef;

namespace testing_support {

// The order in which the manager's process list would be recalculated; the list itself is
// left as it is.
std::vector<std::unique_ptr<CCRef>> LiteralRecalcOrder(CCCellManager& manager,
                                                       const CCCellManager::CCRecalcList& process);

}  // namespace testing_support
