// SPDX-License-Identifier: Apache-2.0
#include "sheet_shape.h"

#include <charconv>
#include <sstream>

#include "csv_input.h"
#include "ostrel/calc_book.h"
#include "ostrel/platform/utf.h"

namespace ostrel {

namespace {

constexpr std::string_view kHeader = "ostrel-cells shape 1";
constexpr size_t kMaxRows = 65536;
constexpr unsigned kMaxColumns = 256;

// The next line of data without its line feed; false at the end.
bool NextLine(std::string_view& data, std::string_view& line) {
    const size_t end = data.find('\n');
    if (end == std::string_view::npos) return false;
    line = data.substr(0, end);
    data.remove_prefix(end + 1);
    return true;
}

bool Field(std::string_view& line, std::string_view key) {
    if (!line.starts_with(key) || line.size() <= key.size() || line[key.size()] != ' ')
        return false;
    line.remove_prefix(key.size() + 1);
    return true;
}

bool Number(std::string_view text, unsigned& value) {
    const char* end = text.data() + text.size();
    auto [at, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && at == end && !text.empty();
}

bool UsableName(std::string_view name) {
    return name.size() > 4 && name.size() <= 255 && name.ends_with(".csv") &&
           name.find('/') == std::string_view::npos && name.find('\0') == std::string_view::npos;
}

bool UsableSeparator(unsigned c) {
    const bool letterOrDigit =
        (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    return c == '\t' || (c > 0x20 && c < 0x7F && c != '"' && !letterOrDigit);
}

}  // namespace

SheetShape ShapeOfInput(const CsvInput& input, const std::string& outputName) {
    SheetShape shape{outputName, input.separator, {}};
    uint32_t start = 0;
    for (uint32_t end : input.recordEnds) {
        shape.widths.push_back(uint16_t(end - start));
        start = end;
    }
    return shape;
}

std::string EncodeShape(const SheetShape& shape) {
    std::ostringstream data;
    data << kHeader << "\noutput " << shape.outputName << "\nseparator "
         << unsigned(static_cast<unsigned char>(shape.separator)) << "\nrecords";
    // Runs of equal widths: most files are as wide on every line.
    for (size_t i = 0; i < shape.widths.size();) {
        size_t j = i;
        while (j < shape.widths.size() && shape.widths[j] == shape.widths[i])
            ++j;
        data << ' ' << shape.widths[i] << '*' << (j - i);
        i = j;
    }
    data << '\n';
    return data.str();
}

std::optional<SheetShape> DecodeShape(std::string_view data) {
    std::string_view header, output, separator, records;
    if (!NextLine(data, header) || header != kHeader || !NextLine(data, output) ||
        !Field(output, "output") || !UsableName(output) || !NextLine(data, separator) ||
        !Field(separator, "separator") || !NextLine(data, records) || !data.empty() ||
        !records.starts_with("records"))
        return std::nullopt;
    SheetShape shape;
    shape.outputName = std::string(output);
    unsigned code = 0;
    if (!Number(separator, code) || !UsableSeparator(code)) return std::nullopt;
    shape.separator = char(code);
    records.remove_prefix(7);
    while (!records.empty()) {
        if (records[0] != ' ') return std::nullopt;
        records.remove_prefix(1);
        const size_t end = std::min(records.find(' '), records.size());
        const std::string_view run = records.substr(0, end);
        records.remove_prefix(end);
        const size_t star = run.find('*');
        unsigned width = 0, count = 0;
        if (star == std::string_view::npos || !Number(run.substr(0, star), width) ||
            !Number(run.substr(star + 1), count) || width > kMaxColumns || count == 0 ||
            count > kMaxRows - shape.widths.size())
            return std::nullopt;
        shape.widths.insert(shape.widths.end(), count, uint16_t(width));
    }
    return shape;
}

SheetShape ShapeOfSheet(CalcSheet& sheet, const std::u16string& sheetName) {
    if (std::optional<SheetShape> kept = DecodeShape(sheet.GetHostData())) return *kept;
    int columns = 0, rows = 0;
    sheet.GetUsedSize(columns, rows);
    return SheetShape{ToUtf8(sheetName) + ".csv", ',',
                      std::vector<uint16_t>(size_t(rows), uint16_t(columns))};
}

}  // namespace ostrel
