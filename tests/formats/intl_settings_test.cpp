// SPDX-License-Identifier: Apache-2.0
#include "formats/intl_settings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "formats/builtin_formats.h"
#include "ostrel/platform/resources.h"
#include "ostrel/platform/ui.h"
#include "ostrel/platform/zmk/environment.h"
#include "platform/text/unicode.h"

using zmk::multilang::CLocaleInfo;
using zmk::multilang::LocaleData;

namespace {

struct Message {
    unsigned id;
    std::u16string text;
    ostrel::MessageIcon icon;
};

class Recorder : public ostrel::CUserInterface {
public:
    void ShowMessage(unsigned id, std::u16string_view text, ostrel::MessageIcon icon) override {
        messages.push_back({id, std::u16string(text), icon});
    }
    std::vector<Message> messages;
};

class Settings : public ::testing::Test {
protected:
    void SetUp() override {
        ResetInternationalSettings();
        ostrel::SetUserInterface(&recorder);
    }
    void TearDown() override {
        ostrel::SetUserInterface(nullptr);
        ResetInternationalSettings();
        ostrel::text::SetCollationLocale("");
    }
    Recorder recorder;
};

LocaleData Separators(char16_t decimal, char16_t list) {
    LocaleData d;
    d.numberDecimalSeparator = decimal;
    d.listSeparator = list;
    return d;
}

}  // namespace

TEST_F(Settings, SignsAndMonthsAndTruncation) {
    SetNegativeSign(u'~');
    SetPositiveSign(u'#');
    EXPECT_EQ(GetNegativeSign(), u'-');
    EXPECT_EQ(GetPositiveSign(), u'+');

    SetDateLongMonths(0, u"Zero");
    SetDateLongMonths(13, u"Thirteen");
    EXPECT_EQ(GetDateLongMonths(0), nullptr);
    EXPECT_EQ(GetDateShortMonths(13), nullptr);
    EXPECT_EQ(GetDateLongMonths(1), std::u16string(u"January"));
    EXPECT_EQ(GetDateShortMonths(12), std::u16string(u"Dec"));
    SetDateShortMonths(12, u"Dez");
    EXPECT_EQ(GetDateShortMonths(12), std::u16string(u"Dez"));

    std::u16string longText(40, u'x');
    SetCurrencyString(longText);
    EXPECT_EQ(GetCurrencyString(), longText.substr(0, 31));
    // A cut inside a surrogate pair drops the whole character.
    std::u16string pair = std::u16string(30, u'a') + u"\U0001F600" + u"b";
    SetTimeAMString(pair);
    EXPECT_EQ(GetTimeAMString(), std::u16string(30, u'a'));
    SetDateLongMonths(5, pair.substr(0, 32));
    EXPECT_EQ(GetDateLongMonths(5), std::u16string(30, u'a'));
}

TEST_F(Settings, TheInvariantLocaleGivesTheDefaults) {
    SetCurrencyString(u"EUR");
    SetListSeparartor(u'|');
    SetDateOrder(2);
    ostrel::text::SetCollationLocale("xx");
    ASSERT_EQ(InitInternationalSettings(), 1);  // the test program runs with LC_ALL=C
    const LocaleData d;
    EXPECT_EQ(GetCurrencyString(), d.currencyString);
    EXPECT_EQ(GetListSeparartor(), d.listSeparator);
    EXPECT_EQ(GetListSeparartor2(), u';');
    EXPECT_EQ(GetDateOrder(), d.dateOrder);
    EXPECT_EQ(GetNumberDeciamalSeparartor(), d.numberDecimalSeparator);
    EXPECT_EQ(GetTimeRange(), d.timeRange);
    EXPECT_EQ(GetDateYearPosition(), d.dateYearPosition);
    EXPECT_EQ(ostrel::text::GetCollationLocale(), "");
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(Settings, EverySettingComesFromTheLocale) {
    LocaleData d;
    d.numberDecimalSeparator = u',';
    d.listSeparator = u';';
    d.currencyString = u"kr.";
    d.currencyPositiveOrder = 3;
    d.currencyNegativeOrder = 8;
    d.dateSeparator = u'.';
    d.dateOrder = 1;
    d.dateYearSize = 2;
    d.timeSeparator = u'.';
    d.timeRange = 24;
    d.timeAMString = u"";  // an empty answer leaves the setting as it was
    d.timePMString = u"nachm.";
    d.longMonths[0] = std::u16string(35, u'J');
    d.shortMonths[2] = u"";
    CLocaleInfo info(d);
    ASSERT_EQ(InitInternationalSettings(info), 1);

    EXPECT_EQ(GetListSeparartor2(), u'\\');  // both ";" and "," are taken
    EXPECT_EQ(GetCurrencyString(), std::u16string(u"kr."));
    EXPECT_EQ(GetTimeRange(), 24);
    EXPECT_EQ(GetTimeAMString(), std::u16string(u"AM"));
    EXPECT_EQ(GetTimePMString(), std::u16string(u"nachm."));
    EXPECT_EQ(GetDateLongMonths(1), std::u16string(31, u'J'));
    EXPECT_EQ(GetDateShortMonths(3), std::u16string(u"Mar"));
    EXPECT_TRUE(recorder.messages.empty());

    // The built-in codes follow: separators that codes would read as placeholders are
    // escaped, and a currency holding one is quoted.
    EXPECT_EQ(getBuiltInNumberFormat(19), u"d\\.m\\.yy");
    EXPECT_EQ(getBuiltInNumberFormat(25), u"h\\.mm");
    EXPECT_EQ(getBuiltInNumberFormat(27), u"d\\.m\\.yy h\\.mm");
    EXPECT_EQ(getBuiltInNumberFormat(11), u"#,##0.00 \"kr.\";-#,##0.00 \"kr.\"");
}

TEST_F(Settings, AListSeparatorEqualToTheDecimalSeparatorIsReplacedAndReportedOnce) {
    CLocaleInfo comma(Separators(u',', u','));
    ASSERT_EQ(InitInternationalSettings(comma), 1);
    EXPECT_EQ(GetListSeparartor(), u';');
    EXPECT_EQ(GetListSeparartor2(), u'\\');
    ASSERT_EQ(recorder.messages.size(), 1u);
    const Message& m = recorder.messages[0];
    EXPECT_EQ(m.id, 13043u);
    EXPECT_EQ(m.icon, ostrel::MessageIcon::warning);
    std::u16string expected(ostrel::LoadResourceString(13043));
    expected.replace(expected.find(u"%s"), 2, u";");
    EXPECT_EQ(m.text, expected);

    recorder.messages.clear();
    CLocaleInfo point(Separators(u'.', u'.'));
    ASSERT_EQ(InitInternationalSettings(point), 1);
    EXPECT_EQ(GetListSeparartor(), u',');
    EXPECT_EQ(GetListSeparartor2(), u';');
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_NE(recorder.messages[0].text.find(u"\","), std::u16string::npos);

    recorder.messages.clear();
    CLocaleInfo semicolon(Separators(u'.', u';'));
    ASSERT_EQ(InitInternationalSettings(semicolon), 1);
    EXPECT_EQ(GetListSeparartor2(), u',');
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(Settings, AUserLocaleWithADecimalComma) {
    const CLocaleInfo* german = zmk::globals::global_environment().locales_cache().get("de_DE");
    if (!german || german->data().numberDecimalSeparator != u',')
        GTEST_SKIP() << "the locale library does not describe de_DE";
    ::setenv("LC_ALL", "de_DE.UTF-8", 1);
    int result = InitInternationalSettings();
    ::setenv("LC_ALL", "C", 1);
    ASSERT_EQ(result, 1);
    EXPECT_EQ(GetNumberDeciamalSeparartor(), u',');
    EXPECT_NE(GetListSeparartor(), u',');
    EXPECT_NE(GetListSeparartor2(), GetListSeparartor());
    EXPECT_LE(recorder.messages.size(), 1u);
    EXPECT_EQ(ostrel::text::GetCollationLocale(), german->name());
    EXPECT_EQ(GetDateOrder(), german->data().dateOrder);
}

TEST_F(Settings, BuiltInCodes) {
    const int count = GetBuiltInNumberFormatCount();
    EXPECT_EQ(getBuiltInNumberFormat(-1), u"General");
    EXPECT_EQ(getBuiltInNumberFormat(count), u"General");
    EXPECT_EQ(getBuiltInNumberFormat(19), u"m/d/yyyy");

    // Overridden settings reach the codes at the next rebuild only.
    SetCurrencyString(u"\u20ac");
    SetCurrencyPositiveOrder(1);
    SetCurrencyNegativeOrder(5);
    SetDateOrder(2);
    SetDateSeparator(u'-');
    EXPECT_EQ(getBuiltInNumberFormat(19), u"m/d/yyyy");
    RebuildBuiltInNumberFormats();
    EXPECT_EQ(getBuiltInNumberFormat(9), u"#,##0\u20ac;-#,##0\u20ac");
    EXPECT_EQ(getBuiltInNumberFormat(19), u"yyyy-m-d");
    EXPECT_EQ(GetBuiltInNumberFormatCount(), count);
}
