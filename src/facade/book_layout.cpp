// SPDX-License-Identifier: Apache-2.0
#include "facade/book_layout.h"

#include <array>
#include <limits>

#include "facade/host_workbook.h"
#include "formats/text_helpers.h"
#include "ostrel/platform/utf.h"

namespace ostrel::host {

namespace {

// Eight tables, so that the checksum takes eight bytes a step (the file is read whole
// before anything else, and one byte a step made it a tenth of a load).
using CrcTables = std::array<std::array<uint32_t, 256>, 8>;
constexpr CrcTables MakeCrcTables() {
    CrcTables tables{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        tables[0][n] = c;
    }
    for (size_t t = 1; t < 8; ++t)
        for (uint32_t n = 0; n < 256; ++n)
            tables[t][n] = (tables[t - 1][n] >> 8) ^ tables[0][tables[t - 1][n] & 0xFF];
    return tables;
}
constexpr CrcTables kCrc = MakeCrcTables();

// Reads the parts in order; each read first checks that the bytes are there.
class PartReader {
public:
    explicit PartReader(std::string_view bytes) : m_bytes(bytes) {}
    size_t Left() const { return m_bytes.size() - m_at; }
    size_t Position() const { return m_at; }
    bool Take(size_t count, std::string_view& out) {
        if (count > Left()) return false;
        out = m_bytes.substr(m_at, count);
        m_at += count;
        return true;
    }
    template <class T>
    bool Number(T& value) {
        std::string_view raw;
        if (!Take(sizeof(T), raw)) return false;
        value = 0;
        for (size_t i = 0; i < sizeof(T); ++i)
            value = T(value | T(uint8_t(raw[i])) << (8 * i));
        return true;
    }

private:
    std::string_view m_bytes;
    size_t m_at = 0;
};

template <class T>
void Put(std::string& bytes, T value) {
    for (size_t i = 0; i < sizeof(T); ++i)
        bytes.push_back(char(uint8_t(value >> (8 * i))));
}

std::string Quoted(std::u16string_view name) {
    return "'" + ToUtf8(name) + "'";
}

// UTF-16 units of a length read before them.
std::u16string Units(std::string_view raw) {
    std::u16string text;
    for (size_t at = 0; at + 1 < raw.size(); at += 2)
        text.push_back(char16_t(uint8_t(raw[at]) | uint8_t(raw[at + 1]) << 8));
    return text;
}

void PutUnits(std::string& bytes, std::u16string_view text) {
    for (char16_t unit : text)
        Put(bytes, uint16_t(unit));
}

// Format 2's properties: a u16 count, then for each a u16 key length and the key, a u32
// value length and the value, in UTF-16 units.
bool ParseProperties(PartReader& reader, BookLayout& layout, std::string& error) {
    uint16_t count = 0;
    if (!reader.Number(count)) {
        error = "the file ends early: it is cut short or damaged";
        return false;
    }
    for (uint16_t i = 0; i < count; ++i) {
        uint16_t keyLength = 0;
        uint32_t valueLength = 0;
        std::string_view key, value;
        if (!reader.Number(keyLength) || !reader.Take(size_t(keyLength) * 2, key) ||
            !reader.Number(valueLength) || valueLength > kMaxPropertyValue ||
            !reader.Take(size_t(valueLength) * 2, value)) {
            error = "the file ends early: it is cut short or damaged";
            return false;
        }
        if (count > kMaxProperties || keyLength == 0 || keyLength > kMaxPropertyKey) {
            error = "the file's document properties are damaged";
            return false;
        }
        layout.properties.emplace_back(Units(key), Units(value));
    }
    return true;
}

}  // namespace

uint32_t BookChecksum(std::string_view bytes) {
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
    size_t n = bytes.size();
    uint32_t c = 0xFFFFFFFFu;
    for (; n >= 8; p += 8, n -= 8) {
        const uint32_t lo = c ^ (uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 |
                                 uint32_t(p[3]) << 24);
        c = kCrc[7][lo & 0xFF] ^ kCrc[6][(lo >> 8) & 0xFF] ^ kCrc[5][(lo >> 16) & 0xFF] ^
            kCrc[4][lo >> 24] ^ kCrc[3][p[4]] ^ kCrc[2][p[5]] ^ kCrc[1][p[6]] ^ kCrc[0][p[7]];
    }
    for (; n > 0; ++p, --n)
        c = kCrc[0][(c ^ *p) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

bool HasBookMagic(std::string_view bytes) {
    return bytes.substr(0, kBookMagic.size()) == kBookMagic;
}

bool ParseBookLayout(std::string_view bytes, BookLayout& layout, std::string& error) {
    layout = BookLayout();
    if (!HasBookMagic(bytes)) {
        error = "not a workbook file";
        return false;
    }
    PartReader reader(bytes.substr(kBookMagic.size()));
    const std::string early = "the file ends early: it is cut short or damaged";
    uint16_t version = 0, count = 0;
    if (!reader.Number(version)) {
        error = early;
        return false;
    }
    // The version decides the layout of everything after it.
    if (version == 0 || version > kBookVersion) {
        error = "the file is in workbook format " + std::to_string(version) +
                ", which this version cannot read (it reads format " +
                std::to_string(kBookVersion) + (version == 0 ? ")" : " and older)");
        return false;
    }
    if (!reader.Number(count)) {
        error = early;
        return false;
    }
    if (count > kMaxBookSheets) {
        error = "the file says it holds " + std::to_string(count) +
                " sheets; a workbook holds at most " + std::to_string(kMaxBookSheets);
        return false;
    }
    for (uint16_t i = 0; i < count; ++i) {
        uint16_t nameLength = 0;
        uint32_t managerLength = 0, hostLength = 0;
        std::string_view name, manager, host;
        if (!reader.Number(nameLength) || !reader.Take(size_t(nameLength) * 2, name) ||
            !reader.Number(managerLength) || !reader.Take(managerLength, manager) ||
            !reader.Number(hostLength) || !reader.Take(hostLength, host)) {
            error = early;
            return false;
        }
        BookLayout::Sheet sheet;
        for (size_t at = 0; at < name.size(); at += 2)
            sheet.name.push_back(char16_t(uint8_t(name[at]) | uint8_t(name[at + 1]) << 8));
        if (nameLength > kMaxSheetName || !IsPlainSheetName(sheet.name)) {
            error = "sheet " + std::to_string(i + 1) + " has a name no sheet may have";
            return false;
        }
        if (hostLength > kMaxHostData) {
            error = "sheet " + Quoted(sheet.name) + " carries more program data than a file may";
            return false;
        }
        for (const BookLayout::Sheet& other : layout.sheets) {
            if (StrColl(other.name.c_str(), sheet.name.c_str(), 0) == 0) {
                error = "the file names two sheets " + Quoted(other.name) +
                        (other.name == sheet.name ? "" : " and " + Quoted(sheet.name));
                return false;
            }
        }
        sheet.managerBlock = manager;
        sheet.hostData = host;
        layout.sheets.push_back(std::move(sheet));
    }
    uint32_t cellsLength = 0, checksum = 0;
    if (!reader.Number(cellsLength) || !reader.Take(cellsLength, layout.cells)) {
        error = early;
        return false;
    }
    if (version >= 2 && !ParseProperties(reader, layout, error)) return false;
    if (!reader.Number(checksum)) {
        error = early;
        return false;
    }
    if (reader.Left() != 0) {
        error = "the file goes on past its end";
        return false;
    }
    if (checksum != BookChecksum(bytes.substr(0, bytes.size() - 4))) {
        error = "the file is damaged: its checksum does not match its contents";
        return false;
    }
    return true;
}

bool WriteBookLayout(const BookLayout& layout, std::string& bytes, std::string& error) {
    constexpr size_t kMaxPart = std::numeric_limits<uint32_t>::max();
    if (layout.sheets.size() > kMaxBookSheets) {
        error = "a workbook file holds at most " + std::to_string(kMaxBookSheets) + " sheets";
        return false;
    }
    bytes.assign(kBookMagic);
    Put(bytes, kBookVersion);
    Put(bytes, uint16_t(layout.sheets.size()));
    for (const BookLayout::Sheet& sheet : layout.sheets) {
        if (sheet.name.empty() || sheet.name.size() > kMaxSheetName) {
            error = "the sheet " + Quoted(sheet.name) + " has a name no file can hold";
            return false;
        }
        if (sheet.hostData.size() > kMaxHostData || sheet.managerBlock.size() > kMaxPart) {
            error = "the sheet " + Quoted(sheet.name) + " carries more than a file can hold";
            return false;
        }
        Put(bytes, uint16_t(sheet.name.size()));
        for (char16_t unit : sheet.name)
            Put(bytes, uint16_t(unit));
        Put(bytes, uint32_t(sheet.managerBlock.size()));
        bytes.append(sheet.managerBlock);
        Put(bytes, uint32_t(sheet.hostData.size()));
        bytes.append(sheet.hostData);
    }
    if (layout.cells.size() > kMaxPart) {
        error = "the workbook's cells take more than a file can hold";
        return false;
    }
    Put(bytes, uint32_t(layout.cells.size()));
    bytes.append(layout.cells);
    if (layout.properties.size() > kMaxProperties) {
        error = "a workbook file holds at most " + std::to_string(kMaxProperties) + " properties";
        return false;
    }
    Put(bytes, uint16_t(layout.properties.size()));
    for (const auto& [key, value] : layout.properties) {
        if (key.empty() || key.size() > kMaxPropertyKey || value.size() > kMaxPropertyValue) {
            error = "the document property " + Quoted(key) + " is longer than a file holds";
            return false;
        }
        Put(bytes, uint16_t(key.size()));
        PutUnits(bytes, key);
        Put(bytes, uint32_t(value.size()));
        PutUnits(bytes, value);
    }
    Put(bytes, BookChecksum(bytes));
    return true;
}

}  // namespace ostrel::host
