// SPDX-License-Identifier: Apache-2.0
#include "calc_command.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <set>
#include <sstream>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "cli.h"
#include "csv_input.h"
#include "csv_input_pipe.h"
#include "database/database_document.h"
#include "ostrel/calc_book.h"
#include "ostrel/csv.h"
#include "ostrel/engine/engine_lock.h"
#include "ostrel/platform/ui.h"
#include "ostrel/platform/utf.h"
#include "output_folder.h"
#include "sheet_shape.h"

#include <sys/stat.h>

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
    explicit MessagesToStream(std::ostream& err) : m_err(&err), m_previous(GetUserInterface()) {
        SetUserInterface(this);
    }
    ~MessagesToStream() override { SetUserInterface(&m_previous); }
    MessagesToStream(const MessagesToStream&) = delete;
    MessagesToStream& operator=(const MessagesToStream&) = delete;

    void SetInput(std::string name) { m_inputName = std::move(name); }
    void SetStream(std::ostream& err) { m_err = &err; }
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
    void FunctionNotAvailable(std::u16string_view name, std::u16string_view why) override {
        if (!m_unavailable.emplace(name).second) return;
        Line("the function " + ToUtf8(name) + " is not available: " + ToUtf8(why) +
             "; its cells show #N/A");
    }

private:
    struct Where {
        int column, row;
        size_t line;
    };
    void Line(const std::string& text) {
        std::ostream& err = *m_err;
        err << kProgram << ": ";
        if (!m_inputName.empty()) {
            err << m_inputName;
            if (m_cell) err << ':' << m_cell->line;
            err << ": ";
        }
        if (m_cell) err << "cell " << CellName(m_cell->column, m_cell->row) << ": ";
        err << text << '\n';
    }

    std::ostream* m_err;
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

// Types every non-empty field, letting the kept texts go as they are typed; false after a
// message on err. The input's first record goes to the row firstRow.
bool TypeInput(CsvInput& input, CalcSheet& sheet, MessagesToStream& messages, std::ostream& err,
               int firstRow = 0) {
    messages.SetInput(input.name);
    // Held across the cells, the engine's lock is taken again by each call at the cost of a
    // count, instead of twice an atomic operation per cell.
    EngineLock lock;
    size_t field = 0, piece = 0, inPiece = 0;
    std::u16string text;
    for (size_t record = 0; record < input.recordEnds.size(); ++record) {
        const int row = firstRow + int(record);
        for (int column = 0; field < input.recordEnds[record]; ++field, ++column) {
            if (!input.filled[field]) continue;
            CsvInput::Texts& texts = input.texts[piece];
            texts.Get(inPiece, text);
            messages.SetCell(column, row, input.recordLines[record]);
            if (!sheet.SetCellText(column, row, text)) {
                Complain(err, input.name, input.recordLines[record],
                         "cell " + CellName(column, row) + ": cannot take the text");
                return false;
            }
            if (++inPiece == texts.ends.size()) {
                texts = {};
                ++piece;
                inPiece = 0;
            }
        }
    }
    input.texts = {};
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
// was. Each cell shows its value; an input typed for formulas keeps its bytes, and then a
// formula cell shows its formula and any other the text typed into it, so that the output
// typed again gives the same cells. With a stream, the text goes to it a piece at a time
// instead of being held whole.
std::string Render(const CsvInput& input, CalcSheet& sheet, std::ostream* stream = nullptr) {
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
        // Held across the cells, as in TypeInput.
        EngineLock lock;
        std::u16string text;
        std::string ascii;
        size_t field = 0;
        for (size_t row = 0; row < input.recordEnds.size(); ++row) {
            for (int column = 0; field < input.recordEnds[row]; ++field, ++column) {
                // An empty field was never typed; asking the sheet about it could make it
                // create a cell for nothing.
                if (!input.filled[field]) {
                    writer.Field({});
                } else if (sheet.ReadCellValueAscii(column, int(row), ascii)) {
                    writer.AsciiField(ascii);
                } else {
                    sheet.ReadCellValueText(column, int(row), text);
                    writer.Field(text);
                }
            }
            endRecord();
        }
        return output;
    }
    // Only formulas need the typed texts, so only they keep the bytes (TypeInputs).
    std::vector<std::u16string> fields;
    CsvReader reader(input.bytes, CsvLimits{}, input.separator);
    for (int row = 0; reader.Next(fields); ++row) {
        for (size_t column = 0; column < fields.size(); ++column) {
            if (fields[column].empty()) {
                writer.Field({});
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

namespace {

// A sheet of a workbook file as it is written out: a record for each of its shape's.
std::string RenderShape(const SheetShape& shape, CalcSheet& sheet, bool formulas) {
    std::string output;
    CsvWriter writer(output, shape.separator);
    for (size_t row = 0; row < shape.widths.size(); ++row) {
        for (int column = 0; column < shape.widths[row]; ++column)
            writer.Field(formulas ? sheet.GetCellFormula(column, int(row))
                                  : sheet.GetCellValueText(column, int(row)));
        writer.EndRecord();
    }
    return output;
}

// The --format options on a workbook file's sheet: what they cover of the cells within its
// shape that hold something. False after a message on err.
bool ApplyFormatsToShape(const SheetShape& shape, const std::u16string& sheetName,
                         const std::vector<FormatOption>& formats, CalcSheet& sheet,
                         const std::string& name, std::ostream& err) {
    for (size_t row = 0; row < shape.widths.size() && !formats.empty(); ++row) {
        for (int column = 0; column < shape.widths[row]; ++column) {
            auto covering = std::find_if(formats.rbegin(), formats.rend(), [&](const auto& f) {
                return f.Covers(sheetName, column, int(row));
            });
            if (covering == formats.rend()) continue;
            if (sheet.GetCellValue(column, int(row)).kind == CellValue::Kind::empty &&
                !sheet.HasFormula(column, int(row)))
                continue;
            if (!sheet.SetCustomFormat(column, int(row), covering->code)) {
                Complain(err, name, 0,
                         "cell " + CellName(column, int(row)) + ": cannot take the format");
                return false;
            }
        }
    }
    return true;
}

// Whether a and b name one file on the disk (false when either is missing).
bool SameFile(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

// Why writing the outputs and the saved workbook would be wrong, or nothing: two sheets of
// a workbook file written to one file, an output over the workbook file read, or the saved
// workbook in an output's place.
std::optional<std::string> OutputClash(const CalcOptions& options, bool fromBook,
                                       const std::vector<OutputFile>& outputs) {
    namespace fs = std::filesystem;
    std::set<std::string> names;
    for (const OutputFile& output : outputs) {
        if (!names.insert(output.name).second)
            return "two sheets of the workbook file would be written to '" + output.name + "'";
        if (!options.outDir) continue;
        const fs::path target = fs::path(*options.outDir) / output.name;
        if (fromBook && options.files[0] != "-" && SameFile(target, options.files[0]))
            return "'" + target.string() + "' would replace the input '" + options.files[0] +
                   "'; choose another --out folder";
        for (const std::optional<std::string>& saved : {options.save, options.saveLegacy}) {
            if (!saved) continue;
            std::error_code ec1, ec2;
            const fs::path a = fs::weakly_canonical(target, ec1);
            const fs::path b = fs::weakly_canonical(fs::path(*saved), ec2);
            if (!ec1 && !ec2 && a == b)
                return "'" + *saved + "' would be both a saved file and an output";
        }
    }
    return std::nullopt;
}

// The documents opened for a run. The workbook they were added to outlives the run, so each
// database is taken out of its documents before it goes; a workbook leaves by itself.
struct OpenedDocuments {
    std::vector<std::unique_ptr<CalcBook>> books;
    CalcBook* owner = nullptr;
    std::vector<std::pair<std::u16string, std::unique_ptr<database::DatabaseDocument>>> databases;

    OpenedDocuments() = default;
    OpenedDocuments(const OpenedDocuments&) = delete;
    OpenedDocuments& operator=(const OpenedDocuments&) = delete;
    ~OpenedDocuments() {
        for (auto& [name, database] : databases)
            owner->RemoveDocument(name);
    }
};

// Opens every --doc FILE as a workbook of its own, calculated, and every --db FILE as a
// database, and adds each to book under its NAME, so that book's formulas read it; then sets
// the --property options on book. The documents live in kept. The program's exit code, or
// nothing to go on.
std::optional<int> OpenDocuments(const CalcOptions& options, CalcBook& book, std::istream& in,
                                 OpenedDocuments& kept, std::ostream& err) {
    for (const auto& [name, file] : options.documents) {
        if (file == "-") return UsageError(err, "option '--doc' reads a file, not standard input");
        CsvInput input;
        CsvError error;
        if (!ReadCsvInput(file, in, options.separator, input, error)) {
            Complain(err, input.name, error.line, error.message);
            return kExitFailure;
        }
        std::unique_ptr<CalcBook> document;
        std::string why;
        if (input.book) {
            document = CalcBook::LoadBookBytes(input.bytes, options.locale, &why);
        } else if ((document = MakeCalcBook(options.locale))) {
            CalcSheet* sheet = document->AddSheet(SheetNameOf(file));
            MessagesToStream messages(err);
            if (!sheet || !TypeInput(input, *sheet, messages, err)) return kExitFailure;
        }
        if (!document) {
            Complain(err, input.name, 0, why.empty() ? "cannot be opened" : why);
            return kExitFailure;
        }
        document->RecalculateAll();
        if (!book.AddDocument(name, *document))
            return UsageError(err, "option '--doc': '" + ToUtf8(name) +
                                       "' cannot name a document of this workbook");
        kept.books.push_back(std::move(document));
    }
    kept.owner = &book;
    for (const auto& [name, file] : options.databases) {
        std::string why;
        std::unique_ptr<database::DatabaseDocument> database =
            database::DatabaseDocument::Open(file, name, why);
        if (!database) {
            Complain(err, std::filesystem::path(file).filename().string(), 0, why);
            return kExitFailure;
        }
        if (!book.AddDocument(name, *database))
            return UsageError(err, "option '--db': '" + ToUtf8(name) +
                                       "' cannot name a document of this workbook");
        kept.databases.emplace_back(name, std::move(database));
    }
    for (const auto& [key, value] : options.properties)
        if (!book.SetProperty(key, value))
            return UsageError(err, "option '--property': '" + ToUtf8(key) + "=" + ToUtf8(value) +
                                       "' is no property of a workbook");
    return std::nullopt;
}

// Writes the legacy exchange file, and says once on err how many formulas went as values
// and how many texts were cut, naming the first cell of each: a formula must not be lost
// without the user hearing of it. False after a message on err.
bool SaveLegacy(CalcBook& book, const std::string& path, std::ostream& err) {
    LegacySaveReport report;
    std::string why;
    if (!book.SaveLegacy(path, &report, &why)) {
        err << kProgram << ": " << path << ": " << why << '\n';
        return false;
    }
    if (report.formulasAsValues == 1) {
        err << kProgram << ": " << path << ": the formula of cell " << ToUtf8(report.firstFormula)
            << " cannot be written in the legacy records; its value was written instead\n";
    } else if (report.formulasAsValues > 1) {
        err << kProgram << ": " << path << ": " << report.formulasAsValues
            << " formulas cannot be written in the legacy records, the first in cell "
            << ToUtf8(report.firstFormula) << "; their values were written instead\n";
    }
    if (report.textsCut > 0) {
        err << kProgram << ": " << path << ": " << report.textsCut
            << (report.textsCut == 1 ? " text was" : " texts were")
            << " cut to 254 characters, the first in cell " << ToUtf8(report.firstText) << '\n';
    }
    return true;
}

// Reads a workbook or legacy exchange file's workbook into loaded and calculates it; the shapes its
// sheets are written in come out. The program's exit code, or nothing to go on.
std::optional<int> LoadInput(const CalcOptions& options, CsvInput& input,
                             std::unique_ptr<CalcBook>& loaded, std::vector<SheetShape>& shapes,
                             std::istream& in, OpenedDocuments& documents, std::ostream& err) {
    std::string why;
    loaded = input.legacy ? CalcBook::LoadLegacyBytes(input.bytes, options.locale, &why)
                          : CalcBook::LoadBookBytes(input.bytes, options.locale, &why);
    std::string().swap(input.bytes);
    if (!loaded) {
        Complain(err, input.name, 0, why);
        return kExitFailure;
    }
    CalcBook& book = *loaded;
    if (book.SheetCount() == 0) {
        Complain(err, input.name, 0, "the workbook holds no sheet");
        return kExitFailure;
    }
    if (book.SheetCount() > 1 && !options.outDir)
        return UsageError(err, "the workbook file '" + options.files[0] + "' holds " +
                                   std::to_string(book.SheetCount()) +
                                   " sheets; they need --out DIR");
    for (const FormatOption& format : options.formats) {
        bool named = format.sheet.empty();
        for (size_t i = 0; i < book.SheetCount() && !named; ++i)
            named = SameSheetName(format.sheet, book.SheetName(i));
        if (!named)
            return UsageError(
                err, "option '--format': no sheet is named '" + ToUtf8(format.sheet) + "'");
    }
    for (size_t i = 0; i < book.SheetCount(); ++i) {
        shapes.push_back(ShapeOfSheet(*book.Sheet(i), book.SheetName(i)));
        if (options.separator) shapes.back().separator = *options.separator;
    }
    if (std::optional<int> stop = OpenDocuments(options, book, in, documents, err)) return stop;
    MessagesToStream messages(err);
    messages.SetInput(input.name);
    for (size_t i = 0; i < book.SheetCount(); ++i) {
        if (!ApplyFormatsToShape(shapes[i], book.SheetName(i), options.formats, *book.Sheet(i),
                                 input.name, err))
            return kExitFailure;
    }
    ProgressBar bar(err, options.progress);
    book.RecalculateAll([&](double done) { bar.Show(done); }, {});
    return std::nullopt;
}

// Whether the inputs' sheets are one per file; false after a message on err.
bool OneSheetPerFile(const CalcOptions& options, CalcBook& book, std::ostream& err) {
    if (book.SheetCount() == options.files.size() && !options.files.empty()) return true;
    err << kProgram << ": the workbook does not hold one sheet per file\n";
    return false;
}

// The check kept the texts to type and the records' shape; only formats and the formulas
// mode read the bytes again.
void KeepOnlyWhatIsRead(const CalcOptions& options, CsvInput& input) {
    if (!input.book && !options.formulas && options.formats.empty()) {
        std::string().swap(input.bytes);
        input.shapeOnly = true;
    }
}

// Reads and checks every input before the first cell is typed, so that a fault in the last
// file leaves no trace of the first (and no engine messages about it).
std::optional<int> ReadInputs(const CalcOptions& options, std::istream& in,
                              std::vector<CsvInput>& inputs, std::ostream& err) {
    for (size_t i = 0; i < options.files.size(); ++i) {
        CsvError error;
        if (!ReadCsvInput(options.files[i], in, options.separator, inputs[i], error)) {
            Complain(err, inputs[i].name, error.line, error.message);
            return kExitFailure;
        }
        KeepOnlyWhatIsRead(options, inputs[i]);
    }
    return std::nullopt;
}

// Gives the typed sheets their formats and kept shapes, and calculates the workbook.
std::optional<int> CalculateTyped(const CalcOptions& options, std::vector<CsvInput>& inputs,
                                  CalcBook& book, const std::vector<std::u16string>& sheetNames,
                                  MessagesToStream& messages, std::ostream& err) {
    for (size_t i = 0; i < inputs.size(); ++i) {
        if (!ApplyFormats(inputs[i], sheetNames[i], options.formats, *book.Sheet(i), err))
            return kExitFailure;
        if (options.save)
            book.Sheet(i)->SetHostData(
                EncodeShape(ShapeOfInput(inputs[i], OutputNameOf(options.files[i]))));
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
    return std::nullopt;
}

// Types the CSV inputs into book and calculates it; with a workbook file to save, each
// sheet keeps the shape of its input. The program's exit code, or nothing to go on.
std::optional<int> TypeInputs(const CalcOptions& options, std::vector<CsvInput>& inputs,
                              CalcBook& book, std::ostream& err) {
    if (!OneSheetPerFile(options, book, err)) return kExitFailure;
    // The sheets' names, for --format options that name one. Finding a name tries formulas
    // out, whose complaints are not the user's business: this happens before the engine's
    // messages are shown.
    std::vector<std::u16string> sheetNames(inputs.size());
    if (!options.formats.empty()) {
        for (size_t i = 0; i < inputs.size(); ++i)
            sheetNames[i] = SheetNameOf(options.files[i]);
    }
    MessagesToStream messages(err);
    for (size_t i = 0; i < inputs.size(); ++i)
        if (!TypeInput(inputs[i], *book.Sheet(i), messages, err)) return kExitFailure;
    return CalculateTyped(options, inputs, book, sheetNames, messages, err);
}

// Opens the documents and types the lone CSV input while the pipe still reads it, starting
// with its first batch, then calculates. Whatever would be said before the whole input has
// proved sound is held back until it has: a fault in it is then the only message, as when
// the input is read before anything is typed (the sheet may keep what was typed).
std::optional<int> TypeWhileReading(const CalcOptions& options, CsvInputPipe& pipe, CsvInput& batch,
                                    std::vector<CsvInput>& inputs, CalcBook& book, std::istream& in,
                                    OpenedDocuments& documents, std::ostream& err) {
    std::ostringstream held;
    std::optional<int> stop = OpenDocuments(options, book, in, documents, held);
    if (!stop && !OneSheetPerFile(options, book, held)) stop = kExitFailure;
    CsvInput& input = inputs[0];
    MessagesToStream messages(held);
    std::ostream* say = &held;
    auto release = [&] {
        err << held.str();
        held.str({});
        messages.SetStream(err);
        say = &err;
    };
    for (int row = 0; !stop;) {
        if (!TypeInput(batch, *book.Sheet(0), messages, *say, row)) {
            stop = kExitFailure;
            break;
        }
        // Once the input has proved sound, what is said goes out as it is said. Until then
        // it is held, but not without bound (a message for every cell of a slow input):
        // past a megabyte, typing waits for the reading to end.
        if (say == &held) {
            constexpr std::streamoff kMostHeld = std::streamoff(1) << 20;
            const std::optional<bool> sound = pipe.Outcome(held.tellp() > kMostHeld);
            if (sound && !*sound) break;
            if (sound) release();
        }
        // The shape of the whole input, for showing it, from the batches' own.
        const auto base = uint32_t(input.filled.size());
        for (uint32_t end : batch.recordEnds)
            input.recordEnds.push_back(base + end);
        input.filled.insert(input.filled.end(), batch.filled.begin(), batch.filled.end());
        input.recordLines.insert(input.recordLines.end(), batch.recordLines.begin(),
                                 batch.recordLines.end());
        row += int(batch.recordEnds.size());
        if (!pipe.Next(batch)) break;
    }
    CsvError error;
    if (!pipe.Finish(input, error)) {
        Complain(err, input.name, error.line, error.message);
        return kExitFailure;
    }
    if (say == &held) release();
    if (stop) return stop;
    std::vector<std::u16string> sheetNames(1);
    return CalculateTyped(options, inputs, book, sheetNames, messages, err);
}

// With typeWhileReading, a lone CSV input that only values are shown of is typed while it
// is read (TypeWhileReading).
int Run(const CalcOptions& options, CalcBook* typed, std::unique_ptr<CalcBook>& loaded,
        std::istream& in, std::ostream& out, std::ostream& err, bool typeWhileReading) {
    std::vector<CsvInput> inputs(options.files.size());
    std::unique_ptr<CsvInputPipe> pipe;
    CsvInput batch;
    if (typeWhileReading && inputs.size() == 1 && !options.formulas && options.formats.empty()) {
        try {
            pipe = std::make_unique<CsvInputPipe>(options.files[0], in, options.separator);
        } catch (const std::system_error&) {
            // No second thread: the input is read before it is typed.
        }
    }
    if (pipe && !pipe->Next(batch)) {
        // A workbook file, or a CSV file without records, goes the common road.
        CsvError error;
        const bool read = pipe->Finish(inputs[0], error);
        pipe.reset();
        if (!read) {
            Complain(err, inputs[0].name, error.line, error.message);
            return kExitFailure;
        }
        KeepOnlyWhatIsRead(options, inputs[0]);
    } else if (!pipe) {
        if (std::optional<int> stop = ReadInputs(options, in, inputs, err)) return *stop;
    }
    const bool fromBook =
        std::any_of(inputs.begin(), inputs.end(), [](const CsvInput& i) { return i.book; });
    if (fromBook && inputs.size() != 1)
        return UsageError(err, "a workbook file is read alone, not with other FILEs");

    CalcBook* book = typed;
    std::vector<SheetShape> shapes;
    // Each document leaves the workbook's set of documents as it goes.
    OpenedDocuments documents;
    if (!fromBook && !pipe) {
        if (std::optional<int> stop = OpenDocuments(options, *typed, in, documents, err))
            return *stop;
    }
    std::optional<int> stop =
        pipe       ? TypeWhileReading(options, *pipe, batch, inputs, *typed, in, documents, err)
        : fromBook ? LoadInput(options, inputs[0], loaded, shapes, in, documents, err)
                   : TypeInputs(options, inputs, *typed, err);
    if (stop) return *stop;
    if (fromBook) book = loaded.get();

    auto save = [&] {
        std::string why;
        if (options.save && !book->SaveBook(*options.save, &why)) {
            err << kProgram << ": " << *options.save << ": " << why << '\n';
            return false;
        }
        return !options.saveLegacy || SaveLegacy(*book, *options.saveLegacy, err);
    };
    // One sheet typed for standard output goes out a piece at a time as it is rendered.
    if (!fromBook && !options.outDir && inputs.size() == 1) {
        if (!save()) return kExitFailure;
        std::string rest = Render(inputs[0], *book->Sheet(0), &out);
        out.write(rest.data(), std::streamsize(rest.size()));
        out.flush();
        if (!out) {
            err << kProgram << ": cannot write the output\n";
            return kExitFailure;
        }
        return kExitSuccess;
    }
    std::vector<OutputFile> outputs;
    for (size_t i = 0; i < (fromBook ? shapes.size() : inputs.size()); ++i) {
        if (fromBook) {
            outputs.push_back(
                {shapes[i].outputName, RenderShape(shapes[i], *book->Sheet(i), options.formulas)});
            continue;
        }
        // Named by the files' own bytes, whatever names their sheets got.
        outputs.push_back({OutputNameOf(options.files[i]), Render(inputs[i], *book->Sheet(i))});
        // Each input's bytes are done with once its output is made.
        std::string().swap(inputs[i].bytes);
    }
    if (std::optional<std::string> clash = OutputClash(options, fromBook, outputs))
        return UsageError(err, *clash);

    if (!save()) return kExitFailure;
    if (options.outDir) {
        std::string reason;
        if (PublishFiles(*options.outDir, outputs, reason)) return kExitSuccess;
        err << kProgram << ": " << reason << '\n';
        return kExitFailure;
    }
    if (outputs.size() != 1) {
        err << kProgram << ": several sheets need an output folder\n";
        return kExitFailure;
    }
    out.write(outputs[0].bytes.data(), std::streamsize(outputs[0].bytes.size()));
    out.flush();
    if (!out) {
        err << kProgram << ": cannot write the output\n";
        return kExitFailure;
    }
    return kExitSuccess;
}

}  // namespace

int RunCalc(const CalcOptions& options, std::unique_ptr<CalcBook>& book, std::istream& in,
            std::ostream& out, std::ostream& err) {
    // A workbook file's workbook takes the typed one's place as it is loaded. The caller
    // keeps no workbook of its own, so what a faulty input leaves typed concerns nobody.
    return Run(options, book.get(), book, in, out, err, true);
}

int RunCalc(const CalcOptions& options, CalcBook& book, std::istream& in, std::ostream& out,
            std::ostream& err) {
    std::unique_ptr<CalcBook> loaded;
    return Run(options, &book, loaded, in, out, err, false);
}

int RunCalc(const CalcOptions& options, CalcSheet& sheet, std::istream& in, std::ostream& out,
            std::ostream& err) {
    OneSheetBook book(sheet);
    return RunCalc(options, book, in, out, err);
}

}  // namespace ostrel
