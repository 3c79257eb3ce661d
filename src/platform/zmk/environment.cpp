#include "platform/zmk/environment.h"

#include <cstdlib>

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

const multilang::CLocaleInfo* CLocalesCache::get(std::string_view posixName) {
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
