// SPDX-License-Identifier: Apache-2.0
// A growable array of doubles: the function library gathers the numbers of its arguments
// into one before computing sums, order statistics and the like. It streams as a count
// followed by the raw values.
#pragma once

#include <cstdint>
#include "platform/names.h"

namespace ostrel::platform {
class CArchive;
}  // namespace ostrel::platform
using ostrel::platform::CArchive;
class CCDoubleArray {
public:
    // The stored class name and schema of the streamed object.
    static constexpr const char* kClassName = "CCDoubleArray";
    static constexpr unsigned kSchema = 0;

    CCDoubleArray() = default;
    CCDoubleArray(const CCDoubleArray&) = delete;
    CCDoubleArray& operator=(const CCDoubleArray&) = delete;
    virtual ~CCDoubleArray();

    int GetSize() const { return m_size; }
    int GetUpperBound() const { return m_size - 1; }
    uint32_t GetCapacity() const { return m_capacity; }
    const double* GetData() const { return m_data; }
    double* GetData() { return m_data; }

    // Unchecked access: the caller keeps the index below GetSize().
    double GetAt(int index) const { return m_data[index]; }
    double operator[](int index) const { return m_data[index]; }
    double& ElementAt(int index) { return m_data[index]; }
    double& operator[](int index) { return m_data[index]; }
    void SetAt(int index, double value) { m_data[index] = value; }

    // growBy -1 keeps the current step. A negative size raises CInvalidArgException;
    // allocation failure raises CMemoryException and leaves the array as it was.
    void SetSize(int newSize, int growBy = -1);
    int Add(double value);
    // A negative index raises CInvalidArgException.
    void SetAtGrow(int index, double value);
    // A negative index or a count below 1 raises CInvalidArgException.
    void InsertAt(int index, double value, int count = 1);
    void InsertAt(int index, const CCDoubleArray* other);
    // The block [index, index + count) must lie inside the array (CInvalidArgException).
    void RemoveAt(int index, int count = 1);
    void RemoveAll();
    void FreeExtra();
    void Copy(const CCDoubleArray& other);
    int Append(const CCDoubleArray& other);

    // The count form, then the values as little-endian f64. A stored count larger than the
    // bytes left in a loading archive raises the bad-format exception before any allocation.
    virtual void Serialize(CArchive& ar);

private:
    // Capacity for n elements when the storage must grow: see the implementation.
    uint32_t GrownCapacity(uint32_t needed) const;

    double* m_data = nullptr;  // owned (new[]); null without storage
    int m_size = 0;
    uint32_t m_capacity = 0;
    uint32_t m_growBy = 0;  // 0: automatic
};
