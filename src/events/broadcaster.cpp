// SPDX-License-Identifier: Apache-2.0
#include "ostrel/events/broadcaster.h"

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

bool CCEvLiTable::Entry::Remove(const CCBaseListener* listener) {
    auto it = position.find(listener);
    if (it == position.end()) return false;
    listeners[it->second] = nullptr;
    position.erase(it);
    ++holes;
    return true;
}

void CCEvLiTable::Entry::Compact() const {
    if (holes == 0) return;
    std::erase(listeners, nullptr);
    for (size_t i = 0; i < listeners.size(); ++i)
        position[listeners[i]] = i;
    holes = 0;
}

bool CCEvLiTable::Register(const CCBaseEvent& event, CCBaseListener* listener) {
    if (!listener) return false;
    Entry* entry = Find(event);
    if (!entry) {
        m_entries.push_back(Entry{event.Clone(), {}, {}, 0});
        entry = &m_entries.back();
    }
    if (entry->position.emplace(listener, entry->listeners.size()).second)
        entry->listeners.push_back(listener);
    return true;
}

bool CCEvLiTable::UnRegister(const CCBaseEvent& event, CCBaseListener* listener) {
    if (!listener) return false;
    Entry* entry = Find(event);
    if (!entry || !entry->Remove(listener)) return false;
    ++m_removals;
    return true;
}

void CCEvLiTable::UnRegister(CCBaseListener* listener) {
    if (!listener) return;
    for (Entry& entry : m_entries)
        if (entry.Remove(listener)) ++m_removals;
}

const CCEvLiTable::ListenerList& CCEvLiTable::GetListenersOf(const CCBaseEvent& event) const {
    static const ListenerList empty;
    const Entry* entry = Find(event);
    if (!entry) return empty;
    entry->Compact();
    return entry->listeners;
}

bool CCEvLiTable::Has(const CCBaseEvent& event, const CCBaseListener* listener) const {
    const Entry* entry = Find(event);
    return entry && entry->position.contains(listener);
}

bool CCBaseBroadcaster::NotifyListeners(const CCBaseEvent& event) {
    // A listener may unregister itself (or others) while it handles the event: walk a
    // snapshot, and skip those that left the table meanwhile.
    const CCEvLiTable::ListenerList snapshot = m_table.GetListenersOf(event);
    const unsigned long removals = m_table.RemovalCount();
    for (CCBaseListener* listener : snapshot) {
        if (m_table.RemovalCount() != removals && !m_table.Has(event, listener)) continue;
        listener->OnEvent(event);
    }
    return true;
}
