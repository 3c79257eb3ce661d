#include "cli.h"

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "calc_command.h"
#include "platform/zmk/environment.h"
#include "sheet_interface.h"

namespace ostrel {

namespace {

constexpr std::string_view kUsage =
    "Usage: ostrel-cells calc [--formulas] [--locale NAME] FILE\n"
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
    "\n"
    "Options:\n"
    "  --formulas       Write each cell's formula text (for a constant, the text as\n"
    "                   typed) instead of its display text.\n"
    "  --locale NAME    Type and display with the conventions of locale NAME (such as\n"
    "                   en_US, de_DE or fr-CH; C for the built-in defaults). Without it\n"
    "                   the locale comes from LC_ALL, LC_NUMERIC or LANG.\n"
    "  -h, --help       Show this help and exit.\n"
    "\n"
    "Input: lines end with CRLF, LF or CR; a quoted field may hold commas, doubled\n"
    "quotes and line breaks; a UTF-8 byte order mark is skipped; empty lines at the end\n"
    "are ignored. A sheet has at most 65536 rows and 256 columns (A to IV).\n"
    "Output: lines end with LF; a field is quoted when it holds a comma, a double\n"
    "quote or a line break. Nothing is written unless the whole file was calculated.\n"
    "\n"
    "Exit status:\n"
    "  0  the sheet was written\n"
    "  1  the input could not be read (no such file, invalid UTF-8, malformed CSV,\n"
    "     more than 65536 rows or 256 columns) or the output could not be written\n"
    "  2  the command line was wrong (unknown command or option, no FILE given,\n"
    "     unknown locale)\n";

constexpr std::string_view kProgram = "ostrel-cells";

struct Arguments {
    bool help = false;
    bool formulas = false;
    std::optional<std::string> locale;
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
    if (arguments.positional.size() > 2)
        return UsageError(err, "unexpected argument '" + arguments.positional[2] + "'");

    CalcOptions options;
    options.file = arguments.positional[1];
    options.formulas = arguments.formulas;
    std::optional<std::string> locale = ChooseLocale(arguments.locale);
    if (!locale) return UsageError(err, "unknown locale '" + *arguments.locale + "'");
    std::unique_ptr<CalcSheet> sheet = MakeCalcSheet(*locale);
    if (!sheet) {
        err << kProgram << ": cannot create a sheet\n";
        return kExitFailure;
    }
    return RunCalc(options, *sheet, in, out, err);
}

}  // namespace ostrel
