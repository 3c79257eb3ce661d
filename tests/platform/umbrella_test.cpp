// SPDX-License-Identifier: Apache-2.0
// A host includes one header; every public name must come with it, and none of the platform
// stand-ins may take a name an application already uses at global scope.
struct CFile {};
struct CPoint {
    int x;
};
using HRESULT = long;
struct VARIANT {
    int v;
};
class CString {};

#include "ostrel/cells.h"

#include <gtest/gtest.h>

TEST(Umbrella, GivesTheEngineNamesBesideTheApplicationsOwn) {
    CCNumberFormat format(C_NF_PERCENT);
    CCCellValue value;
    value.Set(0.5, format);
    ostrel::platform::CWideOutStream out;
    value.Print(nullptr, out, 0);
    EXPECT_EQ(out.str(), u"50%");
    EXPECT_EQ(DateToDouble(1, 1, 2000), 36525);
    CCRCRef a1;
    EXPECT_EQ(a1.GetType(), REF_TYPE_RC);
    const CPoint own{7};
    const HRESULT result = 0;
    EXPECT_EQ(own.x + result, 7);
}
