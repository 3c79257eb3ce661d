// Argument counts and which positions may or must be ranges.
#include <gtest/gtest.h>

#include <string>

#include "fake_node.h"
#include "functions/func.h"

extern CCFunc SUMFunc, SQRTFunc, MODFunc, PIFunc, IRRFunc, COUNTIFFunc, SERIESSUMFunc, RANKFunc,
    FORECASTFunc, SUMIFFunc, TAXBANDFunc, LOGFunc;
extern CCChooseFunc IFFunc;

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
    EXPECT_TRUE(Accepts(MODFunc, "ss"));
    EXPECT_FALSE(Accepts(MODFunc, "s"));
    EXPECT_FALSE(Accepts(MODFunc, "sss"));
    EXPECT_TRUE(Accepts(LOGFunc, "s"));
    EXPECT_TRUE(Accepts(LOGFunc, "ss"));
    EXPECT_FALSE(Accepts(LOGFunc, ""));
    EXPECT_TRUE(Accepts(PIFunc, ""));
    EXPECT_FALSE(Accepts(PIFunc, "s"));
    EXPECT_FALSE(Accepts(SUMFunc, ""));
    EXPECT_TRUE(Accepts(IFFunc, "s"));
    EXPECT_TRUE(Accepts(IFFunc, "ssss"));
    EXPECT_TRUE(Accepts(RANGEFunc, "rr"));
    EXPECT_FALSE(Accepts(RANGEFunc, "rrr"));
    EXPECT_TRUE(Accepts(SheetRangeFunc, "s"));
    EXPECT_FALSE(Accepts(SheetRangeFunc, ""));
    EXPECT_FALSE(Accepts(GTFunc, "s"));
    // Unbounded counts really are unbounded, also past what fits a byte.
    EXPECT_TRUE(Accepts(SUMFunc, std::string(300, 'r').c_str()));
    EXPECT_FALSE(Accepts(MODFunc, std::string(258, 's').c_str()));
}

TEST_F(CheckRoutineTest, RangesOnlyWhereAllowed) {
    EXPECT_TRUE(Accepts(SUMFunc, "r"));
    EXPECT_FALSE(Accepts(SQRTFunc, "r"));
    EXPECT_TRUE(Accepts(SQRTFunc, "s"));
    EXPECT_FALSE(Accepts(UnMinusFunc, "r"));
    EXPECT_FALSE(Accepts(NotFunc, "r"));
    EXPECT_FALSE(Accepts(IFFunc, "r"));  // all but the first
    EXPECT_TRUE(Accepts(IFFunc, "srr"));
    EXPECT_TRUE(Accepts(FORECASTFunc, "srr"));
    EXPECT_FALSE(Accepts(FORECASTFunc, "rss"));
    EXPECT_TRUE(Accepts(SUMIFFunc, "rsr"));
    EXPECT_FALSE(Accepts(SUMIFFunc, "rrr"));
    EXPECT_TRUE(Accepts(RANKFunc, "srs"));
    EXPECT_FALSE(Accepts(RANKFunc, "rss"));
    EXPECT_FALSE(Accepts(RANKFunc, "ssr"));
    EXPECT_TRUE(Accepts(SERIESSUMFunc, "sssrr"));
    EXPECT_FALSE(Accepts(SERIESSUMFunc, "ssrs"));
    EXPECT_TRUE(Accepts(COUNTIFFunc, "rrs"));
    EXPECT_FALSE(Accepts(COUNTIFFunc, "rr"));
}

TEST_F(CheckRoutineTest, SpecialRules) {
    // Cash flows: any with one or two arguments, then the first two must be single.
    EXPECT_TRUE(Accepts(IRRFunc, "r"));
    EXPECT_TRUE(Accepts(IRRFunc, "rr"));
    EXPECT_TRUE(Accepts(IRRFunc, "ssr"));
    EXPECT_FALSE(Accepts(IRRFunc, "rsr"));
    EXPECT_FALSE(Accepts(IRRFunc, "srr"));
    // Tax bands: the second and third must be ranges.
    EXPECT_TRUE(Accepts(TAXBANDFunc, "srr"));
    EXPECT_FALSE(Accepts(TAXBANDFunc, "sss"));
    EXPECT_FALSE(Accepts(TAXBANDFunc, "srs"));
    EXPECT_FALSE(Accepts(TAXBANDFunc, "rrr"));
}

TEST_F(CheckRoutineTest, AsksOnlyArgumentsWhoseShapeMatters) {
    ShapeArgs sum("rr");
    ASSERT_TRUE(SUMFunc.GetCheck()(nullptr, sum.list(), nullptr));
    EXPECT_EQ(sum.node(0).asked + sum.node(1).asked, 0);
    ShapeArgs iff("sr");
    ASSERT_TRUE(IFFunc.GetCheck()(nullptr, iff.list(), nullptr));
    EXPECT_EQ(iff.node(0).asked, 1);
    EXPECT_EQ(iff.node(1).asked, 0);
    // A count mismatch is decided before any argument is asked.
    ShapeArgs mod("s");
    EXPECT_FALSE(MODFunc.GetCheck()(nullptr, mod.list(), nullptr));
    EXPECT_EQ(mod.node(0).asked, 0);
}

}  // namespace
