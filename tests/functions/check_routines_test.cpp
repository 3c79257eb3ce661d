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

// One function of each rule: a fixed count, a range of counts, none, an unbounded count, and
// range positions by mask (all, none, all but the first, chosen ones).
TEST_F(CheckRoutineTest, CountsAndRangePositions) {
    struct Case {
        const char16_t* name;
        const char* shape;
        bool accepted;
    };
    for (Case c :
         {Case{u"MOD", "ss", true}, Case{u"MOD", "s", false}, Case{u"MOD", "sss", false},
          Case{u"LOG", "s", true}, Case{u"LOG", "ss", true}, Case{u"LOG", "", false},
          Case{u"PI", "", true}, Case{u"PI", "s", false}, Case{u"SUM", "", false},
          Case{u"SUM", "r", true}, Case{u"SQRT", "r", false}, Case{u"IF", "r", false},
          Case{u"IF", "srr", true}, Case{u"SUMIF", "rsr", true}, Case{u"SUMIF", "rrr", false},
          Case{u"RANK", "srs", true}, Case{u"RANK", "ssr", false}, Case{u"COUNTIF", "rrs", true},
          Case{u"COUNTIF", "rr", false}}) {
        EXPECT_EQ(Accepts(Builtin(c.name), c.shape), c.accepted)
            << std::string(c.name, c.name + std::char_traits<char16_t>::length(c.name)) << " "
            << c.shape;
    }
    EXPECT_TRUE(Accepts(RANGEFunc, "rr"));
    EXPECT_FALSE(Accepts(RANGEFunc, "rrr"));
    EXPECT_FALSE(Accepts(UnMinusFunc, "r"));
    // Unbounded counts really are unbounded, also past what fits a byte.
    EXPECT_TRUE(Accepts(Builtin(u"SUM"), std::string(300, 'r').c_str()));
    EXPECT_FALSE(Accepts(Builtin(u"MOD"), std::string(258, 's').c_str()));
}

TEST_F(CheckRoutineTest, SpecialRules) {
    // Cash flows, then a single guess; nothing after it.
    EXPECT_TRUE(Accepts(Builtin(u"IRR"), "r"));
    EXPECT_TRUE(Accepts(Builtin(u"IRR"), "rs"));
    EXPECT_FALSE(Accepts(Builtin(u"IRR"), "rr"));
    EXPECT_FALSE(Accepts(Builtin(u"IRR"), "rsr"));
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
