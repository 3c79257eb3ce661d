// SPDX-License-Identifier: Apache-2.0
// Inputs that never end, or end only after gigabytes: the program must stop at the first
// fault it can see, having read little more than that.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <istream>
#include <stdexcept>
#include <streambuf>
#include <string>
#include <vector>

#include "cli.h"
#include "cli_support.h"
#include "support/memory_limit.h"

namespace {

// Serves a beginning once, then a pattern over and over, and counts what it served.
class Endless : public std::streambuf {
public:
    Endless(std::string start, std::string pattern)
        : m_start(std::move(start)), m_pattern(std::move(pattern)) {}
    size_t Served() const { return m_served; }

protected:
    int_type underflow() override {
        m_buffer.clear();
        if (!m_startDone) {
            m_buffer = m_start;
            m_startDone = true;
        }
        while (m_buffer.size() < 4096)
            m_buffer += m_pattern;
        m_served += m_buffer.size();
        setg(m_buffer.data(), m_buffer.data(), m_buffer.data() + m_buffer.size());
        return traits_type::to_int_type(m_buffer[0]);
    }

private:
    std::string m_start, m_pattern, m_buffer;
    bool m_startDone = false;
    size_t m_served = 0;
};

struct Outcome : cli_testing::Result {
    size_t served;
};

Outcome CalcEndless(const std::string& start, const std::string& pattern) {
    Endless source(start, pattern);
    std::istream in(&source);
    return {cli_testing::RunProgram({"calc", "-"}, in), source.Served()};
}

}  // namespace

TEST(EndlessInput, StopsAtTheFirstFaultHavingReadLittleMore) {
    struct Case {
        std::string start, pattern, error;
        size_t mostRead;
    };
    const Case cases[] = {
        // yes 1 | ostrel-cells calc -
        {"", "1\n", "ostrel-cells: (standard input):65537: more than 65536 rows\n", 1 << 20},
        // Zeros: the first byte is no text.
        {"", std::string(1, '\0'), "ostrel-cells: (standard input):1: NUL character\n", 1 << 17},
        // An opening quote, then text that never closes it.
        {"a\n\"", "xyz\n", "ostrel-cells: (standard input):2: field longer than 32767 characters\n",
         1 << 18},
        // Empty lines for ever after one row.
        {"a\n", "\n", "ostrel-cells: (standard input):65538: more than 65536 rows\n", 1 << 18},
        // One row that keeps growing.
        {"", "1,", "ostrel-cells: (standard input):1: more than 256 columns\n", 1 << 17},
    };
    for (const Case& c : cases) {
        Outcome run = CalcEndless(c.start, c.pattern);
        EXPECT_EQ(cli_testing::Result(run),
                  (cli_testing::Result{ostrel::kExitFailure, "", c.error}));
        EXPECT_LE(run.served, c.mostRead) << c.error;
    }
}

TEST(EndlessInput, DevZeroFailsAtItsFirstByte) {
    if (::access("/dev/zero", R_OK) != 0) GTEST_SKIP() << "no /dev/zero here";
    auto run = cli_testing::RunProgram({"calc", "/dev/zero"});
    EXPECT_EQ(run.code, ostrel::kExitFailure);
    EXPECT_EQ(run.err, "ostrel-cells: /dev/zero:1: NUL character\n");
}

TEST(OutOfMemory, IsReportedAndNothingIsWritten) {
    if (!testing_support::MemoryLimitFailsAllocations())
        GTEST_SKIP() << "the sanitizer's allocator cannot be made to fail here";
    // 2,000 rows of 256 formulas: far more cells than 64 MB hold.
    std::string row = "1";
    for (int column = 1; column < 256; ++column)
        row += ",=A1+" + std::to_string(column);
    std::string sheet;
    for (int i = 0; i < 2000; ++i)
        sheet += row + "\n";
    const std::string folder = ::testing::TempDir() + "ostrel-oom-out";
    for (bool toFolder : {false, true}) {
        testing_support::LimitedRun run = testing_support::RunWithMemoryLimit(64 << 20, [&] {
            std::vector<std::string> arguments = {"calc", "-"};
            if (toFolder) arguments.insert(arguments.begin() + 1, {"--out", folder});
            const auto result = cli_testing::RunProgram(arguments, sheet);
            if (result.code != ostrel::kExitFailure ||
                result.err != "ostrel-cells: out of memory\n" || !result.out.empty())
                throw std::runtime_error("exit " + std::to_string(result.code) + ", " + result.err);
        });
        EXPECT_TRUE(run.finished) << run.outcome;
    }
    EXPECT_FALSE(std::filesystem::exists(folder));
}
