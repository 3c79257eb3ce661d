// SPDX-License-Identifier: Apache-2.0
#include "format_option.h"

#include <algorithm>

#include "ostrel/calc_book.h"
#include "ostrel/platform/utf.h"

namespace ostrel {

namespace {

char16_t FoldAscii(char16_t c) {
    return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c;
}

std::string Complaint(const std::string& text) {
    return "option '--format': " + text;
}

}  // namespace

bool SameSheetName(std::u16string_view a, std::u16string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char16_t x, char16_t y) { return FoldAscii(x) == FoldAscii(y); });
}

bool FormatOption::Covers(std::u16string_view sheetName, int column, int row) const {
    return (sheet.empty() || SameSheetName(sheet, sheetName)) && column >= firstColumn &&
           column <= lastColumn && row >= firstRow && row <= lastRow;
}

std::optional<std::string> ParseFormatOption(std::string_view text, FormatOption& option) {
    const size_t equals = text.find('=');
    if (equals == std::string_view::npos)
        return "option '--format' needs RANGE=CODE, such as B2:D40=#,##0.00";
    bool valid = true;
    const std::u16string range = FromUtf8(text.substr(0, equals), &valid);
    const std::string rangeText(text.substr(0, equals));
    option.code = FromUtf8(text.substr(equals + 1), &valid);
    if (!valid) return Complaint("'" + std::string(text) + "' is not UTF-8");

    std::u16string_view cells = range;
    option.sheet.clear();
    if (size_t bang = cells.rfind(u'!'); bang != std::u16string_view::npos) {
        option.sheet = cells.substr(0, bang);
        cells.remove_prefix(bang + 1);
        if (option.sheet.empty()) return Complaint("'" + rangeText + "' names no sheet");
    }
    const size_t colon = cells.find(u':');
    const std::u16string_view first = cells.substr(0, colon);
    const std::u16string_view last =
        colon == std::u16string_view::npos ? first : cells.substr(colon + 1);
    int c1 = 0, r1 = 0, c2 = 0, r2 = 0;
    if (!ParseCellAddress(first, c1, r1) || !ParseCellAddress(last, c2, r2))
        return Complaint("'" + rangeText + "' is not a cell or a range such as B2:D40");
    option.firstColumn = std::min(c1, c2);
    option.lastColumn = std::max(c1, c2);
    option.firstRow = std::min(r1, r2);
    option.lastRow = std::max(r1, r2);

    if (option.code.empty()) return Complaint("the format code for " + rangeText + " is empty");
    if (option.code.size() > CalcSheet::kLongestFormatCode)
        return Complaint("the format code for " + rangeText + " is longer than " +
                         std::to_string(CalcSheet::kLongestFormatCode) + " characters");
    return std::nullopt;
}

}  // namespace ostrel
