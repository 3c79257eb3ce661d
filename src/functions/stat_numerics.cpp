// SPDX-License-Identifier: Apache-2.0
// Binomial and Poisson terms follow the saddle-point form: a term is exp(-(Stirling errors)
// - (deviances)) / sqrt(2 pi ...), where the Stirling error of n is ln n! less its Stirling
// approximation and the deviance of x from a mean m is x ln(x / m) + m - x, both computed
// without cancellation. The terms then keep about fourteen digits however large n is, where
// products of factorials overflow and differences of log-factorials lose a digit for every
// power of ten of n.
#include "functions/stat_numerics.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace stat_numerics {

namespace {

constexpr double kTwoPi = 6.283185307179586;
// ln sqrt(2 pi)
constexpr double kLnSqrtTwoPi = 0.9189385332046728;

// ln Gamma(n + 1) - ((n + 0.5) ln n - n + ln sqrt(2 pi)), for n > 0. Beyond 15 its asymptotic
// series (error below 1e-16 there); below, the difference itself, whose terms are still small
// enough that it loses nothing that matters.
double StirlingError(double n) {
    if (n > 15) {
        const double nn = n * n;
        constexpr double s0 = 1.0 / 12, s1 = 1.0 / 360, s2 = 1.0 / 1260, s3 = 1.0 / 1680,
                         s4 = 1.0 / 1188;
        return (s0 - (s1 - (s2 - (s3 - s4 / nn) / nn) / nn) / nn) / n;
    }
    return LogGamma(n + 1) - (n + 0.5) * std::log(n) + n - kLnSqrtTwoPi;
}

// x ln(x / m) + m - x for x >= 0, m > 0; near x = m as the series in v = (x - m) / (x + m),
// whose terms fall by v^2 each.
double Deviance(double x, double m) {
    if (x == 0) return m;
    if (std::fabs(x - m) < 0.1 * (x + m)) {
        const double v = (x - m) / (x + m);
        double s = (x - m) * v;
        double e = 2 * x * v;
        const double v2 = v * v;
        for (int j = 1; j < 1000; ++j) {
            e *= v2;
            const double next = s + e / (2 * j + 1);
            if (next == s) return s;
            s = next;
        }
        return s;
    }
    return x * std::log(x / m) + m - x;
}

// Whether a sum is complete: the last term no longer changes it.
bool Negligible(double term, double sum) {
    return term <= sum * 1e-17;
}

}  // namespace

double LanczosLogGamma(double x) {
    static constexpr double kCoefficients[] = {76.18009172947146,    -86.50532032941677,
                                               24.01409824083091,    -1.231739572450155,
                                               0.001208650973866179, -5.395239384953e-06};
    const double t = x + 5.5;
    double series = 1.000000000190015;
    double y = x;
    for (double c : kCoefficients)
        series += c / ++y;
    return std::log(2.5066282746310007 * series / x) - (t - (x + 0.5) * std::log(t));
}

double LogGamma(double x) {
    int sign = 0;  // the reentrant form: the plain one writes a process-wide sign
    return lgamma_r(x, &sign);
}

double Combinations(double n, double k) {
    if (k < 0 || k > n) return 0;
    k = std::min(k, n - k);
    double c = 1;
    // Each product c * (n - k + i) is divisible by i; the loop ends within about a thousand
    // steps once the product is infinite, since c at least doubles every step after the first.
    for (double i = 1; i <= k && std::isfinite(c); ++i)
        c = c * (n - k + i) / i;
    return c;
}

double BinomialTerm(double k, double n, double p, double q) {
    if (p == 0) return k == 0 ? 1 : 0;
    if (q == 0) return k == n ? 1 : 0;
    if (k == 0) return std::exp(n * (p < 0.5 ? std::log1p(-p) : std::log(q)));
    if (k == n) return std::exp(n * (q < 0.5 ? std::log1p(-q) : std::log(p)));
    const double exponent = StirlingError(n) - StirlingError(k) - StirlingError(n - k) -
                            Deviance(k, n * p) - Deviance(n - k, n * q);
    // 2 pi k (n - k) / n, in logarithms so that it cannot overflow.
    const double lnScale = std::log(kTwoPi) + std::log(k) + std::log1p(-k / n);
    return std::exp(exponent - 0.5 * lnScale);
}

double PoissonTerm(double k, double lambda) {
    if (lambda == 0) return k == 0 ? 1 : 0;
    if (k < 0 || !std::isfinite(lambda)) return 0;
    if (k == 0) return std::exp(-lambda);
    return std::exp(-StirlingError(k) - Deviance(k, lambda)) / std::sqrt(kTwoPi * k);
}

// Either tail is summed from the term at k outwards, where the terms only fall: below the
// mean towards 0, above it towards n (and then complemented). Summing from the far end would
// add terms too small to count for most of the way.
bool BinomialCumulative(double k, double n, double p, double q, double& out) {
    if (k < 0) {
        out = 0;
        return true;
    }
    if (k >= n || p == 0) {
        out = 1;
        return true;
    }
    if (q == 0) {
        out = 0;  // every trial succeeds and k < n
        return true;
    }
    double term = BinomialTerm(k, n, p, q);
    double steps = 0;
    if (k < n * p) {
        double sum = term;
        for (double i = k; i > 0 && !Negligible(term, sum); --i) {
            if (++steps > kMostTerms) return false;
            term *= i * q / ((n - i + 1) * p);
            sum += term;
        }
        out = sum;
        return true;
    }
    double upper = 0;
    for (double i = k; i < n; ++i) {
        if (++steps > kMostTerms) return false;
        term *= (n - i) * p / ((i + 1) * q);
        upper += term;
        if (Negligible(term, upper)) break;
    }
    out = std::max(0.0, 1 - upper);
    return true;
}

bool PoissonCumulative(double k, double lambda, double& out) {
    if (k < 0) {
        out = 0;
        return true;
    }
    double term = PoissonTerm(k, lambda);
    double steps = 0;
    if (k < lambda) {
        double sum = term;
        for (double i = k; i > 0 && !Negligible(term, sum); --i) {
            if (++steps > kMostTerms) return false;
            term *= i / lambda;
            sum += term;
        }
        out = sum;
        return true;
    }
    double upper = 0;
    for (double i = k + 1;; ++i) {
        if (++steps > kMostTerms) return false;
        term *= lambda / i;
        upper += term;
        if (Negligible(term, upper)) break;
    }
    out = std::max(0.0, 1 - upper);
    return true;
}

bool RegularizedGamma(double a, double x, double& out) {
    if (x <= 0) {
        out = 0;
        return true;
    }
    if (std::isinf(x)) {
        out = 1;
        return true;
    }
    if (x < a + 1) {
        // P(a, x) = x^a e^-x / Gamma(a + 1) * (1 + x / (a + 1) + x^2 / ((a + 1)(a + 2)) + ...).
        double sum = 1;
        double term = 1;
        for (double i = 1; !Negligible(term, sum); ++i) {
            if (i > kMostTerms) return false;
            term *= x / (a + i);
            sum += term;
        }
        out = std::min(1.0, PoissonTerm(a, x) * sum);
        return true;
    }
    // Q(a, x) = x^a e^-x / Gamma(a) * 1 / (x + 1 - a - 1 (1 - a) / (x + 3 - a - ...)),
    // evaluated from the front by the modified Lentz method.
    constexpr double kTiny = 1e-300;
    double b = x + 1 - a;
    double c = 1 / kTiny;
    double d = 1 / b;
    double h = d;
    for (double i = 1;; ++i) {
        if (i > kMostTerms) return false;
        const double an = -i * (i - a);
        b += 2;
        d = an * d + b;
        if (std::fabs(d) < kTiny) d = kTiny;
        c = b + an / c;
        if (std::fabs(c) < kTiny) c = kTiny;
        d = 1 / d;
        const double delta = d * c;
        h *= delta;
        if (std::fabs(delta - 1) <= DBL_EPSILON) break;
    }
    out = std::max(0.0, 1 - a * PoissonTerm(a, x) * h);
    return true;
}

}  // namespace stat_numerics
