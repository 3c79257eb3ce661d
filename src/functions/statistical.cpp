// SPDX-License-Identifier: Apache-2.0
// The statistical functions: aggregations over numbers and ranges, the functions that order
// them, those of two ranges read in step, and the distributions. Their routines live in the
// stat_*.cpp files; which values they count is said once, in stat_collect.h.
#include "functions/function_row.h"
#include "functions/stat_routines.h"

using ostrel::functions::AggregateFold;

namespace {

using namespace stat_functions;

const FunctionRow kRows[] = {
    {u"AVEDEV", 13102, kStatistical, RULE(1, kMany, kAny, 0), EvaluateRemembered<AverageDeviation>,
     u"AVEDEV(number1, [number2], ...)\n"
     u"Returns the mean of the absolute deviations of the numbers from their mean.\n"
     u"number1: a number or range\n"
     u"number2: further numbers or ranges"},
    {u"AVERAGE", 13103, kStatistical, RULE(0, kMany, kAny, 0),
     EvaluateRemembered<Average, AggregateFold::average>,
     u"AVERAGE([number1], [number2], ...)\n"
     u"Returns the arithmetic mean of the numbers.\n"
     u"number1: a number or range\n"
     u"number2: further numbers or ranges"},
    {u"AVG", 13104, kStatistical, RULE(0, kMany, kAny, 0),
     EvaluateRemembered<Average, AggregateFold::average>,
     u"AVG([number1], [number2], ...)\n"
     u"Returns the arithmetic mean of the numbers, as AVERAGE does.\n"
     u"number1: a number or range\n"
     u"number2: further numbers or ranges"},
    {u"BINOMDIST", 13105, kStatistical, RULE(4, 4, kNone, 0), Evaluate<BinomialDistribution>,
     u"BINOMDIST(successes, trials, probability, cumulative)\n"
     u"Returns the binomial distribution: the probability of a number of successes in a number of "
     u"independent trials.\n"
     u"successes: the number of successes\n"
     u"trials: the number of trials\n"
     u"probability: the probability of success in one trial, from 0 to 1\n"
     u"cumulative: true for the probability of at most that many successes, false for exactly that "
     u"many"},
    {u"COMB", 13106, kStatistical, RULE(2, 2, kNone, 0), Evaluate<Combinations>,
     u"COMB(n, k)\n"
     u"Returns the number of ways to choose k items out of n, regardless of order.\n"
     u"n: the number of items\n"
     u"k: the number of items chosen"},
    {u"CORREL", 13107, kStatistical, RULE(2, 2, kAny, 0), EvaluateRemembered<Correlation>,
     u"CORREL(array1, array2)\n"
     u"Returns the correlation coefficient of two sets of values.\n"
     u"array1: the first range or array of values\n"
     u"array2: the second range or array, of the same size"},
    {u"COUNT", 13108, kStatistical, RULE(0, kMany, kAny, 0),
     EvaluateRemembered<Count, AggregateFold::count>,
     u"COUNT([value1], [value2], ...)\n"
     u"Counts the values of the arguments that are not empty.\n"
     u"value1: a value or range\n"
     u"value2: further values or ranges"},
    {u"COUNTN", 13109, kStatistical, RULE(0, kMany, kAny, 0),
     EvaluateRemembered<CountNumbers, AggregateFold::countNumbers>,
     u"COUNTN([value1], [value2], ...)\n"
     u"Counts the numbers among the values of the arguments.\n"
     u"value1: a value or range\n"
     u"value2: further values or ranges"},
    {u"COVAR", 13110, kStatistical, RULE(2, 2, kAny, 0), EvaluateRemembered<Covariance>,
     u"COVAR(array1, array2)\n"
     u"Returns the covariance of two sets of values: the mean of the products of their deviations "
     u"from their means.\n"
     u"array1: the first range or array of values\n"
     u"array2: the second range or array, of the same size"},
    {u"DEVSQ", 13111, kStatistical, RULE(0, kMany, kAny, 0),
     EvaluateRemembered<SquaredDeviations, AggregateFold::squaredDeviations>,
     u"DEVSQ([number1], [number2], ...)\n"
     u"Returns the sum of the squares of the deviations of the numbers from their mean.\n"
     u"number1: a number or range\n"
     u"number2: further numbers or ranges"},
    {u"EXPONDIST", 13112, kStatistical, RULE(3, 3, kNone, 0), Evaluate<ExponentialDistribution>,
     u"EXPONDIST(x, lambda, cumulative)\n"
     u"Returns the exponential distribution.\n"
     u"x: the value at which the distribution is evaluated, 0 or more\n"
     u"lambda: the rate parameter, greater than 0\n"
     u"cumulative: true for the distribution function, false for the density"},
    {u"FISHER", 13113, kStatistical, RULE(1, 1, kNone, 0), Evaluate<Fisher>,
     u"FISHER(x)\n"
     u"Returns the Fisher transformation of a number.\n"
     u"x: a value between -1 and 1, both excluded"},
    {u"FISHERINV", 13114, kStatistical, RULE(1, 1, kNone, 0), Evaluate<FisherInverse>,
     u"FISHERINV(y)\n"
     u"Returns the inverse of the Fisher transformation.\n"
     u"y: the transformed value"},
    {u"FORECAST", 13115, kStatistical, RULE(3, 3, kAllBut, 1), Evaluate<Forecast>,
     u"FORECAST(x, known_y, known_x)\n"
     u"Predicts the value at x of the straight line fitted to known values by linear regression.\n"
     u"x: the point whose value is predicted\n"
     u"known_y: the range of known dependent values\n"
     u"known_x: the range of known independent values, of the same size"},
    {u"GAMMADIST", 13116, kStatistical, RULE(3, 4, kNone, 0), Evaluate<GammaDistribution>,
     u"GAMMADIST(x, alpha, beta, [cumulative])\n"
     u"Returns the gamma distribution at a value: its density, or its distribution function.\n"
     u"x: the value, 0 or more\n"
     u"alpha: the shape parameter, greater than 0\n"
     u"beta: the scale parameter, greater than 0\n"
     u"cumulative: true for the distribution function, false or omitted for the density"},
    {u"GAMMALN", 13117, kStatistical, RULE(1, 1, kNone, 0), Evaluate<GammaLn>,
     u"GAMMALN(x)\n"
     u"Returns the natural logarithm of the gamma function.\n"
     u"x: a value greater than 0"},
    {u"GEOMEAN", 13118, kStatistical, RULE(0, kMany, kAny, 0), EvaluateRemembered<GeometricMean>,
     u"GEOMEAN([number1], [number2], ...)\n"
     u"Returns the geometric mean of positive numbers.\n"
     u"number1: a number or range\n"
     u"number2: further numbers or ranges"},
    {u"HARMEAN", 13119, kStatistical, RULE(0, kMany, kAny, 0), EvaluateRemembered<HarmonicMean>,
     u"HARMEAN([number1], [number2], ...)\n"
     u"Returns the harmonic mean of positive numbers.\n"
     u"number1: a number or range\n"
     u"number2: further numbers or ranges"},
    {u"HYPGEOMDIST", 13120, kStatistical, RULE(4, 4, kNone, 0),
     Evaluate<HypergeometricDistribution>,
     u"HYPGEOMDIST(sample_successes, sample_size, population_successes, population_size)\n"
     u"Returns the hypergeometric distribution: the probability of a number of successes in a "
     u"sample drawn without replacement.\n"
     u"sample_successes: the number of successes in the sample\n"
     u"sample_size: the size of the sample\n"
     u"population_successes: the number of successes in the population\n"
     u"population_size: the size of the population"},
    {u"INTERCEPT", 13121, kStatistical, RULE(2, 2, kAny, 0), EvaluateRemembered<Intercept>,
     u"INTERCEPT(known_y, known_x)\n"
     u"Returns the point at which the regression line of known values crosses the y axis.\n"
     u"known_y: the range of known dependent values\n"
     u"known_x: the range of known independent values, of the same size"},
    {u"KURT", 13122, kStatistical, RULE(1, kMany, kAny, 0), EvaluateRemembered<Kurtosis>,
     u"KURT(number1, [number2], ...)\n"
     u"Returns the kurtosis of the numbers.\n"
     u"number1: a number or range\n"
     u"number2: further numbers or ranges"},
    {u"LARGE", 13123, kStatistical, RULE(2, kMany, kAny, 0), Evaluate<Large>,
     u"LARGE(number1, [number2], ..., k)\n"
     u"Returns the k-th largest of the numbers.\n"
     u"number1: a number or range\n"
     u"number2: further numbers or ranges\n"
     u"k: the rank from the top, 1 for the largest; always the last argument"},
    {u"MAX", 13124, kStatistical, RULE(1, kMany, kAny, 0),
     EvaluateRemembered<Maximum, AggregateFold::maximum>,
     u"MAX(number1, [number2], ...)\n"
     u"Returns the largest of the numbers.\n"
     u"number1: a number or range\n"
     u"number2: further numbers or ranges"},
    {u"MEDIAN", 13125, kStatistical, RULE(1, kMany, kAny, 0), EvaluateRemembered<Median>,
     u"MEDIAN(number1, [number2], ...)\n"
     u"Returns the median of the numbers: the middle value, or the mean of the two middle values.\n"
     u"number1: a number or range\n"
     u"number2: further numbers or ranges"},
    {u"MIN", 13126, kStatistical, RULE(1, kMany, kAny, 0),
     EvaluateRemembered<Minimum, AggregateFold::minimum>,
     u"MIN(number1, [number2], ...)\n"
     u"Returns the smallest of the numbers.\n"
     u"number1: a number or range\n"
     u"number2: further numbers or ranges"},
    {u"MODE", 13127, kStatistical, RULE(1, kMany, kAny, 0), EvaluateRemembered<Mode>,
     u"MODE(number1, [number2], ...)\n"
     u"Returns the value that occurs most often among the numbers.\n"
     u"number1: a number or range\n"
     u"number2: further numbers or ranges"},
    {u"NEGBINOMDIST", 13128, kStatistical, RULE(3, 3, kNone, 0),
     Evaluate<NegativeBinomialDistribution>,
     u"NEGBINOMDIST(failures, successes, probability)\n"
     u"Returns the negative binomial distribution: the probability of a number of failures before "
     u"a number of successes.\n"
     u"failures: the number of failures\n"
     u"successes: the number of successes\n"
     u"probability: the probability of success in one trial, from 0 to 1"},
    {u"NORMDIST", 13129, kStatistical, RULE(3, 4, kNone, 0), Evaluate<NormalDensity>,
     u"NORMDIST(x, mean, standard_dev, [cumulative])\n"
     u"Returns the density of the normal distribution with a given mean and standard deviation, "
     u"or its distribution function.\n"
     u"x: the value at which the distribution is evaluated\n"
     u"mean: the mean of the distribution\n"
     u"standard_dev: the standard deviation, greater than 0\n"
     u"cumulative: true for the probability of a value at most x, false or omitted for the "
     u"density"},
    {u"NORMSDIST", 13130, kStatistical, RULE(1, 1, kAny, 0), Evaluate<StandardNormalDensity>,
     u"NORMSDIST(x)\n"
     u"Returns the density of the standard normal distribution.\n"
     u"x: the value at which the density is evaluated",
     EntryClass::plain, kFlagUnlisted},
    {u"PEARSON", 13131, kStatistical, RULE(2, 2, kAny, 0), EvaluateRemembered<Correlation>,
     u"PEARSON(array1, array2)\n"
     u"Returns the Pearson product-moment correlation coefficient of two sets of values.\n"
     u"array1: the first range or array of values\n"
     u"array2: the second range or array, of the same size"},
    {u"PERCENTILE", 13132, kStatistical, RULE(2, 2, kAny, 0), Evaluate<Percentile>,
     u"PERCENTILE(array, k)\n"
     u"Returns the k-th percentile of a set of values.\n"
     u"array: the range or array of values\n"
     u"k: the percentile as a fraction from 0 to 1"},
    {u"PERCENTRANK", 13133, kStatistical, RULE(2, 2, kAny, 0), Evaluate<PercentRank>,
     u"PERCENTRANK(array, x)\n"
     u"Returns the rank of a value within a set of values as a fraction from 0 to 1.\n"
     u"array: the range or array of values\n"
     u"x: the value whose rank is returned"},
    {u"PERM", 13134, kStatistical, RULE(2, 2, kNone, 0), Evaluate<Permutations>,
     u"PERM(n, k)\n"
     u"Returns the number of ordered arrangements of k items chosen out of n.\n"
     u"n: the number of items\n"
     u"k: the number of items chosen"},
    {u"POISSON", 13135, kStatistical, RULE(3, 3, kNone, 0), Evaluate<PoissonDistribution>,
     u"POISSON(x, mean, cumulative)\n"
     u"Returns the Poisson distribution.\n"
     u"x: the number of events\n"
     u"mean: the expected number of events\n"
     u"cumulative: true for the probability of at most x events, false for exactly x"},
    {u"PROB", 13136, kStatistical, RULE(3, 4, kAny, 0), Evaluate<Probability>,
     u"PROB(x_range, prob_range, lower_limit, [upper_limit])\n"
     u"Returns the probability that a value lies between two limits, given the probabilities of "
     u"the values.\n"
     u"x_range: the range of values\n"
     u"prob_range: the probabilities of those values, of the same size\n"
     u"lower_limit: the lower limit\n"
     u"upper_limit: the upper limit; the lower limit when omitted"},
    {u"QUARTILE", 13137, kStatistical, RULE(2, 2, kAny, 0), Evaluate<Quartile>,
     u"QUARTILE(array, quart)\n"
     u"Returns a quartile of a set of values.\n"
     u"array: the range or array of values\n"
     u"quart: 0 for the minimum, 1 to 3 for the quartiles, 4 for the maximum"},
    {u"RANK", 13138, kStatistical, RULE(2, 3, kOnly, 2), Evaluate<Rank>,
     u"RANK(number, ref, [order])\n"
     u"Returns the rank of a number within a list of numbers.\n"
     u"number: the value whose rank is returned\n"
     u"ref: the range of numbers\n"
     u"order: 0 or omitted to rank from the largest, any other value to rank from the smallest"},
    {u"RSQ", 13139, kStatistical, RULE(2, 2, kAny, 0), EvaluateRemembered<RSquared>,
     u"RSQ(known_y, known_x)\n"
     u"Returns the square of the Pearson correlation coefficient of two sets of values.\n"
     u"known_y: the range of dependent values\n"
     u"known_x: the range of independent values, of the same size"},
    {u"SKEW", 13140, kStatistical, RULE(1, kMany, kAny, 0), EvaluateRemembered<Skewness>,
     u"SKEW(number1, [number2], ...)\n"
     u"Returns the skewness of the numbers.\n"
     u"number1: a number or range\n"
     u"number2: further numbers or ranges"},
    {u"SLOPE", 13141, kStatistical, RULE(2, 2, kAny, 0), EvaluateRemembered<Slope>,
     u"SLOPE(known_y, known_x)\n"
     u"Returns the slope of the linear regression line of known values.\n"
     u"known_y: the range of known dependent values\n"
     u"known_x: the range of known independent values, of the same size"},
    {u"SMALL", 13142, kStatistical, RULE(2, kMany, kAny, 0), Evaluate<Small>,
     u"SMALL(number1, [number2], ..., k)\n"
     u"Returns the k-th smallest of the numbers.\n"
     u"number1: a number or range\n"
     u"number2: further numbers or ranges\n"
     u"k: the rank from the bottom, 1 for the smallest; always the last argument"},
    {u"STANDARDIZE", 13143, kStatistical, RULE(3, 3, kNone, 0), Evaluate<Standardize>,
     u"STANDARDIZE(x, mean, standard_dev)\n"
     u"Returns a value normalised by a mean and a standard deviation: (x - mean) / standard_dev.\n"
     u"x: the value to normalise\n"
     u"mean: the mean of the distribution\n"
     u"standard_dev: the standard deviation, greater than 0"},
    {u"STD", 13144, kStatistical, RULE(1, kMany, kAny, 0),
     EvaluateRemembered<SampleDeviation, AggregateFold::sampleDeviation>,
     u"STD(number1, [number2], ...)\n"
     u"Returns the standard deviation of the numbers taken as a sample.\n"
     u"number1: a number or range\n"
     u"number2: further numbers or ranges"},
    {u"STDEV", 13145, kStatistical, RULE(0, kMany, kAny, 0),
     EvaluateRemembered<SampleDeviation, AggregateFold::sampleDeviation>,
     u"STDEV([number1], [number2], ...)\n"
     u"Returns the standard deviation of the numbers taken as a sample.\n"
     u"number1: a number or range\n"
     u"number2: further numbers or ranges"},
    {u"STDEVP", 13146, kStatistical, RULE(0, kMany, kAny, 0),
     EvaluateRemembered<PopulationDeviation, AggregateFold::populationDeviation>,
     u"STDEVP([number1], [number2], ...)\n"
     u"Returns the standard deviation of the numbers taken as the whole population.\n"
     u"number1: a number or range\n"
     u"number2: further numbers or ranges"},
    {u"STEYX", 13147, kStatistical, RULE(2, 2, kAny, 0), EvaluateRemembered<StandardErrorYX>,
     u"STEYX(known_y, known_x)\n"
     u"Returns the standard error of the values predicted by the linear regression of known "
     u"values.\n"
     u"known_y: the range of known dependent values\n"
     u"known_x: the range of known independent values, of the same size"},
    {u"VAR", 13148, kStatistical, RULE(1, kMany, kAny, 0),
     EvaluateRemembered<SampleVariance, AggregateFold::sampleVariance>,
     u"VAR(number1, [number2], ...)\n"
     u"Returns the variance of the numbers taken as a sample.\n"
     u"number1: a number or range\n"
     u"number2: further numbers or ranges"},
    {u"VARP", 13149, kStatistical, RULE(1, kMany, kAny, 0),
     EvaluateRemembered<PopulationVariance, AggregateFold::populationVariance>,
     u"VARP(number1, [number2], ...)\n"
     u"Returns the variance of the numbers taken as the whole population.\n"
     u"number1: a number or range\n"
     u"number2: further numbers or ranges"},
    {u"WAVG", 13150, kStatistical, RULE(2, 2, kAny, 0), EvaluateRemembered<WeightedAverage>,
     u"WAVG(values, weights)\n"
     u"Returns the mean of values weighted by their weights.\n"
     u"values: the range or array of values\n"
     u"weights: the weight of each value, of the same size"},
    {u"WEIBULL", 13151, kStatistical, RULE(4, 4, kNone, 0), Evaluate<WeibullDistribution>,
     u"WEIBULL(x, alpha, beta, cumulative)\n"
     u"Returns the Weibull distribution.\n"
     u"x: the value, 0 or more\n"
     u"alpha: the shape parameter, greater than 0\n"
     u"beta: the scale parameter, greater than 0\n"
     u"cumulative: true for the distribution function, false for the density"},
    {u"ZTEST", 13152, kStatistical, RULE(2, 3, kOnly, 1), Evaluate<ZTest>,
     u"ZTEST(array, x, [sigma])\n"
     u"Returns the one-tailed probability of a z-test of a value against a sample.\n"
     u"array: the range of sample values\n"
     u"x: the value to test\n"
     u"sigma: the standard deviation of the population; that of the sample when omitted",
     EntryClass::plain, kFlagUnlisted},
    {u"COUNTIF", 13290, kStatistical, RULE(2, kMany, kAllButLast, 0), Evaluate<CountIf>,
     u"COUNTIF(range1, [range2], ..., criterion)\n"
     u"Counts the cells of ranges that meet a criterion.\n"
     u"range1: a range to count in\n"
     u"range2: further ranges\n"
     u"criterion: the value, or comparison such as \">10\", that a cell must meet; always the last "
     u"argument"},
};

}  // namespace

std::span<const FunctionRow> ostrel::functions::StatisticalRows() {
    return kRows;
}
