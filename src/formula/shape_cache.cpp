// SPDX-License-Identifier: Apache-2.0
// Formulas filled down a column or across a row differ only in their relative references
// (=B1+A2, =B2+A3, ...). Such a formula's shape is parsed once; every later formula of the
// shape is a copy of that tree moved from the first cell to its own, which is exactly the
// tree the parser would build, at a fraction of the cost.
//
// The shape is the text with each cell address replaced by its offset from the cell (or by
// the address itself where it carries "$") and each number by a mark. Two texts of one
// shape then differ only in addresses whose relative parts differ by the same amount and in
// numbers, and the parser reads an address or a number without looking at anything around
// it, except in the few places the key builder refuses: an address before "!", "E" digits
// after a number (an exponent, not an address), a number whose reading goes on past its
// characters (1 E 5), an array, and a range whose corners differ in their "$". A number is
// one constant node of the tree; which node is found when the shape is first parsed, by
// matching the numbers in text order against the constant nodes in tree order, and the
// shape is kept only when that match is exact.
// Whatever the parser reads from the context (the locale's separators, whether the document
// is a spreadsheet) is part of the key.
// A column filled down (=B1+A2, =B2+A3, ...) is the commonest case of all: each column
// remembers the text that began its fill, with where its relative rows and numbers stand,
// and a text that is that one moved down (or up) is known to be of its shape by comparing
// the two, without building the key.
#include "formula/shape_cache.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "formula/scan_internal.h"
#include "ostrel/cells/cell_value.h"
#include "ostrel/engine/cell_manager.h"
#include "ostrel/formula/formula.h"
#include "ostrel/formula/scanner.h"
#include "ostrel/refs/rc_ref.h"

using namespace ostrel::scan;

namespace {

constexpr size_t kMaxShapes = 4096;
constexpr size_t kMaxShapeText = 512;
constexpr char16_t kAddressMark = 1;
constexpr char16_t kNumberMark = 2;

struct Shape {
    std::unique_ptr<CCFormula> tree;
    unsigned char column = 0;
    uint16_t row = 0;
    std::vector<uint16_t> numberSlots;  // per number of the text, its constant node's rank
};

// Keys compared as bytes: the library's comparison of UTF-16 strings goes unit by unit,
// and every formula typed looks its key up.
struct SameKey {
    bool operator()(const std::u16string& a, const std::u16string& b) const {
        return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * 2) == 0;
    }
};
using ShapeMap = std::unordered_map<std::u16string, Shape, std::hash<std::u16string>, SameKey>;

// What the key builder reads from the context besides the text.
using KeyContext = std::array<char16_t, 6>;

KeyContext ContextOf(cells::LCTX* lctx) {
    const Locale& loc = LocaleOf(lctx);
    return {loc.listSeparartor(), loc.listSeparartor2(), loc.numberDeciamalSeparartor(),
            loc.positiveSign(),   loc.negativeSign(),    CCCellValue::m_chSpecial};
}

// Where a text differs from another of its shape typed in the same column: the row digits of
// an address whose row is relative (value: the row as typed, from 1) and each number.
struct TextSlot {
    uint32_t offset;
    uint32_t length;
    uint32_t value;
    bool number;
};

// The text that began a column's fill, with its kept shape: a text filled down the column
// is that text with each relative row moved by the rows between them and other numbers,
// which is checked character by character instead of building the key again. A text of
// another shape begins a new fill.
struct ColumnMemo {
    std::u16string text;
    std::vector<TextSlot> slots;
    KeyContext context{};
    cells::LCTX* lctx = nullptr;  // numbers are read in its settings
    unsigned row = 0;
    const Shape* shape = nullptr;
    uint64_t generation = 0;  // the shapes' generation the pointer belongs to
};

// The shapes and the scratch space every formula typed reuses. One for the process, as the
// engine's other state: engine code runs on one thread at a time (and a thread-local here
// would cost a lookup call at each mention). Never destroyed, so that no thread's exit
// hands its trees back to the node pools while another thread works.
struct ShapeCache {
    ShapeMap shapes;
    uint64_t generation = 1;  // changes whenever shapes are dropped
    std::vector<ColumnMemo> memos = std::vector<ColumnMemo>(256);
    std::u16string key;
    std::vector<CCCellValue> numbers;
    std::vector<TextSlot> slots;
    std::vector<CCConstFormula*> constants;

    void Clear() {
        shapes.clear();
        ++generation;
    }
};

ShapeCache& Cache() {
    static auto* cache = new ShapeCache;
    return *cache;
}

// The ASCII characters of a run (letters, digits, "_", "$", "."), by table: the key builder
// asks for every character of every formula typed.
constexpr std::array<bool, 128> kRunChars = [] {
    std::array<bool, 128> table{};
    for (char c = 'A'; c <= 'Z'; ++c)
        table[size_t(c)] = table[size_t(c - 'A' + 'a')] = true;
    for (char c = '0'; c <= '9'; ++c)
        table[size_t(c)] = true;
    table['_'] = table['$'] = table['.'] = true;
    return table;
}();

bool IsRunChar(char16_t c, char16_t decimal) {
    return (c < 128 && kRunChars[c]) || c == decimal;
}

// The key as it is built: a fixed buffer, since a text whose key would be longer is not
// kept as a shape anyway; the string is written once at the end.
class KeyWriter {
public:
    void Put(char16_t c) {
        if (m_size < kRoom) m_units[m_size] = c;
        ++m_size;
    }
    void Put(std::u16string_view run) {
        if (m_size + run.size() <= kRoom) std::copy(run.begin(), run.end(), m_units + m_size);
        m_size += run.size();
    }
    bool TooLong() const { return m_size > kMaxShapeText; }
    void CopyTo(std::u16string& key) const { key.assign(m_units, m_size); }

private:
    static constexpr size_t kRoom = kMaxShapeText + 1;
    char16_t m_units[kRoom];
    size_t m_size = 0;
};

// The shape of text typed into the cell at (column, row), or false when the text is one
// whose meaning a move might not preserve.
bool ShapeKey(const char16_t* text, cells::LCTX* lctx, const KeyContext& context, unsigned column,
              unsigned row, std::u16string& key, std::vector<CCCellValue>& numbers,
              std::vector<TextSlot>& slots) {
    const char16_t decimal = context[2];
    numbers.clear();
    slots.clear();
    KeyWriter out;
    for (size_t i = 0; i < 5; ++i)
        out.Put(context[i]);
    const char16_t escape = context[5];
    char16_t previous = 0;  // the last character other than white space, outside texts
    const char16_t* lastAddressEnd = nullptr;
    unsigned lastFlags = 0;
    for (const char16_t* p = text; *p;) {
        const char16_t c = *p;
        if (c < 0x20 || c >= 0x80 || c == u'\'' || c == u'[' || c == u'{') return false;
        if (c == u'"') {
            out.Put(*p++);
            while (*p && *p != u'"') {
                if (*p < 0x20) return false;
                if (escape && *p == escape && p[1]) out.Put(*p++);
                out.Put(*p++);
            }
            if (*p) out.Put(*p++);
            previous = u'"';
        } else if (IsRunChar(c, decimal)) {
            const char16_t* start = p;
            while (*p && IsRunChar(*p, decimal))
                ++p;
            std::u16string_view run(start, size_t(p - start));
            // A run the reference scanner reads whole is one cell address (never one that
            // starts with a digit).
            const char16_t* end = start;
            unsigned char col = 0, flags = 0;
            uint16_t r = 0;
            if (IsDigit(run[0])) {
                const char16_t* q = start;
                CCCellValue number;
                if (_EatConstant(lctx, q, number) && number.IsNumber() && q >= p) {
                    if (q > p) return false;  // an exponent read past the characters
                    out.Put(kNumberMark);
                    numbers.push_back(number);
                    slots.push_back({uint32_t(start - text), uint32_t(run.size()), 0, true});
                } else {
                    out.Put(run);
                }
            } else if (!_EatRC(nullptr, end, col, r, flags) || end != p) {
                out.Put(run);
            } else {
                const char16_t* next = p;
                SkipWhite(next);
                if (*next == u'!') return false;
                // A range puts its corners in order, and a "$" on one corner only would
                // decide between equal coordinates differently after a move.
                if (start > text + 1 && start[-1] == u':' && start - 1 == lastAddressEnd &&
                    flags != lastFlags)
                    return false;
                lastAddressEnd = p;
                lastFlags = flags;
                const bool exponentLike = (run[0] == u'E' || run[0] == u'e') && IsDigit(run[1]);
                if (exponentLike && (IsDigit(previous) || previous == u'.' || previous == decimal))
                    return false;
                if (!(flags & 2)) {
                    const char16_t* digits = start;
                    while (!IsDigit(*digits))
                        ++digits;
                    slots.push_back(
                        {uint32_t(digits - text), uint32_t(p - digits), uint32_t(r) + 1, false});
                }
                out.Put(kAddressMark);
                out.Put(char16_t(flags));
                out.Put(char16_t((flags & 1) ? col : unsigned(col) - column));
                out.Put(char16_t((flags & 2) ? r : unsigned(r) - row));
            }
            previous = run.back();
        } else {
            if (!ostrel::text::IsSpace(c)) previous = c;
            out.Put(*p++);
        }
        if (out.TooLong()) return false;
    }
    out.CopyTo(key);
    return true;
}

// Every node is one whose references a move shifts in place.
bool Movable(const CCFormula* formula) {
    switch (formula->GetType()) {
        case FORMULA_CONST:
        case FORMULA_CONST_ARRAY:
            return true;
        case FORMULA_REF: {
            const CCRef* ref = static_cast<const CCRefFormula*>(formula)->GetRef();
            if (!ref) return true;
            const int type = ref->GetType();
            return type == REF_TYPE_RC || type == REF_TYPE_REGION || type == REF_TYPE_NAME;
        }
        case FORMULA_OP:
        case FORMULA_CHOOSE:
        case FORMULA_REFOP:
            for (const CCFormulaList* a = static_cast<const CCOpFormula*>(formula)->GetArgs(); a;
                 a = a->m_pNext)
                if (!a->m_pFormula || !Movable(a->m_pFormula)) return false;
            return true;
        default:
            return false;
    }
}

// The relative parts of every reference follow the move, and the constant nodes are listed
// in the parser's order on the way; false when a reference would leave the grid (the tree
// is then half moved and must be dropped).
bool MoveInPlace(cells::CTX* ctx, CCFormula* formula, const CCRef* from, const CCRef* to,
                 std::vector<CCConstFormula*>& constants) {
    if (formula->GetType() == FORMULA_REF) {
        auto* node = static_cast<CCRefFormula*>(formula);
        CCRef* ref = node->GetRef();
        if (!ref) return true;
        unsigned char mode = node->GetMode();
        try {
            ref->Update(ctx, from, to, mode);
        } catch (int) {
            return false;
        }
        node->SetMode(mode);
        return true;
    }
    if (formula->GetType() == FORMULA_CONST) {
        constants.push_back(static_cast<CCConstFormula*>(formula));
        return true;
    }
    if (formula->GetType() == FORMULA_CONST_ARRAY) return true;
    for (CCFormulaList* a = static_cast<CCOpFormula*>(formula)->GetArgsRef(); a; a = a->m_pNext)
        if (!MoveInPlace(ctx, a->m_pFormula, from, to, constants)) return false;
    return true;
}

// The constant nodes of a tree in the order the parser made them (the text's order).
void CollectConstants(CCFormula* formula, std::vector<CCConstFormula*>& constants) {
    switch (formula->GetType()) {
        case FORMULA_CONST:
            constants.push_back(static_cast<CCConstFormula*>(formula));
            return;
        case FORMULA_OP:
        case FORMULA_CHOOSE:
        case FORMULA_REFOP:
            for (CCFormulaList* a = static_cast<CCOpFormula*>(formula)->GetArgsRef(); a;
                 a = a->m_pNext)
                CollectConstants(a->m_pFormula, constants);
            return;
        default:
            return;
    }
}

bool SameNumber(const CCCellValue& a, const CCCellValue& b) {
    if (!a.IsNumber() || !b.IsNumber()) return false;
    const double x = a.GetNumber(), y = b.GetNumber();
    return std::memcmp(&x, &y, sizeof x) == 0 &&
           a.GetFormat().GetData() == b.GetFormat().GetData() &&
           a.GetFormat().IsEqual(cells::invariant_LCTX(), b.GetFormat());
}

// Which constant node each number of the text became; false unless every number matches a
// node of the same value and format and every node passed over is no number (a text, a
// truth value, an error).
bool MatchNumbers(CCFormula* tree, const std::vector<CCCellValue>& numbers,
                  std::vector<uint16_t>& slots) {
    std::vector<CCConstFormula*> constants;
    CollectConstants(tree, constants);
    if (constants.size() > 0xFFFF) return false;
    auto passable = [](const CCCellValue& v) {
        return !v.IsNumber() || v.GetFormat().getType() == C_NF_BOOL;
    };
    size_t node = 0;
    for (const CCCellValue& number : numbers) {
        while (node < constants.size() && !SameNumber(constants[node]->GetValue(), number)) {
            if (!passable(constants[node]->GetValue())) return false;
            ++node;
        }
        if (node == constants.size()) return false;
        slots.push_back(uint16_t(node++));
    }
    for (; node < constants.size(); ++node)
        if (!passable(constants[node]->GetValue())) return false;
    return true;
}

bool EndsLikeNumber(char16_t c, char16_t decimal) {
    return IsDigit(c) || c == u'.' || c == decimal;
}

// Whether text starts with the n units of fixed (which hold no terminator): compared unit by
// unit, so that a shorter text stops the comparison at its end.
bool StartsWith(const char16_t* text, const char16_t* fixed, size_t n) {
    for (size_t i = 0; i < n; ++i)
        if (text[i] != fixed[i]) return false;
    return true;
}

// Whether text, typed at row of the memo's column, is the memo's text with every relative
// row moved by the rows between them and its numbers possibly others: then it has the
// memo's shape, and its numbers are put in numbers. Whatever the key builder looks at is
// either the same characters as in the memo's text or a slot read here as it reads it: an
// address's row, written plainly and within the grid, keeps the address one (and its
// offset from the row the same); a number must read as one, to the end of its characters.
bool FilledDown(const ColumnMemo& memo, const char16_t* text, unsigned row, cells::LCTX* lctx,
                std::vector<CCCellValue>& numbers) {
    numbers.clear();
    const char16_t* was = memo.text.c_str();
    const long moved = long(row) - long(memo.row);
    const char16_t decimal = memo.context[2];
    size_t from = 0;  // in was
    const char16_t* at = text;
    for (const TextSlot& slot : memo.slots) {
        const size_t fixed = slot.offset - from;
        if (!StartsWith(at, was + from, fixed)) return false;
        at += fixed;
        from = slot.offset + slot.length;
        if (!slot.number) {
            const long value = long(slot.value) + moved;
            if (value < 1 || value > 65536) return false;
            // A row has at most five digits, written from the end.
            char16_t digits[8];
            size_t n = 0;
            for (long rest = value; rest > 0; rest /= 10)
                digits[7 - n++] = char16_t(u'0' + rest % 10);
            if (!StartsWith(at, digits + 8 - n, n)) return false;
            at += n;
            continue;
        }
        const char16_t* end = at;
        while (IsRunChar(*end, decimal))
            ++end;
        if (end == at || !IsDigit(*at)) return false;
        // The key builder looks at the character a number ends on when an address-like
        // exponent follows; it must be of the same kind as the memo's.
        if (EndsLikeNumber(end[-1], decimal) != EndsLikeNumber(was[from - 1], decimal))
            return false;
        const char16_t* q = at;
        CCCellValue number;
        if (!_EatConstant(lctx, q, number) || !number.IsNumber() || q != end) return false;
        numbers.push_back(number);
        at = end;
    }
    const size_t rest = memo.text.size() - from;
    return StartsWith(at, was + from, rest) && at[rest] == 0;
}

void Remember(ShapeCache& cache, ColumnMemo& memo, const char16_t* text, unsigned row,
              cells::LCTX* lctx, const KeyContext& context, const Shape* shape) {
    memo.text.assign(text);
    memo.slots.swap(cache.slots);
    memo.context = context;
    memo.lctx = lctx;
    memo.row = row;
    memo.shape = shape;
    memo.generation = cache.generation;
}

}  // namespace

namespace ostrel::formula {

int ParseFormulaTextAt(cells::CTX* ctx, const char16_t* text, CCFormula*& formula,
                       const CCRef* position) {
    CCCellManager* manager = ctx ? ctx->GetManager() : nullptr;
    if (!text || !position || position->GetType() != REF_TYPE_RC || !manager ||
        manager->GetType() != 1)
        return ParseFormulaText(ctx, text, formula);
    const auto* cell = static_cast<const CCRCRef*>(position);
    ShapeCache& cache = Cache();
    std::u16string& key = cache.key;
    std::vector<CCCellValue>& numbers = cache.numbers;
    cells::LCTX* lctx = LctxOf(ctx);
    const KeyContext context = ContextOf(lctx);
    ColumnMemo& memo = cache.memos[cell->GetColumn()];
    const Shape* known = nullptr;
    if (memo.shape && memo.generation == cache.generation && memo.lctx == lctx &&
        memo.context == context && FilledDown(memo, text, cell->GetRow(), lctx, numbers)) {
        // A fill is checked against the text that began it, which stays remembered.
        known = memo.shape;
    } else {
        memo.shape = nullptr;
        if (!ShapeKey(text, lctx, context, cell->GetColumn(), cell->GetRow(), key, numbers,
                      cache.slots))
            return ParseFormulaText(ctx, text, formula);
        if (auto found = cache.shapes.find(key); found != cache.shapes.end()) {
            known = &found->second;
            Remember(cache, memo, text, cell->GetRow(), lctx, context, known);
        }
    }

    ShapeMap& shapes = cache.shapes;
    if (known) {
        const Shape& shape = *known;
        std::unique_ptr<CCFormula> moved(shape.tree->Copy());
        CCRCRef from(shape.column, shape.row);
        std::vector<CCConstFormula*>& constants = cache.constants;
        constants.clear();
        if (moved && MoveInPlace(ctx, moved.get(), &from, position, constants)) {
            for (size_t i = 0; i < numbers.size(); ++i)
                constants[shape.numberSlots[i]]->GetValue().Set(numbers[i]);
            formula = moved.release();
            return 1;
        }
        return ParseFormulaText(ctx, text, formula);
    }
    if (!ParseFormulaText(ctx, text, formula)) return 0;
    Shape shape;
    if (Movable(formula) && MatchNumbers(formula, numbers, shape.numberSlots)) {
        if (shapes.size() >= kMaxShapes) cache.Clear();
        shape.tree.reset(formula->Copy());
        shape.column = cell->GetColumn();
        shape.row = cell->GetRow();
        if (shape.tree) {
            const Shape& kept = shapes.emplace(key, std::move(shape)).first->second;
            Remember(cache, memo, text, cell->GetRow(), lctx, context, &kept);
        }
    }
    return 1;
}

void ForgetFormulaShapes() {
    ShapeCache& cache = Cache();
    cache.Clear();
    cache.numbers.clear();
}

}  // namespace ostrel::formula
