// SPDX-License-Identifier: Apache-2.0
#include "ostrel/csv.h"

#include <algorithm>
#include <cstdint>

#include "ostrel/platform/utf.h"

namespace ostrel {

namespace {
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// A first line longer than this decides the separator on what it holds so far, so that the
// faults of an input without line breaks are found as soon as those of any other.
constexpr size_t kDetectionWindow = size_t(1) << 16;
}  // namespace

CsvReader::CsvReader(std::string_view input, CsvLimits limits, char separator, bool complete)
    : m_input(input), m_limits(limits), m_separator(separator), m_complete(complete) {}

void CsvReader::Extend(std::string_view input, bool complete) {
    m_input = input;
    m_complete = complete;
    m_starved = false;
}

bool CsvReader::Next(std::vector<std::u16string>& fields) {
    if (m_failed) return false;
    m_starved = false;
    if (m_pos == 0) {
        if (!m_complete && m_input.size() < kByteOrderMark.size() &&
            kByteOrderMark.starts_with(m_input)) {
            m_starved = true;
            return false;
        }
        if (m_input.starts_with(kByteOrderMark)) m_pos = kByteOrderMark.size();
    }
    if (!m_complete && m_retryAt > 0 &&
        m_input.size() - m_retryFrom < 2 * (m_retryAt - m_retryFrom)) {
        m_starved = true;
        return false;
    }
    const size_t pos = m_pos, line = m_line, records = m_records, blankRunEnd = m_blankRunEnd;
    if (ReadRecord(fields)) {
        m_retryAt = 0;
        return true;
    }
    if (m_starved) {
        m_pos = pos, m_line = line, m_records = records, m_blankRunEnd = blankRunEnd;
        m_retryFrom = pos;
        m_retryAt = m_input.size();
    }
    return false;
}

bool CsvReader::ReadRecord(std::vector<std::u16string>& fields) {
    if (Ended(m_pos)) return false;
    if (AtLineBreak()) {
        const bool onlyBreaks = OnlyLineBreaksRemain();
        if (m_failed) return false;
        if (onlyBreaks) {
            if (!m_complete) {
                m_starved = true;
                return false;
            }
            m_pos = m_input.size();
            return false;
        }
    }
    if (m_records == m_limits.maxRecords)
        return Fail(m_line, "more than " + std::to_string(m_limits.maxRecords) + " rows");
    ++m_records;
    m_recordLine = m_line;
    size_t count = 0;
    for (bool endOfRecord = false; !endOfRecord; ++count) {
        if (count == m_limits.maxFields)
            return Fail(m_line, "more than " + std::to_string(m_limits.maxFields) + " columns");
        if (fields.size() <= count) fields.emplace_back();
        fields[count].clear();
        if (!ReadField(fields[count], endOfRecord)) return false;
    }
    fields.resize(count);
    return true;
}

bool CsvReader::ReadField(std::u16string& field, bool& endOfRecord) {
    if (!Ended(m_pos) && m_input[m_pos] == '"') {
        ++m_pos;
        if (!ReadQuoted(field)) return false;
        // Anything but a separator after the closing quote leaves it unclear where the
        // field was meant to end, so it is refused rather than guessed.
        if (!Ended(m_pos) && m_input[m_pos] != m_separator && !AtLineBreak())
            return Fail(m_line, "unexpected text after a closing quote");
    } else if (!ReadUnquoted(field)) {
        return false;
    }
    if (Ended(m_pos)) {
        endOfRecord = true;
    } else if (m_input[m_pos] == m_separator) {
        ++m_pos;
        endOfRecord = false;
    } else {
        SkipLineBreak();
        endOfRecord = true;
    }
    return !m_starved;
}

bool CsvReader::ReadQuoted(std::u16string& field) {
    const size_t openingLine = m_line;
    while (!Ended(m_pos)) {
        const unsigned char c = static_cast<unsigned char>(m_input[m_pos]);
        if (c == '"') {
            if (!Ended(m_pos + 1) && m_input[m_pos + 1] == '"') {
                field += u'"';
                m_pos += 2;
                if (TooLong(field, openingLine)) return false;
                continue;
            }
            if (m_starved) return false;
            ++m_pos;
            return true;
        }
        if (c == '\r' || c == '\n') {
            // A line break inside quotes is part of the field, kept as written.
            const size_t start = m_pos;
            SkipLineBreak();
            for (size_t i = start; i < m_pos; ++i)
                field += char16_t(m_input[i]);
        } else if (c >= 0x80) {
            if (!AppendMultiByte(field)) return false;
        } else if (c == 0) {
            return Fail(m_line, "NUL character");
        } else {
            AppendPlainRun(field, '"');
        }
        if (TooLong(field, openingLine)) return false;
    }
    return Fail(openingLine, "quoted field not closed");
}

bool CsvReader::ReadUnquoted(std::u16string& field) {
    while (!Ended(m_pos)) {
        const unsigned char c = static_cast<unsigned char>(m_input[m_pos]);
        if (c == static_cast<unsigned char>(m_separator) || c == '\r' || c == '\n') return true;
        if (c >= 0x80) {
            if (!AppendMultiByte(field)) return false;
        } else if (c == 0) {
            return Fail(m_line, "NUL character");
        } else {
            AppendPlainRun(field, m_separator);
        }
        if (TooLong(field, m_line)) return false;
    }
    return !m_starved;
}

void CsvReader::AppendPlainRun(std::u16string& field, char stop) {
    // Every input is read three times (checked, typed, rendered), so the common characters
    // are taken a run at a time; the run never passes the field's length limit by more
    // than the caller's check then reports.
    const size_t limit = m_input.size() - m_pos;
    const size_t room =
        m_limits.maxFieldLength + 1 - std::min(field.size(), m_limits.maxFieldLength);
    size_t n = 0;
    while (n < limit && n < room) {
        const unsigned char c = static_cast<unsigned char>(m_input[m_pos + n]);
        if (c >= 0x80 || c == 0 || c == '\r' || c == '\n' || c == static_cast<unsigned char>(stop))
            break;
        ++n;
    }
    const size_t old = field.size();
    field.resize(old + n);
    for (size_t i = 0; i < n; ++i)
        field[old + i] = char16_t(static_cast<unsigned char>(m_input[m_pos + i]));
    m_pos += n;
}

bool CsvReader::AppendMultiByte(std::u16string& field) {
    const unsigned char lead = static_cast<unsigned char>(m_input[m_pos]);
    size_t length;
    uint32_t c;
    uint32_t smallest;
    // 0xC0 and 0xC1 could only start overlong forms; 0xF5 and above only code points past
    // U+10FFFF; 0x80-0xBF continue a sequence and cannot start one.
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, c = lead & 0x1F, smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, c = lead & 0x0F, smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, c = lead & 0x07, smallest = 0x10000;
    } else {
        return Fail(m_line, "invalid UTF-8");
    }
    for (size_t k = 1; k < length; ++k) {
        if (Ended(m_pos + k)) return Fail(m_line, "invalid UTF-8");
        const unsigned char next = static_cast<unsigned char>(m_input[m_pos + k]);
        if ((next & 0xC0) != 0x80) return Fail(m_line, "invalid UTF-8");
        c = (c << 6) | (next & 0x3F);
    }
    if (c < smallest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return Fail(m_line, "invalid UTF-8");
    if (c >= 0x10000) {
        c -= 0x10000;
        field += char16_t(0xD800 + (c >> 10));
        field += char16_t(0xDC00 + (c & 0x3FF));
    } else {
        field += char16_t(c);
    }
    m_pos += length;
    return true;
}

bool CsvReader::Ended(size_t pos) {
    if (pos < m_input.size()) return false;
    if (!m_complete) m_starved = true;
    return true;
}

bool CsvReader::AtLineBreak() {
    return m_pos < m_input.size() && (m_input[m_pos] == '\r' || m_input[m_pos] == '\n');
}

void CsvReader::SkipLineBreak() {
    if (m_input[m_pos] == '\r' && !Ended(m_pos + 1) && m_input[m_pos + 1] == '\n') ++m_pos;
    ++m_pos;
    ++m_line;
}

bool CsvReader::OnlyLineBreaksRemain() {
    if (m_pos < m_blankRunEnd) return false;
    size_t end = m_pos;
    size_t lines = 0;
    while (end < m_input.size() && (m_input[end] == '\r' || m_input[end] == '\n')) {
        if (m_input[end] == '\r' && end + 1 < m_input.size() && m_input[end + 1] == '\n') ++end;
        ++end;
        // A run longer than a sheet is tall is no sheet, whether anything follows it or not:
        // an endless stream of empty lines must stop somewhere.
        if (++lines > m_limits.maxRecords) {
            Fail(m_line + m_limits.maxRecords,
                 "more than " + std::to_string(m_limits.maxRecords) + " rows");
            return false;
        }
    }
    if (end == m_input.size()) return true;
    // Remembered so that a long run of blank lines inside the input is scanned once.
    m_blankRunEnd = end;
    return false;
}

bool CsvReader::TooLong(const std::u16string& field, size_t line) {
    if (field.size() <= m_limits.maxFieldLength) return false;
    return !Fail(line,
                 "field longer than " + std::to_string(m_limits.maxFieldLength) + " characters");
}

bool CsvReader::Fail(size_t line, std::string message) {
    // Past the end of a partial input nothing is known yet: the record is read again.
    if (m_starved) return false;
    m_failed = true;
    m_error = CsvError{line, std::move(message)};
    return false;
}

std::optional<char> DetectSeparator(std::string_view input, bool complete) {
    bool quoted = false;
    bool semicolon = false;
    for (size_t i = input.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0; i < input.size();
         ++i) {
        const char c = input[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted) {
            if (c == '\t') return '\t';
            if (c == '\r' || c == '\n') return semicolon ? ';' : ',';
            if (c == ';') semicolon = true;
        }
    }
    if (!complete && input.size() < kDetectionWindow) return std::nullopt;
    return semicolon ? ';' : ',';
}

namespace {

// Whether a character goes into a field as one byte, without quotes.
bool IsPlainByte(char32_t c, char separator) {
    return c < 0x80 && c != char32_t(static_cast<unsigned char>(separator)) && c != U'"' &&
           c != U'\r' && c != U'\n';
}

// A short field of ASCII with nothing to quote, what nearly every value shown is, with the
// separator before it, as one append; false (nothing written) for any other.
bool AppendPlainAscii(std::string& out, char separator, bool first, std::u16string_view text) {
    constexpr size_t kRoom = 64;
    if (text.size() >= kRoom) return false;
    char piece[kRoom];
    size_t n = 0;
    if (!first) piece[n++] = separator;
    for (const char16_t c : text) {
        if (!IsPlainByte(c, separator)) return false;
        piece[n++] = char(c);
    }
    out.append(piece, n);
    return true;
}

}  // namespace

void CsvWriter::Field(std::u16string_view text) {
    if (AppendPlainAscii(m_out, m_separator, m_atRecordStart, text)) {
        m_atRecordStart = m_firstField = false;
        return;
    }
    if (!m_atRecordStart) m_out += m_separator;
    m_atRecordStart = false;
    // A reader takes U+FEFF at the very start of a file for a byte order mark; quotes keep
    // it in the field.
    const bool markFirst = m_firstField && text.starts_with(u'\uFEFF');
    m_firstField = false;
    const char16_t separator = char16_t(m_separator);
    const bool plain = std::none_of(text.begin(), text.end(), [separator](char16_t c) {
        return c == separator || c == u'"' || c == u'\r' || c == u'\n';
    });
    if (!markFirst && plain) {
        AppendUtf8(m_out, text);
        return;
    }
    m_out += '"';
    for (size_t start = 0;;) {
        const size_t quote = text.find(u'"', start);
        AppendUtf8(m_out, text.substr(start, quote == text.npos ? text.npos : quote + 1 - start));
        if (quote == text.npos) break;
        m_out += '"';
        start = quote + 1;
    }
    m_out += '"';
}

void CsvWriter::AsciiField(std::string_view text) {
    const char separator = m_separator;
    if (!std::all_of(text.begin(), text.end(), [separator](char c) {
            return IsPlainByte(static_cast<unsigned char>(c), separator);
        })) {
        Field(std::u16string(text.begin(), text.end()));
        return;
    }
    if (!m_atRecordStart) m_out += m_separator;
    m_out += text;
    m_atRecordStart = m_firstField = false;
}

void CsvWriter::EndRecord() {
    m_out += '\n';
    m_atRecordStart = true;
}

}  // namespace ostrel
