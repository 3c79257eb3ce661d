// The sheet the command-line program calculates with.
//
// This is the plain in-memory sheet that stands in until the engine's cell manager is
// wired to the program: it keeps every typed text as it was typed and shows it unchanged,
// both as display text and as formula text, so the program's reading, shaping and writing
// can be exercised on their own. The engine-backed sheet replaces this file (and only this
// file): MakeCalcSheet then returns a sheet whose cells live in the engine.
#include <unordered_map>

#include "sheet_interface.h"

namespace ostrel {

namespace {

constexpr int kColumns = 256;
constexpr int kRows = 65536;

class TypedTextSheet : public CalcSheet {
public:
    bool SetCellText(int column, int row, std::u16string_view text) override {
        if (!OnGrid(column, row)) return false;
        if (text.empty())
            m_cells.erase(Key(column, row));
        else
            m_cells.insert_or_assign(Key(column, row), std::u16string(text));
        return true;
    }

    // Typed texts are their own values: nothing is ever out of date.
    void Recalculate() override {}

    std::u16string GetCellValueText(int column, int row) override { return Typed(column, row); }

    std::u16string GetCellFormula(int column, int row) override { return Typed(column, row); }

private:
    static bool OnGrid(int column, int row) {
        return column >= 0 && column < kColumns && row >= 0 && row < kRows;
    }
    static uint32_t Key(int column, int row) { return uint32_t(row) * kColumns + column; }

    std::u16string Typed(int column, int row) const {
        if (!OnGrid(column, row)) return {};
        auto it = m_cells.find(Key(column, row));
        return it == m_cells.end() ? std::u16string() : it->second;
    }

    std::unordered_map<uint32_t, std::u16string> m_cells;
};

}  // namespace

std::unique_ptr<CalcSheet> MakeCalcSheet(const std::string&) {
    return std::make_unique<TypedTextSheet>();
}

}  // namespace ostrel
