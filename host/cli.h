// SPDX-License-Identifier: Apache-2.0
// The command-line program ostrel-cells as a function, so that tests can run it with their
// own streams: arguments, help and usage, and dispatch to the commands.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>

namespace ostrel {

// Exit codes of the program.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;  // the input could not be read or the output written
inline constexpr int kExitUsage = 2;    // the command line was wrong

// Runs the program as main would with argv (argv[0] is the program's own name); in stands
// for standard input. Output is written to out only when the command succeeded as a whole.
int RunCli(int argc, char** argv, std::istream& in, std::ostream& out, std::ostream& err);

// Writes the complaint about a wrong command line and the usage to err; returns kExitUsage.
int UsageError(std::ostream& err, const std::string& complaint);

class CalcBook;
// As above; the calculated workbook is handed to keep instead of being taken down, so that a
// program about to exit can leave the freeing of every cell to the operating system.
int RunCli(int argc, char** argv, std::istream& in, std::ostream& out, std::ostream& err,
           std::unique_ptr<CalcBook>& keep);

}  // namespace ostrel
