// SPDX-License-Identifier: Apache-2.0
// The formula parser: the trees it builds, precedence and associativity, sheet-qualified
// references, array constants, function names, locale separators, the bounds on nesting and
// on the parser's stack, and that failed parses leave nothing allocated.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "ostrel/cells/cell_value.h"
#include "ostrel/formula/formula.h"
#include "ostrel/formula/parser.h"
#include "ostrel/formula/scanner.h"
#include "ostrel/functions/func.h"
#include "ostrel/platform/utf.h"
#include "ostrel/platform/wide_stream.h"
#include "ostrel/platform/zmk/environment.h"
#include "ostrel/refs/ref.h"
#include "platform/names.h"
#include "support/test_host.h"

namespace {

using Tree = std::unique_ptr<CCFormula>;

// Operators by the entry they use, so that a tree reads the same whatever the entries'
// display names are.
std::string EntryLabel(const CCFunc* f) {
    // clang-format off
    static const std::map<const CCFunc*, std::string> ops = {
        {&OrFunc, "OR"},        {&AndFunc, "AND"},         {&NotFunc, "NOT"},
        {&GTFunc, "GT"},        {&GEFunc, "GE"},           {&LTFunc, "LT"},
        {&LEFunc, "LE"},        {&EQFunc, "EQ"},           {&NEFunc, "NE"},
        {&ADDFunc, "ADD"},      {&SUBFunc, "SUB"},         {&MULFunc, "MUL"},
        {&DIVFunc, "DIV"},      {&PowerFunc, "POW"},       {&PercentFunc, "PCT"},
        {&UnPlusFunc, "PLUS"},  {&UnMinusFunc, "NEG"},     {&RANGEFunc, "RANGE"},
        {&SheetRangeFunc, "SHEETS"}, {&FULLREFFunc, "FULLREF"}};
    // clang-format on
    auto it = ops.find(f);
    return it != ops.end() ? it->second : ostrel::ToUtf8(f->GetName());
}

std::string Number(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

std::string Value(const CCCellValue& v) {
    if (v.IsNumber()) return Number(v.GetNumber());
    if (v.IsText()) return "\"" + ostrel::ToUtf8(v.GetText()) + "\"";
    return "?";
}

// The shape of a tree: operations as LABEL(args), references as printed, constants by value.
std::string Shape(cells::CTX* ctx, const CCFormula* f) {
    switch (f->GetType()) {
        case FORMULA_CONST:
            return Value(static_cast<const CCConstFormula*>(f)->GetValue());
        case FORMULA_CONST_ARRAY: {
            auto* a = static_cast<const CCConstArrayFormula*>(f);
            std::string s = "{";
            for (int r = 0; r < a->GetRows(); ++r)
                for (int c = 0; c < a->GetColumns(); ++c)
                    s += (c ? "," : r ? ";" : "") + Value(a->GetAt(r * a->GetColumns() + c));
            return s + "}";
        }
        case FORMULA_REF: {
            CWideOutStream out;
            auto* r = static_cast<const CCRefFormula*>(f);
            r->GetRef()->Print(ctx, out, r->GetMode());
            return ostrel::ToUtf8(out.str());
        }
        default: {
            auto* op = static_cast<const CCOpFormula*>(f);
            std::string s = EntryLabel(op->GetFunc()) + "(";
            for (const CCFormulaList* l = op->GetArgs(); l; l = l->m_pNext)
                s += (l == op->GetArgs() ? "" : ",") + Shape(ctx, l->m_pFormula);
            return s + ")";
        }
    }
}

class ParserTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitBuiltinFunctions(); }

    Tree Read(std::u16string_view text, int alternate = 0) {
        std::u16string copy(text);
        return Tree(ParseFormula(Ctx(), copy.data(), alternate));
    }
    // The tree's shape, or "FAIL" when the text does not parse.
    std::string ShapeOf(std::u16string_view text) {
        Tree t = Read(text);
        return t ? Shape(Ctx(), t.get()) : "FAIL";
    }
    void ExpectFailures(std::initializer_list<const char16_t*> texts) {
        for (const char16_t* text : texts)
            EXPECT_EQ(ShapeOf(text), "FAIL") << ostrel::ToUtf8(text);
    }
    cells::CTX* Ctx() { return sheet.GetCTX(); }

    testing_support::TestSheet sheet;  // answers to A1 references
};

TEST_F(ParserTest, PrecedenceAndAssociativity) {
    EXPECT_EQ(ShapeOf(u"1+2*3"), "ADD(1,MUL(2,3))");
    EXPECT_EQ(ShapeOf(u"(1+2)*3"), "MUL(ADD(1,2),3)");
    EXPECT_EQ(ShapeOf(u"2^3^2"), "POW(2,3,2)");  // (2^3)^2, one chain
    EXPECT_EQ(ShapeOf(u"2^(3^2)"), "POW(2,POW(3,2))");
    EXPECT_EQ(ShapeOf(u"-2^2"), "POW(NEG(2),2)");
    EXPECT_EQ(ShapeOf(u"-A1%"), "PCT(NEG(A1))");
    EXPECT_EQ(ShapeOf(u"1-2-3"), "SUB(1,2,3)");
    EXPECT_EQ(ShapeOf(u"1-(2-3)"), "SUB(1,SUB(2,3))");
    EXPECT_EQ(ShapeOf(u"(1-2)-3"), "SUB(SUB(1,2),3)");  // parentheses close a chain
    EXPECT_EQ(ShapeOf(u"1+2-3+4"), "ADD(SUB(ADD(1,2),3),4)");
    EXPECT_EQ(ShapeOf(u"1*2/3"), "DIV(MUL(1,2),3)");
    EXPECT_EQ(ShapeOf(u"1<2=3=4"), "EQ(LT(1,2),3,4)");
    EXPECT_EQ(ShapeOf(u"1>=2<>3<=4>5"), "GT(LE(NE(GE(1,2),3),4),5)");
    EXPECT_EQ(ShapeOf(u"1=>2=<3==4~=5"), "NE(EQ(LE(GE(1,2),3),4),5)");
    EXPECT_EQ(ShapeOf(u"~1=2&3|4&5"), "OR(AND(NOT(EQ(1,2)),3),AND(4,5))");
    EXPECT_EQ(ShapeOf(u"1+-+2*3%"), "ADD(1,MUL(NEG(PLUS(2)),PCT(3)))");
    EXPECT_EQ(ShapeOf(u"-2^2%^-1%"), "POW(NEG(2),PCT(2),PCT(NEG(1)))");
    EXPECT_EQ(ShapeOf(u"~~1|1&~-1"), "OR(NOT(NOT(1)),AND(1,NOT(NEG(1))))");
    EXPECT_EQ(ShapeOf(u"(~1)%+(1%)%"), "ADD(PCT(NOT(1)),PCT(PCT(1)))");
    EXPECT_EQ(ShapeOf(u"  \"a^\"b\" & TRUE "), "AND(\"a\"b\",1)");
}

TEST_F(ParserTest, ReferencesRangesAndSheets) {
    EXPECT_EQ(ShapeOf(u"A1:B2"), "A1:B2");  // one reference token, no range node
    EXPECT_EQ(ShapeOf(u"INDEX(A1:C3,1,1):B2"), "RANGE(INDEX(A1:C3,1,1),B2)");
    EXPECT_EQ(ShapeOf(u"B2..INDEX(A1:C3,1,1)"), "RANGE(B2,INDEX(A1:C3,1,1))");
    EXPECT_EQ(ShapeOf(u"Sheet1!A1"), "FULLREF(SHEETS(Sheet1),A1)");
    EXPECT_EQ(ShapeOf(u"Sheet1:Sheet3!A1"), "FULLREF(SHEETS(Sheet1,Sheet3),A1)");
    EXPECT_EQ(ShapeOf(u"Sheet1!A1:Sheet2!B2"),
              "SHEETS(FULLREF(SHEETS(Sheet1),A1),FULLREF(SHEETS(Sheet2),B2))");
    EXPECT_EQ(ShapeOf(u"Sheet1!A1..Sheet2!B2"),
              "SHEETS(FULLREF(SHEETS(Sheet1),A1),FULLREF(SHEETS(Sheet2),B2))");
    EXPECT_EQ(ShapeOf(u"s!x+1"), "ADD(FULLREF(SHEETS(s),x),1)");
    ExpectFailures({u"x:y", u"Sheet1!", u"Sheet1:Sheet2", u"Sheet1!A1:", u"A1..",
                    u"Sheet1!A1:Sheet2!", u"@A1", u"A1:1"});
}

TEST_F(ParserTest, FunctionsAndArguments) {
    EXPECT_EQ(ShapeOf(u"SUM(A1:A3)"), ShapeOf(u"@SUM(A1:A3)"));
    EXPECT_EQ(ShapeOf(u"sum(1,2,A1)"), "SUM(1,2,A1)");
    EXPECT_EQ(ShapeOf(u"SUM()"), "SUM()");
    EXPECT_EQ(ShapeOf(u"SUM( 1 , 2 )+1"), "ADD(SUM(1,2),1)");
    // The longest name wins; a name that merely starts with a function name is a name.
    EXPECT_EQ(ShapeOf(u"DAYS360(A1,B1)"), "DAYS360(A1,B1)");
    EXPECT_EQ(ShapeOf(u"DAY(A1)"), "DAY(A1)");
    EXPECT_EQ(ShapeOf(u"SUMMARY"), "SUMMARY");
    EXPECT_EQ(ShapeOf(u"SUM_1+SUM1"), "ADD(SUM_1,SUM1)");
    ExpectFailures({u"SUM(,1)", u"SUM(1,)", u"SUM(1", u"SUM", u"SUM 1", u"@ 1"});
    Tree none = Read(u"SUM()");
    ASSERT_TRUE(none);
    EXPECT_EQ(static_cast<CCOpFormula*>(none.get())->GetArgs(), nullptr);
}

TEST_F(ParserTest, ArrayConstants) {
    EXPECT_EQ(ShapeOf(u"{1,2;3,4}"), "{1,2;3,4}");
    EXPECT_EQ(ShapeOf(u"{-1,5%,+\"a\",TRUE}"), "{-1,0.05,\"a\",1}");
    Tree t = Read(u"{1;2,3}");
    ASSERT_TRUE(t);
    auto* a = static_cast<CCConstArrayFormula*>(t.get());
    EXPECT_EQ(std::tuple(a->GetRows(), a->GetColumns()), std::tuple(2, 2));
    Tree pct = Read(u"{5%}");
    ASSERT_TRUE(pct);
    EXPECT_EQ(static_cast<CCConstArrayFormula*>(pct.get())->GetAt(0).GetFormat().getType(),
              C_NF_PERCENT);
    ExpectFailures({u"{A1}", u"{}", u"{1,}", u"{1;}", u"{--1}", u"{1%%}", u"{-\"a\"}", u"{\"a\"%}",
                    u"{(1)}", u"{1", u"{SUM(1)}"});
}

TEST_F(ParserTest, TextsThatAreNotFormulas) {
    ExpectFailures({u"1 2",     u"A1)",    u"=1",    u"",       u"   ",  u"(1",  u"1+",
                    u"1%%",     u"1#",     u"A1 B1", u"\"open", u"1 ,2", u"1;2", u"{1}}",
                    u"1\u2222", u"\uFFFF", u"1=~2",  u"1+~2",   u"2^~1", u"-~1", u"-1%%"});
    EXPECT_EQ(ParseFormula(Ctx(), nullptr, 0), nullptr);
}

TEST_F(ParserTest, CellInputHandsFormulasToTheParser) {
    struct Case {
        const char16_t* text;
        int code;
        const char* shape;
    };
    for (Case c :
         {Case{u"-A1", 2, "NEG(A1)"}, Case{u"+A1", 2, "PLUS(A1)"}, Case{u"-abc", 2, "NEG(abc)"},
          Case{u"=1+", 2, nullptr}, Case{u" = 1+A1", 2, "ADD(1,A1)"}, Case{u"@SUM(1)", 2, "SUM(1)"},
          Case{u"!A1", 3, "A1"}, Case{u"==1", 2, nullptr}}) {
        SCOPED_TRACE(ostrel::ToUtf8(c.text));
        std::u16string text(c.text);
        CCCellValue value;
        CCFormula* formula = nullptr;
        EXPECT_EQ(Parse(Ctx(), text.data(), value, formula), c.code);
        Tree owned(formula);
        EXPECT_EQ(owned ? Shape(Ctx(), owned.get()) : "none", c.shape ? c.shape : "none");
        EXPECT_TRUE(value.IsEmpty());
    }
    // A sign before something that is neither a number nor a formula leaves a text.
    std::u16string text = u"-1 2";
    CCCellValue value;
    CCFormula* formula = nullptr;
    EXPECT_EQ(Parse(Ctx(), text.data(), value, formula), 1);
    EXPECT_EQ(formula, nullptr);
    EXPECT_TRUE(value.IsText());
}

TEST_F(ParserTest, TextThatMayBeAFormula) {
    for (const char16_t* none : {u"", u"  ", u"*A1", u"'A1", u"\"A1\"", u"12", u"-12", u"(12)",
                                 u"1,234", u"1+", u"A1 B1"}) {
        std::u16string text(none);
        const char16_t* cursor = text.c_str();
        EXPECT_EQ(Tree(_QXDOSParse(Ctx(), cursor)), nullptr) << ostrel::ToUtf8(none);
    }
    std::u16string text = u" 1+A1 ";
    char16_t* cursor = text.data();
    Tree t(QXDOSParse(Ctx(), cursor));
    ASSERT_TRUE(t);
    EXPECT_EQ(Shape(Ctx(), t.get()), "ADD(1,A1)");
    EXPECT_GT(cursor, text.data());
}

TEST_F(ParserTest, LocaleSeparators) {
    zmk::multilang::CLegacyLocaleContext german(
        zmk::globals::global_environment().locales_cache().get("de_DE"));
    cells::LCTX lctx{&german};
    sheet.Ctx().SetLCTX(&lctx);
    ASSERT_EQ(german.listSeparartor(), u';');
    EXPECT_EQ(ShapeOf(u"SUM(1,5;2)"), "SUM(1.5,2)");
    EXPECT_EQ(ShapeOf(u"{1,5;2}"), "{1.5,2}");
    EXPECT_EQ(ShapeOf(u"SUM(1.5;2)"), "FAIL");  // "." is a sheet mark here, not a decimal
    if (german.listSeparartor2() != 0 && german.listSeparartor2() != u';') {
        std::u16string rows = u"{1;2";
        rows += german.listSeparartor2();
        rows += u"3;4}";
        EXPECT_EQ(ShapeOf(rows), "{1,2;3,4}");
    }
    sheet.Ctx().SetLCTX(cells::invariant_LCTX());
}

TEST_F(ParserTest, AlternateNames) {
    // Operators and functions read by their alternate names build the same entries.
    Tree primary = Read(u"SUM(1,2)");
    ASSERT_TRUE(primary);
    const CCFunc* sum = static_cast<CCOpFormula*>(primary.get())->GetFunc();
    std::u16string text = sum->GetAltName() + u"(1,2)";
    Tree alternate = Read(text, 1);
    ASSERT_TRUE(alternate);
    EXPECT_EQ(static_cast<CCOpFormula*>(alternate.get())->GetFunc(), sum);
}

// A chain of one operator is one node whatever its length (evaluating, streaming and copying
// such a chain are checked with the trees' streams), printed as the nested form would be.
TEST_F(ParserTest, LongChainIsOneNode) {
    constexpr int kOperands = 20000;
    std::u16string refs = u"A1";
    for (int i = 2; i <= kOperands; ++i)
        refs += u"+A" + ostrel::FromUtf8(std::to_string(i));
    Tree t = Read(refs);
    ASSERT_TRUE(t);
    ASSERT_EQ(t->GetType(), FORMULA_OP);
    auto* op = static_cast<CCOpFormula*>(t.get());
    EXPECT_EQ(op->GetFunc(), &ADDFunc);
    EXPECT_EQ(FormulaListCount(op->GetArgs()), size_t(kOperands));
    auto printed = [&](const CCFormula* f) {
        CWideOutStream out;
        f->Print(Ctx(), out, 0);
        return ostrel::ToUtf8(out.str());
    };
    const std::string text = printed(t.get());
    Tree reread = Read(ostrel::FromUtf8(text));
    ASSERT_TRUE(reread);
    EXPECT_TRUE(printed(reread.get()) == text);
    Tree chain = Read(u"A1-A2-A3");
    Tree nested(ConstructOpFormula(
        &SUBFunc, ConstructOpFormula(&SUBFunc, Read(u"A1").release(), Read(u"A2").release()),
        Read(u"A3").release()));
    EXPECT_EQ(printed(chain.get()), printed(nested.get()));
}

TEST_F(ParserTest, NestingIsBounded) {
    auto repeat = [](std::u16string_view s, int n) {
        std::u16string out;
        for (int i = 0; i < n; ++i)
            out += s;
        return out;
    };
    // Depth: each unary minus adds a level.
    EXPECT_NE(Read(repeat(u"-", kMaxFormulaDepth - 1) + u"1"), nullptr);
    EXPECT_EQ(Read(repeat(u"-", kMaxFormulaDepth) + u"1"), nullptr);
    // Parser stack: parentheses nest without nodes but fill the stack.
    EXPECT_NE(Read(repeat(u"(", 300) + u"1" + repeat(u")", 300)), nullptr);
    EXPECT_EQ(Read(repeat(u"(", 5000) + u"1" + repeat(u")", 5000)), nullptr);
    EXPECT_EQ(Read(repeat(u"(1+", 3000) + u"1" + repeat(u")", 3000)), nullptr);
    EXPECT_EQ(Read(repeat(u"SUM(", 3000) + u"1" + repeat(u")", 3000)), nullptr);
    EXPECT_EQ(Read(repeat(u"~", 100000) + u"1"), nullptr);
    EXPECT_EQ(Read(repeat(u"{", 5000)), nullptr);
}

TEST_F(ParserTest, FailedParsesFreeWhatTheyBuilt) {
    using ostrel::debug::CInstanceCounter;
    long formulas = CInstanceCounter<CCFormula>::Live();
    long refs = CInstanceCounter<CCRef>::Live();
    long values = CInstanceCounter<CCCellValue>::Live();
    ASSERT_GE(formulas, 0) << "built without instance counters (OSTREL_INSTANCE_COUNTERS)";
    for (const char16_t* bad :
         {u"SUM(1,A1:B2,\"x\",{1,2}) 1", u"Sheet1!A1:Sheet2!", u"Sheet1:Sheet2!A1 +",
          u"{1,2;3,\"a\"", u"{1,-\"a\"}", u"1+2+3+(4*5", u"INDEX(A1,1):", u"x:y",
          u"-(-(-(A1+B1)))) ", u"SUM(SUM(1),SUM(2)"}) {
        EXPECT_EQ(Read(bad), nullptr) << ostrel::ToUtf8(bad);
    }
    EXPECT_EQ(CInstanceCounter<CCFormula>::Live(), formulas);
    EXPECT_EQ(CInstanceCounter<CCRef>::Live(), refs);
    EXPECT_EQ(CInstanceCounter<CCCellValue>::Live(), values);
}

}  // namespace
