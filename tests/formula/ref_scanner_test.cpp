// SPDX-License-Identifier: Apache-2.0
// Cell and range references, names and sheet names.
#include <memory>
#include <string>
#include <tuple>

#include "ostrel/refs/name_ref.h"
#include "ostrel/refs/rc_ref.h"
#include "ostrel/refs/region_ref.h"
#include "scanner_support.h"

using namespace scan_test;

namespace {

struct Ref {
    int ok = 0;
    long consumed = 0;
    std::unique_ptr<CCRef> ref;
    unsigned char flags = 0xFF;
};

template <typename Eat>
Ref RunRef(std::u16string_view text, Eat eat) {
    Ctx ctx(Invariant().get());
    Text copy(text);
    const char16_t* c = copy.get();
    CCRef* ref = nullptr;
    Ref out;
    out.ok = eat(&ctx, c, ref, out.flags);
    out.ref.reset(ref);
    out.consumed = c - copy.get();
    return out;
}

Ref Spread(std::u16string_view t) {
    return RunRef(t, [](cells::CTX* x, const char16_t*& c, CCRef*& r, unsigned char& f) {
        return _EatSpreadRef(x, c, r, f);
    });
}

std::u16string Name(const CCRef* ref) {
    auto* name = dynamic_cast<const CCNameRef*>(ref);
    return name && name->GetName() ? std::u16string(name->GetName()) : u"<none>";
}

}  // namespace

TEST(SpreadRef, CellsAndTheirLimits) {
    struct Case {
        const char16_t* text;
        int column, row;
        unsigned char flags;
        long consumed;
    };
    for (Case c :
         {Case{u"A1", 0, 0, 0, 2}, Case{u" $b$2+1", 1, 1, 3, 5}, Case{u"IV65536", 255, 65535, 0, 7},
          Case{u"Z9", 25, 8, 0, 2}, Case{u"AA1", 26, 0, 0, 3}, Case{u"a$01", 0, 0, 2, 4},
          Case{u"A1:", 0, 0, 0, 2}, Case{u"A1..", 0, 0, 0, 2}, Case{u"A1:B0", 0, 0, 0, 2},
          Case{u"A1.B2", 0, 0, 0, 2}}) {
        SCOPED_TRACE(U8(c.text));
        Ref r = Spread(c.text);
        ASSERT_TRUE(r.ok);
        auto* cell = dynamic_cast<CCRCRef*>(r.ref.get());
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(std::tuple(cell->GetColumn(), cell->GetRow(), r.flags, r.consumed),
                  std::tuple(c.column, c.row, c.flags, c.consumed));
    }
    // Row 0 names no row; a long row must not wrap to a small one (4294967297 = 1 mod 2^32).
    for (const char16_t* bad : {u"IW1", u"A65537", u"A0", u"A4294967297", u"A99999999999999999999",
                                u"ABC1", u"$1", u"A$", u"1A", u"", u"$$A1"}) {
        Ref r = Spread(bad);
        EXPECT_EQ(std::tuple(r.ok, r.consumed, r.ref.get()), std::tuple(0, 0, nullptr)) << U8(bad);
    }
}

TEST(SpreadRef, RangesAreOrderedAndFlagsFollowTheirCoordinates) {
    struct Case {
        const char16_t* text;
        int c1, r1, c2, r2;
        unsigned char flags;
    };
    for (Case c : {Case{u"A1:B2", 0, 0, 1, 1, 0}, Case{u"$A$1:B2", 0, 0, 1, 1, 3},
                   Case{u"A1..$B$2", 0, 0, 1, 1, 12}, Case{u"B2:A1", 0, 0, 1, 1, 0},
                   Case{u"$B$2:A1", 0, 0, 1, 1, 12}, Case{u"B$2:$A1", 0, 0, 1, 1, 9},
                   Case{u"A2:$B1", 0, 0, 1, 1, 4}, Case{u"B1:A$2", 0, 0, 1, 1, 8},
                   Case{u"A1:A1", 0, 0, 0, 0, 0}}) {
        SCOPED_TRACE(U8(c.text));
        Ref r = Spread(c.text);
        ASSERT_TRUE(r.ok);
        auto* range = dynamic_cast<CCRegionRef*>(r.ref.get());
        ASSERT_NE(range, nullptr);
        EXPECT_EQ(
            std::tuple(range->GetFirstColumn(), range->GetFirstRow(), range->GetLastColumn(),
                       range->GetLastRow(), r.flags, r.consumed),
            std::tuple(c.c1, c.r1, c.c2, c.r2, c.flags, long(std::u16string_view(c.text).size())));
    }
}

TEST(NameRef, NamesAndEatRefWithoutASpreadsheet) {
    auto eatName = [](std::u16string_view t) {
        return RunRef(t, [](cells::CTX* x, const char16_t*& c, CCRef*& r, unsigned char& f) {
            return _EatNameRef(x, c, r, f);
        });
    };
    Ref n = eatName(u"  _total_2+1");
    EXPECT_EQ(std::tuple(n.ok, Name(n.ref.get()), n.flags, n.consumed),
              std::tuple(1, u"_total_2", 0, 10));
    EXPECT_EQ(Name(eatName(u"\u00C4rger1").ref.get()), u"\u00C4rger1");
    for (const char16_t* bad : {u"1abc", u"$A1", u"", u" "})
        EXPECT_FALSE(eatName(bad).ok);

    // A document that is not a spreadsheet reads addresses as names.
    Ref r = RunRef(u"A1:B2", [](cells::CTX* x, const char16_t*& c, CCRef*& ref, unsigned char& f) {
        return _EatRef(x, c, ref, f);
    });
    EXPECT_EQ(std::tuple(r.ok, Name(r.ref.get()), r.consumed), std::tuple(1, u"A1", 2));
    CCRef* none = nullptr;
    unsigned char flags = 0;
    const char16_t* c = u"x";
    EXPECT_TRUE(_EatRef(nullptr, c, none, flags));
    delete none;
}

TEST(SheetNames, NameFollowedByMarkOrColon) {
    Ctx ctx(Invariant().get());
    struct Case {
        const char16_t* text;
        const char16_t* name;  // null: no sheet name
        long consumed;
    };
    const std::u16string longest(79, u's'), tooLong(80, u's');
    const std::u16string longText = longest + u"!A1", tooLongText = tooLong + u"!A1";
    for (Case k :
         {Case{u"Sheet1!A1", u"Sheet1", 6}, Case{u" Sheet1 : Sheet2!", u"Sheet1", 7},
          Case{u"x:y", u"x", 1}, Case{u"A1:B2", nullptr, 0}, Case{u"A1!B2", nullptr, 0},
          Case{u"IW1!A1", u"IW1", 3}, Case{u"Sheet1", nullptr, 0}, Case{u"Sheet1 A1", nullptr, 0},
          Case{longText.c_str(), longest.c_str(), 79}, Case{tooLongText.c_str(), nullptr, 0}}) {
        SCOPED_TRACE(U8(std::u16string_view(k.text).substr(0, 20)));
        Text copy(k.text);
        const char16_t* c = copy.get();
        std::unique_ptr<char16_t[]> name(_EatName(&ctx, c));
        EXPECT_EQ(name != nullptr, k.name != nullptr);
        if (name && k.name) {
            EXPECT_EQ(std::u16string_view(name.get()), k.name);
        }
        EXPECT_EQ(c - copy.get(), k.consumed);
    }

    auto sheet = [](std::u16string_view t) {
        return RunRef(t, [](cells::CTX* x, const char16_t*& c, CCRef*& r, unsigned char&) {
            return _EatSheetRef(x, c, r);
        });
    };
    Ref s = sheet(u"Sheet1 !A1");
    EXPECT_EQ(std::tuple(s.ok, Name(s.ref.get()), s.consumed), std::tuple(1, u"Sheet1", 8));
    EXPECT_EQ(Name(sheet(longText).ref.get()), longest);
    for (const std::u16string& bad : {std::u16string(u"Sheet1:Sheet2!A1"), std::u16string(u"A1!"),
                                      tooLongText, std::u16string(u"Sheet1")}) {
        Ref r = sheet(bad);
        EXPECT_EQ(std::tuple(r.ok, r.consumed), std::tuple(0, 0)) << U8(bad);
    }

    // The modifiable form leaves its cursor where the read-only form does.
    Text text(u"Budget!B3");
    char16_t* m = text.get();
    CCRef* ref = nullptr;
    ASSERT_TRUE(EatSheetRef(&ctx, m, ref));
    delete ref;
    EXPECT_EQ(*m, u'B');
}
