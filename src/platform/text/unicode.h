// SPDX-License-Identifier: Apache-2.0
// Character tests, case mapping and collation for the engine's UTF-16 text, independent of
// the process locale. Collation follows the engine's collation locale: the invariant
// locale compares code units (case-insensitively after lower-case folding); a named locale
// uses ICU collators.
#pragma once

#include <string>
#include <string_view>

namespace ostrel::text {

// Beyond ASCII the character tests and case mappings ask ICU; the scanners call them for
// every character they read, so the ASCII answers are inline.
namespace detail {
bool IsSpaceBeyondAscii(char16_t c);
bool IsAlphaBeyondAscii(char16_t c);
bool IsAlnumBeyondAscii(char16_t c);
char16_t ToUpperBeyondAscii(char16_t c);
char16_t ToLowerBeyondAscii(char16_t c);
}  // namespace detail

inline bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}
inline bool IsSpace(char16_t c) {
    if (c < 0x80) return c == u' ' || (c >= 9 && c <= 13);
    return detail::IsSpaceBeyondAscii(c);
}
inline bool IsAlpha(char16_t c) {
    if (c < 0x80) return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
    return detail::IsAlphaBeyondAscii(c);
}
inline bool IsAlnum(char16_t c) {
    if (c < 0x80) return IsDigit(c) || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
    return detail::IsAlnumBeyondAscii(c);
}
// Simple (one-to-one) case mapping.
inline char16_t ToUpper(char16_t c) {
    if (c < 0x80) return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c;
    return detail::ToUpperBeyondAscii(c);
}
inline char16_t ToLower(char16_t c) {
    if (c < 0x80) return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
    return detail::ToLowerBeyondAscii(c);
}
std::u16string ToUpper(std::u16string_view text);
std::u16string ToLower(std::u16string_view text);

// Selects the locale whose collation Collate uses ("" or "C": the invariant locale; a POSIX
// name such as "de_DE.UTF-8" is accepted; a locale ICU does not know collates like the
// invariant one). Process-wide, like the other international settings.
void SetCollationLocale(const std::string& name);
const std::string& GetCollationLocale();
// Negative, 0 or positive. caseSensitive 0 ignores case (and only case).
int Collate(std::u16string_view a, std::u16string_view b, bool caseSensitive);
// Bytes of the text under the current collation that two texts share exactly when Collate
// finds them equal, for counting equal texts by hashing instead of comparing them.
std::string CollationKey(std::u16string_view text, bool caseSensitive);
// Equal texts when case is ignored (names of sheets and documents).
bool SameIgnoringCase(std::u16string_view a, std::u16string_view b);

}  // namespace ostrel::text
