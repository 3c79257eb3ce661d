// SPDX-License-Identifier: Apache-2.0
// Built-in entries by invariant name, listed or not, for tests that check one function.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "ostrel/functions/func.h"

namespace testing_support {

inline CCFunc& Builtin(std::u16string_view name) {
    InitBuiltinFunctions();
    for (unsigned id = 13044; id <= 13305; ++id)
        if (FunctionInvariantName(id) == name) return *GetFunctionById(id);
    ADD_FAILURE() << "no built-in function " << std::string(name.begin(), name.end());
    static CCFunc none;
    return none;
}

}  // namespace testing_support
