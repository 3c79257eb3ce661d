// SPDX-License-Identifier: Apache-2.0
// Any bytes as a CSV file: the reader must stop cleanly, read in pieces it must give what it
// gives read whole, and whatever it accepts must come back unchanged through the writer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "ostrel/csv.h"

namespace {

using Records = std::vector<std::vector<std::u16string>>;

bool ReadAll(std::string_view input, const ostrel::CsvLimits& limits, Records& records,
             ostrel::CsvError* error = nullptr) {
    ostrel::CsvReader reader(input, limits);
    std::vector<std::u16string> fields;
    while (reader.Next(fields)) {
        if (fields.empty()) std::abort();
        records.push_back(fields);
    }
    if (error) *error = reader.Error();
    return !reader.Failed();
}

// The input handed over in three pieces, cut where its first byte says.
bool ReadInPieces(std::string_view input, const ostrel::CsvLimits& limits, Records& records,
                  ostrel::CsvError& error) {
    const size_t first = input.empty() ? 0 : size_t(uint8_t(input[0])) * 7 % (input.size() + 1);
    const size_t second = first + (input.size() - first) / 2;
    std::string bytes;
    ostrel::CsvReader reader(bytes, limits, ',', false);
    std::vector<std::u16string> fields;
    for (size_t end : {first, second, input.size()}) {
        bytes.append(input.substr(bytes.size(), end - bytes.size()));
        reader.Extend(bytes, end == input.size());
        while (reader.Next(fields))
            records.push_back(fields);
        if (reader.Failed()) break;
        if (end != input.size() && !reader.NeedsMore()) std::abort();
    }
    error = reader.Error();
    return !reader.Failed();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Small limits so that the limit checks are reached too.
    const ostrel::CsvLimits limits{64, 16};
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    Records records, pieces;
    ostrel::CsvError error, piecesError;
    const bool read = ReadAll(input, limits, records, &error);
    const bool readInPieces = ReadInPieces(input, limits, pieces, piecesError);
    if (read != readInPieces || pieces != records || error.line != piecesError.line ||
        error.message != piecesError.message)
        std::abort();
    if (!read) return 0;
    // A last record of one empty field is written as an empty line, and empty lines at the
    // end are not records.
    while (!records.empty() && records.back().size() == 1 && records.back()[0].empty())
        records.pop_back();
    std::string written;
    ostrel::CsvWriter writer(written);
    for (const auto& record : records) {
        for (const auto& field : record)
            writer.Field(field);
        writer.EndRecord();
    }
    Records again;
    if (!ReadAll(written, limits, again) || again != records) std::abort();
    return 0;
}
