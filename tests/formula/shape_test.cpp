// SPDX-License-Identifier: Apache-2.0
// A formula typed into a cell is the same tree whether it was parsed or built from an
// earlier formula of its shape: generated formulas, typed at one cell and then at another
// with their relative addresses moved and their numbers changed, are compared byte for byte
// in their stream form with a plain parse. The generator leans on the texts where an address
// or a number is not one on its own (an exponent, a sheet prefix, a text, a descending or
// half-absolute range, a number read past its characters).
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "formula/shape_cache.h"
#include "ostrel/formula/formula.h"
#include "ostrel/formula/scanner.h"
#include "ostrel/functions/func.h"
#include "ostrel/platform/utf.h"
#include "support/archive_bytes.h"
#include "support/test_host.h"

namespace {

struct Address {
    int dc = 0, dr = 0;  // from the cell, for the relative parts
    bool absColumn = false, absRow = false;
    int column = 0, row = 0;  // for the absolute parts
};

// An open place of a formula text: an address, or a number written one way in the first
// formula and another way in the second.
struct Slot {
    Address address;
    std::u16string numbers[2];  // both empty for an address
};

// A formula text with its addresses and numbers left open, written out for any cell.
struct Shape {
    std::vector<std::u16string> texts;  // texts[i] comes before slots[i]
    std::vector<Slot> slots;

    std::u16string At(int column, int row, int which) const {
        std::u16string out;
        for (size_t i = 0; i < texts.size(); ++i) {
            out += texts[i];
            if (i >= slots.size()) continue;
            if (slots[i].numbers[which].empty())
                out += Write(slots[i].address, column, row);
            else
                out += slots[i].numbers[which];
        }
        return out;
    }

    static std::u16string Write(const Address& a, int column, int row) {
        int c = a.absColumn ? a.column : column + a.dc;
        int r = a.absRow ? a.row : row + a.dr;
        if (c < 0 || c > 255 || r < 0 || r > 65535) return u"QQQ0";  // no address
        std::u16string s;
        if (a.absColumn) s += u'$';
        if (c >= 26) s += char16_t(u'A' + c / 26 - 1);
        s += char16_t(u'A' + c % 26);
        if (a.absRow) s += u'$';
        return s + ostrel::FromUtf8(std::to_string(r + 1));
    }
};

class ShapeGenerator {
public:
    explicit ShapeGenerator(unsigned seed) : m_rng(seed) {}

    Shape Make() {
        m_shape = Shape{};
        m_shape.texts.emplace_back(u"");
        Expr(0);
        return m_shape;
    }

private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }
    void Text(std::u16string_view s) { m_shape.texts.back() += s; }
    void Addr(bool exponentTrap = false) {
        Address a;
        a.dc = exponentTrap ? 0 : Pick(7) - 3;
        a.dr = Pick(9) - 4;
        a.absColumn = Pick(4) == 0;
        a.absRow = Pick(4) == 0;
        a.column = exponentTrap ? 4 : Pick(260);  // past IV now and then
        a.row = Pick(20);
        m_shape.slots.push_back(Slot{a, {}});
        m_shape.texts.emplace_back(u"");
    }
    // Numbers as they are typed, some read past their characters (1 E 5) or not at all.
    void Number() {
        static const char16_t* forms[] = {u"7", u"2.50",  u"1E5", u"1.5E-3", u"1 E 5", u".5",
                                          u"0", u"1E999", u"007", u"12",     u"3.25",  u"0 E 0"};
        Slot slot;
        slot.numbers[0] = forms[Pick(12)];
        slot.numbers[1] = Pick(3) ? forms[Pick(12)] : slot.numbers[0];
        m_shape.slots.push_back(slot);
        m_shape.texts.emplace_back(u"");
    }
    void Expr(int depth) {
        switch (Pick(depth > 3 ? 3 : 14)) {
            case 0:
                Pick(4) ? Number() : Text(Pick(2) ? u"TRUE" : u"\"12\"");
                break;
            case 1:
            case 2:
                Addr();
                break;
            case 3:
                Addr(), Text(Pick(2) ? u":" : u".."), Addr();
                break;
            case 4:
                Text(Pick(2) ? u"1 " : u"2.5"), Addr(true);  // 1 E5 is a number
                break;
            case 5:
                Text(Pick(2) ? u"Sheet2!" : u"IV!"), Addr();
                break;
            case 6:
                Addr(), Text(u"!"), Addr();
                break;
            case 7:
                Text(u"\"A1 ^\"B2^\"\"");
                break;
            case 8:
                Text(u"(");
                Expr(depth + 1);
                Text(u")");
                break;
            case 9:
            case 10: {
                static const char16_t* ops[] = {u"+", u"-", u"*", u"/", u"&", u"=", u" "};
                Expr(depth + 1);
                Text(ops[Pick(7)]);
                Expr(depth + 1);
                break;
            }
            default: {
                static const char16_t* functions[] = {u"SUM(", u"IF(", u"ROUND(", u"ABS("};
                int f = Pick(4);
                Text(functions[f]);
                Expr(depth + 1);
                for (int i = f == 3 ? 0 : 1 + Pick(2); i > 0; --i) {
                    Text(u",");
                    Expr(depth + 1);
                }
                Text(u")");
            }
        }
    }

    std::mt19937 m_rng;
    Shape m_shape;
};

// The stream form of a tree, or nothing for no tree.
std::vector<uint8_t> Bytes(cells::CTX* ctx, const CCFormula* f) {
    if (!f) return {};
    return testing_support::Store([&](CArchive& ar) { WriteFormula(ctx, ar, f); });
}

std::vector<uint8_t> Typed(cells::CTX* ctx, const std::u16string& text, int column, int row) {
    CCRCRef cell(static_cast<unsigned char>(column), static_cast<uint16_t>(row));
    CCFormula* formula = nullptr;
    ostrel::formula::ParseFormulaTextAt(ctx, text.c_str(), formula, &cell);
    std::unique_ptr<CCFormula> owned(formula);
    return Bytes(ctx, owned.get());
}

std::vector<uint8_t> Parsed(cells::CTX* ctx, const std::u16string& text) {
    CCFormula* formula = nullptr;
    ParseFormulaText(ctx, text.c_str(), formula);
    std::unique_ptr<CCFormula> owned(formula);
    return Bytes(ctx, owned.get());
}

}  // namespace

TEST(FormulaShapes, ATreeBuiltFromItsShapeIsTheTreeTheParserBuilds) {
    InitBuiltinFunctions();
    testing_support::TestSheet sheet;
    cells::CTX* ctx = sheet.GetCTX();
    ShapeGenerator gen(20261207);
    std::mt19937 rng(7);
    auto place = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    int parsed = 0;
    for (int i = 0; i < 3000; ++i) {
        ostrel::formula::ForgetFormulaShapes();
        Shape shape = gen.Make();
        // Near the sheet's edges now and then, so that moves leave the grid.
        int c1 = place(4) ? place(40) : 250 + place(6), r1 = place(4) ? place(100) : place(4);
        int c2 = place(3) ? c1 : place(256), r2 = place(2) ? r1 + 1 + place(30) : place(65536);
        std::u16string first = shape.At(c1, r1, 0), second = shape.At(c2, r2, 1);
        Typed(ctx, first, c1, r1);
        std::vector<uint8_t> expected = Parsed(ctx, second);
        EXPECT_EQ(Typed(ctx, second, c2, r2), expected)
            << ostrel::ToUtf8(first) << " then " << ostrel::ToUtf8(second);
        parsed += !expected.empty();
        // Further down the same column (or back up it), as a fill goes on, checked against
        // the text typed last there.
        int r3 = place(4) ? r2 + 1 + place(3) : place(65536);
        std::u16string third = shape.At(c2, r3, place(2));
        EXPECT_EQ(Typed(ctx, third, c2, r3), Parsed(ctx, third))
            << ostrel::ToUtf8(second) << " then " << ostrel::ToUtf8(third);
        // The next row's text with one relative row off by one: no fill of the last.
        Shape skewed = shape;
        for (Slot& slot : skewed.slots) {
            if (slot.numbers[0].empty() && !slot.address.absRow) {
                ++slot.address.dr;
                break;
            }
        }
        std::u16string fourth = skewed.At(c2, r3 + 1, 0);
        EXPECT_EQ(Typed(ctx, fourth, c2, r3 + 1), Parsed(ctx, fourth))
            << ostrel::ToUtf8(third) << " then " << ostrel::ToUtf8(fourth);
    }
    EXPECT_GT(parsed, 1000);
}

TEST(FormulaShapes, OutsideASpreadsheetAddressesAreNamesAndNothingIsReused) {
    InitBuiltinFunctions();
    testing_support::TestSheet document(u"Doc", 0);
    cells::CTX* ctx = document.GetCTX();
    ostrel::formula::ForgetFormulaShapes();
    Typed(ctx, u"A1+1", 1, 0);
    EXPECT_EQ(Typed(ctx, u"A2+1", 1, 1), Parsed(ctx, u"A2+1"));
}
