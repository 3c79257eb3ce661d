// SPDX-License-Identifier: Apache-2.0
// Cell and range references in A1 form, names and sheet names.
#include <algorithm>
#include <utility>

#include "formula/scan_internal.h"
#include "ostrel/engine/cell_manager.h"
#include "ostrel/formula/scanner.h"
#include "ostrel/platform/ui.h"
#include "ostrel/refs/name_ref.h"
#include "ostrel/refs/rc_ref.h"
#include "ostrel/refs/region_ref.h"

using namespace ostrel::scan;

namespace {

constexpr int kLastColumn = 255;
constexpr int kRowsTyped = 65536;
// Sheet names are kept in buffers of this many characters, terminator included.
constexpr size_t kSheetNameBuffer = 80;

// 0-25 for a letter of either case, else -1.
int Letter(char16_t c) {
    if (c >= u'a' && c <= u'z') return c - u'a';
    if (c >= u'A' && c <= u'Z') return c - u'A';
    return -1;
}

bool ScanColumn(const char16_t*& p, unsigned char& column, int& absolute) {
    const char16_t* q = p;
    int isAbsolute = 0;
    if (*q == u'$') {
        isAbsolute = 1;
        ++q;
    }
    int value = Letter(*q);
    if (value < 0) return false;
    ++q;
    int second = Letter(*q);
    if (second >= 0) {
        value = (value + 1) * 26 + second;
        ++q;
    }
    if (value > kLastColumn) return false;
    column = static_cast<unsigned char>(value);
    absolute = isAbsolute;
    p = q;
    return true;
}

// Rows are typed from 1; a typed 0 names no row, and a run too long for an int is no row
// either (it must not wrap around to a small one).
bool ScanRow(const char16_t*& p, uint16_t& row, int& absolute) {
    const char16_t* q = p;
    int isAbsolute = 0;
    if (*q == u'$') {
        isAbsolute = 1;
        ++q;
    }
    int typed = 0;
    if (!ReadInt(q, typed) || typed < 1 || typed > kRowsTyped) return false;
    row = static_cast<uint16_t>(typed - 1);
    absolute = isAbsolute;
    p = q;
    return true;
}

bool ScanRC(const char16_t*& p, unsigned char& column, uint16_t& row, unsigned char& flags) {
    const char16_t* q = p;
    int columnAbsolute = 0, rowAbsolute = 0;
    if (!ScanColumn(q, column, columnAbsolute) || !ScanRow(q, row, rowAbsolute)) return false;
    flags = static_cast<unsigned char>(columnAbsolute | (rowAbsolute << 1));
    p = q;
    return true;
}

// Out of memory leaves as std::bad_alloc: a reference that could not be made is no reason to
// read the text as something else.
template <typename Ref, typename... Args>
CCRef* NewRef(Args&&... args) {
    return new Ref(std::forward<Args>(args)...);
}

bool ScanSpreadRef(const char16_t*& p, CCRef*& ref, unsigned char& flags) {
    const char16_t* q = p;
    SkipWhite(q);
    unsigned char column1 = 0, flags1 = 0;
    uint16_t row1 = 0;
    if (!ScanRC(q, column1, row1, flags1)) return false;

    const char16_t* r = q;
    bool range = false;
    if (*r == u':') {
        ++r;
        range = true;
    } else if (r[0] == u'.' && r[1] == u'.') {
        r += 2;
        range = true;
    }
    unsigned char column2 = 0, flags2 = 0;
    uint16_t row2 = 0;
    if (range && ScanRC(r, column2, row2, flags2)) {
        // The corners are stored in ascending order; each "$" stays with the coordinate it
        // was typed on, so $B$2:A1 is A1:$B$2.
        if (column1 > column2) {
            std::swap(column1, column2);
            unsigned char a = flags1 & 1, b = flags2 & 1;
            flags1 = static_cast<unsigned char>((flags1 & ~1) | b);
            flags2 = static_cast<unsigned char>((flags2 & ~1) | a);
        }
        if (row1 > row2) {
            std::swap(row1, row2);
            unsigned char a = flags1 & 2, b = flags2 & 2;
            flags1 = static_cast<unsigned char>((flags1 & ~2) | b);
            flags2 = static_cast<unsigned char>((flags2 & ~2) | a);
        }
        ref = NewRef<CCRegionRef>(column1, row1, column2, row2);
        flags = static_cast<unsigned char>((flags2 << 2) | flags1);
        p = r;
        return true;
    }
    ref = NewRef<CCRCRef>(column1, row1);
    flags = flags1;
    p = q;
    return true;
}

// The end of a name starting at p (a letter or "_", then letters, digits and "_"); p itself
// when no name starts there.
const char16_t* NameEnd(const char16_t* p) {
    if (!ostrel::text::IsAlpha(*p) && *p != u'_') return p;
    ++p;
    while (ostrel::text::IsAlpha(*p) || IsDigit(*p) || *p == u'_')
        ++p;
    return p;
}

// A sheet name: a name shorter than the sheet name buffer, not itself a cell address, with
// "!" or ":" after it past white space. The cursor moves to just after the name.
bool ScanSheetName(const char16_t*& p, const char16_t*& name, size_t& length) {
    const char16_t* start = p;
    SkipWhite(start);
    const char16_t* end = NameEnd(start);
    if (end == start) return false;
    size_t n = static_cast<size_t>(end - start);
    if (n >= kSheetNameBuffer) return false;
    const char16_t* address = start;
    unsigned char column = 0, flags = 0;
    uint16_t row = 0;
    if (ScanRC(address, column, row, flags) && address == end) return false;  // "A1:B2"
    const char16_t* next = end;
    SkipWhite(next);
    if (*next != u'!' && *next != u':') return false;
    name = start;
    length = n;
    p = end;
    return true;
}

}  // namespace

int _EatC(cells::CTX*, const char16_t*& cursor, unsigned char& column, int& absolute) {
    return cursor && ScanColumn(cursor, column, absolute);
}

int EatC(cells::CTX* ctx, char16_t*& cursor, unsigned char& column, int& absolute) {
    return OnModifiable(cursor,
                        [&](const char16_t*& c) { return _EatC(ctx, c, column, absolute); });
}

int _EatR(cells::CTX*, const char16_t*& cursor, uint16_t& row, int& absolute) {
    return cursor && ScanRow(cursor, row, absolute);
}

int EatR(cells::CTX* ctx, char16_t*& cursor, uint16_t& row, int& absolute) {
    return OnModifiable(cursor, [&](const char16_t*& c) { return _EatR(ctx, c, row, absolute); });
}

int _EatRC(cells::CTX*, const char16_t*& cursor, unsigned char& column, uint16_t& row,
           unsigned char& flags) {
    return cursor && ScanRC(cursor, column, row, flags);
}

int EatRC(cells::CTX* ctx, char16_t*& cursor, unsigned char& column, uint16_t& row,
          unsigned char& flags) {
    return OnModifiable(cursor,
                        [&](const char16_t*& c) { return _EatRC(ctx, c, column, row, flags); });
}

int _EatSpreadRef(cells::CTX*, const char16_t*& cursor, CCRef*& ref, unsigned char& flags) {
    return cursor && ScanSpreadRef(cursor, ref, flags);
}

int EatSpreadRef(cells::CTX* ctx, char16_t*& cursor, CCRef*& ref, unsigned char& flags) {
    return OnModifiable(cursor,
                        [&](const char16_t*& c) { return _EatSpreadRef(ctx, c, ref, flags); });
}

int _EatNameRef(cells::CTX*, const char16_t*& cursor, CCRef*& ref, unsigned char& flags) {
    if (!cursor) return 0;
    const char16_t* start = cursor;
    SkipWhite(start);
    const char16_t* end = NameEnd(start);
    if (end == start) return 0;
    ref = NewRef<CCNameRef>(start, static_cast<size_t>(end - start));
    flags = 0;
    cursor = end;
    return 1;
}

int EatNameRef(cells::CTX* ctx, char16_t*& cursor, CCRef*& ref, unsigned char& flags) {
    return OnModifiable(cursor,
                        [&](const char16_t*& c) { return _EatNameRef(ctx, c, ref, flags); });
}

namespace {

// A host that forgot to call its store a spreadsheet sees every reference fail; it hears why
// once, instead of searching.
void NoteReferenceReadAsName(CCCellManager& manager, const char16_t* cursor) {
    const char16_t* probe = cursor;
    CCRef* ref = nullptr;
    unsigned char flags = 0;
    if (!ScanSpreadRef(probe, ref, flags)) return;
    delete ref;
    if (!manager.TakeReferenceAsNameNotice()) return;
    const char16_t* start = cursor;
    SkipWhite(start);
    ostrel::GetUserInterface().ReferenceReadAsName(
        std::u16string_view(start, static_cast<size_t>(probe - start)));
}

}  // namespace

int _EatRef(cells::CTX* ctx, const char16_t*& cursor, CCRef*& ref, unsigned char& flags,
            const CCRef*) {
    CCCellManager* manager = ctx ? ctx->GetManager() : nullptr;
    if (manager && manager->GetType() == 1 && _EatSpreadRef(ctx, cursor, ref, flags)) return 1;
    if (manager && manager->GetType() != 1) NoteReferenceReadAsName(*manager, cursor);
    return _EatNameRef(ctx, cursor, ref, flags);
}

int EatRef(cells::CTX* ctx, char16_t*& cursor, CCRef*& ref, unsigned char& flags,
           const CCRef* unused) {
    return OnModifiable(cursor,
                        [&](const char16_t*& c) { return _EatRef(ctx, c, ref, flags, unused); });
}

char16_t* _EatName(cells::CTX*, const char16_t*& cursor) {
    if (!cursor) return nullptr;
    const char16_t* q = cursor;
    const char16_t* name = nullptr;
    size_t length = 0;
    if (!ScanSheetName(q, name, length)) return nullptr;
    char16_t* copy = new char16_t[length + 1];
    std::copy(name, name + length, copy);
    copy[length] = 0;
    cursor = q;
    return copy;
}

char16_t* EatName(cells::CTX* ctx, char16_t*& cursor) {
    return OnModifiable(cursor, [&](const char16_t*& c) { return _EatName(ctx, c); });
}

int _EatSheetRef(cells::CTX*, const char16_t*& cursor, CCRef*& ref) {
    if (!cursor) return 0;
    const char16_t* q = cursor;
    const char16_t* name = nullptr;
    size_t length = 0;
    if (!ScanSheetName(q, name, length)) return 0;
    SkipWhite(q);
    if (*q != u'!') return 0;
    ref = NewRef<CCNameRef>(name, length);
    cursor = q + 1;
    return 1;
}

int EatSheetRef(cells::CTX* ctx, char16_t*& cursor, CCRef*& ref) {
    return OnModifiable(cursor, [&](const char16_t*& c) { return _EatSheetRef(ctx, c, ref); });
}
