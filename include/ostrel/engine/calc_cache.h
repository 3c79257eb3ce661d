// SPDX-License-Identifier: Apache-2.0
/// \file
/// The evaluation order a workbook's sheets share: one node per cell (or range) that takes
/// part in recalculation, kept in an order where every formula stands after what it reads,
/// and dirty flags that say which of them the next calculation runs.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <utility>
#include <vector>

#include "ostrel/export.h"
#include "ostrel/platform/flat_multi_index.h"

class CCCellManager;
class CCRCRef;
class CCRef;
namespace ostrel::engine_detail {
template <class Node>
class CellNodeGrid;
}

class OSTREL_API CCCalcCache {
public:
    CCCalcCache();
    ~CCCalcCache();
    CCCalcCache(const CCCalcCache&) = delete;
    CCCalcCache& operator=(const CCCalcCache&) = delete;

    /// The manager that last used the cache; null once that manager is gone.
    CCCellManager* GetCurrentManager() const;
    void SetCurrentManager(CCCellManager* manager);

    /// The key under which the cache knows a reference of manager: remote references and
    /// sheet-qualified ones as they are (a sheet named by index becomes that sheet's
    /// manager), anything else qualified with manager. Null for a null reference.
    static std::unique_ptr<CCRef> MakeKey(CCCellManager* manager, const CCRef* ref);

    /// The entry points of the workbook road; keys as MakeKey gives them.
    bool HasNode(const CCRef* key) const { return Find(key) != nullptr; }
    /// Creates and places the node when missing. A node whose reference now reads a cell
    /// that stands after it (its formula changed) is placed again.
    void Place(const CCRef* key);
    /// For cells that read what no dependency names: as the next calculation starts, the
    /// key's node moves after every other node, and the nodes that read it after it, so that
    /// it reads what the calculation computes.
    void KeepLast(const CCRef* key);
    /// Flags the key's node and, transitively, the nodes of every formula that reads it;
    /// dependents without a node get one. A cycle ends the walk. With current, the key's own
    /// node holds a value computed from current values already (a formula just stored and
    /// evaluated while AllCurrent held): the calculation passes it in its turn without
    /// computing it again, unless something it reads is flagged before.
    void MarkDirty(const CCRef* key, bool current = false);
    /// Place (when place holds, and only for a key without a node unless evenWithNode)
    /// followed by MarkDirty, the node looked up once: what typing a cell costs.
    void PlaceAndMarkDirty(const CCRef* key, bool place, bool evenWithNode, bool current);
    /// The same for a cell of sheet, with no key made for it: what typing a cell costs.
    void PlaceAndMarkDirty(CCCellManager* sheet, const CCRCRef& cell, bool place, bool evenWithNode,
                           bool current);
    /// Whether every node waiting for the calculation holds a current value, so that a
    /// formula evaluated now reads nothing the calculation would change.
    bool AllCurrent() const { return m_outdated == 0; }
    /// Recalculates every dirty node in order through manager, each at most once per call.
    void DoCalc(CCCellManager* manager);
    /// Asked while DoCalc runs (from the manager's OnUpdateIdleRecalc): DoCalc returns soon,
    /// and the nodes it has not reached stay dirty for the next call.
    void RequestStop() { m_stopRequested = true; }
    /// Forgets the node of a removed item.
    void Remove(const CCRef* key);
    /// Forgets every node of a sheet that is going away.
    void ForgetManager(const CCCellManager* manager);
    /// Whether the cells recalculated after every change wait marked for the next
    /// calculation already; DoCalc clears it as it starts.
    bool IsVolatileMarked() const { return m_volatileMarked; }
    void SetVolatileMarked() { m_volatileMarked = true; }

    /// Inspection (mainly for tests): copies of the nodes' references in order, a node's
    /// position (-1 without a node), whether it is dirty, and how many there are.
    std::vector<std::unique_ptr<CCRef>> GetOrder() const;
    long GetPosition(const CCRef* key) const;
    bool IsDirty(const CCRef* key) const;
    size_t GetCount() const { return m_count; }
    size_t GetDirtyCount() const {
        return m_dirty.size() + (m_batch.size() - m_batchNext) + m_deferred.size();
    }

private:
    static constexpr unsigned char kDirty = 1, kDirtyCurrent = 2;
    struct Node {
        /// Any reference but a sheet cell; a sheet cell's node keeps only its cell key
        /// (sheet identity, column, row), which is most nodes at a fraction of the memory.
        std::unique_ptr<CCRef> ref;
        uint64_t cell = 0;
        uint64_t label = 0;  // grows along the order; relabelling keeps the order
        Node* prev = nullptr;
        Node* next = nullptr;
        uint32_t round = 0;       // the DoCalc call that last calculated it
        unsigned char dirty = 0;  // 0, kDirty, or kDirtyCurrent: its value needs no computing
        unsigned char visited = 0;
        bool placed = false;
        bool alive = false;  // for pooled cell nodes: in use
    };
    /// Where a key's or a node's cell lives: its sheet and its reference there.
    struct Site {
        CCCellManager* sheet = nullptr;
        const CCRef* inner = nullptr;
    };
    Site SiteOf(const CCRef* key) const;
    /// A dependent or precedent as a sheet names it: a key already, or a reference of sheet
    /// whose key (MakeKey) is made only when a node must be created for it, so that walking
    /// the ranges a cell lies in allocates nothing.
    struct KeyOnSheet {
        KeyOnSheet(CCCellManager* onSheet, const CCRef* reference)
            : sheet(onSheet), ref(reference) {}
        CCCellManager* sheet = nullptr;  // null when ref is a key
        const CCRef* ref = nullptr;
        mutable std::unique_ptr<CCRef> made;
        const CCRef* Key() const;
        bool IsSheetCell() const;
    };
    Node* Find(const KeyOnSheet& key) const;
    /// A cell node's reference is made in storage.
    Site SiteOf(const Node* node, CCRCRef& storage) const;
    std::unique_ptr<CCRef> RefOf(const Node* node) const;
    Node* Find(const CCRef* key) const;
    Node* FindCell(uint64_t cell) const;
    Node* Create(const CCRef* key);
    Node* CreateCell(uint64_t cell);
    Node* TakeNode();
    void Erase(Node* node);
    /// Takes the dirty nodes for which gone(node) holds out of the waiting lists.
    template <class Gone>
    void DropWaiting(Gone gone);
    /// Order maintenance: links node after prev (the head sentinel for the front), giving it
    /// a label between its neighbours, and spreads the labels of a growing window around
    /// the spot when there is no room, so that an insertion costs logarithmic time amortized.
    void LinkAfter(Node* prev, Node* node);
    void Unlink(Node* node);
    void Relabel(Node* around);
    void SetDirty(Node* node, bool current = false);
    void SetClean(Node* node);
    /// Calls visit with each dependent of a cell as a KeyOnSheet (borrowed for the call).
    template <class Visit>
    void ForEachDependent(Site site, Visit visit) const;
    /// Whether anything may read the site (when not, it has no dependents to walk).
    static bool MayBeRead(Site site);
    /// ForEachDependent for a site known to be read.
    template <class Visit>
    void ForEachDependentOfRead(Site site, Visit visit) const;
    /// Calls visit(&key, 0) with each precedent of a cell as a KeyOnSheet, or
    /// visit(null, cell key) for a single cell of a sheet.
    template <class Visit>
    void ForEachPrecedent(Site site, Visit visit) const;
    void PlaceNode(Node* node);
    /// Places a node not placed yet, or places again one that now reads what stands after it.
    void Place(Node* node);
    void MarkFound(Node* node, const CCRef* key, bool current);
    /// As MarkFound; without a node, the dependents of the cell at site are marked.
    void MarkFrom(Node* node, Site site, bool current);
    void PlaceLast(Node* node);
    void Repair(Node* placed, const std::vector<Node*>& early);
    bool IsOutOfOrder(const Node* node) const;
    bool IsStale(const Node* node) const;
    // Leaves DoCalc early: what the batch has not reached waits in the dirty list again.
    void StopHere();

    Node m_head;  // sentinel before the first node, label 0
    Node* m_tail = &m_head;
    size_t m_count = 0;
    std::deque<Node> m_pool;    // owns every node
    std::vector<Node*> m_free;  // pooled nodes no longer in use
    /// The nodes of sheet cells, by position.
    std::unique_ptr<ostrel::engine_detail::CellNodeGrid<Node>> m_cells;
    ostrel::platform::FlatMultiIndex<Node*> m_others;  // other nodes, by their references' hash
    /// The nodes last found for a few ranges, by the address of the sheet's reference object.
    static constexpr size_t kRecentRanges = 64;
    mutable std::array<Node*, kRecentRanges> m_recentRanges{};
    /// Dirty nodes wait unsorted (marking touches nothing but the node); a calculation sorts
    /// them by label into a batch. Nodes marked again after a running calculation has
    /// calculated them wait in the deferred list for the next one.
    std::vector<Node*> m_dirty;
    size_t m_outdated = 0;       // dirty nodes that are not current
    std::vector<Node*> m_batch;  // by label; a removed node is null
    size_t m_batchNext = 0;
    std::vector<Node*> m_deferred;
    bool m_stopRequested = false;
    uint32_t m_current = 0;  // identity of the current manager
    uint32_t m_round = 0;
    bool m_volatileMarked = false;
    std::vector<std::unique_ptr<CCRef>> m_last;  // keys KeepLast was given
};
