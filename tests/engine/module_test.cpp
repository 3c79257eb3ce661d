// SPDX-License-Identifier: Apache-2.0
#include "ostrel/engine/module.h"

#include <gtest/gtest.h>

#include "formats/format_code_cache.h"
#include "formats/intl_settings.h"
#include "formats/lt_strings.h"

TEST(Module, StartAndEndSetUpAndReleaseTheSharedState) {
    QXCellInit();
    EXPECT_TRUE(CFormatCodeCache::Exists());
    EXPECT_GT(GetNumberLTStrings(), 0);              // the default unit texts
    EXPECT_EQ(GetNumberDeciamalSeparartor(), u'.');  // the test runs in the C locale
    int units = GetNumberLTStrings();
    QXCellInit();  // a second start does not pile up unit texts
    EXPECT_EQ(GetNumberLTStrings(), units);
    QXCellExit();
    EXPECT_FALSE(CFormatCodeCache::Exists());
    EXPECT_EQ(GetNumberLTStrings(), 0);
}
