// SPDX-License-Identifier: Apache-2.0
// Argument counts and which positions may or must be ranges.
#include <gtest/gtest.h>

#include <string>

#include "builtin.h"
#include "fake_node.h"
#include "ostrel/functions/func.h"

using testing_support::Builtin;
using testing_support::ShapeArgs;

namespace {

// shape: one letter per argument, 's' single value, 'r' range; "" no arguments at all.
bool Accepts(const CCFunc& entry, const char* shape) {
    ShapeArgs args(shape);
    return entry.GetCheck()(nullptr, args.list(), nullptr) != 0;
}

class CheckRoutineTest : public ::testing::Test {
protected:
    void SetUp() override { InitBuiltinFunctions(); }
};

TEST_F(CheckRoutineTest, CountsAreEnforced) {
    EXPECT_TRUE(Accepts(Builtin(u"MOD"), "ss"));
    EXPECT_FALSE(Accepts(Builtin(u"MOD"), "s"));
    EXPECT_FALSE(Accepts(Builtin(u"MOD"), "sss"));
    EXPECT_TRUE(Accepts(Builtin(u"LOG"), "s"));
    EXPECT_TRUE(Accepts(Builtin(u"LOG"), "ss"));
    EXPECT_FALSE(Accepts(Builtin(u"LOG"), ""));
    EXPECT_TRUE(Accepts(Builtin(u"PI"), ""));
    EXPECT_FALSE(Accepts(Builtin(u"PI"), "s"));
    EXPECT_FALSE(Accepts(Builtin(u"SUM"), ""));
    EXPECT_TRUE(Accepts(Builtin(u"IF"), "s"));
    EXPECT_TRUE(Accepts(Builtin(u"IF"), "ssss"));
    EXPECT_TRUE(Accepts(RANGEFunc, "rr"));
    EXPECT_FALSE(Accepts(RANGEFunc, "rrr"));
    EXPECT_TRUE(Accepts(SheetRangeFunc, "s"));
    EXPECT_FALSE(Accepts(SheetRangeFunc, ""));
    EXPECT_FALSE(Accepts(GTFunc, "s"));
    // Unbounded counts really are unbounded, also past what fits a byte.
    EXPECT_TRUE(Accepts(Builtin(u"SUM"), std::string(300, 'r').c_str()));
    EXPECT_FALSE(Accepts(Builtin(u"MOD"), std::string(258, 's').c_str()));
}

TEST_F(CheckRoutineTest, RangesOnlyWhereAllowed) {
    EXPECT_TRUE(Accepts(Builtin(u"SUM"), "r"));
    EXPECT_FALSE(Accepts(Builtin(u"SQRT"), "r"));
    EXPECT_TRUE(Accepts(Builtin(u"SQRT"), "s"));
    EXPECT_FALSE(Accepts(UnMinusFunc, "r"));
    EXPECT_FALSE(Accepts(NotFunc, "r"));
    EXPECT_FALSE(Accepts(Builtin(u"IF"), "r"));  // all but the first
    EXPECT_TRUE(Accepts(Builtin(u"IF"), "srr"));
    EXPECT_TRUE(Accepts(Builtin(u"FORECAST"), "srr"));
    EXPECT_FALSE(Accepts(Builtin(u"FORECAST"), "rss"));
    EXPECT_TRUE(Accepts(Builtin(u"SUMIF"), "rsr"));
    EXPECT_FALSE(Accepts(Builtin(u"SUMIF"), "rrr"));
    EXPECT_TRUE(Accepts(Builtin(u"RANK"), "srs"));
    EXPECT_FALSE(Accepts(Builtin(u"RANK"), "rss"));
    EXPECT_FALSE(Accepts(Builtin(u"RANK"), "ssr"));
    EXPECT_TRUE(Accepts(Builtin(u"SERIESSUM"), "sssrr"));
    EXPECT_FALSE(Accepts(Builtin(u"SERIESSUM"), "ssrs"));
    EXPECT_TRUE(Accepts(Builtin(u"COUNTIF"), "rrs"));
    EXPECT_FALSE(Accepts(Builtin(u"COUNTIF"), "rr"));
}

TEST_F(CheckRoutineTest, SpecialRules) {
    // Cash flows: any with one or two arguments, then the first two must be single.
    EXPECT_TRUE(Accepts(Builtin(u"IRR"), "r"));
    EXPECT_TRUE(Accepts(Builtin(u"IRR"), "rr"));
    EXPECT_TRUE(Accepts(Builtin(u"IRR"), "ssr"));
    EXPECT_FALSE(Accepts(Builtin(u"IRR"), "rsr"));
    EXPECT_FALSE(Accepts(Builtin(u"IRR"), "srr"));
    // Tax bands: the second and third must be ranges.
    EXPECT_TRUE(Accepts(Builtin(u"TAXBAND"), "srr"));
    EXPECT_FALSE(Accepts(Builtin(u"TAXBAND"), "sss"));
    EXPECT_FALSE(Accepts(Builtin(u"TAXBAND"), "srs"));
    EXPECT_FALSE(Accepts(Builtin(u"TAXBAND"), "rrr"));
}

TEST_F(CheckRoutineTest, AsksOnlyArgumentsWhoseShapeMatters) {
    ShapeArgs sum("rr");
    ASSERT_TRUE(Builtin(u"SUM").GetCheck()(nullptr, sum.list(), nullptr));
    EXPECT_EQ(sum.node(0).asked + sum.node(1).asked, 0);
    ShapeArgs iff("sr");
    ASSERT_TRUE(Builtin(u"IF").GetCheck()(nullptr, iff.list(), nullptr));
    EXPECT_EQ(iff.node(0).asked, 1);
    EXPECT_EQ(iff.node(1).asked, 0);
    // A count mismatch is decided before any argument is asked.
    ShapeArgs mod("s");
    EXPECT_FALSE(Builtin(u"MOD").GetCheck()(nullptr, mod.list(), nullptr));
    EXPECT_EQ(mod.node(0).asked, 0);
}

}  // namespace
