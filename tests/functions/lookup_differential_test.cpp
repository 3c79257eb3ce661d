// SPDX-License-Identifier: Apache-2.0
// The lookup functions against the walks they are defined by, written out here literally
// over the values the test stored: random small tables of numbers, booleans, texts that
// differ in case, errors and empty cells, with duplicates and in any order, searched for
// values of every kind with every search type, while the tables change between searches.
// The functions answer from an index once a range is searched again unchanged, so most
// answers below come from one; the last tests check that they do, and when they must not.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "formula_cases.h"
#include "ostrel/refs/region_ref.h"
#include "platform/text/unicode.h"

namespace {

using testing_support::NumberValue;
using testing_support::StoreValue;
using Values = std::vector<CCCellValue>;

CCCellValue Error(int code) {
    return CCCellValue(code);
}

bool SameKind(const CCCellValue& a, const CCCellValue& b) {
    return a.GetType() == b.GetType();
}

// ---- The walks, as written ---------------------------------------------------------------

CCCellValue Lookup(const CCCellValue& value, const Values& keys, const Values& results) {
    CCCellValue result = Error(9);
    int last = 0;
    for (size_t i = 0;; ++i) {
        if (i == keys.size()) return last < 0 ? Error(9) : result;
        if (i == results.size()) return result;
        if (!SameKind(keys[i], value)) continue;
        const int c = CompareEQTypeValues(keys[i], value, 1);
        if (c > 0) return result;
        result = results[i];
        last = c;
    }
}

CCCellValue Match(const CCCellValue& value, const Values& range, int type) {
    if (range.empty()) return Error(1);
    size_t recorded = 0;
    for (size_t p = 1; p <= range.size(); ++p) {
        if (!SameKind(range[p - 1], value)) continue;
        const int c = CompareEQTypeValues(value, range[p - 1], 0);
        if (c * type < 0) return p == 1 ? Error(9) : NumberValue(double(p - 1));
        if (c == 0) {
            recorded = p;
            if (type <= 0) break;
        }
    }
    return recorded ? NumberValue(double(recorded)) : Error(9);
}

// The first position below limit whose element equals the value; -1 when none.
long FirstEqual(const CCCellValue& value, const Values& range, int caseSensitive, size_t limit) {
    for (size_t p = 0; p < range.size() && p < limit; ++p)
        if (SameKind(range[p], value) && CompareEQTypeValues(range[p], value, caseSensitive) == 0)
            return long(p);
    return -1;
}

Values Joined(const Values& a, const Values& b) {
    Values all = a;
    all.insert(all.end(), b.begin(), b.end());
    return all;
}

// ---- The sheet ---------------------------------------------------------------------------

bool SameResult(const CCCellValue& a, const CCCellValue& b) {
    if (!SameKind(a, b)) return false;
    if (a.IsNumber()) return a.GetNumber() == b.GetNumber();
    if (a.IsError()) return a.GetError() == b.GetError();
    if (a.IsText()) return std::u16string_view(a.GetText()) == std::u16string_view(b.GetText());
    return true;
}

std::string Describe(const CCCellValue& v) {
    if (v.IsNumber()) return std::to_string(v.GetNumber());
    if (v.IsError()) return "error " + std::to_string(v.GetError());
    if (v.IsText()) return "\"" + ostrel::ToUtf8(v.GetText()) + "\"";
    return "empty";
}

class Tables {
public:
    explicit Tables(uint32_t seed) : m_random(seed) {}

    CCCellValue RandomValue() {
        static const double numbers[] = {-1, 0, 1, 2, 2.5, 3, 5};
        static const char16_t* texts[] = {u"a", u"A", u"b", u"B", u"ab", u"aB", u"c", u""};
        CCCellValue v;  // kind 0: empty
        const uint32_t kind = Pick(9);
        if (kind == 1) v.Set(double(Pick(2)), C_NF_BOOL);
        if (kind == 2) v.Set(Pick(3) == 0 ? 1 : Pick(2) ? 3 : 9);
        if (kind >= 3 && kind <= 5) v.Set(std::u16string_view(texts[Pick(8)]));
        if (kind > 5) v = NumberValue(numbers[Pick(7)]);
        return v;
    }
    uint32_t Pick(uint32_t n) {
        return std::uniform_int_distribution<uint32_t>(0, n - 1)(m_random);
    }

    // The values of a rectangle as the test stored them, row by row.
    Values Read(testing_support::FormulaSheet& sheet, unsigned c1, unsigned r1, unsigned c2,
                unsigned r2) {
        Values values;
        for (unsigned r = r1; r <= r2; ++r)
            for (unsigned c = c1; c <= c2; ++c) {
                CCCellValue v;
                if (auto* cell = sheet.Find(static_cast<unsigned char>(c), uint16_t(r)))
                    cell->GetValue(v);
                values.push_back(v);
            }
        return values;
    }

private:
    std::mt19937 m_random;
};

std::string A1(unsigned c, unsigned r) {
    return std::string(1, char('A' + c)) + std::to_string(r + 1);
}
std::string Range(unsigned c1, unsigned r1, unsigned c2, unsigned r2) {
    return A1(c1, r1) + ":" + A1(c2, r2);
}

// Rounds of random tables: keys in A (and B), results in D (and E), a three-column table
// A:C, each round searched with several values, a cell of the tables changed now and then
// between searches. Regions repeat across rounds, so indexes are built, followed and dropped.
void CompareRounds(uint32_t seed, int rounds) {
    testing_support::FormulaSheet sheet;
    Tables t(seed);
    for (int round = 0; round < rounds; ++round) {
        const unsigned height = 1 + t.Pick(9), keyWidth = 1 + t.Pick(2);
        const unsigned resultHeight = t.Pick(3) ? height : 1 + t.Pick(9);
        const unsigned resultWidth = 1 + t.Pick(2);
        for (unsigned r = 0; r < 10; ++r)
            for (unsigned c = 0; c < 5; ++c)
                StoreValue(sheet, c, r, t.RandomValue());
        const std::string keys = Range(0, 0, keyWidth - 1, height - 1);
        const std::string results = Range(3, 0, 3 + resultWidth - 1, resultHeight - 1);
        const std::string table = Range(0, 0, 2, height - 1);
        for (int probe = 0; probe < 4; ++probe) {
            // The value searched for: often one of the keys.
            CCCellValue value = t.RandomValue();
            if (t.Pick(2)) {
                const Values k = t.Read(sheet, 0, 0, keyWidth - 1, height - 1);
                value = k[t.Pick(uint32_t(k.size()))];
            }
            StoreValue(sheet, 20, 0, value);
            if (t.Pick(4) == 0) StoreValue(sheet, t.Pick(5), t.Pick(10), t.RandomValue());

            const Values k = t.Read(sheet, 0, 0, keyWidth - 1, height - 1);
            const Values res = t.Read(sheet, 3, 0, 3 + resultWidth - 1, resultHeight - 1);
            const Values first = t.Read(sheet, 0, 0, 0, height - 1);
            const Values top = t.Read(sheet, 0, 0, 2, 0);
            const int n = 1 + int(t.Pick(3));
            const Values column = t.Read(sheet, unsigned(n - 1), 0, unsigned(n - 1), height - 1);
            const Values row =
                n <= int(height) ? t.Read(sheet, 0, unsigned(n - 1), 2, unsigned(n - 1)) : Values{};
            const long inColumn = FirstEqual(value, first, 1, first.size());
            const long inRow = FirstEqual(value, top, 1, top.size());
            const long exact = FirstEqual(value, k, 1, std::min(k.size(), res.size()));
            const long found = FirstEqual(value, Joined(k, res), 0, k.size() + res.size());
            const int type = int(t.Pick(5)) - 2;
            const size_t index = 1 + t.Pick(uint32_t(k.size() + res.size() + 1));
            CCCellValue indexed =
                index <= k.size() + res.size() ? Joined(k, res)[index - 1] : Error(3);
            CCCellValue boolean;
            boolean.Set(found >= 0 ? 1.0 : 0.0, C_NF_BOOL);

            const std::vector<std::pair<std::string, CCCellValue>> cases = {
                {"=LOOKUP(U1," + keys + "," + results + ")", Lookup(value, k, res)},
                {"=MATCH(U1," + keys + "," + std::to_string(type) + ")", Match(value, k, type)},
                {"=MATCH(U1," + keys + ")", Match(value, k, 1)},
                {"=VLOOKUP(U1," + table + "," + std::to_string(n) + ",0)",
                 inColumn >= 0 ? column[size_t(inColumn)] : Error(3)},
                {"=VLOOKUP(U1," + table + "," + std::to_string(n) + ",1)",
                 Lookup(value, first, column)},
                {"=HLOOKUP(U1," + table + "," + std::to_string(n) + ")",
                 row.empty() || inRow < 0 ? Error(3) : row[size_t(inRow)]},
                {"=HLOOKUP(U1," + table + "," + std::to_string(n) + ",1)",
                 row.empty() ? Error(3) : Lookup(value, top, row)},
                {"=LOOKUPEX(U1," + keys + "," + results + ")",
                 exact >= 0 ? res[size_t(exact)] : Error(9)},
                {"=FINDEX(U1," + keys + "," + results + ")",
                 found >= 0 ? NumberValue(double(found + 1)) : Error(9)},
                {"=FIND(U1," + keys + "," + results + ")", boolean},
                {"=INDEX(" + std::to_string(index) + "," + keys + "," + results + ")", indexed},
            };
            for (const auto& [formula, expected] : cases) {
                const CCCellValue got = sheet.Value(formula);
                ASSERT_TRUE(SameResult(got, expected))
                    << formula << " round " << round << " searching " << Describe(value) << ": got "
                    << Describe(got) << ", the walk gives " << Describe(expected);
            }
        }
    }
}

TEST(LookupDifferential, IndexedSearchesEqualTheWalksOnRandomTables) {
    CompareRounds(20261206, 600);
}

// The collation of a named locale orders texts otherwise, and changing it drops every index.
TEST(LookupDifferential, IndexedSearchesEqualTheWalksUnderALocaleCollation) {
    struct Restore {
        std::string was = ostrel::text::GetCollationLocale();
        ~Restore() { ostrel::text::SetCollationLocale(was); }
    } restore;
    ostrel::text::SetCollationLocale("de_DE");
    CompareRounds(7, 300);
}

TEST(LookupDifferential, AnIndexIsBuiltOnceFollowedAndDroppedOnlyForItsOwnCells) {
    testing_support::CountingSheet sheet;
    constexpr unsigned kRows = 2000;
    for (unsigned r = 0; r < kRows; ++r) {
        sheet.Type(0, uint16_t(r), std::to_string(r + 1));
        sheet.Type(1, uint16_t(r), std::to_string(2 * (r + 1)));
    }
    // Values the sheet serves for one search; a negative expected value is an error code.
    auto search = [&](const std::string& formula, double expected) {
        sheet.reads = 0;
        const CCCellValue v = sheet.Value(formula);
        if (expected < 0)
            EXPECT_TRUE(v.IsError() && v.GetError() == -expected) << formula;
        else
            EXPECT_TRUE(v.IsNumber() && v.GetNumber() == expected) << formula;
        return sheet.reads;
    };
    // The table's last thousand rows are empty; its keys are A1:A3000, as MATCH's range.
    EXPECT_GE(search("=VLOOKUP(1500,A1:B3000,2,0)", 3000), 1500);  // the first: walked
    EXPECT_GE(search("=MATCH(1500.5,A1:A3000)", 1500), 3000);      // again: indexed
    EXPECT_LE(search("=VLOOKUP(1600,A1:B3000,2,0)", 3200), 1);
    EXPECT_LE(search("=MATCH(10.5,A1:A3000,1)", 10), 0);

    // Cells beside the keys change, and a key is added after the last: the index follows.
    sheet.Type(2, 5, u"7");
    sheet.Type(1, 3, u"8");
    sheet.Type(0, uint16_t(kRows), u"5000");
    sheet.Type(1, uint16_t(kRows), u"1");
    EXPECT_LE(search("=VLOOKUP(5000,A1:B3000,2,0)", 1), 2);
    EXPECT_LE(search("=VLOOKUP(4,A1:B3000,2,0)", 8), 1);

    // Keys replaced inside are followed too; past 64 changes at once the index is dropped,
    // the search walks, and the next search that finds the range unchanged indexes it again.
    sheet.Type(0, 99, u"4242");
    EXPECT_LE(search("=VLOOKUP(4242,A1:B3000,2,0)", 200), 2);
    EXPECT_LE(search("=MATCH(100,A1:A3000,0)", -9), 0);
    for (uint16_t r = 200; r < 300; ++r)
        sheet.Type(0, r, std::to_string(r + 10001));
    EXPECT_GE(search("=VLOOKUP(10250,A1:B3000,2,0)", 500), 250);
    EXPECT_GE(search("=VLOOKUP(10250,A1:B3000,2,0)", 500), 3000);
    EXPECT_LE(search("=MATCH(4242,A1:A3000,0)", 100), 0);

    // A range changed by a cell between every two searches (a column searched once for each
    // number typed into it) is indexed at its second search all the same.
    EXPECT_LE(search("=MATCH(4242,A1:A2999,0)", 100), 100);
    sheet.Type(0, 400, u"7777");
    EXPECT_GE(search("=MATCH(7777,A1:A2999,0)", 401), 2999);
    sheet.Type(0, 401, u"7778");
    EXPECT_LE(search("=MATCH(7778,A1:A2999,0)", 402), 1);
}

}  // namespace
