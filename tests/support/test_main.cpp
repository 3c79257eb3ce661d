// SPDX-License-Identifier: Apache-2.0
// Runs every test with a private profile file and without the host's locale, so that no
// test reads or writes the developer's own configuration, and checks that each test frees
// the engine objects it made.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "ostrel/engine/module.h"
#include "support/leak_check.h"

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / ("ostrel-tests-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    ::setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    ::setenv("OSTREL_CELLS_PROFILE", (dir / "profile.ini").c_str(), 1);
    ::setenv("LC_ALL", "C", 1);
    ::testing::InitGoogleTest(&argc, argv);
    // As every host does before its first cell; a test of the engine without it says so.
    if (QXCellInit() != 1) return 1;
    ::testing::UnitTest::GetInstance()->listeners().Append(testing_support::NewLeakCheck());
    int result = RUN_ALL_TESTS();
    std::error_code ec;
    fs::remove_all(dir, ec);
    return result;
}
