// SPDX-License-Identifier: Apache-2.0
#include "io/text_payload.h"

#include "ostrel/platform/exceptions.h"
#include "ostrel/platform/utf.h"

namespace ostrel::io {

void AppendTerminatedText(std::vector<uint8_t>& out, std::u16string_view text, bool wide) {
    // Grown once and written in place: the payload of a long text is built in one go.
    size_t at = out.size();
    out.resize(at + (text.size() + 1) * (wide ? 2 : 1));
    uint8_t* bytes = out.data();
    for (char16_t unit : text) {
        if (wide) {
            bytes[at++] = static_cast<uint8_t>(unit);
            bytes[at++] = static_cast<uint8_t>(unit >> 8);
        } else {
            unsigned char byte = '?';
            WideToCodePage(unit, byte);
            bytes[at++] = byte;
        }
    }
    bytes[at++] = 0;
    if (wide) bytes[at] = 0;
}

size_t CutBetweenCharacters(std::u16string_view text, size_t room) {
    if (text.size() <= room) return text.size();
    size_t kept = room;
    // A high surrogate whose partner would be cut off goes with it.
    if (kept > 0 && text[kept - 1] >= 0xD800 && text[kept - 1] <= 0xDBFF) --kept;
    return kept;
}

std::u16string ReadTerminatedText(const uint8_t* data, size_t length, bool wide) {
    std::u16string text;
    if (wide) {
        for (size_t at = 0; at + 1 < length; at += 2) {
            const char16_t unit = char16_t(data[at] | (data[at + 1] << 8));
            if (unit == 0) return text;
            text.push_back(unit);
        }
    } else {
        for (size_t at = 0; at < length; ++at) {
            if (data[at] == 0) return text;
            text.push_back(CodePageToWide(data[at]));
        }
    }
    throw CArchiveException(CArchiveException::badFormat);
}

}  // namespace ostrel::io
