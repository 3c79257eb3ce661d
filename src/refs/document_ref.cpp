// SPDX-License-Identifier: Apache-2.0
#include "ostrel/refs/document_ref.h"

#include "ostrel/platform/archive.h"
#include "platform/names.h"

int CCDocumentRef::IsEqual(const CCRef* other) const {
    return other && other->GetType() == REF_TYPE_DOCUMENT &&
           IsEqual(*static_cast<const CCDocumentRef*>(other));
}

void CCDocumentRef::Read(cells::CTX*, CArchive& ar) {
    uint8_t kind;
    ar >> kind;
    m_kind = static_cast<ECDocRefType>(kind);
}

void CCDocumentRef::Write(cells::CTX*, CArchive& ar) const {
    ar << static_cast<uint8_t>(m_kind & 0xFF);
}

int CCDocumentRef::Compare(const CCRef* other) const {
    if (!other) return 1;
    int type = other->GetType();
    if (type < REF_TYPE_RC) return -1;
    if (type == REF_TYPE_RC || type == REF_TYPE_REGION) return 1;
    if (type != REF_TYPE_DOCUMENT) return -1;
    int theirs = static_cast<const CCDocumentRef*>(other)->m_kind;
    return m_kind < theirs ? -1 : m_kind > theirs ? 1 : 0;
}
