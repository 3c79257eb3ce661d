#include "events/broadcaster.h"

#include <algorithm>

const CCBaseEvent& CCBaseEvent::GetInstance(unsigned id) {
    static const CCSheetRenameEvent rename;
    static const CCDestroySheetEvent destroy;
    if (id == 2) return destroy;
    return rename;
}

CCEvLiTable::Entry* CCEvLiTable::Find(const CCBaseEvent& event) {
    for (Entry& entry : m_entries)
        if (entry.event->IsEqual(event)) return &entry;
    return nullptr;
}

const CCEvLiTable::Entry* CCEvLiTable::Find(const CCBaseEvent& event) const {
    for (const Entry& entry : m_entries)
        if (entry.event->IsEqual(event)) return &entry;
    return nullptr;
}

bool CCEvLiTable::Register(const CCBaseEvent& event, CCBaseListener* listener) {
    if (!listener) return false;
    Entry* entry = Find(event);
    if (!entry) {
        m_entries.push_back(Entry{event.Clone(), {}});
        entry = &m_entries.back();
    }
    for (CCBaseListener* present : entry->listeners)
        if (present->IsEqual(listener)) return true;
    entry->listeners.push_back(listener);
    return true;
}

bool CCEvLiTable::UnRegister(const CCBaseEvent& event, CCBaseListener* listener) {
    if (!listener) return false;
    Entry* entry = Find(event);
    if (!entry) return false;
    for (auto it = entry->listeners.begin(); it != entry->listeners.end(); ++it) {
        if ((*it)->IsEqual(listener)) {
            entry->listeners.erase(it);
            ++m_removals;
            return true;
        }
    }
    return false;
}

void CCEvLiTable::UnRegister(CCBaseListener* listener) {
    if (!listener) return;
    for (Entry& entry : m_entries)
        if (std::erase_if(entry.listeners, [&](CCBaseListener* l) { return l->IsEqual(listener); }))
            ++m_removals;
}

const CCEvLiTable::ListenerList& CCEvLiTable::GetListenersOf(const CCBaseEvent& event) const {
    static const ListenerList empty;
    const Entry* entry = Find(event);
    return entry ? entry->listeners : empty;
}

bool CCBaseBroadcaster::NotifyListeners(const CCBaseEvent& event) {
    // A listener may unregister itself (or others) while it handles the event: walk a
    // snapshot, and skip those that left the table meanwhile.
    const CCEvLiTable::ListenerList snapshot = m_table.GetListenersOf(event);
    const unsigned long removals = m_table.RemovalCount();
    for (CCBaseListener* listener : snapshot) {
        if (m_table.RemovalCount() != removals) {
            const CCEvLiTable::ListenerList& current = m_table.GetListenersOf(event);
            if (std::find(current.begin(), current.end(), listener) == current.end()) continue;
        }
        listener->OnEvent(event);
    }
    return true;
}
