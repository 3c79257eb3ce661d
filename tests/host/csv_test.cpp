// SPDX-License-Identifier: Apache-2.0
#include "ostrel/csv.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ostrel/platform/utf.h"

using ostrel::CsvLimits;
using ostrel::CsvReader;
using ostrel::CsvWriter;
using Rows = std::vector<std::vector<std::u16string>>;

namespace {

struct Read {
    Rows rows;
    std::vector<size_t> lines;  // where each record began
    bool failed = false;
    ostrel::CsvError error;
};

Read ReadAll(std::string_view input, CsvLimits limits = {}, char separator = ',') {
    Read result;
    CsvReader reader(input, limits, separator);
    std::vector<std::u16string> fields;
    while (reader.Next(fields)) {
        result.rows.push_back(fields);
        result.lines.push_back(reader.RecordLine());
    }
    result.failed = reader.Failed();
    result.error = reader.Error();
    return result;
}

// "LINE: message" of the fault that stops the reader, or "read" when there is none.
std::string Refusal(std::string_view input, CsvLimits limits = {}) {
    Read r = ReadAll(input, limits);
    return r.failed ? std::to_string(r.error.line) + ": " + r.error.message : "read";
}

std::string Write(const Rows& rows, char separator = ',') {
    std::string out;
    CsvWriter writer(out, separator);
    for (const auto& row : rows) {
        for (const auto& field : row)
            writer.Field(field);
        writer.EndRecord();
    }
    return out;
}

}  // namespace

TEST(CsvReader, RecordsEndAtAnyLineBreakAndAtTheEndOfInput) {
    Read r = ReadAll("a,b\r\nc\nd\re,f");
    EXPECT_FALSE(r.failed);
    EXPECT_EQ(r.rows, (Rows{{u"a", u"b"}, {u"c"}, {u"d"}, {u"e", u"f"}}));
    EXPECT_EQ(r.lines, (std::vector<size_t>{1, 2, 3, 4}));
    // A separator at the very end still opens a last, empty field.
    EXPECT_EQ(ReadAll("a,").rows, (Rows{{u"a", u""}}));
}

TEST(CsvReader, QuotedFieldsHoldSeparatorsQuotesAndLineBreaks) {
    Read r = ReadAll("\"x, y\",\"q\"\"r\",\"two\r\nlines\",\"\"\nnext,\"a\nb\nc\"\nlast\n");
    EXPECT_FALSE(r.failed);
    ASSERT_EQ(r.rows.size(), 3u);
    EXPECT_EQ(r.rows[0], (std::vector<std::u16string>{u"x, y", u"q\"r", u"two\r\nlines", u""}));
    EXPECT_EQ(r.rows[1], (std::vector<std::u16string>{u"next", u"a\nb\nc"}));
    // Line numbers count the breaks inside quotes.
    EXPECT_EQ(r.lines, (std::vector<size_t>{1, 3, 6}));
    // A quote inside an unquoted field is an ordinary character.
    EXPECT_EQ(ReadAll("12\" pipe,a\"b").rows, (Rows{{u"12\" pipe", u"a\"b"}}));
}

TEST(CsvReader, BlankLinesAreRecordsExceptAtTheEnd) {
    EXPECT_EQ(ReadAll(",,\n\n  ,x\n\n\r\n\r").rows, (Rows{{u"", u"", u""}, {u""}, {u"  ", u"x"}}));
    EXPECT_TRUE(ReadAll("").rows.empty());
    EXPECT_TRUE(ReadAll("\n\r\n").rows.empty());
    EXPECT_TRUE(ReadAll("\xEF\xBB\xBF").rows.empty());
    // A long run of blank lines before content: each one is a record.
    Read r = ReadAll("a" + std::string(1000, '\n') + "b\n\n");
    ASSERT_EQ(r.rows.size(), 1001u);
    EXPECT_EQ(r.rows[1], (std::vector<std::u16string>{u""}));
    EXPECT_EQ(r.rows.back(), (std::vector<std::u16string>{u"b"}));
    EXPECT_EQ(r.lines.back(), 1001u);
}

TEST(CsvReader, DecodesUtf8AndSkipsOnlyALeadingByteOrderMark) {
    Read r = ReadAll(
        "\xEF\xBB\xBF\xC3\xA9,\xE6\x97\xA5\xE6\x9C\xAC,\xF0\x9D\x84\x9E,"
        "\xF4\x8F\xBF\xBF,\xC2\x80,\xEF\xBB\xBF");
    EXPECT_FALSE(r.failed);
    EXPECT_EQ(
        r.rows,
        (Rows{{u"\u00E9", u"\u65E5\u672C", u"\U0001D11E", u"\U0010FFFF", u"\u0080", u"\uFEFF"}}));
}

TEST(CsvReader, MalformedUtf8IsRefusedAtItsLine) {
    struct Case {
        const char* bytes;
        const char* what;
    };
    const Case cases[] = {
        {"\x80", "continuation byte without a lead"},
        {"\xC0\xAF", "overlong two-byte form"},
        {"\xC1\xBF", "overlong two-byte form"},
        {"\xE0\x80\xAF", "overlong three-byte form"},
        {"\xF0\x80\x80\xAF", "overlong four-byte form"},
        {"\xED\xA0\x80", "high surrogate"},
        {"\xED\xBF\xBF", "low surrogate"},
        {"\xF4\x90\x80\x80", "past U+10FFFF"},
        {"\xF5\x80\x80\x80", "lead byte past U+10FFFF"},
        {"\xFF", "byte never used"},
        {"\xE2\x82", "sequence cut by the end of input"},
        {"\xE2\x82,x", "sequence cut by a separator"},
        {"\xF0\x9D\x84\n", "sequence cut by a line break"},
        {"\xC3\xC3\xA9", "lead byte followed by a lead byte"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Refusal(std::string("ok\r\nfine,also\nx") + c.bytes), "3: invalid UTF-8")
            << c.what;
        // Inside a quoted field the line is where the bad bytes are, not where it began.
        EXPECT_EQ(Refusal(std::string("ok\n\"multi\r\nline ") + c.bytes + "\""), "3: invalid UTF-8")
            << c.what;
    }
}

TEST(CsvReader, BrokenQuotingAndNulAreRefusedAtTheirLine) {
    EXPECT_EQ(Refusal("a\n\"open\nstill open\n"), "2: quoted field not closed");
    EXPECT_EQ(Refusal("a\n\"quoted\"tail,b\n"), "2: unexpected text after a closing quote");
    EXPECT_EQ(Refusal(std::string("a\nb\n\"c\nd\0\"", 11)), "4: NUL character");

    // Nothing is returned after an error.
    CsvReader reader("\"x\"y\nz\n");
    std::vector<std::u16string> fields;
    EXPECT_FALSE(reader.Next(fields));
    EXPECT_FALSE(reader.Next(fields));
    EXPECT_TRUE(reader.Failed());
}

TEST(CsvReader, LimitsCountRecordsAndFieldsNotBlankLinesAtTheEnd) {
    // The grid's own limits are checked through the program, with a full sheet.
    const CsvLimits small{3, 2};
    EXPECT_EQ(Refusal("a,b\nc\nd,e\n\n\n", small), "read");
    EXPECT_EQ(Refusal("a\nb\n\"c\n\"\nd", small), "5: more than 3 rows");
    EXPECT_EQ(Refusal("a,b\n\"x\ny\",b,", small), "3: more than 2 columns");
    // An endless run of blank lines is no sheet: the endless-input tests.
}

TEST(CsvReader, FieldsUpToTheLimitArriveWholeAndLongerOnesAreRefused) {
    std::string longText(32767, 'x');
    longText[12345] = ',';
    std::string accented;
    for (int i = 0; i < 32767; ++i)
        accented += "\xC3\xA9";
    Read r = ReadAll("\"" + longText + "\"," + accented);
    ASSERT_FALSE(r.failed) << r.error.message;
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(r.rows[0][0], ostrel::FromUtf8(longText));
    EXPECT_EQ(r.rows[0][1], std::u16string(32767, u'\u00E9'));

    for (std::string tooLong : {"a\n\"" + longText + "x\"", "a\n" + accented + "\xC3\xA9"})
        EXPECT_EQ(Refusal(tooLong), "2: field longer than 32767 characters");
}

TEST(CsvWriter, QuotesOnlyWhereAFieldNeedsIt) {
    EXPECT_EQ(Write({{u"plain", u"  spaced  ", u"", u"\u00E9\U0001D11E"},
                     {u"a,b", u"say \"hi\"", u"line\nbreak", u"cr\rhere", u"\""},
                     {u""},
                     {u"", u""}}),
              "plain,  spaced  ,,\xC3\xA9\xF0\x9D\x84\x9E\n"
              "\"a,b\",\"say \"\"hi\"\"\",\"line\nbreak\",\"cr\rhere\",\"\"\"\"\n"
              "\n"
              ",\n");
    // U+FEFF opening the output would pass for a byte order mark.
    EXPECT_EQ(Write({{u"\uFEFFx", u"\uFEFF"}}), "\"\xEF\xBB\xBFx\",\xEF\xBB\xBF\n");
    // Plain fields around the length the writer copies in one piece, after a separator.
    const std::u16string a63(63, u'a'), b64(64, u'b');
    EXPECT_EQ(Write({{u"x", a63, b64}}),
              "x," + std::string(63, 'a') + "," + std::string(64, 'b') + "\n");
    // A lone surrogate cannot be written as UTF-8; it becomes U+FFFD.
    EXPECT_EQ(Write({{std::u16string(1, char16_t(0xD800))}}), "\xEF\xBF\xBD\n");
    // A long field of one-, two- and four-byte characters, ending pieces of the encoder
    // everywhere within them.
    std::u16string mixed;
    std::string utf8;
    for (int i = 0; i < 300; ++i) {
        mixed += u"a\u00E9\U0001D11E";
        utf8 += "a\xC3\xA9\xF0\x9D\x84\x9E";
    }
    EXPECT_EQ(Write({{mixed}}), utf8 + "\n");
}

TEST(CsvWriter, AsciiFieldsAreWrittenAsWideOnes) {
    const std::vector<std::string> fields = {
        "12", "", "-3", "a,b", "say \"hi\"", "cr\rlf\n", "x;y", "\t", std::string(70, '9')};
    for (const char separator : {',', ';', '\t'}) {
        // Every field in every place of a record, after a wide one and after an ASCII one.
        for (size_t first = 0; first < fields.size(); ++first) {
            std::string wide, ascii;
            CsvWriter w(wide, separator), a(ascii, separator);
            for (size_t i = 0; i < fields.size(); ++i) {
                const std::string& field = fields[(first + i) % fields.size()];
                w.Field(std::u16string(field.begin(), field.end()));
                if (i % 2)
                    a.Field(std::u16string(field.begin(), field.end()));
                else
                    a.AsciiField(field);
                if (i == 3) {
                    w.EndRecord();
                    a.EndRecord();
                }
            }
            EXPECT_EQ(ascii, wide) << separator << first;
        }
    }
}

TEST(CsvWriter, WhatIsWrittenReadsBackTheSame) {
    const Rows rows = {{u"\uFEFF", u"a,b", u"\"", u"\"\"x\"\"", u"\r\n", u"\n\n"},
                       {u""},
                       {u" ", u"\U0001F600, \u05D0\u05D1", u"tail\""},
                       {u"=A1+B2", u"", u""}};
    Read back = ReadAll(Write(rows));
    EXPECT_FALSE(back.failed);
    EXPECT_EQ(back.rows, rows);
}

TEST(CsvReader, OtherSeparatorsSplitFieldsAndTheWriterQuotesThem) {
    EXPECT_EQ(ReadAll("a;\"b;c\";d,e\n1,5;2\n", {}, ';').rows,
              (Rows{{u"a", u"b;c", u"d,e"}, {u"1,5", u"2"}}));
    EXPECT_EQ(Write({{u"a,b", u"c\td", u"e;f"}}, '\t'), "a,b\t\"c\td\"\te;f\n");
}

TEST(CsvReader, TheSeparatorIsTakenFromTheFirstLine) {
    using ostrel::DetectSeparator;
    EXPECT_EQ(DetectSeparator("a,b\n", true), ',');
    EXPECT_EQ(DetectSeparator("1,5;2,5\n3;4", true), ';');
    EXPECT_EQ(DetectSeparator("a;b\tc\n", true), '\t');
    EXPECT_EQ(DetectSeparator("\"x;y\",z\nq;r", true), ',');  // only outside quotes
    EXPECT_EQ(DetectSeparator("\xEF\xBB\xBF"
                              "a;b",
                              true),
              ';');
    EXPECT_EQ(DetectSeparator("", true), ',');
    // A first line that has not ended yet cannot tell.
    EXPECT_EQ(DetectSeparator("a,b", false), std::nullopt);
    EXPECT_EQ(DetectSeparator("a,b\n", false), ',');
}

TEST(CsvReader, InputInPiecesGivesTheSameRecordsAndFaults) {
    // Every way of cutting these inputs in two gives what reading them whole gives.
    const std::string inputs[] = {
        "\xEF\xBB\xBF"
        "a,\"b\"\"c\",d\r\n\"x\r\ny\"\r\n\xC3\xA9,\xF0\x9D\x84\x9E\n\n\nlast\r\n\r\n",
        "1\n2\n\"open",
        "a\nb,\"c\"d\n",
        "a\r",
        "\"\"\"\"",
        "x\n\n",
        "\xC3\n"};
    for (const std::string& input : inputs) {
        const Read whole = ReadAll(input);
        for (size_t cut = 0; cut <= input.size(); ++cut) {
            std::string bytes = input.substr(0, cut);
            CsvReader reader(bytes, CsvLimits{}, ',', false);
            Read pieces;
            std::vector<std::u16string> fields;
            for (bool complete = false;;) {
                while (reader.Next(fields)) {
                    pieces.rows.push_back(fields);
                    pieces.lines.push_back(reader.RecordLine());
                }
                if (reader.Failed() || complete) break;
                EXPECT_TRUE(reader.NeedsMore());
                bytes = input;
                complete = true;
                reader.Extend(bytes, true);
            }
            EXPECT_EQ(pieces.rows, whole.rows) << "cut at " << cut;
            EXPECT_EQ(pieces.lines, whole.lines) << "cut at " << cut;
            EXPECT_EQ(reader.Failed(), whole.failed) << "cut at " << cut;
            EXPECT_EQ(reader.Error().line, whole.error.line) << "cut at " << cut;
        }
    }
}
