// SPDX-License-Identifier: Apache-2.0
#include "ostrel/platform/variant.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "ostrel/platform/exceptions.h"
#include "platform/names.h"

namespace ostrel::platform {

namespace {

// A BSTR points just past a 32-bit byte count; the units are followed by one zero unit so
// that the string can also be read up to its terminator.
constexpr size_t kPrefix = sizeof(uint32_t);
// The byte count must fit the prefix.
constexpr uint32_t kMaxLength = (UINT32_MAX - kPrefix - sizeof(char16_t)) / sizeof(char16_t);

unsigned char* Block(BSTR text) {
    return reinterpret_cast<unsigned char*>(text) - kPrefix;
}

bool IsKnownType(VARTYPE vt) {
    switch (vt) {
        case VT_EMPTY:
        case VT_NULL:
        case VT_I2:
        case VT_I4:
        case VT_R4:
        case VT_R8:
        case VT_CY:
        case VT_DATE:
        case VT_BSTR:
        case VT_ERROR:
        case VT_BOOL:
        case VT_UI1:
            return true;
        default:
            return false;
    }
}

}  // namespace

BSTR SysAllocStringLen(const char16_t* text, uint32_t length) {
    if (length > kMaxLength) return nullptr;
    size_t bytes = size_t(length) * sizeof(char16_t);
    auto* block = static_cast<unsigned char*>(std::malloc(kPrefix + bytes + sizeof(char16_t)));
    if (!block) return nullptr;
    uint32_t byteCount = static_cast<uint32_t>(bytes);
    std::memcpy(block, &byteCount, kPrefix);
    auto* units = reinterpret_cast<char16_t*>(block + kPrefix);
    if (text)
        std::memcpy(units, text, bytes);
    else
        std::memset(units, 0, bytes);
    units[length] = 0;
    return units;
}

BSTR SysAllocString(const char16_t* text) {
    if (!text) return nullptr;
    size_t length = std::char_traits<char16_t>::length(text);
    if (length > kMaxLength) return nullptr;
    return SysAllocStringLen(text, static_cast<uint32_t>(length));
}

BSTR SysAllocString(std::u16string_view text) {
    if (text.size() > kMaxLength) return nullptr;
    return SysAllocStringLen(text.data(), static_cast<uint32_t>(text.size()));
}

void SysFreeString(BSTR text) {
    if (text) std::free(Block(text));
}

uint32_t SysStringLen(BSTR text) {
    if (!text) return 0;
    uint32_t byteCount;
    std::memcpy(&byteCount, Block(text), kPrefix);
    return byteCount / sizeof(char16_t);
}

void VariantInit(VARIANT* v) {
    if (!v) return;
    v->vt = VT_EMPTY;
    v->dblVal = 0.0;
}

HRESULT VariantClear(VARIANT* v) {
    if (!v) return E_INVALIDARG;
    if (v->vt == VT_BSTR) SysFreeString(v->bstrVal);
    VariantInit(v);
    return S_OK;
}

HRESULT VariantCopy(VARIANT* dest, const VARIANT* src) {
    if (!dest || !src) return E_INVALIDARG;
    if (dest == src) return S_OK;
    VariantClear(dest);
    if (!IsKnownType(src->vt)) return DISP_E_BADVARTYPE;
    if (src->vt == VT_BSTR) {
        BSTR copy = nullptr;
        if (src->bstrVal) {
            copy = SysAllocStringLen(src->bstrVal, SysStringLen(src->bstrVal));
            if (!copy) return E_OUTOFMEMORY;
        }
        dest->bstrVal = copy;
        dest->vt = VT_BSTR;
        return S_OK;
    }
    // Every other type the engine uses is a plain value: the struct copies as it is.
    *dest = *src;
    return S_OK;
}

CVariant::CVariant(double value) {
    vt = VT_R8;
    dblVal = value;
}

CVariant::CVariant(int32_t value) {
    vt = VT_I4;
    lVal = value;
}

CVariant::CVariant(std::u16string_view text) {
    BSTR copy = SysAllocString(text);
    if (!copy) throw CMemoryException();
    vt = VT_BSTR;
    bstrVal = copy;
}

CVariant::CVariant(const CVariant& other) : CVariant(static_cast<const VARIANT&>(other)) {}

CVariant::CVariant(const VARIANT& other) {
    if (VariantCopy(this, &other) == E_OUTOFMEMORY) throw CMemoryException();
}

CVariant::CVariant(CVariant&& other) noexcept {
    static_cast<VARIANT&>(*this) = other;
    VariantInit(&other);
}

CVariant& CVariant::operator=(const CVariant& other) {
    if (this != &other && VariantCopy(this, &other) == E_OUTOFMEMORY) throw CMemoryException();
    return *this;
}

CVariant& CVariant::operator=(CVariant&& other) noexcept {
    if (this != &other) {
        VariantClear(this);
        static_cast<VARIANT&>(*this) = other;
        VariantInit(&other);
    }
    return *this;
}

CVariant::~CVariant() {
    VariantClear(this);
}

std::u16string_view CVariant::Text() const {
    if (vt != VT_BSTR || !bstrVal) return {};
    return std::u16string_view(bstrVal, SysStringLen(bstrVal));
}

}  // namespace ostrel::platform
