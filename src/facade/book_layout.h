// SPDX-License-Identifier: Apache-2.0
// The container of a workbook file (docs/workbook-file.md): a header with the magic and the
// format version, one record per sheet (name, the manager's block, the host's bytes), the
// cell stream, the document properties (from format 2 on) and a checksum. Parsing checks every
// length against what is left and the checksum before anything is built from the parts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ostrel::host {

inline constexpr std::string_view kBookMagic{"\x89OCB\r\n\x1A\n", 8};
inline constexpr uint16_t kBookVersion = 2;
inline constexpr size_t kMaxBookSheets = 255;
inline constexpr size_t kMaxSheetName = 255;
inline constexpr size_t kMaxHostData = size_t(1) << 20;
inline constexpr size_t kMaxProperties = 64;
inline constexpr size_t kMaxPropertyKey = 64;
inline constexpr size_t kMaxPropertyValue = 32767;

struct BookLayout {
    struct Sheet {
        std::u16string name;
        std::string_view managerBlock;
        std::string_view hostData;
    };
    std::vector<Sheet> sheets;
    std::string_view cells;  // the exchange stream
    // The document properties as (key, value), from format 2 on.
    std::vector<std::pair<std::u16string, std::u16string>> properties;
};

// Whether bytes begin with the magic of a workbook file.
bool HasBookMagic(std::string_view bytes);

// Reads the parts of bytes (which must outlive the layout's views); false with error set
// when the file is not a workbook file, is of a newer format, ends early, holds more than
// it says, fails its checksum, or names two sheets alike.
bool ParseBookLayout(std::string_view bytes, BookLayout& layout, std::string& error);

// The file's bytes for the parts; false with error set when a part is too large.
bool WriteBookLayout(const BookLayout& layout, std::string& bytes, std::string& error);

// CRC-32 as zlib computes it (polynomial 0xEDB88320, reflected, inverted).
uint32_t BookChecksum(std::string_view bytes);

}  // namespace ostrel::host
