// SPDX-License-Identifier: Apache-2.0
/// \file
/// An array of strings with the framework's serialised form: the element count in the count
/// form, then every element in the framework string form.
#pragma once

#include "ostrel/export.h"
#include "ostrel/platform/archive.h"
#include "ostrel/platform/string_types.h"
#include "ostrel/platform/typed_array.h"

extern template class OSTREL_API ostrel::CTypedArray<std::u16string>;

namespace ostrel::platform {

class OSTREL_API CStringArray : public ostrel::CTypedArray<CString> {
public:
    /// Storing writes the count and the elements. Loading replaces the contents; a count
    /// larger than the bytes left in the archive raises CArchiveException(badFormat) before
    /// anything is allocated. When loading fails for any reason the array is left empty.
    void Serialize(CArchive& ar);
};

}  // namespace ostrel::platform
