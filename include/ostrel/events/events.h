// SPDX-License-Identifier: Apache-2.0
/// \file
/// The events a sheet announces to those who refer to it: its rename and its destruction.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "ostrel/export.h"

class OSTREL_API CCBaseEvent {
public:
    virtual ~CCBaseEvent() = default;
    /// Events compare by id only: two renames with different names are the same event.
    virtual bool IsEqual(const CCBaseEvent* other) const {
        return other && GetId() == other->GetId();
    }
    virtual bool IsEqual(const CCBaseEvent& other) const { return GetId() == other.GetId(); }
    virtual std::unique_ptr<CCBaseEvent> Clone() const = 0;
    virtual unsigned GetId() const { return 0; }

    /// The shared prototype of an event id: 2 the destroy event, any other id the rename.
    static const CCBaseEvent& GetInstance(unsigned id);
};

class OSTREL_API CCSheetRenameEvent : public CCBaseEvent {
public:
    CCSheetRenameEvent() = default;
    CCSheetRenameEvent(std::u16string_view oldName, std::u16string_view newName)
        : m_oldName(oldName), m_newName(newName) {}

    std::unique_ptr<CCBaseEvent> Clone() const override {
        return std::make_unique<CCSheetRenameEvent>(m_oldName, m_newName);
    }
    unsigned GetId() const override { return 1; }
    const std::u16string& GetOldName() const { return m_oldName; }
    const std::u16string& GetNewName() const { return m_newName; }

private:
    std::u16string m_oldName;
    std::u16string m_newName;
};

class OSTREL_API CCDestroySheetEvent : public CCBaseEvent {
public:
    std::unique_ptr<CCBaseEvent> Clone() const override {
        return std::make_unique<CCDestroySheetEvent>();
    }
    unsigned GetId() const override { return 2; }
};
