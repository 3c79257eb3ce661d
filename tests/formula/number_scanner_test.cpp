// SPDX-License-Identifier: Apache-2.0
// The number scanners one by one: what each takes, where it leaves the cursor, and the
// values of long or extreme digit runs.
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>
#include <tuple>

#include "scanner_support.h"

using namespace scan_test;

namespace {

// The double a C library reads from the same digits: correctly rounded, independent of ours.
double Strtod(std::u16string_view text) {
    return std::strtod(U8(text).c_str(), nullptr);
}

template <typename Eat>
Scanned RunIn(Locale& locale, std::u16string_view text, Eat eat) {
    return Run(text, [&](const char16_t*& c, CCCellValue& v) { return eat(locale.get(), c, v); });
}

Scanned NumberValue(Locale& l, std::u16string_view t, int cellInput) {
    return RunIn(l, t, [&](cells::LCTX* x, const char16_t*& c, CCCellValue& v) {
        return _EatNumberValue(x, c, v, cellInput);
    });
}

Scanned Npfs(Locale& l, std::u16string_view t, int allowSign) {
    return RunIn(l, t, [&](cells::LCTX* x, const char16_t*& c, CCCellValue& v) {
        return _EatNPFSNumber(x, c, v, allowSign);
    });
}

Scanned Currency(Locale& l, std::u16string_view t, int allowSign) {
    return RunIn(l, t, [&](cells::LCTX* x, const char16_t*& c, CCCellValue& v) {
        return _EatCurrencyNumber(x, c, v, allowSign);
    });
}

Scanned Number(Locale& l, std::u16string_view t) {
    return RunIn(l, t, [](cells::LCTX* x, const char16_t*& c, CCCellValue& v) {
        return _EatNumber(x, c, v, 1);
    });
}

}  // namespace

TEST(NumberValue, CellInputDecidesGroupsAndFractions) {
    Scanned grouped = NumberValue(DayFirst(), u"1,234.5xyz", 1);
    EXPECT_EQ(grouped.Read(), std::make_tuple(1, 7L, 1234.5, int(C_NF_GENERAL)));
    EXPECT_EQ(grouped.value.GetFormat().getCommas(), 1);

    EXPECT_EQ(NumberValue(DayFirst(), u"1,234.5", 0).Read(),
              std::make_tuple(1, 1L, 1.0, int(C_NF_GENERAL)));
    EXPECT_EQ(NumberValue(DayFirst(), u"12/3 ", 1).Read(),
              std::make_tuple(1, 4L, 4.0, int(C_NF_FRACTION)));
    EXPECT_EQ(NumberValue(DayFirst(), u"12/3", 0).consumed, 2);
    // The numerator of " n/d" is optional.
    EXPECT_EQ(NumberValue(DayFirst(), u"2 /4", 1).value.GetNumber(), 2.0);
    // Grouped numbers take no bare "/d".
    EXPECT_EQ(NumberValue(DayFirst(), u"1,000/4", 1).consumed, 5);
}

TEST(NumberValue, FailuresLeaveTheCursor) {
    for (const char16_t* t : {u"1,23", u"  .", u"", u"x", u"1,2345", u",5"}) {
        Scanned s = NumberValue(DayFirst(), t, 1);
        EXPECT_EQ(std::tuple(s.ok, s.consumed, s.value.IsEmpty()), std::tuple(0, 0, true)) << U8(t);
    }
    // A failed exponent or fraction gives the cursor back to the number's end.
    EXPECT_EQ(NumberValue(DayFirst(), u"1 e", 1).consumed, 1);
    EXPECT_EQ(NumberValue(DayFirst(), u"1e+", 1).consumed, 1);
    EXPECT_EQ(NumberValue(DayFirst(), u"3 1/0", 1).consumed, 1);
    EXPECT_EQ(NumberValue(German(), u"1.5", 1).ok, 0);
}

TEST(NumberValue, LongDigitRunsAreReadExactly) {
    const std::u16string cases[] = {
        u"123456789012345678901234567890", u"0.1000000000000000055511151231257827",
        u"9007199254740993",  // halfway between two doubles: ties to even
        // Just above that halfway point, by a digit far beyond the ones that are kept.
        u"9007199254740993." + std::u16string(800, u'0') + u"1", u"1" + std::u16string(300, u'0'),
        u"0." + std::u16string(320, u'0') + u"4941", std::u16string(2000, u'9') + u"e-1990",
        u"1.7976931348623157e308",
        u"2.4703282292062328e-324",  // just above half the smallest subnormal
    };
    for (const std::u16string& t : cases) {
        SCOPED_TRACE(U8(t.substr(0, 40)));
        Scanned s = NumberValue(Invariant(), t, 0);
        ASSERT_TRUE(s.ok);
        EXPECT_EQ(s.consumed, long(t.size()));
        EXPECT_EQ(s.value.GetNumber(), Strtod(t));
    }
    // Short numbers take a quicker road than long ones; both must round as the C library.
    std::mt19937 random(18);
    for (int i = 0; i < 20000; ++i) {
        std::u16string t;
        const int digits = 1 + int(random() % 17), point = int(random() % (digits + 1));
        for (int d = 0; d < digits; ++d) {
            if (d == point && d > 0) t += u'.';
            t += char16_t(u'0' + random() % 10);
        }
        if (random() % 2)
            for (char c : "e" + std::to_string(int(random() % 61) - 30))
                t += char16_t(c);
        SCOPED_TRACE(U8(t));
        Scanned s = NumberValue(Invariant(), t, 0);
        ASSERT_TRUE(s.ok);
        ASSERT_EQ(s.value.GetNumber(), Strtod(t));
    }
    // Beyond the range of a double: no number (and no wrap-around into a small one).
    for (const std::u16string& t :
         {u"1" + std::u16string(400, u'0'), std::u16string(u"1e99999999999999999999"),
          std::u16string(u"1e400")}) {
        EXPECT_FALSE(NumberValue(Invariant(), t, 0).ok);
        CCCellValue v;
        CCFormula* f = nullptr;
        Ctx ctx(nullptr);
        _Parse(&ctx, t.c_str(), v, f);
        EXPECT_TRUE(v.IsText());
    }
    Scanned tiny = NumberValue(Invariant(), u"1e-99999999999999", 0);
    ASSERT_TRUE(tiny.ok);
    EXPECT_EQ(tiny.value.GetNumber(), 0.0);
    // The decimals recorded stop at 15.
    EXPECT_EQ(
        NumberValue(Invariant(), u"0.12345678901234567890", 0).value.GetFormat().getPrecision(),
        15);
}

TEST(NPFSNumber, SignsAndPercent) {
    EXPECT_EQ(Npfs(DayFirst(), u" - 5 %x", 1).Read(),
              std::make_tuple(1, 6L, -0.05, int(C_NF_PERCENT)));
    EXPECT_FALSE(Npfs(DayFirst(), u"-5", 0).ok);
    // Without "%" the white space after the number is not taken.
    EXPECT_EQ(Npfs(DayFirst(), u"5 x", 1).consumed, 1);
    // A percent is rounded once, from the digits typed.
    EXPECT_EQ(Npfs(DayFirst(), u"1.1%", 1).value.GetNumber(), Strtod(u"0.011"));
    EXPECT_EQ(Npfs(German(), u"0,7%", 1).value.GetNumber(), Strtod(u"0.007"));
    // A fraction or scientific number takes no percent.
    EXPECT_EQ(Npfs(DayFirst(), u"1/2%", 1).consumed, 3);
    EXPECT_EQ(Npfs(DayFirst(), u"1e2%", 1).value.GetFormat().getType(), C_NF_SCIENTIFIC);
}

TEST(CurrencyNumber, PartsInAnyOrderEachOnce) {
    EXPECT_EQ(Currency(DayFirst(), u"- $ 12 rest", 1).Read(),
              std::make_tuple(1, 7L, -12.0, int(C_NF_CURRENCY)));
    EXPECT_EQ(Currency(DayFirst(), u"12-$", 1).value.GetNumber(), -12);
    EXPECT_FALSE(Currency(DayFirst(), u"-$12", 0).ok);
    EXPECT_FALSE(Currency(DayFirst(), u"$", 1).ok);
    EXPECT_FALSE(Currency(DayFirst(), u"12", 1).ok);
    EXPECT_EQ(Currency(DayFirst(), u"$12$", 1).consumed, 3);
    // A locale without a currency string has no amounts (an empty symbol would match
    // everywhere).
    zmk::multilang::LocaleData data;
    data.currencyString.clear();
    zmk::multilang::CLocaleInfo info(data);
    Locale none(&info);
    EXPECT_FALSE(Currency(none, u"12", 1).ok);
}

TEST(Number, FirstScannerThatFits) {
    Scanned date = Number(DayFirst(), u"12/3/2001 x");
    EXPECT_EQ(date.value.GetFormat().getType(), C_NF_DATE);
    EXPECT_EQ(date.consumed, 10);
    // With text after it, "12/3" is a date of this year rather than the fraction 4.
    Scanned dm = Number(DayFirst(), u"12/3 x");
    EXPECT_EQ(dm.value.GetNumber(), DateToDouble(12, 3, CurrentYear()));
    // Nothing else fits: the number with text after it.
    Scanned partial = Number(DayFirst(), u"1/0 x");
    EXPECT_EQ(std::tuple(partial.ok, partial.consumed), std::tuple(1, 1));
    EXPECT_EQ(Number(DayFirst(), u"TRUE").value.GetFormat().getType(), C_NF_BOOL);
    EXPECT_EQ(Number(DayFirst(), u"9:15").value.GetFormat().getType(), C_NF_TIME);
    EXPECT_EQ(Number(DayFirst(), u"$9").value.GetFormat().getType(), C_NF_CURRENCY);
    EXPECT_FALSE(Number(DayFirst(), u"abc").ok);
}

// The pieces the scanners above are built of, where they can go wrong unseen by them: digit
// counts with leading zeros, fixed-width runs, denominators, spaced exponents.
TEST(Pieces, DigitRunsDenominatorsAndExponents) {
    const char16_t* c = u"00123x";
    double d = 0;
    EXPECT_EQ(_EatDigits(nullptr, c, d), 5);
    EXPECT_EQ(d, 123);
    int n = 0;
    c = u"123456";
    EXPECT_EQ(_EatNDigits(nullptr, c, n, 4), 4);
    EXPECT_EQ(std::tuple(n, *c), std::tuple(1234, u'5'));
    for (const char16_t* bad : {u"/0", u"/", u"/x", u"/000"}) {
        c = bad;
        EXPECT_FALSE(_EatFractionLower(nullptr, c, 1, d)) << U8(bad);
    }
    c = u" E + 3";
    EXPECT_TRUE(_EatExp(nullptr, c, d));
    EXPECT_EQ(d, 1000);
}

TEST(Constant, NumberBooleanOrQuotedText) {
    auto constant = [](std::u16string_view t) {
        return RunIn(German(), t, [](cells::LCTX* x, const char16_t*& c, CCCellValue& v) {
            return _EatConstant(x, c, v);
        });
    };
    Scanned n = constant(u"1.234,5");  // no groups inside formulas
    EXPECT_EQ(std::tuple(n.value.GetNumber(), n.consumed), std::tuple(1, 1));
    EXPECT_EQ(constant(u"2,5E3").value.GetFormat().getType(), C_NF_SCIENTIFIC);
    EXPECT_EQ(constant(u"fAlSe").value.GetFormat().getType(), C_NF_BOOL);
    EXPECT_FALSE(constant(u"tru").ok);
    const char16_t* c = u" TRUEX";
    CCCellValue b;
    ASSERT_TRUE(_EatBOOLValue(German().get(), c, b));
    EXPECT_EQ(std::tuple(*c, b.GetNumber()), std::tuple(u'X', 1.0));
    Scanned text = constant(u" \"a b\"+1");
    EXPECT_EQ(std::tuple(text.value.IsText(), text.consumed), std::tuple(true, 6));
    EXPECT_FALSE(constant(u"abc").ok);
    EXPECT_EQ(constant(u"1/2").consumed, 1);
}

// Short whole numbers take a road of their own in a formula and as a cell's whole text: it
// must read exactly what the general scanners read, up to the format's bits and the cursor,
// whatever follows the digits.
TEST(Constant, ShortWholeNumbersReadAsTheGeneralScannersReadThem) {
    std::mt19937 random(7);
    auto digitsThen = [&](std::initializer_list<const char16_t*> tails) {
        std::u16string text;
        const int digits = 1 + int(random() % 17);
        for (int i = 0; i < digits; ++i)
            text += char16_t(u'0' + random() % 10);
        return text + tails.begin()[random() % tails.size()];
    };
    auto expectSame = [](const Scanned& road, const Scanned& general, std::u16string_view text) {
        ASSERT_TRUE(general.ok) << U8(text);
        EXPECT_EQ(road.Read(), general.Read()) << U8(text);
        EXPECT_TRUE(road.value.GetFormat().HasSameStreamForm(general.value.GetFormat()))
            << U8(text);
    };
    for (Locale* locale : {&Invariant(), &German()}) {
        for (int round = 0; round < 2000; ++round) {
            const std::u16string text =
                digitsThen({u"", u")", u"+1", u" E5", u"e2", u"E", u".5", u",5", u" ", u" )", u"%",
                            u"/2", u":3", u"x", u" e+", u"0"});
            const Scanned constant =
                RunIn(*locale, text, [](cells::LCTX* x, const char16_t*& c, CCCellValue& v) {
                    return _EatConstant(x, c, v);
                });
            expectSame(constant, NumberValue(*locale, text, 0), text);
        }
        // Typed into a cell, where the scanner of typed numbers reads the whole text.
        for (int round = 0; round < 500; ++round) {
            const std::u16string text = digitsThen({u"", u" ", u"%", u"0"});
            expectSame(Number(*locale, text), Npfs(*locale, text, 1), text);
        }
    }
}

TEST(QuotedText, EscapesAndUnclosedTexts) {
    struct Case {
        const char16_t* typed;
        const char16_t* text;  // null: not a text
        long consumed;
    };
    for (Case k :
         {Case{u"\"abc\"d", u"abc", 5}, Case{u" \"a^\"b\"", u"a\"b", 7},
          Case{u"\"a^^b\"", u"a^b", 6}, Case{u"\"\"", u"", 2}, Case{u"\"abc^", nullptr, 0},
          Case{u"\"abc^\"", nullptr, 0}, Case{u"\"abc", nullptr, 0}, Case{u"abc\"", nullptr, 0}}) {
        SCOPED_TRACE(U8(k.typed));
        Scanned s =
            RunIn(Invariant(), k.typed, [](cells::LCTX* x, const char16_t*& c, CCCellValue& v) {
                return _EatTextValue(x, c, v);
            });
        EXPECT_EQ(std::tuple(s.ok, s.consumed), std::tuple(k.text != nullptr, k.consumed));
        if (k.text) {
            EXPECT_EQ(std::u16string_view(s.value.GetText()), k.text);
        }
    }
}

TEST(TextRoutines, WordsWhiteSpaceAndModifiableCursors) {
    const char16_t* c = u"trueX";
    EXPECT_TRUE(_StrIComp(nullptr, c, u"TRUE"));
    EXPECT_EQ(*c, u'X');
    c = u"true";
    EXPECT_FALSE(_StrIComp(nullptr, c, u"True"));  // the word is taken as stored
    EXPECT_TRUE(_StrIIComp(nullptr, c, u"True"));
    c = u"tr";
    EXPECT_FALSE(_StrIIComp(nullptr, c, u"TRUE"));
    EXPECT_EQ(*c, u't');

    c = u" \t\n x";
    EXPECT_TRUE(_EatWhite(c));
    EXPECT_EQ(*c, u'x');
    EXPECT_FALSE(_EatWhite(c));
    EXPECT_TRUE(_IsEmpty(u" \u3000 "));
    EXPECT_FALSE(_IsEmpty(u" x"));
    EXPECT_TRUE(IsEmpty(nullptr));

    // The forms over modifiable text move their cursor exactly as the read-only forms do.
    Text text(u" 1,234 rest");
    char16_t* m = text.get();
    CCCellValue v;
    EXPECT_TRUE(EatNumber(DayFirst().get(), m, v, 1));
    EXPECT_EQ(m - text.get(), 6);
    EXPECT_TRUE(EatWhite(m) && StrIIComp(nullptr, m, u"REST"));
    EXPECT_EQ(*m, 0);
    char16_t* null = nullptr;
    EXPECT_FALSE(EatNumber(nullptr, null, v, 1));
    EXPECT_EQ(null, nullptr);
}
