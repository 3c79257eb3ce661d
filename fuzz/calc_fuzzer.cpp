// SPDX-License-Identifier: Apache-2.0
// The whole road of the command-line program on arbitrary bytes: CSV text typed cell by cell
// into a workbook, calculated, and every typed cell read back. A line that begins with a
// form feed starts the next sheet (three at most) and names it with the rest of the line, so
// that formulas on one sheet can read the others by a name the input chose ("=prices!B2").
// A sheet without a usable name is called SheetN.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ostrel/calc_book.h"
#include "ostrel/csv.h"
#include "ostrel/platform/utf.h"

namespace {

constexpr size_t kMaxSheets = 3;
constexpr char kSheetMark = '\f';

struct Section {
    std::string_view name;
    std::string_view text;
};

// The sheets' parts of the input. A mark line names the sheet whose text follows it; one at
// the very start names the first sheet. Once the last sheet has begun, marks are text.
std::vector<Section> Split(std::string_view input) {
    std::vector<Section> sections(1);
    size_t textStart = 0;
    for (size_t pos = 0; pos < input.size();) {
        size_t end = input.find('\n', pos);
        end = end == std::string_view::npos ? input.size() : end + 1;
        if (input[pos] == kSheetMark && (pos == 0 || sections.size() < kMaxSheets)) {
            if (pos != 0) {
                sections.back().text = input.substr(textStart, pos - textStart);
                sections.emplace_back();
            }
            std::string_view name = input.substr(pos + 1, end - pos - 1);
            while (!name.empty() && (name.back() == '\n' || name.back() == '\r'))
                name.remove_suffix(1);
            sections.back().name = name;
            textStart = end;
        }
        pos = end;
    }
    sections.back().text = input.substr(textStart);
    return sections;
}

ostrel::CalcSheet* AddSheet(ostrel::CalcBook& book, std::string_view name) {
    bool valid = false;
    std::u16string wide = ostrel::FromUtf8(name, &valid);
    if (valid && !wide.empty())
        if (ostrel::CalcSheet* sheet = book.AddSheet(wide)) return sheet;
    std::string fallback = "Sheet" + std::to_string(book.SheetCount() + 1);
    return book.AddSheet(ostrel::FromUtf8(fallback));
}

struct Typed {
    ostrel::CalcSheet* sheet;
    int column;
    int row;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::unique_ptr<ostrel::CalcBook> book = ostrel::MakeCalcBook("");
    if (!book) std::abort();

    // Every record up to the first fault of its sheet is typed, as far as it goes.
    std::vector<Typed> typed;
    std::vector<std::u16string> fields;
    for (const Section& section : Split(input)) {
        ostrel::CalcSheet* sheet = AddSheet(*book, section.name);
        if (!sheet) break;
        ostrel::CsvReader reader(section.text);
        for (int row = 0; reader.Next(fields); ++row) {
            for (size_t column = 0; column < fields.size(); ++column) {
                if (fields[column].empty()) continue;
                // The reader's limits are the grid's, so every field has a cell.
                if (!sheet->SetCellText(int(column), row, fields[column])) std::abort();
                typed.push_back({sheet, int(column), row});
            }
        }
    }

    book->RecalculateAll(
        [](double done) {
            if (!(done >= 0.0 && done <= 1.0)) std::abort();
        },
        {});
    for (const Typed& cell : typed) {
        (void)cell.sheet->GetCellValueText(cell.column, cell.row);
        (void)cell.sheet->GetCellFormula(cell.column, cell.row);
    }
    return 0;
}
