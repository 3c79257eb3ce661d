// SPDX-License-Identifier: Apache-2.0
#include "cells/double_array.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

#include "ostrel/platform/archive.h"
#include "ostrel/platform/exceptions.h"
#include "platform/names.h"

namespace {

double* Allocate(uint64_t count) {
    if (count > uint64_t(INT_MAX)) throw CMemoryException();
    double* data = new (std::nothrow) double[size_t(count)];
    if (!data) throw CMemoryException();
    return data;
}

// Arrays beyond this many elements grow by an eighth of their size without the 1024 cap:
// with the cap, gathering millions of values one by one would copy the array thousands of
// times.
constexpr uint32_t kUncappedFrom = 65536;

}  // namespace

CCDoubleArray::~CCDoubleArray() {
    delete[] m_data;
}

// The automatic step is an eighth of the size, at least 4; below kUncappedFrom elements it
// is at most 1024 (so small and middle arrays keep their well-known capacities), from there
// on it is uncapped and growth is geometric.
uint32_t CCDoubleArray::GrownCapacity(uint32_t needed) const {
    uint64_t step = m_growBy;
    if (step == 0) {
        step = std::max<uint64_t>(uint64_t(m_size) / 8, 4);
        if (uint32_t(m_size) < kUncappedFrom) step = std::min<uint64_t>(step, 1024);
    }
    uint64_t grown = std::max<uint64_t>(uint64_t(m_capacity) + step, needed);
    return uint32_t(std::min<uint64_t>(grown, uint64_t(INT_MAX)));
}

void CCDoubleArray::SetSize(int newSize, int growBy) {
    if (newSize < 0 || growBy < -1) throw CInvalidArgException();
    if (growBy != -1) m_growBy = uint32_t(growBy);
    if (newSize == 0) {
        delete[] m_data;
        m_data = nullptr;
        m_size = 0;
        m_capacity = 0;
        return;
    }
    if (!m_data) {
        m_data = Allocate(uint32_t(newSize));
        std::fill_n(m_data, newSize, 0.0);
        m_size = newSize;
        m_capacity = uint32_t(newSize);
        return;
    }
    if (uint32_t(newSize) <= m_capacity) {
        if (newSize > m_size) std::fill(m_data + m_size, m_data + newSize, 0.0);
        m_size = newSize;
        return;
    }
    const uint32_t capacity = GrownCapacity(uint32_t(newSize));
    double* data = Allocate(capacity);
    std::copy_n(m_data, m_size, data);
    std::fill(data + m_size, data + newSize, 0.0);
    delete[] m_data;
    m_data = data;
    m_size = newSize;
    m_capacity = capacity;
}

int CCDoubleArray::Add(double value) {
    if (m_size == INT_MAX) throw CMemoryException();
    const int index = m_size;
    SetSize(index + 1);
    m_data[index] = value;
    return index;
}

void CCDoubleArray::SetAtGrow(int index, double value) {
    if (index < 0 || index == INT_MAX) throw CInvalidArgException();
    if (index >= m_size) SetSize(index + 1);
    m_data[index] = value;
}

void CCDoubleArray::InsertAt(int index, double value, int count) {
    if (index < 0 || count < 1 || count > INT_MAX - std::max(index, m_size))
        throw CInvalidArgException();
    if (index < m_size) {
        const int oldSize = m_size;
        SetSize(m_size + count);
        std::memmove(m_data + index + count, m_data + index,
                     sizeof(double) * size_t(oldSize - index));
    } else {
        SetSize(index + count);
    }
    std::fill_n(m_data + index, count, value);
}

void CCDoubleArray::InsertAt(int index, const CCDoubleArray* other) {
    if (index < 0) throw CInvalidArgException();
    if (!other || other->m_size == 0) return;
    // The other array may be this one: insert from a copy.
    const int count = other->m_size;
    double* values = Allocate(uint32_t(count));
    std::copy_n(other->m_data, count, values);
    try {
        InsertAt(index, values[0], count);
    } catch (...) {
        delete[] values;
        throw;
    }
    std::copy_n(values, count, m_data + index);
    delete[] values;
}

void CCDoubleArray::RemoveAt(int index, int count) {
    if (index < 0 || count < 0 || index > m_size || count > m_size - index)
        throw CInvalidArgException();
    const int after = m_size - (index + count);
    if (after) std::memmove(m_data + index, m_data + index + count, sizeof(double) * size_t(after));
    m_size -= count;
}

void CCDoubleArray::RemoveAll() {
    SetSize(0);
}

void CCDoubleArray::FreeExtra() {
    if (uint32_t(m_size) == m_capacity) return;
    if (m_size == 0) {
        RemoveAll();
        return;
    }
    double* data = Allocate(uint32_t(m_size));
    std::copy_n(m_data, m_size, data);
    delete[] m_data;
    m_data = data;
    m_capacity = uint32_t(m_size);
}

void CCDoubleArray::Copy(const CCDoubleArray& other) {
    if (&other == this) return;
    SetSize(other.m_size);
    if (other.m_size) std::copy_n(other.m_data, other.m_size, m_data);
}

int CCDoubleArray::Append(const CCDoubleArray& other) {
    const int oldSize = m_size;
    const int count = other.m_size;
    if (count == 0) return oldSize;
    if (count > INT_MAX - oldSize) throw CMemoryException();
    SetSize(oldSize + count);
    // other may be this array; its first count elements are still in place.
    std::copy_n(other.m_data, count, m_data + oldSize);
    return oldSize;
}

void CCDoubleArray::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteCount(uint64_t(m_size));
        for (int i = 0; i < m_size; ++i)
            ar << m_data[i];
        return;
    }
    const uint64_t count = ar.ReadCount();
    if (count > uint64_t(INT_MAX) || count > ar.GetBytesLeft() / sizeof(double))
        throw CArchiveException(CArchiveException::badFormat);
    SetSize(int(count));
    for (uint64_t i = 0; i < count; ++i)
        ar >> m_data[i];
}
