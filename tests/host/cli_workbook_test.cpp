// SPDX-License-Identifier: Apache-2.0
// The calc command over several files: one workbook, one output file per sheet; --save
// writes a workbook file besides, and a workbook file given as input writes what the CSV
// files it was made of wrote.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <stdlib.h>
#include <sys/stat.h>

#include "cli.h"
#include "cli_support.h"

namespace fs = std::filesystem;
using cli_testing::Result;
using cli_testing::RunProgram;

namespace {

// A fresh folder under the system's temporary one, removed at the end of the test.
class Folder : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "ostrel-book-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root = pattern;
    }
    void TearDown() override { fs::remove_all(root); }

    std::string Path(const std::string& name) const { return (root / name).string(); }
    std::string Write(const std::string& name, const std::string& bytes) {
        const fs::path path = root / name;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }
    static std::string Read(const fs::path& path) {
        std::ifstream file(path, std::ios::binary);
        std::ostringstream bytes;
        bytes << file.rdbuf();
        return bytes.str();
    }
    static std::vector<std::string> Names(const fs::path& dir) {
        std::vector<std::string> names;
        if (!fs::exists(dir)) return names;
        for (const auto& entry : fs::directory_iterator(dir))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path root;
};

}  // namespace

TEST_F(Folder, SheetsReadEachOtherAndEachIsWrittenIntoTheFolder) {
    // Each sheet reads the other, in both directions, and a sum runs over a column fed by
    // the other sheet.
    const std::string prices = Write("in/prices.csv", "10,=orders!A1*2\n=orders!B1+1,\n");
    const std::string orders = Write("in/orders.csv", "3,=prices!A1+1\n=SUM(prices!A1:A2),\n");
    const fs::path out = root / "out" / "deep";
    ASSERT_EQ(RunProgram({"calc", "--out", out.string(), prices, orders}), (Result{0, "", ""}));
    EXPECT_EQ(Names(out), (std::vector<std::string>{"orders.csv", "prices.csv"}));
    EXPECT_EQ(Read(out / "prices.csv"), "10,6\n12,\n");
    EXPECT_EQ(Read(out / "orders.csv"), "3,11\n22,\n");

    // The files are written as any new file would be, and an older one is replaced.
    struct stat info {};
    ASSERT_EQ(::stat((out / "prices.csv").c_str(), &info), 0);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(info.st_mode & 0777, 0666 & ~mask);
    Write("in/prices.csv", "1,=orders!A1*2\n");
    auto again = RunProgram({"calc", "--formulas", "--out=" + out.string(), prices, orders});
    ASSERT_EQ(again.code, 0) << again.err;
    const std::string formulas = Read(out / "prices.csv");
    EXPECT_EQ(formulas.rfind("1,=", 0), 0u) << formulas;
    EXPECT_NE(formulas.find("orders"), std::string::npos) << formulas;
    EXPECT_EQ(Names(out).size(), 2u);
}

TEST_F(Folder, OneFileStillGoesToStandardOutputOrIntoTheFolder) {
    const std::string sheet = Write("one.csv", "2,=A1*3,=one!A1+1\n");
    EXPECT_EQ(RunProgram({"calc", sheet}), (Result{0, "2,6,3\n", ""}));
    EXPECT_EQ(RunProgram({"calc", "--out", (root / "o").string(), "-"}, "5,=Sheet1!A1\n"),
              (Result{0, "", ""}));
    EXPECT_EQ(Read(root / "o" / "Sheet1.csv"), "5,5\n");

    // A file whose name is no sheet name makes one formulas can name.
    const std::string odd = Write("odd!name.csv", "4,=A1+1,=odd_name!B1*2\n");
    EXPECT_EQ(RunProgram({"calc", odd}), (Result{0, "4,5,10\n", ""}));
}

TEST_F(Folder, AFaultInAnyFileWritesNothing) {
    const std::string good = Write("good.csv", "1,=bad!A1\n");
    const std::string bad = Write("bad.csv", "2\n\"open\n");
    const fs::path out = root / "out";
    auto result = RunProgram({"calc", "--out", out.string(), good, bad});
    EXPECT_EQ(result.code, ostrel::kExitFailure);
    EXPECT_EQ(result.err, "ostrel-cells: " + bad + ":2: quoted field not closed\n");
    EXPECT_TRUE(Names(out).empty());

    auto missing = RunProgram({"calc", "--out", out.string(), good, (root / "none.csv").string()});
    EXPECT_EQ(missing.code, ostrel::kExitFailure);
    EXPECT_TRUE(Names(out).empty());

    // A folder that cannot be made: a file stands where it should be.
    const std::string blocker = Write("blocker", "x");
    const std::string other = Write("other.csv", "2\n");
    auto blocked = RunProgram({"calc", "--out", blocker, good, other});
    EXPECT_EQ(blocked.code, ostrel::kExitFailure);
    EXPECT_EQ(blocked.err.rfind("ostrel-cells: " + blocker + ": ", 0), 0u) << blocked.err;
    EXPECT_EQ(Read(blocker), "x");
}

TEST_F(Folder, AnOutputThatWouldReplaceAnInputIsRefusedBeforeAnythingIsWritten) {
    const fs::path here = root / "here";
    const std::string a = Write("here/a.csv", "1,=b!A1+1\n");
    const std::string b = Write("here/b.csv", "=a!A1*2\n");
    for (const std::string& dir : {here.string(), (root / "here" / "." / "").string()}) {
        auto result = RunProgram({"calc", "--out", dir, a, b});
        EXPECT_EQ(result.code, ostrel::kExitUsage) << dir;
        EXPECT_NE(result.err.find("would replace the input"), std::string::npos) << result.err;
    }
    // The same file by another name: a hard link.
    ASSERT_EQ(::link(a.c_str(), (root / "linked.csv").c_str()), 0);
    auto linked = RunProgram({"calc", "--out", root.string(), (here / "linked.csv").string()});
    EXPECT_NE(linked.code, 0);
    EXPECT_EQ(Read(a), "1,=b!A1+1\n");
    EXPECT_EQ(Read(b), "=a!A1*2\n");
    EXPECT_EQ(Names(here), (std::vector<std::string>{"a.csv", "b.csv"}));
}

TEST_F(Folder, AFolderThatCannotTakeEveryFileIsLeftAsItWas) {
    const std::string one = Write("in/one.csv", "1\n");
    const std::string two = Write("in/two.csv", "=one!A1+1\n");
    const fs::path out = root / "out";
    Write("out/one.csv", "old one\n");
    fs::create_directories(out / "two.csv");  // a folder where a file should go
    auto result = RunProgram({"calc", "--out", out.string(), one, two});
    EXPECT_EQ(result.code, ostrel::kExitFailure);
    EXPECT_NE(result.err.find("two.csv: Is a directory"), std::string::npos) << result.err;
    EXPECT_EQ(Read(out / "one.csv"), "old one\n");
    EXPECT_EQ(Names(out), (std::vector<std::string>{"one.csv", "two.csv"}));
}

TEST_F(Folder, TheLongestNamesAFolderTakesWork) {
    for (size_t length : {244u, 251u}) {
        const std::string stem(length, 'n');
        const std::string input = Write("in/" + stem + ".csv", "2,=A1*2\n");
        auto result = RunProgram({"calc", "--out", (root / "out").string(), input});
        ASSERT_EQ(result.code, 0) << length << ": " << result.err;
        EXPECT_EQ(Read(root / "out" / (stem + ".csv")), "2,4\n");
    }
    EXPECT_EQ(Names(root / "out").size(), 2u);  // and nothing left beside them
}

TEST_F(Folder, EveryFileMakesASheetFormulasCanName) {
    // Each named file holds 1 in A1; the main sheet reads each under its sheet's name.
    struct Case {
        std::string file, sheet;
    };
    const std::vector<Case> cases = {
        {"my data-2.csv", "my_data_2"},
        {"sum.csv", "_sum"},
        {"C4000.csv", "_C4000"},
        {"true.csv", "_true"},
        {"2020.csv", "_2020"},
        {"IV1.csv", "_IV1"},
        {"r\xC3\xA9sum\xC3\xA9.csv", "r\xC3\xA9sum\xC3\xA9"},
        {"IW1.csv", "IW1"},
        {"a.b.c.csv", "a_b_c"},
    };
    std::vector<std::string> arguments = {"calc", "--out", (root / "out").string()};
    std::string reads;
    for (const Case& c : cases) {
        arguments.push_back(Write("in/" + c.file, "1\n"));
        reads += (reads.empty() ? "=" : "+") + c.sheet + "!A1";
    }
    arguments.push_back(Write("in/main.csv", reads + "\n"));
    auto result = RunProgram(arguments);
    ASSERT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(Read(root / "out" / "main.csv"), std::to_string(cases.size()) + "\n");
    EXPECT_EQ(Read(root / "out" / "my data-2.csv"), "1\n");  // files keep their own names
}

TEST_F(Folder, AWorkbookTakesAtMost255Files) {
    std::vector<std::string> arguments = {"calc", "--out", (root / "out").string()};
    for (int i = 0; i < 256; ++i)
        arguments.push_back("f" + std::to_string(i) + ".csv");
    auto result = RunProgram(arguments);
    EXPECT_EQ(result.code, ostrel::kExitUsage);
    EXPECT_EQ(result.err.substr(0, result.err.find('\n')),
              "ostrel-cells: at most 255 FILEs make one workbook (a workbook holds 255 sheets)");
}

TEST_F(Folder, AWorkbookFileWritesWhatTheFilesItWasMadeOfWrote) {
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
    ASSERT_EQ(Names(root / "again"), names);
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

TEST_F(Folder, WorkbookFilesThatCannotBeUsedStopTheProgramBeforeItWrites) {
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
    // A workbook that cannot be saved: the golden case save_missing_folder.
}
