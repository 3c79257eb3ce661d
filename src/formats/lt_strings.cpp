// SPDX-License-Identifier: Apache-2.0
#include "formats/lt_strings.h"

#include <string>
#include <unordered_map>
#include <vector>

#include "formats/module_profile.h"
#include "ostrel/platform/resources.h"
#include "ostrel/platform/string_array.h"
#include "platform/names.h"

namespace {

constexpr char16_t kSection[] = u"General";
constexpr char16_t kValue[] = u"Leading/Trailing Strings";
constexpr unsigned kDefaultStringsId = 13029;

// The ordered list with an index of the first position of each text, so that lookups do
// not walk the list.
struct LTStrings {
    std::vector<CString> list;
    std::unordered_map<CString, int> firstIndex;

    int Append(std::u16string_view text) {
        int index = static_cast<int>(list.size());
        list.emplace_back(text);
        firstIndex.emplace(list.back(), index);  // keeps an earlier equal entry
        return index;
    }
    int Find(std::u16string_view text) const {
        auto it = firstIndex.find(CString(text));
        return it == firstIndex.end() ? -1 : it->second;
    }
    void Clear() {
        list.clear();
        firstIndex.clear();
    }
};

LTStrings& Strings() {
    static LTStrings strings;
    return strings;
}

CString DefaultText() {
    return CString(ostrel::LoadResourceString(kDefaultStringsId));
}

}  // namespace

void InitLTStrings() {
    ReleaseLTStrings();
    LoadLTStrings();
}

void LoadLTStrings() {
    CString text = GetDefaultLTStrings();
    LTStrings& strings = Strings();
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(u'\n', start);
        if (end == CString::npos) end = text.size();
        std::u16string_view piece(text.data() + start, end - start);
        // A value written with CR LF line ends holds the same pieces.
        if (!piece.empty() && piece.back() == u'\r') piece.remove_suffix(1);
        if (!piece.empty() && strings.Find(piece) < 0) strings.Append(piece);
        start = end + 1;
    }
}

int AddLTString(std::u16string_view text) {
    return Strings().Append(text);
}

int DoGetLTStringIndex(std::u16string_view text) {
    int index = Strings().Find(text);
    return index >= 0 ? index : Strings().Append(text);
}

int GetLTStringIndex(std::u16string_view text) {
    return Strings().Find(text);
}

const CString& GetLTString(int index) {
    static const CString empty;
    const std::vector<CString>& list = Strings().list;
    if (index < 0 || static_cast<size_t>(index) >= list.size()) return empty;
    return list[static_cast<size_t>(index)];
}

int GetNumberLTStrings() {
    return static_cast<int>(Strings().list.size());
}

void GetLTStrings(CStringArray& out) {
    const std::vector<CString>& list = Strings().list;
    out.RemoveAll();
    out.SetSize(static_cast<intptr_t>(list.size()));
    for (size_t i = 0; i < list.size(); ++i)
        out[static_cast<intptr_t>(i)] = list[i];
}

void ReleaseLTStrings() {
    Strings().Clear();
}

int SetDefaultLTStrings(std::u16string_view text) {
    CString value(text);
    return WriteModuleProfileString(kSection, kValue, value.c_str());
}

int ClearDefaultLTStrings() {
    return WriteModuleProfileString(kSection, kValue, nullptr);
}

CString GetDefaultLTStrings() {
    CString fallback = DefaultText();
    return GetModuleProfileString(kSection, kValue, fallback.c_str());
}
