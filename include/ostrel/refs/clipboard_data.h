// SPDX-License-Identifier: Apache-2.0
/// \file
/// What the host records when it pastes a copied block: where the block came from, where it
/// goes and whether the paste transposes rows and columns.
#pragma once

#include "ostrel/export.h"

class OSTREL_API CCClipboardData {
public:
    CCClipboardData() = default;
    CCClipboardData(long sourceColumn, long sourceRow, long targetColumn, long targetRow,
                    bool transpose)
        : m_sourceColumn(sourceColumn),
          m_sourceRow(sourceRow),
          m_targetColumn(targetColumn),
          m_targetRow(targetRow),
          m_transpose(transpose) {}

    long m_sourceColumn = 0;
    long m_sourceRow = 0;
    long m_targetColumn = 0;
    long m_targetRow = 0;
    bool m_transpose = false;
};
