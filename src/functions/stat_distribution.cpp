// SPDX-License-Identifier: Apache-2.0
// The distributions, counting functions and the z-test. Arguments are numbers (an error
// value passes its code, anything else is error 3); counts are cut to whole numbers
// (floor). A parameter outside its distribution's domain is error 3; an outcome a discrete
// distribution cannot take has probability 0 (the binomial one also gives 0 for a negative
// number of trials or a probability outside 0..1). A result that is not finite is error 3.
#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "functions/stat_numerics.h"
#include "functions/stat_routines.h"

using ostrel::functions::NthArgument;

namespace stat_functions {

namespace {

constexpr double kSqrtTwoPi = 2.5066282746310002;

// The n-th argument cut to a whole number.
int WholeNumber(cells::CTX* ctx, const CCFormulaList* args, int n, double& x, const CCRef* cell) {
    if (int error = Number(ctx, args, n, x, cell)) return error;
    if (!std::isfinite(x)) return 3;
    x = std::floor(x);
    return 0;
}

// The first arguments as numbers, in order.
int Numbers(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell,
            std::initializer_list<double*> out) {
    int n = 0;
    for (double* x : out)
        if (int error = Number(ctx, args, n++, *x, cell)) return error;
    return 0;
}

// The cumulative switch: any number but 0 is true; false when the argument is not there.
int Switch(cells::CTX* ctx, const CCFormulaList* args, int n, bool& on, const CCRef* cell) {
    on = false;
    if (!NthArgument(args, n)) return 0;
    double x = 0;
    if (int error = Number(ctx, args, n, x, cell)) return error;
    on = x != 0;
    return 0;
}

// The upper tail of the standard normal distribution, 1 - Phi(z), without cancellation.
double NormalUpperTail(double z) {
    return 0.5 * std::erfc(z / std::sqrt(2.0));
}

}  // namespace

// NORMDIST(x, mean, standard_dev, [cumulative]): the density as written, or with a true
// fourth argument the distribution function, which sheets written elsewhere pass.
int NormalDensity(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                  const CCRef* cell) {
    double x = 0, mean = 0, s = 0;
    bool cumulative = false;
    if (int error = Numbers(ctx, args, cell, {&x, &mean, &s})) return error;
    if (int error = Switch(ctx, args, 3, cumulative, cell)) return error;
    if (!(s > 0)) return 3;
    const double z = (x - mean) / s;
    if (cumulative) return SetFinite(result, NormalUpperTail(-z));
    return SetFinite(result, std::exp(-0.5 * z * z) / (kSqrtTwoPi * s));
}

int StandardNormalDensity(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                          const CCRef* cell) {
    double x = 0;
    if (int error = Number(ctx, args, 0, x, cell)) return error;
    return SetFinite(result, std::exp(-0.5 * x * x) / kSqrtTwoPi);
}

int Standardize(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                const CCRef* cell) {
    double x = 0, mean = 0, s = 0;
    if (int error = Numbers(ctx, args, cell, {&x, &mean, &s})) return error;
    if (!(s > 0)) return 3;
    return SetFinite(result, (x - mean) / s);
}

int GammaLn(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    double x = 0;
    if (int error = Number(ctx, args, 0, x, cell)) return error;
    if (!(x > 0)) return 3;
    return SetFinite(result, stat_numerics::LanczosLogGamma(x));
}

// GAMMADIST(x, alpha, beta, [cumulative]): the density x^(alpha-1) e^(-x/beta) /
// (Gamma(alpha) beta^alpha), or with cumulative the regularised incomplete gamma function
// P(alpha, x / beta). The density is formed in logarithms (as the Poisson term of alpha at
// x / beta, times alpha / x), so that neither the power nor Gamma(alpha) overflows.
int GammaDistribution(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                      const CCRef* cell) {
    double x = 0, alpha = 0, beta = 0;
    bool cumulative = false;
    if (int error = Numbers(ctx, args, cell, {&x, &alpha, &beta})) return error;
    if (int error = Switch(ctx, args, 3, cumulative, cell)) return error;
    if (!(x >= 0 && alpha > 0 && beta > 0)) return 3;
    const double y = x / beta;
    if (cumulative) {
        double p = 0;
        if (!stat_numerics::RegularizedGamma(alpha, y, p)) return 3;
        return SetFinite(result, p);
    }
    if (y == 0) {
        if (alpha < 1) return 3;  // the density is infinite at 0
        return SetFinite(result, alpha == 1 ? 1 / beta : 0);
    }
    return SetFinite(result, alpha / y * stat_numerics::PoissonTerm(alpha, y) / beta);
}

// BINOMDIST(successes, trials, probability, cumulative).
int BinomialDistribution(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                         const CCRef* cell) {
    double k = 0, n = 0, p = 0;
    bool cumulative = false;
    if (int error = WholeNumber(ctx, args, 0, k, cell)) return error;
    if (int error = WholeNumber(ctx, args, 1, n, cell)) return error;
    if (int error = Number(ctx, args, 2, p, cell)) return error;
    if (int error = Switch(ctx, args, 3, cumulative, cell)) return error;
    if (k < 0 || n < 0 || k > n || !(p >= 0 && p <= 1)) return SetFinite(result, 0);
    const double q = 1 - p;
    if (!cumulative) return SetFinite(result, stat_numerics::BinomialTerm(k, n, p, q));
    double sum = 0;
    if (!stat_numerics::BinomialCumulative(k, n, p, q, sum)) return 3;
    return SetFinite(result, sum);
}

// POISSON(x, mean, cumulative): x cut to a whole number of at least 0, mean at least 0.
int PoissonDistribution(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                        const CCRef* cell) {
    double x = 0, mean = 0;
    bool cumulative = false;
    if (int error = WholeNumber(ctx, args, 0, x, cell)) return error;
    if (int error = Number(ctx, args, 1, mean, cell)) return error;
    if (int error = Switch(ctx, args, 2, cumulative, cell)) return error;
    if (x < 0 || !(mean >= 0 && std::isfinite(mean))) return 3;
    if (!cumulative) return SetFinite(result, stat_numerics::PoissonTerm(x, mean));
    double sum = 0;
    if (!stat_numerics::PoissonCumulative(x, mean, sum)) return 3;
    return SetFinite(result, sum);
}

// EXPONDIST(x, lambda, cumulative): x at least 0, lambda above 0.
int ExponentialDistribution(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                            const CCRef* cell) {
    double x = 0, lambda = 0;
    bool cumulative = false;
    if (int error = Numbers(ctx, args, cell, {&x, &lambda})) return error;
    if (int error = Switch(ctx, args, 2, cumulative, cell)) return error;
    if (!(x >= 0 && lambda > 0)) return 3;
    const double t = lambda * x;
    return SetFinite(result, cumulative ? -std::expm1(-t) : lambda * std::exp(-t));
}

// WEIBULL(x, alpha, beta, cumulative): with y = x / beta, 1 - e^(-y^alpha), or the density
// (alpha / beta) y^(alpha - 1) e^(-y^alpha), which never forms beta^alpha.
int WeibullDistribution(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                        const CCRef* cell) {
    double x = 0, alpha = 0, beta = 0;
    bool cumulative = false;
    if (int error = Numbers(ctx, args, cell, {&x, &alpha, &beta})) return error;
    if (int error = Switch(ctx, args, 3, cumulative, cell)) return error;
    if (!(x >= 0 && alpha > 0 && beta > 0)) return 3;
    const double y = x / beta;
    const double power = std::pow(y, alpha);
    if (cumulative) return SetFinite(result, -std::expm1(-power));
    if (y == 0) {
        if (alpha < 1) return 3;  // the density is infinite at 0
        return SetFinite(result, alpha == 1 ? 1 / beta : 0);
    }
    return SetFinite(result, alpha / beta * std::pow(y, alpha - 1) * std::exp(-power));
}

// HYPGEOMDIST(sample_successes, sample_size, population_successes, population_size):
// C(M, x) C(N - M, n - x) / C(N, n). Sizes must be at least 0 with n and M at most N; an x
// outside max(0, n - N + M) .. min(n, M) has probability 0. The quotient is formed from
// three binomial terms of probability n / N, whose powers cancel, so that no binomial
// coefficient is ever formed.
int HypergeometricDistribution(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                               const CCRef* cell) {
    double x = 0, n = 0, m = 0, total = 0;
    if (int error = WholeNumber(ctx, args, 0, x, cell)) return error;
    if (int error = WholeNumber(ctx, args, 1, n, cell)) return error;
    if (int error = WholeNumber(ctx, args, 2, m, cell)) return error;
    if (int error = WholeNumber(ctx, args, 3, total, cell)) return error;
    if (n < 0 || m < 0 || n > total || m > total) return 3;
    if (x < std::max(0.0, n - (total - m)) || x > std::min(n, m)) return SetFinite(result, 0);
    if (n == 0 || n == total) return SetFinite(result, 1);  // only one outcome is possible
    const double p = n / total;
    const double q = (total - n) / total;
    using stat_numerics::BinomialTerm;
    return SetFinite(result, BinomialTerm(x, m, p, q) * BinomialTerm(n - x, total - m, p, q) /
                                 BinomialTerm(n, total, p, q));
}

// NEGBINOMDIST(failures, successes, probability): C(f + s - 1, s - 1) p^s (1 - p)^f, the
// binomial term of s successes in f + s trials times s / (f + s). Probability outside 0..1 is
// error 3; fewer than 0 failures or 1 success has probability 0.
int NegativeBinomialDistribution(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                                 const CCRef* cell) {
    double f = 0, s = 0, p = 0;
    if (int error = WholeNumber(ctx, args, 0, f, cell)) return error;
    if (int error = WholeNumber(ctx, args, 1, s, cell)) return error;
    if (int error = Number(ctx, args, 2, p, cell)) return error;
    if (!(p >= 0 && p <= 1)) return 3;
    if (f < 0 || s < 1) return SetFinite(result, 0);
    const double trials = f + s;
    return SetFinite(result, s / trials * stat_numerics::BinomialTerm(s, trials, p, 1 - p));
}

int Fisher(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    double x = 0;
    if (int error = Number(ctx, args, 0, x, cell)) return error;
    if (!(x > -1 && x < 1)) return 3;
    return SetFinite(result, std::atanh(x));  // 0.5 ln((1 + x) / (1 - x))
}

int FisherInverse(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                  const CCRef* cell) {
    double y = 0;
    if (int error = Number(ctx, args, 0, y, cell)) return error;
    return SetFinite(result, std::tanh(y));  // (e^2y - 1) / (e^2y + 1), finite for every y
}

// COMB(n, k): 0 when k < 0 or k > n.
int Combinations(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                 const CCRef* cell) {
    double n = 0, k = 0;
    if (int error = WholeNumber(ctx, args, 0, n, cell)) return error;
    if (int error = WholeNumber(ctx, args, 1, k, cell)) return error;
    return SetFinite(result, stat_numerics::Combinations(n, k));
}

// PERM(n, k): n (n - 1) ... (n - k + 1); 0 when k < 0 or k > n, as for COMB.
int Permutations(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                 const CCRef* cell) {
    double n = 0, k = 0;
    if (int error = WholeNumber(ctx, args, 0, n, cell)) return error;
    if (int error = WholeNumber(ctx, args, 1, k, cell)) return error;
    if (k < 0 || k > n) return SetFinite(result, 0);
    double product = 1;
    // Every factor is at least 1 and all but the last at least 2: the product overflows
    // within about a thousand steps if it is going to.
    for (double i = 0; i < k && std::isfinite(product); ++i)
        product *= n - i;
    return SetFinite(result, product);
}

// ZTEST(array, x, [sigma]): 1 - Phi((mean - x) / (sigma / sqrt(n))), sigma being the sample
// standard deviation when omitted. Too few numbers or no deviation divide by zero; a
// negative sigma is error 3.
int ZTest(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args, const CCRef* cell) {
    Moments m;
    if (int error = CollectMoments(ctx, args, cell, 0, 1, m)) return error;
    double x = 0;
    if (int error = Number(ctx, args, 1, x, cell)) return error;
    double sigma = 0;
    if (NthArgument(args, 2)) {
        if (int error = Number(ctx, args, 2, sigma, cell)) return error;
        if (sigma < 0) return 3;
    } else {
        if (m.n < 2) return 2;
        sigma = std::sqrt(m.m2 / (m.n - 1));
    }
    if (m.n == 0 || sigma == 0) return 2;
    return SetFinite(result, NormalUpperTail((m.mean - x) / (sigma / std::sqrt(m.n))));
}

}  // namespace stat_functions
