// SPDX-License-Identifier: Apache-2.0
#include "ostrel/formats/interned_code.h"

#include <deque>
#include <unordered_map>
#include "platform/names.h"

namespace {

struct CodeTable {
    std::deque<CString> texts{CString()};  // stable addresses; entry 0 is the empty code
    std::unordered_map<std::u16string_view, uint32_t> ids;
};

CodeTable& Table() {
    static CodeTable* table = new CodeTable;  // codes outlive every format
    return *table;
}

}  // namespace

uint32_t CInternedCode::Intern(std::u16string_view code) {
    if (code.empty()) return 0;
    CodeTable& table = Table();
    if (auto it = table.ids.find(code); it != table.ids.end()) return it->second;
    table.texts.emplace_back(code);
    auto id = static_cast<uint32_t>(table.texts.size() - 1);
    table.ids.emplace(table.texts.back(), id);
    return id;
}

const CString& CInternedCode::Text(uint32_t id) {
    const CodeTable& table = Table();
    return id < table.texts.size() ? table.texts[id] : table.texts[0];
}
