// SPDX-License-Identifier: Apache-2.0
// Runs the program over every case in data/cli and compares what it writes with the files
// kept beside the case. A case NAME is NAME.csv (standard input, and the FILE of the
// default command line "calc NAME.csv") and/or NAME.args (the command line, one argument a
// line; {FILE} is NAME.csv's path, {DIR} the folder's, {TMP} an empty folder for files the
// program writes). Expected: NAME.expected.csv (or
// NAME.expected.txt for output that is not CSV) holds standard output, absent when it is
// empty; NAME.expected.err holds "exit N" and standard error, absent when the program
// exited 0 silently. Paths in messages are written relative to the folder (or to {TMP}).
//
// OSTREL_UPDATE_GOLDEN=1 rewrites the expected files from what the program does now.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "cli_support.h"

namespace fs = std::filesystem;

namespace {

std::string ReadBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << bytes;
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

std::vector<std::string> Arguments(const fs::path& dir, const fs::path& tmp,
                                   const std::string& name) {
    const std::string file = (dir / (name + ".csv")).string();
    const fs::path argsPath = dir / (name + ".args");
    if (!fs::exists(argsPath)) return {"calc", file};
    std::vector<std::string> arguments;
    std::istringstream lines(ReadBytes(argsPath));
    for (std::string line; std::getline(lines, line);)
        arguments.push_back(
            ReplaceAll(ReplaceAll(ReplaceAll(line, "{FILE}", file), "{DIR}", dir.string()), "{TMP}",
                       tmp.string()));
    return arguments;
}

std::set<std::string> CaseNames(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        const std::string file = entry.path().filename().string();
        if (file.find(".expected.") != std::string::npos) continue;
        if (entry.path().extension() == ".csv" || entry.path().extension() == ".args")
            names.insert(entry.path().stem().string());
    }
    return names;
}

// Checks one expected file, or in update mode writes it (or removes it when the content
// is empty).
void Compare(const fs::path& path, const std::string& actual, bool update) {
    if (update) {
        if (actual.empty())
            fs::remove(path);
        else
            WriteBytes(path, actual);
        return;
    }
    const std::string expected = fs::exists(path) ? ReadBytes(path) : std::string();
    EXPECT_EQ(actual, expected) << "compared with " << path.filename();
}

}  // namespace

TEST(GoldenFiles, EveryCaseWritesWhatItsExpectedFilesHold) {
    const char* root = std::getenv("OSTREL_TEST_DATA");
    ASSERT_NE(root, nullptr) << "OSTREL_TEST_DATA must name tests/data (ctest sets it)";
    const fs::path dir = fs::path(root) / "cli";
    const char* updateFlag = std::getenv("OSTREL_UPDATE_GOLDEN");
    const bool update = updateFlag && std::string(updateFlag) == "1";

    const fs::path tmp =
        fs::temp_directory_path() / ("ostrel-golden-" + std::to_string(::getpid()));
    const std::set<std::string> names = CaseNames(dir);
    ASSERT_GE(names.size(), 10u) << "cases missing from " << dir;
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        fs::remove_all(tmp);
        fs::create_directories(tmp);
        const fs::path input = dir / (name + ".csv");
        const std::vector<std::string> arguments = Arguments(dir, tmp, name);
        auto result = cli_testing::RunProgram(arguments, fs::exists(input) ? ReadBytes(input) : "");

        const fs::path text = dir / (name + ".expected.txt");
        const bool notCsv = fs::exists(text) || arguments.empty() || arguments[0] != "calc";
        Compare(notCsv ? text : dir / (name + ".expected.csv"), result.out, update);
        const std::string err =
            ReplaceAll(ReplaceAll(result.err, dir.string() + "/", ""), tmp.string() + "/", "");
        Compare(dir / (name + ".expected.err"),
                result.code == 0 && err.empty()
                    ? std::string()
                    : "exit " + std::to_string(result.code) + "\n" + err,
                update);
    }
    fs::remove_all(tmp);
}
