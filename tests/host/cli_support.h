// SPDX-License-Identifier: Apache-2.0
// Runs the command-line program as a function with given arguments and standard input.
#pragma once

#include <istream>
#include <ostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "cli.h"

namespace cli_testing {

struct Result {
    int code;
    std::string out, err;
    bool operator==(const Result&) const = default;
};

inline void PrintTo(const Result& r, std::ostream* os) {
    *os << "exit " << r.code << ", out \"" << r.out << "\", err \"" << r.err << "\"";
}

inline Result RunProgram(std::vector<std::string> arguments, std::istream& in) {
    arguments.insert(arguments.begin(), "ostrel-cells");
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::ostringstream out, err;
    int code = ostrel::RunCli(int(arguments.size()), argv.data(), in, out, err);
    return {code, out.str(), err.str()};
}

inline Result RunProgram(std::vector<std::string> arguments, const std::string& input = {}) {
    std::istringstream in(input);
    return RunProgram(std::move(arguments), in);
}

}  // namespace cli_testing
