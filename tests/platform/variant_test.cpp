// SPDX-License-Identifier: Apache-2.0
#include "ostrel/platform/variant.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include "platform/names.h"

TEST(Bstr, LengthCountsEmbeddedZerosAndTerminates) {
    const char16_t raw[] = {u'a', 0, u'b', 0, 0};
    BSTR s = SysAllocStringLen(raw, 4);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(SysStringLen(s), 4u);
    EXPECT_EQ(std::u16string_view(s, 4), std::u16string_view(raw, 4));
    EXPECT_EQ(s[4], 0);  // terminated after the counted units
    SysFreeString(s);

    BSTR upToZero = SysAllocString(raw);  // a terminated text stops at its first zero
    EXPECT_EQ(SysStringLen(upToZero), 1u);
    SysFreeString(upToZero);

    BSTR blank = SysAllocStringLen(nullptr, 3);  // units without a source are zeros
    EXPECT_EQ(SysStringLen(blank), 3u);
    EXPECT_EQ(blank[0] | blank[1] | blank[2], 0);
    SysFreeString(blank);

    EXPECT_EQ(SysAllocString(static_cast<const char16_t*>(nullptr)), nullptr);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    SysFreeString(nullptr);
    EXPECT_EQ(SysAllocStringLen(u"x", UINT32_MAX), nullptr);  // cannot be described
}

TEST(Variant, CopyDuplicatesStringsAndClearFreesThem) {
    VARIANT src;
    VariantInit(&src);
    src.vt = VT_BSTR;
    src.bstrVal = SysAllocString(std::u16string_view(u"x\0y", 3));

    VARIANT dest;
    VariantInit(&dest);
    dest.vt = VT_BSTR;
    dest.bstrVal = SysAllocString(u"previous");  // must be freed by the copy (ASan checks)
    ASSERT_EQ(VariantCopy(&dest, &src), S_OK);
    ASSERT_NE(dest.bstrVal, src.bstrVal);
    EXPECT_EQ(std::tuple(dest.vt, SysStringLen(dest.bstrVal)), std::tuple(VT_BSTR, 3u));
    EXPECT_EQ(std::u16string_view(dest.bstrVal, 3), std::u16string_view(u"x\0y", 3));

    EXPECT_EQ(VariantClear(&src), S_OK);
    EXPECT_EQ(std::tuple(src.vt, dest.bstrVal[2]), std::tuple(VT_EMPTY, u'y'));  // dest survives
    EXPECT_EQ(VariantCopy(&dest, &dest), S_OK);
    EXPECT_EQ(dest.vt, VT_BSTR);
    VariantClear(&dest);

    VARIANT cy;
    cy.vt = VT_CY;
    cy.cyVal.int64 = -123456789012345;
    VARIANT out;
    ASSERT_EQ(VariantCopy(&out, &cy), S_OK);
    EXPECT_EQ(std::tuple(out.vt, out.cyVal.int64), std::tuple(VT_CY, -123456789012345));

    VARIANT odd;
    odd.vt = 0x2008;  // an array of strings: not a type the engine exchanges
    EXPECT_EQ(VariantCopy(&out, &odd), DISP_E_BADVARTYPE);
    EXPECT_EQ(out.vt, VT_EMPTY);
    EXPECT_EQ(VariantClear(nullptr), E_INVALIDARG);
}

TEST(Variant, WrapperOwnsItsString) {
    CVariant text(std::u16string_view(u"hello"));
    CVariant copy = text;
    EXPECT_NE(copy.bstrVal, text.bstrVal);
    EXPECT_EQ(copy.Text(), u"hello");

    CVariant moved = std::move(copy);
    EXPECT_EQ(std::tuple(copy.vt, moved.Text()), std::tuple(VT_EMPTY, u"hello"));
    moved = CVariant(2.5);  // the string is released on assignment
    EXPECT_EQ(std::tuple(moved.vt, moved.dblVal, moved.Text()), std::tuple(VT_R8, 2.5, u""));
    text = text;  // self-assignment keeps the string
    EXPECT_EQ(text.Text(), u"hello");
    CVariant number(int32_t(-7));
    EXPECT_EQ(std::tuple(number.vt, number.lVal), std::tuple(VT_I4, -7));
}
