// SPDX-License-Identifier: Apache-2.0
// A small host for the tests: a context, a cell whose reference is its position, and a
// spreadsheet manager that keeps its cells in a map and can stand in a family of sheets
// (sheet indexes resolve to other managers of the family).
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ostrel/cells/cell.h"
#include "ostrel/engine/cell_manager.h"
#include "ostrel/formula/lctx.h"
#include "ostrel/refs/rc_ref.h"
#include "ostrel/refs/ref_3d.h"
#include "ostrel/refs/region_ref.h"

namespace testing_support {

// A number of the General format.
CCCellValue NumberValue(double x);

class TestCtx : public cells::CTX {
public:
    TestCtx(CCCellManager* manager, cells::LCTX* lctx) : m_manager(manager), m_lctx(lctx) {}
    cells::LCTX* GetLCTX() override { return m_lctx; }
    CCCellManager* GetManager() override { return m_manager; }
    void SetLCTX(cells::LCTX* lctx) { m_lctx = lctx; }

private:
    CCCellManager* m_manager;
    cells::LCTX* m_lctx;
};

class TestCell : public CCCell {
public:
    TestCell(unsigned char column, uint16_t row) : m_ref(column, row) {}
    const CCRef* GetRef() const override { return &m_ref; }
    bool IsEqual(const CCItem* other) const override {
        return other && other->GetRef() && m_ref.IsEqual(other->GetRef());
    }

private:
    CCRCRef m_ref;
};

class TestSheet : public CCCellManager {
public:
    explicit TestSheet(std::u16string name = u"Sheet1", int type = 1)
        : m_name(std::move(name)), m_type(type), m_ctx(this, cells::invariant_LCTX()) {}
    ~TestSheet() override { ReleaseContents(); }

    cells::CTX* GetCTX() override { return &m_ctx; }
    cells::CTX* GetCTX() const override { return const_cast<TestCtx*>(&m_ctx); }
    TestCtx& Ctx() { return m_ctx; }
    int GetType() const override { return m_type; }

    // Cells are created on lookup, as a spreadsheet host creates them when something is
    // stored into an empty position; a range or a name finds nothing unless created.
    CCItem* LookupItem(const CCRef* ref) override;
    TestCell* Cell(unsigned char column, uint16_t row);
    TestCell* Find(unsigned char column, uint16_t row) const;
    bool createOnLookup = true;

    void GetRefSize(const CCRef* ref, long& width, long& height) override;
    // Ranges of the grid are valid references too (their values are served by GetValue), and
    // so are the names of the family's sheets.
    int IsValidRef(const CCRef* ref) override;
    int GetValue(const CCRef* ref, CCCellValue* value, unsigned long index) override;
    void GetSheetName(std::u16string& name) const override { name = m_name; }
    void GetDocumentName(std::u16string& name) const override { name = m_name; }
    // The host's half of a rename; the engine hears of it through the rename event.
    void SetName(std::u16string name) { m_name = std::move(name); }

    // Sheet family: index i (1-based) names member i.
    void Join(std::vector<TestSheet*>* family) { m_family = family; }
    CCCellManager* GetManForNameIndex(uint16_t index) override;
    uint16_t GetNameIndex(std::u16string_view name) override;
    uint16_t GetNameIndex(const CCNameRef* name) override;

    // Recording hooks.
    int dirtyCount = 0;
    // Sessions open now: BeginSession opens one, either form of EndSession closes one.
    int openSessions = 0;
    unsigned long BeginSession() override { return static_cast<unsigned long>(++openSessions); }
    void EndSession(unsigned long) override { --openSessions; }
    void EndSession() override { --openSessions; }
    void SetDirty() override { ++dirtyCount; }
    std::vector<unsigned> messages;
    void ErrorMessage(unsigned int id) override {
        if (GetNotifyEnable()) messages.push_back(id);
    }

    std::u16string ValueText(unsigned char column, uint16_t row);
    // As a user types and reads: text typed into a cell, its display and formula texts in
    // UTF-8, a number stored as the cell's value, idle recalculation run to its end.
    void Type(unsigned char column, uint16_t row, std::u16string_view text);
    std::string Shown(unsigned char column, uint16_t row);
    std::string Formula(unsigned char column, uint16_t row);
    void SetNumber(unsigned char column, uint16_t row, double x);
    void Settle();
    using CCCellManager::DoRecalc;
    using CCCellManager::GetProcessList;
    using CCCellManager::GetRecalcList;

private:
    std::u16string m_name;
    int m_type;
    TestCtx m_ctx;
    std::map<std::pair<unsigned, unsigned>, std::unique_ptr<TestCell>> m_cells;
    std::vector<TestSheet*>* m_family = nullptr;
};

}  // namespace testing_support
