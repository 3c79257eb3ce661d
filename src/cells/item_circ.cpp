// SPDX-License-Identifier: Apache-2.0
// Whether a formula just stored in an item closes a cycle.
//
// The answer is whether the item is among its own transitive dependents. Walking the
// dependents alone costs as much as everything downstream of the item, for every formula
// typed: a chain typed against its direction walks the whole chain again at each row. So
// two walks run side by side, one step each in turn: down through the dependents, and up
// through the cells the formula reads and what they read. A cycle is a path both walks can
// follow, so whichever ends first gives the exact answer, and the cost is that of the
// smaller side. The upward walk only knows single cells read by valid formulas: a formula
// that reads a range, a name or another document leaves the answer to the downward walk.
#include <deque>
#include <unordered_set>
#include <vector>

#include "ostrel/cells/cell.h"
#include "ostrel/cells/item.h"
#include "ostrel/engine/cell_manager.h"
#include "ostrel/refs/rc_ref.h"
#include "ostrel/refs/ref_3d.h"
#include "ostrel/refs/ref_list.h"

namespace {

enum class Walk { going, found, exhausted, abandoned };

// Breadth first over the dependents' dependents, through the manager's LoadDependencies so
// that formulas reading the item through a range or a sheet are met too. Each cell is
// examined once, keyed by its sheet, column and row; other references whenever reached.
class DependentWalk {
public:
    // Starts from the item's dependents as LoadDependencies gave them; the walk frees them.
    DependentWalk(cells::CTX* ctx, CCCellManager* manager, CCItem* item, CCRefList* dependents)
        : m_manager(manager), m_item(item), m_probe(ctx, item->GetRef()) {
        Enqueue(dependents);
    }
    ~DependentWalk() {
        for (CCRefList* list : m_lists)
            RefListFree(list, 0);
    }
    DependentWalk(const DependentWalk&) = delete;
    DependentWalk& operator=(const DependentWalk&) = delete;

    Walk Step() {
        while (!m_queue.empty()) {
            const CCRef* ref = m_queue.front();
            m_queue.pop_front();
            if (!FirstVisit(ref)) continue;
            CCItem* item = m_manager->GetItem(ref);
            if (item == m_item || (item && item->Contain(&m_probe))) return Walk::found;
            Enqueue(m_manager->LoadDependencies(ref));
            return Walk::going;
        }
        return Walk::exhausted;
    }

private:
    void Enqueue(CCRefList* list) {
        m_lists.push_back(list);
        for (CCRefList* node = list; node; node = node->m_pNext)
            m_queue.push_back(node->m_pRef);
    }
    bool FirstVisit(const CCRef* ref) {
        uint64_t sheet = 0;
        const CCRef* cell = ref;
        if (ref->GetType() == REF_TYPE_3D) {
            const auto* r3 = static_cast<const CCRef3D*>(ref);
            sheet = uint64_t(r3->GetKey()) + 1;
            cell = r3->GetInnerRef();
        }
        if (!cell || cell->GetType() != REF_TYPE_RC) return true;
        const auto* rc = static_cast<const CCRCRef*>(cell);
        return m_visited.insert(sheet << 32 | uint64_t(rc->GetColumn()) << 16 | rc->GetRow())
            .second;
    }

    CCCellManager* m_manager;
    CCItem* m_item;
    CCRef3D m_probe;
    std::vector<CCRefList*> m_lists;
    std::deque<const CCRef*> m_queue;
    std::unordered_set<uint64_t> m_visited;
};

// Depth first over the cells the item's formula reads, and the cells their formulas read.
// Only a valid formula reads anything: a circular one is registered with nothing.
class PrecedentWalk {
public:
    // Only the formulas' own references are followed, so an item that reads nothing
    // through a formula (its dependents registered by other means) leaves the answer to the
    // dependents.
    PrecedentWalk(cells::CTX* ctx, CCCellManager* manager, CCItem* item) : m_item(item) {
        const CCCell* cell = item->AsCell();
        if (cell && cell->IsValidFormula())
            Read(ctx, manager, item);
        else
            m_state = Walk::abandoned;
    }

    Walk Step() {
        if (m_state != Walk::going) return m_state;
        if (m_pending.empty()) return m_state = Walk::exhausted;
        const Pending next = m_pending.back();
        m_pending.pop_back();
        Read(next.sheet->GetCTX(), next.sheet, next.item);
        return m_state;
    }

private:
    struct Pending {
        CCCellManager* sheet;
        CCItem* item;
    };

    // Queues the cells that item, a cell of sheet, reads.
    void Read(cells::CTX* ctx, CCCellManager* sheet, CCItem* item) {
        CCRefList* precedents = item->GetPrecedents(ctx);
        for (CCRefList* node = precedents; node && m_state == Walk::going; node = node->m_pNext)
            Meet(ctx, sheet, node->m_pRef);
        RefListFree(precedents, 1);
    }

    void Meet(cells::CTX* ctx, CCCellManager* sheet, const CCRef* ref) {
        if (ref->GetType() == REF_TYPE_3D) {
            const auto* r3 = static_cast<const CCRef3D*>(ref);
            if (!r3->IsSingleSheet()) {
                m_state = Walk::abandoned;
                return;
            }
            sheet = r3->GetFirstSheetManager(ctx);
            ref = r3->GetInnerRef();
            if (!sheet) return;  // no such sheet: nothing there reads anything
        }
        if (!ref || ref->GetType() != REF_TYPE_RC) {
            m_state = Walk::abandoned;
            return;
        }
        CCItem* read = sheet->LookupItem(ref);
        if (!read) return;
        if (read == m_item) {
            m_state = Walk::found;
            return;
        }
        if (!read->IsFormulaLink() || !m_visited.insert(read).second) return;
        CCCell* cell = read->AsCell();
        if (!cell) {
            m_state = Walk::abandoned;  // a formula item whose precedents cannot be told
            return;
        }
        if (cell->IsValidFormula()) m_pending.push_back({sheet, read});
    }

    CCItem* m_item;
    Walk m_state = Walk::going;
    std::vector<Pending> m_pending;
    std::unordered_set<const CCItem*> m_visited;
};

// Whether a formula reads the item, itself included, directly or through a range.
bool AnyoneReads(CCCellManager* manager, const CCRef* ref) {
    if (!manager->MayBeRead(ref)) return false;
    bool any = false;
    manager->ForEachDependentGroup(ref, [&](const CCRef*) { any = true; });
    return any;
}

}  // namespace

int CCItem::IsCirc(cells::CTX* ctx) {
    CCCellManager* manager = cells::ManagerOf(ctx);
    if (!manager || !GetRef()) return 0;
    // A cycle through the item passes one of its dependents: an item nothing reads (most
    // formulas as they are typed) needs neither walk.
    CCRefList* dependents = manager->LoadDependencies(GetRef());
    if (!dependents) return 0;
    DependentWalk down(ctx, manager, this, dependents);
    PrecedentWalk up(ctx, manager, this);
    for (;;) {
        switch (down.Step()) {
            case Walk::found:
                return 1;
            case Walk::exhausted:
                return 0;
            default:
                break;
        }
        switch (up.Step()) {
            case Walk::found:
                return 1;
            case Walk::exhausted:
                return 0;
            default:
                break;
        }
    }
}

bool MayCloseCycle(cells::CTX* ctx, CCItem* item) {
    CCCellManager* manager = cells::ManagerOf(ctx);
    if (!manager || !item) return true;
    if (item->GetRef() && !AnyoneReads(manager, item->GetRef())) return false;
    CCRefList* precedents = item->GetPrecedents(ctx);
    bool may = false;
    for (CCRefList* node = precedents; node && !may; node = node->m_pNext) {
        const CCRef* cell = node->m_pRef;
        CCCellManager* owner = manager;
        if (cell->GetType() == REF_TYPE_3D) {
            const auto* r3 = static_cast<const CCRef3D*>(cell);
            if (!r3->IsSingleSheet()) {
                may = true;
                break;
            }
            owner = r3->GetFirstSheetManager(ctx);
            cell = r3->GetInnerRef();
            if (!owner) continue;  // no such sheet: nothing there reads this item
        }
        if (!cell || cell->GetType() != REF_TYPE_RC) {
            may = true;
            break;
        }
        CCItem* read = owner->LookupItem(cell);
        may = read && (read == item || read->IsFormulaLink());
    }
    RefListFree(precedents, 1);
    return may;
}
