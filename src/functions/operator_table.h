// SPDX-License-Identifier: Apache-2.0
// Between the operator table and the registry.
#pragma once

#include <vector>

class CCFunc;

// Sets up every operator entry and appends it to listed.
void SetUpOperators(std::vector<CCFunc*>& listed);
