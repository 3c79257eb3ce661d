// SPDX-License-Identifier: Apache-2.0
// The inputs of the calc command: a CSV file or standard input, read in pieces and checked
// while it is read, so that an endless or hostile input stops at its first fault instead
// of being read whole first.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "ostrel/csv.h"

namespace ostrel {

struct CsvInput {
    std::string name;  // as messages show it: the path, or "(standard input)"
    std::string bytes;
    char separator = ',';
    // Once the cells are typed, showing their values needs only the records' shape: how
    // many fields each has and which held something. The bytes can then go before the
    // sheet is calculated.
    std::vector<uint32_t> recordEnds;  // fields up to the end of each record
    std::vector<bool> filled;
    bool shapeOnly = false;
    bool book = false;    // a workbook or legacy exchange file (known by its magic), read whole
    bool legacy = false;  // of those, a legacy exchange file
};

// Reads file ("-" reads in) into input. Its separator is the one given, or else the one
// its first line shows (DetectSeparator). A workbook file is read whole, up to
// kLongestBookInput bytes, for CalcBook::LoadBookBytes to check. False at the first fault,
// with error set: line 0 when the file could not be read at all.
inline constexpr size_t kLongestBookInput = size_t(1) << 32;
bool ReadCsvInput(const std::string& file, std::istream& in, std::optional<char> separator,
                  CsvInput& input, CsvError& error);

}  // namespace ostrel
