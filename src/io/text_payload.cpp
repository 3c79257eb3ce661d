// SPDX-License-Identifier: Apache-2.0
#include "io/text_payload.h"

#include "ostrel/platform/exceptions.h"
#include "ostrel/platform/utf.h"

namespace ostrel::io {

void AppendTerminatedText(std::vector<uint8_t>& out, std::u16string_view text, bool wide) {
    if (wide) {
        out.reserve(out.size() + 2 * text.size() + 2);
        for (char16_t unit : text) {
            out.push_back(static_cast<uint8_t>(unit));
            out.push_back(static_cast<uint8_t>(unit >> 8));
        }
        out.push_back(0);
        out.push_back(0);
        return;
    }
    const std::string bytes = WideToCodePage(text);
    out.insert(out.end(), bytes.begin(), bytes.end());
    out.push_back(0);
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
