// SPDX-License-Identifier: Apache-2.0
// The registry: every function entry built from its family's row when the engine starts,
// the operator entries, the listed ones sorted by primary and by alternate name with a
// first-character index, name lookup for the parser and for imported formulas, and the
// stream form of an entry reference.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "formats/string_field.h"
#include "functions/function_row.h"
#include "functions/operator_table.h"
#include "functions/random.h"
#include "ostrel/formula/formula.h"
#include "ostrel/formula/scanner.h"
#include "ostrel/functions/func.h"
#include "ostrel/platform/archive.h"
#include "ostrel/platform/resources.h"
#include "ostrel/platform/utf.h"
#include "platform/names.h"
#include "platform/text/unicode.h"

namespace {

constexpr uint16_t kNoSlot = 0xFFFF;

using NameOf = const std::u16string& (CCFunc::*)() const;

// What the name scan compares before it compares a whole name: most text tried is a cell
// reference (A1, B12), which the first two characters settle against nearly every name.
struct NameProbe {
    char16_t first = 0;
    char16_t second = 0;  // upper-cased; 0 for a one-character name
    unsigned char kind = 0;
    uint16_t nextSecond = 0;  // the first later entry with another second character
};

struct SortedNames {
    std::vector<CCFunc*> entries;
    std::vector<NameProbe> probes;  // one per entry, same order
    std::array<uint16_t, 256> firstIndex{};
    NameOf name = nullptr;
};

struct Registry {
    std::vector<std::unique_ptr<CCFunc>> functions;  // one per row, in the families' order
    std::unordered_map<unsigned, CCFunc*> byId;
    std::unordered_map<unsigned, const FunctionRow*> rowById;
    std::unordered_map<unsigned, std::u16string> texts;  // "NAME\nwizard texts"
    SortedNames byName;
    SortedNames byAltName;
    std::string failure;
    bool ready = false;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

using Family = std::span<const FunctionRow> (*)();
constexpr Family kFamilies[] = {
    ostrel::functions::MathUnaryRows,   ostrel::functions::MathRoundingRows,
    ostrel::functions::MathListRows,    ostrel::functions::LogicalRows,
    ostrel::functions::InformationRows, ostrel::functions::StatisticalRows,
    ostrel::functions::DateTimeRows,    ostrel::functions::TextRows,
    ostrel::functions::FinancialRows,   ostrel::functions::LookupRows,
    ostrel::functions::ReferenceRows,   ostrel::functions::RemoteRows,
    ostrel::functions::DatabaseRows,    ostrel::functions::DocumentRows,
};

std::u16string_view FunctionText(unsigned id) {
    const Registry& registry = TheRegistry();
    auto it = registry.texts.find(id);
    return it == registry.texts.end() ? std::u16string_view() : std::u16string_view(it->second);
}

std::unique_ptr<CCFunc> MakeEntry(const FunctionRow& row) {
    switch (row.entryClass) {
        case EntryClass::choice: {
            auto entry = std::make_unique<CCChooseFunc>();
            entry->Init(row.id, 100, FUNC_FUNCTION, row.category, row.check, row.eval, row.choice);
            return entry;
        }
        case EntryClass::remote: {
            auto entry = std::make_unique<CCRemoteFunc>();
            entry->Init(row.id, 100, FUNC_FUNCTION, row.category, row.check, row.eval, row.remote);
            return entry;
        }
        case EntryClass::document: {
            auto entry = std::make_unique<CCDocumentFunc>();
            entry->Init(row.id, 100, FUNC_FUNCTION, row.category, row.check, row.eval,
                        row.document);
            return entry;
        }
        case EntryClass::reference: {
            auto entry = std::make_unique<CCRefFunc>();
            entry->Init(row.id, 100, FUNC_FUNCTION, row.category, row.check, row.eval);
            return entry;
        }
        case EntryClass::plain:
            break;
    }
    auto entry = std::make_unique<CCFunc>();
    entry->Init(row.id, 100, FUNC_FUNCTION, row.category, row.check, row.eval);
    return entry;
}

// By code, a name that prefixes another sorting after it, so that scanning forward finds
// the longest matching name first. Equal names are ordered by kind and id so that every
// lookup over them is deterministic.
bool NameBefore(std::u16string_view a, std::u16string_view b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        if (a[i] != b[i]) return a[i] < b[i];
    }
    return a.size() > b.size();
}

void Sort(SortedNames& sorted, const std::vector<CCFunc*>& listed, NameOf name) {
    sorted.name = name;
    sorted.entries = listed;
    std::sort(sorted.entries.begin(), sorted.entries.end(), [name](CCFunc* a, CCFunc* b) {
        const std::u16string& na = (a->*name)();
        const std::u16string& nb = (b->*name)();
        if (na != nb) return NameBefore(na, nb);
        if (a->GetKind() != b->GetKind()) return a->GetKind() < b->GetKind();
        return a->GetId() < b->GetId();
    });
    sorted.firstIndex.fill(kNoSlot);
    sorted.probes.clear();
    for (size_t i = 0; i < sorted.entries.size(); ++i) {
        const std::u16string& text = (sorted.entries[i]->*name)();
        NameProbe probe;
        probe.first = text.empty() ? 0 : text[0];
        probe.second = text.size() > 1 ? ostrel::text::ToUpper(text[1]) : 0;
        probe.kind = static_cast<unsigned char>(sorted.entries[i]->GetKind());
        sorted.probes.push_back(probe);
        // Lookups consult the index only for codes up to 255, so names starting above
        // that are not indexed (taking the low byte would alias another character's slot).
        if (text.empty() || text[0] > 0xFF) continue;
        uint16_t& slot = sorted.firstIndex[text[0]];
        if (slot == kNoSlot) slot = static_cast<uint16_t>(i);
    }
    // Names sharing their first two characters are neighbours, so a name whose second
    // character differs from the text's lets the scan skip all of its neighbours at once.
    for (size_t i = sorted.probes.size(); i-- > 0;) {
        NameProbe& probe = sorted.probes[i];
        const bool sameAsNext = i + 1 < sorted.probes.size() &&
                                sorted.probes[i + 1].first == probe.first &&
                                sorted.probes[i + 1].second == probe.second;
        probe.nextSecond =
            static_cast<uint16_t>(sameAsNext ? sorted.probes[i + 1].nextSecond : i + 1);
    }
}

bool EqualIgnoringCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (ostrel::text::ToUpper(a[i]) != ostrel::text::ToUpper(b[i])) return false;
    }
    return true;
}

// The first position of the names starting with the upper-cased character, or -1.
int FirstPosition(const SortedNames& sorted, char16_t first) {
    char16_t upper = ostrel::text::ToUpper(first);
    if (upper > 0xFF) return -1;
    uint16_t slot = sorted.firstIndex[upper];
    return slot == kNoSlot ? -1 : slot;
}

// The longest name of an entry of a kind in kindMask that prefixes the text at cursor; the
// cursor moves past it.
CCFunc* FindLongest(const SortedNames& sorted, const char16_t*& cursor, unsigned char kindMask) {
    if (!TheRegistry().ready || !cursor || *cursor == 0) return nullptr;
    int start = FirstPosition(sorted, *cursor);
    if (start < 0) return nullptr;
    const char16_t upper = ostrel::text::ToUpper(cursor[0]);
    const char16_t second = ostrel::text::ToUpper(cursor[1]);
    for (size_t i = size_t(start), next; i < sorted.probes.size(); i = next) {
        const NameProbe& probe = sorted.probes[i];
        if (probe.first != upper) break;
        next = i + 1;
        if (probe.second != 0 && probe.second != second) {
            next = probe.nextSecond;
            continue;
        }
        if (!(probe.kind & kindMask)) continue;
        CCFunc* entry = sorted.entries[i];
        const std::u16string& name = (entry->*sorted.name)();
        const char16_t* rest = cursor + 1;
        if (_StrIIComp(nullptr, rest, std::u16string_view(name).substr(1))) {
            cursor = rest;
            return entry;
        }
    }
    return nullptr;
}

// Why the rows cannot make a registry, or an empty text: every id of the function range
// once, names unique, every function with a check, text and a category, and the added
// routines only where the entry's class has them.
std::string Inconsistency(const std::vector<const FunctionRow*>& rows) {
    std::unordered_set<unsigned> ids;
    std::unordered_set<std::u16string> names;
    for (const FunctionRow* row : rows) {
        const std::string label = "function " + std::to_string(row->id);
        if (row->id < ostrel::kFirstFunctionText || row->id > ostrel::kLastFunctionText)
            return label + ": id outside the function texts";
        if (!ids.insert(row->id).second) return label + ": id declared twice";
        if (row->name.empty() || !names.insert(ostrel::text::ToUpper(row->name)).second)
            return label + ": no name, or a name declared twice";
        if (!row->check || row->text.empty() || row->category < kMathematical ||
            row->category > kDocumentInformation)
            return label + ": no check, text or category";
        if ((row->choice && row->entryClass != EntryClass::choice) ||
            (row->remote && row->entryClass != EntryClass::remote) ||
            (row->document && row->entryClass != EntryClass::document))
            return label + ": a routine its class does not have";
    }
    if (ids.size() != ostrel::kLastFunctionText - ostrel::kFirstFunctionText + 1)
        return "the function texts " + std::to_string(ostrel::kFirstFunctionText) + " to " +
               std::to_string(ostrel::kLastFunctionText) + " are not all declared";
    return {};
}

// Builds every entry from the rows; false with the registry's failure set.
bool Build(Registry& registry) {
    std::vector<const FunctionRow*> rows;
    for (Family family : kFamilies)
        for (const FunctionRow& row : family())
            rows.push_back(&row);
    registry.failure = Inconsistency(rows);
    if (!registry.failure.empty()) return false;
    // The texts first: an entry takes its primary name from its text.
    for (const FunctionRow* row : rows) {
        registry.rowById.emplace(row->id, row);
        std::u16string text(row->name);
        text += u'\n';
        text += row->text;
        registry.texts.emplace(row->id, std::move(text));
    }
    ostrel::SetFunctionTextLookup(FunctionText);
    std::vector<CCFunc*> listed;
    SetUpOperators(listed);
    for (const FunctionRow* row : rows) {
        std::unique_ptr<CCFunc> entry = MakeEntry(*row);
        entry->SetFlags(row->flags);
        registry.byId.emplace(row->id, entry.get());
        if (!(row->flags & kFlagUnlisted)) listed.push_back(entry.get());
        registry.functions.push_back(std::move(entry));
    }
    if (listed.size() >= kNoSlot) {
        registry.failure = "more entries than the name index can hold";
        return false;
    }
    Sort(registry.byName, listed, &CCFunc::GetName);
    Sort(registry.byAltName, listed, &CCFunc::GetAltName);
    return true;
}

}  // namespace

bool InitBuiltinFunctions() {
    static std::once_flag built;
    // Entries are built once: formula nodes hold pointers to them for as long as the
    // process runs.
    std::call_once(built, [] {
        Registry& registry = TheRegistry();
        registry.ready = Build(registry);
    });
    auto now = std::chrono::system_clock::now().time_since_epoch();
    SeedFunctionRandomOnce(static_cast<uint64_t>(now.count()));
    return TheRegistry().ready;
}

const std::string& BuiltinFunctionsFailure() {
    return TheRegistry().failure;
}

CCFunc* const* GetBuiltInFunc() {
    return TheRegistry().byName.entries.data();
}

int GetBuiltInFuncSize() {
    return static_cast<int>(TheRegistry().byName.entries.size());
}

CCFunc* GetFunctionById(unsigned id) {
    const Registry& registry = TheRegistry();
    auto it = registry.byId.find(id);
    return it == registry.byId.end() ? nullptr : it->second;
}

std::u16string_view FunctionInvariantName(unsigned id) {
    const Registry& registry = TheRegistry();
    auto it = registry.rowById.find(id);
    return it == registry.rowById.end() ? std::u16string_view() : it->second->name;
}

CCFunc* FindFunctionByName(const char16_t*& cursor) {
    return FindLongest(TheRegistry().byName, cursor, FUNC_FUNCTION);
}

CCFunc* FindFunctionByAltName(const char16_t*& cursor) {
    return FindLongest(TheRegistry().byAltName, cursor, FUNC_FUNCTION);
}

bool IsFunction(std::u16string_view name, unsigned char kindMask) {
    if (!TheRegistry().ready || name.empty()) return false;
    const SortedNames& sorted = TheRegistry().byName;
    int start = FirstPosition(sorted, name[0]);
    if (start < 0) return false;
    char16_t upper = ostrel::text::ToUpper(name[0]);
    for (size_t i = size_t(start);
         i < sorted.entries.size() && sorted.entries[i]->GetName()[0] == upper; ++i) {
        const CCFunc* entry = sorted.entries[i];
        if ((entry->GetKind() & kindMask) && EqualIgnoringCase(entry->GetName(), name)) {
            return true;
        }
    }
    return false;
}

int _EatFunction(cells::CTX*, const char16_t*& cursor, CCFunc*& entry, unsigned char kind) {
    CCFunc* found = FindLongest(TheRegistry().byName, cursor, kind);
    if (!found) return 0;
    entry = found;
    return 1;
}

CCFunc* GetFunction(cells::CTX* ctx, const char* name, const CCFormulaList* args) {
    if (!name || !TheRegistry().ready) return nullptr;
    std::u16string wide = ostrel::CodePageToWide(name);
    if (wide.empty()) return nullptr;
    size_t count = 0;
    for (const CCFormulaList* it = args; it; it = it->m_pNext)
        ++count;
    // Operators sharing a name ("+", "-") differ in kind: with one argument the prefix or
    // postfix reading is meant, otherwise the infix one, so that "-A1" never becomes a
    // one-argument subtraction.
    auto rank = [count](const CCFunc* entry) {
        bool unary = entry->GetKind() == FUNC_PREFIX || entry->GetKind() == FUNC_POSTFIX;
        return (count == 1) == unary ? 0 : 1;
    };
    const SortedNames& sorted = TheRegistry().byName;
    CCFunc* best = nullptr;
    for (CCFunc* entry : sorted.entries) {
        if (!entry->GetCheck() || !EqualIgnoringCase(entry->GetName(), wide)) continue;
        if (best && rank(best) <= rank(entry)) continue;
        if (entry->GetCheck()(ctx, args, nullptr)) best = entry;
    }
    return best;
}

void WriteFunc(cells::CTX* ctx, CArchive& ar, const CCFunc* entry) {
    ar << static_cast<uint8_t>(entry ? entry->GetKind() : 0);
    WriteString(ctx, ar, entry ? entry->GetAltName().c_str() : nullptr);
}

CCFunc* ReadFunc(cells::CTX* ctx, CArchive& ar, unsigned char* kind, std::u16string* name) {
    uint8_t storedKind = 0;
    ar >> storedKind;
    std::unique_ptr<char16_t[]> text(ReadString(ctx, ar));
    std::u16string_view storedName = text ? std::u16string_view(text.get()) : u"";
    if (kind) *kind = storedKind;
    if (name) name->assign(storedName);
    if (!TheRegistry().ready || storedName.empty()) return nullptr;
    const SortedNames& sorted = TheRegistry().byAltName;
    int start = FirstPosition(sorted, storedName[0]);
    if (start < 0) return nullptr;
    char16_t upper = ostrel::text::ToUpper(storedName[0]);
    for (size_t i = size_t(start);
         i < sorted.entries.size() && sorted.entries[i]->GetAltName()[0] == upper; ++i) {
        CCFunc* entry = sorted.entries[i];
        if (entry->GetKind() == storedKind && EqualIgnoringCase(entry->GetAltName(), storedName)) {
            return entry;
        }
    }
    return nullptr;
}

int GetFuncChoice(cells::CTX* ctx, CCFormula*& chosen, const CCFunc* entry,
                  const CCFormulaList* args, const CCRef* cell) {
    chosen = nullptr;
    if (!entry || entry->GetType() != 2) return 4;
    return static_cast<const CCChooseFunc*>(entry)->GetChoice(ctx, chosen, args, cell);
}

int GetFuncDocumentRef(cells::CTX* ctx, CCDocumentRef& out, const CCFunc* entry,
                       const CCFormulaList* args, const CCRef* cell) {
    if (!entry || entry->GetType() != 4) return 4;
    return static_cast<const CCDocumentFunc*>(entry)->GetDocumentRef(ctx, out, args, cell);
}

int GetFuncRemoteRef(cells::CTX* ctx, CCRemoteRef& out, const CCFunc* entry,
                     const CCFormulaList* args, const CCRef* cell) {
    if (!entry || entry->GetType() != 3) return 4;
    return static_cast<const CCRemoteFunc*>(entry)->GetRemoteRef(ctx, out, args, cell);
}
