// SPDX-License-Identifier: Apache-2.0
#include "ostrel/cells/cell_value.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "ostrel/formats/date_serial.h"
#include "ostrel/platform/archive.h"
#include "ostrel/platform/geometry.h"
#include "ostrel/platform/ptr_array.h"
#include "ostrel/platform/utf.h"
#include "ostrel/platform/variant.h"
#include "ostrel/platform/wide_stream.h"
#include "ostrel/refs/rc_ref.h"
#include "platform/names.h"
#include "support/archive_bytes.h"

using testing_support::Load;
using testing_support::Store;
using Bytes = std::vector<uint8_t>;

namespace {

CCCellValue Num(double x) {
    CCCellValue v;
    v.Set(x, C_NF_GENERAL);
    return v;
}
CCCellValue Text(const char16_t* t) {
    return CCCellValue(t);
}

CCCellValue Eval(int op, CCCellValue a, const CCCellValue& b) {
    EvalCellValue(op, a, b);
    return a;
}

std::string Show(const CCCellValue& v, int flags = 0) {
    CWideOutStream out;
    v.Print(nullptr, out, flags);
    return ostrel::ToUtf8(out.str());
}

// The value of a variant of kind vt whose payload fill() sets.
template <typename Fill>
CCCellValue FromVariant(VARTYPE vt, Fill fill) {
    VARIANT v;
    v.vt = vt;
    fill(v);
    return CCCellValue(v);
}

bool IsBool(const CCCellValue& v, double x) {
    return v.IsNumber() && v.GetNumber() == x && v.GetFormat().GetType() == C_NF_BOOL;
}

}  // namespace

TEST(CellValue, OperatorsAcrossKinds) {
    EXPECT_EQ(ostrel::ToUtf8(Eval(EV_ADD, Text(u"abc"), Text(u"def")).GetText()), "abcdef");
    EXPECT_EQ(Eval(EV_ADD, Text(u"abc"), Num(1)).GetError(), 3);
    EXPECT_TRUE(Eval(EV_ADD, Text(u"abc"), Num(1)).IsError());
    // Joined texts stop at 32,767 units: one more is error 3, not a longer text.
    const std::u16string half(16384, u'x');
    EXPECT_EQ(std::u16string(Eval(EV_ADD, Text(half.c_str()), Text(half.c_str() + 1)).GetText()),
              half + half.substr(1));
    EXPECT_EQ(Eval(EV_ADD, Text(half.c_str()), Text(half.c_str())).GetError(), 3);
    EXPECT_TRUE(IsBool(Eval(EV_EQ, Text(u"abc"), Num(1)), 0));
    EXPECT_TRUE(IsBool(Eval(EV_NE, Text(u"abc"), Num(1)), 1));
    EXPECT_TRUE(IsBool(Eval(EV_GT, Num(1), Text(u"abc")), 0));
    EXPECT_TRUE(IsBool(Eval(EV_AND, Text(u"abc"), Num(0)), 0));
    EXPECT_TRUE(IsBool(Eval(EV_OR, Text(u"abc"), Num(1)), 1));
    EXPECT_TRUE(IsBool(Eval(EV_OR, Text(u"abc"), Num(0)), 0));
    EXPECT_TRUE(Eval(EV_MUL, Text(u"a"), Text(u"b")).IsError());
    EXPECT_TRUE(IsBool(Eval(EV_LT, Text(u"a"), Text(u"b")), 1));
    // Empty sides.
    EXPECT_EQ(ostrel::ToUtf8(Eval(EV_ADD, CCCellValue(), Text(u"x")).GetText()), "x");
    EXPECT_TRUE(Eval(EV_ADD, CCCellValue(), CCCellValue()).IsEmpty());
    EXPECT_TRUE(IsBool(Eval(EV_EQ, CCCellValue(), Num(0)), 1));
    EXPECT_EQ(Eval(EV_SUB, CCCellValue(), Num(2)).GetNumber(), -2);
    // Errors: division by zero; the left error wins over the right one.
    EXPECT_EQ(Eval(EV_DIV, Num(1), Num(0)).GetError(), 2);
    EXPECT_EQ(Eval(EV_ADD, CCCellValue(7), CCCellValue(9)).GetError(), 7);
    EXPECT_EQ(Eval(EV_ADD, Num(1), CCCellValue(9)).GetError(), 9);
    // The epsilon applies to = and <> but not to the orderings.
    CCCellValue sum = Eval(EV_ADD, Num(0.1), Num(0.2));
    EXPECT_TRUE(IsBool(Eval(EV_EQ, sum, Num(0.3)), 1));
    EXPECT_TRUE(IsBool(Eval(EV_GT, sum, Num(0.3)), 1));
    EXPECT_TRUE(IsBool(Eval(EV_NE, sum, Num(0.3)), 0));
    // Arithmetic results are General, whatever the operands' kinds.
    CCCellValue currency;
    currency.Set(5.0, C_NF_CURRENCY);
    EXPECT_EQ(Eval(EV_ADD, currency, Num(1)).GetFormat().GetType(), C_NF_GENERAL);
    EXPECT_EQ(Eval(EV_POW, Num(2), Num(10)).GetNumber(), 1024);
    // An unknown operation leaves a unchanged; an operand may be the result itself.
    EXPECT_EQ(Eval(99, Num(4), Num(5)).GetNumber(), 4);
    CCCellValue self = Text(u"ab");
    EvalCellValue(EV_ADD, self, self);
    EXPECT_EQ(ostrel::ToUtf8(self.GetText()), "abab");
}

TEST(CellValue, UnaryOperators) {
    CCCellValue v = Text(u"12");
    EvalCellValue(EV_PLUS, v);
    EXPECT_TRUE(v.IsText());  // unary plus leaves texts alone
    EvalCellValue(EV_NEGATE, v);
    EXPECT_EQ(v.GetNumber(), 0);  // the text is not read as a number
    v = Num(5);
    EvalCellValue(EV_PERCENT, v);
    EXPECT_DOUBLE_EQ(v.GetNumber(), 0.05);
    EvalCellValue(EV_NOT, v);
    EXPECT_TRUE(IsBool(v, 0));
    CCCellValue err(3);
    EvalCellValue(EV_NEGATE, err);
    EXPECT_EQ(err.GetError(), 3);
}

TEST(CellValue, SortOrderAndNaN) {
    std::vector<CCCellValue> values = {CCCellValue(), Text(u"b"),     CCCellValue(5), Num(3),
                                       Text(u"a"),    CCCellValue(2), Num(-1)};
    std::vector<CCCellValue*> ptrs;
    for (auto& v : values)
        ptrs.push_back(&v);
    SortCellValues(ptrs.data(), ptrs.size(), 1);
    // Numbers, texts, errors in their own order (the sort is stable), then the empty value.
    std::vector<std::string> sorted;
    for (const CCCellValue* v : ptrs)
        sorted.push_back(Show(*v));
    EXPECT_EQ(sorted, (std::vector<std::string>{"-1", "3", "a", "b", Show(CCCellValue(5)),
                                                Show(CCCellValue(2)), ""}));
    double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(CompareCellValues(Num(1), Num(nan), 1), 0);
    EXPECT_TRUE(Num(nan).IsTrue());
    // Any mix with NaNs sorts without losing or duplicating an element.
    std::vector<CCCellValue> mix;
    for (int i = 0; i < 200; ++i)
        mix.push_back(Num(i % 7 == 0 ? nan : (i * 37) % 101));
    std::vector<CCCellValue*> mp;
    for (auto& v : mix)
        mp.push_back(&v);
    SortCellValues(mp.data(), mp.size(), 1);
    std::sort(mp.begin(), mp.end());
    EXPECT_EQ(std::unique(mp.begin(), mp.end()), mp.end());
    // Same-kind comparison of texts with nulls.
    CCCellValue nullText(static_cast<const char16_t*>(nullptr));
    EXPECT_EQ(std::tuple(CompareEQTypeValues(nullText, Text(u"a"), 1),
                         CompareEQTypeValues(Text(u"a"), nullText, 1),
                         CompareEQTypeValues(nullText, nullText, 1)),
              std::tuple(-1, 1, 0));
}

TEST(CellValue, EqualityAndTruth) {
    CCCellValue a = Num(1), b;
    b.Set(1.0, C_NF_CURRENCY);
    EXPECT_FALSE(a.IsEqual(b));  // same number, other format
    EXPECT_TRUE(a.IsEqual(Num(1 + 1e-17)));
    CCRCRef ref(1, 1);
    CCCellValue r(&ref);
    // A text is true when it has units, an error never is, a reference always.
    EXPECT_EQ(
        std::tuple(CCCellValue(static_cast<const char16_t*>(nullptr)).IsTrue(), Text(u"").IsTrue(),
                   Text(u"x").IsTrue(), CCCellValue(1).IsTrue(), r.IsTrue()),
        std::tuple(false, false, true, false, true));
    EXPECT_FALSE(r.IsEqual(r));
    // Copies never share a text or a reference.
    CCCellValue copy = r;
    EXPECT_NE(copy.GetRef(), r.GetRef());
    CCCellValue t = Text(u"abc"), u;
    u = t;
    EXPECT_NE(u.GetText(), t.GetText());
    t.Set(t.GetText());  // setting a value from its own text
    EXPECT_EQ(ostrel::ToUtf8(t.GetText()), "abc");
}

TEST(CellValue, Printing) {
    EXPECT_EQ(Show(CCCellValue(2)), "#DIV/0!");
    EXPECT_EQ(Show(Text(u"say \"hi\" ^")), "say \"hi\" ^");
    EXPECT_EQ(Show(Text(u"say \"hi\" ^"), 2), "say ^\"hi^\" ^^");
    EXPECT_EQ(Show(Num(std::numeric_limits<double>::infinity())), Show(CCCellValue(3)));
    EXPECT_EQ(Show(Num(0.5)), "0.5");
    CCCellValue pct;
    pct.Set(0.25, C_NF_PERCENT);
    EXPECT_EQ(Show(pct), "25%");
    EXPECT_EQ(Show(CCCellValue()), "");
}

TEST(CellValue, VariantConversions) {
    CVariant back;
    CCCellValue v = FromVariant(VT_CY, [](VARIANT& x) { x.cyVal.int64 = 123456789; });
    EXPECT_EQ(std::tuple(v.GetNumber(), v.GetFormat().GetType()),
              std::tuple(12345.6789, C_NF_CURRENCY));
    v.Get(back);
    EXPECT_EQ(std::tuple(back.vt, back.cyVal.int64), std::tuple(VT_CY, 123456789));  // exact
    CCCellValue huge;
    huge.Set(1e300, C_NF_CURRENCY);
    huge.Get(back);
    EXPECT_EQ(back.vt, VT_ERROR);

    CCCellValue small = FromVariant(VT_I2, [](VARIANT& x) { x.iVal = -7; });
    EXPECT_EQ(small.GetFormat().GetType(), C_NF_NUMBER);
    small.Get(back);
    EXPECT_EQ(std::tuple(back.vt, back.lVal), std::tuple(VT_I4, -7));

    // Dates: inside 1900-2071 both ways; outside gives error 3 or VT_ERROR.
    CCCellValue date;
    date.Set(DateToDouble(15, 6, 2020) + 0.5, C_NF_DATE);
    date.Get(back);
    ASSERT_EQ(back.vt, VT_DATE);
    EXPECT_DOUBLE_EQ(CCCellValue(back).GetNumber(), date.GetNumber());
    EXPECT_EQ(FromVariant(VT_DATE, [](VARIANT& x) { x.date = -1000; }).GetError(), 3);  // 1897
    CCCellValue late;
    late.Set(DateToDouble(1, 1, 2072), C_NF_DATE);
    late.Get(back);
    EXPECT_EQ(std::tuple(back.vt, back.scode), std::tuple(VT_ERROR, E_FAIL));

    // Text replaces whatever the variant held (ASan sees a leaked BSTR otherwise).
    CVariant text(u"old text");
    Text(u"new").Get(text);
    EXPECT_EQ(std::tuple(text.vt, std::u16string(text.bstrVal)), std::tuple(VT_BSTR, u"new"));
    CCCellValue().Get(text);
    EXPECT_EQ(text.vt, VT_EMPTY);

    auto boolean = FromVariant(VT_BOOL, [](VARIANT& x) { x.boolVal = VARIANT_TRUE; });
    EXPECT_EQ(boolean.GetFormat().GetType(), C_NF_BOOL);
    auto byte = FromVariant(VT_UI1, [](VARIANT& x) { x.bVal = 65; });
    EXPECT_EQ(ostrel::ToUtf8(byte.GetText()), "A");
    EXPECT_EQ(FromVariant(99, [](VARIANT&) {}).GetError(), 3);
    // Hex numbers and references leave the variant as passed.
    CCCellValue hex;
    hex.Set(255.0, C_NF_HEX);
    CVariant untouched(42.0);
    hex.Get(untouched);
    EXPECT_EQ(std::tuple(untouched.vt, untouched.dblVal), std::tuple(VT_R8, 42.0));
}

TEST(CellValue, StreamForm) {
    CCCellValue number;
    number.Set(1.5, C_NF_GENERAL);
    Bytes bytes = Store([&](CArchive& ar) { number.Write(nullptr, ar); });
    // The type, the double, the format with an empty code.
    EXPECT_EQ(std::tuple(bytes.size(), bytes[0]), std::tuple(1u + 8 + 12, 3));
    CCCellValue back;
    Load(bytes, [&](CArchive& ar) { back.Read(nullptr, ar); });
    EXPECT_TRUE(back.IsEqual(number));

    std::u16string longText(5000, u'x');
    Bytes textBytes = Store([&](CArchive& ar) { Text(longText.c_str()).Write(nullptr, ar); });
    Load(textBytes, [&](CArchive& ar) {
        back.Read(nullptr, ar);
        EXPECT_EQ(std::char_traits<char16_t>::length(back.GetText()), 4096u);
    });
    EXPECT_EQ(Store([&](CArchive& ar) { CCCellValue(4).Write(nullptr, ar); }),
              (Bytes{1, 4, 0, 0, 0}));
    CCRCRef a1;
    EXPECT_EQ(Store([&](CArchive& ar) { CCCellValue(&a1).Write(nullptr, ar); }), (Bytes{4}));
    Load({4}, [&](CArchive& ar) {
        back.Read(nullptr, ar);
        EXPECT_EQ(std::tuple(back.IsRef(), back.GetRef()), std::tuple(true, nullptr));
    });
    Load({5}, [&](CArchive& ar) { EXPECT_THROW(back.Read(nullptr, ar), CArchiveException); });
    Load({3, 0, 0}, [&](CArchive& ar) {
        EXPECT_THROW(back.Read(nullptr, ar), CArchiveException);
        EXPECT_TRUE(back.IsEmpty());
    });
}

TEST(CellValue, OptionalValuesAndArrays) {
    CPtrArray values;
    values.Add(new CCCellValue(u"a"));
    values.Add(nullptr);
    values.Add(new CCCellValue(2));
    Bytes bytes = Store([&](CArchive& ar) { WriteValueArray(nullptr, ar, values); });
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 4), (Bytes{3, 0, 0, 0}));
    CPtrArray back;
    Load(bytes, [&](CArchive& ar) { ReadValueArray(nullptr, ar, back); });
    ASSERT_EQ(back.GetSize(), 3);
    EXPECT_EQ(std::tuple(back.GetAt(1), static_cast<CCCellValue*>(back.GetAt(2))->GetError()),
              std::tuple(nullptr, 2));
    FreeValueArray(back);
    FreeValueArray(values);
    EXPECT_EQ(values.GetSize(), 0);
    // Negative and oversized counts are refused before anything is allocated.
    Load({0xFF, 0xFF, 0xFF, 0xFF},
         [&](CArchive& ar) { EXPECT_THROW(ReadValueArray(nullptr, ar, back), CArchiveException); });
    Load({0xFF, 0xFF, 0xFF, 0x7F, 0},
         [&](CArchive& ar) { EXPECT_THROW(ReadValueArray(nullptr, ar, back), CArchiveException); });
    // A truncated array frees what it read.
    Load({2, 0, 0, 0, 1, 1, 3, 0, 0, 0, 1}, [&](CArchive& ar) {
        EXPECT_THROW(ReadValueArray(nullptr, ar, back), CArchiveException);
        EXPECT_EQ(back.GetSize(), 0);
    });
    Load({2}, [&](CArchive& ar) { EXPECT_THROW(ReadCellValue(nullptr, ar), CArchiveException); });
}

TEST(CellValue, ArrayConstantsMeasureRowByRow) {
    SCCellValueList* list = nullptr;
    EXPECT_EQ(CalcCellValueArraySize(list), CSize(0, 0));
    CellValueListAddLast(list, new CCCellValue(1));
    CellValueListAddLast(list, new CCCellValue(2));
    SCCellValueList* row = CellValueListCreate(new CCCellValue(3));
    CellValueListAddLast(row, new CCCellValue(4));
    CellValueListAddLast(row, new CCCellValue(5));
    CellValueListAddRow(list, row);
    EXPECT_EQ(CalcCellValueArraySize(list), CSize(3, 2));
    CellValueListFree(list, 1);
}
