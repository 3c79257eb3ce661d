// SPDX-License-Identifier: Apache-2.0
/// \file
/// A document-level item of the manager, such as a document property that formulas read.
#pragma once

#include "ostrel/export.h"
#include "ostrel/refs/ref.h"

class OSTREL_API CCDocumentRef : public CCRef {
public:
    /// Which document item: the document functions' properties; -1 is none.
    enum ECDocRefType : int {
        DOC_NONE = -1,
        DOC_CREATEDATE = 0,
        DOC_EDITTIME,
        DOC_PRINTDATE,
        DOC_SAVEDATE,
        DOC_AUTHOR,
        DOC_COMMENTS,
        DOC_FILENAME,
        DOC_FILESIZE,
        DOC_KEYWORDS,
        DOC_NUMCHARS,
        DOC_NUMPAGES,
        DOC_NUMWORDS,
        DOC_SUBJECT,
        DOC_TITLE,
        DOC_REVNUM,
        DOC_PAGE,
        DOC_MERGEREC,
        DOC_MERGECOUNT,
        DOC_COLUMN,
        DOC_ROW,
    };

    CCDocumentRef() = default;
    explicit CCDocumentRef(ECDocRefType kind) : m_kind(kind) {}
    CCDocumentRef(const CCDocumentRef&) = default;
    CCDocumentRef& operator=(const CCDocumentRef&) = default;

    void Set(ECDocRefType kind) { m_kind = kind; }
    void Set(const CCDocumentRef& other) { m_kind = other.m_kind; }
    ECDocRefType GetDocRefType() const { return m_kind; }
    int IsEqual(const CCDocumentRef& other) const { return m_kind == other.m_kind; }

    int GetType() const override { return REF_TYPE_DOCUMENT; }
    int IsEqual(const CCRef* other) const override;
    CCRef* Copy() const override { return new CCDocumentRef(*this); }
    /// The kind as one byte; reading zero-extends it, so -1 comes back as 255.
    void Read(cells::CTX* ctx, ostrel::platform::CArchive& ar) override;
    void Write(cells::CTX* ctx, ostrel::platform::CArchive& ar) const override;
    int Compare(const CCRef* other) const override;
    size_t Hash() const override { return size_t(m_kind + 7) * 0x9E3779B97F4A7C15ull; }

private:
    ECDocRefType m_kind = DOC_NONE;
};
