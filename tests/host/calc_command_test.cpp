// SPDX-License-Identifier: Apache-2.0
#include "calc_command.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli.h"
#include "ostrel/calc_book.h"
#include "ostrel/platform/resources.h"
#include "ostrel/platform/ui.h"
#include "ostrel/platform/utf.h"

using ostrel::CalcOptions;
using ostrel::RunCalc;

namespace {

// Tells display text from formula text, refuses or complains about chosen texts, and
// notes every call, so that what the command asks of a sheet can be checked.
class RecordingSheet : public ostrel::CalcSheet {
public:
    struct Typed {
        int column, row;
        std::string text;
        bool operator==(const Typed&) const = default;
    };

    bool SetCellText(int column, int row, std::u16string_view text) override {
        typed.push_back({column, row, ostrel::ToUtf8(text)});
        if (text == u"complain") ErrorMessage(13034);
        return text != u"refuse";
    }
    void Recalculate() override { recalculated = true; }
    std::u16string GetCellValueText(int column, int row) override {
        return Read(u"value:", column, row);
    }
    std::u16string GetCellFormula(int column, int row) override {
        return Read(u"formula:", column, row);
    }
    bool HasFormula(int column, int row) override {
        return Read(u"", column, row).starts_with(u'=');
    }
    ostrel::CellValue GetCellValue(int, int) override { return {}; }
    void GetUsedSize(int& columns, int& rows) override { columns = rows = 0; }

    std::vector<Typed> typed;
    std::vector<std::pair<int, int>> readBeforeRecalculation;
    bool recalculated = false;

private:
    std::u16string Read(std::u16string prefix, int column, int row) {
        if (!recalculated) readBeforeRecalculation.emplace_back(column, row);
        for (const Typed& t : typed)
            if (t.column == column && t.row == row) return prefix + ostrel::FromUtf8(t.text);
        return u"never typed";
    }
};

struct Outcome {
    int code;
    std::string out, err;
};

Outcome Calc(RecordingSheet& sheet, const std::string& input, bool formulas = false) {
    std::istringstream in(input);
    std::ostringstream out, err;
    CalcOptions options;
    options.files = {"-"};
    options.formulas = formulas;
    int code = RunCalc(options, sheet, in, out, err);
    return {code, out.str(), err.str()};
}

}  // namespace

TEST(CalcCommand, TypesEachNonEmptyFieldIntoItsCellAndKeepsTheShape) {
    RecordingSheet sheet;
    Outcome run = Calc(sheet, "a,,c\r\n\r\n  ,\"=B1\",\n");
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(sheet.typed, (std::vector<RecordingSheet::Typed>{
                               {0, 0, "a"}, {2, 0, "c"}, {0, 2, "  "}, {1, 2, "=B1"}}));
    EXPECT_EQ(run.out, "value:a,,value:c\n\nvalue:  ,value:=B1,\n");
    EXPECT_TRUE(sheet.readBeforeRecalculation.empty());

    // With formulas, a constant is written as it was typed, a formula as the sheet prints it.
    RecordingSheet formulas;
    EXPECT_EQ(Calc(formulas, "x,\"1,5\",=A1\n", true).out, "x,\"1,5\",formula:=A1\n");
}

TEST(CalcCommand, EngineMessagesNameTheCellAndTheHostsInterfaceComesBack) {
    ostrel::CUserInterface* before = &ostrel::GetUserInterface();
    RecordingSheet sheet;
    Outcome run = Calc(sheet, "1,2\n3,complain\n");
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.err, "ostrel-cells: (standard input):2: cell B2: " +
                           ostrel::ToUtf8(ostrel::LoadResourceString(13034)) + "\n");
    EXPECT_EQ(&ostrel::GetUserInterface(), before);
}

TEST(CalcCommand, AFaultWritesNothingAndAFaultInTheInputTypesNothing) {
    RecordingSheet sheet;
    Outcome bad = Calc(sheet, "a\nb\n\"c\nd\xFF\"\n");
    EXPECT_EQ(bad.code, ostrel::kExitFailure);
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(bad.err, "ostrel-cells: (standard input):4: invalid UTF-8\n");
    EXPECT_TRUE(sheet.typed.empty());

    // Texts are typed as the check read them, each with the line its record began on.
    RecordingSheet refusing;
    Outcome refused = Calc(refusing, "ok,,\"two\nlines\"\n\"\xC3\xA9\",refuse,never\n");
    EXPECT_EQ(refused.code, ostrel::kExitFailure);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, "ostrel-cells: (standard input):3: cell B2: cannot take the text\n");
    const std::vector<RecordingSheet::Typed> typed = {
        {0, 0, "ok"}, {2, 0, "two\nlines"}, {0, 1, "\xC3\xA9"}, {1, 1, "refuse"}};
    EXPECT_EQ(refusing.typed, typed);
}

TEST(CalcCommand, AnOutputThatCannotBeWrittenIsAFailure) {
    RecordingSheet sheet;
    std::istringstream in("a\n");
    std::ostringstream out, err;
    out.setstate(std::ios::badbit);
    CalcOptions options;
    options.files = {"-"};
    EXPECT_EQ(RunCalc(options, sheet, in, out, err), ostrel::kExitFailure);
    EXPECT_EQ(err.str(), "ostrel-cells: cannot write the output\n");
}
