#include "calc_command.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <istream>
#include <optional>
#include <ostream>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "cli.h"
#include "csv.h"
#include "formats/text_helpers.h"
#include "platform/ui.h"
#include "platform/utf.h"
#include "sheet_interface.h"

namespace ostrel {

namespace {

constexpr std::string_view kProgram = "ostrel-cells";

std::string CellName(int column, int row) {
    return ToUtf8(PrintCol(static_cast<unsigned char>(column))) + std::to_string(row + 1);
}

// Reads a whole file; on failure error holds the system's reason.
bool ReadFile(const std::string& path, std::string& bytes, std::string& error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = std::generic_category().message(errno);
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0)
        bytes.reserve(static_cast<size_t>(info.st_size));
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got > 0) {
            bytes.append(buffer, static_cast<size_t>(got));
        } else if (got == 0) {
            break;
        } else if (errno != EINTR) {
            error = std::generic_category().message(errno);
            ::close(fd);
            return false;
        }
    }
    ::close(fd);
    return true;
}

bool ReadStream(std::istream& in, std::string& bytes) {
    char buffer[1 << 16];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
        bytes.append(buffer, static_cast<size_t>(in.gcount()));
    return !in.bad();
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
    void SetCell(int column, int row) { m_cell = {column, row}; }
    void ClearCell() { m_cell.reset(); }

    void ShowMessage(unsigned, std::u16string_view text, MessageIcon) override {
        Line(ToUtf8(text));
    }
    bool AskYesNo(unsigned, std::u16string_view text) override {
        Line(ToUtf8(text) + " (answered No)");
        return false;
    }

private:
    void Line(const std::string& text) {
        m_err << kProgram << ": ";
        if (!m_inputName.empty()) m_err << m_inputName << ": ";
        if (m_cell) m_err << "cell " << CellName(m_cell->first, m_cell->second) << ": ";
        m_err << text << '\n';
    }

    std::ostream& m_err;
    std::string m_inputName;
    CUserInterface& m_previous;
    std::optional<std::pair<int, int>> m_cell;  // column and row being typed
};

// Where each row's fields start in one flat list that says which fields were typed:
// the shape of the input, without its texts.
struct Shape {
    std::vector<size_t> rowStart;
    std::vector<bool> typed;

    size_t Rows() const { return rowStart.size(); }
    size_t RowEnd(size_t row) const {
        return row + 1 < rowStart.size() ? rowStart[row + 1] : typed.size();
    }
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

// One input: where it came from, its bytes and its shape.
struct Input {
    std::string name;  // as messages show it
    std::string bytes;
    Shape shape;
};

// Reads and checks one file; false after a message on err.
bool ReadInput(const std::string& file, std::istream& in, std::ostream& err, Input& input) {
    const bool fromStandardInput = file == "-";
    input.name = fromStandardInput ? "(standard input)" : file;
    auto fail = [&](const std::string& message) {
        err << kProgram << ": " << input.name << ": " << message << '\n';
        return false;
    };
    if (fromStandardInput) {
        if (!ReadStream(in, input.bytes)) return fail("cannot read");
    } else {
        std::string reason;
        if (!ReadFile(file, input.bytes, reason)) return fail(reason);
    }
    std::vector<std::u16string> fields;
    CsvReader reader(input.bytes);
    while (reader.Next(fields)) {
        input.shape.rowStart.push_back(input.shape.typed.size());
        for (const std::u16string& field : fields)
            input.shape.typed.push_back(!field.empty());
    }
    if (reader.Failed())
        return fail("line " + std::to_string(reader.Error().line) + ": " + reader.Error().message);
    return true;
}

// Types every non-empty field; false after a message on err.
bool TypeInput(const Input& input, CalcSheet& sheet, MessagesToStream& messages,
               std::ostream& err) {
    messages.SetInput(input.name);
    std::vector<std::u16string> fields;
    CsvReader reader(input.bytes);
    for (int row = 0; reader.Next(fields); ++row) {
        for (size_t column = 0; column < fields.size(); ++column) {
            if (fields[column].empty()) continue;
            messages.SetCell(int(column), row);
            if (!sheet.SetCellText(int(column), row, fields[column])) {
                err << kProgram << ": " << input.name << ": cell " << CellName(int(column), row)
                    << ": cannot take the text\n";
                return false;
            }
        }
    }
    messages.ClearCell();
    return true;
}

std::string Render(const Input& input, CalcSheet& sheet, bool formulas) {
    const Shape& shape = input.shape;
    std::string output;
    output.reserve(input.bytes.size());
    CsvWriter writer(output);
    for (size_t row = 0; row < shape.Rows(); ++row) {
        for (size_t i = shape.rowStart[row]; i < shape.RowEnd(row); ++i) {
            // An empty field was never typed; asking the sheet about it could make it
            // create a cell for nothing.
            if (!shape.typed[i]) {
                writer.Field({});
                continue;
            }
            const int column = int(i - shape.rowStart[row]);
            writer.Field(formulas ? sheet.GetCellFormula(column, int(row))
                                  : sheet.GetCellValueText(column, int(row)));
        }
        writer.EndRecord();
    }
    return output;
}

// Writes bytes to a new file beside path, to be renamed into place; returns its path, or
// an empty string after setting reason.
std::string WriteAside(const std::filesystem::path& path, const std::string& bytes,
                       std::string& reason) {
    std::string temp = (path.parent_path() / ("." + path.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        reason = std::generic_category().message(errno);
        return {};
    }
    // mkstemp makes the file private; the result gets the permissions any new file would.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    bool ok = ::fchmod(fd, 0666 & ~mask) == 0;
    for (size_t done = 0; ok && done < bytes.size();) {
        const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (put > 0)
            done += size_t(put);
        else if (put < 0 && errno != EINTR)
            ok = false;
    }
    if (!ok) reason = std::generic_category().message(errno);
    if (::close(fd) != 0 && ok) {
        reason = std::generic_category().message(errno);
        ok = false;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return {};
    }
    return temp;
}

// Every sheet as DIR/NAME.csv: all are written aside first, and renamed only when every
// one was written, so that a failure leaves the folder as it was.
int WriteFolder(const std::string& dir, const std::vector<std::string>& names,
                const std::vector<std::string>& outputs, std::ostream& err) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec || !fs::is_directory(dir)) {
        err << kProgram << ": " << dir << ": "
            << (ec ? ec.message() : std::string("not a directory")) << '\n';
        return kExitFailure;
    }
    std::vector<std::string> temps;
    auto discard = [&] {
        for (const std::string& temp : temps)
            ::unlink(temp.c_str());
    };
    for (size_t i = 0; i < names.size(); ++i) {
        const fs::path target = fs::path(dir) / (names[i] + ".csv");
        std::string reason;
        std::string temp = WriteAside(target, outputs[i], reason);
        if (temp.empty()) {
            err << kProgram << ": " << target.string() << ": " << reason << '\n';
            discard();
            return kExitFailure;
        }
        temps.push_back(std::move(temp));
    }
    for (size_t i = 0; i < names.size(); ++i) {
        const fs::path target = fs::path(dir) / (names[i] + ".csv");
        if (::rename(temps[i].c_str(), target.c_str()) != 0) {
            err << kProgram << ": " << target.string() << ": "
                << std::generic_category().message(errno) << '\n';
            // The ones renamed already stay: each is whole and calculated.
            temps.erase(temps.begin(), temps.begin() + long(i));
            discard();
            return kExitFailure;
        }
    }
    return kExitSuccess;
}

// A lone sheet as a workbook of one, for callers that calculate on a sheet of their own.
class OneSheetBook : public CalcBook {
public:
    explicit OneSheetBook(CalcSheet& sheet) : m_sheet(sheet) {}
    CalcSheet* AddSheet(std::u16string_view) override { return nullptr; }
    bool HasSheet(std::u16string_view) const override { return false; }
    size_t SheetCount() const override { return 1; }
    CalcSheet* Sheet(size_t index) override { return index == 0 ? &m_sheet : nullptr; }
    void RecalculateAll(const std::function<void(double)>&) override { m_sheet.Recalculate(); }

private:
    CalcSheet& m_sheet;
};

}  // namespace

std::u16string SheetNameOf(const std::string& file) {
    if (file == "-") return u"Sheet1";
    bool valid = true;
    std::u16string name = FromUtf8(std::filesystem::path(file).stem().string(), &valid);
    return valid ? name : std::u16string();
}

int RunCalc(const CalcOptions& options, CalcBook& book, std::istream& in, std::ostream& out,
            std::ostream& err) {
    if (book.SheetCount() != options.files.size() || options.files.empty()) {
        err << kProgram << ": the workbook does not hold one sheet per file\n";
        return kExitFailure;
    }
    // Every input is checked before the first cell is typed, so that a fault in the last
    // file leaves no trace of the first (and no engine messages about it).
    std::vector<Input> inputs(options.files.size());
    for (size_t i = 0; i < options.files.size(); ++i)
        if (!ReadInput(options.files[i], in, err, inputs[i])) return kExitFailure;

    {
        MessagesToStream messages(err);
        for (size_t i = 0; i < inputs.size(); ++i)
            if (!TypeInput(inputs[i], *book.Sheet(i), messages, err)) return kExitFailure;
        // Messages while calculating name the file when there is only one.
        messages.SetInput(inputs.size() == 1 ? inputs[0].name : std::string());
        ProgressBar bar(err, options.progress);
        book.RecalculateAll([&](double done) { bar.Show(done); });
    }

    std::vector<std::string> outputs;
    for (size_t i = 0; i < inputs.size(); ++i)
        outputs.push_back(Render(inputs[i], *book.Sheet(i), options.formulas));

    if (options.outDir) {
        // Named by the files' own bytes, whatever names their sheets got.
        std::vector<std::string> names;
        for (const std::string& file : options.files)
            names.push_back(file == "-" ? std::string("Sheet1")
                                        : std::filesystem::path(file).stem().string());
        return WriteFolder(*options.outDir, names, outputs, err);
    }
    if (outputs.size() != 1) {
        err << kProgram << ": several sheets need an output folder\n";
        return kExitFailure;
    }
    out.write(outputs[0].data(), std::streamsize(outputs[0].size()));
    out.flush();
    if (!out) {
        err << kProgram << ": cannot write the output\n";
        return kExitFailure;
    }
    return kExitSuccess;
}

int RunCalc(const CalcOptions& options, CalcSheet& sheet, std::istream& in, std::ostream& out,
            std::ostream& err) {
    OneSheetBook book(sheet);
    return RunCalc(options, book, in, out, err);
}

}  // namespace ostrel
