// SPDX-License-Identifier: Apache-2.0
// The calc command with workbook files: --save writes one besides the usual output, and a
// workbook file given as input writes what the CSV files it was made of wrote.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <stdlib.h>

#include "cli.h"
#include "cli_support.h"

namespace fs = std::filesystem;
using cli_testing::Result;
using cli_testing::RunProgram;

namespace {

class BookFolder : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "ostrel-cli-book-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root = pattern;
    }
    void TearDown() override { fs::remove_all(root); }

    std::string Path(const std::string& name) const { return (root / name).string(); }
    std::string Write(const std::string& name, const std::string& bytes) {
        std::ofstream(Path(name), std::ios::binary) << bytes;
        return Path(name);
    }
    static std::string Read(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        std::ostringstream bytes;
        bytes << file.rdbuf();
        return bytes.str();
    }
    std::vector<std::string> Names(const std::string& dir) const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(Path(dir)))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path root;
};

}  // namespace

TEST_F(BookFolder, AWorkbookFileWritesWhatTheFilesItWasMadeOfWrote) {
    // Ragged records, empty fields, a semicolon file, a name that is no sheet name, formulas
    // across sheets, custom formats, a locale.
    const std::string data = Write("my data-2.csv", "a;b;\n1,5;=A2*2;x\n\n=prices!A1+1\n");
    const std::string prices = Write("prices.csv", "10,=my_data_2!A2*4\n\"20,5\",,\n");
    const std::vector<std::string> options = {"--locale", "de_DE", "--format", "B1:B2=0.00"};
    std::vector<std::string> first = {"calc", "--out", Path("csv"), "--save", Path("book.ocb")};
    first.insert(first.end(), options.begin(), options.end());
    first.insert(first.end(), {data, prices});
    ASSERT_EQ(RunProgram(first), (Result{0, "", ""}));
    std::vector<std::string> second = {"calc",  "--locale",    "de_DE",
                                       "--out", Path("again"), Path("book.ocb")};
    ASSERT_EQ(RunProgram(second), (Result{0, "", ""}));
    const std::vector<std::string> names = {"my data-2.csv", "prices.csv"};
    ASSERT_EQ(Names("again"), names);
    for (const std::string& name : names)
        EXPECT_EQ(Read(Path("again/" + name)), Read(Path("csv/" + name))) << name;

    // One sheet goes to standard output, from a file or from standard input, and the
    // workbook file's name says nothing: its first bytes do.
    const std::string one = Write("one.csv", "1,2\n=A1+B1\n");
    ASSERT_EQ(RunProgram({"calc", one, "--save", Path("one.txt")}), (Result{0, "1,2\n3\n", ""}));
    EXPECT_EQ(RunProgram({"calc", Path("one.txt")}), (Result{0, "1,2\n3\n", ""}));
    std::ifstream piped(Path("one.txt"), std::ios::binary);
    EXPECT_EQ(RunProgram({"calc", "--format", "Sheet1!A1=0.0", "-"}, piped).code,
              ostrel::kExitUsage);  // standard input's sheet is the one saved, named one
    std::ifstream again(Path("one.txt"), std::ios::binary);
    EXPECT_EQ(RunProgram({"calc", "--format", "one!A2=0.0", "-"}, again),
              (Result{0, "1,2\n3.0\n", ""}));
}

TEST_F(BookFolder, WorkbookFilesThatCannotBeUsedStopTheProgramBeforeItWrites) {
    const std::string csv = Write("in.csv", "1,=A1+1\n");
    const std::string other = Write("other.csv", "2\n");
    ASSERT_EQ(
        RunProgram({"calc", "--out", Path("two"), csv, other, "--save", Path("two.ocb")}).code, 0);
    auto first = [](const Result& r) { return r.err.substr(0, r.err.find('\n')); };
    // The saved workbook would replace an input; a workbook with others; several sheets
    // without a folder.
    auto replacing = RunProgram({"calc", csv, "--save", csv});
    EXPECT_EQ(replacing.code, ostrel::kExitUsage);
    EXPECT_EQ(first(replacing), "ostrel-cells: '" + csv + "' would replace the input '" + csv +
                                    "'; choose another --save file");
    EXPECT_EQ(Read(csv), "1,=A1+1\n");
    auto mixed = RunProgram({"calc", "--out", Path("x"), Path("two.ocb"), csv});
    EXPECT_EQ(first(mixed), "ostrel-cells: a workbook file is read alone, not with other FILEs");
    auto several = RunProgram({"calc", Path("two.ocb")});
    EXPECT_EQ(several.code, ostrel::kExitUsage);
    EXPECT_EQ(first(several), "ostrel-cells: the workbook file '" + Path("two.ocb") +
                                  "' holds 2 sheets; they need --out DIR");
    // A damaged workbook file is reported with its name, and nothing is written.
    std::string bytes = Read(Path("two.ocb"));
    Write("cut.ocb", bytes.substr(0, bytes.size() / 2));
    EXPECT_EQ(RunProgram({"calc", "--out", Path("cut"), Path("cut.ocb")}),
              (Result{ostrel::kExitFailure, "",
                      "ostrel-cells: " + Path("cut.ocb") +
                          ": the file ends early: it is cut short or damaged\n"}));
    EXPECT_FALSE(fs::exists(Path("cut")));
    // A workbook that cannot be saved leaves standard output empty.
    EXPECT_EQ(RunProgram({"calc", csv, "--save", Path("no/such/folder.ocb")}).out, "");
}
