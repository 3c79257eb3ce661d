// SPDX-License-Identifier: Apache-2.0
// The --format RANGE=CODE option of the calc command: which cells (a cell or a range, on a
// named sheet or on every sheet) display through which custom number format code.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ostrel {

struct FormatOption {
    std::u16string sheet;  // empty: every sheet
    int firstColumn = 0, firstRow = 0, lastColumn = 0, lastRow = 0;
    std::u16string code;

    bool Covers(std::u16string_view sheetName, int column, int row) const;
};

// Reads RANGE=CODE: RANGE is B2, B2:D40 or Sheet!B2:D40 (corners in any order), CODE the
// format code after the first "=". Returns the complaint about text that cannot be used,
// naming the option.
std::optional<std::string> ParseFormatOption(std::string_view text, FormatOption& option);

// Whether a sheet name, as formulas write it, names the sheet (letters A-Z in any case).
bool SameSheetName(std::u16string_view a, std::u16string_view b);

}  // namespace ostrel
