// SPDX-License-Identifier: Apache-2.0
// Turning an engine locale name into an ICU locale, refusing names whose language ICU has no
// data for: ICU would silently fall back to the process's default locale for those.
#pragma once

#include <optional>
#include <string_view>

#include <unicode/locid.h>

namespace zmk::multilang {

// The canonical ICU locale of an ICU name ("de_DE", "iw_IL" gives "he_IL"); nothing when the
// name has no language or ICU holds no data for its language.
std::optional<icu::Locale> KnownIcuLocale(std::string_view icuName);

}  // namespace zmk::multilang
