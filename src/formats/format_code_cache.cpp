// SPDX-License-Identifier: Apache-2.0
#include "formats/format_code_cache.h"

#include <string>
#include <unordered_map>

#include "formats/excel_number_format.h"
#include "platform/names.h"

namespace {

struct CodeHash {
    using is_transparent = void;
    size_t operator()(std::u16string_view code) const {
        return std::hash<std::u16string_view>{}(code);
    }
};

struct CodeEqual {
    using is_transparent = void;
    bool operator()(std::u16string_view a, std::u16string_view b) const { return a == b; }
};

// A null parsed form stands for a code registered while no parser was installed.
using Entries =
    std::unordered_map<std::u16string, std::unique_ptr<CParsedFormatCode>, CodeHash, CodeEqual>;

struct Cache {
    Entries entries;
    // The entry found last: cells of a column mostly share one code, and comparing the text
    // with one key is cheaper than hashing it. Entries stay where they are until cleared.
    const Entries::value_type* last = nullptr;

    void Clear() {
        entries.clear();
        last = nullptr;
    }
};

std::unique_ptr<Cache>& TheCache() {
    static std::unique_ptr<Cache> cache;
    return cache;
}

FormatCodeParser& TheParser() {
    static FormatCodeParser parser = &ParseExcelNumberFormat;
    return parser;
}

const CParsedFormatCode* Lookup(std::u16string_view code) {
    auto& cache = TheCache();
    if (!cache) return nullptr;
    auto it = cache->entries.find(code);
    return it == cache->entries.end() ? nullptr : it->second.get();
}

// The entry of the code, parsed now when it is new; null without a cache or a parser.
const CParsedFormatCode* Find(Cache& cache, std::u16string_view code) {
    if (cache.last && cache.last->first == code) return cache.last->second.get();
    auto it = cache.entries.find(code);
    if (it == cache.entries.end()) {
        if (cache.entries.size() >= CFormatCodeCache::kMostEntries) cache.Clear();
        FormatCodeParser parser = TheParser();
        it = cache.entries.emplace(std::u16string(code), parser ? parser(code) : nullptr).first;
    }
    cache.last = &*it;
    return it->second.get();
}

}  // namespace

void CFormatCodeCache::Create() {
    if (!TheCache()) TheCache() = std::make_unique<Cache>();
}

void CFormatCodeCache::Destroy() {
    TheCache().reset();
}

bool CFormatCodeCache::Exists() {
    return TheCache() != nullptr;
}

FormatCodeParser CFormatCodeCache::SetParser(FormatCodeParser parser) {
    FormatCodeParser previous = TheParser();
    TheParser() = parser;
    if (TheCache()) TheCache()->Clear();
    return previous;
}

bool CFormatCodeCache::Register(std::u16string_view code) {
    auto& cache = TheCache();
    if (!cache) return false;
    Find(*cache, code);
    return true;
}

unsigned char CFormatCodeCache::Category(std::u16string_view code) {
    const CParsedFormatCode* parsed = Lookup(code);
    return parsed ? parsed->Category() : 0;
}

void CFormatCodeCache::Render(cells::LCTX* lctx, std::u16string_view code, double value,
                              CWideOutStream& out) {
    auto& cache = TheCache();
    if (!cache) return;
    if (const CParsedFormatCode* parsed = Find(*cache, code)) parsed->Render(lctx, value, out);
}

size_t CFormatCodeCache::Size() {
    return TheCache() ? TheCache()->entries.size() : 0;
}
