// SPDX-License-Identifier: Apache-2.0
#include "ostrel/platform/zmk/environment.h"

#include <cctype>
#include <cstdlib>

#include <unicode/ucnv.h>

namespace zmk::globals {

CLocalesCache::CLocalesCache()
    : m_invariant(std::make_unique<multilang::CLocaleInfo>(multilang::LocaleData{})) {}

CLocalesCache::~CLocalesCache() = default;

std::string CLocalesCache::NormalizeName(std::string_view posixName) {
    std::string_view name = posixName;
    // Drop the code set and the modifier: "de_DE.UTF-8@euro" is "de_DE".
    if (size_t cut = name.find_first_of(".@"); cut != std::string_view::npos)
        name = name.substr(0, cut);
    if (name.empty() || name == "C" || name == "POSIX") return {};
    std::string out(name);
    for (char& c : out)
        if (c == '-') c = '_';
    return out;
}

std::string CLocalesCache::UserLocaleName() {
    for (const char* var : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        const char* value = std::getenv(var);
        if (value && *value) return NormalizeName(value);
    }
    return {};
}

const multilang::CLocaleInfo* CLocalesCache::user() {
    const multilang::CLocaleInfo* info = get(UserLocaleName());
    // A user locale ICU does not know falls back to the invariant one, as "C" does.
    return info ? info : invariant();
}

namespace {

bool AllOf(std::string_view text, int (*test)(int)) {
    for (char c : text)
        if (!test(static_cast<unsigned char>(c))) return false;
    return true;
}

int IsCodeSetCharacter(int c) {
    return std::isalnum(c) || c == '-' || c == '_';
}

bool IsKnownCodeSet(const std::string& name) {
    if (name.empty() || !AllOf(name, IsCodeSetCharacter)) return false;
    UErrorCode status = U_ZERO_ERROR;
    UConverter* converter = ucnv_open(name.c_str(), &status);
    if (converter) ucnv_close(converter);
    return U_SUCCESS(status);
}

// language[_-]part... : each part a script (4 letters), territory (2 letters or 3 digits)
// or variant (4 to 8 letters and digits).
bool IsLanguageTag(std::string_view tag) {
    size_t start = 0;
    for (size_t part = 0;; ++part) {
        const size_t end = tag.find_first_of("_-", start);
        const std::string_view piece =
            tag.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        const bool ok = part == 0 ? (piece.size() == 2 || piece.size() == 3) &&
                                        AllOf(piece, [](int c) { return std::isalpha(c); })
                                  : piece.size() >= 2 && piece.size() <= 8 &&
                                        AllOf(piece, [](int c) { return std::isalnum(c); });
        if (!ok) return false;
        if (end == std::string_view::npos) return true;
        start = end + 1;
    }
}

}  // namespace

bool CLocalesCache::IsLocaleName(std::string_view name) {
    std::string_view rest = name;
    std::string_view modifier, codeSet;
    bool hasModifier = false, hasCodeSet = false;
    if (size_t at = rest.find('@'); at != std::string_view::npos) {
        modifier = rest.substr(at + 1);
        rest = rest.substr(0, at);
        hasModifier = true;
    }
    if (size_t dot = rest.find('.'); dot != std::string_view::npos) {
        codeSet = rest.substr(dot + 1);
        rest = rest.substr(0, dot);
        hasCodeSet = true;
    }
    if (hasModifier &&
        (modifier.empty() || !AllOf(modifier, [](int c) { return std::isalpha(c); })))
        return false;
    if (hasCodeSet && !IsKnownCodeSet(std::string(codeSet))) return false;
    if (rest == "C" || rest == "POSIX") return !hasModifier;
    return IsLanguageTag(rest);
}

const multilang::CLocaleInfo* CLocalesCache::get(std::string_view posixName) {
    if (!posixName.empty() && !IsLocaleName(posixName)) return nullptr;
    std::string name = NormalizeName(posixName);
    if (name.empty()) return invariant();
    if (auto it = m_locales.find(name); it != m_locales.end()) return it->second.get();
    std::unique_ptr<multilang::CLocaleInfo> info = multilang::CLocaleInfo::FromICU(name);
    const multilang::CLocaleInfo* result = info.get();
    if (info) m_locales.emplace(name, std::move(info));
    return result;
}

CEnvironment& global_environment() {
    static CEnvironment environment;
    return environment;
}

}  // namespace zmk::globals
