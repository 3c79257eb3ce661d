// SPDX-License-Identifier: Apache-2.0
// Array constants: values row by row, rows separated by nodes without a value.
#include <algorithm>

#include "ostrel/cells/cell_value.h"
#include "ostrel/platform/geometry.h"
#include "platform/names.h"

SCCellValueList* CellValueListCreate(CCCellValue* value) {
    auto* node = new SCCellValueList;
    node->m_pValue = value;
    return node;
}

void CellValueListAddLast(SCCellValueList*& list, CCCellValue* value) {
    SCCellValueList** tail = &list;
    while (*tail)
        tail = &(*tail)->m_pNext;
    *tail = CellValueListCreate(value);
}

void CellValueListAddRow(SCCellValueList*& list, SCCellValueList* row) {
    SCCellValueList** tail = &list;
    while (*tail)
        tail = &(*tail)->m_pNext;
    *tail = CellValueListCreate(nullptr);
    (*tail)->m_pNext = row;
}

void CellValueListFree(SCCellValueList* list, int freeValues) {
    while (list) {
        SCCellValueList* next = list->m_pNext;
        if (freeValues) delete list->m_pValue;
        delete list;
        list = next;
    }
}

CSize CalcCellValueArraySize(const SCCellValueList* list) {
    if (!list) return CSize(0, 0);
    long widest = 0, rows = 0, count = 0;
    for (; list; list = list->m_pNext) {
        if (list->m_pValue) {
            ++count;
        } else {
            ++rows;
            widest = std::max(widest, count);
            count = 0;
        }
    }
    ++rows;
    widest = std::max(widest, count);
    return CSize(widest, rows);
}
