// SPDX-License-Identifier: Apache-2.0
#include "formats/text_helpers.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>
#include <vector>

#include "platform/text/unicode.h"

namespace {

std::u16string_view View(const char16_t* text) {
    return text ? std::u16string_view(text) : std::u16string_view();
}

bool SameChar(char16_t a, char16_t b, bool caseSensitive) {
    return a == b || (!caseSensitive && ostrel::text::ToUpper(a) == ostrel::text::ToUpper(b));
}

bool IsWordAt(std::u16string_view text, size_t at, size_t length) {
    if (at > 0 && ostrel::text::IsAlnum(text[at - 1])) return false;
    return at + length >= text.size() || !ostrel::text::IsAlnum(text[at + length]);
}

// The position of the first (whole-word) occurrence, or npos. Knuth-Morris-Pratt over the
// case-folded comparison keeps a search linear however the pattern repeats itself.
size_t Find(std::u16string_view text, std::u16string_view pattern, bool caseSensitive,
            bool wholeWord) {
    if (pattern.empty()) return 0;
    if (pattern.size() > text.size()) return std::u16string_view::npos;
    std::vector<size_t> border(pattern.size(), 0);
    for (size_t i = 1, k = 0; i < pattern.size(); ++i) {
        while (k > 0 && !SameChar(pattern[i], pattern[k], caseSensitive))
            k = border[k - 1];
        if (SameChar(pattern[i], pattern[k], caseSensitive)) ++k;
        border[i] = k;
    }
    for (size_t i = 0, k = 0; i < text.size(); ++i) {
        while (k > 0 && !SameChar(text[i], pattern[k], caseSensitive))
            k = border[k - 1];
        if (SameChar(text[i], pattern[k], caseSensitive)) ++k;
        if (k == pattern.size()) {
            size_t at = i + 1 - k;
            if (!wholeWord || IsWordAt(text, at, k)) return at;
            k = border[k - 1];
        }
    }
    return std::u16string_view::npos;
}

}  // namespace

int PrintCol(char16_t* buffer, unsigned char column) {
    int n = 0;
    if (column >= 26) buffer[n++] = static_cast<char16_t>(u'A' - 1 + column / 26);
    buffer[n++] = static_cast<char16_t>(u'A' + column % 26);
    buffer[n] = 0;
    return n;
}

std::u16string PrintCol(unsigned char column) {
    char16_t buffer[3];
    int n = PrintCol(buffer, column);
    return std::u16string(buffer, static_cast<size_t>(n));
}

int StrColl(const char16_t* a, const char16_t* b, int caseSensitive) {
    if (!a || !b) return (a ? 1 : 0) - (b ? 1 : 0);
    return ostrel::text::Collate(a, b, caseSensitive != 0);
}

const char16_t* StrStrW(const char16_t* text, const char16_t* pattern, int caseSensitive,
                        int wholeWord) {
    if (!text) return nullptr;
    size_t at = Find(text, View(pattern), caseSensitive != 0, wholeWord != 0);
    return at == std::u16string_view::npos ? nullptr : text + at;
}

char16_t* StrStrW(char16_t* text, const char16_t* pattern, int caseSensitive, int wholeWord) {
    const char16_t* found =
        StrStrW(static_cast<const char16_t*>(text), pattern, caseSensitive, wholeWord);
    return found ? text + (found - text) : nullptr;
}

int StrRep(char16_t*& destination, const char16_t*& source, int& room, const char16_t* pattern,
           const char16_t* replacement, int caseSensitive, int wholeWord) {
    if (!destination) return 0;
    if (room < 0) room = 0;
    auto copy = [&](std::u16string_view piece) {
        size_t n = std::min(piece.size(), static_cast<size_t>(room));
        std::copy_n(piece.data(), n, destination);
        destination += n;
        room -= static_cast<int>(n);
        *destination = 0;
        return n;
    };
    *destination = 0;
    if (!source) return 0;

    std::u16string_view text(source);
    std::u16string_view what = View(pattern);
    size_t at = what.empty() ? std::u16string_view::npos
                             : Find(text, what, caseSensitive != 0, wholeWord != 0);
    if (at == std::u16string_view::npos) {
        source += copy(text);
        return 0;
    }
    size_t copied = copy(text.substr(0, at));
    source += copied;
    if (copied < at) return 0;
    std::u16string_view instead = View(replacement);
    if (copy(instead) < instead.size()) return 0;
    source += what.size();
    return 1;
}

int StrFind(const char16_t* text, const char16_t* set) {
    std::u16string_view t = View(text);
    size_t at = t.find_first_of(View(set));
    return static_cast<int>(at == std::u16string_view::npos ? t.size() : at);
}

int MatchBrackets(const char16_t* text) {
    long round = 0, curly = 0;
    for (char16_t c : View(text)) {
        if (c == u'(') ++round;
        if (c == u')') --round;
        if (c == u'{') ++curly;
        if (c == u'}') --curly;
    }
    return round == 0 && curly == 0 ? 1 : 0;
}

void SortDoubleArray(double* values, int count) {
    if (!values || count < 2) return;
    double* end = values + count;
    // NaNs compare false with everything; sorting them with the rest would break the
    // ordering std::sort relies on, so they are set apart at the end first.
    double* numbers = std::partition(values, end, [](double v) { return !std::isnan(v); });
    std::sort(values, numbers);
}

void GetSimpleNumbers(unsigned char* bits, int byteCount) {
    if (!bits || byteCount <= 0) return;
    std::memset(bits, 0xFF, static_cast<size_t>(byteCount));
    const size_t n = static_cast<size_t>(byteCount) * 8;
    auto isSet = [&](size_t i) { return (bits[i >> 3] >> (i & 7)) & 1; };
    auto clear = [&](size_t i) { bits[i >> 3] &= static_cast<unsigned char>(~(1u << (i & 7))); };
    // Multiples of a composite k were cleared with its prime factors, and those below k * k
    // with a smaller factor, so only primes up to the square root need to be walked.
    for (size_t k = 2; k * k < n; ++k)
        if (isSet(k))
            for (size_t m = k * k; m < n; m += k)
                clear(m);
}
