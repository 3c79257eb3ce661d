// SPDX-License-Identifier: Apache-2.0
#include "cli.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <new>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "calc_command.h"
#include "format_option.h"
#include "ostrel/calc_book.h"
#include "ostrel/platform/utf.h"
#include "ostrel/platform/zmk/environment.h"

#include <sys/stat.h>
#include <unistd.h>

namespace ostrel {

namespace {

#ifndef OSTREL_VERSION
#define OSTREL_VERSION "unknown"
#endif

constexpr std::string_view kUsage =
    "Usage: ostrel-cells calc [OPTION]... FILE\n"
    "       ostrel-cells calc [OPTION]... --out DIR FILE...\n"
    "       ostrel-cells calc [OPTION]... [--out DIR] BOOK\n"
    "       ostrel-cells --help | --version\n";

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
    "                   Read every FILE (at most 255) as one sheet of a workbook,\n"
    "                   named after the file without its folder and extension (\"-\"\n"
    "                   is Sheet1), so that a formula on one reads the others\n"
    "                   (=prices!B2*2). In a sheet name every character but letters,\n"
    "                   digits and _ becomes _, and a name formulas would read as\n"
    "                   something else (C4000, SUM, TRUE) or that starts with a digit\n"
    "                   gets a _ in front: \"my data-2.csv\" is my_data_2, \"sum.csv\"\n"
    "                   is _sum. Write each sheet as DIR/NAME.csv, NAME being the\n"
    "                   file's own, creating DIR when missing; the files appear all\n"
    "                   whole or none, and an input is never overwritten.\n"
    "  calc BOOK        Read the workbook file BOOK (one --save wrote), known by\n"
    "                   its first bytes whatever its name, instead of typing CSV:\n"
    "                   its values are kept, and only formulas reading the clock,\n"
    "                   random numbers or INDIRECT and OFFSET are calculated again.\n"
    "                   Each sheet is written as the CSV file it was made from was\n"
    "                   (same name, shape and separator); a workbook of several\n"
    "                   sheets needs --out DIR. --formulas writes each constant at\n"
    "                   full precision, as the workbook holds no typed text. A\n"
    "                   legacy exchange file (one --save-legacy wrote) is read the\n"
    "                   same way, every formula calculated again.\n"
    "\n"
    "Options:\n"
    "  --format RANGE=CODE\n"
    "                   Once the sheet is typed, show the numbers of the cells of\n"
    "                   RANGE (B2, B2:D40, or SHEET!B2:D40 for one sheet of a\n"
    "                   workbook; without SHEET, on every sheet) through the custom\n"
    "                   number format CODE, such as '#,##0.00;[Red](#,##0.00)',\n"
    "                   '0.0%', '# ?/?', '0.00E+00' or 'yyyy-mm-dd hh:mm'. Constants\n"
    "                   and formula results alike. May be repeated; where ranges\n"
    "                   overlap, the last one given wins.\n"
    "  --formulas       Write each cell's formula text (for a constant, the text as\n"
    "                   typed) instead of its display text.\n"
    "  --doc NAME=FILE  Open FILE (CSV or a workbook file) as the document NAME that\n"
    "                   formulas read with REMOTE and SSGET: =REMOTE(\"NAME\", \"B2\"),\n"
    "                   =SUM(SSGET(\"NAME\", \"A1:A9\")). A formula reaches only the\n"
    "                   documents given so. May be repeated.\n"
    "  --db NAME=FILE   Open the SQLite database FILE, read-only, as the database\n"
    "                   document NAME that the database functions read:\n"
    "                   =DBGET(\"NAME\", \"table\", \"field\", 3). A formula reaches only the\n"
    "                   databases given so, and may only read them. May be repeated.\n"
    "  --property KEY=VALUE\n"
    "                   Set a property of the workbook, which TITLE(), AUTHOR() and\n"
    "                   the other document functions read and --save keeps: title,\n"
    "                   subject, author, keywords, comments, filename; created,\n"
    "                   saved, printed (YYYY-MM-DD[THH:MM[:SS]]); edittime\n"
    "                   (minutes); revision, pages, words, characters; filesize.\n"
    "  --locale NAME    Type and display with the conventions of locale NAME (such as\n"
    "                   en_US, de_DE or fr-CH; C for the built-in defaults). Without it\n"
    "                   the locale comes from LC_ALL, LC_NUMERIC or LANG.\n"
    "  --out DIR        Write one file per sheet into DIR instead of standard\n"
    "                   output (needed with more than one FILE).\n"
    "  --save BOOK      Also write the calculated workbook to the workbook file\n"
    "                   BOOK: its sheets, cells, formulas and formats, and the\n"
    "                   shape of each input. BOOK is replaced whole or not at all.\n"
    "  --save-legacy FILE\n"
    "                   Also write the calculated sheet to FILE as the records of\n"
    "                   the previous spreadsheet generation, replaced whole or not\n"
    "                   at all. A formula those cannot hold (IF, CHOOSE, an array,\n"
    "                   another sheet, a fractional constant) is written as its\n"
    "                   value, and standard error says how many and where.\n"
    "  --separator CHAR Separate fields with CHAR (such as ';', or 'tab') when reading\n"
    "                   and writing. Without it each file's separator is taken from\n"
    "                   its first line: a tab when one stands outside quotes, else a\n"
    "                   semicolon when one does, else a comma.\n"
    "  -h, --help       Show this help and exit.\n"
    "  --version        Show the program's version and exit.\n"
    "\n"
    "Input: lines end with CRLF, LF or CR; a quoted field may hold separators, doubled\n"
    "quotes and line breaks; a UTF-8 byte order mark is skipped; empty lines at the end\n"
    "are ignored. A sheet has at most 65536 rows and 256 columns (A to IV), a field at\n"
    "most 32767 characters. Faults are reported as FILE:LINE: and stop the reading.\n"
    "Output: lines end with LF; a field is quoted when it holds the separator, a double\n"
    "quote or a line break. Nothing is written unless every file was read and the\n"
    "whole workbook calculated. While a long calculation runs, a progress bar shows on\n"
    "standard error when it is a terminal.\n"
    "\n"
    "Exit status:\n"
    "  0  every sheet was written\n"
    "  1  the input, a --doc FILE or a --db FILE could not be read (no such file,\n"
    "     invalid UTF-8, malformed CSV, more than 65536 rows or 256 columns, not an\n"
    "     SQLite database), the output could not be written, or the memory ran out\n"
    "  2  the command line was wrong (unknown command or option, no FILE given,\n"
    "     several FILEs without --out, more than 255 FILEs, two FILEs making sheets\n"
    "     of the same name, an output that would replace an input, unknown locale,\n"
    "     a --format whose RANGE or CODE cannot be used, a --doc, --db or --property that\n"
    "     cannot be used, a BOOK given with other FILEs or holding several sheets\n"
    "     without --out)\n";

constexpr std::string_view kProgram = "ostrel-cells";
constexpr size_t kMaxSheets = 255;

struct Arguments {
    bool help = false;
    bool version = false;
    bool formulas = false;
    std::optional<char> separator;
    std::optional<std::string> locale;
    std::optional<std::string> outDir;
    std::optional<std::string> save;
    std::optional<std::string> saveLegacy;
    std::vector<std::string> formats;     // RANGE=CODE, as given
    std::vector<std::string> documents;   // NAME=FILE, as given
    std::vector<std::string> databases;   // NAME=FILE, as given
    std::vector<std::string> properties;  // KEY=VALUE, as given
    std::vector<std::string> positional;
};

// The separator a command line names: one character that can separate fields (not a
// quote, a line break or a letter or digit a field would hold), or "tab".
std::optional<char> SeparatorNamed(std::string_view value) {
    if (value == "tab" || value == "\\t" || value == "\t") return '\t';
    if (value.size() != 1) return std::nullopt;
    const unsigned char c = static_cast<unsigned char>(value[0]);
    if (c <= 0x20 || c >= 0x7F || c == '"' || std::isalnum(c)) return std::nullopt;
    return char(c);
}

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
        } else if (arg == "--version") {
            arguments.version = true;
            return std::nullopt;
        } else if (arg == "--formulas") {
            arguments.formulas = true;
        } else if (arg == "--locale") {
            if (i + 1 >= argc) return "option '--locale' needs a locale name";
            arguments.locale = argv[++i];
        } else if (arg.starts_with("--locale=")) {
            arguments.locale = std::string(arg.substr(9));
        } else if (arg == "--format") {
            if (i + 1 >= argc) return "option '--format' needs RANGE=CODE";
            arguments.formats.emplace_back(argv[++i]);
        } else if (arg.starts_with("--format=")) {
            arguments.formats.emplace_back(arg.substr(9));
        } else if (arg == "--db") {
            if (i + 1 >= argc) return "option '--db' needs NAME=FILE";
            arguments.databases.emplace_back(argv[++i]);
        } else if (arg.starts_with("--db=")) {
            arguments.databases.emplace_back(arg.substr(5));
        } else if (arg == "--doc") {
            if (i + 1 >= argc) return "option '--doc' needs NAME=FILE";
            arguments.documents.emplace_back(argv[++i]);
        } else if (arg.starts_with("--doc=")) {
            arguments.documents.emplace_back(arg.substr(6));
        } else if (arg == "--property") {
            if (i + 1 >= argc) return "option '--property' needs KEY=VALUE";
            arguments.properties.emplace_back(argv[++i]);
        } else if (arg.starts_with("--property=")) {
            arguments.properties.emplace_back(arg.substr(11));
        } else if (arg == "--out") {
            if (i + 1 >= argc) return "option '--out' needs a folder";
            arguments.outDir = argv[++i];
        } else if (arg.starts_with("--out=")) {
            arguments.outDir = std::string(arg.substr(6));
        } else if (arg == "--save-legacy") {
            if (i + 1 >= argc) return "option '--save-legacy' needs a file";
            arguments.saveLegacy = argv[++i];
        } else if (arg.starts_with("--save-legacy=")) {
            arguments.saveLegacy = std::string(arg.substr(14));
        } else if (arg == "--save") {
            if (i + 1 >= argc) return "option '--save' needs a file";
            arguments.save = argv[++i];
        } else if (arg.starts_with("--save=")) {
            arguments.save = std::string(arg.substr(7));
        } else if (arg == "--separator" || arg.starts_with("--separator=")) {
            std::string_view value;
            if (arg.starts_with("--separator="))
                value = arg.substr(12);
            else if (i + 1 < argc)
                value = argv[++i];
            arguments.separator = SeparatorNamed(value);
            if (!arguments.separator)
                return "option '--separator' needs one character, such as ';' or 'tab'";
        } else {
            return "unknown option '" + std::string(arg) + "'";
        }
    }
    return std::nullopt;
}

// The locale to calculate with: the one named on the command line, which must exist, or
// the environment's, which falls back to the invariant locale when it is unknown.
std::optional<std::string> ChooseLocale(const std::optional<std::string>& named) {
    using zmk::globals::CLocalesCache;
    auto& cache = zmk::globals::global_environment().locales_cache();
    if (named) {
        // get refuses what is no locale name ("../etc/passwd", "C.garbage"), which would
        // otherwise be cut short and taken for another locale.
        if (named->empty() || !cache.get(*named)) return std::nullopt;
        return CLocalesCache::NormalizeName(*named);
    }
    std::string fromEnvironment = CLocalesCache::UserLocaleName();
    return cache.get(fromEnvironment) ? fromEnvironment : std::string();
}

// The input that an output file of the folder would replace, or nothing. Files are the
// same when they are one file on the disk, whatever the paths that name them.
std::optional<std::string> InputReplacedByOutput(const std::vector<std::string>& files,
                                                 const std::string& dir, bool stdinIsOurs) {
    auto identity = [](const struct stat& info) { return std::pair(info.st_dev, info.st_ino); };
    std::vector<std::pair<std::pair<dev_t, ino_t>, std::string>> inputs;
    struct stat info {};
    for (const std::string& file : files) {
        if (file != "-" && ::stat(file.c_str(), &info) == 0)
            inputs.emplace_back(identity(info), file);
        else if (file == "-" && stdinIsOurs && ::fstat(STDIN_FILENO, &info) == 0 &&
                 S_ISREG(info.st_mode))
            inputs.emplace_back(identity(info), "(standard input)");
    }
    for (const std::string& file : files) {
        const std::string target = (std::filesystem::path(dir) / OutputNameOf(file)).string();
        if (::stat(target.c_str(), &info) != 0) continue;
        for (const auto& [id, name] : inputs)
            if (id == identity(info))
                return "'" + target + "' would replace the input '" + name +
                       "'; choose another --out folder";
    }
    return std::nullopt;
}

// The input a file saved to book by the option would replace, or nothing.
std::optional<std::string> InputReplacedBySave(const std::vector<std::string>& files,
                                               const std::string& book, const std::string& option) {
    struct stat saved {};
    struct stat info {};
    if (::stat(book.c_str(), &saved) != 0) return std::nullopt;
    for (const std::string& file : files)
        if (file != "-" && ::stat(file.c_str(), &info) == 0 && info.st_dev == saved.st_dev &&
            info.st_ino == saved.st_ino)
            return "'" + book + "' would replace the input '" + file + "'; choose another " +
                   option + " file";
    return std::nullopt;
}

// Whether the file begins as a workbook or legacy exchange file does. Of standard input only the
// first byte can be looked at without taking it, which no text begins with.
bool LooksLikeBook(const std::string& file, std::istream& in) {
    if (file == "-") return in.peek() == 0x89;
    std::ifstream stream(file, std::ios::binary);
    char head[8] = {};
    stream.read(head, sizeof head);
    const std::string_view bytes(head, size_t(stream.gcount()));
    return CalcBook::IsBookFile(bytes) || CalcBook::IsLegacyFile(bytes);
}

}  // namespace

int UsageError(std::ostream& err, const std::string& complaint) {
    err << kProgram << ": " << complaint << '\n'
        << kUsage << "Try 'ostrel-cells --help' for more information.\n";
    return kExitUsage;
}

int RunCli(int argc, char** argv, std::istream& in, std::ostream& out, std::ostream& err) {
    std::unique_ptr<CalcBook> book;
    return RunCli(argc, argv, in, out, err, book);
}

namespace {

int RunCommandLine(int argc, char** argv, std::istream& in, std::ostream& out, std::ostream& err,
                   std::unique_ptr<CalcBook>& keep) {
    Arguments arguments;
    if (std::optional<std::string> complaint = Parse(argc, argv, arguments))
        return UsageError(err, *complaint);
    if (arguments.help || arguments.version) {
        if (arguments.help)
            out << kUsage << kHelp;
        else
            out << kProgram << ' ' << OSTREL_VERSION << '\n';
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
    if (arguments.positional.size() - 1 > kMaxSheets)
        return UsageError(err, "at most " + std::to_string(kMaxSheets) +
                                   " FILEs make one workbook (a workbook holds 255 sheets)");

    if (arguments.save && (arguments.save->empty() || *arguments.save == "-"))
        return UsageError(err, "option '--save' needs a file");
    if (arguments.saveLegacy && (arguments.saveLegacy->empty() || *arguments.saveLegacy == "-"))
        return UsageError(err, "option '--save-legacy' needs a file");
    if (arguments.saveLegacy && arguments.positional.size() > 2)
        return UsageError(err, "option '--save-legacy' writes one sheet, not one per FILE");
    CalcOptions options;
    options.files.assign(arguments.positional.begin() + 1, arguments.positional.end());
    options.outDir = arguments.outDir;
    options.save = arguments.save;
    options.saveLegacy = arguments.saveLegacy;
    options.formulas = arguments.formulas;
    options.separator = arguments.separator;
    for (const std::string& text : arguments.formats) {
        FormatOption format;
        if (std::optional<std::string> complaint = ParseFormatOption(text, format))
            return UsageError(err, *complaint);
        options.formats.push_back(std::move(format));
    }
    // NAME=FILE of --doc and --db; both kinds of document share one space of names.
    auto addNamed = [&](const char* option, const std::string& text,
                        std::vector<std::pair<std::u16string, std::string>>& named) {
        const size_t equals = text.find('=');
        if (equals == 0 || equals == std::string::npos || equals + 1 == text.size() ||
            text[0] == '?')
            return UsageError(err, std::string("option '") + option +
                                       "' needs NAME=FILE, NAME not starting with ?");
        std::u16string name = FromUtf8(text.substr(0, equals));
        for (const auto* kind : {&options.documents, &options.databases})
            for (const auto& [other, file] : *kind)
                if (SameSheetName(other, name))
                    return UsageError(err, std::string("option '") + option +
                                               "': two documents are named '" +
                                               text.substr(0, equals) + "'");
        named.emplace_back(std::move(name), text.substr(equals + 1));
        return 0;
    };
    for (const std::string& text : arguments.documents)
        if (int wrong = addNamed("--doc", text, options.documents)) return wrong;
    for (const std::string& text : arguments.databases)
        if (int wrong = addNamed("--db", text, options.databases)) return wrong;
    for (const std::string& text : arguments.properties) {
        const size_t equals = text.find('=');
        if (equals == 0 || equals == std::string::npos)
            return UsageError(err, "option '--property' needs KEY=VALUE");
        options.properties.emplace_back(FromUtf8(text.substr(0, equals)),
                                        FromUtf8(text.substr(equals + 1)));
    }
    if (options.outDir) {
        if (std::optional<std::string> clash =
                InputReplacedByOutput(options.files, *options.outDir, &in == &std::cin))
            return UsageError(err, *clash);
    }
    for (const auto& [saved, option] :
         {std::pair(options.save, "--save"), std::pair(options.saveLegacy, "--save-legacy")}) {
        if (!saved) continue;
        if (std::optional<std::string> clash = InputReplacedBySave(options.files, *saved, option))
            return UsageError(err, *clash);
    }
    // Only a terminal shows a bar redrawn in place; a log file would collect every frame.
    options.progress = &err == &std::cerr && ::isatty(STDERR_FILENO) == 1;
    std::optional<std::string> locale = ChooseLocale(arguments.locale);
    if (!locale) return UsageError(err, "unknown locale '" + *arguments.locale + "'");
    options.locale = *locale;
    std::unique_ptr<CalcBook>& book = keep;
    book = MakeCalcBook(*locale);
    if (!book) {
        const std::string why = EngineStartFailure();
        err << kProgram << ": cannot create a workbook" << (why.empty() ? "" : ": " + why) << '\n';
        return kExitFailure;
    }
    for (const std::string& file : options.files) {
        const std::u16string name = SheetNameOf(file);
        if (book->AddSheet(name)) continue;
        if (book->HasSheet(name))
            return UsageError(err, "two FILEs make sheets named '" + ToUtf8(name) + "'");
        return UsageError(err, "'" + file + "' cannot name a sheet");
    }
    // A workbook file's sheets are known once it is read.
    const bool namesSheets = std::any_of(options.formats.begin(), options.formats.end(),
                                         [](const FormatOption& f) { return !f.sheet.empty(); });
    const bool bookInput =
        namesSheets && options.files.size() == 1 && LooksLikeBook(options.files[0], in);
    for (const FormatOption& format : options.formats) {
        if (format.sheet.empty() || bookInput) continue;
        bool named =
            std::any_of(options.files.begin(), options.files.end(), [&](const std::string& file) {
                return SameSheetName(format.sheet, SheetNameOf(file));
            });
        if (!named)
            return UsageError(
                err, "option '--format': no sheet is named '" + ToUtf8(format.sheet) + "'");
    }
    return RunCalc(options, book, in, out, err);
}

}  // namespace

int RunCli(int argc, char** argv, std::istream& in, std::ostream& out, std::ostream& err,
           std::unique_ptr<CalcBook>& keep) {
    // Output is produced whole before any of it is written, so a failure on the way leaves
    // nothing half-written behind; it is reported and the program ends as after any fault.
    try {
        return RunCommandLine(argc, argv, in, out, err, keep);
    } catch (const std::bad_alloc&) {
        err << kProgram << ": out of memory\n";
    } catch (const std::length_error&) {
        err << kProgram << ": out of memory\n";
    } catch (const std::exception& e) {
        err << kProgram << ": internal error: " << e.what() << '\n';
    }
    return kExitFailure;
}

}  // namespace ostrel
