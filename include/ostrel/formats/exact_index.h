// SPDX-License-Identifier: Apache-2.0
/// \file
/// The positions of a format table's entries by an identity hash, built on first use and kept
/// up to date as entries are appended: interning a format finds its exact twin in constant
/// time. keyOf(format) gives the identity hash; same(a, b) says whether two are identical.
#pragma once

#include <cstddef>
#include <memory>
#include <unordered_map>
#include <vector>

namespace ostrel::formats {

template <class Format>
class ExactIndex {
public:
    using Entries = std::vector<std::unique_ptr<Format>>;

    /// The first entry identical to format, or -1.
    template <class KeyOf, class Same>
    int Find(const Entries& entries, const Format& format, KeyOf keyOf, Same same) const {
        if (!m_built) {
            m_built = true;
            for (size_t i = 0; i < entries.size(); ++i)
                m_buckets[keyOf(*entries[i])].push_back(int(i));
        }
        auto bucket = m_buckets.find(keyOf(format));
        if (bucket == m_buckets.end()) return -1;
        for (int i : bucket->second)
            if (same(*entries[size_t(i)], format)) return i;
        return -1;
    }
    /// Entry index was appended.
    template <class KeyOf>
    void Appended(const Entries& entries, int index, KeyOf keyOf) {
        if (m_built) m_buckets[keyOf(*entries[size_t(index)])].push_back(index);
    }
    void Reset() {
        m_buckets.clear();
        m_built = false;
    }

private:
    mutable std::unordered_map<size_t, std::vector<int>> m_buckets;
    mutable bool m_built = false;
};

}  // namespace ostrel::formats
