// The framework's string as the engine uses it: a UTF-16 value string.
#pragma once

#include <string>

using CString = std::u16string;
