// SPDX-License-Identifier: Apache-2.0
// Count, mean and the sum of squared deviations of numbers, updated value by value so that
// no sum of squares ever cancels against the square of a sum (Welford's recurrence).
#pragma once

namespace stat_functions {

struct Moments {
    double n = 0;
    double mean = 0;
    double m2 = 0;
    void Add(double x) {
        n += 1;
        const double d = x - mean;
        mean += d / n;
        m2 += d * (x - mean);
    }
};

}  // namespace stat_functions
