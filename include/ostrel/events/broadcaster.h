// SPDX-License-Identifier: Apache-2.0
/// \file
/// The sending side of events: a table from events to their listeners, and the broadcaster
/// that every cell manager is.
#pragma once

#include <cstddef>
#include <memory>
#include <unordered_map>
#include <vector>

#include "ostrel/events/events.h"
#include "ostrel/events/listener.h"
#include "ostrel/export.h"

class OSTREL_API CCEvLiTable {
public:
    using ListenerList = std::vector<CCBaseListener*>;  // not owned, in registration order

    virtual ~CCEvLiTable() = default;

    /// Adds the listener to the event's entry (created at the end of the table, with a clone
    /// of the event, when missing) unless an equal listener is there. False for null.
    bool Register(const CCBaseEvent& event, CCBaseListener* listener);
    /// Removes the first equal listener from the event's entry; true when one was removed.
    bool UnRegister(const CCBaseEvent& event, CCBaseListener* listener);
    /// Removes the listener from every entry.
    void UnRegister(CCBaseListener* listener);
    /// The listeners of the event's entry; a shared empty list when there is none.
    const ListenerList& GetListenersOf(const CCBaseEvent& event) const;
    /// Whether the listener is registered for the event.
    bool Has(const CCBaseEvent& event, const CCBaseListener* listener) const;
    /// Counts removals, so that a walk over a snapshot knows when it must re-check.
    unsigned long RemovalCount() const { return m_removals; }

private:
    /// A listener is equal only to itself, so an entry finds one by its address: a sheet
    /// that thousands of formulas listen to registers and removes each in constant time.
    /// Removal leaves a hole, closed the next time the list is asked for.
    struct Entry {
        std::unique_ptr<CCBaseEvent> event;
        mutable ListenerList listeners;
        mutable std::unordered_map<const CCBaseListener*, size_t> position;
        mutable size_t holes = 0;

        bool Remove(const CCBaseListener* listener);
        void Compact() const;
    };
    Entry* Find(const CCBaseEvent& event);
    const Entry* Find(const CCBaseEvent& event) const;

    std::vector<Entry> m_entries;
    unsigned long m_removals = 0;
};

class OSTREL_API CCBaseBroadcaster {
public:
    virtual ~CCBaseBroadcaster() = default;

    bool RegisterListener(const CCBaseEvent& event, CCBaseListener* listener) {
        return m_table.Register(event, listener);
    }
    bool RegisterListener(unsigned id, CCBaseListener* listener) {
        return m_table.Register(CCBaseEvent::GetInstance(id), listener);
    }
    bool UnRegisterListener(const CCBaseEvent& event, CCBaseListener* listener) {
        return m_table.UnRegister(event, listener);
    }
    bool UnRegisterListener(unsigned id, CCBaseListener* listener) {
        return m_table.UnRegister(CCBaseEvent::GetInstance(id), listener);
    }
    void UnRegisterListener(CCBaseListener* listener) { m_table.UnRegister(listener); }

    /// Delivers the event unless events are frozen (a frozen event is dropped, not kept).
    void FireEvent(const CCBaseEvent& event) {
        if (m_freeze == 0) NotifyListeners(event);
    }
    /// Calls OnEvent on each listener of the event, in registration order.
    virtual bool NotifyListeners(const CCBaseEvent& event);
    /// Sets the freeze flag; returns the previous one.
    virtual int FreezeEvents(int flag) {
        int previous = m_freeze;
        m_freeze = flag;
        return previous;
    }

    const CCEvLiTable& GetEventTable() const { return m_table; }

private:
    CCEvLiTable m_table;
    int m_freeze = 0;
};
