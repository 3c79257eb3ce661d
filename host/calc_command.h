// SPDX-License-Identifier: Apache-2.0
// The calc command: reads CSV files as the sheets of one workbook, types each field into
// its cell and writes every sheet back as CSV.
#pragma once

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "format_option.h"

namespace ostrel {

class CalcBook;
class CalcSheet;

struct CalcOptions {
    std::vector<std::string> files;         // paths, or "-" for standard input
    std::optional<std::string> outDir;      // one DIR/NAME.csv per sheet instead of out
    std::optional<std::string> save;        // a workbook file written besides the output
    std::optional<std::string> saveLegacy;  // a legacy exchange file written besides it
    std::string locale;                     // of a workbook read from a workbook file
    std::optional<char> separator;          // of input and output; else each file's own
    bool formulas = false;                  // formula text instead of display text
    bool progress = false;                  // a progress bar on err while calculating
    std::vector<FormatOption> formats;      // custom formats given to cells once typed
    // Documents that formulas read by name (REMOTE, SSGET): (NAME, FILE), a CSV file or a
    // workbook file each.
    std::vector<std::pair<std::u16string, std::string>> documents;
    // Databases that the database functions read by name: (NAME, FILE), SQLite files.
    std::vector<std::pair<std::u16string, std::string>> databases;
    // Document properties of the workbook: (KEY, VALUE).
    std::vector<std::pair<std::u16string, std::u16string>> properties;
};

// The name of the sheet a file becomes: its name without folder and extension ("Sheet1"
// for standard input), made a name formulas can use (ReferableSheetName); bytes that are
// not UTF-8 count as characters a sheet name cannot hold.
std::u16string SheetNameOf(const std::string& file);
// The name of the file a sheet is written to within the output folder: the file's own
// name without folder and extension, and ".csv".
std::string OutputNameOf(const std::string& file);

// Calculates on book, which holds one empty sheet per file, in the order of the files.
// Returns the program's exit code; errors are one line each on err. Every file is read and
// checked before the first cell is typed, and nothing is written unless every sheet was
// calculated: the workbook file first when one is to be saved (whole, or not at all), then
// out receives the one sheet at once, or every DIR/NAME.csv appears whole (each written
// aside and renamed into place). The engine's messages while it runs go to err as well.
// A legacy exchange file is saved after the workbook file, and the formulas it writes as
// values are counted on err.
// A FILE that is a workbook or legacy exchange file (it must be the only one) is loaded
// instead, into a new workbook that takes book's place; each of its sheets is written in the
// shape, with the separator and to the file, of the CSV input it was made from, or else as
// its used area to NAME.csv, NAME being the sheet's.
// Here, unlike below, a lone CSV file is typed while it is read, on a second thread: when it
// proves faulty, book may hold what was typed before the fault was found, while nothing is
// written or said but the fault.
int RunCalc(const CalcOptions& options, std::unique_ptr<CalcBook>& book, std::istream& in,
            std::ostream& out, std::ostream& err);

// The same on a workbook the caller keeps; a workbook file is loaded beside it.
int RunCalc(const CalcOptions& options, CalcBook& book, std::istream& in, std::ostream& out,
            std::ostream& err);

// One file on sheet, which should be empty, written to out.
int RunCalc(const CalcOptions& options, CalcSheet& sheet, std::istream& in, std::ostream& out,
            std::ostream& err);

}  // namespace ostrel
