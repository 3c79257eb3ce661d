// SPDX-License-Identifier: Apache-2.0
#include "formats/format_code_cache.h"

#include <string>
#include <unordered_map>
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
using Cache =
    std::unordered_map<std::u16string, std::unique_ptr<CParsedFormatCode>, CodeHash, CodeEqual>;

std::unique_ptr<Cache>& TheCache() {
    static std::unique_ptr<Cache> cache;
    return cache;
}

FormatCodeParser& TheParser() {
    static FormatCodeParser parser = nullptr;
    return parser;
}

const CParsedFormatCode* Lookup(std::u16string_view code) {
    auto& cache = TheCache();
    if (!cache) return nullptr;
    auto it = cache->find(code);
    return it == cache->end() ? nullptr : it->second.get();
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
    if (TheCache()) TheCache()->clear();
    return previous;
}

bool CFormatCodeCache::Register(std::u16string_view code) {
    auto& cache = TheCache();
    if (!cache) return false;
    if (cache->find(code) == cache->end()) {
        FormatCodeParser parser = TheParser();
        cache->emplace(std::u16string(code), parser ? parser(code) : nullptr);
    }
    return true;
}

unsigned char CFormatCodeCache::Category(std::u16string_view code) {
    const CParsedFormatCode* parsed = Lookup(code);
    return parsed ? parsed->Category() : 0;
}

void CFormatCodeCache::Render(cells::LCTX* lctx, std::u16string_view code, double value,
                              CWideOutStream& out) {
    if (!Register(code)) return;
    if (const CParsedFormatCode* parsed = Lookup(code)) parsed->Render(lctx, value, out);
}

size_t CFormatCodeCache::Size() {
    return TheCache() ? TheCache()->size() : 0;
}
