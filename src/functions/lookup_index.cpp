// SPDX-License-Identifier: Apache-2.0
#include "functions/lookup_index.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <deque>
#include <string_view>

#include "formats/text_helpers.h"

namespace ostrel::functions::lookup {

namespace {

// Texts an index may hold, in UTF-16 units: past it, the range is walked.
constexpr size_t kMaxTextUnits = size_t(1) << 24;

int Sign(int c) {
    return (c > 0) - (c < 0);
}

// Numbers that compare equal share one key: -0 is 0. The bits are mixed one to one, so
// that whole numbers, which differ only in their high bits, spread over the table.
uint64_t NumberKey(double x) {
    if (x == 0) x = 0;
    uint64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    bits ^= bits >> 31;
    bits *= 0x7FB5D329728EA185ull;
    bits ^= bits >> 27;
    return bits;
}

bool SameText(const char16_t* a, const char16_t* b) {
    if (!a || !b) return !a && !b;
    return std::u16string_view(a) == std::u16string_view(b);
}

// The rank of the last key standing before a position, among keys at ascending positions.
template <class Positions>
uint32_t LastRankBefore(const Positions& positions, uint32_t position) {
    auto it = std::lower_bound(positions.begin(), positions.end(), position);
    return it == positions.begin() ? kNone : uint32_t(it - positions.begin() - 1);
}

template <class Positions>
Key KeyAt(const Positions& positions, size_t rank) {
    if (rank >= positions.size()) return {};
    return {uint32_t(rank), positions[rank]};
}

// Ranks from `from` to `to` whose keys changed since running extrema were last brought up to
// date (none while from is SIZE_MAX): the walk that brings them goes at least past `to`.
struct Stale {
    size_t from = SIZE_MAX;
    size_t to = 0;  // 0 while none changed, so that the first change sets it
    // The ranks after one inserted or erased move with it.
    void Inserted(size_t rank) { Mark(rank, from != SIZE_MAX && rank <= to ? to + 1 : to); }
    void Erased(size_t rank) { Mark(rank, from != SIZE_MAX && rank < to ? to - 1 : to); }

private:
    void Mark(size_t rank, size_t last) {
        from = std::min(from, rank);
        to = std::max(last, rank);
    }
};

// Running maxima (minima) of keys in rank order, brought up to date where keys changed: a
// prefix extremum depends only on the one before it and on its key, so past the last changed
// rank the walk stops where it meets the value that stood there already.
template <class Extrema, class Pick>
void BringUp(Extrema& extrema, Stale& stale, Pick pick) {
    for (size_t j = stale.from; j < extrema.size(); ++j) {
        const auto now = pick(j, j == 0 ? nullptr : &extrema[j - 1]);
        if (j > stale.to && now == extrema[j]) break;
        extrema[j] = now;
    }
    stale = Stale{};
}

}  // namespace

// Without NaN, CompareEQTypeValues orders numbers as < and > do, and equal numbers are ==.
//
// The keys are kept in deques (the texts' too), so that a key typed above the others (a table
// typed from the bottom) goes in front in constant time as one typed below goes at the end. The
// running extrema are brought up to date only when a search asks for them: a key in front of the
// others may change every running minimum (or maximum) after it, which a table typed from
// the bottom would otherwise pay for every key.
struct KeyIndex::Numbers {
    std::deque<uint32_t> positions;
    std::deque<double> keys;
    platform::FlatMultiIndex<Span> spans;
    bool hashed = false;
    size_t nans = 0;

    void Insert(size_t rank, uint32_t position, double x) {
        if (std::isnan(x)) ++nans;
        positions.insert(positions.begin() + ptrdiff_t(rank), position);
        keys.insert(keys.begin() + ptrdiff_t(rank), x);
        maxima.insert(maxima.begin() + ptrdiff_t(rank), x);
        minima.insert(minima.begin() + ptrdiff_t(rank), x);
        staleMaxima.Inserted(rank);
        staleMinima.Inserted(rank);
        if (hashed) Note(position, x);
    }
    void Erase(size_t rank) {
        const double x = keys[rank];
        const uint32_t position = positions[rank];
        if (std::isnan(x)) --nans;
        positions.erase(positions.begin() + ptrdiff_t(rank));
        keys.erase(keys.begin() + ptrdiff_t(rank));
        maxima.erase(maxima.begin() + ptrdiff_t(rank));
        minima.erase(minima.begin() + ptrdiff_t(rank));
        staleMaxima.Erased(rank);
        staleMinima.Erased(rank);
        if (hashed) Forget(position, x);
    }
    // Of keys[0..i]: non-decreasing.
    const std::deque<double>& Maxima() {
        BringUp(maxima, staleMaxima, [&](size_t j, const double* before) {
            return before && !(keys[j] > *before) ? *before : keys[j];
        });
        return maxima;
    }
    // Non-increasing.
    const std::deque<double>& Minima() {
        BringUp(minima, staleMinima, [&](size_t j, const double* before) {
            return before && !(keys[j] < *before) ? *before : keys[j];
        });
        return minima;
    }
    Span* Spanned(double x) {
        return spans.FindIf(NumberKey(x), [](const Span&) { return true; });
    }
    void Note(uint32_t position, double x) {
        if (Span* span = Spanned(x)) {
            span->first = std::min(span->first, position);
            span->last = std::max(span->last, position);
        } else {
            spans.Insert(NumberKey(x), Span{position, position});
        }
    }
    // The key x left position: its span shrinks to the keys equal to it that remain.
    void Forget(uint32_t position, double x) {
        Span* span = Spanned(x);
        if (!span || (span->first != position && span->last != position)) return;
        Span rest;
        for (size_t j = 0; j < keys.size(); ++j) {
            if (keys[j] != x) continue;
            if (rest.first == kNone) rest.first = positions[j];
            rest.last = positions[j];
        }
        if (rest.first == kNone)
            spans.EraseIf(NumberKey(x), [](const Span&) { return true; });
        else
            *span = rest;
    }
    const Span* Find(double x) {
        if (!hashed) {
            spans.Reserve(keys.size());
            for (size_t i = 0; i < keys.size(); ++i)
                Note(positions[i], keys[i]);
            hashed = true;
        }
        return Spanned(x);
    }

private:
    std::deque<double> maxima;
    std::deque<double> minima;
    Stale staleMaxima;
    Stale staleMinima;
};

// Texts live one after another in a pool, each terminated, so that they compare through
// the same StrColl as the values they came from; a null text keeps no place in it. A text
// is known by its id (its place among the texts ever added), which stays when keys are
// inserted or erased; an erased text's units stay in the pool until the index is rebuilt.
struct KeyIndex::Texts {
    struct Probe {
        const char16_t* text;
    };
    struct Less {
        const Texts* texts;
        bool caseSensitive;
        using is_transparent = void;
        int Compare(const char16_t* a, const char16_t* b) const {
            return StrColl(a, b, caseSensitive ? 1 : 0);
        }
        bool operator()(uint32_t a, uint32_t b) const {
            return Compare(texts->Text(a), texts->Text(b)) < 0;
        }
        bool operator()(uint32_t a, Probe b) const { return Compare(texts->Text(a), b.text) < 0; }
        bool operator()(Probe a, uint32_t b) const { return Compare(a.text, texts->Text(b)) < 0; }
    };
    // What each way of comparing texts needs, made when first asked for.
    struct Order {
        bool ordered = false;
        std::deque<uint32_t> maxima;  // ids of the greatest text of ranks 0..i
        std::deque<uint32_t> minima;
        Stale staleMaxima;
        Stale staleMinima;
        std::unique_ptr<std::map<uint32_t, Span, Less>> spans;  // by the id of one of them
    };

    std::deque<uint32_t> positions;  // by rank
    std::deque<uint32_t> ids;        // by rank
    std::vector<uint32_t> offsets;   // by id; kNone for a null text
    std::vector<char16_t> pool;
    Order orders[2];

    Texts() = default;
    Texts(const Texts&) = delete;  // the orders' comparators point here
    Texts& operator=(const Texts&) = delete;

    const char16_t* Text(uint32_t id) const {
        return offsets[id] == kNone ? nullptr : pool.data() + offsets[id];
    }
    const char16_t* TextAt(size_t rank) const { return Text(ids[rank]); }
    Less LessFor(Case c) const { return Less{this, c == Case::sensitive}; }

    bool Insert(size_t rank, uint32_t position, const char16_t* text) {
        const size_t length = text ? std::char_traits<char16_t>::length(text) : 0;
        if (pool.size() + length + 1 > kMaxTextUnits) return false;
        const uint32_t id = uint32_t(offsets.size());
        if (text) {
            offsets.push_back(uint32_t(pool.size()));
            pool.insert(pool.end(), text, text + length + 1);
        } else {
            offsets.push_back(kNone);
        }
        positions.insert(positions.begin() + ptrdiff_t(rank), position);
        ids.insert(ids.begin() + ptrdiff_t(rank), id);
        for (Case c : {Case::sensitive, Case::blind}) {
            Order& o = orders[size_t(c)];
            if (o.ordered) {
                o.maxima.insert(o.maxima.begin() + ptrdiff_t(rank), id);
                o.minima.insert(o.minima.begin() + ptrdiff_t(rank), id);
                o.staleMaxima.Inserted(rank);
                o.staleMinima.Inserted(rank);
            }
            if (o.spans) NoteIn(*o.spans, id, position);
        }
        return true;
    }
    void Erase(size_t rank) {
        const uint32_t id = ids[rank];
        const uint32_t position = positions[rank];
        positions.erase(positions.begin() + ptrdiff_t(rank));
        ids.erase(ids.begin() + ptrdiff_t(rank));
        for (Case c : {Case::sensitive, Case::blind}) {
            Order& o = orders[size_t(c)];
            if (o.ordered) {
                o.maxima.erase(o.maxima.begin() + ptrdiff_t(rank));
                o.minima.erase(o.minima.begin() + ptrdiff_t(rank));
                o.staleMaxima.Erased(rank);
                o.staleMinima.Erased(rank);
            }
            if (o.spans) Forget(*o.spans, LessFor(c), id, position);
        }
    }
    // The running extrema of a way of comparing, up to date.
    const std::deque<uint32_t>& Maxima(Case c) {
        Order& o = Ordered(c);
        const Less less = LessFor(c);
        BringUp(o.maxima, o.staleMaxima, [&](size_t j, const uint32_t* before) {
            return before && !less(*before, ids[j]) ? *before : ids[j];
        });
        return o.maxima;
    }
    const std::deque<uint32_t>& Minima(Case c) {
        Order& o = Ordered(c);
        const Less less = LessFor(c);
        BringUp(o.minima, o.staleMinima, [&](size_t j, const uint32_t* before) {
            return before && !less(ids[j], *before) ? *before : ids[j];
        });
        return o.minima;
    }
    void NoteIn(std::map<uint32_t, Span, Less>& spans, uint32_t id, uint32_t position) const {
        auto it = spans.find(Probe{Text(id)});
        if (it == spans.end()) {
            spans.emplace(id, Span{position, position});
            return;
        }
        it->second.first = std::min(it->second.first, position);
        it->second.last = std::max(it->second.last, position);
    }
    void Forget(std::map<uint32_t, Span, Less>& spans, const Less& less, uint32_t id,
                uint32_t position) const {
        auto it = spans.find(Probe{Text(id)});
        if (it == spans.end() || (it->second.first != position && it->second.last != position))
            return;
        Span rest;
        for (size_t j = 0; j < ids.size(); ++j) {
            if (less(ids[j], id) || less(id, ids[j])) continue;
            if (rest.first == kNone) rest.first = positions[j];
            rest.last = positions[j];
        }
        if (rest.first == kNone)
            spans.erase(it);
        else
            it->second = rest;
    }
    Order& Ordered(Case c) {
        Order& o = orders[size_t(c)];
        if (!o.ordered) {
            o.maxima = ids;
            o.minima = ids;
            // Every rank is new: the walks go to the end.
            o.staleMaxima = o.staleMinima = Stale{0, ids.empty() ? 0 : ids.size() - 1};
            o.ordered = true;
        }
        return o;
    }
    const Span* Find(const char16_t* text, Case c) {
        Order& o = orders[size_t(c)];
        if (!o.spans) {
            o.spans = std::make_unique<std::map<uint32_t, Span, Less>>(LessFor(c));
            for (size_t rank = 0; rank < ids.size(); ++rank)
                NoteIn(*o.spans, ids[rank], positions[rank]);
        }
        auto it = o.spans->find(Probe{text});
        return it == o.spans->end() ? nullptr : &it->second;
    }
};

KeyIndex::KeyIndex(uint32_t size)
    : m_size(size), m_numbers(std::make_unique<Numbers>()), m_texts(std::make_unique<Texts>()) {}

KeyIndex::~KeyIndex() = default;

bool KeyIndex::Append(const CCCellValue& value) {
    if (m_appended >= m_size) return false;
    const uint32_t position = m_appended++;
    if (value.IsNumber()) {
        m_numbers->Insert(m_numbers->keys.size(), position, value.GetNumber());
    } else if (value.IsText()) {
        return m_texts->Insert(m_texts->ids.size(), position, value.GetText());
    }
    return true;
}

bool KeyIndex::Serves(const CCCellValue& probe) const {
    if (probe.IsText()) return true;
    return probe.IsNumber() && !std::isnan(probe.GetNumber()) && m_numbers->nans == 0;
}

uint32_t KeyIndex::FirstEqual(const CCCellValue& probe, Case order) {
    const Span* span = probe.IsNumber() ? m_numbers->Find(probe.GetNumber())
                                        : m_texts->Find(probe.GetText(), order);
    return span ? span->first : kNone;
}

uint32_t KeyIndex::LastEqual(const CCCellValue& probe, Case order) {
    const Span* span = probe.IsNumber() ? m_numbers->Find(probe.GetNumber())
                                        : m_texts->Find(probe.GetText(), order);
    return span ? span->last : kNone;
}

Key KeyIndex::FirstAfter(const CCCellValue& probe, Case order) {
    if (probe.IsNumber()) {
        const std::deque<double>& maxima = m_numbers->Maxima();
        auto it = std::upper_bound(maxima.begin(), maxima.end(), probe.GetNumber());
        return KeyAt(m_numbers->positions, size_t(it - maxima.begin()));
    }
    const std::deque<uint32_t>& maxima = m_texts->Maxima(order);
    const Texts::Less less = m_texts->LessFor(order);
    const Texts::Probe p{probe.GetText()};
    auto it = std::partition_point(maxima.begin(), maxima.end(),
                                   [&](uint32_t rank) { return !less(p, rank); });
    return KeyAt(m_texts->positions, size_t(it - maxima.begin()));
}

Key KeyIndex::FirstNotAfter(const CCCellValue& probe, Case order) {
    if (probe.IsNumber()) {
        const std::deque<double>& minima = m_numbers->Minima();
        const double x = probe.GetNumber();
        auto it =
            std::partition_point(minima.begin(), minima.end(), [x](double m) { return m > x; });
        return KeyAt(m_numbers->positions, size_t(it - minima.begin()));
    }
    const std::deque<uint32_t>& minima = m_texts->Minima(order);
    const Texts::Less less = m_texts->LessFor(order);
    const Texts::Probe p{probe.GetText()};
    auto it = std::partition_point(minima.begin(), minima.end(),
                                   [&](uint32_t rank) { return less(p, rank); });
    return KeyAt(m_texts->positions, size_t(it - minima.begin()));
}

Key KeyIndex::LastBefore(const CCCellValue& probe, uint32_t position) const {
    if (probe.IsNumber()) {
        const uint32_t rank = LastRankBefore(m_numbers->positions, position);
        return rank == kNone ? Key{} : KeyAt(m_numbers->positions, rank);
    }
    const uint32_t rank = LastRankBefore(m_texts->positions, position);
    return rank == kNone ? Key{} : KeyAt(m_texts->positions, rank);
}

int KeyIndex::Compare(const Key& key, const CCCellValue& probe, Case order) const {
    if (probe.IsNumber()) {
        const double a = m_numbers->keys[key.rank], b = probe.GetNumber();
        return (a > b) - (a < b);
    }
    return Sign(StrColl(m_texts->TextAt(key.rank), probe.GetText(), order == Case::sensitive));
}

bool KeyIndex::Update(uint32_t position, const CCCellValue& value) {
    if (position >= m_size) return false;
    Numbers& numbers = *m_numbers;
    Texts& texts = *m_texts;
    const size_t number =
        size_t(std::lower_bound(numbers.positions.begin(), numbers.positions.end(), position) -
               numbers.positions.begin());
    const size_t text =
        size_t(std::lower_bound(texts.positions.begin(), texts.positions.end(), position) -
               texts.positions.begin());
    const bool heldNumber =
        number < numbers.positions.size() && numbers.positions[number] == position;
    const bool heldText = text < texts.positions.size() && texts.positions[text] == position;
    if (heldNumber && value.IsNumber() && value.GetNumber() == numbers.keys[number]) return true;
    if (heldText && value.IsText() && SameText(texts.TextAt(text), value.GetText())) return true;
    if (heldNumber) numbers.Erase(number);
    if (heldText) texts.Erase(text);
    if (value.IsNumber()) numbers.Insert(number, position, value.GetNumber());
    if (value.IsText()) return texts.Insert(text, position, value.GetText());
    return true;
}

}  // namespace ostrel::functions::lookup
