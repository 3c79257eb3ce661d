// SPDX-License-Identifier: Apache-2.0
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "ostrel/platform/resources.h"
#include "ostrel/platform/utf.h"

using ostrel::LoadResourceString;

// Category names, boolean words and messages have texts; the error texts tell the codes apart.
TEST(StringTable, CategoriesErrorsAndWords) {
    std::vector<unsigned> ids = {13020, 13021, 13029, 13033, 13034, 13035,
                                 13036, 13037, 13038, 13039, 13042, 13043};
    for (unsigned id = 13008; id <= 13018; ++id)
        ids.push_back(id);
    for (unsigned id : ids)
        EXPECT_FALSE(LoadResourceString(id).empty()) << id;
    std::set<std::u16string_view> errors;
    for (unsigned code = 0; code <= 15; ++code)
        errors.insert(LoadResourceString(13381 + code));
    EXPECT_EQ(errors.size(), 16u);
    EXPECT_FALSE(errors.contains(u""));
    EXPECT_NE(LoadResourceString(13020), LoadResourceString(13021));
    EXPECT_TRUE(LoadResourceString(1).empty());
}
