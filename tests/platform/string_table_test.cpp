// SPDX-License-Identifier: Apache-2.0
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "ostrel/platform/resources.h"
#include "ostrel/platform/utf.h"

using ostrel::LoadResourceString;

TEST(StringTable, CategoriesErrorsAndWords) {
    for (unsigned id = 13008; id <= 13018; ++id)
        EXPECT_FALSE(LoadResourceString(id).empty()) << id;
    std::set<std::u16string_view> errors;
    for (unsigned code = 0; code <= 15; ++code) {
        std::u16string_view text = LoadResourceString(13381 + code);
        EXPECT_FALSE(text.empty()) << code;
        errors.insert(text);
    }
    EXPECT_EQ(errors.size(), 16u) << "error texts must tell the codes apart";
    EXPECT_FALSE(LoadResourceString(13020).empty());
    EXPECT_FALSE(LoadResourceString(13021).empty());
    EXPECT_NE(LoadResourceString(13020), LoadResourceString(13021));
    for (unsigned id :
         {13029u, 13033u, 13034u, 13035u, 13036u, 13037u, 13038u, 13039u, 13042u, 13043u})
        EXPECT_FALSE(LoadResourceString(id).empty()) << id;
    EXPECT_TRUE(LoadResourceString(1).empty());
}
