// SPDX-License-Identifier: Apache-2.0
#include "ostrel/engine/value_changes.h"

namespace ostrel::engine {

namespace {
uint64_t g_globalEpoch = 0;
}  // namespace

void ValueChanges::Note(unsigned column, unsigned row) {
    ++m_sequence;
    if (column < kColumns) {
        ++m_columns[column];
        m_kept[m_sequence % kKept] = Change{m_sequence, row, column};
    } else {
        ++m_epoch;
    }
}

uint64_t ValueChanges::ColumnsCount(unsigned first, unsigned last) const {
    uint64_t sum = 0;
    for (unsigned c = first; c <= last && c < kColumns; ++c)
        sum += m_columns[c];
    return sum;
}

void ValueChanges::NoteAnywhere() {
    ++g_globalEpoch;
}

uint64_t ValueChanges::GlobalEpoch() {
    return g_globalEpoch;
}

}  // namespace ostrel::engine
