// The calc command over several files: one workbook, one output file per sheet.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "cli.h"
#include "cli_support.h"

namespace fs = std::filesystem;
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
    auto result = RunProgram({"calc", "--out", out.string(), prices, orders});
    ASSERT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "");
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
    auto plain = RunProgram({"calc", sheet});
    ASSERT_EQ(plain.code, 0) << plain.err;
    EXPECT_EQ(plain.out, "2,6,3\n");

    auto fromInput = RunProgram({"calc", "--out", (root / "o").string(), "-"}, "5,=Sheet1!A1\n");
    ASSERT_EQ(fromInput.code, 0) << fromInput.err;
    EXPECT_EQ(fromInput.out, "");
    EXPECT_EQ(Read(root / "o" / "Sheet1.csv"), "5,5\n");

    // A lone file whose name cannot name a sheet is still calculated.
    const std::string odd = Write("odd!name.csv", "4,=A1+1\n");
    auto oddRun = RunProgram({"calc", odd});
    ASSERT_EQ(oddRun.code, 0) << oddRun.err;
    EXPECT_EQ(oddRun.out, "4,5\n");
}

TEST_F(Folder, AFaultInAnyFileWritesNothing) {
    const std::string good = Write("good.csv", "1,=bad!A1\n");
    const std::string bad = Write("bad.csv", "2\n\"open\n");
    const fs::path out = root / "out";
    auto result = RunProgram({"calc", "--out", out.string(), good, bad});
    EXPECT_EQ(result.code, ostrel::kExitFailure);
    EXPECT_EQ(result.err, "ostrel-cells: " + bad + ": line 2: quoted field not closed\n");
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
