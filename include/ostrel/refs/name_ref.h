// SPDX-License-Identifier: Apache-2.0
/// \file
/// A defined name; the manager resolves it to cells.
#pragma once

#include <memory>
#include <string_view>

#include "ostrel/export.h"
#include "ostrel/refs/ref.h"

class OSTREL_API CCNameRef : public CCRef {
public:
    CCNameRef() = default;
    explicit CCNameRef(const char16_t* name);  // null stays null
    CCNameRef(const char16_t* name, size_t length);
    CCNameRef(const CCNameRef& other);
    CCNameRef& operator=(const CCNameRef& other);

    void Set(const CCNameRef& other) { *this = other; }
    /// The name, or null.
    const char16_t* GetName() const { return m_name.get(); }
    void SetName(const char16_t* name);

    int GetType() const override { return REF_TYPE_NAME; }
    /// Equal names under case-insensitive collation; null equals only null.
    int IsEqual(const CCRef* other) const override;
    void Print(cells::CTX* ctx, ostrel::platform::CWideOutStream& out,
               unsigned char flags) const override;
    CCRef* Copy() const override { return new CCNameRef(*this); }
    int IsSingleValue(cells::CTX* ctx) const override;
    void Read(cells::CTX* ctx, ostrel::platform::CArchive& ar) override;
    void Write(cells::CTX* ctx, ostrel::platform::CArchive& ar) const override;
    /// Ordinal on the code units, in the opposite sense to the other references; 1 against
    /// anything but a name, or when either name is null.
    int Compare(const CCRef* other) const override;

private:
    std::unique_ptr<char16_t[]> m_name;
};

OSTREL_API int AreNameEqual(const CCNameRef& a, const CCNameRef& b);
