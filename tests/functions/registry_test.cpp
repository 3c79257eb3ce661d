// SPDX-License-Identifier: Apache-2.0
// The registry's listing, name lookups, stream form and lookup for imported formulas.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "builtin.h"
#include "fake_node.h"
#include "formats/string_field.h"
#include "ostrel/functions/func.h"
#include "platform/names.h"
#include "support/archive_bytes.h"

using testing_support::Builtin;
using testing_support::ShapeArgs;

namespace {

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override { InitBuiltinFunctions(); }
};

CCFunc* FindByName(std::u16string text, size_t* consumed = nullptr) {
    const char16_t* cursor = text.c_str();
    CCFunc* found = FindFunctionByName(cursor);
    if (consumed) *consumed = static_cast<size_t>(cursor - text.c_str());
    return found;
}

std::vector<uint8_t> StoredEntry(uint8_t kind, const char16_t* name) {
    return testing_support::Store([&](CArchive& ar) {
        ar << kind;
        WriteString(nullptr, ar, name);
        ar << static_cast<uint8_t>(0x5A);  // what follows must stay readable
    });
}

CCFunc* ReadStored(const std::vector<uint8_t>& bytes, unsigned char* kind = nullptr,
                   std::u16string* name = nullptr) {
    CCFunc* entry = nullptr;
    testing_support::Load(bytes, [&](CArchive& ar) {
        entry = ReadFunc(nullptr, ar, kind, name);
        uint8_t marker = 0;
        ar >> marker;
        EXPECT_EQ(marker, 0x5A);
    });
    return entry;
}

TEST_F(RegistryTest, ListsOperatorsAndAllButFiveFunctionsOnce) {
    ASSERT_EQ(GetBuiltInFuncSize(), 277);
    std::set<const CCFunc*> seen;
    int operators = 0;
    for (int i = 0; i < GetBuiltInFuncSize(); ++i) {
        const CCFunc* entry = GetBuiltInFunc()[i];
        ASSERT_NE(entry, nullptr);
        EXPECT_TRUE(seen.insert(entry).second) << "listed twice at " << i;
        if (entry->GetKind() != FUNC_FUNCTION) ++operators;
    }
    EXPECT_EQ(operators, 20);
    for (CCFunc* hidden : {&Builtin(u"NORMSDIST"), &Builtin(u"ZTEST"), &Builtin(u"SYD"),
                           &Builtin(u"TBILLEQ"), &Builtin(u"YIELD")}) {
        EXPECT_EQ(seen.count(hidden), 0u);
        // Set up nonetheless.
        EXPECT_NE(hidden->GetId(), 0u);
        EXPECT_FALSE(hidden->GetName().empty());
        // A shorter listed name may prefix it ("T" of TBILLEQ); the entry itself is never
        // reached.
        size_t consumed = 0;
        EXPECT_NE(FindByName(hidden->GetName() + u"(1)", &consumed), hidden);
        EXPECT_LT(consumed, hidden->GetName().size());
        std::u16string alt = hidden->GetAltName();
        const char16_t* cursor = alt.c_str();
        EXPECT_NE(FindFunctionByAltName(cursor), hidden);
        EXPECT_FALSE(IsFunction(hidden->GetName(), FUNC_FUNCTION));
        EXPECT_EQ(ReadStored(StoredEntry(FUNC_FUNCTION, alt.c_str())), nullptr);
    }
}

TEST_F(RegistryTest, PrimaryOrderPutsLongerNamesBeforeTheirPrefixes) {
    const CCFunc* const* list = GetBuiltInFunc();
    auto position = [&](const CCFunc* entry) {
        for (int i = 0; i < GetBuiltInFuncSize(); ++i)
            if (list[i] == entry) return i;
        return -1;
    };
    EXPECT_LT(position(&Builtin(u"DAYS360")), position(&Builtin(u"DAY")));
    EXPECT_LT(position(&Builtin(u"LOG10")), position(&Builtin(u"LOG")));
    EXPECT_LT(position(&GEFunc), position(&GTFunc));
    // Equal names: by kind.
    EXPECT_EQ(position(&UnPlusFunc) + 1, position(&ADDFunc));
    EXPECT_EQ(position(&UnMinusFunc) + 1, position(&SUBFunc));
    for (int i = 1; i < GetBuiltInFuncSize(); ++i) {
        const std::u16string& a = list[i - 1]->GetName();
        const std::u16string& b = list[i]->GetName();
        size_t k = 0;
        while (k < a.size() && k < b.size() && a[k] == b[k])
            ++k;
        if (k < a.size() && k < b.size())
            EXPECT_LT(a[k], b[k]) << i;
        else
            EXPECT_GE(a.size(), b.size()) << i;
    }
}

// Every listed function is found from its own name, which exercises every index slot used.
TEST_F(RegistryTest, EveryListedFunctionIsFoundByItsNames) {
    for (int i = 0; i < GetBuiltInFuncSize(); ++i) {
        CCFunc* entry = GetBuiltInFunc()[i];
        if (entry->GetKind() != FUNC_FUNCTION) continue;
        size_t consumed = 0;
        EXPECT_EQ(FindByName(entry->GetName() + u"(", &consumed), entry) << i;
        EXPECT_EQ(consumed, entry->GetName().size());
        std::u16string alt = entry->GetAltName() + u" ";
        const char16_t* cursor = alt.c_str();
        EXPECT_EQ(FindFunctionByAltName(cursor), entry);
        EXPECT_EQ(cursor, alt.c_str() + entry->GetAltName().size());
        EXPECT_TRUE(IsFunction(entry->GetName(), FUNC_FUNCTION));
    }
}

TEST_F(RegistryTest, LookupTakesTheLongestNameIgnoringCase) {
    size_t consumed = 0;
    EXPECT_EQ(FindByName(u"day(A1)", &consumed), &Builtin(u"DAY"));
    EXPECT_EQ(FindByName(u"dAyS360", &consumed), &Builtin(u"DAYS360"));
    // The lexer rejects this afterwards because a letter follows.
    EXPECT_EQ(FindByName(u"SUMMARY", &consumed), &Builtin(u"SUM"));
    EXPECT_EQ(consumed, 3u);
    EXPECT_EQ(FindByName(u"LOG1(2)"), &Builtin(u"LOG"));
    // Operators are not functions for this lookup; unknown and wide first characters fail.
    for (const char16_t* text : {u"+1", u"XYZZY", u"\u0416SUM", u"", u"1"}) {
        EXPECT_EQ(FindByName(text, &consumed), nullptr);
        EXPECT_EQ(consumed, 0u);
    }
}

TEST_F(RegistryTest, KindRestrictedLookups) {
    EXPECT_TRUE(IsFunction(u"+", FUNC_PREFIX | FUNC_FUNCTION));
    EXPECT_FALSE(IsFunction(u"+", FUNC_FUNCTION));
    EXPECT_FALSE(IsFunction(u"SUMM", FUNC_FUNCTION));

    std::u16string text = u">=1";
    const char16_t* cursor = text.c_str();
    CCFunc* entry = nullptr;
    ASSERT_EQ(_EatFunction(nullptr, cursor, entry, FUNC_INFIX), 1);
    EXPECT_EQ(entry, &GEFunc);
    EXPECT_EQ(cursor, text.c_str() + 2);
    text = u"-A1";
    cursor = text.c_str();
    ASSERT_EQ(_EatFunction(nullptr, cursor, entry, FUNC_PREFIX), 1);
    EXPECT_EQ(entry, &UnMinusFunc);
    cursor = text.c_str();
    entry = nullptr;
    EXPECT_EQ(_EatFunction(nullptr, cursor, entry, FUNC_POSTFIX), 0);
    EXPECT_EQ(entry, nullptr);
    EXPECT_EQ(cursor, text.c_str());
}

TEST_F(RegistryTest, StreamFormKeepsKindAndName) {
    for (int i = 0; i < GetBuiltInFuncSize(); ++i) {
        CCFunc* entry = GetBuiltInFunc()[i];
        auto bytes = testing_support::Store([&](CArchive& ar) {
            WriteFunc(nullptr, ar, entry);
            ar << static_cast<uint8_t>(0x5A);
        });
        EXPECT_EQ(bytes[0], entry->GetKind());
        EXPECT_EQ(ReadStored(bytes), entry) << i;
    }
    EXPECT_EQ(ReadStored(StoredEntry(FUNC_INFIX, u"+")), &ADDFunc);
    EXPECT_EQ(ReadStored(StoredEntry(FUNC_PREFIX, u"+")), &UnPlusFunc);
    EXPECT_EQ(ReadStored(StoredEntry(FUNC_FUNCTION, u"sum")), &Builtin(u"SUM"));
    EXPECT_EQ(ReadStored(StoredEntry(FUNC_INFIX, u"SUM")), nullptr);

    unsigned char kind = 0;
    std::u16string name;
    EXPECT_EQ(ReadStored(StoredEntry(FUNC_FUNCTION, u"NOSUCH"), &kind, &name), nullptr);
    EXPECT_EQ(kind, FUNC_FUNCTION);
    EXPECT_EQ(name, u"NOSUCH");
    EXPECT_EQ(ReadStored(StoredEntry(FUNC_FUNCTION, nullptr), &kind, &name), nullptr);
    EXPECT_EQ(name, u"");

    auto none = testing_support::Store([](CArchive& ar) {
        WriteFunc(nullptr, ar, nullptr);
        ar << static_cast<uint8_t>(0x5A);
    });
    EXPECT_EQ(ReadStored(none), nullptr);
}

TEST_F(RegistryTest, ImportedNamesPickTheEntryTheArgumentsFit) {
    ShapeArgs one("s"), two("ss"), range("r");
    EXPECT_EQ(GetFunction(nullptr, "-", one.list()), &UnMinusFunc);
    EXPECT_EQ(GetFunction(nullptr, "-", two.list()), &SUBFunc);
    EXPECT_EQ(GetFunction(nullptr, "+", one.list()), &UnPlusFunc);
    EXPECT_EQ(GetFunction(nullptr, "+", two.list()), &ADDFunc);
    EXPECT_EQ(GetFunction(nullptr, "sum", range.list()), &Builtin(u"SUM"));
    EXPECT_EQ(GetFunction(nullptr, "SQRT", range.list()), nullptr);
    EXPECT_EQ(GetFunction(nullptr, "MOD", one.list()), nullptr);
    EXPECT_EQ(GetFunction(nullptr, "NORMSDIST", one.list()), nullptr);
    EXPECT_EQ(GetFunction(nullptr, "", one.list()), nullptr);
    EXPECT_EQ(GetFunction(nullptr, nullptr, one.list()), nullptr);
}

TEST_F(RegistryTest, AddedOperationsAnswerFourWithoutRoutineOrOfAnotherKind) {
    ShapeArgs args("s");
    CCChooseFunc withoutRoutine;
    withoutRoutine.Init(u"@@", 100, FUNC_FUNCTION, 8, nullptr, nullptr);
    CCFormula* chosen = &args.node(0);
    EXPECT_EQ(GetFuncChoice(nullptr, chosen, &withoutRoutine, args.list(), nullptr), 4);
    EXPECT_EQ(chosen, nullptr);
    chosen = &args.node(0);
    EXPECT_EQ(GetFuncChoice(nullptr, chosen, &Builtin(u"SUM"), args.list(), nullptr), 4);
    EXPECT_EQ(chosen, nullptr);
    EXPECT_EQ(GetFuncChoice(nullptr, chosen, nullptr, args.list(), nullptr), 4);
}

TEST_F(RegistryTest, SettingUpAgainChangesNothing) {
    std::vector<const CCFunc*> before(GetBuiltInFunc(), GetBuiltInFunc() + GetBuiltInFuncSize());
    std::u16string name = Builtin(u"SUM").GetName();
    InitBuiltinFunctions();
    std::vector<const CCFunc*> after(GetBuiltInFunc(), GetBuiltInFunc() + GetBuiltInFuncSize());
    EXPECT_EQ(before, after);
    EXPECT_EQ(Builtin(u"SUM").GetName(), name);
}

}  // namespace
