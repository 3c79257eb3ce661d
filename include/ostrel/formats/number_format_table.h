// SPDX-License-Identifier: Apache-2.0
/// \file
/// CCNumberFormatTable: an owning list of number formats with find-or-add. One process-wide
/// instance interns the number formats of all cell formats; its entries are never removed
/// while the engine runs, so an index into it stays valid.
#pragma once

#include <cstddef>
#include <memory>
#include <unordered_map>
#include <vector>

#include "ostrel/export.h"
#include "ostrel/formats/exact_index.h"
#include "ostrel/formats/number_format.h"

class OSTREL_API CCNumberFormatTable {
public:
    /// An empty table. Constructing one puts the General format into the process-wide table
    /// (built first, the process-wide table has General as entry 0).
    CCNumberFormatTable();
    /// Copies every element of other.
    CCNumberFormatTable(const CCNumberFormatTable& other);
    CCNumberFormatTable& operator=(const CCNumberFormatTable&) = delete;
    /// Destroys every element.
    virtual ~CCNumberFormatTable();

    /// Appends copies of every element of table, in order.
    void Append(const CCNumberFormatTable& table);
    /// Appends a copy; returns its index.
    int Append(const CCNumberFormat& format);
    /// Inserts a copy before index (an index beyond the end appends, a negative one inserts
    /// at the front).
    void InsertAt(int index, const CCNumberFormat& format);
    /// The index of an equal element (Find), else of a copy appended. The process-wide table
    /// interns by exact identity instead: there Add is AddExact.
    int Add(const CCNumberFormat& format);
    /// The first index whose element IsEqual the format under the invariant locale; -1 none.
    /// On the process-wide table this is FindExact.
    int Find(const CCNumberFormat& format) const;

    /// Exact identity: the same set mask, kind, both flag bytes, text slot, custom flag and
    /// (for a custom format) code. IsEqual is too coarse to intern by: it ignores the set
    /// mask and the leading/trailing bit, so a "kg 5" format would take the index of a
    /// "5 kg" one, and what a stream stores would depend on what was interned first.
    static bool IsIdentical(const CCNumberFormat& a, const CCNumberFormat& b);
    /// The first index of an identical element; -1 none.
    int FindExact(const CCNumberFormat& format) const;
    /// The index of an identical element, else of a copy appended. A copy of a custom format
    /// re-derives its kind from the code, so the copy is what is looked for when the two
    /// differ; interning the same format twice never adds twice.
    int AddExact(const CCNumberFormat& format);

    /// A hash shared by every two formats that IsEqual under the invariant locale, for the
    /// indexes of things that hold number formats. A classic Number format with a unit text
    /// converts through the process-wide unit-text list, which may change: its key holds only
    /// for the moment (HasVolatileKey), so an index must keep such formats apart.
    static size_t EqualityKey(const CCNumberFormat& format);
    static bool HasVolatileKey(const CCNumberFormat& format);

    /// The element at index; an index outside the table gives element 0. Raises
    /// CInvalidArgException on an empty table. Elements are shared: never changed in place.
    const CCNumberFormat* GetAt(int index) const;
    /// Removes and destroys the element; 0 for an index outside the table.
    int DeleteAt(int index);
    /// Removes the element and hands it, with its ownership, to the caller; null for an
    /// index outside the table.
    std::unique_ptr<CCNumberFormat> RemoveAt(int index);
    int GetSize() const { return static_cast<int>(m_formats.size()); }

private:
    struct ProcessWide {};
    explicit CCNumberFormatTable(ProcessWide);
    friend CCNumberFormatTable& GetNumberFormatTable();

    int AppendOwned(std::unique_ptr<CCNumberFormat> format);
    int FindEqual(const CCNumberFormat& format) const;
    void IndexEqual(int index) const;
    void InvalidateIndexes();

    std::vector<std::unique_ptr<CCNumberFormat>> m_formats;
    /// Set on the process-wide table: Add and Find go by exact identity.
    bool m_interning = false;

    /// Both indexes are built on first use and kept up to date by Append; inserting or
    /// removing shifts indexes, so it drops them to be rebuilt.
    ///
    /// FindEqual's index: equal formats share an EqualityKey, so only the elements of one
    /// bucket are compared. Formats with a volatile key are kept apart and compared one by
    /// one.
    mutable std::unordered_map<size_t, std::vector<int>> m_equalBuckets;
    mutable std::vector<int> m_withUnitText;
    mutable bool m_equalIndexBuilt = false;
    /// FindExact's index, by the identity fields.
    ostrel::formats::ExactIndex<CCNumberFormat> m_exact;
};

/// The process-wide table that interns the number formats of cell formats, by exact
/// identity. Created on first use with General as entry 0.
OSTREL_API CCNumberFormatTable& GetNumberFormatTable();
