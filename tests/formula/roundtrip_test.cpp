// SPDX-License-Identifier: Apache-2.0
// Printing a formula and parsing the text again gives the same formula: checked over a
// broad set of generated formulas, in the invariant locale and in one with other
// separators.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>

#include "ostrel/formula/formula.h"
#include "ostrel/formula/parser.h"
#include "ostrel/functions/func.h"
#include "ostrel/platform/archive.h"
#include "ostrel/platform/utf.h"
#include "ostrel/platform/wide_stream.h"
#include "ostrel/platform/zmk/environment.h"
#include "platform/names.h"
#include "support/archive_bytes.h"
#include "support/test_host.h"

namespace {

// Random formula text from the grammar's pieces: numbers, texts, booleans, cells, ranges,
// the operators at every level, parentheses, functions with argument lists, arrays.
class Generator {
public:
    Generator(unsigned seed, char16_t argSep, char16_t rowSep, char16_t decimal)
        : m_rng(seed), m_arg(argSep), m_row(rowSep), m_decimal(decimal) {}

    std::u16string Expr(int depth) {
        int pick = Pick(depth > 3 ? 4 : 12);
        switch (pick) {
            case 0:
                return Number();
            case 1:
                return u"\"" + Word() + u"\"";
            case 2:
                return Pick(2) ? u"TRUE" : u"FALSE";
            case 3:
                return Cell();
            case 4:
                return Cell() + u":" + Cell();
            case 5:
            case 6: {
                static const char16_t* ops[] = {u"+", u"-",  u"*", u"/", u"^",  u"&", u"|",
                                                u"=", u"<>", u"<", u">", u"<=", u">="};
                return Expr(depth + 1) + u" " + ops[Pick(13)] + u" " + Expr(depth + 1);
            }
            case 7:
                return u"(" + Expr(depth + 1) + u")";
            case 8:
                return (Pick(2) ? u"-" : u"+") + Expr(depth + 1);
            case 9:
                return Expr(depth + 1) + u"%";
            case 10: {
                static const char16_t* functions[] = {u"SUM",   u"ABS", u"IF",          u"MAX",
                                                      u"ROUND", u"AND", u"CONCATENATE", u"NOW"};
                int f = Pick(8);
                if (f == 7) return u"NOW()";
                std::u16string args = Expr(depth + 1);
                int more = f == 1 ? 0 : f == 4 ? 1 : Pick(3);
                for (int i = 0; i < more; ++i)
                    args += std::u16string(1, m_arg) + Expr(depth + 1);
                return std::u16string(functions[f]) + u"(" + args + u")";
            }
            default:
                return u"{" + Number() + m_arg + Number() + m_row + Number() + m_arg + u"\"" +
                       Word() + u"\"}";
        }
    }

private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }
    std::u16string Number() {
        std::u16string s = ostrel::FromUtf8(std::to_string(Pick(1000)));
        if (Pick(2)) s += m_decimal + ostrel::FromUtf8(std::to_string(Pick(100)));
        return s;
    }
    std::u16string Word() {
        static const char16_t* words[] = {u"a", u"x y", u"say ^\"hi^\"", u"", u"^^"};
        return words[Pick(5)];
    }
    std::u16string Cell() {
        std::u16string s;
        if (Pick(3) == 0) s += u'$';
        s += char16_t(u'A' + Pick(26));
        if (Pick(3) == 0) s += u'$';
        s += ostrel::FromUtf8(std::to_string(1 + Pick(500)));
        return s;
    }

    std::mt19937 m_rng;
    char16_t m_arg, m_row, m_decimal;
};

std::u16string Printed(cells::CTX* ctx, const CCFormula* f) {
    CWideOutStream out;
    f->Print(ctx, out, 0);
    return out.str();
}

void CheckRoundTrips(cells::CTX* ctx, char16_t arg, char16_t row, char16_t decimal) {
    Generator gen(20261206, arg, row, decimal);
    int parsed = 0;
    for (int i = 0; i < 3000; ++i) {
        std::u16string text = gen.Expr(0);
        std::unique_ptr<CCFormula> first(_ParseFormula(ctx, text.c_str(), 0));
        if (!first) continue;  // some generated texts are no formula (two percents, ...)
        ++parsed;
        std::u16string printed = Printed(ctx, first.get());
        std::unique_ptr<CCFormula> second(_ParseFormula(ctx, printed.c_str(), 0));
        ASSERT_TRUE(second) << ostrel::ToUtf8(text) << " printed as " << ostrel::ToUtf8(printed);
        EXPECT_EQ(Printed(ctx, second.get()), printed) << ostrel::ToUtf8(text);
        // The stream form gives the same text back too.
        auto bytes =
            testing_support::Store([&](CArchive& ar) { WriteFormula(ctx, ar, first.get()); });
        testing_support::Load(bytes, [&](CArchive& ar) {
            std::unique_ptr<CCFormula> read(ReadFormula(ctx, ar));
            ASSERT_TRUE(read);
            EXPECT_EQ(Printed(ctx, read.get()), printed);
        });
    }
    EXPECT_GT(parsed, 2000);
}

}  // namespace

TEST(FormulaRoundTrip, PrintedFormulasParseBackToTheSameFormula) {
    InitBuiltinFunctions();
    testing_support::TestSheet sheet;
    CheckRoundTrips(sheet.GetCTX(), u',', u';', u'.');
}

TEST(FormulaRoundTrip, GermanSeparators) {
    InitBuiltinFunctions();
    testing_support::TestSheet sheet;
    zmk::multilang::CLegacyLocaleContext german(
        zmk::globals::global_environment().locales_cache().get("de_DE"));
    cells::LCTX lctx{&german};
    sheet.Ctx().SetLCTX(&lctx);
    CheckRoundTrips(sheet.GetCTX(), german.listSeparartor(), german.listSeparartor2(),
                    german.numberDeciamalSeparartor());
    sheet.Ctx().SetLCTX(cells::invariant_LCTX());
}
