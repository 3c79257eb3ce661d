// Lookups over the registry: the listed entries sorted by primary and by alternate name, each
// with a first-character index, name lookup for the parser and for imported formulas, and
// the stream form of an entry reference. The entries themselves are in registry_table.cpp.
//
// Current limit: only the operators and PLUS, MINUS, TIMES, DIVIDE, POWER, AND, OR and NOT
// have evaluation routines; every other function's node evaluates to empty, and choice,
// remote and document entries have no added routine (their added operations answer 4) until
// the function families are wired in.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <memory>

#include "formats/string_field.h"
#include "formula/formula.h"
#include "formula/scanner.h"
#include "functions/func.h"
#include "functions/random.h"
#include "functions/registry_internal.h"
#include "platform/archive.h"
#include "platform/text/unicode.h"
#include "platform/utf.h"

namespace {

constexpr int kListedCount = 277;
constexpr uint16_t kNoSlot = 0xFFFF;

using NameOf = const std::u16string& (CCFunc::*)() const;

struct SortedNames {
    std::array<CCFunc*, kListedCount> entries{};
    std::array<uint16_t, 256> firstIndex{};
    NameOf name = nullptr;
};

struct Registry {
    SortedNames byName;
    SortedNames byAltName;
    bool ready = false;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
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

void Sort(SortedNames& sorted, CCFunc* const* listed, NameOf name) {
    sorted.name = name;
    std::copy(listed, listed + kListedCount, sorted.entries.begin());
    std::sort(sorted.entries.begin(), sorted.entries.end(), [name](CCFunc* a, CCFunc* b) {
        const std::u16string& na = (a->*name)();
        const std::u16string& nb = (b->*name)();
        if (na != nb) return NameBefore(na, nb);
        if (a->GetKind() != b->GetKind()) return a->GetKind() < b->GetKind();
        return a->GetId() < b->GetId();
    });
    sorted.firstIndex.fill(kNoSlot);
    for (int i = 0; i < kListedCount; ++i) {
        const std::u16string& text = (sorted.entries[i]->*name)();
        // Lookups consult the index only for codes up to 255, so names starting above
        // that are not indexed (taking the low byte would alias another character's slot).
        if (text.empty() || text[0] > 0xFF) continue;
        uint16_t& slot = sorted.firstIndex[text[0]];
        if (slot == kNoSlot) slot = static_cast<uint16_t>(i);
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
    char16_t upper = ostrel::text::ToUpper(*cursor);
    for (int i = start; i < kListedCount; ++i) {
        CCFunc* entry = sorted.entries[i];
        const std::u16string& name = (entry->*sorted.name)();
        if (name.empty() || name[0] != upper) break;
        if (!(entry->GetKind() & kindMask)) continue;
        // Most text tried here is a cell reference (A1, B12): the second character settles it
        // for nearly every name.
        if (name.size() > 1 && ostrel::text::ToUpper(cursor[1]) != ostrel::text::ToUpper(name[1]))
            continue;
        const char16_t* rest = cursor + 1;
        if (_StrIIComp(nullptr, rest, std::u16string_view(name).substr(1))) {
            cursor = rest;
            return entry;
        }
    }
    return nullptr;
}

}  // namespace

void InitBuiltinFunctions() {
    Registry& registry = TheRegistry();
    std::array<CCFunc*, kListedCount> listed{};
    size_t count = SetUpBuiltinEntries(listed.data(), listed.size());
    if (count == static_cast<size_t>(kListedCount)) {
        Sort(registry.byName, listed.data(), &CCFunc::GetName);
        Sort(registry.byAltName, listed.data(), &CCFunc::GetAltName);
        registry.ready = true;
    }
    auto now = std::chrono::system_clock::now().time_since_epoch();
    SeedFunctionRandomOnce(static_cast<uint64_t>(now.count()));
}

CCFunc* const* GetBuiltInFunc() {
    return TheRegistry().byName.entries.data();
}

int GetBuiltInFuncSize() {
    return kListedCount;
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
    for (int i = start; i < kListedCount && sorted.entries[i]->GetName()[0] == upper; ++i) {
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
    for (int i = start; i < kListedCount && sorted.entries[i]->GetAltName()[0] == upper; ++i) {
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
