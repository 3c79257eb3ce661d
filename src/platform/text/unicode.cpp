// SPDX-License-Identifier: Apache-2.0
#include "platform/text/unicode.h"

#include <algorithm>
#include <climits>
#include <map>
#include <memory>

#include <unicode/coll.h>
#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include "ostrel/platform/zmk/environment.h"
#include "platform/zmk/icu_locale.h"

namespace ostrel::text {

namespace {

// One code point's simple mapping, written back over the same units: a simple mapping
// never moves a character between the basic and the supplementary planes.
template <typename Map>
std::u16string MapCase(std::u16string_view text, Map map) {
    std::u16string out(text);
    for (size_t i = 0; i < out.size(); ++i) {
        char16_t c = out[i];
        if (!U16_IS_SURROGATE(c)) {
            out[i] = map(c);
        } else if (U16_IS_LEAD(c) && i + 1 < out.size() && U16_IS_TRAIL(out[i + 1])) {
            UChar32 mapped = map(U16_GET_SUPPLEMENTARY(c, out[i + 1]));
            if (mapped > 0xFFFF) {
                out[i] = U16_LEAD(mapped);
                out[i + 1] = U16_TRAIL(mapped);
            }
            ++i;
        }
        // A lone surrogate is no character and maps to itself.
    }
    return out;
}

// The collators of one named locale; both null when ICU does not know it, in which case
// comparison stays ordinal, as for the invariant locale.
struct Collators {
    std::unique_ptr<icu::Collator> caseSensitive;  // tertiary strength
    std::unique_ptr<icu::Collator> caseBlind;      // secondary strength
};

Collators MakeCollators(const std::string& icuName) {
    Collators out;
    std::optional<icu::Locale> locale = zmk::multilang::KnownIcuLocale(icuName);
    if (!locale) return out;
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Collator> tertiary(icu::Collator::createInstance(*locale, status));
    if (U_FAILURE(status) || !tertiary) return out;
    tertiary->setStrength(icu::Collator::TERTIARY);
    std::unique_ptr<icu::Collator> secondary(tertiary->clone());
    if (!secondary) return out;
    secondary->setStrength(icu::Collator::SECONDARY);
    out.caseSensitive = std::move(tertiary);
    out.caseBlind = std::move(secondary);
    return out;
}

// Collators are costly to open, so each locale's pair is kept for the process's life and
// switching locales back and forth only repoints `current`.
struct CollationState {
    std::string name;
    const Collators* current = nullptr;  // null: the invariant locale
    std::map<std::string, Collators, std::less<>> byLocale;
};

CollationState& State() {
    static CollationState state;
    return state;
}

int Sign(int v) {
    return (v > 0) - (v < 0);
}

int32_t ClampLength(size_t n) {
    return int32_t(std::min<size_t>(n, INT32_MAX));
}

int OrdinalCompare(std::u16string_view a, std::u16string_view b, bool caseSensitive) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        char16_t x = caseSensitive ? a[i] : ToLower(a[i]);
        char16_t y = caseSensitive ? b[i] : ToLower(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace

namespace detail {

bool IsSpaceBeyondAscii(char16_t c) {
    return u_isUWhiteSpace(c);
}

bool IsAlphaBeyondAscii(char16_t c) {
    return u_isUAlphabetic(c);
}

bool IsAlnumBeyondAscii(char16_t c) {
    return u_isUAlphabetic(c) || u_isdigit(c);
}

char16_t ToUpperBeyondAscii(char16_t c) {
    if (U16_IS_SURROGATE(c)) return c;
    UChar32 mapped = u_toupper(c);
    return mapped <= 0xFFFF ? char16_t(mapped) : c;
}

char16_t ToLowerBeyondAscii(char16_t c) {
    if (U16_IS_SURROGATE(c)) return c;
    UChar32 mapped = u_tolower(c);
    return mapped <= 0xFFFF ? char16_t(mapped) : c;
}

}  // namespace detail

std::u16string ToUpper(std::u16string_view text) {
    return MapCase(
        text, [](UChar32 c) { return c < 0x80 ? UChar32(ToUpper(char16_t(c))) : u_toupper(c); });
}

std::u16string ToLower(std::u16string_view text) {
    return MapCase(
        text, [](UChar32 c) { return c < 0x80 ? UChar32(ToLower(char16_t(c))) : u_tolower(c); });
}

void SetCollationLocale(const std::string& name) {
    CollationState& state = State();
    state.name = name;
    std::string icuName = zmk::globals::CLocalesCache::NormalizeName(name);
    if (icuName.empty()) {
        state.current = nullptr;
        return;
    }
    auto it = state.byLocale.find(icuName);
    if (it == state.byLocale.end())
        it = state.byLocale.emplace(icuName, MakeCollators(icuName)).first;
    state.current = it->second.caseSensitive ? &it->second : nullptr;
}

const std::string& GetCollationLocale() {
    return State().name;
}

bool SameIgnoringCase(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() && Collate(a, b, false) == 0;
}

int Collate(std::u16string_view a, std::u16string_view b, bool caseSensitive) {
    const Collators* collators = State().current;
    if (!collators) return OrdinalCompare(a, b, caseSensitive);
    const icu::Collator& collator =
        caseSensitive ? *collators->caseSensitive : *collators->caseBlind;
    UErrorCode status = U_ZERO_ERROR;
    UCollationResult result =
        collator.compare(a.data(), ClampLength(a.size()), b.data(), ClampLength(b.size()), status);
    if (U_FAILURE(status)) return OrdinalCompare(a, b, caseSensitive);
    return Sign(int(result));
}

std::string CollationKey(std::u16string_view text, bool caseSensitive) {
    // The road is the key's first byte: a key of the collator never equals an ordinal one.
    if (const Collators* collators = State().current) {
        const icu::Collator& collator =
            caseSensitive ? *collators->caseSensitive : *collators->caseBlind;
        const int32_t length = ClampLength(text.size());
        std::string key(1, 'c');
        key.resize(64);
        int32_t needed = collator.getSortKey(text.data(), length,
                                             reinterpret_cast<uint8_t*>(key.data() + 1), 63);
        if (needed > 63) {
            key.resize(size_t(needed) + 1);
            needed = collator.getSortKey(text.data(), length,
                                         reinterpret_cast<uint8_t*>(key.data() + 1), needed);
        }
        if (needed > 0) {
            key.resize(size_t(needed) + 1);
            return key;
        }
    }
    // As OrdinalCompare compares: unit by unit, lowered when case does not count.
    std::string key(1, 'o');
    key.reserve(1 + 2 * text.size());
    for (char16_t c : text) {
        const char16_t unit = caseSensitive ? c : ToLower(c);
        key.push_back(char(unit & 0xFF));
        key.push_back(char(unit >> 8));
    }
    return key;
}

}  // namespace ostrel::text
