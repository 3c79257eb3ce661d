// SPDX-License-Identifier: Apache-2.0
#include "formats/lt_strings.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "formats/module_profile.h"
#include "ostrel/platform/resources.h"
#include "ostrel/platform/string_array.h"
#include "platform/names.h"

namespace {

std::vector<CString> List() {
    std::vector<CString> out;
    for (int i = 0; i < GetNumberLTStrings(); ++i)
        out.push_back(GetLTString(i));
    return out;
}

// The non-empty pieces of the default resource, in order.
std::vector<CString> ResourcePieces() {
    std::vector<CString> pieces;
    CString text(ostrel::LoadResourceString(13029));
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(u'\n', start);
        if (end == CString::npos) end = text.size();
        if (end > start) pieces.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return pieces;
}

class LTStrings : public ::testing::Test {
protected:
    void SetUp() override { ClearDefaultLTStrings(); }
    void TearDown() override {
        ClearDefaultLTStrings();
        ReleaseLTStrings();
    }
};

}  // namespace

TEST_F(LTStrings, LoadsTheResourceWithoutAProfileValue) {
    std::vector<CString> expected = ResourcePieces();
    ASSERT_FALSE(expected.empty());
    InitLTStrings();
    EXPECT_EQ(List(), expected);
    EXPECT_EQ(GetDefaultLTStrings(), CString(ostrel::LoadResourceString(13029)));
    // Loading again adds nothing that is already there.
    LoadLTStrings();
    EXPECT_EQ(List(), expected);
}

TEST_F(LTStrings, LoadsTheProfileValueDroppingEmptyPiecesAndDuplicates) {
    ASSERT_EQ(SetDefaultLTStrings(u"kg\n\nKG\r\nkg\nm\n"), 1);
    EXPECT_EQ(GetModuleProfileString(u"General", u"Leading/Trailing Strings", u""),
              u"kg\n\nKG\r\nkg\nm\n");
    InitLTStrings();
    EXPECT_EQ(List(), (std::vector<CString>{u"kg", u"KG", u"m"}));

    // Init starts over; Load alone appends what is new.
    AddLTString(u"extra");
    SetDefaultLTStrings(u"m\nl");
    LoadLTStrings();
    EXPECT_EQ(List(), (std::vector<CString>{u"kg", u"KG", u"m", u"extra", u"l"}));
    InitLTStrings();
    EXPECT_EQ(List(), (std::vector<CString>{u"m", u"l"}));

    ASSERT_EQ(ClearDefaultLTStrings(), 1);
    InitLTStrings();
    EXPECT_EQ(List(), ResourcePieces());
}

TEST_F(LTStrings, IndexesAndLookups) {
    ReleaseLTStrings();
    EXPECT_EQ(GetNumberLTStrings(), 0);
    EXPECT_EQ(AddLTString(u"a"), 0);
    EXPECT_EQ(AddLTString(u"b"), 1);
    EXPECT_EQ(AddLTString(u"a"), 2);  // no duplicate check
    EXPECT_EQ(std::tuple(GetLTStringIndex(u"a"), GetLTStringIndex(u"A")), std::tuple(0, -1));
    EXPECT_EQ(DoGetLTStringIndex(u"b"), 1);
    EXPECT_EQ(DoGetLTStringIndex(u"c"), 3);  // added
    EXPECT_EQ(GetNumberLTStrings(), 4);
    EXPECT_EQ(std::tuple(GetLTString(3), GetLTString(4), GetLTString(-1), GetLTString(1 << 30)),
              std::tuple(u"c", u"", u"", u""));
    CStringArray copy;
    copy.Add(u"old");
    GetLTStrings(copy);
    EXPECT_EQ(std::vector<CString>(copy.GetData(), copy.GetData() + copy.GetSize()),
              (std::vector<CString>{u"a", u"b", u"a", u"c"}));  // replaced
    ReleaseLTStrings();
    EXPECT_EQ(GetLTStringIndex(u"a"), -1);
    EXPECT_EQ(DoGetLTStringIndex(u"b"), 0);
}
