// SPDX-License-Identifier: Apache-2.0
/// \file
/// An array of untyped pointers. It owns none of them: whoever stores a pointer decides who
/// frees what it points to (the engine's value arrays, for instance, free their elements
/// through their own helpers before emptying the array).
#pragma once

#include "ostrel/export.h"
#include "ostrel/platform/typed_array.h"

extern template class OSTREL_API ostrel::CTypedArray<void*>;

namespace ostrel::platform {

class OSTREL_API CPtrArray : public ostrel::CTypedArray<void*> {};

}  // namespace ostrel::platform
