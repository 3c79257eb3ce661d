// SPDX-License-Identifier: Apache-2.0
// The numerical kernels of the distributions, apart from how arguments are read: log-gamma,
// binomial coefficients, and binomial, Poisson and incomplete-gamma probabilities computed so
// that they stay finite and keep their digits for large arguments (in log space, by the
// saddle-point form of the terms, and by recurrences from one accurate term).
#pragma once

namespace stat_numerics {

// GAMMALN's six-term Lanczos series (about ten correct digits), for x > 0.
double LanczosLogGamma(double x);

// ln Gamma(x) for x > 0, to the last digits.
double LogGamma(double x);

// C(n, k) for whole n and k as a running product of ratios, exact while the result is below
// 2^53; 0 for k < 0 or k > n, infinity when it overflows.
double Combinations(double n, double k);

// P(X = k) for X binomial with n trials of probability p (q = 1 - p), for whole 0 <= k <= n.
double BinomialTerm(double k, double n, double p, double q);

// P(X = k) for X Poisson of mean lambda >= 0; k >= 0 may be fractional (as x^k e^-x / k!).
double PoissonTerm(double k, double lambda);

// The most terms a cumulative sum or a series takes before it gives up (a sum near the mean
// needs about nine times the standard deviation): enough for variances up to about 3e13,
// and at most about a tenth of a second.
inline constexpr double kMostTerms = 5e7;

// The cumulative probabilities P(X <= k), summed from the term at k towards the nearer tail
// (complemented for the upper one). False when more than kMostTerms terms would be needed.
bool BinomialCumulative(double k, double n, double p, double q, double& out);
bool PoissonCumulative(double k, double lambda, double& out);

// The regularised lower incomplete gamma function P(a, x) for a > 0, x >= 0: a series below
// x = a + 1, a continued fraction for its complement above. False when it does not converge
// within kMostTerms steps.
bool RegularizedGamma(double a, double x, double& out);

}  // namespace stat_numerics
