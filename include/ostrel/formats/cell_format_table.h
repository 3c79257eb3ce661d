// SPDX-License-Identifier: Apache-2.0
/// \file
/// CCCellFormatTable: an owning list of cell formats with find-or-add. One process-wide
/// instance interns the formats that cells refer to by index; its entries are never removed
/// while the engine runs, so an index into it stays valid.
#pragma once

#include <cstddef>
#include <memory>
#include <unordered_map>
#include <vector>

#include "ostrel/export.h"
#include "ostrel/formats/cell_format.h"
#include "ostrel/formats/exact_index.h"

class OSTREL_API CCCellFormatTable {
public:
    /// An empty table. Constructing one puts the empty cell format into the process-wide
    /// table (built first, the process-wide table has it as entry 0).
    CCCellFormatTable();
    /// Copies every element of other.
    CCCellFormatTable(const CCCellFormatTable& other);
    CCCellFormatTable& operator=(const CCCellFormatTable&) = delete;
    /// Destroys every element.
    virtual ~CCCellFormatTable();

    /// The index of an equal element (Find), else of a copy appended. The process-wide table
    /// interns by exact identity instead: there Add is AddExact.
    int Add(const CCCellFormat& format);
    /// Appends a copy; returns its index.
    int Append(const CCCellFormat& format);
    /// Appends copies of every element of table, in order.
    void Append(const CCCellFormatTable& table);
    /// Inserts a copy before index (an index beyond the end appends, a negative one inserts
    /// at the front).
    void InsertAt(int index, const CCCellFormat& format);
    /// The first index whose element IsEqual the format; -1 none. On the process-wide table
    /// this is FindExact.
    int Find(const CCCellFormat& format) const;

    /// Exact identity: the same set mask, flag mask, flags and number format index (an index
    /// outside the number format table counts as 0, the entry it reads). Since number formats
    /// are interned by identity too, formats that IsEqual but differ in how they were built
    /// get different indexes; a cell keeps exactly the format it was given.
    static bool IsIdentical(const CCCellFormat& a, const CCCellFormat& b);
    int FindExact(const CCCellFormat& format) const;
    /// The index of an identical element, else of a copy appended (with its number format
    /// index brought into the number format table).
    int AddExact(const CCCellFormat& format);

    /// The element at index; an index outside the table gives element 0. Raises
    /// CInvalidArgException on an empty table. Elements are shared: never changed in place.
    const CCCellFormat* GetAt(int index) const;
    /// Removes and destroys the element; 0 for an index outside the table.
    int DeleteAt(int index);
    /// Removes the element and hands it, with its ownership, to the caller; null for an
    /// index outside the table.
    std::unique_ptr<CCCellFormat> RemoveAt(int index);
    int GetSize() const { return static_cast<int>(m_formats.size()); }

    /// The process-wide table (GetCellFormatTable).
    static CCCellFormatTable& CCellFormats();

private:
    struct ProcessWide {};
    explicit CCCellFormatTable(ProcessWide);
    friend CCCellFormatTable& GetCellFormatTable();

    int AppendOwned(std::unique_ptr<CCCellFormat> format);
    int FindEqual(const CCCellFormat& format) const;
    void IndexEqual(int index) const;
    void InvalidateIndexes();

    std::vector<std::unique_ptr<CCCellFormat>> m_formats;
    /// Set on the process-wide table: Add and Find go by exact identity.
    bool m_interning = false;

    /// Both indexes are built on first use and kept up to date by Append; inserting or
    /// removing shifts indexes, so it drops them to be rebuilt.
    ///
    /// FindEqual's index: equal formats share a key made of their set parts (the number
    /// format by its equality key). A number format whose key is volatile (a unit text)
    /// cannot be bucketed by it: such elements are kept apart by the rest of their key.
    mutable std::unordered_map<size_t, std::vector<int>> m_equalBuckets;
    mutable std::unordered_map<size_t, std::vector<int>> m_withUnitText;
    mutable bool m_equalIndexBuilt = false;
    /// FindExact's index, by the identity fields.
    ostrel::formats::ExactIndex<CCCellFormat> m_exact;
};

/// The process-wide table that cells refer to by index, interning by exact identity.
/// Created on first use with the empty cell format as entry 0.
OSTREL_API CCCellFormatTable& GetCellFormatTable();
