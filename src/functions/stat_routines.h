// SPDX-License-Identifier: Apache-2.0
// The routines of the statistical functions, as their rows point at them (through Evaluate,
// which makes a returned error code the result).
#pragma once

#include "functions/stat_collect.h"

#define OSTREL_STAT_ROUTINE(Name) \
    int Name(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell)

namespace stat_functions {

// Aggregations over numbers and ranges.
OSTREL_STAT_ROUTINE(Average);
OSTREL_STAT_ROUTINE(AverageDeviation);
OSTREL_STAT_ROUTINE(Count);
OSTREL_STAT_ROUTINE(CountNumbers);
OSTREL_STAT_ROUTINE(CountIf);
OSTREL_STAT_ROUTINE(SquaredDeviations);
OSTREL_STAT_ROUTINE(GeometricMean);
OSTREL_STAT_ROUTINE(HarmonicMean);
OSTREL_STAT_ROUTINE(Kurtosis);
OSTREL_STAT_ROUTINE(Maximum);
OSTREL_STAT_ROUTINE(Minimum);
OSTREL_STAT_ROUTINE(Skewness);
OSTREL_STAT_ROUTINE(SampleDeviation);
OSTREL_STAT_ROUTINE(PopulationDeviation);
OSTREL_STAT_ROUTINE(SampleVariance);
OSTREL_STAT_ROUTINE(PopulationVariance);

// Functions that order the numbers.
OSTREL_STAT_ROUTINE(Large);
OSTREL_STAT_ROUTINE(Median);
OSTREL_STAT_ROUTINE(Mode);
OSTREL_STAT_ROUTINE(Percentile);
OSTREL_STAT_ROUTINE(PercentRank);
OSTREL_STAT_ROUTINE(Quartile);
OSTREL_STAT_ROUTINE(Rank);
OSTREL_STAT_ROUTINE(Small);

// Two ranges read in step.
OSTREL_STAT_ROUTINE(Correlation);
OSTREL_STAT_ROUTINE(Covariance);
OSTREL_STAT_ROUTINE(Forecast);
OSTREL_STAT_ROUTINE(Intercept);
OSTREL_STAT_ROUTINE(Probability);
OSTREL_STAT_ROUTINE(RSquared);
OSTREL_STAT_ROUTINE(Slope);
OSTREL_STAT_ROUTINE(StandardErrorYX);
OSTREL_STAT_ROUTINE(WeightedAverage);

// Distributions, counting and tests.
OSTREL_STAT_ROUTINE(BinomialDistribution);
OSTREL_STAT_ROUTINE(Combinations);
OSTREL_STAT_ROUTINE(ExponentialDistribution);
OSTREL_STAT_ROUTINE(Fisher);
OSTREL_STAT_ROUTINE(FisherInverse);
OSTREL_STAT_ROUTINE(GammaDistribution);
OSTREL_STAT_ROUTINE(GammaLn);
OSTREL_STAT_ROUTINE(HypergeometricDistribution);
OSTREL_STAT_ROUTINE(NegativeBinomialDistribution);
OSTREL_STAT_ROUTINE(NormalDensity);
OSTREL_STAT_ROUTINE(StandardNormalDensity);
OSTREL_STAT_ROUTINE(Permutations);
OSTREL_STAT_ROUTINE(PoissonDistribution);
OSTREL_STAT_ROUTINE(Standardize);
OSTREL_STAT_ROUTINE(WeibullDistribution);
OSTREL_STAT_ROUTINE(ZTest);

}  // namespace stat_functions

#undef OSTREL_STAT_ROUTINE
