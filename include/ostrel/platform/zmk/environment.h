// SPDX-License-Identifier: Apache-2.0
/// \file
/// The locale library's process-wide environment and its cache of locale descriptions.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "ostrel/export.h"
#include "ostrel/platform/zmk/legacy_locale_context.h"

namespace zmk::globals {

class OSTREL_API CLocalesCache {
public:
    CLocalesCache();
    ~CLocalesCache();

    /// The invariant locale: the engine's defaults, independent of ICU and environment.
    const multilang::CLocaleInfo* invariant() const { return m_invariant.get(); }
    /// The user locale, from LC_ALL, LC_NUMERIC or LANG (the first that is set and not
    /// empty); "C", "POSIX" or nothing mean the invariant locale.
    const multilang::CLocaleInfo* user();
    /// A locale by POSIX or ICU name ("de_DE.UTF-8", "de-DE", "C"); null when the name is
    /// no locale name (IsLocaleName) or ICU does not know it. "" is the invariant locale.
    /// Descriptions live as long as the cache.
    const multilang::CLocaleInfo* get(std::string_view name);

    /// Whether name has the form of a locale name: "C" or "POSIX", or a language of two or
    /// three letters with optional script, territory and variant parts joined by "_" or
    /// "-"; then optionally "." and a code set ICU knows, and "@" and a modifier word.
    static bool IsLocaleName(std::string_view name);

    /// The ICU name of a POSIX locale name: "de_DE.UTF-8@euro" gives "de_DE"; "C" and
    /// "POSIX" give "".
    static std::string NormalizeName(std::string_view posixName);
    /// The user locale's name from the environment, normalised.
    static std::string UserLocaleName();

private:
    std::unique_ptr<multilang::CLocaleInfo> m_invariant;
    std::map<std::string, std::unique_ptr<multilang::CLocaleInfo>, std::less<>> m_locales;
};

class OSTREL_API CEnvironment {
public:
    CLocalesCache& locales_cache() { return m_cache; }

private:
    CLocalesCache m_cache;
};

OSTREL_API CEnvironment& global_environment();

}  // namespace zmk::globals
