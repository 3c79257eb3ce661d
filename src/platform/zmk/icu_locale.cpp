// SPDX-License-Identifier: Apache-2.0
#include "platform/zmk/icu_locale.h"

#include <set>
#include <string>

namespace zmk::multilang {

namespace {

// Built once: the languages of every locale ICU was built with.
const std::set<std::string, std::less<>>& AvailableLanguages() {
    static const std::set<std::string, std::less<>> languages = [] {
        std::set<std::string, std::less<>> out;
        int32_t count = 0;
        const icu::Locale* locales = icu::Locale::getAvailableLocales(count);
        for (int32_t i = 0; i < count; ++i)
            out.emplace(locales[i].getLanguage());
        return out;
    }();
    return languages;
}

}  // namespace

std::optional<icu::Locale> KnownIcuLocale(std::string_view icuName) {
    // ICU parses names as C strings: an embedded terminator would silently shorten the name.
    if (icuName.empty() || icuName.find('\0') != std::string_view::npos) return std::nullopt;
    icu::Locale locale = icu::Locale::createCanonical(std::string(icuName).c_str());
    if (locale.isBogus()) return std::nullopt;
    std::string_view language = locale.getLanguage();
    if (language.empty() || !AvailableLanguages().contains(language)) return std::nullopt;
    return locale;
}

}  // namespace zmk::multilang
