// CCNumberFormatTable: an owning list of number formats with find-or-add. One process-wide
// instance interns the number formats of all cell formats; its entries are never removed
// while the engine runs, so an index into it stays valid.
#pragma once

#include <cstddef>
#include <memory>
#include <unordered_map>
#include <vector>

#include "formats/number_format.h"

class CCNumberFormatTable {
  public:
    // An empty table. Constructing one puts the General format into the process-wide table
    // (built first, the process-wide table has General as entry 0).
    CCNumberFormatTable();
    // Copies every element of other.
    CCNumberFormatTable(const CCNumberFormatTable& other);
    CCNumberFormatTable& operator=(const CCNumberFormatTable&) = delete;
    // Destroys every element.
    virtual ~CCNumberFormatTable();

    // Appends copies of every element of table, in order.
    void Append(const CCNumberFormatTable& table);
    // Appends a copy; returns its index.
    int Append(const CCNumberFormat& format);
    // Inserts a copy before index (an index beyond the end appends, a negative one inserts
    // at the front).
    void InsertAt(int index, const CCNumberFormat& format);
    // The index of an equal element (Find), else of a copy appended.
    int Add(const CCNumberFormat& format);
    // The first index whose element IsEqual the format under the invariant locale; -1 none.
    int Find(const CCNumberFormat& format) const;
    // The element at index; an index outside the table gives element 0. Raises
    // CInvalidArgException on an empty table. Elements are shared: never changed in place.
    const CCNumberFormat* GetAt(int index) const;
    // Removes and destroys the element; 0 for an index outside the table.
    int DeleteAt(int index);
    // Removes the element and hands it, with its ownership, to the caller; null for an
    // index outside the table.
    std::unique_ptr<CCNumberFormat> RemoveAt(int index);
    int GetSize() const { return static_cast<int>(m_formats.size()); }

  private:
    struct ProcessWide {};
    explicit CCNumberFormatTable(ProcessWide);
    friend CCNumberFormatTable& GetNumberFormatTable();

    void IndexElement(int index) const;
    void RebuildIndex() const;

    std::vector<std::unique_ptr<CCNumberFormat>> m_formats;

    // Find's index. Equal formats share a key (the code a format shows, or the packed bytes
    // of kinds without a code form), so Find only compares the elements of one bucket. A
    // Number format with a unit text converts through the process-wide unit-text list,
    // which may change, so those formats are kept apart and compared one by one.
    mutable std::unordered_map<size_t, std::vector<int>> m_buckets;
    mutable std::vector<int> m_withUnitText;
    mutable bool m_indexValid = true;
};

// The process-wide table that interns the number formats of cell formats.
CCNumberFormatTable& GetNumberFormatTable();
