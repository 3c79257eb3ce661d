// SPDX-License-Identifier: Apache-2.0
/// \file
/// The operations shared by the framework-style arrays (CPtrArray, CStringArray): a growable
/// array indexed from 0 whose every access is checked. An index outside the array, a negative
/// size or count raises CInvalidArgException; a size that cannot be allocated raises
/// CMemoryException. Nothing is ever read or written outside the elements.
#pragma once

#include <cstdint>
#include <new>
#include <stdexcept>
#include <utility>
#include <vector>

#include "ostrel/platform/exceptions.h"

namespace ostrel {

template <class T>
class CTypedArray {
public:
    using value_type = T;

    intptr_t GetSize() const { return static_cast<intptr_t>(m_items.size()); }
    intptr_t GetCount() const { return GetSize(); }
    intptr_t GetUpperBound() const { return GetSize() - 1; }
    bool IsEmpty() const { return m_items.empty(); }

    /// New slots hold T() (null for pointers, the empty string for strings); slots beyond
    /// the new size are dropped.
    void SetSize(intptr_t newSize) {
        if (newSize < 0) throw CInvalidArgException();
        Guarded([&] { m_items.resize(static_cast<size_t>(newSize)); });
    }

    const T& GetAt(intptr_t index) const { return m_items[Checked(index)]; }
    void SetAt(intptr_t index, const T& value) { m_items[Checked(index)] = value; }
    T& ElementAt(intptr_t index) { return m_items[Checked(index)]; }
    const T& ElementAt(intptr_t index) const { return m_items[Checked(index)]; }
    T& operator[](intptr_t index) { return m_items[Checked(index)]; }
    const T& operator[](intptr_t index) const { return m_items[Checked(index)]; }

    /// Appends value and returns its index.
    intptr_t Add(const T& value) {
        Guarded([&] { m_items.push_back(value); });
        return GetUpperBound();
    }

    /// Inserts count copies of value before index; index may equal GetSize() (append).
    void InsertAt(intptr_t index, const T& value, intptr_t count = 1) {
        if (index < 0 || index > GetSize() || count < 0) throw CInvalidArgException();
        if (count == 0) return;
        T copy = value;  // value may be one of our own elements, which the insert moves
        Guarded([&] { m_items.insert(m_items.begin() + index, static_cast<size_t>(count), copy); });
    }

    /// Removes count elements from index on; all of them must exist.
    void RemoveAt(intptr_t index, intptr_t count = 1) {
        if (index < 0 || count < 0 || index > GetSize() || count > GetSize() - index)
            throw CInvalidArgException();
        m_items.erase(m_items.begin() + index, m_items.begin() + index + count);
    }

    void RemoveAll() { m_items.clear(); }

    /// The elements as a contiguous block (may be null when the array is empty).
    T* GetData() { return m_items.data(); }
    const T* GetData() const { return m_items.data(); }

    /// Appends the elements of source (which may be this array); returns the index of the
    /// first appended element.
    intptr_t Append(const CTypedArray& source) {
        intptr_t first = GetSize();
        Guarded([&] {
            if (&source == this) {
                /// Inserting a vector's own range into it is not allowed; reserve first so
                /// that copying element by element never reads a moved buffer.
                size_t n = m_items.size();
                m_items.reserve(2 * n);
                for (size_t i = 0; i < n; ++i)
                    m_items.push_back(m_items[i]);
            } else {
                m_items.insert(m_items.end(), source.m_items.begin(), source.m_items.end());
            }
        });
        return first;
    }

    /// Makes this array an element-by-element copy of source.
    void Copy(const CTypedArray& source) {
        if (&source != this) Guarded([&] { m_items = source.m_items; });
    }

    auto begin() { return m_items.begin(); }
    auto end() { return m_items.end(); }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

protected:
    size_t Checked(intptr_t index) const {
        if (index < 0 || index >= GetSize()) throw CInvalidArgException();
        return static_cast<size_t>(index);
    }

    /// Turns the standard library's allocation failures into the engine's memory exception.
    template <class F>
    static void Guarded(F&& f) {
        try {
            f();
        } catch (const std::bad_alloc&) {
            throw CMemoryException();
        } catch (const std::length_error&) {
            throw CMemoryException();
        }
    }

    std::vector<T> m_items;
};

}  // namespace ostrel
