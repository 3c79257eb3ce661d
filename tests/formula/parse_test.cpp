// SPDX-License-Identifier: Apache-2.0
// Classification of typed cell input, in the typing examples' locale, the invariant locale
// and German conventions.
#include <cmath>
#include <tuple>
#include <vector>

#include "ostrel/formula/formula.h"
#include "scanner_support.h"

using namespace scan_test;

namespace {

struct Parsed {
    int code = 0;
    CCCellValue value;
    CCFormula* formula = reinterpret_cast<CCFormula*>(1);  // must be reset by Parse
    std::unique_ptr<CCFormula> tree;                       // owns what Parse built
    // The result, the number read and its format's kind.
    std::tuple<int, double, int> Read() const {
        return {code, value.GetNumber(), value.GetFormat().getType()};
    }
};

Parsed DoParse(Locale& locale, std::u16string_view text) {
    Ctx ctx(locale.get());
    Text copy(text);
    Parsed out;
    out.code = Parse(&ctx, copy.get(), out.value, out.formula);
    if (out.formula != reinterpret_cast<CCFormula*>(1)) out.tree.reset(out.formula);
    return out;
}

// A number typed in the cell: value, type, decimals, groups shown, negative in brackets.
struct NumberCase {
    const char16_t* text;
    double value;
    int type, precision, commas, negBr;
};

void ExpectNumbers(Locale& locale, const std::vector<NumberCase>& cases) {
    for (const NumberCase& c : cases) {
        SCOPED_TRACE(U8(c.text));
        Parsed p = DoParse(locale, c.text);
        EXPECT_EQ(p.code, 1);
        ASSERT_TRUE(p.value.IsNumber());
        EXPECT_DOUBLE_EQ(p.value.GetNumber(), c.value);
        const CCNumberFormat& f = p.value.GetFormat();
        EXPECT_EQ(std::tuple(f.getType(), f.getPrecision(), f.getCommas(), f.getNegBr()),
                  std::tuple(c.type, c.precision, c.commas, c.negBr));
        EXPECT_TRUE(f.isPrecision() && f.isCommas());
    }
}

// Texts that are not numbers: the value is the text from its first non-white character.
void ExpectTexts(Locale& locale, const std::vector<const char16_t*>& texts) {
    for (const char16_t* text : texts) {
        SCOPED_TRACE(U8(text));
        Parsed p = DoParse(locale, text);
        EXPECT_EQ(p.code, 1);
        ASSERT_TRUE(p.value.IsText());
        std::u16string_view t(text);
        EXPECT_EQ(std::u16string_view(p.value.GetText()), t.substr(t.find_first_not_of(u' ')));
    }
}

}  // namespace

TEST(Parse, EmptyQuotedAndPlainTexts) {
    Parsed empty = DoParse(DayFirst(), u"  \t ");
    EXPECT_EQ(std::tuple(empty.code, empty.value.IsEmpty(), empty.formula),
              std::tuple(1, true, nullptr));

    Parsed quoted = DoParse(DayFirst(), u"  '123 ");
    ASSERT_TRUE(quoted.value.IsText());
    EXPECT_EQ(std::u16string_view(quoted.value.GetText()), u"123 ");

    // A null text is empty.
    Ctx ctx(nullptr);
    CCCellValue v(u"old");
    CCFormula* formula = nullptr;
    EXPECT_EQ(_Parse(&ctx, nullptr, v, formula), 1);
    EXPECT_TRUE(v.IsEmpty());
}

TEST(Parse, NumbersAsTypedInTheExamplesLocale) {
    ExpectNumbers(DayFirst(), {
                                  {u"1,234.5", 1234.5, C_NF_GENERAL, 1, 1, 0},
                                  {u"1234,567", 1234567, C_NF_GENERAL, 0, 1, 0},
                                  {u" 42 ", 42, C_NF_GENERAL, 0, 0, 0},
                                  {u"3/4", 0.75, C_NF_FRACTION, 0, 0, 0},
                                  {u"1 1/2", 1.5, C_NF_FRACTION, 0, 0, 0},
                                  {u"12/3", 4, C_NF_FRACTION, 0, 0, 0},
                                  {u"1,000 1/4", 1000.25, C_NF_FRACTION, 0, 1, 0},
                                  {u"5%", 0.05, C_NF_PERCENT, 0, 0, 0},
                                  {u"12.5 %", 0.125, C_NF_PERCENT, 1, 0, 0},
                                  {u"- 5", -5, C_NF_GENERAL, 0, 0, 0},
                                  {u"+7", 7, C_NF_GENERAL, 0, 0, 0},
                                  {u"-5%", -0.05, C_NF_PERCENT, 0, 0, 0},
                                  {u"(5)", -5, C_NF_GENERAL, 0, 0, 1},
                                  {u"( 2.50 ) ", -2.5, C_NF_GENERAL, 2, 0, 1},
                                  {u"1e3", 1000, C_NF_SCIENTIFIC, 0, 0, 0},
                                  {u"1 E 3", 1000, C_NF_SCIENTIFIC, 0, 0, 0},
                                  {u"1E+3", 1000, C_NF_SCIENTIFIC, 0, 0, 0},
                                  {u"2.5e-3", 0.0025, C_NF_SCIENTIFIC, 1, 0, 0},
                                  {u".5", 0.5, C_NF_GENERAL, 1, 0, 0},
                                  {u"$12", 12, C_NF_CURRENCY, 0, 0, 0},
                                  {u"12$", 12, C_NF_CURRENCY, 0, 0, 0},
                                  {u"-$12", -12, C_NF_CURRENCY, 0, 0, 0},
                                  {u"$-12", -12, C_NF_CURRENCY, 0, 0, 0},
                                  {u"$ 1,234.50", 1234.5, C_NF_CURRENCY, 2, 1, 0},
                                  {u"($3)", -3, C_NF_CURRENCY, 0, 0, 1},
                                  {u"-0", 0, C_NF_GENERAL, 0, 0, 0},
                              });
    // Minus zero is typed as zero, not as a negative zero.
    EXPECT_FALSE(std::signbit(DoParse(DayFirst(), u"-0").value.GetNumber()));
}

TEST(Parse, TextsThatLookAlmostLikeNumbers) {
    ExpectTexts(DayFirst(),
                {u"1,23",  u"1/0",      u"(5",     u"1e",       u".",        u"$",
                 u"1,",    u"1,234,5",  u"12 Mar", u"1/1/1899", u"1/1/2072", u"29/2/1901",
                 u"25:00", u"13:00 PM", u"9:30:",  u"  abc",    u"A1",       u"(TRUE)",
                 u"5 5",   u"1.2.3.4",  u"$$12",   u"12$$"});
}

TEST(Parse, DatesTimesAndBooleans) {
    EXPECT_EQ(DoParse(DayFirst(), u"12/3/2001").Read(),
              std::make_tuple(1, DateToDouble(12, 3, 2001), int(C_NF_DATE)));
    EXPECT_EQ(DoParse(DayFirst(), u"29/2/1900").value.GetNumber(), 59.0);
    Parsed noYear = DoParse(DayFirst(), u"12-3");
    EXPECT_EQ(noYear.value.GetNumber(), DateToDouble(12, 3, CurrentYear()));
    EXPECT_EQ(noYear.value.GetFormat().getYearType(), 1);

    EXPECT_EQ(DoParse(DayFirst(), u"24:00").Read(), std::make_tuple(1, 1.0, int(C_NF_TIME)));
    Parsed evening = DoParse(DayFirst(), u"9:30 pm");
    EXPECT_DOUBLE_EQ(evening.value.GetNumber(), TimeToDouble(21, 30, 0, 1));
    EXPECT_EQ(evening.value.GetFormat().getTimeRange(), 0);

    for (const char16_t* t : {u"TRUE", u"true", u" True "})
        EXPECT_EQ(DoParse(DayFirst(), t).Read(), std::make_tuple(1, 1.0, int(C_NF_BOOL)));
    EXPECT_EQ(DoParse(DayFirst(), u"false").Read(), std::make_tuple(1, 0.0, int(C_NF_BOOL)));
    // A sign or brackets do not apply to dates, times and booleans: the text is a formula
    // when it parses as one, else a text.
    for (const char16_t* t : {u"-12/3/2001", u"-TRUE"}) {
        SCOPED_TRACE(U8(t));
        EXPECT_EQ(DoParse(DayFirst(), t).code, 2);
    }
    Parsed time = DoParse(DayFirst(), u"+9:30");
    EXPECT_EQ(std::tuple(time.code, time.value.IsText()), std::tuple(1, true));
}

TEST(Parse, InvariantLocaleReadsMonthFirst) {
    auto dayFirst = [](const Parsed& p) {
        return std::tuple(p.value.GetNumber(), p.value.GetFormat().getMDOrder());
    };
    EXPECT_EQ(dayFirst(DoParse(Invariant(), u"12/3/2001")),
              std::tuple(DateToDouble(3, 12, 2001), 0));
    // Not a month: read the other way round.
    EXPECT_EQ(dayFirst(DoParse(Invariant(), u"13/3/2001")),
              std::tuple(DateToDouble(13, 3, 2001), 1));
    ExpectTexts(Invariant(), {u"1.234,5"});
}

TEST(Parse, GermanConventions) {
    ExpectNumbers(German(), {
                                {u"1.234,5", 1234.5, C_NF_GENERAL, 1, 1, 0},
                                {u"1,5", 1.5, C_NF_GENERAL, 1, 0, 0},
                                {u"-1.000.000", -1e6, C_NF_GENERAL, 0, 1, 0},
                                {u"12,5%", 0.125, C_NF_PERCENT, 1, 0, 0},
                                {u"1,5e3", 1500, C_NF_SCIENTIFIC, 1, 0, 0},
                                {u"3/4", 0.75, C_NF_FRACTION, 0, 0, 0},
                                {u"5 \u20AC", 5, C_NF_CURRENCY, 0, 0, 0},
                                {u"-\u20AC 1.234,56", -1234.56, C_NF_CURRENCY, 2, 1, 0},
                            });
    ExpectTexts(German(), {u"1.2345", u"1,234.5", u"$12", u",", u"1,5,5"});

    // A point between two numbers is a date separator: "1.5" is the first of May.
    Parsed may = DoParse(German(), u"1.5");
    EXPECT_EQ(may.value.GetNumber(), DateToDouble(1, 5, CurrentYear()));
    Parsed full = DoParse(German(), u"1.5.2001 13:45");
    EXPECT_DOUBLE_EQ(full.value.GetNumber(), DateToDouble(1, 5, 2001) + TimeToDouble(13, 45, 0, 1));
    const CCNumberFormat& f = full.value.GetFormat();
    EXPECT_EQ(std::tuple(f.getDelimiter(), f.getMDOrder(), f.getTime()), std::tuple(u'.', 1, 1));

    // Month names of the locale, compared without case.
    Parsed march = DoParse(German(), u"1 M\u00C4RZ 2001");
    EXPECT_EQ(std::tuple(march.value.GetNumber(), march.value.GetFormat().getMonthType()),
              std::tuple(DateToDouble(1, 3, 2001), 0));
    // The boolean words are the engine's own.
    EXPECT_EQ(DoParse(German(), u"wahr").value.GetType(), CV_TEXT);
    EXPECT_EQ(DoParse(German(), u"TRUE").value.GetFormat().getType(), C_NF_BOOL);
}

TEST(Parse, ValueIsResetBeforeParsing) {
    Ctx ctx(DayFirst().get());
    CCCellValue v;
    CCNumberFormat percent(C_NF_PERCENT);
    v.Set(3.0, percent);
    CCFormula* formula = nullptr;
    Text text(u"abc");
    Parse(&ctx, text.get(), v, formula);
    EXPECT_EQ(std::tuple(v.IsText(), v.GetFormat().getType()), std::tuple(true, C_NF_GENERAL));
}

TEST(FormulaPrefix, FirstNonWhiteCharacter) {
    for (const char16_t* t : {u"=1", u"  @SUM", u"!x", u"+1", u"-", u"\t(1)"})
        EXPECT_TRUE(_IsFormulaPrefix(nullptr, t)) << U8(t);
    for (const char16_t* t : {u"", u"  ", u"1+1", u"'=", u"a=b"})
        EXPECT_FALSE(_IsFormulaPrefix(nullptr, t)) << U8(t);
    EXPECT_FALSE(_IsFormulaPrefix(nullptr, nullptr));
    Text modifiable(u" =");
    EXPECT_TRUE(IsFormulaPrefix(German().get(), modifiable.get()));
}
