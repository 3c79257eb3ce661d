// SPDX-License-Identifier: Apache-2.0
#include "sheet_interface.h"

namespace ostrel {

// Defined apart from the factory so that replacing the factory's file keeps it.
CalcSheet::~CalcSheet() = default;
CalcBook::~CalcBook() = default;

}  // namespace ostrel
