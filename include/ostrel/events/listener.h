// SPDX-License-Identifier: Apache-2.0
/// \file
/// The receiving side of events: a listener, and a listener that knows its manager.
#pragma once

#include "ostrel/export.h"

class CCBaseEvent;
class CCCellManager;

class OSTREL_API CCBaseListener {
public:
    virtual ~CCBaseListener() = default;
    virtual bool OnEvent(const CCBaseEvent& event) = 0;
    /// True only for the same object: event tables find a listener by its address.
    virtual bool IsEqual(const CCBaseListener* other) const { return other == this; }
};

class OSTREL_API CCListenerWithManager : public CCBaseListener {
public:
    explicit CCListenerWithManager(CCCellManager* manager = nullptr) : m_pManager(manager) {}

    CCCellManager* GetListenerManager() const { return m_pManager; }
    void SetListenerManager(CCCellManager* manager) { m_pManager = manager; }

protected:
    CCCellManager* m_pManager;  // not owned
};
