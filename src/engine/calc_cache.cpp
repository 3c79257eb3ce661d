// SPDX-License-Identifier: Apache-2.0
// The workbook's evaluation order. Nodes live in one pool, linked in order and labelled with
// growing 64-bit numbers, so that placing a node anywhere never renumbers the others; flat
// tables find them by cell or by hash. Dirty nodes wait in a list that a calculation sorts
// by label, so that it visits only what changed.
#include "ostrel/engine/calc_cache.h"

#include <algorithm>
#include <deque>
#include <new>

#include "engine/cell_node_grid.h"
#include "formula/precedent_walk.h"
#include "ostrel/cells/cell.h"
#include "ostrel/cells/item.h"
#include "ostrel/engine/cell_manager.h"
#include "ostrel/refs/rc_ref.h"
#include "ostrel/refs/ref.h"
#include "ostrel/refs/ref_3d.h"
#include "ostrel/refs/ref_list.h"
#include "ostrel/refs/remote_ref.h"

namespace {

constexpr uint64_t kMaxLabel = uint64_t(1) << 62;
constexpr uint64_t kAppendStep = uint64_t(1) << 32;

// The manager a key belongs to: its sheet, or fallback for keys that name no sheet.
CCCellManager* SheetOf(const CCRef* key, CCCellManager* fallback) {
    if (key && key->GetType() == REF_TYPE_3D) {
        const auto* r3 = static_cast<const CCRef3D*>(key);
        if (r3->IsManagerKey()) return CCCellManager::FromIdentity(r3->GetKey());
    }
    return fallback;
}

const CCRef* InnerOf(const CCRef* key) {
    if (key && key->GetType() == REF_TYPE_3D)
        return static_cast<const CCRef3D*>(key)->GetInnerRef();
    return key;
}

// Single cells of a sheet get their node when a formula is stored in them or a change
// reaches them; a precedent that is a plain cell needs none to be ordered before.
bool IsSheetCell(const CCRef* key) {
    if (!key || key->GetType() != REF_TYPE_3D) return false;
    const CCRef* inner = static_cast<const CCRef3D*>(key)->GetInnerRef();
    return inner && inner->GetType() == REF_TYPE_RC;
}

// A sheet cell as one number: the sheet's identity, the column and the row.
uint64_t CellKey(uint32_t identity, const CCRCRef& cell) {
    return uint64_t(identity) << 32 | uint64_t(cell.GetColumn()) << 16 | cell.GetRow();
}
uint32_t IdentityOf(uint64_t cell) {
    return static_cast<uint32_t>(cell >> 32);
}
unsigned char ColumnOf(uint64_t cell) {
    return static_cast<unsigned char>(cell >> 16);
}
uint16_t RowOf(uint64_t cell) {
    return static_cast<uint16_t>(cell);
}
CCRCRef CellOf(uint64_t cell) {
    return CCRCRef(ColumnOf(cell), RowOf(cell));
}

// The cell key of a single sheet cell; sheet, when given, resolves plain references and
// sheets named by index (without it only references qualified by a manager qualify).
bool CellKeyOf(CCCellManager* sheet, const CCRef* ref, uint64_t& key) {
    if (!ref) return false;
    if (ref->GetType() == REF_TYPE_RC) {
        if (!sheet) return false;
        key = CellKey(sheet->GetIdentity(), *static_cast<const CCRCRef*>(ref));
        return true;
    }
    if (ref->GetType() != REF_TYPE_3D) return false;
    const auto* r3 = static_cast<const CCRef3D*>(ref);
    const CCRef* inner = r3->GetInnerRef();
    if (!inner || inner->GetType() != REF_TYPE_RC || !r3->IsSingleSheet()) return false;
    uint32_t identity = r3->IsManagerKey() ? r3->GetKey() : 0;
    if (!identity) {
        CCCellManager* owner = sheet ? r3->GetFirstSheetManager(sheet->GetCTX()) : nullptr;
        if (!owner) return false;
        identity = owner->GetIdentity();
    }
    key = CellKey(identity, *static_cast<const CCRCRef*>(inner));
    return true;
}

}  // namespace

CCCalcCache::CCCalcCache()
    : m_cells(std::make_unique<ostrel::engine_detail::CellNodeGrid<Node>>()) {}

CCCalcCache::~CCCalcCache() = default;

CCCellManager* CCCalcCache::GetCurrentManager() const {
    return m_current ? CCCellManager::FromIdentity(m_current) : nullptr;
}

void CCCalcCache::SetCurrentManager(CCCellManager* manager) {
    m_current = manager ? manager->GetIdentity() : 0;
}

std::unique_ptr<CCRef> CCCalcCache::MakeKey(CCCellManager* manager, const CCRef* ref) {
    if (!ref) return nullptr;
    if (ref->GetType() == REF_TYPE_REMOTE) return std::unique_ptr<CCRef>(ref->Copy());
    if (ref->GetType() == REF_TYPE_3D) {
        const auto* r3 = static_cast<const CCRef3D*>(ref);
        // A sheet named by index and by manager must meet in one node.
        if (!r3->IsManagerKey() && r3->IsSingleSheet() && manager && r3->GetInnerRef()) {
            if (CCCellManager* sheet = r3->GetFirstSheetManager(manager->GetCTX())) {
                auto key = std::make_unique<CCRef3D>(*r3);
                key->SetKey(sheet->GetIdentity());
                return key;
            }
        }
        return std::unique_ptr<CCRef>(ref->Copy());
    }
    if (!manager) return nullptr;
    auto key = std::make_unique<CCRef3D>(uint16_t(0), uint16_t(0), ref->Copy());
    key->SetKey(manager->GetIdentity());
    return key;
}

// ---- index and order ----

CCCalcCache::Node* CCCalcCache::Find(const CCRef* key) const {
    if (!key) return nullptr;
    if (uint64_t cell; CellKeyOf(nullptr, key, cell)) return FindCell(cell);
    Node* const* found = m_others.FindIf(
        key->Hash(), [key](const Node* node) { return node->ref->IsEqual(key) != 0; });
    return found ? *found : nullptr;
}

CCCalcCache::Node* CCCalcCache::FindCell(uint64_t cell) const {
    return m_cells->Find(IdentityOf(cell), ColumnOf(cell), RowOf(cell));
}

CCCalcCache::Node* CCCalcCache::TakeNode() {
    Node* node;
    if (m_free.empty()) {
        node = &m_pool.emplace_back();
    } else {
        node = m_free.back();
        m_free.pop_back();
    }
    node->alive = true;
    return node;
}

CCCalcCache::Node* CCCalcCache::CreateCell(uint64_t cell) {
    Node* node = TakeNode();
    node->cell = cell;
    m_cells->Insert(IdentityOf(cell), ColumnOf(cell), RowOf(cell), node);
    return node;
}

CCCalcCache::Node* CCCalcCache::Create(const CCRef* key) {
    if (uint64_t cell; CellKeyOf(nullptr, key, cell)) return CreateCell(cell);
    Node* node = TakeNode();
    node->ref.reset(key->Copy());
    m_others.Insert(key->Hash(), node);
    return node;
}

template <class Gone>
void CCCalcCache::DropWaiting(Gone gone) {
    for (auto* list : {&m_dirty, &m_deferred})
        list->erase(std::remove_if(list->begin(), list->end(), gone), list->end());
    for (size_t i = m_batchNext; i < m_batch.size(); ++i)
        if (m_batch[i] && gone(m_batch[i])) m_batch[i] = nullptr;
}

void CCCalcCache::Erase(Node* node) {
    if (node->dirty) DropWaiting([node](const Node* other) { return other == node; });
    SetClean(node);
    Unlink(node);
    auto same = [node](const Node* other) { return other == node; };
    if (node->ref)
        m_others.EraseIf(node->ref->Hash(), same);
    else if (FindCell(node->cell) == node)
        m_cells->Erase(IdentityOf(node->cell), ColumnOf(node->cell), RowOf(node->cell));
    *node = Node{};
    // A node that cannot be listed for reuse (memory ran out, perhaps while a sheet is
    // destroyed) stays unused in the pool.
    try {
        m_free.push_back(node);
    } catch (const std::bad_alloc&) {
    }
}

void CCCalcCache::Unlink(Node* node) {
    if (!node->placed) return;
    node->prev->next = node->next;
    if (node->next)
        node->next->prev = node->prev;
    else
        m_tail = node->prev;
    node->prev = node->next = nullptr;
    node->placed = false;
    --m_count;
}

void CCCalcCache::LinkAfter(Node* prev, Node* node) {
    node->prev = prev;
    node->next = prev->next;
    if (prev->next)
        prev->next->prev = node;
    else
        m_tail = node;
    prev->next = node;
    node->placed = true;
    ++m_count;
    uint64_t low = prev->label;
    if (prev == &m_head && !node->next) {
        // The first node starts in the middle, leaving as much room before as after.
        node->label = kMaxLabel / 2;
    } else if (!node->next) {
        // Appending (typing top down) and prepending (formulas that read only constants,
        // typing bottom up) are the common cases: a fixed step leaves room for hundreds of
        // millions of them before labels need spreading.
        uint64_t room = kMaxLabel - low;
        if (room >= 2)
            node->label = low + std::min(kAppendStep, room / 2);
        else
            Relabel(node);
    } else if (prev == &m_head && node->next->label >= 2) {
        node->label = node->next->label - std::min(kAppendStep, node->next->label / 2);
    } else if (node->next->label - low >= 2) {
        node->label = low + (node->next->label - low) / 2;
    } else {
        Relabel(node);
    }
}

void CCCalcCache::Relabel(Node* around) {
    // Grow a window of neighbours, doubling, until its labels span at least count² (each
    // node then gets a gap of at least count), then spread them evenly.
    Node* first = around;
    Node* last = around;
    uint64_t count = 1;
    for (;;) {
        uint64_t low = first->prev->label;
        uint64_t high = last->next ? last->next->label : kMaxLabel;
        uint64_t step = (high - low) / (count + 1);
        bool whole = first->prev == &m_head && !last->next;
        if (step >= std::max<uint64_t>(count, 2) || (whole && step >= 1)) {
            uint64_t label = low;
            for (Node* n = first;; n = n->next) {
                label += step;
                n->label = label;
                if (n == last) break;
            }
            return;
        }
        for (uint64_t i = count; i > 0 && first->prev != &m_head; --i, ++count)
            first = first->prev;
        for (uint64_t i = count; i > 0 && last->next; --i, ++count)
            last = last->next;
    }
}

void CCCalcCache::SetDirty(Node* node, bool current) {
    if (node->dirty) {
        if (node->dirty == kDirtyCurrent && !current) {
            node->dirty = kDirty;
            ++m_outdated;
        }
        return;
    }
    node->dirty = current ? kDirtyCurrent : kDirty;
    if (!current) ++m_outdated;
    m_dirty.push_back(node);
}

void CCCalcCache::SetClean(Node* node) {
    if (node->dirty == kDirty) --m_outdated;
    node->dirty = 0;
}

// ---- dependencies ----

CCCalcCache::Site CCCalcCache::SiteOf(const CCRef* key) const {
    if (!key || key->GetType() == REF_TYPE_REMOTE) return {};
    return {SheetOf(key, GetCurrentManager()), InnerOf(key)};
}

CCCalcCache::Site CCCalcCache::SiteOf(const Node* node, CCRCRef& storage) const {
    if (node->ref) return SiteOf(node->ref.get());
    storage = CellOf(node->cell);
    return {CCCellManager::FromIdentity(IdentityOf(node->cell)), &storage};
}

std::unique_ptr<CCRef> CCCalcCache::RefOf(const Node* node) const {
    if (node->ref) return std::unique_ptr<CCRef>(node->ref->Copy());
    auto ref = std::make_unique<CCRef3D>(uint16_t(0), uint16_t(0), new CCRCRef(CellOf(node->cell)));
    ref->SetKey(IdentityOf(node->cell));
    return ref;
}

const CCRef* CCCalcCache::KeyOnSheet::Key() const {
    if (!sheet) return ref;
    if (!made) made = MakeKey(sheet, ref);
    return made.get();
}

bool CCCalcCache::KeyOnSheet::IsSheetCell() const {
    return sheet ? ref->GetType() == REF_TYPE_RC : ::IsSheetCell(ref);
}

CCCalcCache::Node* CCCalcCache::Find(const KeyOnSheet& key) const {
    if (!key.sheet || key.made) return Find(key.Key());
    const CCRef* ref = key.ref;
    const int type = ref->GetType();
    // Only a key qualified with another name of a sheet needs resolving first.
    if (type == REF_TYPE_3D || type == REF_TYPE_REMOTE) return Find(key.Key());
    const uint32_t identity = key.sheet->GetIdentity();
    if (type == REF_TYPE_RC) return FindCell(CellKey(identity, *static_cast<const CCRCRef*>(ref)));
    // What MakeKey would make, compared without being made: the reference qualified with the
    // sheet's identity, hashed and matched as that key would be.
    auto matches = [&](const Node* node) {
        if (!node->alive || !node->ref || node->ref->GetType() != REF_TYPE_3D) return false;
        const auto* r3 = static_cast<const CCRef3D*>(node->ref.get());
        return r3->GetKey() == identity && r3->GetInnerRef() && ref->IsEqual(r3->GetInnerRef());
    };
    // A cell typed next to the last one lies in nearly the same ranges, each named by the
    // same reference object of its sheet: the node last found for an object is tried first,
    // and kept only while it still matches (nodes are never freed, only reused).
    Node*& remembered = m_recentRanges[(reinterpret_cast<uintptr_t>(ref) >> 4) % kRecentRanges];
    if (remembered && matches(remembered)) return remembered;
    Node* const* found = m_others.FindIf(CCRef3D::HashOf(identity, ref->Hash()), matches);
    if (found) remembered = *found;
    return found ? *found : nullptr;
}

bool CCCalcCache::MayBeRead(Site site) {
    return site.sheet && site.inner && site.sheet->MayBeRead(site.inner);
}

template <class Visit>
void CCCalcCache::ForEachDependent(Site site, Visit visit) const {
    if (MayBeRead(site)) ForEachDependentOfRead(site, visit);
}

template <class Visit>
void CCCalcCache::ForEachDependentOfRead(Site site, Visit visit) const {
    site.sheet->ForEachDependentGroup(site.inner, [&](const CCRef* ref) {
        // Items keep their dependents qualified with a sheet's manager: already keys.
        bool isKey =
            ref->GetType() == REF_TYPE_REMOTE ||
            (ref->GetType() == REF_TYPE_3D && static_cast<const CCRef3D*>(ref)->IsManagerKey());
        visit(isKey ? KeyOnSheet{nullptr, ref} : KeyOnSheet{site.sheet, ref});
    });
}

template <class Visit>
void CCCalcCache::ForEachPrecedent(Site site, Visit visit) const {
    CCItem* item = site.sheet && site.inner ? site.sheet->GetItem(site.inner) : nullptr;
    if (!item) return;
    auto each = [&](const CCRef* ref) {
        // Single cells, the commonest precedents, are found by their cell key without a
        // key object being made for them.
        if (uint64_t cell; CellKeyOf(site.sheet, ref, cell)) {
            visit(nullptr, cell);
        } else if (ref) {
            const KeyOnSheet key{site.sheet, ref};
            visit(&key, uint64_t(0));
        }
    };
    // A cell's tree is walked here directly: every formula typed is placed by this walk.
    if (CCCell* cell = item->AsCell()) {
        if (const CCFormula* formula = cell->LoadFormula(site.sheet->GetCTX()))
            ostrel::formula::WalkPrecedents(formula, each);
        return;
    }
    item->ForEachPrecedent(site.sheet->GetCTX(), each);
}

// ---- placing ----

void CCCalcCache::Place(const CCRef* key) {
    Node* node = Find(key);
    Place(node ? node : Create(key));
}

void CCCalcCache::Place(Node* node) {
    if (node->placed) {
        if (!IsOutOfOrder(node)) return;
        Unlink(node);
    }
    PlaceNode(node);
}

void CCCalcCache::PlaceAndMarkDirty(const CCRef* key, bool place, bool evenWithNode, bool current) {
    if (!key) return;
    Node* node = Find(key);
    if (place && (!node || evenWithNode)) Place(node = node ? node : Create(key));
    MarkFound(node, key, current);
}

void CCCalcCache::PlaceAndMarkDirty(CCCellManager* sheet, const CCRCRef& cell, bool place,
                                    bool evenWithNode, bool current) {
    if (!sheet) return;
    const uint64_t key = CellKey(sheet->GetIdentity(), cell);
    Node* node = FindCell(key);
    if (place && (!node || evenWithNode)) Place(node = node ? node : CreateCell(key));
    MarkFrom(node, {sheet, &cell}, current);
}

void CCCalcCache::KeepLast(const CCRef* key) {
    if (key) m_last.emplace_back(key->Copy());
}

void CCCalcCache::PlaceLast(Node* node) {
    Unlink(node);
    LinkAfter(m_tail, node);
    CCRCRef storage;
    std::vector<Node*> early;
    ForEachDependent(SiteOf(node, storage), [&](const KeyOnSheet& dependent) {
        Node* other = Find(dependent);
        if (other && other != node && other->placed) early.push_back(other);
    });
    if (!early.empty()) Repair(node, early);
}

// A node whose formula changed may now read a cell that stands after it, or a range (or
// anything else but a single cell) that has no node yet, which has to be placed before it:
// the cells inside that range may stand anywhere.
bool CCCalcCache::IsOutOfOrder(const Node* node) const {
    CCRCRef storage;
    bool late = false;
    ForEachPrecedent(SiteOf(node, storage), [&](const KeyOnSheet* key, uint64_t cell) {
        const Node* other = key ? Find(*key) : FindCell(cell);
        if (!other && key && !key->IsSheetCell()) late = true;
        if (other && other != node && other->placed && other->label > node->label) late = true;
    });
    return late;
}

void CCCalcCache::PlaceNode(Node* node) {
    CCRCRef storage;
    const Site site = SiteOf(node, storage);
    Node* lowestDependent = nullptr;
    std::vector<Node*> placedDependents;
    ForEachDependent(site, [&](const KeyOnSheet& dependent) {
        Node* other = Find(dependent);
        if (!other || other == node || !other->placed) return;
        placedDependents.push_back(other);
        if (!lowestDependent || other->label < lowestDependent->label) lowestDependent = other;
    });
    bool anyPrecedent = false;
    Node* highestPrecedent = nullptr;
    ForEachPrecedent(site, [&](const KeyOnSheet* key, uint64_t cell) {
        anyPrecedent = true;
        Node* other = key ? Find(*key) : FindCell(cell);
        if (!other) {
            // A sheet cell gets its node from its own formula or a change; anything else
            // read is appended to stand before this node.
            if (!key || key->IsSheetCell()) return;
            other = Create(key->Key());
            LinkAfter(m_tail, other);
        }
        if (other == node || !other->placed) return;
        if (!highestPrecedent || other->label > highestPrecedent->label) highestPrecedent = other;
    });
    if (!anyPrecedent) {
        LinkAfter(lowestDependent ? lowestDependent->prev : m_tail, node);
        return;
    }
    if (!lowestDependent) {
        LinkAfter(highestPrecedent ? highestPrecedent : &m_head, node);
        return;
    }
    if (!highestPrecedent || highestPrecedent->label < lowestDependent->label) {
        LinkAfter(lowestDependent->prev, node);
        return;
    }
    LinkAfter(highestPrecedent, node);
    std::vector<Node*> early;
    for (Node* dependent : placedDependents)
        if (dependent->label < node->label) early.push_back(dependent);
    Repair(node, early);
}

// Dependents that stand before a node just placed, and theirs that stand before it too,
// move behind it in the order they had, each visited once.
void CCCalcCache::Repair(Node* placed, const std::vector<Node*>& early) {
    // Collected in the order visited, which is also the walk's queue.
    std::vector<Node*> collected;
    for (Node* node : early) {
        if (node->visited) continue;
        node->visited = 1;
        collected.push_back(node);
    }
    for (size_t next = 0; next < collected.size(); ++next) {
        Node* from = collected[next];
        CCRCRef storage;
        ForEachDependent(SiteOf(from, storage), [&](const KeyOnSheet& dependent) {
            Node* other = Find(dependent);
            if (!other || other->visited || !other->placed || other == placed) return;
            if (other->label > placed->label) return;
            other->visited = 1;
            collected.push_back(other);
        });
    }
    std::sort(collected.begin(), collected.end(),
              [](const Node* a, const Node* b) { return a->label < b->label; });
    for (Node* node : collected)
        Unlink(node);
    Node* after = placed;
    for (Node* node : collected) {
        node->visited = 0;
        LinkAfter(after, node);
        after = node;
    }
}

// ---- marking and calculating ----

void CCCalcCache::MarkDirty(const CCRef* key, bool current) {
    if (key) MarkFound(Find(key), key, current);
}

void CCCalcCache::MarkFound(Node* found, const CCRef* key, bool current) {
    MarkFrom(found, found ? Site{} : SiteOf(key), current);
}

void CCCalcCache::MarkFrom(Node* found, Site site, bool current) {
    // A typed constant that nothing reads, what most of them are, has nothing to walk.
    if (!found && !MayBeRead(site)) return;
    CCCellManager* manager = GetCurrentManager();
    // Nodes are walked rather than copies of their references: a change that reaches
    // thousands of formulas allocates nothing for the formulas that have nodes already.
    // A vector walked by index: a deque would allocate its map even for a change that
    // reaches nothing, which is what most typed constants are.
    std::vector<Node*> work;
    auto visit = [&](const KeyOnSheet& dependent) {
        Node* node = Find(dependent);
        if (!node) {
            const CCRef* key = dependent.Key();
            if (key->GetType() == REF_TYPE_REMOTE) {
                if (manager) manager->DoRemoteInitRecalc(static_cast<const CCRemoteRef*>(key), 1);
                return;
            }
            node = Create(key);
            PlaceNode(node);
        }
        // A current node is current no longer, and neither is what reads it.
        if (node->dirty == kDirty) return;
        SetDirty(node);
        work.push_back(node);
    };
    CCRCRef storage;
    if (Node* node = found) {
        SetDirty(node, current);
        ForEachDependent(SiteOf(node, storage), visit);
    } else {
        ForEachDependentOfRead(site, visit);
    }
    for (size_t next = 0; next < work.size(); ++next)
        ForEachDependent(SiteOf(work[next], storage), visit);
}

bool CCCalcCache::IsStale(const Node* node) const {
    if (!node->ref) return !CCCellManager::FromIdentity(IdentityOf(node->cell));
    const CCRef* ref = node->ref.get();
    if (ref->GetType() != REF_TYPE_3D) return false;
    const auto* r3 = static_cast<const CCRef3D*>(ref);
    return r3->IsManagerKey() && !CCCellManager::FromIdentity(r3->GetKey());
}

void CCCalcCache::DoCalc(CCCellManager* manager) {
    if (!manager) return;
    SetCurrentManager(manager);
    // A change from now on marks the volatile cells again, for the next calculation.
    m_volatileMarked = false;
    m_stopRequested = false;
    for (const auto& key : m_last)
        if (Node* node = Find(key.get())) PlaceLast(node);
    m_last.clear();
    ++m_round;
    unsigned long done = 0;
    auto* scratchCell = new CCRCRef;
    CCRef3D scratch(uint16_t(0), uint16_t(0), scratchCell);
    while (!m_dirty.empty()) {
        // Marked during the previous batch: sorted in place into a new one, so that a first
        // calculation of every formula does not hold its list twice.
        m_batch.clear();
        m_batch.swap(m_dirty);
        m_batchNext = 0;
        const auto byLabel = [](const Node* a, const Node* b) { return a->label < b->label; };
        // Formulas typed in their order are marked in it: such a batch needs no sorting.
        if (!std::is_sorted(m_batch.begin(), m_batch.end(), byLabel))
            std::sort(m_batch.begin(), m_batch.end(), byLabel);
        while (m_batchNext < m_batch.size()) {
            Node* node = m_batch[m_batchNext++];
            if (!node) continue;  // removed while waiting
            // Marked again by a cell calculated after it: it waits for the next call, so
            // that a host that keeps marking cannot hold this one forever.
            if (node->round == m_round) {
                m_deferred.push_back(node);
                continue;
            }
            const bool current = node->dirty == kDirtyCurrent;
            SetClean(node);
            node->round = m_round;
            if (IsStale(node)) {
                Erase(node);
                continue;
            }
            // A current node is counted as calculated all the same, so that the slices end
            // where they would.
            if (current) {
            } else if (node->ref) {
                manager->RecalcCell(node->ref.get());
            } else {
                // One reference rewritten for every cell, rather than one made for each.
                scratchCell->Set(CellOf(node->cell));
                scratch.SetKey(IdentityOf(node->cell));
                manager->RecalcCell(&scratch);
            }
            if (++done % 64 == 0) {
                manager->OnUpdateIdleRecalc();
                if (m_stopRequested) {
                    StopHere();
                    return;
                }
            }
        }
    }
    m_batch.clear();
    m_batchNext = 0;
    m_dirty.swap(m_deferred);
}

void CCCalcCache::StopHere() {
    m_stopRequested = false;
    // Still dirty: the next call sorts them in with whatever is marked meanwhile.
    for (size_t i = m_batchNext; i < m_batch.size(); ++i)
        if (Node* node = m_batch[i]) m_dirty.push_back(node);
    m_batch.clear();
    m_batchNext = 0;
    m_dirty.insert(m_dirty.end(), m_deferred.begin(), m_deferred.end());
    m_deferred.clear();
}

void CCCalcCache::Remove(const CCRef* key) {
    if (Node* node = Find(key)) Erase(node);
}

// A sheet is forgotten as it is destroyed, perhaps because memory ran out: nothing here may
// allocate (a destructor cannot pass bad_alloc on), so the nodes that go are marked, not
// collected.
void CCCalcCache::ForgetManager(const CCCellManager* manager) {
    if (!manager) return;
    uint32_t identity = manager->GetIdentity();
    if (m_current == identity) m_current = 0;
    constexpr unsigned char kGoing = 2;  // a mark no walk leaves behind (Repair's is 1)
    bool any = false;
    for (Node& node : m_pool) {
        if (!node.alive) continue;
        uint32_t owner = IdentityOf(node.cell);
        if (node.ref) {
            const CCRef* ref = node.ref.get();
            owner = ref->GetType() == REF_TYPE_3D ? static_cast<const CCRef3D*>(ref)->GetKey() : 0;
        }
        if (owner == identity) {
            node.visited = kGoing;
            any = true;
        }
    }
    if (!any) return;
    // The waiting lists are filtered once, not once for each node that goes.
    DropWaiting([](const Node* node) { return node->visited == kGoing; });
    for (Node& node : m_pool) {
        if (!node.alive || node.visited != kGoing) continue;
        SetClean(&node);
        Erase(&node);
    }
}

// ---- inspection ----

std::vector<std::unique_ptr<CCRef>> CCCalcCache::GetOrder() const {
    std::vector<std::unique_ptr<CCRef>> order;
    for (const Node* node = m_head.next; node; node = node->next)
        order.push_back(RefOf(node));
    return order;
}

long CCCalcCache::GetPosition(const CCRef* key) const {
    const Node* wanted = Find(key);
    if (!wanted || !wanted->placed) return -1;
    long position = 0;
    for (const Node* node = m_head.next; node && node != wanted; node = node->next)
        ++position;
    return position;
}

bool CCCalcCache::IsDirty(const CCRef* key) const {
    const Node* node = Find(key);
    return node && node->dirty;
}
