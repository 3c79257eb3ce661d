// SPDX-License-Identifier: Apache-2.0
/// \file
/// Automation variants as the engine exchanges values with hosts: the VARIANT struct with the
/// type codes the engine reads and writes, length-prefixed BSTR strings and the functions
/// that initialise, clear and copy variants. CVariant is a RAII wrapper for hosts and tests.
#pragma once

#include <cstdint>
#include <string_view>

#include "ostrel/export.h"

namespace ostrel::platform {

using HRESULT = int32_t;
using SCODE = int32_t;
using VARTYPE = uint16_t;
using VARIANT_BOOL = int16_t;
using DATE = double;  // days since 1899-12-30; the time of day is the fraction
using BSTR = char16_t*;

constexpr HRESULT S_OK = 0;
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT DISP_E_BADVARTYPE = static_cast<HRESULT>(0x80020008u);

constexpr bool SUCCEEDED(HRESULT hr) {
    return hr >= 0;
}
constexpr bool FAILED(HRESULT hr) {
    return hr < 0;
}

enum VARENUM : VARTYPE {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R4 = 4,
    VT_R8 = 5,
    VT_CY = 6,
    VT_DATE = 7,
    VT_BSTR = 8,
    VT_ERROR = 10,
    VT_BOOL = 11,
    VT_UI1 = 17,
};

constexpr VARIANT_BOOL VARIANT_TRUE = -1;
constexpr VARIANT_BOOL VARIANT_FALSE = 0;

/// A currency amount in units of 1/10000.
struct OSTREL_API CY {
    int64_t int64;
};

/// The payload member that vt names is the live one. A BSTR payload is owned by the variant:
/// VariantClear frees it. Copying the struct itself copies the pointer, not the string; use
/// VariantCopy for a copy that owns its own string.
struct OSTREL_API VARIANT {
    VARTYPE vt = VT_EMPTY;
    union {
        int16_t iVal;
        int32_t lVal;
        float fltVal;
        double dblVal = 0.0;
        CY cyVal;
        DATE date;
        BSTR bstrVal;
        VARIANT_BOOL boolVal;
        uint8_t bVal;
        SCODE scode;
    };
};

/// BSTR: UTF-16 units preceded by a hidden length and followed by a terminator. The length is
/// what counts: a BSTR may hold embedded zeros. A null BSTR is the empty string.
/// Copies text up to its terminator; null for a null text or when memory runs out.
OSTREL_API BSTR SysAllocString(const char16_t* text);
/// Copies length units of text (zeros included); a null text gives length zero units.
/// Null when memory runs out or length is beyond what a BSTR can hold.
OSTREL_API BSTR SysAllocStringLen(const char16_t* text, uint32_t length);
OSTREL_API BSTR SysAllocString(std::u16string_view text);
/// Frees a BSTR from the functions above; null is allowed.
OSTREL_API void SysFreeString(BSTR text);
/// The number of units, embedded zeros included; 0 for null.
OSTREL_API uint32_t SysStringLen(BSTR text);

/// Sets the type to VT_EMPTY without looking at the previous contents.
OSTREL_API void VariantInit(VARIANT* v);
/// Frees an owned payload and leaves the variant VT_EMPTY. E_INVALIDARG for null.
OSTREL_API HRESULT VariantClear(VARIANT* v);
/// Clears dest, then copies src into it, duplicating a BSTR. A type the engine does not use
/// gives DISP_E_BADVARTYPE and leaves dest VT_EMPTY; copying a variant onto itself does
/// nothing.
OSTREL_API HRESULT VariantCopy(VARIANT* dest, const VARIANT* src);

/// A VARIANT that clears itself when it goes away and copies deeply.
class OSTREL_API CVariant : public VARIANT {
public:
    CVariant() = default;
    explicit CVariant(double value);
    explicit CVariant(int32_t value);
    /// A VT_BSTR variant holding a copy of text.
    explicit CVariant(std::u16string_view text);
    CVariant(const CVariant& other);
    CVariant(const VARIANT& other);
    CVariant(CVariant&& other) noexcept;
    CVariant& operator=(const CVariant& other);
    CVariant& operator=(CVariant&& other) noexcept;
    ~CVariant();

    void Clear() { VariantClear(this); }
    /// The text of a VT_BSTR variant (embedded zeros included); empty for other types.
    std::u16string_view Text() const;
};

}  // namespace ostrel::platform
