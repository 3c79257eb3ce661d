// SPDX-License-Identifier: Apache-2.0
#include "calc_command.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <set>
#include <string_view>
#include <utility>
#include <vector>

#include "cli.h"
#include "csv_input.h"
#include "ostrel/calc_book.h"
#include "ostrel/csv.h"
#include "ostrel/platform/ui.h"
#include "ostrel/platform/utf.h"
#include "output_folder.h"

namespace ostrel {

namespace {

constexpr std::string_view kProgram = "ostrel-cells";

std::string CellName(int column, int row) {
    return ToUtf8(CellAddress(column, row));
}

// Shows the engine's messages as lines on the error stream, naming the cell being typed
// when there is one; questions are answered No, as the engine's default host would.
class MessagesToStream : public CUserInterface {
public:
    explicit MessagesToStream(std::ostream& err) : m_err(err), m_previous(GetUserInterface()) {
        SetUserInterface(this);
    }
    ~MessagesToStream() override { SetUserInterface(&m_previous); }
    MessagesToStream(const MessagesToStream&) = delete;
    MessagesToStream& operator=(const MessagesToStream&) = delete;

    void SetInput(std::string name) { m_inputName = std::move(name); }
    // The cell being typed, and the line of the input its record began on.
    void SetCell(int column, int row, size_t line) { m_cell = Where{column, row, line}; }
    void ClearCell() { m_cell.reset(); }

    void ShowMessage(unsigned, std::u16string_view text, MessageIcon) override {
        Line(ToUtf8(text));
    }
    bool AskYesNo(unsigned, std::u16string_view text) override {
        Line(ToUtf8(text) + " (answered No)");
        return false;
    }
    // Once per name, where it is first met.
    void FunctionWithoutEvaluation(std::u16string_view name) override {
        if (!m_unavailable.emplace(name).second) return;
        Line("the function " + ToUtf8(name) +
             " is not available in this version; its cells show #NAME?");
    }

private:
    struct Where {
        int column, row;
        size_t line;
    };
    void Line(const std::string& text) {
        m_err << kProgram << ": ";
        if (!m_inputName.empty()) {
            m_err << m_inputName;
            if (m_cell) m_err << ':' << m_cell->line;
            m_err << ": ";
        }
        if (m_cell) m_err << "cell " << CellName(m_cell->column, m_cell->row) << ": ";
        m_err << text << '\n';
    }

    std::ostream& m_err;
    std::string m_inputName;
    CUserInterface& m_previous;
    std::optional<Where> m_cell;
    std::set<std::u16string, std::less<>> m_unavailable;
};

// A bar on one line of a terminal, redrawn in place with a carriage return. It shows only
// once a calculation has run for a moment, and at most a few times a second, so that short
// runs and fast redraws cost nothing.
class ProgressBar {
public:
    ProgressBar(std::ostream& err, bool enabled)
        : m_err(err), m_enabled(enabled), m_start(Clock::now()) {}
    ~ProgressBar() { Clear(); }
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    void Show(double done) {
        if (!m_enabled) return;
        const Clock::time_point now = Clock::now();
        if (now - m_start < std::chrono::milliseconds(300)) return;
        if (m_drawn && now - m_last < std::chrono::milliseconds(100)) return;
        m_last = now;
        const int percent = std::clamp(int(done * 100), 0, 100);
        const int filled = percent * kWidth / 100;
        std::string line = "\r" + std::string(kProgram) + ": calculating [";
        line.append(size_t(filled), '#');
        line.append(size_t(kWidth - filled), ' ');
        line += "] " + std::to_string(percent) + "%";
        m_err << line << std::flush;
        m_drawn = true;
    }
    // Leaves the line empty, for whatever is written next.
    void Clear() {
        if (!m_drawn) return;
        m_err << '\r' << std::string(kProgram.size() + kWidth + 22, ' ') << '\r' << std::flush;
        m_drawn = false;
    }

private:
    using Clock = std::chrono::steady_clock;
    static constexpr int kWidth = 40;
    std::ostream& m_err;
    bool m_enabled;
    bool m_drawn = false;
    Clock::time_point m_start, m_last;
};

// "NAME:LINE: message", the form compilers use, so that editors can jump to the line.
void Complain(std::ostream& err, const std::string& name, size_t line, const std::string& message) {
    err << kProgram << ": " << name;
    if (line > 0) err << ':' << line;
    err << ": " << message << '\n';
}

// Types every non-empty field; false after a message on err.
bool TypeInput(CsvInput& input, CalcSheet& sheet, MessagesToStream& messages, std::ostream& err) {
    messages.SetInput(input.name);
    std::vector<std::u16string> fields;
    CsvReader reader(input.bytes, CsvLimits{}, input.separator);
    for (int row = 0; reader.Next(fields); ++row) {
        for (const std::u16string& field : fields)
            input.filled.push_back(!field.empty());
        input.recordEnds.push_back(uint32_t(input.filled.size()));
        for (size_t column = 0; column < fields.size(); ++column) {
            if (fields[column].empty()) continue;
            messages.SetCell(int(column), row, reader.RecordLine());
            if (!sheet.SetCellText(int(column), row, fields[column])) {
                Complain(err, input.name, reader.RecordLine(),
                         "cell " + CellName(int(column), row) + ": cannot take the text");
                return false;
            }
        }
    }
    messages.ClearCell();
    return true;
}

// Gives every typed cell that a --format covers the code of the last one covering it; false
// after a message on err.
bool ApplyFormats(const CsvInput& input, const std::u16string& sheetName,
                  const std::vector<FormatOption>& formats, CalcSheet& sheet, std::ostream& err) {
    if (formats.empty()) return true;
    std::vector<std::u16string> fields;
    CsvReader reader(input.bytes, CsvLimits{}, input.separator);
    for (int row = 0; reader.Next(fields); ++row) {
        for (size_t column = 0; column < fields.size(); ++column) {
            if (fields[column].empty()) continue;
            auto covering = std::find_if(formats.rbegin(), formats.rend(), [&](const auto& f) {
                return f.Covers(sheetName, int(column), row);
            });
            if (covering == formats.rend()) continue;
            if (!sheet.SetCustomFormat(int(column), row, covering->code)) {
                Complain(err, input.name, reader.RecordLine(),
                         "cell " + CellName(int(column), row) + ": cannot take the format");
                return false;
            }
        }
    }
    return true;
}

// The sheet in the input's shape: a field for every field read, empty where the input's
// was. With formulas, a formula cell shows its formula and any other the text typed into
// it, so that the output typed again gives the same cells.
// The output of a sheet typed from input. With a stream, the text goes to it a piece at a
// time instead of being held whole.
std::string Render(const CsvInput& input, CalcSheet& sheet, bool formulas,
                   std::ostream* stream = nullptr) {
    constexpr size_t kPiece = size_t(1) << 16;
    std::string output;
    output.reserve(stream ? kPiece * 2 : input.bytes.size());
    CsvWriter writer(output, input.separator);
    auto endRecord = [&] {
        writer.EndRecord();
        if (stream && output.size() >= kPiece) {
            stream->write(output.data(), std::streamsize(output.size()));
            output.clear();
        }
    };
    if (input.shapeOnly) {
        size_t field = 0;
        for (size_t row = 0; row < input.recordEnds.size(); ++row) {
            for (int column = 0; field < input.recordEnds[row]; ++field, ++column) {
                // An empty field was never typed; asking the sheet about it could make it
                // create a cell for nothing.
                if (input.filled[field])
                    writer.Field(sheet.GetCellValueText(column, int(row)));
                else
                    writer.Field({});
            }
            endRecord();
        }
        return output;
    }
    std::vector<std::u16string> fields;
    CsvReader reader(input.bytes, CsvLimits{}, input.separator);
    for (int row = 0; reader.Next(fields); ++row) {
        for (size_t column = 0; column < fields.size(); ++column) {
            if (fields[column].empty()) {
                writer.Field({});
            } else if (!formulas) {
                writer.Field(sheet.GetCellValueText(int(column), row));
            } else if (sheet.HasFormula(int(column), row)) {
                writer.Field(sheet.GetCellFormula(int(column), row));
            } else {
                writer.Field(fields[column]);
            }
        }
        endRecord();
    }
    return output;
}

// A lone sheet as a workbook of one, for callers that calculate on a sheet of their own.
class OneSheetBook : public CalcBook {
public:
    explicit OneSheetBook(CalcSheet& sheet) : m_sheet(sheet) {}
    CalcSheet* AddSheet(std::u16string_view) override { return nullptr; }
    bool HasSheet(std::u16string_view) const override { return false; }
    size_t SheetCount() const override { return 1; }
    CalcSheet* Sheet(size_t index) override { return index == 0 ? &m_sheet : nullptr; }
    bool RecalculateAll(const std::function<void(double)>&, const std::function<bool()>&) override {
        m_sheet.Recalculate();
        return true;
    }

private:
    CalcSheet& m_sheet;
};

}  // namespace

std::u16string SheetNameOf(const std::string& file) {
    if (file == "-") return u"Sheet1";
    std::string stem = std::filesystem::path(file).stem().string();
    bool valid = true;
    std::u16string name = FromUtf8(stem, &valid);
    if (!valid) {
        // Bytes that are no UTF-8 cannot name anything; they become the same "_" as any
        // other character a sheet name cannot hold.
        for (char& c : stem)
            if (static_cast<unsigned char>(c) >= 0x80) c = '_';
        name = FromUtf8(stem);
    }
    return ReferableSheetName(name);
}

std::string OutputNameOf(const std::string& file) {
    return (file == "-" ? std::string("Sheet1") : std::filesystem::path(file).stem().string()) +
           ".csv";
}

int RunCalc(const CalcOptions& options, CalcBook& book, std::istream& in, std::ostream& out,
            std::ostream& err) {
    if (book.SheetCount() != options.files.size() || options.files.empty()) {
        err << kProgram << ": the workbook does not hold one sheet per file\n";
        return kExitFailure;
    }
    // Every input is checked before the first cell is typed, so that a fault in the last
    // file leaves no trace of the first (and no engine messages about it).
    std::vector<CsvInput> inputs(options.files.size());
    for (size_t i = 0; i < options.files.size(); ++i) {
        CsvError error;
        if (!ReadCsvInput(options.files[i], in, options.separator, inputs[i], error)) {
            Complain(err, inputs[i].name, error.line, error.message);
            return kExitFailure;
        }
    }

    // The sheets' names, for --format options that name one. Finding a name tries formulas
    // out, whose complaints are not the user's business: this happens before the engine's
    // messages are shown.
    std::vector<std::u16string> sheetNames(inputs.size());
    if (!options.formats.empty()) {
        for (size_t i = 0; i < inputs.size(); ++i)
            sheetNames[i] = SheetNameOf(options.files[i]);
    }

    {
        MessagesToStream messages(err);
        for (size_t i = 0; i < inputs.size(); ++i)
            if (!TypeInput(inputs[i], *book.Sheet(i), messages, err)) return kExitFailure;
        for (size_t i = 0; i < inputs.size(); ++i) {
            if (!ApplyFormats(inputs[i], sheetNames[i], options.formats, *book.Sheet(i), err))
                return kExitFailure;
            // Values are shown from the shape alone; formulas mode shows typed texts.
            if (!options.formulas) {
                std::string().swap(inputs[i].bytes);
                inputs[i].shapeOnly = true;
            }
        }
        // Messages while calculating name the file when there is only one.
        messages.SetInput(inputs.size() == 1 ? inputs[0].name : std::string());
        ProgressBar bar(err, options.progress);
        book.RecalculateAll([&](double done) { bar.Show(done); }, {});
    }

    if (!options.outDir && inputs.size() == 1) {
        std::string rest = Render(inputs[0], *book.Sheet(0), options.formulas, &out);
        out.write(rest.data(), std::streamsize(rest.size()));
        out.flush();
        if (!out) {
            err << kProgram << ": cannot write the output\n";
            return kExitFailure;
        }
        return kExitSuccess;
    }
    std::vector<OutputFile> outputs;
    for (size_t i = 0; i < inputs.size(); ++i) {
        // Named by the files' own bytes, whatever names their sheets got.
        outputs.push_back(
            {OutputNameOf(options.files[i]), Render(inputs[i], *book.Sheet(i), options.formulas)});
        // Each input's bytes are done with once its output is made.
        std::string().swap(inputs[i].bytes);
    }

    if (!options.outDir) {
        err << kProgram << ": several sheets need an output folder\n";
        return kExitFailure;
    }
    std::string reason;
    if (PublishFiles(*options.outDir, outputs, reason)) return kExitSuccess;
    err << kProgram << ": " << reason << '\n';
    return kExitFailure;
}

int RunCalc(const CalcOptions& options, CalcSheet& sheet, std::istream& in, std::ostream& out,
            std::ostream& err) {
    OneSheetBook book(sheet);
    return RunCalc(options, book, in, out, err);
}

}  // namespace ostrel
