// SPDX-License-Identifier: Apache-2.0
// Where a sheet's cells came from: the output file its CSV input names, the separator and
// the number of fields of each record. The program keeps it in a workbook file as the
// sheet's host data, so that a workbook saved from CSV files writes the same CSV files as
// they did. A sheet without it (a workbook some other program made) is written as its used
// area, named after the sheet.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ostrel {

class CalcSheet;
struct CsvInput;

struct SheetShape {
    std::string outputName;  // within the output folder: NAME.csv
    char separator = ',';
    std::vector<uint16_t> widths;  // the fields of each record, in order
};

// The shape of a CSV input once its cells are typed (its records' ends), written to
// outputName.
SheetShape ShapeOfInput(const CsvInput& input, const std::string& outputName);

// The host data form, and back; nothing when the data is not a shape this program wrote,
// or names a file outside the output folder or holds more rows or fields than a sheet.
std::string EncodeShape(const SheetShape& shape);
std::optional<SheetShape> DecodeShape(std::string_view data);

// The shape kept with the sheet, or else its used area as the file sheetName.csv.
SheetShape ShapeOfSheet(CalcSheet& sheet, const std::u16string& sheetName);

}  // namespace ostrel
