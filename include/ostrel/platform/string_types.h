// SPDX-License-Identifier: Apache-2.0
/// \file
/// The framework's string as the engine uses it: a UTF-16 value string.
#pragma once

#include <string>

namespace ostrel::platform {

using CString = std::u16string;

}  // namespace ostrel::platform
