#include "calc_command.h"

#include <cerrno>
#include <cstdint>
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
    MessagesToStream(std::ostream& err, std::string inputName)
        : m_err(err), m_inputName(std::move(inputName)), m_previous(GetUserInterface()) {
        SetUserInterface(this);
    }
    ~MessagesToStream() override { SetUserInterface(&m_previous); }
    MessagesToStream(const MessagesToStream&) = delete;
    MessagesToStream& operator=(const MessagesToStream&) = delete;

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
        m_err << kProgram << ": " << m_inputName << ": ";
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

}  // namespace

int RunCalc(const CalcOptions& options, CalcSheet& sheet, std::istream& in, std::ostream& out,
            std::ostream& err) {
    const bool fromStandardInput = options.file == "-";
    const std::string inputName = fromStandardInput ? "(standard input)" : options.file;
    auto fail = [&](const std::string& message) {
        err << kProgram << ": " << inputName << ": " << message << '\n';
        return kExitFailure;
    };

    std::string bytes;
    if (fromStandardInput) {
        if (!ReadStream(in, bytes)) return fail("cannot read");
    } else {
        std::string reason;
        if (!ReadFile(options.file, bytes, reason)) return fail(reason);
    }

    // The whole input is checked before the first cell is typed, so that a fault at its
    // end leaves no trace of its beginning (and no engine messages about it).
    Shape shape;
    std::vector<std::u16string> fields;
    {
        CsvReader reader(bytes);
        while (reader.Next(fields)) {
            shape.rowStart.push_back(shape.typed.size());
            for (const std::u16string& field : fields)
                shape.typed.push_back(!field.empty());
        }
        if (reader.Failed())
            return fail("line " + std::to_string(reader.Error().line) + ": " +
                        reader.Error().message);
    }

    MessagesToStream messages(err, inputName);
    {
        CsvReader reader(bytes);
        for (int row = 0; reader.Next(fields); ++row) {
            for (size_t column = 0; column < fields.size(); ++column) {
                if (fields[column].empty()) continue;
                messages.SetCell(int(column), row);
                if (!sheet.SetCellText(int(column), row, fields[column]))
                    return fail("cell " + CellName(int(column), row) + ": cannot take the text");
            }
        }
        messages.ClearCell();
    }
    sheet.Recalculate();

    std::string output;
    output.reserve(bytes.size());
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
            writer.Field(options.formulas ? sheet.GetCellFormula(column, int(row))
                                          : sheet.GetCellValueText(column, int(row)));
        }
        writer.EndRecord();
    }

    out.write(output.data(), std::streamsize(output.size()));
    out.flush();
    if (!out) {
        err << kProgram << ": cannot write the output\n";
        return kExitFailure;
    }
    return kExitSuccess;
}

}  // namespace ostrel
