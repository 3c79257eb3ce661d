// SPDX-License-Identifier: Apache-2.0
#include "support/test_host.h"

#include "ostrel/refs/name_ref.h"

#include "ostrel/cells/cell_value.h"
#include "ostrel/platform/utf.h"

namespace testing_support {

CCCellValue NumberValue(double x) {
    CCCellValue v;
    v.Set(x, C_NF_GENERAL);
    return v;
}

TestCell* TestSheet::Find(unsigned char column, uint16_t row) const {
    auto it = m_cells.find({column, row});
    return it == m_cells.end() ? nullptr : it->second.get();
}

TestCell* TestSheet::Cell(unsigned char column, uint16_t row) {
    auto& slot = m_cells[{column, row}];
    if (!slot) slot = std::make_unique<TestCell>(column, row);
    return slot.get();
}

CCItem* TestSheet::LookupItem(const CCRef* ref) {
    if (!ref) return nullptr;
    if (ref->GetType() == REF_TYPE_3D) {
        const auto* r3 = static_cast<const CCRef3D*>(ref);
        CCCellManager* sheet = r3->IsManagerKey() ? FromIdentity(r3->GetKey())
                                                  : GetManForNameIndex(r3->GetFirstSheet());
        if (sheet && sheet != this) return sheet->LookupItem(r3->GetInnerRef());
        return LookupItem(r3->GetInnerRef());
    }
    if (ref->GetType() != REF_TYPE_RC) return nullptr;
    const auto* rc = static_cast<const CCRCRef*>(ref);
    return createOnLookup ? Cell(rc->GetColumn(), rc->GetRow())
                          : Find(rc->GetColumn(), rc->GetRow());
}

void TestSheet::GetRefSize(const CCRef* ref, long& width, long& height) {
    if (ref && ref->GetType() == REF_TYPE_REGION) {
        const auto* r = static_cast<const CCRegionRef*>(ref);
        width = r->GetWidth();
        height = r->GetHeight();
        return;
    }
    width = height = 1;
}

int TestSheet::GetValue(const CCRef* ref, CCCellValue* value, unsigned long index) {
    if (ref && ref->GetType() == REF_TYPE_REGION) {
        unsigned column, row;
        if (!static_cast<const CCRegionRef*>(ref)->CellAt(index, column, row)) return 0;
        TestCell* cell = Find(static_cast<unsigned char>(column), static_cast<uint16_t>(row));
        if (value) {
            if (cell)
                cell->GetValue(*value);
            else
                value->Set();
        }
        return 1;
    }
    return CCCellManager::GetValue(ref, value, index);
}

int TestSheet::IsValidRef(const CCRef* ref) {
    if (ref && ref->GetType() == REF_TYPE_REGION)
        return static_cast<const CCRegionRef*>(ref)->IsNormal();
    if (ref && ref->GetType() == REF_TYPE_NAME && m_family)
        return GetNameIndex(static_cast<const CCNameRef*>(ref)) != 0 ? 1 : 0;
    return CCCellManager::IsValidRef(ref);
}

CCCellManager* TestSheet::GetManForNameIndex(uint16_t index) {
    if (!m_family || index == 0 || index > m_family->size()) return nullptr;
    return (*m_family)[index - 1];
}

uint16_t TestSheet::GetNameIndex(std::u16string_view name) {
    if (!m_family) return 1;
    for (size_t i = 0; i < m_family->size(); ++i) {
        std::u16string other;
        (*m_family)[i]->GetSheetName(other);
        if (other == name) return static_cast<uint16_t>(i + 1);
    }
    return 0;
}

uint16_t TestSheet::GetNameIndex(const CCNameRef* name) {
    if (!name || !name->GetName()) return 0;
    return GetNameIndex(std::u16string_view(name->GetName()));
}

std::u16string TestSheet::ValueText(unsigned char column, uint16_t row) {
    CCRCRef ref(column, row);
    std::u16string text;
    GetCellValueText(&ref, text);
    return text;
}

void TestSheet::Type(unsigned char column, uint16_t row, std::u16string_view text) {
    CCRCRef ref(column, row);
    SetCellText(&ref, text);
}

std::string TestSheet::Shown(unsigned char column, uint16_t row) {
    return ostrel::ToUtf8(ValueText(column, row));
}

std::string TestSheet::Formula(unsigned char column, uint16_t row) {
    CCRCRef ref(column, row);
    std::u16string text;
    GetCellFormula(&ref, text);
    return ostrel::ToUtf8(text);
}

void TestSheet::SetNumber(unsigned char column, uint16_t row, double x) {
    CCCellValue v = NumberValue(x);
    CCRCRef ref(column, row);
    SetValue(&ref, &v);
}

void TestSheet::Settle() {
    while (DoIdle(1)) {
    }
}

}  // namespace testing_support
