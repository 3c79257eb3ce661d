// SPDX-License-Identifier: Apache-2.0
// The plain records of the legacy exchange: String16, cell values, coordinates, file
// references and query parts. Every count is checked against the bytes left before it is
// used, and nested records count against one depth limit (io/qxw15_depth.h).
#include <memory>
#include <utility>

#include "io/qxw15_depth.h"
#include "ostrel/io/qxw15_exchange.h"
#include "ostrel/platform/archive.h"
#include "ostrel/platform/exceptions.h"

using ostrel::platform::CArchive;
using X = CCQXW15Exchange;

namespace ostrel::io {

thread_local int QXW15DepthGuard::s_depth = 0;

QXW15DepthGuard::QXW15DepthGuard() {
    if (s_depth >= CCQXW15Exchange::kMaxDepth)
        throw CArchiveException(CArchiveException::badFormat);
    ++s_depth;
}

uint32_t ReadQXW15Count(CArchive& ar, uint64_t leastBytesEach) {
    uint32_t count = 0;
    ar >> count;
    ar.RequireBytes(uint64_t(count) * leastBytesEach);
    return count;
}

}  // namespace ostrel::io

namespace {

constexpr uint8_t kNullString = 0xFF;
// The fewest bytes a query condition takes: an empty text, the operator, a null formula,
// the word and a one-byte error value with its decimals.
constexpr uint64_t kLeastCondition = 1 + 1 + 1 + 4 + (1 + 1 + 4);

}  // namespace

void X::WriteString16(CArchive& ar, const String16& text) {
    if (!text) {
        ar << kNullString;
        return;
    }
    if (text->size() > kMaxString16) throw CArchiveException(CArchiveException::generic);
    ar << static_cast<uint8_t>(text->size());
    ar.Write(text->data(), text->size());
}

X::String16 X::ReadString16(CArchive& ar) {
    uint8_t length = 0;
    ar >> length;
    if (length == kNullString) return std::nullopt;
    std::string text(length, '\0');
    ar.ReadExact(text.data(), length);
    return text;
}

// ---- CCQXW15_CellValue ----

void X::CCQXW15_CellValue::Read(CArchive& ar) {
    *this = CCQXW15_CellValue();
    uint8_t type = 0;
    ar >> type;
    if (type == kValueError) {
        ar >> m_code;
    } else if (type == kValueText) {
        m_text = ReadString16(ar);
    } else {
        ar >> m_number;
    }
    uint32_t decimals = 0;
    ar >> decimals;
    m_type = type;
    m_decimals = static_cast<uint16_t>(decimals);
}

void X::CCQXW15_CellValue::Write(CArchive& ar) const {
    // The text goes first through the length check, so that a refused one writes nothing.
    if (m_type == kValueText && m_text && m_text->size() > kMaxString16)
        throw CArchiveException(CArchiveException::generic);
    ar << m_type;
    if (m_type == kValueError) {
        ar << m_code;
    } else if (m_type == kValueText) {
        WriteString16(ar, m_text);
    } else {
        ar << m_number;
    }
    const bool counted = m_type != kValueError && m_type != kValueText;
    ar << static_cast<uint32_t>(counted ? m_decimals : 0);
}

// ---- coordinates ----

void X::CCQXW15_CoordsRC::Read(CArchive& ar) {
    Release();
    int32_t row = 0, column = 0;
    uint32_t absRow = 0, absColumn = 0;
    ar >> row >> column >> absRow >> absColumn;
    // The old program kept 16-bit fields; the stream widened them.
    m_row = static_cast<int16_t>(row);
    m_column = static_cast<int16_t>(column);
    m_absRow = static_cast<uint16_t>(absRow);
    m_absColumn = static_cast<uint16_t>(absColumn);
}

void X::CCQXW15_CoordsRC::Write(CArchive& ar) const {
    ar << int32_t(m_row) << int32_t(m_column) << uint32_t(m_absRow) << uint32_t(m_absColumn);
}

void X::CCQXW15_CoordsRegion::Read(CArchive& ar) {
    Release();
    m_first.Read(ar);
    m_second.Read(ar);
}

void X::CCQXW15_CoordsRegion::Write(CArchive& ar) const {
    m_first.Write(ar);
    m_second.Write(ar);
}

void X::CCQXW15_CoordsName::Read(CArchive& ar) {
    Release();
    m_name = ReadString16(ar);
}

void X::CCQXW15_CoordsName::Write(CArchive& ar) const {
    WriteString16(ar, m_name);
}

void X::CCQXW15_FileRef::Read(CArchive& ar) {
    ar >> m_kind;
    m_first = ReadString16(ar);
    m_second = ReadString16(ar);
}

void X::CCQXW15_FileRef::Write(CArchive& ar) const {
    ar << m_kind;
    WriteString16(ar, m_first);
    WriteString16(ar, m_second);
}

X::CCQXW15_QueryCondition::CCQXW15_QueryCondition(CCQXW15_QueryCondition&& other) noexcept
    : m_field(std::move(other.m_field)),
      m_operator(other.m_operator),
      m_formula(std::exchange(other.m_formula, nullptr)),
      m_word(other.m_word),
      m_value(std::move(other.m_value)) {}

X::CCQXW15_QueryCondition& X::CCQXW15_QueryCondition::operator=(
    CCQXW15_QueryCondition&& other) noexcept {
    if (this != &other) {
        delete m_formula;
        m_field = std::move(other.m_field);
        m_operator = other.m_operator;
        m_formula = std::exchange(other.m_formula, nullptr);
        m_word = other.m_word;
        m_value = std::move(other.m_value);
    }
    return *this;
}

X::CCQXW15_QueryCondition::~CCQXW15_QueryCondition() {
    delete m_formula;
}

void X::CCQXW15_QueryCondition::Read(CArchive& ar) {
    delete std::exchange(m_formula, nullptr);
    m_field = ReadString16(ar);
    ar >> m_operator;
    m_formula = ReadFormula(ar);
    uint32_t word = 0;
    ar >> word;
    m_word = static_cast<uint16_t>(word);
    m_value.Read(ar);
}

void X::CCQXW15_QueryCondition::Write(CArchive& ar) const {
    WriteString16(ar, m_field);
    ar << m_operator;
    WriteFormula(ar, m_formula);
    ar << uint32_t(m_word);
    m_value.Write(ar);
}

void X::CCQXW15_QuerySortKey::Read(CArchive& ar) {
    ar >> m_order;
    m_field = ReadString16(ar);
}

void X::CCQXW15_QuerySortKey::Write(CArchive& ar) const {
    ar << m_order;
    WriteString16(ar, m_field);
}

void X::CCQXW15_CoordsQuery::Release() {
    m_file = CCQXW15_FileRef();
    m_fields.clear();
    m_conditions.clear();
    m_sortKeys.clear();
}

void X::CCQXW15_CoordsQuery::Read(CArchive& ar) {
    Release();
    m_file.Read(ar);
    // Entries are appended as they are read, never allocated ahead from a count.
    for (uint32_t n = ostrel::io::ReadQXW15Count(ar, 1); n > 0; --n)
        m_fields.push_back(ReadString16(ar));
    for (uint32_t n = ostrel::io::ReadQXW15Count(ar, kLeastCondition); n > 0; --n) {
        m_conditions.emplace_back();
        m_conditions.back().Read(ar);
    }
    for (uint32_t n = ostrel::io::ReadQXW15Count(ar, 2); n > 0; --n) {
        m_sortKeys.emplace_back();
        m_sortKeys.back().Read(ar);
    }
}

void X::CCQXW15_CoordsQuery::Write(CArchive& ar) const {
    m_file.Write(ar);
    ar << static_cast<uint32_t>(m_fields.size());
    for (const String16& field : m_fields)
        WriteString16(ar, field);
    ar << static_cast<uint32_t>(m_conditions.size());
    for (const CCQXW15_QueryCondition& condition : m_conditions)
        condition.Write(ar);
    ar << static_cast<uint32_t>(m_sortKeys.size());
    for (const CCQXW15_QuerySortKey& key : m_sortKeys)
        key.Write(ar);
}

void X::WriteCoords(CArchive& ar, const CCQXW15_Coords* coords) {
    ar << static_cast<uint8_t>(coords ? coords->GetType() : 0);
    if (coords) coords->Write(ar);
}

X::CCQXW15_Coords* X::ReadCoords(CArchive& ar) {
    ostrel::io::QXW15DepthGuard depth;
    uint8_t tag = 0;
    ar >> tag;
    std::unique_ptr<CCQXW15_Coords> coords;
    switch (tag) {
        case 1:
            coords = std::make_unique<CCQXW15_CoordsRC>();
            break;
        case 2:
            coords = std::make_unique<CCQXW15_CoordsRegion>();
            break;
        case 3:
            coords = std::make_unique<CCQXW15_CoordsName>();
            break;
        case 4:
            coords = std::make_unique<CCQXW15_CoordsQuery>();
            break;
        default:
            return nullptr;
    }
    coords->Read(ar);
    return coords.release();
}

// ---- CCQXW15_NumberFormat ----

void X::CCQXW15_NumberFormat::Read(CArchive& ar) {
    uint8_t bytes[kSize];
    ar.ReadExact(bytes, kSize);
    std::copy(bytes, bytes + kSize, m_bytes);
}

void X::CCQXW15_NumberFormat::Write(CArchive& ar) const {
    ar.Write(m_bytes, kSize);
}

uint16_t X::CCQXW15_NumberFormat::GetWord(int index) const {
    if (index < 0 || index > 7) return 0;
    const size_t at = size_t(index) * 2;
    return static_cast<uint16_t>(m_bytes[at] | (m_bytes[at + 1] << 8));
}

void X::CCQXW15_NumberFormat::SetWord(int index, uint16_t value) {
    if (index < 0 || index > 7) return;
    const size_t at = size_t(index) * 2;
    m_bytes[at] = static_cast<uint8_t>(value);
    m_bytes[at + 1] = static_cast<uint8_t>(value >> 8);
}

std::string X::CCQXW15_NumberFormat::GetUnitText() const {
    // The field may arrive without a terminator: it ends with its eighth byte then.
    const char* text = reinterpret_cast<const char*>(m_bytes + 12);
    size_t length = 0;
    while (length < kTextSize && text[length] != '\0')
        ++length;
    return std::string(text, length);
}

void X::CCQXW15_NumberFormat::SetUnitText(std::string_view text) {
    uint8_t* field = m_bytes + 12;
    std::fill(field, field + kTextSize, uint8_t(0));
    const size_t kept = std::min(text.size(), kTextSize - 1);
    for (size_t i = 0; i < kept; ++i)
        field[i] = static_cast<uint8_t>(text[i]);
}
