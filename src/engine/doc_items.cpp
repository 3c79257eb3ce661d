// SPDX-License-Identifier: Apache-2.0
// Document items: one item per document property that formulas read, so that a change of
// the property recalculates exactly those formulas.
#include "ostrel/cells/item.h"
#include "ostrel/engine/cell_manager.h"
#include "ostrel/engine/doc_item.h"
#include "ostrel/platform/archive.h"
#include "platform/names.h"

bool CCCellManager::CCDocItem::IsEqual(const CCItem* other) const {
    return other && other->GetRef() && m_ref.IsEqual(other->GetRef());
}

void CCCellManager::CCDocItem::Read(cells::CTX* ctx, CArchive& ar) {
    m_ref.Read(ctx, ar);
    CCItem::Read(ctx, ar);
}

void CCCellManager::CCDocItem::Write(cells::CTX* ctx, CArchive& ar) {
    m_ref.Write(ctx, ar);
    CCItem::Write(ctx, ar);
}

int CCCellManager::RegisterDocumentDependent(const CCDocumentRef* ref, const CCRef* dependent) {
    if (!ref) return 0;
    CCItem* item = ItemListFind(m_docItems, ref);
    if (!item) {
        item = new CCDocItem(*ref);
        ItemListAdd(m_docItems, item);
    }
    return item->RegisterDependent(GetCTX(), dependent);
}

int CCCellManager::UnRegisterDocumentDependent(const CCDocumentRef* ref, const CCRef* dependent) {
    if (!ref) return 1;
    if (CCItem* item = ItemListFind(m_docItems, ref)) {
        item->UnRegisterDependent(GetCTX(), dependent);
        if (item->IsEmpty()) ItemListRemove(m_docItems, ref);
    }
    return 1;
}

int CCCellManager::MoveDocumentFormula(const CCDocumentRef* ref, const CCRef* from,
                                       const CCRef* to) {
    if (CCItem* item = ref ? ItemListFind(m_docItems, ref) : nullptr)
        item->UpdateDependent(GetCTX(), from, to);
    return 0;
}

CCCellManager::CCDocItem* CCCellManager::GetDocumentItem(CCDocumentRef::ECDocRefType type) {
    CCDocumentRef ref(type);
    return static_cast<CCDocItem*>(ItemListFind(m_docItems, &ref));
}

void CCCellManager::RecalcDocumentItems(CCDocumentRef::ECDocRefType type) {
    if (CCDocItem* item = GetDocumentItem(type)) InitIdleRecalc(item, 0);
}
