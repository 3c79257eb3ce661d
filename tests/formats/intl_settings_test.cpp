// SPDX-License-Identifier: Apache-2.0
#include "formats/intl_settings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <tuple>
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
    // The signs are fixed; months outside 1-12 are neither kept nor answered.
    SetNegativeSign(u'~');
    SetPositiveSign(u'#');
    EXPECT_EQ(std::tuple(GetNegativeSign(), GetPositiveSign()), std::tuple(u'-', u'+'));
    SetDateLongMonths(0, u"Zero");
    SetDateLongMonths(13, u"Thirteen");
    EXPECT_EQ(std::tuple(GetDateLongMonths(0), GetDateShortMonths(13)),
              std::tuple(nullptr, nullptr));
    EXPECT_EQ(
        std::tuple(std::u16string(GetDateLongMonths(1)), std::u16string(GetDateShortMonths(12))),
        std::tuple(u"January", u"Dec"));
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
    EXPECT_EQ(std::tuple(std::u16string(GetCurrencyString()), GetListSeparartor(),
                         GetListSeparartor2(), GetDateOrder(), GetNumberDeciamalSeparartor(),
                         GetTimeRange(), GetDateYearPosition()),
              std::tuple(d.currencyString, d.listSeparator, u';', d.dateOrder,
                         d.numberDecimalSeparator, d.timeRange, d.dateYearPosition));
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

    // The second list separator is "\\" as both ";" and "," are taken; empty answers keep
    // AM and the short March, a long name is cut to 31 units.
    EXPECT_EQ(
        std::tuple(GetListSeparartor2(), std::u16string(GetCurrencyString()), GetTimeRange(),
                   std::u16string(GetTimeAMString()), std::u16string(GetTimePMString()),
                   std::u16string(GetDateLongMonths(1)), std::u16string(GetDateShortMonths(3))),
        std::tuple(u'\\', u"kr.", 24, u"AM", u"nachm.", std::u16string(31, u'J'), u"Mar"));
    EXPECT_TRUE(recorder.messages.empty());

    // The built-in codes follow: separators that codes would read as placeholders are
    // escaped, and a currency holding one is quoted.
    EXPECT_EQ(getBuiltInNumberFormat(19), u"d\\.m\\.yy");
    EXPECT_EQ(getBuiltInNumberFormat(25), u"h\\.mm");
    EXPECT_EQ(getBuiltInNumberFormat(27), u"d\\.m\\.yy h\\.mm");
    EXPECT_EQ(getBuiltInNumberFormat(11), u"#,##0.00 \"kr.\";-#,##0.00 \"kr.\"");
}

TEST_F(Settings, AListSeparatorEqualToTheDecimalSeparatorIsReplacedAndReportedOnce) {
    // Decimal and list separator of the locale, the separators taken, the one reported.
    for (auto [decimal, list, first, second, reported] :
         {std::tuple(u',', u',', u';', u'\\', u";"), std::tuple(u'.', u'.', u',', u';', u","),
          std::tuple(u'.', u';', u';', u',', u"")}) {
        SCOPED_TRACE(std::string(1, char(list)));
        recorder.messages.clear();
        ASSERT_EQ(InitInternationalSettings(CLocaleInfo(Separators(decimal, list))), 1);
        EXPECT_EQ(std::tuple(GetListSeparartor(), GetListSeparartor2()), std::tuple(first, second));
        ASSERT_EQ(recorder.messages.size(), *reported ? 1u : 0u);
        if (!*reported) continue;
        const Message& m = recorder.messages[0];
        std::u16string expected(ostrel::LoadResourceString(13043));
        expected.replace(expected.find(u"%s"), 2, reported);
        EXPECT_EQ(std::tuple(m.id, m.icon, m.text),
                  std::tuple(13043u, ostrel::MessageIcon::warning, expected));
    }
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
