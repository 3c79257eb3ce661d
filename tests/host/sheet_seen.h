// SPDX-License-Identifier: Apache-2.0
// What a user sees of a host sheet, for comparing a sheet with the one a file gave back.
#pragma once

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "facade/host_sheet.h"
#include "platform/names.h"

namespace host_testing {

// Each cell holding something, in row order: its address, display text and formula text.
// With formatted, a cell holding only a format counts too.
inline std::vector<std::u16string> Seen(ostrel::host::HostSheet& sheet, bool formatted) {
    std::vector<std::pair<unsigned, std::u16string>> cells;
    sheet.ForEachCell([&](ostrel::host::HostCell& cell) {
        if (cell.GetValue().IsEmpty() && !cell.IsFormulaLink() &&
            !(formatted && cell.GetFormatIndex() != 0))
            return;
        cells.emplace_back(cell.Row() << 8 | cell.Column(),
                           ostrel::CellAddress(int(cell.Column()), int(cell.Row())) + u" " +
                               sheet.GetCellValueText(cell.Column(), cell.Row()) + u" | " +
                               sheet.GetCellFormula(cell.Column(), cell.Row()));
    });
    std::sort(cells.begin(), cells.end());
    std::vector<std::u16string> seen;
    for (auto& cell : cells)
        seen.push_back(std::move(cell.second));
    return seen;
}

}  // namespace host_testing
