// Any bytes as a CSV file: the reader must stop cleanly, and whatever it accepts must come
// back unchanged through the writer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "csv.h"

namespace {

using Records = std::vector<std::vector<std::u16string>>;

bool ReadAll(std::string_view input, const ostrel::CsvLimits& limits, Records& records) {
    ostrel::CsvReader reader(input, limits);
    std::vector<std::u16string> fields;
    while (reader.Next(fields)) {
        if (fields.empty()) std::abort();
        records.push_back(fields);
    }
    return !reader.Failed();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Small limits so that the limit checks are reached too.
    const ostrel::CsvLimits limits{64, 16};
    Records records;
    if (!ReadAll(std::string_view(reinterpret_cast<const char*>(data), size), limits, records))
        return 0;
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
