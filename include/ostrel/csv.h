// SPDX-License-Identifier: Apache-2.0
// Comma-separated values as RFC 4180 describes them, in UTF-8, with the separator of the
// file's choice: a reader that hands out one record at a time as UTF-16 fields, and a writer
// that quotes only where a field needs it.
#pragma once

#include "ostrel/export.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ostrel {

struct CsvLimits {
    size_t maxRecords = 65536;
    size_t maxFields = 256;         // per record
    size_t maxFieldLength = 32767;  // UTF-16 units of one field, as a cell's text may hold
};

// Why reading stopped early, and where: line is the 1-based physical line of the input
// (CRLF, LF and a lone CR each end a line) at which the fault lies.
struct CsvError {
    size_t line = 0;
    std::string message;  // lower case, without the line: "invalid UTF-8"
};

// Reads records from a buffer the caller keeps alive. Fields end at the separator (a comma
// unless told otherwise), records at CRLF, LF or a lone CR outside quotes; a field in double
// quotes may hold separators, quotes (doubled) and line breaks, which are kept as they
// stand. A UTF-8 byte order mark at the start is skipped. Empty lines at the end of the
// input are not records; an empty line elsewhere is a record of one empty field. A double
// quote inside an unquoted field is taken literally. The input is rejected on the first
// invalid UTF-8 sequence (overlong forms, surrogates, code points past U+10FFFF, truncated
// sequences), a NUL character, text after a closing quote, a quote that is never closed,
// more records or fields than the limits allow, a field longer than they allow, or a run of
// more blank lines than a sheet has rows.
//
// Input may also arrive in pieces: a reader made with complete = false hands out only the
// records the input holds whole, and says NeedsMore() when it stops at the end of what it
// was given; Extend gives it the longer input (the same bytes, more after them). A fault is
// found as soon as its bytes are there, so that an endless input of garbage stops at once.
class OSTREL_API CsvReader {
public:
    explicit CsvReader(std::string_view input, CsvLimits limits = {}, char separator = ',',
                       bool complete = true);

    // The next record's fields (at least one); false at the end of the input, on an error,
    // which Error() then describes, or when more input is needed. Reuses the strings
    // already in fields.
    bool Next(std::vector<std::u16string>& fields);
    // The input again, with more bytes after those already given.
    void Extend(std::string_view input, bool complete);

    bool Failed() const { return m_failed; }
    bool NeedsMore() const { return m_starved; }
    const CsvError& Error() const { return m_error; }
    // The line on which the record last returned by Next began.
    size_t RecordLine() const { return m_recordLine; }

private:
    bool ReadRecord(std::vector<std::u16string>& fields);
    bool ReadField(std::u16string& field, bool& endOfRecord);
    bool ReadQuoted(std::u16string& field);
    bool ReadUnquoted(std::u16string& field);
    // Appends the character at m_pos (which is not ASCII) and moves past it.
    bool AppendMultiByte(std::u16string& field);
    // At a line break: moves past it and counts the line.
    void SkipLineBreak();
    bool AtLineBreak();
    bool OnlyLineBreaksRemain();
    // Whether pos lies past the input; past the end of a partial input, the record being
    // read cannot be told yet.
    bool Ended(size_t pos);
    // Whether the field, begun on line, has grown past the limit (and the reader failed).
    bool TooLong(const std::u16string& field, size_t line);
    // Appends the characters up to the next stop, line break, NUL or non-ASCII byte.
    void AppendPlainRun(std::u16string& field, char stop);
    bool Fail(size_t line, std::string message);

    std::string_view m_input;
    CsvLimits m_limits;
    char m_separator;
    bool m_complete;
    size_t m_pos = 0;
    size_t m_line = 1;
    size_t m_records = 0;
    size_t m_recordLine = 0;
    // The input is known to continue with content after the blank lines before this offset.
    size_t m_blankRunEnd = 0;
    bool m_failed = false;
    bool m_starved = false;
    // Where the record that ran out of input began, and how long the input was then: it is
    // read again only once the input has grown to twice that, so that a long record
    // arriving in many pieces is not read over and over.
    size_t m_retryFrom = 0;
    size_t m_retryAt = 0;
    CsvError m_error;
};

// The separator a CSV text uses, from its first line: a tab when one stands outside
// quotes, else a semicolon (the choice where the comma is the decimal separator), else a
// comma. Null while the input holds neither a whole first line nor its end (complete).
OSTREL_API std::optional<char> DetectSeparator(std::string_view input, bool complete);

// Appends records to a UTF-8 text; records end with LF. A field is quoted only when it
// holds the separator, a double quote, CR or LF, or when it is the first one written and
// starts with U+FEFF; its quotes are doubled.
class OSTREL_API CsvWriter {
public:
    explicit CsvWriter(std::string& out, char separator = ',')
        : m_out(out), m_separator(separator) {}

    void Field(std::u16string_view text);
    /// The same for a text of ASCII characters (anything else is written as Field would).
    void AsciiField(std::string_view text);
    void EndRecord();

private:
    std::string& m_out;
    char m_separator;
    bool m_atRecordStart = true;
    bool m_firstField = true;
};

}  // namespace ostrel
