// SPDX-License-Identifier: Apache-2.0
#include "ostrel/refs/ref.h"

#include "ostrel/engine/cell_manager.h"
#include "platform/names.h"

void CCRef::Print(cells::CTX*, CWideOutStream&, unsigned char) const {}
void CCRef::Update(cells::CTX*, const CCRef*, const CCRef*, unsigned char&) {}
void CCRef::UpdateInPaste(cells::CTX*, const CCClipboardData*) {}
int CCRef::IsInside(const CCRef*) const {
    return 0;
}
int CCRef::IsInside(const CRect&) const {
    return 0;
}
void CCRef::Move(long, long) {}
int CCRef::Contain(const CCRef*) const {
    return 0;
}
int CCRef::IsSingleValue(cells::CTX*) const {
    return 1;
}

// A context without a manager has nobody to resolve the reference: every operation then
// reports "not done", as a missing cell does.
int CCRef::IsValid(cells::CTX* ctx) const {
    CCCellManager* m = cells::ManagerOf(ctx);
    return m ? m->IsValidRef(this) : 0;
}

int CCRef::GetValue(cells::CTX* ctx, CCCellValue* value) const {
    CCCellManager* m = cells::ManagerOf(ctx);
    return m ? m->GetValue(this, value, 0) : 0;
}

uint16_t CCRef::OpenRef(cells::CTX* ctx) const {
    CCCellManager* m = cells::ManagerOf(ctx);
    return m ? m->OpenRef(this) : 0;
}

int CCRef::RefSize(cells::CTX* ctx, uint16_t handle, CSize* size) const {
    CCCellManager* m = cells::ManagerOf(ctx);
    return m ? m->RefSize(handle, size) : 0;
}

int CCRef::NextValue(cells::CTX* ctx, uint16_t& handle, CCCellValue* value) const {
    CCCellManager* m = cells::ManagerOf(ctx);
    return m ? m->NextValue(handle, value) : 0;
}

int CCRef::CloseRef(cells::CTX* ctx, uint16_t handle) const {
    CCCellManager* m = cells::ManagerOf(ctx);
    return m ? m->CloseRef(handle) : 0;
}

int CCRef::RegisterDependent(cells::CTX* ctx, const CCRef* dependent) const {
    CCCellManager* m = cells::ManagerOf(ctx);
    return m ? m->RegisterDependent(this, dependent) : 0;
}

int CCRef::UnRegisterDependent(cells::CTX* ctx, const CCRef* dependent) const {
    CCCellManager* m = cells::ManagerOf(ctx);
    return m ? m->UnRegisterDependent(this, dependent) : 0;
}

int CCRef::InvalidateRef(cells::CTX* ctx, const CCRef* invalidated) const {
    CCCellManager* m = cells::ManagerOf(ctx);
    return m ? m->InvalidateRef(this, invalidated) : 0;
}

int CCRef::MoveFormula(cells::CTX* ctx, const CCRef* from, const CCRef* to) const {
    CCCellManager* m = cells::ManagerOf(ctx);
    return m ? m->MoveFormula(this, from, to) : 0;
}

int CCRef::MoveDependent(cells::CTX* ctx, const CCRef* from, const CCRef* to, int flag) const {
    CCCellManager* m = cells::ManagerOf(ctx);
    return m ? m->MoveDependent(this, from, to, flag) : 0;
}
