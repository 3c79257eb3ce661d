// SPDX-License-Identifier: Apache-2.0
// Mathematical and trigonometric functions typed into cells, and the double array their
// range walkers gather into.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "cells/double_array.h"
#include "formula_cases.h"
#include "functions/random.h"
#include "ostrel/functions/func.h"
#include "ostrel/platform/archive.h"
#include "ostrel/platform/exceptions.h"
#include "ostrel/platform/utf.h"
#include "platform/names.h"
#include "support/archive_bytes.h"
#include "support/test_host.h"

using testing_support::Load;
using testing_support::Store;
using testing_support::TestSheet;

namespace {

using Sheet = testing_support::FormulaSheet;
using testing_support::ExpectCases;

TEST(MathFunctions, OneArgumentDomainEdges) {
    ExpectCases({
        {"=ABS(\"x\")", 0, 3},
        {"=SQRT(-4)", 0, 3},
        {"=LN(0)", 0, 3},  // minus infinity shows as error 3
        {"=ATANH(1)", 0, 3},
        {"=ATANH(0.5)", std::atanh(0.5), 0},
        {"=ACOTANH(1)", 0, 3},
        {"=ACOTANH(2)", 0.5 * std::log(3.0), 0},
        {"=COTANH(0)", 0, 3},
        {"=COTANH(1)", 1 / std::tanh(1.0), 0},
        {"=COTANH(800)", 1, 0},
        {"=FACT(5.7)", 120, 0},
        {"=FACT(-1)", 0, 3},
        {"=FACT(1E300)", 0, 3},  // infinite product
        {"=FACTDOUBLE(7)", 105, 0},
        {"=FACTDOUBLE(8)", 384, 0},
        {"=EVEN(-1.5)", -2, 0},
        {"=ODD(2)", 3, 0},
        {"=ODD(0)", 1, 0},
        {"=ODD(-2.1)", -3, 0},
        {"=SIGN(-0.1)", -1, 0},
        {"=SQR(-3)", 9, 0},
        {"=SQRTPI(-1)", 0, 3},
        {"=SQRTPI(1)", std::sqrt(3.141592653589793), 0},
        {"=COTAN(0)", 0, 3},  // positive infinity
        {"=ACOTAN(0)", 1.5707963267948966, 0},
        {"=ASIN(2)", 0, 3},  // NaN
        {"=ATAN2(0,1)", std::atan2(1.0, 0.0), 0},
    });
}

TEST(MathFunctions, HyperbolicInversesStayAccurate) {
    // ln(sqrt(x*x+1)+x) loses every digit near 0 and overflows for large x.
    ExpectCases({
        {"=ASINH(1E-10)", std::asinh(1e-10), 0},
        {"=ASINH(-1E-10)", std::asinh(-1e-10), 0},
        {"=ASINH(1E200)", std::asinh(1e200), 0},
        {"=ACOSH(1E200)", std::acosh(1e200), 0},
        {"=ACOSH(1)", 0, 0},
    });
}

TEST(MathFunctions, ErrorArgumentsGiveErrorThree) {
    Sheet sheet;
    sheet.Type(0, 0, u"=MOD(7,0)");  // error 2
    // An error argument gives 3, not its own code; so does an empty cell.
    ExpectCases(sheet, {{"=ABS(A1)", 0, 3}, {"=SIN(B7)", 0, 3}, {"=ROUND(A1,1)", 0, 3}});
}

TEST(MathFunctions, TwoArgumentRules) {
    ExpectCases({
        {"=MOD(-7,3)", 2, 0},          {"=MOD(7,-3)", -2, 0},
        {"=MOD(7,0)", 0, 2},           {"=MOD(\"a\",2)", 0, 3},
        {"=ROUND(17,5)", 15, 0},       {"=ROUND(2.5,1)", 3, 0},
        {"=ROUND(7,0)", 0, 0},         {"=ROUND(2.345,0.01)", 2.35, 0},
        {"=ROUNDN(-2.5,0)", -2, 0},    {"=ROUNDN(2.345,2)", 2.35, 0},
        {"=ROUNDN(1.005,2)", 1.01, 0}, {"=ROUNDN(1234,-2)", 1200, 0},
        {"=ROUNDDOWN(-1.2,0)", -2, 0}, {"=ROUNDUP(1234,-2)", 1300, 0},
        {"=ROUNDUP(1.5,400)", 1.5, 0}, {"=TRUNC(-1.5,0)", -2, 0},
        {"=TRUNC(2.789,1.9)", 2.7, 0}, {"=CEILING(4.1,2)", 6, 0},
        {"=FLOOR(4.1,0)", 0, 3},       {"=LOG(8,2)", 3, 0},
        {"=LOG(8,1)", 0, 3},  // division by ln(1) = 0
    });
}

// Scaling a decimal fraction by a power of ten lands a few ulps beside an integer; ceil or
// floor must not step a whole unit away from it.
TEST(MathFunctions, RoundingSnapsScaledValuesNearIntegers) {
    ExpectCases({
        {"=ROUNDUP(0.07,2)", 0.07, 0},
        {"=ROUNDUP(1.1,1)", 1.1, 0},
        {"=ROUNDDOWN(0.57,2)", 0.57, 0},
        {"=ROUNDDOWN(4.35,2)", 4.35, 0},
        {"=TRUNC(0.57,2)", 0.57, 0},
        {"=TRUNC(8.2,1)", 8.2, 0},
        {"=ROUNDN(0.285,2)", 0.29, 0},
        {"=CEILING(0.3,0.1)", 0.3, 0},
    });
}

TEST(MathFunctions, RangeSums) {
    Sheet sheet;
    sheet.Column(0, {"1", "2", "3"});
    sheet.Column(1, {"0", "2", "4"});
    sheet.Type(2, 0, u"text");  // C1 text, C2 empty
    sheet.Type(3, 0, u"=1/0");  // D1 error 2
    ExpectCases(sheet, {
                           {"=SUM(A1:A3,10)", 16, 0},
                           {"=TOTAL(A1:A3)", 6, 0},
                           {"=SUM(C1:C2,1)", 1, 0},  // texts and empties passed over
                           {"=SUM(A1:A3,D1)", 0, 2},
                           {"=SUMSQ(A1:A3)", 14, 0},
                           {"=SUMSQ()", 0, 0},
                           {"=SUMTIMES(A1:A3,B1:B3)", 16, 0},
                           {"=SUMTIMES(A1:A3,B1:B3,A1:A3)", 0 + 8 + 36, 0},
                           {"=SUMTIMES(A1:A3,B1:B2)", 0, 3},
                           {"=SUMX2MY2(A1:A3,B1:B3)", 14 - 20, 0},
                           {"=SUMX2PY2(A1:A3,B1:B3)", 34, 0},
                           {"=SUMXMY2(A1:A3,B1:B3)", 1 + 0 + 1, 0},
                           {"=SUMXPY2(A1:A3,B1:B3)", 1 + 16 + 49, 0},
                           {"=SUMXMY2(A1:A3,B1:B2)", 0, 3},
                           {"=SUMXMY2(A1:A2,C1:C2)", 0, 0},  // pairs with texts passed over
                           {"=SERIESSUM(2,1,2,A1:A3)", 1 * 2 + 2 * 8 + 3 * 32, 0},
                           {"=SERIESSUM(\"x\",1,2,A1:A3)", 0, 3},
                       });
}

TEST(MathFunctions, SumIfMatchesItsCriterion) {
    Sheet sheet;
    sheet.Column(0, {"1", "5", "apple", "Apple", "10"});
    sheet.Column(1, {"100", "200", "300", "400", "500"});
    sheet.Type(2, 1, u"=1/0");  // C2 error 2, next to 5
    ExpectCases(sheet, {
                           {"=SUMIF(A1:A5,5)", 5, 0},
                           {"=SUMIF(A1:A5,\">=5\")", 15, 0},
                           {"=SUMIF(A1:A5,\"<>5\",B1:B5)", 100 + 300 + 400 + 500, 0},
                           {"=SUMIF(A1:A5,\"apple\",B1:B5)", 300 + 400, 0},
                           {"=SUMIF(A1:A5,\"<2.5\",B1:B5)", 100, 0},
                           {"=SUMIF(A1:A5,\">1\",B1:B4)", 0, 3},  // sizes differ
                           {"=SUMIF(A1:A5,1,C1:C5)", 0, 0},
                           {"=SUMIF(A1:A5,5,C1:C5)", 0, 2},
                       });
}

TEST(MathFunctions, IntegerListFunctions) {
    ExpectCases({
        {"=GCD(12,18,8.9)", 2, 0},
        {"=GCD(0,5)", 5, 0},
        {"=GCD(-4,2)", 0, 3},
        {"=GCD(1E300,2)", 0, 3},
        {"=LCM(4,6)", 12, 0},
        {"=LCM(4,0,6)", 0, 0},
        {"=LCM(0,0)", 0, 0},
        {"=LCM(-1,2)", 0, 3},
        {"=LCM(9007199254740992,3)", 0, 3},  // beyond 2^53
        {"=LCM(4294967311,4294967357,4294967371)", 0, 3},
        {"=MULTINOMIAL(2,3,4)", 1260, 0},
        {"=MULTINOMIAL(1E15)", 1, 0},
        {"=MULTINOMIAL(-1,2)", 0, 3},
        {"=MULTINOMIAL(1E15,1E15)", 0, 3},  // infinite
    });
}

TEST(MathFunctions, Determinants) {
    Sheet sheet;
    sheet.Column(0, {"2", "1", "1"});  // rows 2 0 1 / 1 3 2 / 1 1 1
    sheet.Column(1, {"0", "3", "1"});
    sheet.Column(2, {"1", "2", "1"});
    ExpectCases(sheet, {
                           {"=MDETERM(A1:C3)", 2 * (3 - 2) - 0 + 1 * (1 - 3), 0},
                           {"=MDETERM(A1:B2)", 6, 0},
                           {"=MDETERM(A1:C2)", 0, 3},  // not square
                           {"=MDETERM(A1:A3)", 0, 3},
                           {"=MDETERM(7)", 7, 0},
                           {"=MDETERM(E1:F2)", 0, 3},  // empty cells
                       });
}

TEST(MathFunctions, RandomNumbersUseTheirOwnGenerator) {
    Sheet sheet;
    SeedFunctionRandom(1);
    // The sequence of x = x * 214013 + 2531011, (x >> 16) & 0x7FFF from 1.
    uint32_t x = 1;
    std::vector<int> expected;
    for (int i = 0; i < 3; ++i) {
        x = x * 214013u + 2531011u;
        expected.push_back(int((x >> 16) & 0x7FFF));
    }
    EXPECT_EQ(FunctionRand15(), expected[0]);
    CCCellValue v = sheet.Value("=RAND(2)");
    ASSERT_TRUE(v.IsNumber());
    EXPECT_DOUBLE_EQ(v.GetNumber(), 2.0 * expected[1] / 32767);
    v = sheet.Value("=RANDBETWEEN(10,20)");
    EXPECT_DOUBLE_EQ(v.GetNumber(), 10 + 10.0 * expected[2] / 32767);
    // Setting the registry up again does not restart the sequence.
    SeedFunctionRandom(1);
    InitBuiltinFunctions();
    EXPECT_EQ(FunctionRand15(), expected[0]);
}

TEST(DoubleArray, GrowthIsGeometricForLargeArrays) {
    CCDoubleArray large;
    int reallocations = 0;
    uint32_t last = 0;
    for (int i = 0; i < 300000; ++i) {
        large.Add(i);
        if (large.GetCapacity() != last) ++reallocations;
        last = large.GetCapacity();
    }
    EXPECT_EQ(large[299999], 299999);
    // Steps capped at 1024 would take over 290 copies.
    EXPECT_LT(reallocations, 150);
}

TEST(DoubleArray, InsertRemoveAndInvalidArguments) {
    CCDoubleArray a;
    for (double v : {1.0, 2.0, 3.0})
        a.Add(v);
    a.InsertAt(10, 1.5, 2);  // beyond the end: zeros up to index 10
    ASSERT_EQ(a.GetSize(), 12);
    std::vector<double> got(a.GetData(), a.GetData() + a.GetSize());
    EXPECT_EQ(got, (std::vector<double>{1, 2, 3, 0, 0, 0, 0, 0, 0, 0, 1.5, 1.5}));
    a.InsertAt(1, 9.0, 2);
    a.RemoveAt(0, 3);
    EXPECT_EQ(std::tuple(a[0], a.GetSize()), std::tuple(2, 11));
    a.InsertAt(0, &a);  // inserting itself
    EXPECT_EQ(std::tuple(a[11], a.GetSize()), std::tuple(2, 22));
    EXPECT_EQ(a.Append(a), 22);
    a.FreeExtra();
    EXPECT_EQ(std::tuple(a.GetSize(), a.GetCapacity()), std::tuple(44, 44u));
    const std::vector<double> before(a.GetData(), a.GetData() + a.GetSize());
    EXPECT_THROW(a.RemoveAt(40, 5), CInvalidArgException);
    EXPECT_THROW(a.RemoveAt(-1), CInvalidArgException);
    EXPECT_THROW(a.InsertAt(-1, 1.0), CInvalidArgException);
    EXPECT_THROW(a.InsertAt(0, 1.0, 0), CInvalidArgException);
    EXPECT_THROW(a.InsertAt(0, 1.0, INT_MAX), CInvalidArgException);
    EXPECT_THROW(a.SetSize(-1), CInvalidArgException);
    EXPECT_THROW(a.SetAtGrow(-2, 1), CInvalidArgException);
    EXPECT_EQ(std::vector<double>(a.GetData(), a.GetData() + a.GetSize()), before);
    a.SetSize(2);
    a.SetSize(5);
    // Shrinking keeps the storage; elements coming back into use are zeroed.
    EXPECT_EQ(std::tuple(a.GetCapacity(), a[4]), std::tuple(44u, 0));
    a.RemoveAll();
    EXPECT_EQ(a.GetData(), nullptr);
}

TEST(DoubleArray, SerializeUsesTheCountFormAndRefusesOversizedCounts) {
    CCDoubleArray a;
    a.SetSize(70000);
    a[69999] = 2.5;
    auto bytes = Store([&](CArchive& ar) { a.Serialize(ar); });
    ASSERT_EQ(bytes.size(), 6 + 70000u * 8);  // the wide count form
    CCDoubleArray back;
    Load(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    ASSERT_EQ(back.GetSize(), 70000);
    EXPECT_EQ(back[69999], 2.5);
    // A count of a billion elements with 8 bytes behind it.
    std::vector<uint8_t> crafted{0xFF, 0xFF, 0x00, 0xCA, 0x9A, 0x3B, 0, 0, 0, 0, 0, 0, 0, 0};
    CCDoubleArray refused;
    refused.Add(7);
    try {
        Load(crafted, [&](CArchive& ar) { refused.Serialize(ar); });
        ADD_FAILURE() << "no exception";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::badFormat);
    }
    EXPECT_EQ(refused.GetSize(), 1);
}

}  // namespace
