// SPDX-License-Identifier: Apache-2.0
// Reading a range through a handle: value by value, or row by row as records.
#include <algorithm>
#include <limits>

#include "ostrel/cells/cell_value.h"
#include "ostrel/engine/cell_manager.h"
#include "ostrel/platform/geometry.h"
#include "ostrel/platform/ptr_array.h"
#include "ostrel/refs/ref.h"
#include "platform/names.h"

namespace {
// Handles are 16-bit and 0 is never one.
constexpr size_t kMaxOpenRefs = 65535;
}  // namespace

CCCellManager::OpenEntry* CCCellManager::Entry(uint16_t handle) {
    if (handle == 0 || handle > m_openRefs.size()) return nullptr;
    OpenEntry& entry = m_openRefs[handle - 1];
    return entry.ref ? &entry : nullptr;
}

uint16_t CCCellManager::OpenRef(const CCRef* ref) {
    if (!ref || !IsValidRef(ref)) return 0;
    long width = 0, height = 0;
    GetRefSize(ref, width, height);
    if (width < 1 || height < 1) return 0;
    if (uint64_t(width) * uint64_t(height) > std::numeric_limits<uint32_t>::max()) return 0;
    size_t slot;
    if (!m_freeOpenSlots.empty()) {
        slot = *m_freeOpenSlots.begin();
        m_freeOpenSlots.erase(m_freeOpenSlots.begin());
    } else {
        if (m_openRefs.size() >= kMaxOpenRefs) return 0;
        slot = m_openRefs.size();
        m_openRefs.emplace_back();
    }
    OpenEntry& entry = m_openRefs[slot];
    entry.ref.reset(ref->Copy());
    entry.position = 0;
    entry.width = static_cast<unsigned long>(width);
    entry.height = static_cast<unsigned long>(height);
    return static_cast<uint16_t>(slot + 1);
}

int CCCellManager::CloseRef(uint16_t handle) {
    OpenEntry* entry = Entry(handle);
    if (!entry) return 0;
    entry->ref.reset();
    m_freeOpenSlots.insert(size_t(handle - 1));
    // Trailing free entries are given back, so the table shrinks when ranges are closed.
    while (!m_openRefs.empty() && !m_openRefs.back().ref) {
        m_freeOpenSlots.erase(m_openRefs.size() - 1);
        m_openRefs.pop_back();
    }
    return 1;
}

int CCCellManager::RefSize(uint16_t handle, CSize* size) {
    OpenEntry* entry = Entry(handle);
    if (!entry) return 0;
    if (size) *size = CSize(int32_t(entry->width), int32_t(entry->height));
    return 1;
}

int CCCellManager::NextValue(uint16_t handle, CCCellValue* value) {
    OpenEntry* entry = Entry(handle);
    if (!entry || entry->position >= entry->width * entry->height) return 0;
    CCCellValue read;
    if (!GetValue(entry->ref.get(), &read, entry->position)) read.Set(1);
    if (value) *value = read;
    ++entry->position;
    return 1;
}

int CCCellManager::NextValues(uint16_t handle, CCCellValue* values, int most) {
    OpenEntry* entry = Entry(handle);
    if (!entry || most <= 0 || entry->position >= entry->width * entry->height) return 0;
    const unsigned long count =
        std::min(static_cast<unsigned long>(most), entry->width * entry->height - entry->position);
    if (count > 1 && ReadValues(entry->ref.get(), entry->position, count, values)) {
        entry->position += count;
        return static_cast<int>(count);
    }
    return NextValue(handle, values);
}

bool CCCellManager::ReadValues(const CCRef*, unsigned long, unsigned long, CCCellValue*) {
    return false;
}

int CCCellManager::LoadRecord(OpenEntry& entry, unsigned long position, CPtrArray* record) {
    const unsigned long end = entry.width * entry.height;
    if (record) {
        record->SetSize(intptr_t(entry.width));
        for (unsigned long i = 0; i < entry.width; ++i) {
            auto* value = new CCCellValue();
            // A row past the end reads as error 1; the host is never asked for an index it
            // does not have.
            if (position + i >= end || !GetValue(entry.ref.get(), value, position + i))
                value->Set(1);
            record->SetAt(intptr_t(i), value);
        }
    }
    unsigned long next = position + entry.width;
    entry.position = next < end ? next : end;
    return 1;
}

int CCCellManager::GetFirstRecord(uint16_t handle, CPtrArray* record) {
    OpenEntry* entry = Entry(handle);
    return entry ? LoadRecord(*entry, 0, record) : 0;
}

int CCCellManager::GetNextRecord(uint16_t handle, CPtrArray* record) {
    OpenEntry* entry = Entry(handle);
    return entry ? LoadRecord(*entry, entry->position, record) : 0;
}

int CCCellManager::GetPreviousRecord(uint16_t handle, CPtrArray* record) {
    OpenEntry* entry = Entry(handle);
    if (!entry) return 0;
    // There is no row before the first: below two rows in, nothing is loaded.
    if (entry->position < 2 * entry->width) return 0;
    return LoadRecord(*entry, entry->position - 2 * entry->width, record);
}

int CCCellManager::GetLastRecord(uint16_t handle, CPtrArray* record) {
    OpenEntry* entry = Entry(handle);
    return entry ? LoadRecord(*entry, (entry->height - 1) * entry->width, record) : 0;
}

int CCCellManager::GetRecord(uint16_t handle, unsigned long n, CPtrArray* record) {
    OpenEntry* entry = Entry(handle);
    if (!entry || n < 1 || n > entry->height) return 0;
    return LoadRecord(*entry, (n - 1) * entry->width, record);
}
