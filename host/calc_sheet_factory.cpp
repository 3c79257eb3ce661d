// The sheet the command-line program calculates with: the reference host's spreadsheet.
#include <mutex>

#include "engine/module.h"
#include "host_sheet.h"
#include "sheet_interface.h"

namespace ostrel {

namespace {

constexpr int kColumns = 256;
constexpr int kRows = 65536;

class EngineSheet : public CalcSheet {
public:
    explicit EngineSheet(const std::string& locale) : m_sheet(locale) {}

    bool SetCellText(int column, int row, std::u16string_view text) override {
        if (!OnGrid(column, row)) return false;
        return m_sheet.SetCellText(unsigned(column), unsigned(row), text) == 1;
    }
    void Recalculate() override { m_sheet.RecalculateAll(); }
    std::u16string GetCellValueText(int column, int row) override {
        return OnGrid(column, row) ? m_sheet.GetCellValueText(unsigned(column), unsigned(row))
                                   : std::u16string();
    }
    std::u16string GetCellFormula(int column, int row) override {
        return OnGrid(column, row) ? m_sheet.GetCellFormula(unsigned(column), unsigned(row))
                                   : std::u16string();
    }

private:
    static bool OnGrid(int column, int row) {
        return column >= 0 && column < kColumns && row >= 0 && row < kRows;
    }
    host::HostSheet m_sheet;
};

}  // namespace

std::unique_ptr<CalcSheet> MakeCalcSheet(const std::string& localeName) {
    // The engine starts once per process; every sheet after that stands alone.
    static std::once_flag started;
    std::call_once(started, [] { QXCellInit(); });
    return std::make_unique<EngineSheet>(localeName);
}

}  // namespace ostrel
