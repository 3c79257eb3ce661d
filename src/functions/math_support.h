// SPDX-License-Identifier: Apache-2.0
// What the mathematical functions share beyond the argument layer: gathering every number
// of a list of arguments.
#pragma once

#include "functions/arguments.h"

class CCDoubleArray;

namespace math_detail {

using ostrel::functions::EvaluateArgument;
using ostrel::functions::NthArgument;
using ostrel::functions::NumberArgument;
using ostrel::functions::SetNumber;
using ostrel::functions::WalkValues;

// Every number of the arguments from the n-th on, in order; texts and empty values are
// skipped. Returns 0, or the error code of the first error value met (1 when an argument
// has nothing to iterate).
int GatherNumbers(cells::CTX* ctx, const CCFormulaList* args, int first, CCDoubleArray& out,
                  const CCRef* cell);

}  // namespace math_detail
