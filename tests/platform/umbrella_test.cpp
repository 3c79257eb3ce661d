// A host includes one header; every public name must come with it.
#include "ostrel/cells.h"

#include <gtest/gtest.h>

TEST(Umbrella, GivesTheEngineNames) {
    CCNumberFormat format(C_NF_PERCENT);
    CCCellValue value;
    value.Set(0.5, format);
    CWideOutStream out;
    value.Print(nullptr, out, 0);
    EXPECT_EQ(out.str(), u"50%");
    EXPECT_EQ(DateToDouble(1, 1, 2000), 36525);
    CCRCRef a1;
    EXPECT_EQ(a1.GetType(), REF_TYPE_RC);
}
