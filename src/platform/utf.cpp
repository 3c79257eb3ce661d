// SPDX-License-Identifier: Apache-2.0
#include "ostrel/platform/utf.h"

#include <cstdint>

namespace ostrel {

std::string ToUtf8(std::u16string_view text) {
    std::string out;
    AppendUtf8(out, text);
    return out;
}

void AppendUtf8(std::string& out, std::u16string_view text) {
    // Encoded into a small piece appended whole: appending byte by byte would pay the
    // string's capacity check and terminator for every byte of every value written.
    char piece[256];
    size_t n = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (n + 4 > sizeof piece) {
            out.append(piece, n);
            n = 0;
        }
        uint32_t c = text[i];
        if (c < 0x80) {
            piece[n++] = char(c);
            continue;
        }
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x800) {
            piece[n++] = char(0xC0 | (c >> 6));
            piece[n++] = char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            piece[n++] = char(0xE0 | (c >> 12));
            piece[n++] = char(0x80 | ((c >> 6) & 0x3F));
            piece[n++] = char(0x80 | (c & 0x3F));
        } else {
            piece[n++] = char(0xF0 | (c >> 18));
            piece[n++] = char(0x80 | ((c >> 12) & 0x3F));
            piece[n++] = char(0x80 | ((c >> 6) & 0x3F));
            piece[n++] = char(0x80 | (c & 0x3F));
        }
    }
    out.append(piece, n);
}

std::u16string FromUtf8(std::string_view text, bool* valid) {
    std::u16string out;
    out.reserve(text.size());
    bool ok = true;
    size_t i = 0;
    while (i < text.size()) {
        unsigned char b = static_cast<unsigned char>(text[i]);
        uint32_t c;
        size_t len;
        uint32_t min;
        if (b < 0x80) {
            out += char16_t(b);
            ++i;
            continue;
        } else if ((b & 0xE0) == 0xC0) {
            c = b & 0x1F, len = 2, min = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            c = b & 0x0F, len = 3, min = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            c = b & 0x07, len = 4, min = 0x10000;
        } else {
            ok = false;
            out += u'\uFFFD';
            ++i;
            continue;
        }
        bool good = i + len <= text.size();
        for (size_t k = 1; good && k < len; ++k) {
            unsigned char cb = static_cast<unsigned char>(text[i + k]);
            if ((cb & 0xC0) != 0x80)
                good = false;
            else
                c = (c << 6) | (cb & 0x3F);
        }
        if (!good || c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            ok = false;
            out += u'\uFFFD';
            ++i;
            continue;
        }
        if (c >= 0x10000) {
            c -= 0x10000;
            out += char16_t(0xD800 + (c >> 10));
            out += char16_t(0xDC00 + (c & 0x3FF));
        } else {
            out += char16_t(c);
        }
        i += len;
    }
    if (valid) *valid = ok;
    return out;
}

namespace {
// Windows-1252 bytes 0x80-0x9F; the rest of the page is Latin-1.
constexpr char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
}  // namespace

char16_t CodePageToWide(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : char16_t(byte);
}

std::u16string CodePageToWide(std::string_view bytes) {
    std::u16string out(bytes.size(), u'\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        out[i] = CodePageToWide(static_cast<unsigned char>(bytes[i]));
    return out;
}

bool WideToCodePage(char16_t unit, unsigned char& byte) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
        byte = static_cast<unsigned char>(unit);
        return true;
    }
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] == unit) {
            byte = static_cast<unsigned char>(0x80 + i);
            return true;
        }
    }
    return false;
}

std::string WideToCodePage(std::u16string_view text) {
    std::string out(text.size(), '?');
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char b;
        if (WideToCodePage(text[i], b)) out[i] = char(b);
    }
    return out;
}

}  // namespace ostrel
