// SPDX-License-Identifier: Apache-2.0
#include "formats/module_profile.h"

#include <charconv>
#include <string>

#include "ostrel/platform/utf.h"
#include "platform/names.h"
#include "platform/profile.h"

namespace {

constexpr char16_t kProfileName[] = u"Ostrel Cells";

struct ModuleRegistry {
    bool initialised = false;
    std::u16string hostKey;
};

ModuleRegistry& Registry() {
    static ModuleRegistry registry;
    return registry;
}

// Before InitModuleRegistry the host's current key is used, so that early reads still
// find the host's profile.
std::filesystem::path ModuleProfilePath() {
    const ModuleRegistry& r = Registry();
    return ostrel::ProfilePath(r.initialised ? r.hostKey : ostrel::GetHostRegistryKey(),
                               kProfileName);
}

std::string Utf8(const char16_t* text) {
    return ostrel::ToUtf8(std::u16string_view(text));
}

}  // namespace

void InitModuleRegistry() {
    ModuleRegistry& r = Registry();
    r.hostKey = ostrel::GetHostRegistryKey();
    r.initialised = true;
}

int WriteModuleProfileString(const char16_t* section, const char16_t* key, const char16_t* value) {
    if (!section) return 0;
    std::filesystem::path path = ModuleProfilePath();
    ostrel::CIniFile ini;
    if (!ini.Load(path)) return 0;
    if (!key) {
        if (!ini.RemoveSection(Utf8(section))) return 1;
    } else if (!value) {
        if (!ini.RemoveKey(Utf8(section), Utf8(key))) return 1;
    } else {
        ini.Set(Utf8(section), Utf8(key), Utf8(value));
    }
    return ini.Save(path) ? 1 : 0;
}

int WriteModuleProfileInt(const char16_t* section, const char16_t* key, int value) {
    std::u16string text;
    for (char c : std::to_string(value))
        text += static_cast<char16_t>(c);
    return WriteModuleProfileString(section, key, text.c_str());
}

CString GetModuleProfileString(const char16_t* section, const char16_t* key,
                               const char16_t* defaultValue) {
    CString fallback = defaultValue ? CString(defaultValue) : CString();
    if (!section || !key) return fallback;
    ostrel::CIniFile ini;
    if (!ini.Load(ModuleProfilePath())) return fallback;
    std::optional<std::string> value = ini.Get(Utf8(section), Utf8(key));
    return value ? ostrel::FromUtf8(*value) : fallback;
}

int GetModuleProfileInt(const char16_t* section, const char16_t* key, int defaultValue) {
    if (!section || !key) return defaultValue;
    ostrel::CIniFile ini;
    if (!ini.Load(ModuleProfilePath())) return defaultValue;
    std::optional<std::string> value = ini.Get(Utf8(section), Utf8(key));
    if (!value) return defaultValue;
    // A decimal integer read from the value's start; anything else, or a number beyond
    // an int, is not a number.
    const char* first = value->data();
    const char* last = first + value->size();
    while (first < last && (*first == ' ' || *first == '\t'))
        ++first;
    if (first < last && *first == '+') {
        ++first;
        if (first < last && *first == '-') return defaultValue;
    }
    int result = 0;
    auto [end, error] = std::from_chars(first, last, result);
    return error == std::errc() && end != first ? result : defaultValue;
}
