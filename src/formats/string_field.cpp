// SPDX-License-Identifier: Apache-2.0
#include "formats/string_field.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ostrel/platform/archive.h"
#include "platform/names.h"

namespace {

constexpr size_t kMaxLength = kMaxStringFieldLength;

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace

size_t StringFieldLength(const char16_t* text) {
    if (!text) return 0;
    size_t length = std::char_traits<char16_t>::length(text);
    if (length > kMaxLength) {
        length = kMaxLength;
        // Half a character would not read back as text.
        if (IsHighSurrogate(text[length - 1]) && IsLowSurrogate(text[length])) --length;
    }
    return length;
}

void WriteString(cells::CTX*, CArchive& ar, const char16_t* text) {
    if (!text) {
        ar << uint32_t(0);
        return;
    }
    const size_t length = StringFieldLength(text);
    ar << static_cast<uint32_t>(length + 1);
    std::vector<uint8_t> bytes(length * 2);
    for (size_t i = 0; i < length; ++i) {
        bytes[2 * i] = static_cast<uint8_t>(text[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<uint8_t>(text[i] >> 8);
    }
    ar.Write(bytes.data(), bytes.size());
}

char16_t* ReadString(cells::CTX*, CArchive& ar) {
    uint32_t count = 0;
    ar >> count;
    if (count == 0) return nullptr;
    // No writer produces more than 4096 units; a larger count, or one the stream cannot
    // hold, comes from a damaged or crafted file.
    if (count > kMaxLength + 1) throw CArchiveException(CArchiveException::badFormat);
    size_t length = count - 1;
    ar.RequireBytes(uint64_t(length) * 2);
    std::vector<uint8_t> bytes(length * 2);
    ar.ReadExact(bytes.data(), bytes.size());
    auto text = std::make_unique<char16_t[]>(count);
    for (size_t i = 0; i < length; ++i)
        text[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    text[length] = 0;
    return text.release();
}
