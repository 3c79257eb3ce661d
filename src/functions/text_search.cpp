// SPDX-License-Identifier: Apache-2.0
// The text functions that look for one text in another: FINDTEXT compares exactly;
// SEARCHTEXT and LIKE ignore case and read their pattern with wildcards: ? stands for any one
// character, * for any run of characters (none included), and ~ makes the character after
// it stand for itself ("~*" is a star). A ~ at the very end stands for itself.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "functions/text_functions.h"
#include "platform/text/unicode.h"

using ostrel::functions::RangeWalk;
using ostrel::functions::SetBool;
using ostrel::functions::SetNumber;
using ostrel::functions::TextArgument;
using ostrel::functions::ValueToText;

namespace {

constexpr size_t kNotFound = std::u16string::npos;

// A pattern character: one to match, or any one (?).
struct PatternUnit {
    char16_t c;
    bool any;
};
using Segment = std::vector<PatternUnit>;

// A pattern cut at its stars: the first segment begins the match, each later one follows the
// one before with anything (or nothing) between them.
std::vector<Segment> ParsePattern(std::u16string_view pattern) {
    std::vector<Segment> segments(1);
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char16_t c = pattern[i];
        if (c == u'~' && i + 1 < pattern.size())
            segments.back().push_back({pattern[++i], false});
        else if (c == u'?')
            segments.back().push_back({0, true});
        else if (c == u'*')
            segments.emplace_back();
        else
            segments.back().push_back({c, false});
    }
    return segments;
}

bool MatchesAt(std::u16string_view text, size_t at, const Segment& segment) {
    if (at > text.size() || segment.size() > text.size() - at) return false;
    for (size_t j = 0; j < segment.size(); ++j) {
        if (!segment[j].any && text[at + j] != segment[j].c) return false;
    }
    return true;
}

// The first position from `from` at which the segment lies wholly before `end`.
size_t FindSegment(std::u16string_view text, size_t from, size_t end, const Segment& segment) {
    for (size_t at = from; at <= end && segment.size() <= end - at; ++at) {
        if (MatchesAt(text, at, segment)) return at;
    }
    return kNotFound;
}

// Whether the segments after the first follow each other within [from, end). Taking each
// at its earliest place leaves the most room for the ones after it, so no other choice can
// succeed where this one fails.
bool RestFollows(std::u16string_view text, const std::vector<Segment>& segments, size_t first,
                 size_t last, size_t from, size_t end) {
    for (size_t k = first; k < last; ++k) {
        const size_t at = FindSegment(text, from, end, segments[k]);
        if (at == kNotFound) return false;
        from = at + segments[k].size();
    }
    return true;
}

// Where the first match at or after `from` starts. The match may start only where the first
// segment does, and the earliest such place is the answer when any is: a later start leaves
// the other segments less room.
size_t SearchPattern(std::u16string_view text, size_t from, const std::vector<Segment>& segments) {
    const size_t at = FindSegment(text, from, text.size(), segments[0]);
    if (at == kNotFound) return kNotFound;
    const size_t next = at + segments[0].size();
    return RestFollows(text, segments, 1, segments.size(), next, text.size()) ? at : kNotFound;
}

// Whether the whole text matches: the first segment at its start, the last at its end.
bool MatchesWhole(std::u16string_view text, const std::vector<Segment>& segments) {
    const Segment& first = segments.front();
    if (segments.size() == 1) return first.size() == text.size() && MatchesAt(text, 0, first);
    const Segment& last = segments.back();
    if (first.size() + last.size() > text.size()) return false;
    const size_t end = text.size() - last.size();
    return MatchesAt(text, 0, first) && MatchesAt(text, end, last) &&
           RestFollows(text, segments, 1, segments.size() - 1, first.size(), end);
}

// FINDTEXT and SEARCHTEXT: the start must lie within the text or just after it; an empty
// text to find is found at the start.
int Locate(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell,
           bool wildcards) {
    std::u16string find;
    std::u16string within;
    if (int error = TextArgument(ctx, args, 0, find, cell)) return error;
    if (int error = TextArgument(ctx, args, 1, within, cell)) return error;
    int64_t start = 1;
    if (int error = text_functions::OptionalCountArgument(ctx, args, 2, 1, 1, start, cell))
        return error;
    if (uint64_t(start) > within.size() + 1) return 3;
    const size_t from = size_t(start - 1);
    size_t at = kNotFound;
    if (wildcards) {
        // Simple case mapping keeps every character in its place, so positions hold.
        at = SearchPattern(ostrel::text::ToLower(within), from,
                           ParsePattern(ostrel::text::ToLower(find)));
    } else {
        at = within.find(find, from);
    }
    if (at == kNotFound) return 3;
    SetNumber(result, double(at) + 1);
    return 0;
}

}  // namespace

namespace text_functions {

OSTREL_TEXT_ROUTINE(FindText) {
    return Locate(ctx, result, args, cell, false);
}

OSTREL_TEXT_ROUTINE(SearchText) {
    return Locate(ctx, result, args, cell, true);
}

// LIKE(text, pattern, ...): true when the whole text matches one of the patterns. The
// patterns after the first may be ranges, read value by value; they are tried in order, and
// the first error value met before a match is the result.
OSTREL_TEXT_ROUTINE(Like) {
    std::u16string text;
    if (int error = TextArgument(ctx, args, 0, text, cell)) return error;
    text = ostrel::text::ToLower(text);
    std::u16string pattern;
    CCCellValue value;
    for (const CCFormulaList* a = args ? args->m_pNext : nullptr; a; a = a->m_pNext) {
        RangeWalk walk(ctx, a->m_pFormula, cell);
        if (!walk.Opened()) return 1;
        while (walk.Next(value)) {
            if (int error = ValueToText(ctx, value, pattern)) return error;
            if (MatchesWhole(text, ParsePattern(ostrel::text::ToLower(pattern)))) {
                SetBool(result, true);
                return 0;
            }
        }
    }
    SetBool(result, false);
    return 0;
}

}  // namespace text_functions
