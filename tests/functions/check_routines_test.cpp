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

// shape: one letter per argument, 's' single value, 'r' range; "" no arguments at all. The
// entry comes from Builtin, which sets the registry up.
bool Accepts(const CCFunc& entry, const char* shape) {
    ShapeArgs args(shape);
    return entry.GetCheck()(nullptr, args.list(), nullptr) != 0;
}

// One function of each rule: a fixed count, a range of counts, none, an unbounded count,
// range positions by mask (all, none, all but the first, chosen ones), and the special rules:
// cash flows then a single guess and nothing after it (IRR), tax bands whose second and
// third arguments must be ranges.
TEST(CheckRoutines, CountsAndRangePositions) {
    struct Case {
        const char16_t* name;
        const char* shape;
        bool accepted;
    };
    const Case cases[] = {
        {u"MOD", "ss", true},       {u"MOD", "s", false},       {u"MOD", "sss", false},
        {u"LOG", "s", true},        {u"LOG", "ss", true},       {u"LOG", "", false},
        {u"PI", "", true},          {u"PI", "s", false},        {u"SUM", "", false},
        {u"SUM", "r", true},        {u"SQRT", "r", false},      {u"IF", "r", false},
        {u"IF", "srr", true},       {u"SUMIF", "rsr", true},    {u"SUMIF", "rrr", false},
        {u"RANK", "srs", true},     {u"RANK", "ssr", false},    {u"COUNTIF", "rrs", true},
        {u"COUNTIF", "rr", false},  {u"IRR", "r", true},        {u"IRR", "rs", true},
        {u"IRR", "rr", false},      {u"IRR", "rsr", false},     {u"TAXBAND", "srr", true},
        {u"TAXBAND", "sss", false}, {u"TAXBAND", "srs", false}, {u"TAXBAND", "rrr", false}};
    for (const Case& c : cases) {
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

TEST(CheckRoutines, AsksOnlyArgumentsWhoseShapeMatters) {
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
