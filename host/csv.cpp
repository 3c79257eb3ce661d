#include "csv.h"

#include <cstdint>

#include "platform/utf.h"

namespace ostrel {

namespace {
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
}  // namespace

CsvReader::CsvReader(std::string_view input, CsvLimits limits) : m_input(input), m_limits(limits) {
    if (m_input.starts_with(kByteOrderMark)) m_pos = kByteOrderMark.size();
}

bool CsvReader::Next(std::vector<std::u16string>& fields) {
    if (m_failed || m_pos >= m_input.size()) return false;
    if (AtLineBreak() && OnlyLineBreaksRemain()) {
        m_pos = m_input.size();
        return false;
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
    if (m_pos < m_input.size() && m_input[m_pos] == '"') {
        ++m_pos;
        if (!ReadQuoted(field)) return false;
        // Anything but a separator after the closing quote leaves it unclear where the
        // field was meant to end, so it is refused rather than guessed.
        if (m_pos < m_input.size() && m_input[m_pos] != ',' && !AtLineBreak())
            return Fail(m_line, "unexpected text after a closing quote");
    } else if (!ReadUnquoted(field)) {
        return false;
    }
    if (m_pos >= m_input.size()) {
        endOfRecord = true;
    } else if (m_input[m_pos] == ',') {
        ++m_pos;
        endOfRecord = false;
    } else {
        SkipLineBreak();
        endOfRecord = true;
    }
    return true;
}

bool CsvReader::ReadQuoted(std::u16string& field) {
    const size_t openingLine = m_line;
    while (m_pos < m_input.size()) {
        const unsigned char c = static_cast<unsigned char>(m_input[m_pos]);
        if (c == '"') {
            if (m_pos + 1 < m_input.size() && m_input[m_pos + 1] == '"') {
                field += u'"';
                m_pos += 2;
                continue;
            }
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
            field += char16_t(c);
            ++m_pos;
        }
    }
    return Fail(openingLine, "quoted field not closed");
}

bool CsvReader::ReadUnquoted(std::u16string& field) {
    while (m_pos < m_input.size()) {
        const unsigned char c = static_cast<unsigned char>(m_input[m_pos]);
        if (c == ',' || c == '\r' || c == '\n') return true;
        if (c >= 0x80) {
            if (!AppendMultiByte(field)) return false;
        } else if (c == 0) {
            return Fail(m_line, "NUL character");
        } else {
            field += char16_t(c);
            ++m_pos;
        }
    }
    return true;
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
    if (m_input.size() - m_pos < length) return Fail(m_line, "invalid UTF-8");
    for (size_t k = 1; k < length; ++k) {
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

bool CsvReader::AtLineBreak() const {
    return m_pos < m_input.size() && (m_input[m_pos] == '\r' || m_input[m_pos] == '\n');
}

void CsvReader::SkipLineBreak() {
    if (m_input[m_pos] == '\r' && m_pos + 1 < m_input.size() && m_input[m_pos + 1] == '\n') ++m_pos;
    ++m_pos;
    ++m_line;
}

bool CsvReader::OnlyLineBreaksRemain() {
    if (m_pos < m_blankRunEnd) return false;
    size_t end = m_pos;
    while (end < m_input.size() && (m_input[end] == '\r' || m_input[end] == '\n'))
        ++end;
    if (end == m_input.size()) return true;
    // Remembered so that a long run of blank lines inside the input is scanned once.
    m_blankRunEnd = end;
    return false;
}

bool CsvReader::Fail(size_t line, std::string message) {
    m_failed = true;
    m_error = CsvError{line, std::move(message)};
    return false;
}

void CsvWriter::Field(std::u16string_view text) {
    if (!m_atRecordStart) m_out += ',';
    m_atRecordStart = false;
    // A reader takes U+FEFF at the very start of a file for a byte order mark; quotes keep
    // it in the field.
    const bool markFirst = m_firstField && text.starts_with(u'\uFEFF');
    m_firstField = false;
    if (!markFirst && text.find_first_of(u",\"\r\n") == std::u16string_view::npos) {
        m_out += ToUtf8(text);
        return;
    }
    m_out += '"';
    for (size_t start = 0;;) {
        const size_t quote = text.find(u'"', start);
        m_out += ToUtf8(text.substr(start, quote == text.npos ? text.npos : quote + 1 - start));
        if (quote == text.npos) break;
        m_out += '"';
        start = quote + 1;
    }
    m_out += '"';
}

void CsvWriter::EndRecord() {
    m_out += '\n';
    m_atRecordStart = true;
}

}  // namespace ostrel
