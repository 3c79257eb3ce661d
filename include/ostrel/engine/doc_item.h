// SPDX-License-Identifier: Apache-2.0
/// \file
/// A document-level item: the dependents of the formulas that read one document property.
#pragma once

#include "ostrel/cells/item.h"
#include "ostrel/engine/cell_manager.h"
#include "ostrel/export.h"
#include "ostrel/refs/document_ref.h"

class OSTREL_API CCCellManager::CCDocItem : public CCItem {
public:
    CCDocItem() = default;
    explicit CCDocItem(CCDocumentRef::ECDocRefType type) : m_ref(type) {}
    explicit CCDocItem(const CCDocumentRef& ref) : m_ref(ref) {}
    CCDocItem(const CCDocItem&) = default;
    CCDocItem& operator=(const CCDocItem&) = default;

    const CCRef* GetRef() const override { return &m_ref; }
    bool IsEqual(const CCItem* other) const override;
    bool Contain(const CCRef*) const override { return false; }
    /// The document reference's stream form, then the item's.
    void Read(cells::CTX* ctx, ostrel::platform::CArchive& ar) override;
    void Write(cells::CTX* ctx, ostrel::platform::CArchive& ar) override;

private:
    CCDocumentRef m_ref;
};
