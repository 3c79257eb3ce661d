// The calc command: reads a CSV file, types each field into its cell and writes the sheet
// back as CSV.
#pragma once

#include <iosfwd>
#include <string>

namespace ostrel {

class CalcSheet;

struct CalcOptions {
    std::string file;       // a path, or "-" for standard input
    bool formulas = false;  // formula text instead of display text
};

// Calculates on sheet, which should be empty. Returns the program's exit code; errors are
// one line each on err, and out receives the whole result at once or nothing. The engine's
// messages while it runs go to err as well.
int RunCalc(const CalcOptions& options, CalcSheet& sheet, std::istream& in, std::ostream& out,
            std::ostream& err);

}  // namespace ostrel
