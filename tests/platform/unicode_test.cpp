// SPDX-License-Identifier: Apache-2.0
#include "platform/text/unicode.h"

#include <gtest/gtest.h>

#include <string>

using namespace ostrel::text;

namespace {

// Selects a collation locale for one test and restores the invariant one after it.
class ScopedCollation {
public:
    explicit ScopedCollation(const std::string& name) { SetCollationLocale(name); }
    ~ScopedCollation() { SetCollationLocale(""); }
};

}  // namespace

TEST(Characters, SpacesFollowUnicodeWhiteSpace) {
    for (char16_t c : {u' ', u'\t', u'\n', u'\r', u'\v', u'\f', char16_t(0x00A0), char16_t(0x2003),
                       char16_t(0x202F), char16_t(0x3000)})
        EXPECT_TRUE(IsSpace(c)) << int(c);
    for (char16_t c : {u'a', u'0', u'_', char16_t(0), char16_t(0x200B), char16_t(0x00B7)})
        EXPECT_FALSE(IsSpace(c)) << int(c);
}

TEST(Characters, LettersAndDigitsBeyondAscii) {
    for (char16_t c : {u'a', u'Z', char16_t(0x00E4), char16_t(0x00DF), char16_t(0x0416),
                       char16_t(0x65E5), char16_t(0x05D0)})
        EXPECT_TRUE(IsAlpha(c) && IsAlnum(c)) << int(c);
    for (char16_t c :
         {u'1', u'_', u' ', u'@', char16_t(0x00D7), char16_t(0x20AC), char16_t(0xD800)})
        EXPECT_FALSE(IsAlpha(c)) << int(c);
    // Any decimal digit is alphanumeric, but only ASCII digits are digits to the scanners.
    EXPECT_TRUE(IsAlnum(u'7'));
    EXPECT_TRUE(IsAlnum(char16_t(0x0663)));
    EXPECT_FALSE(IsDigit(char16_t(0x0663)));
    EXPECT_FALSE(IsAlnum(u'-'));
    EXPECT_FALSE(IsAlnum(char16_t(0x2212)));
}

TEST(Characters, SimpleCaseMapping) {
    EXPECT_EQ(ToUpper(u'a'), u'A');
    EXPECT_EQ(ToLower(u'Q'), u'q');
    EXPECT_EQ(ToUpper(u'['), u'[');
    EXPECT_EQ(ToUpper(char16_t(0x00E4)), char16_t(0x00C4));  // ä
    EXPECT_EQ(ToUpper(char16_t(0x0451)), char16_t(0x0401));  // ё
    EXPECT_EQ(ToLower(char16_t(0x03A3)), char16_t(0x03C3));  // Σ
    EXPECT_EQ(ToLower(char16_t(0x0130)), u'i');              // İ, one to one
    EXPECT_EQ(ToUpper(char16_t(0x00DF)), char16_t(0x00DF));  // ß has no simple upper case
    EXPECT_EQ(ToUpper(char16_t(0xD801)), char16_t(0xD801));

    EXPECT_EQ(ToUpper(u"straße àb1"), u"STRAßE ÀB1");
    EXPECT_EQ(ToLower(u"ÀÉÎ Ω"), u"àéî ω");
    // Supplementary letters map as pairs; lone surrogates stay as they are.
    EXPECT_EQ(ToUpper(u"\U00010428x"), u"\U00010400X");
    EXPECT_EQ(ToLower(u"\U00010400"), u"\U00010428");
    std::u16string lone = {u'a', char16_t(0xDC00), u'b', char16_t(0xD801)};
    EXPECT_EQ(ToUpper(lone), (std::u16string{u'A', char16_t(0xDC00), u'B', char16_t(0xD801)}));
}

TEST(Collation, InvariantComparesCodeUnits) {
    ScopedCollation scope("C");
    EXPECT_EQ(GetCollationLocale(), "C");
    EXPECT_LT(Collate(u"a", u"B", false), 0);
    EXPECT_GT(Collate(u"a", u"B", true), 0);  // 'a' is 0x61, 'B' 0x42
    EXPECT_EQ(Collate(u"Hello", u"hELLO", false), 0);
    EXPECT_NE(Collate(u"Hello", u"hELLO", true), 0);
    EXPECT_EQ(Collate(u"ÄÖ", u"äö", false), 0);
    EXPECT_GT(Collate(u"ä", u"z", false), 0);
    EXPECT_LT(Collate(u"ab", u"abc", true), 0);
    EXPECT_EQ(Collate(u"", u"", true), 0);
}

TEST(Collation, NamedLocaleUsesItsCollator) {
    ScopedCollation scope("de_DE.UTF-8");
    EXPECT_EQ(GetCollationLocale(), "de_DE.UTF-8");
    EXPECT_LT(Collate(u"a", u"B", true), 0);
    EXPECT_LT(Collate(u"a", u"B", false), 0);
    EXPECT_GT(Collate(u"ä", u"a", true), 0);
    EXPECT_LT(Collate(u"ä", u"b", true), 0);
    EXPECT_LT(Collate(u"Äpfel", u"Birnen", false), 0);
    // Without case only case is ignored, not accents.
    EXPECT_EQ(Collate(u"Äpfel", u"äPFEL", false), 0);
    EXPECT_NE(Collate(u"Äpfel", u"äpfel", true), 0);
    EXPECT_NE(Collate(u"apfel", u"äpfel", false), 0);
    EXPECT_EQ(Collate(u"x", u"x", true), 0);
}

TEST(Collation, SwitchingLocalesAndUnknownNames) {
    {
        ScopedCollation scope("de_DE");
        EXPECT_LT(Collate(u"ä", u"z", true), 0);
        SetCollationLocale("");
        EXPECT_GT(Collate(u"ä", u"z", true), 0);
        SetCollationLocale("de_DE");  // the cached collators again
        EXPECT_LT(Collate(u"ä", u"z", true), 0);
    }
    // A locale ICU does not know compares like the invariant one.
    ScopedCollation unknown("xx_YY");
    EXPECT_GT(Collate(u"ä", u"z", true), 0);
    EXPECT_GT(Collate(u"a", u"B", true), 0);
}
