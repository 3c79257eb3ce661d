// SPDX-License-Identifier: Apache-2.0
/// \file
/// An item of another document (or, with a document name beginning with "?", of another
/// sheet of the same workbook), reached through the transport interface.
#pragma once

#include "ostrel/export.h"
#include "ostrel/platform/string_types.h"
#include "ostrel/refs/ref.h"

class OSTREL_API CCRemoteRef : public CCRef {
public:
    CCRemoteRef() = default;
    CCRemoteRef(std::u16string_view document, std::u16string_view item)
        : m_document(document), m_item(item) {}
    CCRemoteRef(const CCRemoteRef&) = default;
    CCRemoteRef& operator=(const CCRemoteRef&) = default;

    void Set(const CCRemoteRef& other) { *this = other; }
    void Clear() { m_document.clear(), m_item.clear(); }
    const ostrel::platform::CString& GetDocument() const { return m_document; }
    const ostrel::platform::CString& GetItem() const { return m_item; }
    void SetDocument(std::u16string_view document) { m_document = document; }
    void SetItem(std::u16string_view item) { m_item = item; }
    /// A sheet of the same workbook: the document name begins with "?".
    bool IsSheetLink() const { return !m_document.empty() && m_document[0] == u'?'; }
    /// The sheet a document name designates: the name without the "?" of a sheet link.
    static std::u16string_view SheetName(std::u16string_view document) {
        if (!document.empty() && document.front() == u'?') document.remove_prefix(1);
        return document;
    }
    /// Both strings equal, case-sensitive.
    int IsEqual(const CCRemoteRef& other) const;

    int GetType() const override { return REF_TYPE_REMOTE; }
    /// Both strings equal ignoring case.
    int IsEqual(const CCRef* other) const override;
    void Print(cells::CTX* ctx, ostrel::platform::CWideOutStream& out,
               unsigned char flags) const override;
    CCRef* Copy() const override { return new CCRemoteRef(*this); }
    void Update(cells::CTX* ctx, const CCRef* from, const CCRef* to, unsigned char& flags) override;
    void UpdateInPaste(cells::CTX* ctx, const CCClipboardData* data) override;
    int IsInside(const CCRef* other) const override { return CCRef::IsInside(other); }
    int IsInside(const ostrel::platform::CRect&) const override { return 0; }
    int IsValid(cells::CTX* ctx) const override;
    int GetValue(cells::CTX* ctx, CCCellValue* value) const override;
    uint16_t OpenRef(cells::CTX* ctx) const override;
    int RefSize(cells::CTX* ctx, uint16_t handle, ostrel::platform::CSize* size) const override;
    int NextValue(cells::CTX* ctx, uint16_t& handle, CCCellValue* value) const override;
    int CloseRef(cells::CTX* ctx, uint16_t handle) const override;
    int RegisterDependent(cells::CTX* ctx, const CCRef* dependent) const override;
    int UnRegisterDependent(cells::CTX* ctx, const CCRef* dependent) const override;
    int InvalidateRef(cells::CTX* ctx, const CCRef* invalidated) const override;
    int MoveFormula(cells::CTX* ctx, const CCRef* from, const CCRef* to) const override;
    int MoveDependent(cells::CTX* ctx, const CCRef* from, const CCRef* to, int flag) const override;
    int IsSingleValue(cells::CTX* ctx) const override;
    /// The document, then the item, each as a framework string.
    void Read(cells::CTX* ctx, ostrel::platform::CArchive& ar) override;
    void Write(cells::CTX* ctx, ostrel::platform::CArchive& ar) const override;
    int Compare(const CCRef*) const override { return -1; }

private:
    ostrel::platform::CString m_document;
    ostrel::platform::CString m_item;
};
