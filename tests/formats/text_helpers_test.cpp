// SPDX-License-Identifier: Apache-2.0
#include "formats/text_helpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "ostrel/platform/utf.h"

namespace {

// The offset of StrStrW's answer, or -1.
long Offset(const std::u16string& text, const char16_t* pattern, int caseSensitive, int wholeWord) {
    const char16_t* found = StrStrW(text.c_str(), pattern, caseSensitive, wholeWord);
    return found ? found - text.c_str() : -1;
}

// Replace-all through repeated StrRep steps, as a search-and-replace command runs it: the
// result and the number of steps that replaced.
std::pair<std::u16string, int> ReplaceAll(const std::u16string& text, const char16_t* pattern,
                                          const char16_t* replacement, int room, int caseSensitive,
                                          int wholeWord) {
    std::vector<char16_t> buffer(static_cast<size_t>(room) + 1, u'#');
    char16_t* destination = buffer.data();
    const char16_t* source = text.c_str();
    int count = 0;
    while (StrRep(destination, source, room, pattern, replacement, caseSensitive, wholeWord))
        ++count;
    return {std::u16string(buffer.data()), count};
}

}  // namespace

TEST(TextHelpers, ColumnLetters) {
    EXPECT_EQ(PrintCol(26), u"AA");
    EXPECT_EQ(PrintCol(255), u"IV");
    char16_t buffer[3] = {u'x', u'x', u'x'};
    EXPECT_EQ(PrintCol(buffer, 3), 1);
    EXPECT_EQ(buffer[1], 0);
    std::set<std::u16string> seen;
    for (int c = 0; c < 256; ++c) {
        std::u16string letters = PrintCol(static_cast<unsigned char>(c));
        int back = 0;
        for (char16_t l : letters)
            back = back * 26 + (l - u'A' + 1);
        EXPECT_EQ(back - 1, c);
        seen.insert(letters);
    }
    EXPECT_EQ(seen.size(), 256u);
}

TEST(TextHelpers, Collation) {
    EXPECT_EQ(StrColl(nullptr, nullptr, 1), 0);
    EXPECT_LT(StrColl(nullptr, u"", 1), 0);
    EXPECT_GT(StrColl(u"", nullptr, 0), 0);
    EXPECT_EQ(StrColl(u"abc", u"ABC", 0), 0);
    EXPECT_NE(StrColl(u"abc", u"ABC", 1), 0);
    EXPECT_GT(StrColl(u"b", u"abc", 0), 0);
}

TEST(TextHelpers, Search) {
    std::u16string text = u"Concat the CAT, cat2 and cat";
    EXPECT_EQ(Offset(text, u"cat", 1, 0), 3);
    EXPECT_EQ(Offset(text, u"cat", 0, 1), 11);
    EXPECT_EQ(Offset(text, u"cat", 1, 1), 25);
    EXPECT_EQ(Offset(text, u"dog", 0, 0), -1);
    EXPECT_EQ(Offset(text, u"", 1, 1), 0);
    EXPECT_EQ(Offset(text, nullptr, 1, 0), 0);
    EXPECT_EQ(StrStrW(static_cast<const char16_t*>(nullptr), u"a", 1, 0), nullptr);
    EXPECT_EQ(Offset(u"ab", u"abc", 1, 0), -1);
    // Overlapping candidates: the first whole-word one counts.
    EXPECT_EQ(Offset(u"aa-aa a", u"aa", 1, 1), 0);
    EXPECT_EQ(Offset(u"aaa aa", u"aa", 1, 1), 4);
    char16_t writable[] = u"xyz";
    EXPECT_EQ(StrStrW(writable, u"Y", 0, 0), writable + 1);

    // The same answers as a plain search, over texts full of self-overlap.
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        std::u16string hay, needle;
        for (int i = random() % 40; i > 0; --i)
            hay += static_cast<char16_t>(u'a' + random() % 2);
        for (int i = 1 + random() % 4; i > 0; --i)
            needle += static_cast<char16_t>(u'a' + random() % 2);
        size_t expected = hay.find(needle);
        ASSERT_EQ(Offset(hay, needle.c_str(), 1, 0),
                  expected == std::u16string::npos ? -1 : static_cast<long>(expected))
            << round;
    }
    // A pattern that almost matches everywhere stays linear.
    std::u16string many(200000, u'a');
    std::u16string pattern(5000, u'a');
    pattern += u'b';
    EXPECT_EQ(Offset(many, pattern.c_str(), 0, 0), -1);
}

TEST(TextHelpers, Replace) {
    using Result = std::pair<std::u16string, int>;
    EXPECT_EQ(ReplaceAll(u"the cat sat on the mat", u"at", u"og", 100, 1, 0),
              Result(u"the cog sog on the mog", 3));
    EXPECT_EQ(ReplaceAll(u"Cat cat concat", u"cat", u"dog", 100, 0, 1),
              Result(u"dog dog concat", 2));
    EXPECT_EQ(ReplaceAll(u"aaa", u"a", u"", 100, 1, 0), Result(u"", 3));
    EXPECT_EQ(ReplaceAll(u"aaa", u"a", u"aa", 100, 1, 0), Result(u"aaaaaa", 3));
    // The room runs out: what fits is written, and the copy stays terminated.
    EXPECT_EQ(ReplaceAll(u"abcabc", u"b", u"XYZ", 4, 1, 0), Result(u"aXYZ", 1));
    EXPECT_EQ(ReplaceAll(u"abcabc", u"b", u"XYZ", 3, 1, 0), Result(u"aXY", 0));
    EXPECT_EQ(ReplaceAll(u"abcdef", u"z", u"", 3, 1, 0), Result(u"abc", 0));
    // An empty pattern replaces nothing; it must not loop on the same position.
    for (const char16_t* empty : {u"", static_cast<const char16_t*>(nullptr)})
        EXPECT_EQ(ReplaceAll(u"abc", empty, u"X", 100, 1, 0), Result(u"abc", 0));

    // The cursors say where the step stopped.
    char16_t out[16];
    char16_t* destination = out;
    const char16_t* source = u"one two";
    int room = 15;
    ASSERT_EQ(StrRep(destination, source, room, u"ONE", u"1", 0, 1), 1);
    EXPECT_EQ(std::tuple(destination - out, std::u16string(source), room),
              std::tuple(1, u" two", 14));
}

TEST(TextHelpers, SetsAndBrackets) {
    EXPECT_EQ(std::tuple(StrFind(u"abc;def", u";,"), StrFind(u"abcdef", u";,"),
                         StrFind(u"abc", nullptr), StrFind(u"", u"a"), StrFind(nullptr, u"a")),
              std::tuple(3, 6, 3, 0, 0));
    // The order of the brackets is not checked.
    const std::pair<const char16_t*, int> brackets[] = {
        {u"SUM((1,2),{3})", 1}, {u")(", 1}, {u"(()", 0}, {u"{1,2", 0}, {u"({)", 0}, {nullptr, 1}};
    for (auto [text, matched] : brackets)
        EXPECT_EQ(MatchBrackets(text), matched) << (text ? ostrel::ToUtf8(text) : "null");
}

TEST(TextHelpers, SortDoubles) {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> value(-1e6, 1e6);
    std::vector<double> values(5000);
    for (double& v : values)
        v = std::floor(value(random) / 1000);  // many equal values
    std::vector<double> expected = values;
    std::sort(expected.begin(), expected.end());
    SortDoubleArray(values.data(), static_cast<int>(values.size()));
    EXPECT_EQ(values, expected);

    // Input that drives a middle-pivot quicksort to its worst case sorts as well.
    std::vector<double> organ;
    for (int i = 0; i < 100000; ++i)
        organ.push_back(i % 2 ? i : 100000 - i);
    SortDoubleArray(organ.data(), static_cast<int>(organ.size()));
    EXPECT_TRUE(std::is_sorted(organ.begin(), organ.end()));

    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::vector<double> mixed = {3, nan, -1, nan, 2, -std::numeric_limits<double>::infinity()};
    SortDoubleArray(mixed.data(), static_cast<int>(mixed.size()));
    EXPECT_EQ(mixed[0], -std::numeric_limits<double>::infinity());
    EXPECT_EQ(mixed[1], -1);
    EXPECT_EQ(mixed[3], 3);
    EXPECT_TRUE(std::isnan(mixed[4]) && std::isnan(mixed[5]));

    SortDoubleArray(nullptr, 5);
    double one = 1;
    SortDoubleArray(&one, -3);
    EXPECT_EQ(one, 1);
}

TEST(TextHelpers, PrimeSieve) {
    std::vector<unsigned char> bits(128, 0);
    GetSimpleNumbers(bits.data(), static_cast<int>(bits.size()));
    for (int i = 0; i < 1024; ++i) {
        bool set = (bits[i / 8] >> (i % 8)) & 1;
        bool prime = i >= 2;
        for (int d = 2; d * d <= i && prime; ++d)
            prime = i % d != 0;
        ASSERT_EQ(set, i < 2 || prime) << i;
    }
    GetSimpleNumbers(nullptr, 10);
    GetSimpleNumbers(bits.data(), 0);
}
