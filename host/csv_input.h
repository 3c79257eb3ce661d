// SPDX-License-Identifier: Apache-2.0
// The inputs of the calc command: a CSV file or standard input, read in pieces and checked
// while it is read, so that an endless or hostile input stops at its first fault instead
// of being read whole first.
#pragma once

#include <cstdint>
#include <functional>
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
    // The records' shape, gathered while they are checked: how many fields each has, which
    // held something and on which line each began. Once the cells are typed, showing their
    // values needs no more, and the bytes can go before the sheet is calculated.
    std::vector<uint32_t> recordEnds;  // fields up to the end of each record
    std::vector<bool> filled;
    std::vector<size_t> recordLines;
    // The texts of the fields that held something, as the check read them, so that typing
    // reads no byte a second time: end to end, in pieces that typing lets go as it goes. A
    // text of ASCII characters takes a byte each, any other its UTF-16 units.
    struct Texts {
        static constexpr uint32_t kWide = uint32_t(1) << 31;
        std::string chars;
        std::vector<uint32_t> ends;  // where each field's text ends in chars; kWide for units
        // The index-th text, into buffer.
        void Get(size_t index, std::u16string& buffer) const;
    };
    std::vector<Texts> texts;
    bool shapeOnly = false;
    bool book = false;    // a workbook or legacy exchange file (known by its magic), read whole
    bool legacy = false;  // of those, a legacy exchange file
};

// Reads file ("-" reads in) into input. Its separator is the one given, or else the one
// its first line shows (DetectSeparator). A workbook file is read whole, up to
// kLongestBookInput bytes, for CalcBook::LoadBookBytes to check. False at the first fault,
// with error set: line 0 when the file could not be read at all.
// With take, the records read so far are offered to it after each piece of a CSV file: it
// may move their shape and texts away, leaving input's record lists empty, so that the
// next records are counted from their own first. Reading stops, failed, when it says false.
inline constexpr size_t kLongestBookInput = size_t(1) << 32;
bool ReadCsvInput(const std::string& file, std::istream& in, std::optional<char> separator,
                  CsvInput& input, CsvError& error,
                  const std::function<bool(CsvInput&)>& take = {});

}  // namespace ostrel
