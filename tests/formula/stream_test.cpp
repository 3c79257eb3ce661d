// SPDX-License-Identifier: Apache-2.0
// Writing and reading trees: round trips, exact bytes of an operation node, unknown entries,
// crafted streams, and a 20,000-argument chain through every walk.
#include <vector>

#include "formats/string_field.h"
#include "ostrel/platform/exceptions.h"
#include "platform/names.h"
#include "support/archive_bytes.h"
#include "tree_support.h"

using namespace tree_test;
using testing_support::Load;
using testing_support::Store;

namespace {

class StreamTest : public TreeTest {
protected:
    std::vector<uint8_t> Write(const CCFormula* f) {
        return Store([&](CArchive& ar) { WriteFormula(ctx(), ar, f); });
    }
    FormulaPtr Read(const std::vector<uint8_t>& bytes) {
        FormulaPtr out;
        Load(bytes, [&](CArchive& ar) { out.reset(ReadFormula(ctx(), ar)); });
        return out;
    }
    int ReadFailure(const std::vector<uint8_t>& bytes) {
        return testing_support::ArchiveCause([&] { Read(bytes); });
    }
    // An operation node of a function without arguments, stored by name.
    std::vector<uint8_t> FunctionBytes(const std::u16string& name) {
        return Store([&](CArchive& ar) {
            ar << uint8_t(FORMULA_OP) << uint8_t(FUNC_FUNCTION);
            WriteString(ctx(), ar, name.c_str());
            ar << uint8_t(0);
        });
    }
};

TEST_F(StreamTest, RoundTripKeepsTextValueAndOperatorKinds) {
    sheet.SetNumber(0, 0, 3);
    std::vector<FormulaPtr> trees;
    trees.emplace_back(Op(ADDFunc, Op(UnPlusFunc, Cell(0, 0)), Num(2)));
    trees.emplace_back(Op(SUBFunc, Op(UnMinusFunc, Cell(0, 0)), Op(PercentFunc, Num(50))));
    trees.emplace_back(Op(Fn(u"SUM"), Op(RANGEFunc, Cell(0, 0), Cell(0, 2)), Text(u"q\"")));
    for (FormulaPtr& tree : trees) {
        FormulaPtr back = Read(Write(tree.get()));
        ASSERT_TRUE(back);
        EXPECT_EQ(PrintOf(ctx(), back.get()), PrintOf(ctx(), tree.get()));
        EXPECT_TRUE(Evaluate(ctx(), back.get()).IsEqual(Evaluate(ctx(), tree.get())));
        EXPECT_EQ(Write(back.get()), Write(tree.get()));
    }
    EXPECT_EQ(Write(nullptr), std::vector<uint8_t>{0});
    EXPECT_EQ(Read(std::vector<uint8_t>{0}), nullptr);
}

TEST_F(StreamTest, OperationNodeBytesAndUnknownEntries) {
    FormulaPtr now(Op(Fn(u"NOW")));
    EXPECT_EQ(Write(now.get()), FunctionBytes(Fn(u"NOW").GetAltName()));

    const std::vector<uint8_t> unknown = FunctionBytes(u"NOSUCHFN");
    FormulaPtr back = Read(unknown);
    ASSERT_TRUE(back);
    EXPECT_EQ(Evaluate(ctx(), back.get()).GetError(), 4);
    EXPECT_EQ(PrintOf(ctx(), back.get()), u"NOSUCHFN ()");
    EXPECT_EQ(Write(back.get()), unknown);
}

TEST_F(StreamTest, CraftedStreamsAreRefused) {
    // Nesting deeper than any parsed formula: unary plus over unary plus ...
    std::vector<uint8_t> deep;
    std::vector<uint8_t> plus = Store([&](CArchive& ar) {
        ar << uint8_t(FORMULA_OP) << uint8_t(FUNC_PREFIX);
        WriteString(ctx(), ar, u"+");
    });
    for (int i = 0; i < kMaxFormulaDepth + 5; ++i)
        deep.insert(deep.end(), plus.begin(), plus.end());
    deep.push_back(0);
    EXPECT_EQ(ReadFailure(deep), CArchiveException::badFormat);

    // Array dimensions: negative, wrapping in 32 bits, or more than the bytes left.
    auto array = [](int32_t columns, int32_t rows) {
        return Store([&](CArchive& ar) { ar << uint8_t(FORMULA_CONST_ARRAY) << columns << rows; });
    };
    EXPECT_EQ(ReadFailure(array(-1, 5)), CArchiveException::badFormat);
    EXPECT_EQ(ReadFailure(array(65536, 65536)), CArchiveException::badFormat);
    EXPECT_EQ(ReadFailure(array(1000, 1000)), CArchiveException::badFormat);
    // A short read of the dimensions is an end of file.
    EXPECT_EQ(ReadFailure({FORMULA_CONST_ARRAY, 1, 0}), CArchiveException::endOfFile);
    // A reference node without a reference.
    EXPECT_EQ(ReadFailure({FORMULA_REF, 0, 0}), CArchiveException::badFormat);
}

TEST_F(StreamTest, TwentyThousandArgumentChain) {
    constexpr int kCount = 20000;
    CCFormulaList* args = nullptr;
    CCFormulaList** tail = &args;
    for (int i = 0; i < kCount; ++i) {
        *tail = FormulaListCreate1Item(Num(1));
        tail = &(*tail)->m_pNext;
    }
    FormulaPtr chain(ConstructOpFormula(&ADDFunc, args));
    EXPECT_EQ(Evaluate(ctx(), chain.get()).GetNumber(), kCount);
    std::u16string text = PrintOf(ctx(), chain.get());
    EXPECT_EQ(text.size(), size_t(kCount) + 3 * size_t(kCount - 1));
    FormulaPtr back = Read(Write(chain.get()));
    ASSERT_TRUE(back);
    EXPECT_EQ(FormulaListCount(static_cast<CCOpFormula*>(back.get())->GetArgs()), size_t(kCount));
    EXPECT_EQ(Evaluate(ctx(), back.get()).GetNumber(), kCount);
    FormulaPtr copy(back->Copy());
    back.reset();
    chain.reset();
    EXPECT_EQ(PrintOf(ctx(), copy.get()), text);
}

}  // namespace
