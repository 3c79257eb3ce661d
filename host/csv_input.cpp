// SPDX-License-Identifier: Apache-2.0
#include "csv_input.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <istream>
#include <system_error>
#include <vector>

#include "ostrel/calc_book.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ostrel {

namespace {

constexpr size_t kPiece = size_t(1) << 16;
// The first piece is small, so that the records it holds can be typed while the rest is
// read (CsvInputPipe).
constexpr size_t kFirstPiece = size_t(1) << 12;

// Where the bytes come from, a piece at a time.
class Source {
public:
    Source(const std::string& file, std::istream& in) : m_in(file == "-" ? &in : nullptr) {
        if (!m_in) {
            m_fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
            if (m_fd < 0) m_error = errno;
            struct stat info {};
            if (m_fd >= 0 && ::fstat(m_fd, &info) == 0 && S_ISREG(info.st_mode))
                m_expected = size_t(info.st_size);
        }
    }
    ~Source() {
        if (m_fd >= 0) ::close(m_fd);
    }
    Source(const Source&) = delete;
    Source& operator=(const Source&) = delete;

    // Appends the next piece to bytes; ended once nothing more will come. False with
    // reason set when reading failed.
    bool Append(std::string& bytes, bool& ended, std::string& reason) {
        if (m_error) {
            reason = std::generic_category().message(m_error);
            return false;
        }
        const size_t old = bytes.size();
        // A file's bytes are held whole: room for all of them at once, instead of doubling
        // to as much again.
        if (old == 0 && m_expected > 0) bytes.reserve(m_expected + kPiece);
        const size_t piece = old == 0 ? kFirstPiece : kPiece;
        bytes.resize(old + piece);
        size_t got = 0;
        if (m_in) {
            m_in->read(bytes.data() + old, std::streamsize(piece));
            got = size_t(m_in->gcount());
            if (m_in->bad()) {
                bytes.resize(old);
                reason = "cannot read";
                return false;
            }
            ended = got == 0;
        } else {
            ssize_t n;
            do {
                n = ::read(m_fd, bytes.data() + old, piece);
            } while (n < 0 && errno == EINTR);
            if (n < 0) {
                bytes.resize(old);
                reason = std::generic_category().message(errno);
                return false;
            }
            got = size_t(n);
            ended = got == 0;
        }
        bytes.resize(old + got);
        return true;
    }

private:
    std::istream* m_in;
    int m_fd = -1;
    int m_error = 0;
    size_t m_expected = 0;  // a regular file's size
};

}  // namespace

void CsvInput::Texts::Get(size_t index, std::u16string& buffer) const {
    const size_t begin = index == 0 ? 0 : ends[index - 1] & ~kWide;
    const size_t end = ends[index] & ~kWide;
    if (ends[index] & kWide) {
        buffer.resize((end - begin) / sizeof(char16_t));
        std::memcpy(buffer.data(), chars.data() + begin, end - begin);
    } else {
        buffer.resize(end - begin);
        std::transform(chars.begin() + ptrdiff_t(begin), chars.begin() + ptrdiff_t(end),
                       buffer.begin(), [](char c) { return char16_t(c); });
    }
}

namespace {

// A piece of the kept texts holds about this many characters (a field is never split).
constexpr size_t kTextsPiece = size_t(1) << 15;

void KeepRecord(const std::vector<std::u16string>& fields, size_t line, CsvInput& input) {
    for (const std::u16string& field : fields) {
        input.filled.push_back(!field.empty());
        if (field.empty()) continue;
        if (input.texts.empty() || input.texts.back().chars.size() >= kTextsPiece) {
            input.texts.emplace_back();
            input.texts.back().chars.reserve(kTextsPiece + field.size() * sizeof(char16_t));
        }
        CsvInput::Texts& piece = input.texts.back();
        const size_t at = piece.chars.size();
        uint32_t wide = 0;
        if (std::all_of(field.begin(), field.end(), [](char16_t c) { return c < 0x80; })) {
            piece.chars.resize(at + field.size());
            std::transform(field.begin(), field.end(), piece.chars.begin() + ptrdiff_t(at),
                           [](char16_t c) { return char(c); });
        } else {
            piece.chars.append(reinterpret_cast<const char*>(field.data()),
                               field.size() * sizeof(char16_t));
            wide = CsvInput::Texts::kWide;
        }
        piece.ends.push_back(uint32_t(piece.chars.size()) | wide);
    }
    input.recordEnds.push_back(uint32_t(input.filled.size()));
    input.recordLines.push_back(line);
}

}  // namespace

bool ReadCsvInput(const std::string& file, std::istream& in, std::optional<char> separator,
                  CsvInput& input, CsvError& error, const std::function<bool(CsvInput&)>& take) {
    input.name = file == "-" ? "(standard input)" : file;
    Source source(file, in);
    std::optional<CsvReader> reader;
    std::vector<std::u16string> fields;
    bool kindKnown = false;
    for (bool ended = false; !ended;) {
        if (!source.Append(input.bytes, ended, error.message)) {
            error.line = 0;
            return false;
        }
        if (!kindKnown) {
            // The magics of our files open with a byte no UTF-8 text starts with, so no CSV
            // file is ever taken for one; only such a start waits for the whole magic.
            const bool magicStart = !input.bytes.empty() && uint8_t(input.bytes[0]) == 0x89;
            if (magicStart && input.bytes.size() < 8 && !ended) continue;
            kindKnown = true;
            input.legacy = CalcBook::IsLegacyFile(input.bytes);
            input.book = input.legacy || CalcBook::IsBookFile(input.bytes);
        }
        if (input.book) {
            if (input.bytes.size() > kLongestBookInput) {
                error = {0, "too long for a workbook file"};
                return false;
            }
            continue;
        }
        if (!reader) {
            std::optional<char> chosen =
                separator ? separator : DetectSeparator(input.bytes, ended);
            if (!chosen) continue;
            input.separator = *chosen;
            reader.emplace(input.bytes, CsvLimits{}, *chosen, ended);
        } else {
            reader->Extend(input.bytes, ended);
        }
        while (reader->Next(fields))
            KeepRecord(fields, reader->RecordLine(), input);
        if (reader->Failed()) {
            error = reader->Error();
            return false;
        }
        if (take && !input.recordEnds.empty() && !take(input)) {
            error = {0, "reading was stopped"};
            return false;
        }
    }
    return true;
}

}  // namespace ostrel
