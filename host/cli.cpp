#include "cli.h"

#include <iostream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "calc_command.h"
#include "platform/utf.h"
#include "platform/zmk/environment.h"
#include "sheet_interface.h"

#include <unistd.h>

namespace ostrel {

namespace {

constexpr std::string_view kUsage =
    "Usage: ostrel-cells calc [--formulas] [--locale NAME] FILE\n"
    "       ostrel-cells calc [--formulas] [--locale NAME] --out DIR FILE...\n"
    "       ostrel-cells --help\n";

constexpr std::string_view kHelp =
    "\n"
    "Calculates a sheet given as comma-separated values.\n"
    "\n"
    "Commands:\n"
    "  calc FILE        Read FILE, type every non-empty field into the cell at its\n"
    "                   column and row (the first field of the first record is A1),\n"
    "                   and write the sheet to standard output as comma-separated\n"
    "                   values of the same shape, each cell showing its display text.\n"
    "                   FILE is RFC 4180 CSV in UTF-8; \"-\" reads standard input.\n"
    "  calc --out DIR FILE...\n"
    "                   Read every FILE as one sheet of a workbook, named after the\n"
    "                   file without its folder and extension (\"-\" is Sheet1), so\n"
    "                   that a formula on one reads the others (=prices!B2*2).\n"
    "                   Write each sheet as DIR/NAME.csv, creating DIR when missing;\n"
    "                   each file appears whole or not at all.\n"
    "\n"
    "Options:\n"
    "  --formulas       Write each cell's formula text (for a constant, the text as\n"
    "                   typed) instead of its display text.\n"
    "  --locale NAME    Type and display with the conventions of locale NAME (such as\n"
    "                   en_US, de_DE or fr-CH; C for the built-in defaults). Without it\n"
    "                   the locale comes from LC_ALL, LC_NUMERIC or LANG.\n"
    "  --out DIR        Write one file per sheet into DIR instead of standard\n"
    "                   output (needed with more than one FILE).\n"
    "  -h, --help       Show this help and exit.\n"
    "\n"
    "Input: lines end with CRLF, LF or CR; a quoted field may hold commas, doubled\n"
    "quotes and line breaks; a UTF-8 byte order mark is skipped; empty lines at the end\n"
    "are ignored. A sheet has at most 65536 rows and 256 columns (A to IV).\n"
    "Output: lines end with LF; a field is quoted when it holds a comma, a double\n"
    "quote or a line break. Nothing is written unless every file was read and the\n"
    "whole workbook calculated. While a long calculation runs, a progress bar shows on\n"
    "standard error when it is a terminal.\n"
    "\n"
    "Exit status:\n"
    "  0  every sheet was written\n"
    "  1  the input could not be read (no such file, invalid UTF-8, malformed CSV,\n"
    "     more than 65536 rows or 256 columns) or the output could not be written\n"
    "  2  the command line was wrong (unknown command or option, no FILE given,\n"
    "     several FILEs without --out, two FILEs making sheets of the same name,\n"
    "     unknown locale)\n";

constexpr std::string_view kProgram = "ostrel-cells";

struct Arguments {
    bool help = false;
    bool formulas = false;
    std::optional<std::string> locale;
    std::optional<std::string> outDir;
    std::vector<std::string> positional;
};

// Fills arguments; returns the complaint about the first wrong argument, or nothing.
std::optional<std::string> Parse(int argc, char** argv, Arguments& arguments) {
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (optionsEnded || arg == "-" || !arg.starts_with('-')) {
            arguments.positional.emplace_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            arguments.help = true;
            return std::nullopt;
        } else if (arg == "--formulas") {
            arguments.formulas = true;
        } else if (arg == "--locale") {
            if (i + 1 >= argc) return "option '--locale' needs a locale name";
            arguments.locale = argv[++i];
        } else if (arg.starts_with("--locale=")) {
            arguments.locale = std::string(arg.substr(9));
        } else if (arg == "--out") {
            if (i + 1 >= argc) return "option '--out' needs a folder";
            arguments.outDir = argv[++i];
        } else if (arg.starts_with("--out=")) {
            arguments.outDir = std::string(arg.substr(6));
        } else {
            return "unknown option '" + std::string(arg) + "'";
        }
    }
    return std::nullopt;
}

int UsageError(std::ostream& err, const std::string& complaint) {
    err << kProgram << ": " << complaint << '\n'
        << kUsage << "Try 'ostrel-cells --help' for more information.\n";
    return kExitUsage;
}

// The locale to calculate with: the one named on the command line, which must exist, or
// the environment's, which falls back to the invariant locale when it is unknown.
std::optional<std::string> ChooseLocale(const std::optional<std::string>& named) {
    using zmk::globals::CLocalesCache;
    auto& cache = zmk::globals::global_environment().locales_cache();
    if (named) {
        if (named->empty() || !cache.get(*named)) return std::nullopt;
        return CLocalesCache::NormalizeName(*named);
    }
    std::string fromEnvironment = CLocalesCache::UserLocaleName();
    return cache.get(fromEnvironment) ? fromEnvironment : std::string();
}

}  // namespace

int RunCli(int argc, char** argv, std::istream& in, std::ostream& out, std::ostream& err) {
    std::unique_ptr<CalcBook> book;
    return RunCli(argc, argv, in, out, err, book);
}

int RunCli(int argc, char** argv, std::istream& in, std::ostream& out, std::ostream& err,
           std::unique_ptr<CalcBook>& keep) {
    Arguments arguments;
    if (std::optional<std::string> complaint = Parse(argc, argv, arguments))
        return UsageError(err, *complaint);
    if (arguments.help) {
        out << kUsage << kHelp;
        out.flush();
        return out ? kExitSuccess : kExitFailure;
    }
    if (arguments.positional.empty()) return UsageError(err, "no command given");
    const std::string& command = arguments.positional[0];
    if (command != "calc") return UsageError(err, "unknown command '" + command + "'");
    if (arguments.positional.size() < 2) return UsageError(err, "calc needs a FILE");
    if (arguments.outDir && arguments.outDir->empty())
        return UsageError(err, "option '--out' needs a folder");
    if (arguments.positional.size() > 2 && !arguments.outDir)
        return UsageError(err, "several FILEs need --out DIR");

    CalcOptions options;
    options.files.assign(arguments.positional.begin() + 1, arguments.positional.end());
    options.outDir = arguments.outDir;
    options.formulas = arguments.formulas;
    // Only a terminal shows a bar redrawn in place; a log file would collect every frame.
    options.progress = &err == &std::cerr && ::isatty(STDERR_FILENO) == 1;
    std::optional<std::string> locale = ChooseLocale(arguments.locale);
    if (!locale) return UsageError(err, "unknown locale '" + *arguments.locale + "'");
    std::unique_ptr<CalcBook>& book = keep;
    book = MakeCalcBook(*locale);
    if (!book) {
        err << kProgram << ": cannot create a workbook\n";
        return kExitFailure;
    }
    for (const std::string& file : options.files) {
        const std::u16string name = SheetNameOf(file);
        if (book->AddSheet(name)) continue;
        if (!name.empty() && book->HasSheet(name))
            return UsageError(err, "two FILEs make sheets named '" + ToUtf8(name) + "'");
        // A lone file keeps working whatever its name: no formula needs to name its sheet.
        if (options.files.size() == 1 && book->AddSheet(u"Sheet1")) continue;
        return UsageError(err, "'" + file + "' cannot name a sheet");
    }
    return RunCalc(options, *book, in, out, err);
}

}  // namespace ostrel
