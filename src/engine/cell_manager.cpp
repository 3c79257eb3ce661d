// SPDX-License-Identifier: Apache-2.0
#include "ostrel/engine/cell_manager.h"

#include "engine/manager_registry.h"
#include "engine/protection_dialog.h"
#include "ostrel/cells/cell.h"
#include "ostrel/cells/item.h"
#include "ostrel/engine/doc_item.h"
#include "ostrel/platform/archive.h"
#include "ostrel/platform/resources.h"
#include "ostrel/platform/ui.h"
#include "ostrel/refs/rc_ref.h"
#include "ostrel/refs/ref.h"
#include "ostrel/refs/ref_list.h"
#include "ostrel/refs/remote_ref.h"
#include "platform/names.h"

CCCellManager::CCCellManager() : m_identity(ostrel::engine::RegisterManager(this)) {}

CCCellManager::~CCCellManager() {
    ReleaseContents();
    ostrel::engine::UnregisterManager(m_identity);
}

CCCellManager* CCCellManager::FromIdentity(uint32_t identity) {
    return ostrel::engine::FindManager(identity);
}

void CCCellManager::ReleaseContents() {
    m_recalcList.Empty();
    m_processList.Empty();
    m_volatile.Empty();
    m_volatileQueued = false;
    m_openRefs.clear();
    m_freeOpenSlots.clear();
    ItemListFree(m_docItems, 1);
    m_docItems = nullptr;
    m_derived.reset();
    m_valueChanges.reset();
}

ostrel::engine::ValueChanges& CCCellManager::TrackValueChanges() {
    if (!m_valueChanges) m_valueChanges = std::make_unique<ostrel::engine::ValueChanges>();
    return *m_valueChanges;
}

void CCCellManager::NoteValueStored(const CCRef* ref) {
    if (!m_valueChanges) return;
    if (ref && ref->GetType() == REF_TYPE_RC) {
        const auto* cell = static_cast<const CCRCRef*>(ref);
        m_valueChanges->Note(cell->GetColumn(), cell->GetRow());
    } else {
        m_valueChanges->NoteAll();
    }
}

void CCCellManager::SetDerivedValues(std::unique_ptr<ostrel::engine::DerivedValues> derived) {
    m_derived = std::move(derived);
}

void CCCellManager::Revert() {
    ReleaseContents();
    m_protected = 0;
    m_password.clear();
    m_recalcRemote = RECALC_REMOTE_NOT_ASKED;
    m_circRoot = nullptr;
    m_allRecalcCount = 0;
}

void CCCellManager::ErrorMessage(unsigned int id) {
    if (!GetNotifyEnable()) return;
    ostrel::GetUserInterface().ShowMessage(id, ostrel::LoadResourceString(id),
                                           ostrel::MessageIcon::error);
}

int CCCellManager::GetRecalcRemote(int ask) {
    if (ask && GetAutoCalc() && m_recalcRemote == RECALC_REMOTE_NOT_ASKED) {
        bool yes = ostrel::GetUserInterface().AskYesNo(13039, ostrel::LoadResourceString(13039));
        m_recalcRemote = yes ? RECALC_REMOTE_YES : RECALC_REMOTE_NO;
    }
    return m_recalcRemote == RECALC_REMOTE_YES;
}

void CCCellManager::GetRefSize(const CCRef*, long& width, long& height) {
    width = 1;
    height = 1;
}

void CCCellManager::Protect(std::u16string_view password) {
    m_protected = 1;
    m_password = password;
}

void CCCellManager::UnProtect() {
    m_protected = 0;
    m_password.clear();
}

bool CCCellManager::IsProtLock(CCCell* cell, bool show) const {
    if (!cell || !m_protected) return false;
    if (!cell->IsLocked(GetCTX())) return false;
    if (show) const_cast<CCCellManager*>(this)->ErrorMessage(13036);
    return true;
}

void CCCellManager::DoProtectionDialog() {
    ostrel::engine::RunProtectionDialog(*this, m_protected != 0, m_password);
}

int CCCellManager::IsValidSheetName(std::u16string_view name) {
    (void)name;
    return 0;
}

CCRemoteRef* CCCellManager::TranslateToSheetRef(const CCRef*) {
    return nullptr;
}

void CCCellManager::Write(CArchive& ar) const {
    ar << int32_t(m_protected);
    ar.WriteCString(m_password);
    cells::CTX* ctx = GetCTX();
    for (SCItemList* node = m_docItems; node; node = node->m_pNext) {
        auto* item = static_cast<CCDocItem*>(node->m_pItem);
        if (!item) continue;
        ar << uint8_t(1);
        item->Write(ctx, ar);
    }
    ar << uint8_t(0);
}

void CCCellManager::Read(CArchive& ar) {
    int32_t isProtected;
    ar >> isProtected;
    std::u16string password = ar.ReadCString();
    cells::CTX* ctx = GetCTX();
    // Items are read into a list of their own, so that a malformed block leaves the
    // manager's items as they were.
    SCItemList* items = nullptr;
    SCItemList** tail = &items;
    try {
        for (;;) {
            uint8_t present;
            ar >> present;
            if (present == 0) break;
            if (present != 1) throw CArchiveException(CArchiveException::badFormat);
            auto item = std::make_unique<CCDocItem>();
            item->Read(ctx, ar);
            ItemListAdd(*tail, item.release());
            tail = &(*tail)->m_pNext;
        }
    } catch (...) {
        ItemListFree(items, 1);
        throw;
    }
    m_protected = isProtected ? 1 : 0;
    m_password = std::move(password);
    ItemListFree(m_docItems, 1);
    m_docItems = items;
}
