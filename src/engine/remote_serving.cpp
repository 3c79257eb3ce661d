// SPDX-License-Identifier: Apache-2.0
// This document's side of the remote protocol: requests it sends with references of its
// own, and the requests it serves for other documents.
#include <algorithm>
#include <memory>

#include "ostrel/cells/cell_value.h"
#include "ostrel/cells/item.h"
#include "ostrel/engine/cell_manager.h"
#include "ostrel/engine/sheet.h"
#include "ostrel/engine/workbook.h"
#include "ostrel/platform/wide_stream.h"
#include "ostrel/refs/ref.h"
#include "ostrel/refs/remote_ref.h"
#include "platform/names.h"

CCRemoteRef* CCCellManager::TranslateToRemoteRef(const CCRef* ref) {
    if (!ref) return nullptr;
    std::u16string document;
    GetDocumentName(document);
    CWideOutStream item;
    ref->Print(GetCTX(), item, 0);
    return new CCRemoteRef(document, item.str());
}

int CCCellManager::SendWithLocal(
    const CCRemoteRef* ref, const CCRef* first, const CCRef* second, int onNoTranslation,
    SheetItemUpdate update,
    const std::function<int(const CCRemoteRef*, const CCRemoteRef*)>& send) {
    if (!ref) return onNoTranslation;
    // A sheet of this workbook takes a sheet-qualified reference, another document one
    // naming this document.
    bool sheet = IsValidSheetName(ref->GetDocument()) != 0;
    auto translate = [&](const CCRef* local) -> std::unique_ptr<CCRemoteRef> {
        if (!local) return nullptr;
        return std::unique_ptr<CCRemoteRef>(sheet ? TranslateToSheetRef(local)
                                                  : TranslateToRemoteRef(local));
    };
    std::unique_ptr<CCRemoteRef> a = translate(first);
    if (!a) return onNoTranslation;
    std::unique_ptr<CCRemoteRef> b = translate(second);
    if (second && !b) return onNoTranslation;
    // The named sheet's item learns at once which formulas name the sheet, so that they
    // follow when it is renamed.
    CCWorkbook* book = sheet ? GetWorkbook() : nullptr;
    if (CCSheet* named = book ? book->GetSheet(ref->GetDocument()) : nullptr) {
        cells::CTX* ctx = named->GetCTX();
        switch (update) {
            case SheetItemUpdate::add:
                named->CCItem::RegisterDependent(ctx, a.get());
                break;
            case SheetItemUpdate::remove:
                named->CCItem::UnRegisterDependent(ctx, a.get());
                break;
            case SheetItemUpdate::move:
                named->CCItem::UnRegisterDependent(ctx, a.get());
                if (b) named->CCItem::RegisterDependent(ctx, b.get());
                break;
            case SheetItemUpdate::none:
                break;
        }
    }
    return send(a.get(), b.get());
}

int CCCellManager::DoRemoteRegisterDependent(const CCRemoteRef* ref, const CCRef* local) {
    return SendWithLocal(ref, local, nullptr, 1, SheetItemUpdate::add,
                         [&](const CCRemoteRef* a, const CCRemoteRef*) {
                             return DoRemoteRegisterDependent(ref, a);
                         });
}

int CCCellManager::DoRemoteUnRegisterDependent(const CCRemoteRef* ref, const CCRef* local) {
    return SendWithLocal(ref, local, nullptr, 0, SheetItemUpdate::remove,
                         [&](const CCRemoteRef* a, const CCRemoteRef*) {
                             return DoRemoteUnRegisterDependent(ref, a);
                         });
}

int CCCellManager::DoRemoteInvalidateRef(const CCRemoteRef* ref, const CCRef* local) {
    return SendWithLocal(
        ref, local, nullptr, 0, SheetItemUpdate::none,
        [&](const CCRemoteRef* a, const CCRemoteRef*) { return DoRemoteInvalidateRef(ref, a); });
}

int CCCellManager::DoRemoteMoveFormula(const CCRemoteRef* ref, const CCRef* from, const CCRef* to) {
    return SendWithLocal(
        ref, from, to, 0, SheetItemUpdate::move,
        [&](const CCRemoteRef* a, const CCRemoteRef* b) { return DoRemoteMoveFormula(ref, a, b); });
}

int CCCellManager::DoRemoteMoveDependent(const CCRemoteRef* ref, const CCRef* from, const CCRef* to,
                                         int flag) {
    if (!to) return 0;
    return SendWithLocal(ref, from, to, 0, SheetItemUpdate::move,
                         [&](const CCRemoteRef* a, const CCRemoteRef* b) {
                             return DoRemoteMoveDependent(ref, a, b, flag);
                         });
}

// Serving: the reference must name this document (or one of its sheets), and must read
// as a reference of it; then the local operation runs on that.
template <class Op>
int CCCellManager::ServeRemote(const CCRemoteRef* ref, int fallback, Op op) {
    if (!ref) return fallback;
    if (!IsValidSheetName(ref->GetDocument()) && !IsValidDocument(ref->GetDocument()))
        return fallback;
    std::unique_ptr<CCRef> internal(TranslateToInternalRef(ref));
    if (!internal) return fallback;
    return op(internal.get());
}

int CCCellManager::OnRemoteIsValidRef(const CCRemoteRef* ref) {
    return ServeRemote(ref, 0, [&](const CCRef* r) { return IsValidRef(r); });
}

int CCCellManager::OnRemoteGetValue(const CCRemoteRef* ref, CCCellValue* value, unsigned long) {
    return ServeRemote(ref, 0, [&](const CCRef* r) { return GetValue(r, value, 0); });
}

int CCCellManager::OnRemoteGetDataSources(const CCRemoteRef* ref, CStringArray* out, int selector) {
    return ServeRemote(ref, 0, [&](const CCRef*) { return GetDataSources(out, selector); });
}

int CCCellManager::OnRemoteGetItems(const CCRemoteRef* ref, CStringArray* out) {
    return ServeRemote(ref, 0, [&](const CCRef* r) { return GetItems(r, out); });
}

uint16_t CCCellManager::OnRemoteOpenRef(const CCRemoteRef* ref) {
    return static_cast<uint16_t>(
        ServeRemote(ref, 0, [&](const CCRef* r) { return int(OpenRef(r)); }));
}

// Open handles belong to this document: the reference only routed the request here.
int CCCellManager::OnRemoteGetFirstRecord(const CCRemoteRef* ref, uint16_t handle,
                                          CPtrArray* record) {
    return ServeRemote(ref, 0, [&](const CCRef*) { return GetFirstRecord(handle, record); });
}

int CCCellManager::OnRemoteGetNextRecord(const CCRemoteRef* ref, uint16_t handle,
                                         CPtrArray* record) {
    return ServeRemote(ref, 0, [&](const CCRef*) { return GetNextRecord(handle, record); });
}

int CCCellManager::OnRemoteGetPreviousRecord(const CCRemoteRef* ref, uint16_t handle,
                                             CPtrArray* record) {
    return ServeRemote(ref, 0, [&](const CCRef*) { return GetPreviousRecord(handle, record); });
}

int CCCellManager::OnRemoteGetLastRecord(const CCRemoteRef* ref, uint16_t handle,
                                         CPtrArray* record) {
    return ServeRemote(ref, 0, [&](const CCRef*) { return GetLastRecord(handle, record); });
}

int CCCellManager::OnRemoteGetRecord(const CCRemoteRef* ref, uint16_t handle, unsigned long n,
                                     CPtrArray* record) {
    return ServeRemote(ref, 0, [&](const CCRef*) { return GetRecord(handle, n, record); });
}

int CCCellManager::OnRemoteRefSize(const CCRemoteRef* ref, uint16_t handle, CSize* size) {
    return ServeRemote(ref, 0, [&](const CCRef*) { return RefSize(handle, size); });
}

int CCCellManager::OnRemoteNextValue(const CCRemoteRef* ref, uint16_t handle, CCCellValue* value) {
    return ServeRemote(ref, 0, [&](const CCRef*) { return NextValue(handle, value); });
}

// The reference is checked once for the whole batch. Each value is read where it stays, in
// a batch made large enough for what the reference has left.
int CCCellManager::OnRemoteNextValues(const CCRemoteRef* ref, uint16_t handle, uint32_t most,
                                      std::vector<CCCellValue>& values) {
    values.clear();
    return ServeRemote(ref, 0, [&](const CCRef*) {
        if (const OpenEntry* entry = Entry(handle)) {
            const unsigned long end = entry->width * entry->height;
            values.reserve(std::min<size_t>(most, end - std::min(entry->position, end)));
        }
        while (values.size() < most) {
            if (!NextValue(handle, &values.emplace_back())) {
                values.pop_back();
                break;
            }
        }
        return static_cast<int>(values.size());
    });
}

int CCCellManager::OnRemoteCloseRef(const CCRemoteRef* ref, uint16_t handle) {
    return ServeRemote(ref, 0, [&](const CCRef*) { return CloseRef(handle); });
}

int CCCellManager::OnRemoteRegisterDependent(const CCRemoteRef* ref, const CCRemoteRef* dependent) {
    return ServeRemote(ref, 1, [&](const CCRef* r) { return RegisterDependent(r, dependent); });
}

int CCCellManager::OnRemoteUnRegisterDependent(const CCRemoteRef* ref,
                                               const CCRemoteRef* dependent) {
    return ServeRemote(ref, 0, [&](const CCRef* r) { return UnRegisterDependent(r, dependent); });
}

int CCCellManager::OnRemoteInvalidateRef(const CCRemoteRef* ref, const CCRemoteRef* invalidated) {
    return ServeRemote(ref, 0, [&](const CCRef* r) { return InvalidateRef(r, invalidated); });
}

int CCCellManager::OnRemoteMoveFormula(const CCRemoteRef* ref, const CCRemoteRef* from,
                                       const CCRemoteRef* to) {
    return ServeRemote(ref, 0, [&](const CCRef* r) { return MoveFormula(r, from, to); });
}

int CCCellManager::OnRemoteMoveDependent(const CCRemoteRef* ref, const CCRemoteRef* from,
                                         const CCRemoteRef* to, int flag) {
    return ServeRemote(ref, 0, [&](const CCRef* r) { return MoveDependent(r, from, to, flag); });
}

int CCCellManager::OnRemoteIsSingleValue(const CCRemoteRef* ref) {
    return ServeRemote(ref, 0, [&](const CCRef* r) { return IsSingleValue(r); });
}

int CCCellManager::OnRemoteInitRecalc(const CCRemoteRef* ref, int self) {
    return ServeRemote(ref, 1, [&](const CCRef* r) {
        CCItem* item = LookupItem(r);
        if (!item) return 1;
        if (self) {
            InitIdleRecalc(item, 1);
            return 1;
        }
        return InitFormulaRecalc(item);
    });
}

int CCCellManager::OnRemoteSetSourceValue(const CCRemoteRef* ref, const CCCellValue* value) {
    return ServeRemote(ref, 0, [&](const CCRef* r) { return SetSourceValue(r, value); });
}

int CCCellManager::OnRemoteSetValueInCompound(const CCRemoteRef* ref, const char16_t* text,
                                              unsigned long arg, const CCCellValue* value) {
    return ServeRemote(ref, 0, [&](const CCRef*) { return SetValueInCompound(text, arg, value); });
}
