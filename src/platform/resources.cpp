// SPDX-License-Identifier: Apache-2.0
#include "ostrel/platform/resources.h"

#include <atomic>
#include <unordered_map>

#include "platform/resource_table.h"

namespace ostrel {

namespace {

using Map = std::unordered_map<unsigned, std::u16string_view>;

const Map& Texts() {
    static const Map texts = [] {
        Map map;
        map.reserve(resources::kMessageTextCount);
        for (size_t i = 0; i < resources::kMessageTextCount; ++i)
            map.emplace(resources::kMessageTexts[i].id, resources::kMessageTexts[i].text);
        return map;
    }();
    return texts;
}

std::atomic<FunctionTextLookup> functionTexts{nullptr};

}  // namespace

std::u16string_view LoadResourceString(unsigned id) {
    if (id >= kFirstFunctionText && id <= kLastFunctionText) {
        FunctionTextLookup lookup = functionTexts.load(std::memory_order_acquire);
        return lookup ? lookup(id) : std::u16string_view();
    }
    const Map& texts = Texts();
    auto it = texts.find(id);
    return it == texts.end() ? std::u16string_view() : it->second;
}

void SetFunctionTextLookup(FunctionTextLookup lookup) {
    functionTexts.store(lookup, std::memory_order_release);
}

}  // namespace ostrel
