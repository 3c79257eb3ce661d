// SPDX-License-Identifier: Apache-2.0
// A host that keeps the cells in a store of its own and lets the engine type and calculate
// them: the engine-level road, for programs that bring their own spreadsheet. Prints the
// display text of a few cells, one per line.
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "ostrel/cells.h"

namespace {

class Cell : public CCCell {
public:
    Cell(unsigned char column, uint16_t row) : m_ref(column, row) {}
    const CCRef* GetRef() const override { return &m_ref; }
    bool IsEqual(const CCItem* other) const override {
        return other && other->GetRef() && m_ref.IsEqual(other->GetRef());
    }

private:
    CCRCRef m_ref;
};

class Sheet;

class Context : public cells::CTX {
public:
    explicit Context(CCCellManager* sheet) : m_sheet(sheet) {}
    cells::LCTX* GetLCTX() override { return cells::invariant_LCTX(); }
    CCCellManager* GetManager() override { return m_sheet; }

private:
    CCCellManager* m_sheet;
};

class Sheet : public CCCellManager {
public:
    Sheet() : m_ctx(this) {}
    ~Sheet() override { ReleaseContents(); }
    cells::CTX* GetCTX() override { return &m_ctx; }
    cells::CTX* GetCTX() const override { return const_cast<Context*>(&m_ctx); }
    // A spreadsheet: its references are cells and ranges of the grid.
    int GetType() const override { return 1; }

    // A cell is made when something is stored into it or a formula reads it.
    CCItem* LookupItem(const CCRef* ref) override {
        if (ref && ref->GetType() == REF_TYPE_3D)
            return LookupItem(static_cast<const CCRef3D*>(ref)->GetInnerRef());
        if (!ref || ref->GetType() != REF_TYPE_RC) return nullptr;
        const auto* rc = static_cast<const CCRCRef*>(ref);
        auto& cell = m_cells[{rc->GetColumn(), rc->GetRow()}];
        if (!cell) cell = std::make_unique<Cell>(rc->GetColumn(), rc->GetRow());
        return cell.get();
    }
    // Ranges are read position by position; an empty position reads as empty.
    int IsValidRef(const CCRef* ref) override {
        if (ref && ref->GetType() == REF_TYPE_REGION)
            return static_cast<const CCRegionRef*>(ref)->IsNormal();
        return CCCellManager::IsValidRef(ref);
    }
    void GetRefSize(const CCRef* ref, long& width, long& height) override {
        width = height = 1;
        if (ref && ref->GetType() == REF_TYPE_REGION) {
            width = static_cast<const CCRegionRef*>(ref)->GetWidth();
            height = static_cast<const CCRegionRef*>(ref)->GetHeight();
        }
    }
    int GetValue(const CCRef* ref, CCCellValue* value, unsigned long index) override {
        if (!ref || ref->GetType() != REF_TYPE_REGION)
            return CCCellManager::GetValue(ref, value, index);
        unsigned column, row;
        if (!static_cast<const CCRegionRef*>(ref)->CellAt(index, column, row)) return 0;
        auto it = m_cells.find({column, row});
        if (value) {
            if (it != m_cells.end())
                it->second->GetValue(*value);
            else
                value->Set();
        }
        return 1;
    }

    std::string Show(const char16_t* name) {
        std::unique_ptr<CCRef> ref(ParseReference(name));
        std::u16string text;
        if (ref) GetCellValueText(ref.get(), text);
        return ostrel::ToUtf8(text);
    }
    CCRef* ParseReference(const char16_t* name) {
        const char16_t* cursor = name;
        CCRef* ref = nullptr;
        unsigned char flags = 0;
        return _EatRef(GetCTX(), cursor, ref, flags, nullptr) ? ref : nullptr;
    }
    bool Type(const char16_t* name, const char16_t* text) {
        std::unique_ptr<CCRef> ref(ParseReference(name));
        return ref && SetCellText(ref.get(), text);
    }

private:
    Context m_ctx;
    std::map<std::pair<unsigned, unsigned>, std::unique_ptr<Cell>> m_cells;
};

}  // namespace

int main() {
    if (QXCellInit() != 1) {
        std::cerr << "the engine could not start\n";
        return 1;
    }
    int result = 0;
    {
        Sheet sheet;
        // A3 stays empty: ranges and references over it read it as nothing.
        for (auto [cell, text] : {std::pair{u"A1", u"10"},
                                  {u"A2", u"32"},
                                  {u"A4", u"=SUM(A1:A3)"},
                                  {u"B1", u"=A4/A1+A3"},
                                  {u"B2", u"=IF(A2>A1,\"up\",\"down\")"}})
            if (!sheet.Type(cell, text)) result = 1;
        sheet.DoIdle(1);
        for (const char16_t* cell : {u"A4", u"B1", u"B2"})
            std::cout << sheet.Show(cell) << "\n";
    }
    QXCellExit();
    return result;
}
