#include "platform/text/unicode.h"

namespace ostrel::text {

namespace {
std::string g_collationLocale;
}

bool IsSpace(char16_t c) { return c == u' ' || (c >= 9 && c <= 13); }
bool IsAlpha(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool IsAlnum(char16_t c) { return IsAlpha(c) || IsDigit(c); }
char16_t ToUpper(char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c; }
char16_t ToLower(char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; }

std::u16string ToUpper(std::u16string_view text) {
    std::u16string out(text);
    for (char16_t& c : out) c = ToUpper(c);
    return out;
}

std::u16string ToLower(std::u16string_view text) {
    std::u16string out(text);
    for (char16_t& c : out) c = ToLower(c);
    return out;
}

void SetCollationLocale(const std::string& name) { g_collationLocale = name; }
const std::string& GetCollationLocale() { return g_collationLocale; }

int Collate(std::u16string_view a, std::u16string_view b, bool caseSensitive) {
    size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        char16_t x = caseSensitive ? a[i] : ToLower(a[i]);
        char16_t y = caseSensitive ? b[i] : ToLower(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace ostrel::text
