// SPDX-License-Identifier: Apache-2.0
/// \file
/// The engine's string table: an English text of ours for every resource number the engine
/// shows, scans or prints (messages, boolean words, function names and wizard texts,
/// category names, error texts, default unit texts).
#pragma once

#include <string_view>

#include "ostrel/export.h"

namespace ostrel {

/// The text of a resource number; empty when the table has none.
OSTREL_API std::u16string_view LoadResourceString(unsigned id);

/// The numbers of the function texts: each function's name, then its wizard texts. They live
/// with the functions themselves, which hand the table a way to find them when the registry
/// is built.
inline constexpr unsigned kFirstFunctionText = 13044;
inline constexpr unsigned kLastFunctionText = 13305;
using FunctionTextLookup = std::u16string_view (*)(unsigned id);
OSTREL_API void SetFunctionTextLookup(FunctionTextLookup lookup);

}  // namespace ostrel
