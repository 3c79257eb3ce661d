// SPDX-License-Identifier: Apache-2.0
/// \file
/// A reference qualified by a sheet or a span of sheets. The sheet key holds either two
/// sheet name indices (first, last; a last of 0 means one sheet), or the identity of a
/// sheet's manager: keys made by the parser and read from streams are indices, keys made
/// from a context are identities (see CCCellManager::GetIdentity).
#pragma once

#include <cstdint>
#include <memory>
#include <new>

#include "ostrel/export.h"
#include "ostrel/refs/ref.h"

class CCCellManager;
class CCRefList;

class OSTREL_API CCRef3D : public CCRef {
public:
    /// From a pool: the references cells keep of their dependents are made by the thousand.
    static void* operator new(size_t size);
    static void operator delete(void* object, size_t size) noexcept;
    static void* operator new(size_t size, const std::nothrow_t&) noexcept;
    static void operator delete(void* object, const std::nothrow_t&) noexcept;

    CCRef3D() = default;
    explicit CCRef3D(uint16_t firstSheet) : CCRef3D(firstSheet, 0) {}
    CCRef3D(uint16_t firstSheet, uint16_t lastSheet);
    /// Takes ownership of inner.
    CCRef3D(uint16_t firstSheet, uint16_t lastSheet, CCRef* inner);
    /// Keyed by the context's manager, with a copy of the other's inner reference.
    CCRef3D(cells::CTX* ctx, const CCRef3D& other);
    /// Keyed by the context's manager, with a copy of ref.
    CCRef3D(cells::CTX* ctx, const CCRef* ref);
    CCRef3D(const CCRef3D& other);
    CCRef3D& operator=(const CCRef3D& other);

    void Set(const CCRef3D& other) { *this = other; }

    uint32_t GetKey() const { return m_key; }
    void SetKey(uint32_t key) { m_key = key; }
    bool IsManagerKey() const { return (m_key & 0xFFFF) >= 256; }
    uint16_t GetFirstSheet() const { return static_cast<uint16_t>(m_key & 0xFFFF); }
    uint16_t GetLastSheet() const { return static_cast<uint16_t>(m_key >> 16); }
    void SetSheets(uint16_t first, uint16_t last) { m_key = first | (uint32_t(last) << 16); }
    bool IsSingleSheet() const {
        return IsManagerKey() || GetLastSheet() == 0 || GetLastSheet() == GetFirstSheet();
    }
    const CCRef* GetInnerRef() const { return m_inner.get(); }
    CCRef* GetInnerRef() { return m_inner.get(); }
    /// Takes ownership of inner.
    void SetInnerRef(CCRef* inner) { m_inner.reset(inner); }

    /// The manager of one sheet of the span, through the context's manager (an identity key
    /// resolves directly); null when the sheet does not exist.
    CCCellManager* GetSheetManager(cells::CTX* ctx, uint16_t sheet) const;
    CCCellManager* GetFirstSheetManager(cells::CTX* ctx) const;

    int GetType() const override { return REF_TYPE_3D; }
    int IsEqual(const CCRef* other) const override;
    CCRef* Copy() const override { return new CCRef3D(*this); }
    void Update(cells::CTX*, const CCRef*, const CCRef*, unsigned char&) override {}
    void UpdateInPaste(cells::CTX* ctx, const CCClipboardData* data) override;
    int IsInside(const CCRef* other) const override;
    int IsInside(const ostrel::platform::CRect& rect) const override;
    int GetValue(cells::CTX* ctx, CCCellValue* value) const override;
    uint16_t OpenRef(cells::CTX* ctx) const override;
    int RefSize(cells::CTX*, uint16_t, ostrel::platform::CSize*) const override { return 0; }
    int NextValue(cells::CTX* ctx, uint16_t& handle, CCCellValue* value) const override;
    int CloseRef(cells::CTX* ctx, uint16_t handle) const override;
    int RegisterDependent(cells::CTX* ctx, const CCRef* dependent) const override;
    int UnRegisterDependent(cells::CTX* ctx, const CCRef* dependent) const override;
    int IsSingleValue(cells::CTX* ctx) const override;
    void Read(cells::CTX* ctx, ostrel::platform::CArchive& ar) override;
    void Write(cells::CTX* ctx, ostrel::platform::CArchive& ar) const override;
    int Compare(const CCRef* other) const override;
    void Move(long columns, long rows) override;
    int Contain(const CCRef* other) const override;
    size_t Hash() const override { return HashOf(m_key, m_inner ? m_inner->Hash() : 0); }
    static size_t HashOf(uint32_t key, size_t innerHash) {
        return innerHash ^ (size_t(key) * 0xC2B2AE3D27D4EB4Full);
    }

    /// One reference per sheet of the span, keyed by the sheet's manager, each with a copy
    /// of the inner reference; a multi-sheet span is listed from the last sheet to the first.
    virtual CCRefList* TranslateToRefList(cells::CTX* ctx) const;

private:
    int ForEachSheet(cells::CTX* ctx, const CCRef* dependent, bool reg) const;

    uint32_t m_key = 0;
    mutable uint16_t m_current = 0;  // the sheet an open iteration is visiting
    std::unique_ptr<CCRef> m_inner;
};
