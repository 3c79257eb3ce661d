// SPDX-License-Identifier: Apache-2.0
// Operation nodes: an operator or built-in function over an argument list, and the choice,
// remote and document variants.
#include <memory>
#include <mutex>
#include <unordered_map>

#include "ostrel/cells/cell_value.h"
#include "ostrel/engine/cell_manager.h"
#include "ostrel/formula/formula.h"
#include "ostrel/functions/func.h"
#include "ostrel/platform/geometry.h"
#include "ostrel/platform/ui.h"
#include "ostrel/refs/document_ref.h"
#include "ostrel/refs/remote_ref.h"
#include "platform/names.h"

namespace {

// The error value of a function whose routine this build does not have: it shows as
// "#NAME?", the function being unavailable, never as an empty cell that looks computed.
constexpr int kNoEvaluation = 7;

bool Flagged(const CCFunc* func, FunctionFlag flag) {
    return func && func->HasFlag(flag);
}

template <class Pred>
bool AnyArg(const CCFormulaList* args, Pred pred) {
    for (; args; args = args->m_pNext)
        if (args->m_pFormula && pred(args->m_pFormula)) return true;
    return false;
}

// The arguments of a list rebuilt by an update, element by element; on an exception the
// part built so far is freed.
class ListBuilder {
public:
    ~ListBuilder() { FreeFormulaList(m_head, 1); }
    void Add(CCFormula* formula) {
        *m_tail = FormulaListCreate1Item(formula);
        m_tail = &(*m_tail)->m_pNext;
    }
    CCFormulaList* Release() {
        CCFormulaList* head = m_head;
        m_head = nullptr;
        m_tail = &m_head;
        return head;
    }

private:
    CCFormulaList* m_head = nullptr;
    CCFormulaList** m_tail = &m_head;
};

}  // namespace

namespace {

// Stored entries that matched no registry entry, by node (see m_hasStoredName). Formulas may
// be read on several threads, so the table is guarded; nodes without a name never touch it.
struct StoredNames {
    std::mutex lock;
    std::unordered_map<const CCOpFormula*, std::u16string> names;
};

StoredNames& TheStoredNames() {
    static auto* table = new StoredNames;  // never destroyed: nodes may outlive statics
    return *table;
}

}  // namespace

CCOpFormula::~CCOpFormula() {
    FreeFormulaList(m_args, 1);
    if (m_hasStoredName) {
        StoredNames& table = TheStoredNames();
        std::lock_guard<std::mutex> hold(table.lock);
        table.names.erase(this);
    }
}

void CCOpFormula::SetStored(unsigned char kind, std::u16string name) {
    m_storedKind = kind;
    if (name.empty() && !m_hasStoredName) return;
    StoredNames& table = TheStoredNames();
    std::lock_guard<std::mutex> hold(table.lock);
    if (name.empty()) {
        table.names.erase(this);
        m_hasStoredName = false;
    } else {
        table.names[this] = std::move(name);
        m_hasStoredName = true;
    }
}

// A node over the same entry (or the same unknown stored entry) and new arguments, of the
// class the entry's kind selects, with its resolved state empty.
static CCFormula* Rebuild(const CCOpFormula& node, CCFormulaList* args) {
    if (node.GetFunc()) return ConstructOpFormula(node.GetFunc(), args);
    auto* copy = new CCOpFormula(nullptr, args);
    copy->SetStored(node.GetStoredKind(), node.GetStoredName());
    return copy;
}

CCFormula* CCOpFormula::Copy() const {
    auto* copy = new CCOpFormula(m_func, CopyFormulaList(m_args));
    copy->SetStored(m_storedKind, GetStoredName());
    return copy;
}

int CCOpFormula::Check(cells::CTX* ctx, const CCRef* cell) {
    if (m_validated) return 0;
    // An entry that was stored under a name this build does not know cannot be checked or
    // evaluated.
    if (!m_func) return 4;
    for (CCFormulaList* a = m_args; a; a = a->m_pNext)
        if (int code = a->m_pFormula->Check(ctx, cell)) return code;
    if (CheckRoutine check = m_func->GetCheck())
        if (!check(ctx, m_args, cell)) return 4;
    m_validated = 1;
    return 0;
}

void CCOpFormula::Eval(cells::CTX* ctx, CCCellValue& result, const CCRef* cell) {
    if (!m_func) {
        result.Set(4);
        return;
    }
    EvalRoutine eval = m_func->GetEval();
    if (!eval) {
        result.Set(kNoEvaluation);
        ostrel::GetUserInterface().FunctionWithoutEvaluation(m_func->GetName());
        return;
    }
    CCCellManager* manager = ctx ? ctx->GetManager() : nullptr;
    if (!manager) {
        eval(ctx, result, m_args, cell);
        return;
    }
    CManagerSession session(manager, CManagerSession::Ending::numbered);
    eval(ctx, result, m_args, cell);
}

int CCOpFormula::IsEditSourceRef(cells::CTX*, const CCRef*) const {
    return 0;
}
const CCRef* CCOpFormula::GetEditSourceRef(cells::CTX*, const CCRef*) const {
    return nullptr;
}

int CCOpFormula::ContainsLink(cells::CTX* ctx, const CCRef* ref, const CCRef* cell) const {
    return AnyArg(m_args, [&](const CCFormula* f) { return f->ContainsLink(ctx, ref, cell); });
}

int CCOpFormula::ContainsRemoteLinks() const {
    return AnyArg(m_args, [](const CCFormula* f) { return f->ContainsRemoteLinks(); });
}

int CCOpFormula::ContainsSheetLinks() const {
    return AnyArg(m_args, [](const CCFormula* f) { return f->ContainsSheetLinks(); });
}

int CCOpFormula::ContainsTodayLinks() const {
    if (Flagged(m_func, kFlagToday)) return 1;
    return AnyArg(m_args, [](const CCFormula* f) { return f->ContainsTodayLinks(); });
}

int CCOpFormula::AlwaysRecalc() const {
    if (Flagged(m_func, kFlagAlwaysRecalc)) return 1;
    return AnyArg(m_args, [](const CCFormula* f) { return f->AlwaysRecalc(); });
}

int CCOpFormula::IsHyperLink() const {
    return Flagged(m_func, kFlagHyperlink);
}

int CCOpFormula::IsSingleValue(cells::CTX*, const CCRef*) {
    return 1;
}

int CCOpFormula::RegisterDependents(cells::CTX* ctx, const CCRef* dependent) {
    // ROWS and COLUMNS read only the shape of their range, never its values.
    if (Flagged(m_func, kFlagShapeOnly)) return 1;
    int all = 1;
    for (CCFormulaList* a = m_args; a; a = a->m_pNext)
        if (!a->m_pFormula->RegisterDependents(ctx, dependent)) all = 0;
    return all;
}

void CCOpFormula::ListenToSheets(cells::CTX* ctx, const CCRef* cell) {
    if (Flagged(m_func, kFlagShapeOnly)) return;
    for (CCFormulaList* a = m_args; a; a = a->m_pNext)
        a->m_pFormula->ListenToSheets(ctx, cell);
}

int CCOpFormula::UnRegisterDependents(cells::CTX* ctx, const CCRef* dependent) {
    if (Flagged(m_func, kFlagShapeOnly)) return 1;
    int all = 1;
    for (CCFormulaList* a = m_args; a; a = a->m_pNext)
        if (!a->m_pFormula->UnRegisterDependents(ctx, dependent)) all = 0;
    return all;
}

// The replacement of an operation node: a node of the same class over the replacements its
// arguments produce (a copy of an argument that produced none). 1 when any argument changed.
template <class Update>
int CCOpFormula::RebuildArgs(CCFormula*& replacement, Update update) {
    ListBuilder args;
    int changed = 0;
    for (CCFormulaList* a = m_args; a; a = a->m_pNext) {
        CCFormula* r = nullptr;
        if (update(a->m_pFormula, r)) changed = 1;
        args.Add(r ? r : a->m_pFormula->Copy());
    }
    replacement = Rebuild(*this, args.Release());
    return changed;
}

int CCOpFormula::InvalidateRef(cells::CTX* ctx, const CCRef* ref, CCFormula*& replacement,
                               const CCRef* cell) {
    return RebuildArgs(replacement, [&](CCFormula* arg, CCFormula*& r) {
        return arg->InvalidateRef(ctx, ref, r, cell);
    });
}

int CCOpFormula::InvalidateItem(cells::CTX* ctx, const CCItem* item, CCFormula*& replacement,
                                const CCRef* cell) {
    return RebuildArgs(replacement, [&](CCFormula* arg, CCFormula*& r) {
        return arg->InvalidateItem(ctx, item, r, cell);
    });
}

int CCOpFormula::UpdateRef(cells::CTX* ctx, const CCRef* region, const CCRef* cell,
                           const CCRef* oldRef, const CCRef* newRef, int unregister,
                           CCFormula*& replacement) {
    return RebuildArgs(replacement, [&](CCFormula* arg, CCFormula*& r) {
        return arg->UpdateRef(ctx, region, cell, oldRef, newRef, unregister, r);
    });
}

// Moves and pastes work on a copy of the arguments that replaces them only when every
// reference could follow: when one would leave the grid, the formula stays as it was.
template <class Follow>
int CCOpFormula::FollowOnCopy(Follow follow) {
    if (!m_args) return 1;
    std::unique_ptr<CCFormulaList, void (*)(CCFormulaList*)> copy(
        CopyFormulaList(m_args), [](CCFormulaList* list) { FreeFormulaList(list, 1); });
    for (CCFormulaList* a = copy.get(); a; a = a->m_pNext)
        if (!follow(a->m_pFormula)) return 0;
    FreeFormulaList(m_args, 1);
    m_args = copy.release();
    m_validated = 0;
    return 1;
}

int CCOpFormula::MoveFormula(cells::CTX* ctx, const CCRef* from, const CCRef* to) {
    return FollowOnCopy([&](CCFormula* arg) { return arg->MoveFormula(ctx, from, to); });
}

int CCOpFormula::UpdateInPaste(cells::CTX* ctx, const CCRef* from, const CCRef* to,
                               const CCClipboardData* data) {
    return FollowOnCopy([&](CCFormula* arg) { return arg->UpdateInPaste(ctx, from, to, data); });
}

void CCOpFormula::OnSheetRename(const std::u16string& oldName, const std::u16string& newName) {
    for (CCFormulaList* a = m_args; a; a = a->m_pNext)
        a->m_pFormula->OnSheetRename(oldName, newName);
}

void CCOpFormula::UpdateArgsOnSheetRename(cells::CTX* ctx, const CCRemoteRef* oldRef,
                                          const CCRemoteRef* newRef) {
    for (CCFormulaList* a = m_args; a; a = a->m_pNext)
        a->m_pFormula->UpdateArgsOnSheetRename(ctx, oldRef, newRef);
}

uint16_t CCOpFormula::OpenRef(cells::CTX*, const CCRef*) {
    if (m_open) return 0;
    m_open = 1;
    return 1;
}

int CCOpFormula::NextValue(cells::CTX* ctx, uint16_t& handle, CCCellValue& value,
                           const CCRef* cell) {
    if (!handle || !m_open) return 0;
    // The one value: the node stays open while it is computed, and closed after.
    m_open = 0;
    return ValueOnce(ctx, value, cell);
}

int CCOpFormula::ValueOnce(cells::CTX* ctx, CCCellValue& value, const CCRef* cell) {
    if (m_open) return 0;
    m_open = 1;
    Eval(ctx, value, cell);
    DereferenceValue(ctx, value);
    m_open = 0;
    return 1;
}

int CCOpFormula::RefSize(cells::CTX*, uint16_t handle, CSize& size, const CCRef*) {
    if (!handle) return 0;
    size = CSize(1, 1);
    return 1;
}

int CCOpFormula::CloseRef(cells::CTX*, uint16_t, const CCRef*) {
    m_open = 0;
    return 1;
}

// ---- CCChooseOpFormula ----

CCFormula* CCChooseOpFormula::Copy() const {
    return new CCChooseOpFormula(m_func, CopyFormulaList(m_args));
}

int CCChooseOpFormula::IsSingleValue(cells::CTX* ctx, const CCRef* cell) {
    CCFormula* chosen = nullptr;
    if (m_func && GetFuncChoice(ctx, chosen, m_func, m_args, cell) == 0 && chosen)
        return chosen->IsSingleValue(ctx, cell);
    return 1;
}

uint16_t CCChooseOpFormula::OpenRef(cells::CTX* ctx, const CCRef* cell) {
    m_chosen = nullptr;
    CCFormula* chosen = nullptr;
    if (!m_func || GetFuncChoice(ctx, chosen, m_func, m_args, cell) != 0 || !chosen) return 0;
    m_chosen = chosen;
    return m_chosen->OpenRef(ctx, cell);
}

int CCChooseOpFormula::NextValue(cells::CTX* ctx, uint16_t& handle, CCCellValue& value,
                                 const CCRef* cell) {
    return m_chosen ? m_chosen->NextValue(ctx, handle, value, cell) : 0;
}

int CCChooseOpFormula::RefSize(cells::CTX* ctx, uint16_t handle, CSize& size, const CCRef* cell) {
    return m_chosen ? m_chosen->RefSize(ctx, handle, size, cell) : 0;
}

int CCChooseOpFormula::CloseRef(cells::CTX* ctx, uint16_t handle, const CCRef* cell) {
    if (!m_chosen) return 0;
    int r = m_chosen->CloseRef(ctx, handle, cell);
    m_chosen = nullptr;
    return r;
}

// ---- CCRemoteOpFormula ----

bool CCRemoteOpFormula::RefRemoteChanged = false;

// The copy keeps the reference its cell registered with, so that the cell that takes the
// copy in place of this node is not registered again.
CCFormula* CCRemoteOpFormula::Copy() const {
    auto* copy = new CCRemoteOpFormula(m_func, CopyFormulaList(m_args));
    copy->m_remote = m_remote;
    return copy;
}

void CCRemoteOpFormula::Resolve(cells::CTX* ctx, const CCRef* cell) {
    CCRemoteRef resolved;
    if (!m_func || GetFuncRemoteRef(ctx, resolved, m_func, m_args, cell) != 0) resolved.Clear();
    if (resolved.GetDocument() == m_remote.GetDocument() &&
        resolved.GetItem() == m_remote.GetItem())
        return;
    CCCellManager* manager = ctx ? ctx->GetManager() : nullptr;
    if (manager && cell) {
        if (!m_remote.GetDocument().empty()) manager->DoRemoteUnRegisterDependent(&m_remote, cell);
        if (!resolved.GetDocument().empty()) manager->DoRemoteRegisterDependent(&resolved, cell);
    }
    m_remote = resolved;
    RefRemoteChanged = true;
}

CCRemoteRef CCRemoteOpFormula::Registered(cells::CTX* ctx, const CCRef* cell) const {
    if (!m_remote.GetDocument().empty()) return m_remote;
    CCRemoteRef named;
    if (!m_func || GetFuncRemoteRef(ctx, named, m_func, m_args, cell) != 0) named.Clear();
    return named;
}

void CCRemoteOpFormula::Eval(cells::CTX* ctx, CCCellValue& result, const CCRef* cell) {
    Resolve(ctx, cell);
    CCOpFormula::Eval(ctx, result, cell);
}

int CCRemoteOpFormula::RegisterDependents(cells::CTX* ctx, const CCRef* dependent) {
    int all = CCOpFormula::RegisterDependents(ctx, dependent);
    CCRemoteRef named = Registered(ctx, dependent);
    CCCellManager* manager = ctx ? ctx->GetManager() : nullptr;
    if (manager && dependent && !named.GetDocument().empty()) {
        manager->DoRemoteRegisterDependent(&named, dependent);
        m_remote = named;
    }
    return all;
}

int CCRemoteOpFormula::UnRegisterDependents(cells::CTX* ctx, const CCRef* dependent) {
    int all = CCOpFormula::UnRegisterDependents(ctx, dependent);
    CCRemoteRef named = Registered(ctx, dependent);
    CCCellManager* manager = ctx ? ctx->GetManager() : nullptr;
    if (manager && dependent && !named.GetDocument().empty())
        manager->DoRemoteUnRegisterDependent(&named, dependent);
    return all;
}

int CCRemoteOpFormula::IsSingleValue(cells::CTX* ctx, const CCRef* cell) {
    Resolve(ctx, cell);
    return m_remote.GetDocument().empty() ? 1 : m_remote.IsSingleValue(ctx);
}

// A function over the node (SUM(REMOTE(...))) opens it without evaluating it first.
uint16_t CCRemoteOpFormula::OpenRef(cells::CTX* ctx, const CCRef* cell) {
    Resolve(ctx, cell);
    return m_remote.GetDocument().empty() ? 0 : m_remote.OpenRef(ctx);
}

int CCRemoteOpFormula::NextValue(cells::CTX* ctx, uint16_t& handle, CCCellValue& value,
                                 const CCRef*) {
    return m_remote.NextValue(ctx, handle, &value);
}

int CCRemoteOpFormula::RefSize(cells::CTX* ctx, uint16_t handle, CSize& size, const CCRef*) {
    return m_remote.RefSize(ctx, handle, &size);
}

int CCRemoteOpFormula::CloseRef(cells::CTX* ctx, uint16_t handle, const CCRef*) {
    return m_remote.CloseRef(ctx, handle);
}

// ---- CCDocOpFormula ----

CCFormula* CCDocOpFormula::Copy() const {
    return new CCDocOpFormula(m_func, CopyFormulaList(m_args));
}

namespace {
// The document property a node reads; none for ROW and COLUMN, whose value is the cell's
// own position and never changes while the formula stays in its cell.
bool PropertyItem(cells::CTX* ctx, const CCFunc* func, const CCFormulaList* args, const CCRef* cell,
                  CCDocumentRef& item) {
    if (!func || GetFuncDocumentRef(ctx, item, func, args, cell) != 0) return false;
    const int type = item.GetDocRefType();
    return type >= 0 && type < CCDocumentRef::DOC_COLUMN;
}
}  // namespace

int CCDocOpFormula::RegisterDependents(cells::CTX* ctx, const CCRef* dependent) {
    int all = CCOpFormula::RegisterDependents(ctx, dependent);
    CCDocumentRef item;
    CCCellManager* manager = ctx ? ctx->GetManager() : nullptr;
    if (manager && dependent && PropertyItem(ctx, m_func, m_args, dependent, item) &&
        !manager->RegisterDocumentDependent(&item, dependent))
        all = 0;
    return all;
}

int CCDocOpFormula::UnRegisterDependents(cells::CTX* ctx, const CCRef* dependent) {
    int all = CCOpFormula::UnRegisterDependents(ctx, dependent);
    CCDocumentRef item;
    CCCellManager* manager = ctx ? ctx->GetManager() : nullptr;
    if (manager && dependent && PropertyItem(ctx, m_func, m_args, dependent, item))
        manager->UnRegisterDocumentDependent(&item, dependent);
    return all;
}

const std::u16string& CCOpFormula::GetStoredName() const {
    static const std::u16string none;
    if (!m_hasStoredName) return none;
    StoredNames& table = TheStoredNames();
    std::lock_guard<std::mutex> hold(table.lock);
    auto found = table.names.find(this);
    return found == table.names.end() ? none : found->second;
}
