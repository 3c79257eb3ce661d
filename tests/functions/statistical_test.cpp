// SPDX-License-Identifier: Apache-2.0
// Statistical functions typed into cells. Expected values are closed forms, or exact sums
// and quotients of big integers (binomial coefficients, factorials) reduced to a double.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "builtin.h"
#include "formula_cases.h"
#include "ostrel/formula/formula.h"

namespace {

using Sheet = testing_support::FormulaSheet;
using testing_support::ExpectCases;

// A1:A4 1 2 3 4; B1 a text, B2 empty, B3 a typed and B4 a computed boolean; C1 #N/A;
// D1:D4 1e9 + 1 .. 1e9 + 4; E1:E4 2 4 5 9; F1:F4 all 7; G1:G4 0.1 0.2 0.3 0.4.
struct StatSheet : Sheet {
    StatSheet() {
        Column(0, {"1", "2", "3", "4"});
        Column(1, {"x", "", "TRUE", "=A1>0"});
        Column(2, {"=NA()"});
        Column(3, {"1000000001", "1000000002", "1000000003", "1000000004"});
        Column(4, {"2", "4", "5", "9"});
        Column(5, {"7", "7", "7", "7"});
        Column(6, {"0.1", "0.2", "0.3", "0.4"});
    }
};

TEST(StatisticalFunctions, AggregationsCountNumbersAndBooleansOnly) {
    ExpectCases<StatSheet>({
        {"=AVERAGE(A1:A4)", 2.5, 0},
        {"=AVG(A1:A4,B1:B4)", 12.0 / 6, 0},  // two booleans, text, empty
        {"=AVERAGE(\"7\",1)", 1, 0},         // a text given directly
        {"=AVERAGE(A1:A4,C1)", 0, 9},
        {"=MAX(A1:A4,C1)", 0, 9},
        {"=COUNT(A1:A4,B1:B4)", 7, 0},  // every value but the empty one
        {"=COUNT(\"a\",1)", 2, 0},
        {"=COUNTN(A1:B4)", 6, 0},
        {"=COUNTN(\"a\",1)", 1, 0},
        {"=COUNT()", 0, 0},
        {"=MAX(B1:B2)", 0, 0},
        {"=MIN(A1:A4,-1)", -1, 0},
        {"=MAX(E1:E4,A1)", 9, 0},
        {"=DEVSQ(A1:A4)", 5, 0},
        {"=VAR(A1:A4)", 5.0 / 3, 0},
        {"=STD(A1:A4)", std::sqrt(5.0 / 3), 0},
        {"=STDEV(A1:A4)", std::sqrt(5.0 / 3), 0},
        {"=VARP(A1:A4)", 1.25, 0},
        {"=STDEVP(A1:A4)", std::sqrt(1.25), 0},
        {"=AVEDEV(1,2,3,4)", 1, 0},
        {"=GEOMEAN(1,2,4)", 2, 0},
        {"=GEOMEAN(1,0)", 0, 3},
        {"=HARMEAN(1,2,4)", 12.0 / 7, 0},
        {"=HARMEAN(-1,1)", 0, 3},
        // deviations -3 -2 -1 6: sums of squares 50, of cubes 180
        {"=SKEW(1,2,3,10)", 4.0 / 6 * 180 / std::pow(50.0 / 3, 1.5), 0},
        {"=KURT(1,2,3,4,10)", 30.0 / 24 * 1394 / (12.5 * 12.5) - 8, 0},
        {"=COUNTIF(A1:A4,\">2\")", 2, 0},
        {"=COUNTIF(A1:A2,A3:A4,\">=2\")", 3, 0},
        {"=COUNTIF(A1:B4,\"x\")", 1, 0},
        {"=COUNTIF(A1:A4,C1)", 0, 9},
    });
}

// A sum of squares less the square of the sum loses every digit of values near 1e9.
TEST(StatisticalFunctions, DeviationsKeepTheirDigitsOnLargeValues) {
    ExpectCases<StatSheet>({
        {"=VAR(D1:D4)", 5.0 / 3, 0},
        {"=DEVSQ(D1:D4)", 5, 0},
        {"=STDEVP(D1:D4)", std::sqrt(1.25), 0},
        {"=SKEW(D1:D4)", 0, 0},
        {"=KURT(D1:D4)", -1.2, 0},
        {"=COVAR(D1:D4,D1:D4)", 1.25, 0},
        {"=CORREL(D1:D4,E1:E4)", 11 / std::sqrt(130.0), 0},
        {"=SLOPE(D1:D4,A1:A4)", 1, 0},
    });
}

TEST(StatisticalFunctions, TooFewNumbers) {
    ExpectCases<StatSheet>({
        {"=AVERAGE()", 0, 2},
        {"=AVERAGE(B1:B2)", 0, 2},
        {"=VAR(5)", 0, 2},
        {"=STDEV(5)", 0, 2},
        {"=VARP(B1)", 0, 2},
        {"=DEVSQ()", 0, 2},
        {"=GEOMEAN()", 0, 2},
        {"=AVEDEV(B1)", 0, 2},
        {"=SKEW(1,2)", 0, 2},
        {"=KURT(1,1,1,1)", 0, 2},
        {"=MEDIAN(B1:B2)", 0, 3},
        {"=LARGE(B1:B2,1)", 0, 3},
        {"=SMALL(B1,1)", 0, 3},
        {"=MODE(B1:B2)", 0, 3},
        {"=PERCENTILE(B1,0)", 0, 3},
    });
}

TEST(StatisticalFunctions, OrderedNumbers) {
    ExpectCases<StatSheet>({
        {"=MEDIAN(4,1,3,2)", 2.5, 0},
        {"=MEDIAN(5,1,3)", 3, 0},
        {"=LARGE(A1:A4,1)", 4, 0},
        {"=LARGE(A1:A4,2.9)", 3, 0},  // a fraction is cut
        {"=LARGE(5,3,1,2)", 3, 0},    // k is the last argument
        {"=SMALL(A1:A4,2)", 2, 0},
        {"=SMALL(A1:A4,5)", 0, 3},
        {"=SMALL(A1:A4,0)", 0, 3},
        {"=PERCENTILE(A1:A4,0.3)", 1.9, 0},
        {"=PERCENTILE(A1:A4,1)", 4, 0},
        {"=PERCENTILE(A1:A4,1.1)", 0, 3},
        {"=QUARTILE(A1:A4,1)", 1.75, 0},
        {"=QUARTILE(A1:A4,3.9)", 3.25, 0},
        {"=QUARTILE(A1:A4,5)", 0, 3},
        {"=MODE(1,2,2,3,3)", 2, 0},  // the first of the most frequent
        {"=MODE(3,3,2,2)", 3, 0},
        {"=MODE(1,2,3)", 0, 9},
        {"=RANK(3,A1:A4)", 2, 0},
        {"=RANK(3,A1:A4,1)", 3, 0},
        {"=RANK(2.5,A1:A4)", 3, 0},  // where it would stand
        {"=RANK(7,F1:F4)", 1, 0},    // equal numbers share a rank
        {"=PERCENTRANK(A1:A4,2)", 0.333, 0},
        {"=PERCENTRANK(A1:A4,2.5)", 0.5, 0},
        {"=PERCENTRANK(A1:A4,1.003)", 0.001, 0},
        {"=PERCENTRANK(F1:F4,7)", 0, 0},
        {"=PERCENTRANK(A1:A4,5)", 0, 9},
    });
}

TEST(StatisticalFunctions, PairsOfRanges) {
    // x 1 2 3 4, y 2 4 5 9: Sxx 5, Syy 26, Sxy 11.
    ExpectCases<StatSheet>({
        {"=CORREL(A1:A4,E1:E4)", 11 / std::sqrt(130.0), 0},
        {"=PEARSON(E1:E4,A1:A4)", 11 / std::sqrt(130.0), 0},
        {"=RSQ(E1:E4,A1:A4)", 121.0 / 130, 0},
        {"=COVAR(A1:A4,E1:E4)", 2.75, 0},
        {"=SLOPE(E1:E4,A1:A4)", 2.2, 0},
        {"=INTERCEPT(E1:E4,A1:A4)", -0.5, 0},
        {"=FORECAST(5,E1:E4,A1:A4)", 10.5, 0},
        {"=STEYX(E1:E4,A1:A4)", std::sqrt(0.9), 0},
        {"=WAVG(A1:A4,E1:E4)", 61.0 / 20, 0},
        {"=PROB(A1:A4,G1:G4,2,3)", 0.5, 0},
        {"=PROB(A1:A4,G1:G4,2)", 0.2, 0},
        {"=PROB(A1:A4,E1:E4,2)", 0, 3},  // not probabilities
        {"=PROB(A1:A3,G1:G3,2)", 0, 3},  // summing to 0.6
        {"=CORREL(A1:A4,A1:A3)", 0, 3},
        {"=CORREL(A1:A4,B1:B4)", 0, 2},  // two pairs, y constant
        {"=CORREL(A1:A4,C1:C4)", 0, 9},
        {"=SLOPE(A1:A4,F1:F4)", 0, 2},
        {"=STEYX(A1:A2,E1:E2)", 0, 2},
        {"=WAVG(A1:A2,B1:B2)", 0, 2},
    });
}

TEST(StatisticalFunctions, DistributionsAtTheirDefinitions) {
    Sheet sheet;
    const double e = std::exp(1.0);
    ExpectCases(sheet, {
                           {"=NORMDIST(42,40,1.5)", 0.10934004978399575, 0},
                           {"=NORMDIST(42,40,1.5,0)", 0.10934004978399575, 0},
                           {"=NORMDIST(42,40,1.5,TRUE)", 0.9087887802741321, 0},
                           {"=NORMDIST(-1,0,1,1)", 0.15865525393145707, 0},
                           {"=STANDARDIZE(42,40,1.5)", 4.0 / 3, 0},
                           {"=GAMMALN(1)", 0, 0},
                           {"=EXPONDIST(0.5,2,1)", 1 - 1 / e, 0},
                           {"=EXPONDIST(0.5,2,0)", 2 / e, 0},
                           {"=WEIBULL(2,3,4,1)", 1 - std::exp(-0.125), 0},
                           {"=WEIBULL(2,3,4,0)", 0.75 * 0.25 * std::exp(-0.125), 0},
                           {"=WEIBULL(0,1,4,0)", 0.25, 0},
                           {"=FISHER(0.5)", 0.5 * std::log(3.0), 0},
                           {"=FISHERINV(0.5493061443340549)", 0.5, 0},
                           {"=FISHERINV(400)", 1, 0},  // e^800 overflows in the quotient
                           {"=COMB(30,15)", 155117520, 0},
                           {"=COMB(5.9,2)", 10, 0},
                           {"=PERM(5,3)", 60, 0},
                           {"=GAMMADIST(4,2,3)", 4 * std::exp(-4.0 / 3) / 9, 0},
                           {"=GAMMADIST(4,2,3,1)", 1 - std::exp(-4.0 / 3) * (1 + 4.0 / 3), 0},
                           {"=GAMMADIST(2,0.5,2,1)", std::erf(1.0), 0},
                           {"=GAMMADIST(0,1,4)", 0.25, 0},
                           {"=POISSON(3,2.5,0)", std::exp(-2.5) * 2.5 * 2.5 * 2.5 / 6, 0},
                           {"=POISSON(3,2.5,1)", 0.75757613313306593, 0},
                           {"=POISSON(0,0,0)", 1, 0},
                           {"=BINOMDIST(2,4,0.5,0)", 6.0 / 16, 0},
                           {"=BINOMDIST(2,4,0.5,1)", 11.0 / 16, 0},
                           {"=BINOMDIST(0,4,0,0)", 1, 0},
                           {"=BINOMDIST(4,4,1,1)", 1, 0},
                           {"=HYPGEOMDIST(1,4,8,20)", 8.0 * 220 / 4845, 0},
                           {"=NEGBINOMDIST(10,5,0.25)", 0.05504866037517786, 0},
                           {"=NEGBINOMDIST(0,3,1)", 1, 0},
                       });
    // The six-term series: ten digits.
    CCCellValue v = sheet.Value("=GAMMALN(10)");
    ASSERT_TRUE(v.IsNumber());
    EXPECT_NEAR(v.GetNumber(), std::log(362880.0), 1e-9);
}

TEST(StatisticalFunctions, DistributionDomainEdges) {
    ExpectCases({
        {"=NORMDIST(1,0,0)", 0, 3},
        {"=NORMDIST(NA(),0,1)", 0, 9},
        {"=NORMDIST(\"a\",0,1)", 0, 3},
        {"=STANDARDIZE(1,0,-1)", 0, 3},
        {"=GAMMALN(0)", 0, 3},
        {"=GAMMADIST(-1,2,3)", 0, 3},
        {"=GAMMADIST(1,0,3)", 0, 3},
        {"=GAMMADIST(1,2,0)", 0, 3},
        {"=GAMMADIST(0,0.5,1)", 0, 3},  // infinite density
        {"=GAMMADIST(0,0.5,1,1)", 0, 0},
        {"=EXPONDIST(-1,2,1)", 0, 3},
        {"=EXPONDIST(1,0,1)", 0, 3},
        {"=WEIBULL(-1,1,1,1)", 0, 3},
        {"=WEIBULL(1,0,1,1)", 0, 3},
        {"=WEIBULL(1,1,0,1)", 0, 3},
        {"=WEIBULL(0,0.5,1,0)", 0, 3},
        {"=FISHER(1)", 0, 3},
        {"=FISHER(-1)", 0, 3},
        {"=POISSON(-1,2,0)", 0, 3},
        {"=POISSON(1,-2,0)", 0, 3},
        {"=BINOMDIST(-1,4,0.5,0)", 0, 0},
        {"=BINOMDIST(5,4,0.5,1)", 0, 0},
        {"=BINOMDIST(1,-4,0.5,0)", 0, 0},
        {"=BINOMDIST(1,4,1.5,0)", 0, 0},
        {"=HYPGEOMDIST(5,4,8,20)", 0, 0},   // more successes than draws
        {"=HYPGEOMDIST(0,15,8,20)", 0, 0},  // too few failures to draw
        {"=HYPGEOMDIST(1,21,8,20)", 0, 3},
        {"=HYPGEOMDIST(1,4,21,20)", 0, 3},
        {"=HYPGEOMDIST(1,-4,8,20)", 0, 3},
        {"=NEGBINOMDIST(-1,5,0.5)", 0, 0},
        {"=NEGBINOMDIST(1,0,0.5)", 0, 0},
        {"=NEGBINOMDIST(1,5,1.5)", 0, 3},
        // k < 0 or k > n: no way to choose, not one.
        {"=COMB(5,7)", 0, 0},
        {"=COMB(5,-1)", 0, 0},
        {"=COMB(-5,2)", 0, 0},
        {"=PERM(3,5)", 0, 0},
        {"=COMB(2000,1000)", 0, 3},  // beyond the largest double
    });
}

// Where factorials overflow and differences of log-factorials lose digits, the terms and
// their sums still agree with exact rational values to ten digits or better; so does the gamma
// distribution, computed in log space.
TEST(StatisticalFunctions, DistributionsStayAccurateForLargeArguments) {
    const struct {
        const char* formula;
        double number;
    } cases[] = {
        {"=BINOMDIST(500,1000,0.5,0)", 0.02522501817836080},
        {"=BINOMDIST(500,1000,0.5,1)", 0.51261250908918043},
        {"=BINOMDIST(3000,10000,0.3,0)", 0.0087053613650670564},
        {"=BINOMDIST(2950,10000,0.3,1)", 0.13997602114954436},
        {"=BINOMDIST(3100,10000,0.3,1)", 0.9856530440232093},
        {"=POISSON(1000,1000,0)", 0.012614611348721499},
        {"=POISSON(990,1000,1)", 0.38376226662936946},
        {"=POISSON(1040,1000,1)", 0.89927941282346113},
        {"=HYPGEOMDIST(500,1000,5000,10000)", 0.026589429961294035},
        {"=NEGBINOMDIST(3000,1000,0.25)", 0.0036414993406759773},
        {"=COMB(1000,500)", 2.7028824094543655e299},
        // Gamma(1000) and 1000^999 both overflow.
        {"=GAMMADIST(1000,1000,1)", 0.012614611348721499},
        {"=GAMMADIST(1000,1000,1,1)", 0.50420524418021551},
        {"=GAMMADIST(50,40,1.5,1)", 0.14330312373660978},  // series
        {"=GAMMADIST(80,40,1.5,1)", 0.97514520701346641},  // continued fraction
        {"=GAMMADIST(2,0.5,2)", 0.10377687435514869},
    };
    Sheet sheet;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.formula);
        CCCellValue v = sheet.Value(c.formula);
        ASSERT_TRUE(v.IsNumber());
        // Relative to the probability's size, however small.
        EXPECT_NEAR(v.GetNumber(), c.number, 1e-11 * std::fabs(c.number));
    }
}

// NORMSDIST and ZTEST are reached by no name: their routines are called directly.
CCCellValue CallUnlisted(Sheet& sheet, std::u16string_view name, std::vector<double> numbers) {
    CCFormulaList* args = nullptr;
    for (double x : numbers) {
        CCCellValue value;
        value.Set(x);
        FormulaListAddLast(args, new CCConstFormula(value));
    }
    CCCellValue result;
    testing_support::Builtin(name).GetEval()(sheet.GetCTX(), result, args, nullptr);
    FreeFormulaList(args, 1);
    return result;
}

TEST(StatisticalFunctions, UnlistedRoutines) {
    Sheet sheet;
    EXPECT_NEAR(CallUnlisted(sheet, u"NORMSDIST", {0}).GetNumber(), 0.3989422804014327, 1e-16);
    // One number 5 against 4 with sigma 2: z = 0.5.
    EXPECT_NEAR(CallUnlisted(sheet, u"ZTEST", {5, 4, 2}).GetNumber(),
                0.5 * std::erfc(0.5 / std::sqrt(2.0)), 1e-15);
    EXPECT_EQ(CallUnlisted(sheet, u"ZTEST", {5, 4}).GetError(), 2);  // no sample deviation
    EXPECT_EQ(CallUnlisted(sheet, u"ZTEST", {5, 4, -1}).GetError(), 3);
}

}  // namespace
