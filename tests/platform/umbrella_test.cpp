// A host includes one header; every public name must come with it.
#include "cells.h"

#include <gtest/gtest.h>

TEST(Umbrella, GivesTheEngineNames) {
    CCNumberFormat format(C_NF_PERCENT);
    CWideOutStream out;
    format.Print(cells::invariant_LCTX(), out, 0.5, 0);
    EXPECT_EQ(out.str(), u"50%");
    EXPECT_EQ(DateToDouble(1, 1, 2000), 36525);
}
