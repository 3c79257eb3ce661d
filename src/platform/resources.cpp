#include "platform/resources.h"

#include <unordered_map>

#include "platform/resource_table.h"

namespace ostrel {

namespace {

using Map = std::unordered_map<unsigned, std::u16string_view>;

Map Build(const resources::Entry* entries, size_t count) {
    Map map;
    map.reserve(count);
    for (size_t i = 0; i < count; ++i)
        map.emplace(entries[i].id, entries[i].text);
    return map;
}

const Map& Texts() {
    static const Map texts = [] {
        Map map = Build(resources::kMessageTexts, resources::kMessageTextCount);
        for (size_t i = 0; i < resources::kFunctionTextCount; ++i)
            map.emplace(resources::kFunctionTexts[i].id, resources::kFunctionTexts[i].text);
        return map;
    }();
    return texts;
}

}  // namespace

std::u16string_view LoadResourceString(unsigned id) {
    const Map& texts = Texts();
    auto it = texts.find(id);
    return it == texts.end() ? std::u16string_view() : it->second;
}

std::u16string_view FunctionAlternateName(unsigned id) {
    static const Map names =
        Build(resources::kFunctionAlternateNames, resources::kFunctionAlternateNameCount);
    auto it = names.find(id);
    return it == names.end() ? std::u16string_view() : it->second;
}

}  // namespace ostrel
