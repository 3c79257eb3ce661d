// Comma-separated values as RFC 4180 describes them, in UTF-8: a reader that hands out one
// record at a time as UTF-16 fields, and a writer that quotes only where a field needs it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ostrel {

struct CsvLimits {
    size_t maxRecords = 65536;
    size_t maxFields = 256;  // per record
};

// Why reading stopped early, and where: line is the 1-based physical line of the input
// (CRLF, LF and a lone CR each end a line) at which the fault lies.
struct CsvError {
    size_t line = 0;
    std::string message;  // lower case, without the line: "invalid UTF-8"
};

// Reads records from a buffer the caller keeps alive. Records end at CRLF, LF or a lone CR
// outside quotes; a field in double quotes may hold commas, quotes (doubled) and line
// breaks, which are kept as they stand. A UTF-8 byte order mark at the start is skipped.
// Empty lines at the end of the input are not records; an empty line elsewhere is a
// record of one empty field. A double quote inside an unquoted field is taken literally.
// The input is rejected on the first invalid UTF-8 sequence (overlong forms, surrogates,
// code points past U+10FFFF, truncated sequences), a NUL character, text after a closing
// quote, a quote that is never closed, or more records or fields than the limits allow.
class CsvReader {
public:
    explicit CsvReader(std::string_view input, CsvLimits limits = {});

    // The next record's fields (at least one); false at the end of the input or on an
    // error, which Error() then describes. Reuses the strings already in fields.
    bool Next(std::vector<std::u16string>& fields);

    bool Failed() const { return m_failed; }
    const CsvError& Error() const { return m_error; }
    // The line on which the record last returned by Next began.
    size_t RecordLine() const { return m_recordLine; }

private:
    bool ReadField(std::u16string& field, bool& endOfRecord);
    bool ReadQuoted(std::u16string& field);
    bool ReadUnquoted(std::u16string& field);
    // Appends the character at m_pos (which is not ASCII) and moves past it.
    bool AppendMultiByte(std::u16string& field);
    // At a line break: moves past it and counts the line.
    void SkipLineBreak();
    bool AtLineBreak() const;
    bool OnlyLineBreaksRemain();
    bool Fail(size_t line, std::string message);

    std::string_view m_input;
    CsvLimits m_limits;
    size_t m_pos = 0;
    size_t m_line = 1;
    size_t m_records = 0;
    size_t m_recordLine = 0;
    // The input is known to continue with content after the blank lines before this offset.
    size_t m_blankRunEnd = 0;
    bool m_failed = false;
    CsvError m_error;
};

// Appends records to a UTF-8 text; records end with LF. A field is quoted only when it
// holds a comma, a double quote, CR or LF, or when it is the first one written and starts
// with U+FEFF; its quotes are doubled.
class CsvWriter {
public:
    explicit CsvWriter(std::string& out) : m_out(out) {}

    void Field(std::u16string_view text);
    void EndRecord();

private:
    std::string& m_out;
    bool m_atRecordStart = true;
    bool m_firstField = true;
};

}  // namespace ostrel
