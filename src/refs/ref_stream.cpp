// SPDX-License-Identifier: Apache-2.0
#include <memory>

#include "ostrel/platform/archive.h"
#include "ostrel/refs/document_ref.h"
#include "ostrel/refs/name_ref.h"
#include "ostrel/refs/rc_ref.h"
#include "ostrel/refs/ref_3d.h"
#include "ostrel/refs/ref_list.h"
#include "ostrel/refs/region_ref.h"
#include "ostrel/refs/remote_ref.h"
#include "platform/names.h"

namespace {

CCRef* Create(uint8_t type) {
    switch (type) {
        case REF_TYPE_RC:
            return new CCRCRef();
        case REF_TYPE_REGION:
            return new CCRegionRef();
        case REF_TYPE_NAME:
            return new CCNameRef();
        case REF_TYPE_REMOTE:
            return new CCRemoteRef();
        case REF_TYPE_DOCUMENT:
            return new CCDocumentRef();
        case REF_TYPE_3D:
            return new CCRef3D();
        default:
            return nullptr;
    }
}

CCRef* ReadTyped(cells::CTX* ctx, CArchive& ar, bool allow3D) {
    uint8_t type;
    ar >> type;
    // A sheet-qualified reference inside another would let crafted bytes recurse without
    // end; the engine never writes one.
    if (type == REF_TYPE_3D && !allow3D) throw CArchiveException(CArchiveException::badFormat);
    std::unique_ptr<CCRef> ref(Create(type));
    if (ref) ref->Read(ctx, ar);
    return ref.release();
}

}  // namespace

// The inner reference of a sheet-qualified reference.
CCRef* ReadInnerRef(cells::CTX* ctx, CArchive& ar) {
    return ReadTyped(ctx, ar, false);
}

void WriteRef(cells::CTX* ctx, CArchive& ar, const CCRef* ref) {
    int type = ref ? ref->GetType() : 0;
    if (type < REF_TYPE_RC || type > REF_TYPE_3D) {
        ar << uint8_t(0);
        return;
    }
    ar << uint8_t(type);
    ref->Write(ctx, ar);
}

CCRef* ReadRef(cells::CTX* ctx, CArchive& ar) {
    return ReadTyped(ctx, ar, true);
}

void RefListWrite(cells::CTX* ctx, const CCRefList* list, CArchive& ar) {
    for (; list; list = list->m_pNext) {
        int type = list->m_pRef ? list->m_pRef->GetType() : 0;
        if (type < REF_TYPE_RC || type > REF_TYPE_3D) continue;
        ar << uint8_t(type);
        list->m_pRef->Write(ctx, ar);
    }
    ar << uint8_t(0);
}

CCRefList* RefListRead(cells::CTX* ctx, CArchive& ar) {
    CCRefList* head = nullptr;
    CCRefList** tail = &head;
    try {
        while (CCRef* ref = ReadRef(ctx, ar)) {
            *tail = new CCRefList(ref, nullptr, true);
            tail = &(*tail)->m_pNext;
        }
    } catch (...) {
        RefListFree(head, 1);
        throw;
    }
    return head;
}
